// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/tmp3source.h"

#include <mpg123.h>

#include <algorithm>
#include <cstring>

namespace {
bool libraryReady() {
  static const bool ready = mpg123_init() == MPG123_OK;
  return ready;
}
}  // namespace

TMp3Source::~TMp3Source() {
  if (m_handle) {
    auto* h = static_cast<mpg123_handle*>(m_handle);
    mpg123_close(h);
    mpg123_delete(h);
  }
}

std::unique_ptr<TMp3Source> TMp3Source::openFile(const std::filesystem::path& path, TMediaError& error) {
  error = TMediaError::BadFile;
  if (!libraryReady()) return nullptr;
  int err = MPG123_OK;
  mpg123_handle* h = mpg123_new(nullptr, &err);
  if (!h) return nullptr;
  std::unique_ptr<TMp3Source> source(new TMp3Source);
  source->m_handle = h;
  mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_FORCE_FLOAT, 0.);
  // A file that is no MP3 must be refused, not played as noise found by resyncing.
  mpg123_param(h, MPG123_RESYNC_LIMIT, 16 * 1024, 0.);
  mpg123_format_none(h);
  const long* rates = nullptr;
  std::size_t count = 0;
  mpg123_rates(&rates, &count);
  for (std::size_t i = 0; i < count; ++i) mpg123_format(h, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
  if (mpg123_open(h, path.c_str()) != MPG123_OK) {
    error = TMediaError::FileNotFound;
    return nullptr;
  }
  long rate = 0;
  int channels = 0, encoding = 0;
  if (mpg123_getformat(h, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 || channels < 1 ||
      channels > 2 || encoding != MPG123_ENC_FLOAT_32) {
    return nullptr;
  }
  mpg123_format_none(h);
  mpg123_format(h, rate, channels, encoding);
  source->m_format = {static_cast<int>(rate), channels};
  const off_t length = mpg123_length(h);
  source->m_frames = length > 0 ? static_cast<std::int64_t>(length) : -1;
  // The first frame must decode; a header followed by garbage is no playable file.
  std::vector<float> probe(4096 * static_cast<std::size_t>(channels));
  if (source->read(probe.data(), 4096) == 0) return nullptr;
  source->seekFrame(0);
  error = TMediaError::None;
  return source;
}

bool TMp3Source::seekFrame(std::int64_t frame) {
  auto* h = static_cast<mpg123_handle*>(m_handle);
  m_pendingFrames = 0;
  m_pendingPos = 0;
  m_ended = false;
  return mpg123_seek(h, static_cast<off_t>(frame), SEEK_SET) >= 0;
}

std::size_t TMp3Source::read(float* out, std::size_t frames) {
  auto* h = static_cast<mpg123_handle*>(m_handle);
  const auto ch = static_cast<std::size_t>(m_format.channels);
  std::size_t done = 0;
  while (done < frames) {
    if (m_pendingFrames > 0) {
      const std::size_t n = std::min(frames - done, m_pendingFrames);
      std::memcpy(out + done * ch, m_pending.data() + m_pendingPos * ch, n * ch * sizeof(float));
      done += n;
      m_pendingPos += n;
      m_pendingFrames -= n;
      continue;
    }
    if (m_ended) break;
    off_t num = 0;
    unsigned char* audio = nullptr;
    std::size_t bytes = 0;
    const int r = mpg123_decode_frame(h, &num, &audio, &bytes);
    if (r == MPG123_NEW_FORMAT) {
      long rate = 0;
      int channels = 0, encoding = 0;
      mpg123_getformat(h, &rate, &channels, &encoding);
      // A stream that changes its layout midway cannot go on at the format the device
      // was opened with; end it there.
      if (rate != m_format.rate || channels != m_format.channels) m_ended = true;
      continue;
    }
    if (r != MPG123_OK) {
      m_ended = true;  // MPG123_DONE, or an error in a truncated file: play what we have
      break;
    }
    const std::size_t got = bytes / (sizeof(float) * ch);
    m_pending.assign(reinterpret_cast<float*>(audio), reinterpret_cast<float*>(audio) + got * ch);
    m_pendingPos = 0;
    m_pendingFrames = got;
  }
  return done;
}
