// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/tpcmsource.h"

#include <QAudioFormat>
#include <QIODevice>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

// Hands a decoder's frames to QAudioSink in the device's sample format. The decoder
// and the converter run behind a read-ahead worker; readData only copies.
class TSourceIo final : public QIODevice {
  Q_OBJECT
 public:
  TSourceIo(std::unique_ptr<TPcmSource> source, QAudioFormat deviceFormat);
  ~TSourceIo() override;
  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override;
  bool drained() const { return m_drained; }
  std::chrono::steady_clock::time_point drainedAt() const { return m_drainedAt; }
  // Duration of the frames handed to the device so far.
  std::int64_t deliveredUsecs() const { return m_delivered * 1'000'000 / std::max(1, m_format.sampleRate()); }

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  std::unique_ptr<class TReadAheadSource> m_pipeline;
  QAudioFormat m_format;
  std::vector<float> m_scratch;
  bool m_drained = false;
  std::chrono::steady_clock::time_point m_drainedAt;
  std::int64_t m_delivered = 0;  // device frames
};

// Converts between float frames and a Qt sample format.
void floatsToQt(const float* in, std::size_t count, QAudioFormat::SampleFormat format, char* out);
void qtToFloats(const char* in, std::size_t bytes, QAudioFormat::SampleFormat format, std::vector<float>& out);
