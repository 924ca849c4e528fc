// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/pcmconvert.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

TResampler::TResampler(TPcmFormat in, TPcmFormat out)
    : m_in(in), m_out(out), m_step(out.rate > 0 ? static_cast<double>(in.rate) / out.rate : 1.0) {}

void TResampler::mapChannels(const float* in, std::size_t frames, std::vector<float>& out) const {
  const int ic = m_in.channels, oc = m_out.channels;
  const std::size_t base = out.size();
  out.resize(base + frames * static_cast<std::size_t>(oc));
  float* o = out.data() + base;
  for (std::size_t f = 0; f < frames; ++f, in += ic, o += oc) {
    if (ic == oc) {
      std::copy(in, in + ic, o);
    } else if (oc == 1) {
      float sum = 0;
      for (int c = 0; c < ic; ++c) sum += in[c];
      o[0] = sum / static_cast<float>(ic);
    } else {
      for (int c = 0; c < oc; ++c) o[c] = in[c % ic];
    }
  }
}

void TResampler::process(const float* in, std::size_t frames, std::vector<float>& out) {
  if (m_in.rate == m_out.rate) {
    mapChannels(in, frames, out);
    return;
  }
  mapChannels(in, frames, m_buf);
  const auto oc = static_cast<std::size_t>(m_out.channels);
  const std::size_t n = m_buf.size() / oc;
  while (m_pos + 1 < static_cast<double>(n)) {
    const auto i = static_cast<std::size_t>(m_pos);
    const auto f = static_cast<float>(m_pos - static_cast<double>(i));
    const float* a = m_buf.data() + i * oc;
    for (std::size_t c = 0; c < oc; ++c) out.push_back(a[c] + (a[c + oc] - a[c]) * f);
    m_pos += m_step;
  }
  // Keep the frame the next output interpolates from.
  const std::size_t drop = std::min(static_cast<std::size_t>(m_pos), n == 0 ? 0 : n - 1);
  m_buf.erase(m_buf.begin(), m_buf.begin() + static_cast<std::ptrdiff_t>(drop * oc));
  m_pos -= static_cast<double>(drop);
}

TConvertingSource::TConvertingSource(std::unique_ptr<TPcmSource> inner, TPcmFormat out)
    : m_inner(std::move(inner)), m_resampler(m_inner->format(), out) {}

std::int64_t TConvertingSource::lengthFrames() const {
  const std::int64_t n = m_inner->lengthFrames();
  if (n < 0) return n;
  return n * m_resampler.output().rate / std::max(1, m_resampler.input().rate);
}

std::int64_t TConvertingSource::innerFrames(std::int64_t frames) const {
  return frames * m_resampler.input().rate / std::max(1, m_resampler.output().rate);
}

std::size_t TConvertingSource::read(float* out, std::size_t frames) {
  const auto oc = static_cast<std::size_t>(m_resampler.output().channels);
  const auto ic = static_cast<std::size_t>(m_resampler.input().channels);
  constexpr std::size_t kChunk = 1024;
  while ((m_ready.size() - m_readyPos) / oc < frames) {
    if (m_readyPos > 0) {
      m_ready.erase(m_ready.begin(), m_ready.begin() + static_cast<std::ptrdiff_t>(m_readyPos));
      m_readyPos = 0;
    }
    m_chunk.resize(kChunk * ic);
    const std::size_t n = m_inner->read(m_chunk.data(), kChunk);
    if (n == 0) break;
    m_resampler.process(m_chunk.data(), n, m_ready);
  }
  const std::size_t have = std::min(frames, (m_ready.size() - m_readyPos) / oc);
  std::copy_n(m_ready.data() + m_readyPos, have * oc, out);
  m_readyPos += have * oc;
  return have;
}

bool isPcmBits(int bits) { return bits == 8 || bits == 16 || bits == 24 || bits == 32; }

void encodePcm(const float* samples, std::size_t count, int bits, std::string& out) {
  const std::size_t bytes = static_cast<std::size_t>(bits / 8);
  const std::size_t base = out.size();
  out.resize(base + count * bytes);
  auto* o = reinterpret_cast<unsigned char*>(out.data() + base);
  for (std::size_t i = 0; i < count; ++i) {
    const double v = std::clamp(static_cast<double>(samples[i]), -1.0, 1.0);
    if (bits == 8) {
      *o++ = static_cast<unsigned char>(std::clamp<long>(std::lrint(v * 128.0) + 128, 0, 255));
      continue;
    }
    const double scale = std::ldexp(1.0, bits - 1);
    const long long s = std::clamp<long long>(std::llrint(v * scale), static_cast<long long>(-scale),
                                              static_cast<long long>(scale) - 1);
    const auto u = static_cast<std::uint32_t>(s);
    for (std::size_t b = 0; b < bytes; ++b) *o++ = static_cast<unsigned char>(u >> (8 * b));
  }
}

void decodePcm(const char* data, std::size_t size, int bits, std::vector<float>& out) {
  const auto bytes = static_cast<std::size_t>(bits / 8);
  const auto* p = reinterpret_cast<const unsigned char*>(data);
  const std::size_t count = size / bytes;
  out.reserve(out.size() + count);
  for (std::size_t i = 0; i < count; ++i, p += bytes) {
    if (bits == 8) {
      out.push_back(static_cast<float>((static_cast<int>(p[0]) - 128) / 128.0));
      continue;
    }
    std::uint32_t u = 0;
    for (std::size_t b = 0; b < bytes; ++b) u |= static_cast<std::uint32_t>(p[b]) << (8 * b);
    u <<= 32 - bits;  // sign-extend through the top bit
    out.push_back(static_cast<float>(static_cast<std::int32_t>(u) / 2147483648.0));
  }
}
