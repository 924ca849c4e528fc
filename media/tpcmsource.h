// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

struct TPcmFormat {
  int rate = 0;
  int channels = 0;
  bool operator==(const TPcmFormat&) const = default;
};

// A decoder: interleaved float frames in [-1, 1] at its own format.
class TPcmSource {
 public:
  virtual ~TPcmSource() = default;
  virtual TPcmFormat format() const = 0;
  // Frames in all, or -1 when unknown (MP3 until decoded).
  virtual std::int64_t lengthFrames() const = 0;
  virtual bool seekFrame(std::int64_t frame) = 0;
  // Up to `frames` frames into `out` (frames × channels floats). 0 with atEnd() false
  // means nothing is ready yet (a read-ahead source waiting for its worker).
  virtual std::size_t read(float* out, std::size_t frames) = 0;
  virtual bool atEnd() const = 0;
};

// Plays at most `limit` frames of `inner` ("play ... to N").
class TLimitedSource final : public TPcmSource {
 public:
  TLimitedSource(std::unique_ptr<TPcmSource> inner, std::int64_t limit)
      : m_inner(std::move(inner)), m_left(limit < 0 ? 0 : limit) {}
  TPcmFormat format() const override { return m_inner->format(); }
  std::int64_t lengthFrames() const override { return m_left; }
  bool seekFrame(std::int64_t) override { return false; }
  std::size_t read(float* out, std::size_t frames) override {
    if (m_left <= 0) return 0;
    if (static_cast<std::int64_t>(frames) > m_left) frames = static_cast<std::size_t>(m_left);
    const std::size_t n = m_inner->read(out, frames);
    m_left -= static_cast<std::int64_t>(n);
    return n;
  }
  bool atEnd() const override { return m_left <= 0 || m_inner->atEnd(); }

 private:
  std::unique_ptr<TPcmSource> m_inner;
  std::int64_t m_left;
};

// `frames` frames of CD-format silence (stand-in discs for tests and fuzzing).
class TSilentSource final : public TPcmSource {
 public:
  explicit TSilentSource(std::int64_t frames) : m_left(frames < 0 ? 0 : frames) {}
  TPcmFormat format() const override { return {44100, 2}; }
  std::int64_t lengthFrames() const override { return m_left; }
  bool seekFrame(std::int64_t) override { return false; }
  std::size_t read(float* out, std::size_t frames) override {
    const std::size_t n = static_cast<std::int64_t>(frames) < m_left ? frames : static_cast<std::size_t>(m_left);
    for (std::size_t i = 0; i < n * 2; ++i) out[i] = 0.f;
    m_left -= static_cast<std::int64_t>(n);
    return n;
  }
  bool atEnd() const override { return m_left <= 0; }

 private:
  std::int64_t m_left;
};
