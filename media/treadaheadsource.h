// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/tpcmsource.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

// Decodes another source on a worker thread, so that the device callback on the GUI
// thread only copies ready frames and never waits for a disc or a decoder.
class TReadAheadSource final : public TPcmSource {
 public:
  explicit TReadAheadSource(std::unique_ptr<TPcmSource> inner, std::size_t bufferFrames = 32768);
  ~TReadAheadSource() override;
  TReadAheadSource(const TReadAheadSource&) = delete;
  TReadAheadSource& operator=(const TReadAheadSource&) = delete;

  TPcmFormat format() const override { return m_format; }
  std::int64_t lengthFrames() const override { return m_length; }
  bool seekFrame(std::int64_t) override { return false; }
  std::size_t read(float* out, std::size_t frames) override;
  bool atEnd() const override;
  // Waits until the first frames are ready or the source ended, at most `limit`.
  void waitReady(std::chrono::milliseconds limit);

 private:
  void run();

  std::unique_ptr<TPcmSource> m_inner;
  TPcmFormat m_format;
  std::int64_t m_length;
  std::size_t m_capacity;  // floats
  mutable std::mutex m_mutex;
  std::condition_variable m_room;
  std::condition_variable m_filled;
  std::deque<float> m_ready;
  bool m_innerEnded = false;
  bool m_stop = false;
  std::thread m_worker;
};
