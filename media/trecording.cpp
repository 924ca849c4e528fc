// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/trecording.h"

#include "media/pcmconvert.h"

#include <sndfile.h>

#include <algorithm>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

class TRecordingSource final : public TPcmSource {
 public:
  TRecordingSource(std::shared_ptr<const std::string> bytes, TRecordingFormat format)
      : m_bytes(std::move(bytes)), m_format(format) {}
  TPcmFormat format() const override { return {m_format.rate, m_format.channels}; }
  std::int64_t lengthFrames() const override {
    return static_cast<std::int64_t>(m_bytes->size()) / std::max(1, m_format.blockAlign());
  }
  bool seekFrame(std::int64_t frame) override {
    if (frame < 0 || frame > lengthFrames()) return false;
    m_pos = frame;
    return true;
  }
  std::size_t read(float* out, std::size_t frames) override {
    const std::int64_t n = std::min<std::int64_t>(static_cast<std::int64_t>(frames), lengthFrames() - m_pos);
    if (n <= 0) return 0;
    const std::size_t align = static_cast<std::size_t>(m_format.blockAlign());
    m_scratch.clear();
    decodePcm(m_bytes->data() + static_cast<std::size_t>(m_pos) * align, static_cast<std::size_t>(n) * align,
              m_format.bits, m_scratch);
    std::copy(m_scratch.begin(), m_scratch.end(), out);
    m_pos += n;
    return static_cast<std::size_t>(n);
  }
  bool atEnd() const override { return m_pos >= lengthFrames(); }

 private:
  std::shared_ptr<const std::string> m_bytes;
  TRecordingFormat m_format;
  std::int64_t m_pos = 0;
  std::vector<float> m_scratch;
};

int sndfileSubtype(int bits) {
  switch (bits) {
    case 8: return SF_FORMAT_PCM_U8;
    case 16: return SF_FORMAT_PCM_16;
    case 24: return SF_FORMAT_PCM_24;
    default: return SF_FORMAT_PCM_32;
  }
}

}  // namespace

void TRecording::detach() {
  if (m_bytes.use_count() > 1) m_bytes = std::make_shared<std::string>(*m_bytes);
}

void TRecording::setFormat(const TRecordingFormat& format) {
  if (format == m_format) return;
  m_format = format;
  m_bytes = std::make_shared<std::string>();
}

std::int64_t TRecording::frames() const {
  return static_cast<std::int64_t>(m_bytes->size()) / std::max(1, m_format.blockAlign());
}

std::int64_t TRecording::milliseconds() const { return frames() * 1000 / std::max(1, m_format.rate); }

void TRecording::truncate(std::int64_t frames) {
  const auto keep = static_cast<std::size_t>(std::max<std::int64_t>(0, frames)) *
                    static_cast<std::size_t>(m_format.blockAlign());
  if (keep >= m_bytes->size()) return;
  detach();
  m_bytes->resize(keep);
}

void TRecording::append(const float* samples, std::size_t count) {
  if (count == 0) return;
  detach();
  encodePcm(samples, count, m_format.bits, *m_bytes);
}

std::unique_ptr<TPcmSource> TRecording::source() const {
  return std::make_unique<TRecordingSource>(m_bytes, m_format);
}

TMediaError TRecording::save(const std::filesystem::path& target) const {
  if (target.empty() || !target.has_filename()) return TMediaError::BadParameter;
  std::filesystem::path temp = target;
  temp += ".part" + std::to_string(::getpid());
  SF_INFO info{};
  info.samplerate = m_format.rate;
  info.channels = m_format.channels;
  info.format = SF_FORMAT_WAV | sndfileSubtype(m_format.bits);
  SNDFILE* file = sf_open(temp.c_str(), SFM_WRITE, &info);
  if (!file) return TMediaError::WriteFailed;
  const auto size = static_cast<sf_count_t>(m_bytes->size());
  const bool written = sf_write_raw(file, m_bytes->data(), size) == size;
  sf_write_sync(file);
  const bool closed = sf_close(file) == 0;
  std::error_code ec;
  if (written && closed) {
    std::filesystem::rename(temp, target, ec);
    if (!ec) return TMediaError::None;
  }
  std::filesystem::remove(temp, ec);
  return TMediaError::WriteFailed;
}
