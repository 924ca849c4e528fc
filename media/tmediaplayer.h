// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/mediaerror.h"
#include "media/taudiobackend.h"

#include <functional>
#include <limits>
#include <memory>

// Play/stop/pause/position over one stream at a time; positions in frames of the
// device's own source format.
class TMediaPlayer {
 public:
  static constexpr std::int64_t kNoEnd = std::numeric_limits<std::int64_t>::max();
  // Opens a source for the frames [from, to).
  using Factory = std::function<std::unique_ptr<TPcmSource>(std::int64_t from, std::int64_t to, TMediaError& error)>;

  TMediaPlayer(TAudioBackend& backend, Factory factory) : m_backend(backend), m_factory(std::move(factory)) {}

  TMediaError play(std::int64_t from, std::int64_t to);
  void stop();
  void pause();
  void resume();
  void seek(std::int64_t frame);

  bool playing();  // playing or paused
  bool paused() { return playing() && m_paused; }
  std::int64_t position();

 private:
  void update();

  TAudioBackend& m_backend;
  Factory m_factory;
  std::unique_ptr<TPlaybackStream> m_stream;
  std::int64_t m_from = 0;
  std::int64_t m_to = kNoEnd;
  std::int64_t m_position = 0;
  bool m_paused = false;
};
