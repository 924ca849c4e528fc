// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/treadaheadsource.h"

#include <algorithm>
#include <chrono>
#include <vector>

TReadAheadSource::TReadAheadSource(std::unique_ptr<TPcmSource> inner, std::size_t bufferFrames)
    : m_inner(std::move(inner)),
      m_format(m_inner->format()),
      m_length(m_inner->lengthFrames()),
      m_capacity(bufferFrames * static_cast<std::size_t>(std::max(1, m_format.channels))),
      m_worker([this] { run(); }) {}

TReadAheadSource::~TReadAheadSource() {
  {
    std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  m_room.notify_all();
  m_worker.join();
}

void TReadAheadSource::run() {
  constexpr std::size_t kChunk = 2048;
  const auto ch = static_cast<std::size_t>(std::max(1, m_format.channels));
  std::vector<float> chunk(kChunk * ch);
  for (;;) {
    {
      std::unique_lock lock(m_mutex);
      m_room.wait(lock, [&] { return m_stop || m_ready.size() + chunk.size() <= m_capacity; });
      if (m_stop) return;
    }
    const std::size_t n = m_inner->read(chunk.data(), kChunk);
    const bool ended = n == 0 && m_inner->atEnd();
    {
      std::lock_guard lock(m_mutex);
      m_ready.insert(m_ready.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(n * ch));
      if (ended) m_innerEnded = true;
    }
    m_filled.notify_all();
    if (ended) return;
    if (n == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::size_t TReadAheadSource::read(float* out, std::size_t frames) {
  const auto ch = static_cast<std::size_t>(std::max(1, m_format.channels));
  std::size_t n = 0;
  {
    std::lock_guard lock(m_mutex);
    n = std::min(frames, m_ready.size() / ch);
    std::copy_n(m_ready.begin(), n * ch, out);
    m_ready.erase(m_ready.begin(), m_ready.begin() + static_cast<std::ptrdiff_t>(n * ch));
  }
  m_room.notify_one();
  return n;
}

bool TReadAheadSource::atEnd() const {
  std::lock_guard lock(m_mutex);
  return m_innerEnded && m_ready.empty();
}

void TReadAheadSource::waitReady(std::chrono::milliseconds limit) {
  std::unique_lock lock(m_mutex);
  m_filled.wait_for(lock, limit, [&] { return !m_ready.empty() || m_innerEnded; });
}
