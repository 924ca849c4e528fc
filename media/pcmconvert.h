// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/tpcmsource.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// Streaming conversion between rates and channel counts (linear interpolation: speech
// and background music, not mastering).
class TResampler {
 public:
  TResampler(TPcmFormat in, TPcmFormat out);
  // Appends the converted frames of `frames` input frames to `out`.
  void process(const float* in, std::size_t frames, std::vector<float>& out);
  TPcmFormat input() const { return m_in; }
  TPcmFormat output() const { return m_out; }

 private:
  void mapChannels(const float* in, std::size_t frames, std::vector<float>& out) const;

  TPcmFormat m_in, m_out;
  double m_step;           // input frames per output frame
  double m_pos = 0;        // read position inside m_buf, in frames
  std::vector<float> m_buf;  // channel-mapped input not yet consumed
};

// A source that delivers another source's frames at a different format.
class TConvertingSource final : public TPcmSource {
 public:
  TConvertingSource(std::unique_ptr<TPcmSource> inner, TPcmFormat out);
  TPcmFormat format() const override { return m_resampler.output(); }
  std::int64_t lengthFrames() const override;
  bool seekFrame(std::int64_t) override { return false; }
  std::size_t read(float* out, std::size_t frames) override;
  bool atEnd() const override { return m_inner->atEnd() && m_ready.size() == m_readyPos; }
  // Frames of the inner source for `frames` frames of this one.
  std::int64_t innerFrames(std::int64_t frames) const;

 private:
  std::unique_ptr<TPcmSource> m_inner;
  TResampler m_resampler;
  std::vector<float> m_chunk;
  std::vector<float> m_ready;
  std::size_t m_readyPos = 0;
};

// Integer PCM as stored in WAV files: 8 bits unsigned, 16/24/32 bits signed little-endian.
bool isPcmBits(int bits);
void encodePcm(const float* samples, std::size_t count, int bits, std::string& out);
void decodePcm(const char* data, std::size_t bytes, int bits, std::vector<float>& out);
