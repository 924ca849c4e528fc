#pragma once

#include "lab/media/tpcmsource.h"

#include <QAudioFormat>
#include <QIODevice>

#include <memory>
#include <vector>

// Hands a decoder's frames to QAudioSink in the device's sample format. The decoder
// and the converter run behind a read-ahead worker; readData only copies.
class TSourceIo final : public QIODevice {
  Q_OBJECT
 public:
  TSourceIo(std::unique_ptr<TPcmSource> source, QAudioFormat deviceFormat);
  bool isSequential() const override { return true; }
  bool drained() const { return m_drained; }
  // The untouched source back, when the device failed before reading any of it.
  std::unique_ptr<TPcmSource> takeUnread();

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  void prepare();

  std::unique_ptr<TPcmSource> m_raw;
  std::unique_ptr<TPcmSource> m_pipeline;
  QAudioFormat m_format;
  std::vector<float> m_scratch;
  bool m_drained = false;
};

// Converts between float frames and a Qt sample format.
void floatsToQt(const float* in, std::size_t count, QAudioFormat::SampleFormat format, char* out);
void qtToFloats(const char* in, std::size_t bytes, QAudioFormat::SampleFormat format, std::vector<float>& out);
