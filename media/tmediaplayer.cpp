// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/tmediaplayer.h"

#include <algorithm>

TMediaError TMediaPlayer::play(std::int64_t from, std::int64_t to) {
  stop();
  m_position = from;
  if (to <= from) return TMediaError::None;  // nothing to play: stays stopped
  TMediaError error = TMediaError::None;
  std::string deviceError;
  m_stream = m_backend.play([&] { return m_factory(from, to, error); }, deviceError);
  if (!m_stream) return error == TMediaError::None ? TMediaError::DeviceFailed : error;
  m_from = from;
  m_to = to;
  m_paused = false;
  return TMediaError::None;
}

void TMediaPlayer::update() {
  if (!m_stream) return;
  const std::int64_t played = m_from + m_stream->playedFrames();
  m_position = std::min(played, m_to);
  if (m_stream->finished()) {
    m_stream.reset();
    m_paused = false;
  }
}

void TMediaPlayer::stop() {
  update();
  m_stream.reset();
  m_paused = false;
}

void TMediaPlayer::pause() {
  update();
  if (m_stream && !m_paused) {
    m_stream->pause();
    m_paused = true;
  }
}

void TMediaPlayer::resume() {
  if (m_stream && m_paused) {
    m_stream->resume();
    m_paused = false;
  }
}

void TMediaPlayer::seek(std::int64_t frame) {
  stop();
  m_position = frame;
}

bool TMediaPlayer::playing() {
  update();
  return m_stream != nullptr;
}

std::int64_t TMediaPlayer::position() {
  update();
  return m_position;
}
