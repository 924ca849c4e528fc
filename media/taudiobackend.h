// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/tpcmsource.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The device layer: where played frames go and recorded frames come from. The media
// service only ever talks to these interfaces, so it runs the same over a real sound
// device and over the null device of headless tests.

class TMediaClock {
 public:
  virtual ~TMediaClock() = default;
  virtual std::chrono::microseconds now() const = 0;
};

class TSteadyMediaClock final : public TMediaClock {
 public:
  std::chrono::microseconds now() const override {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch());
  }
};

// A running playback. Destroying it stops the sound.
class TPlaybackStream {
 public:
  virtual ~TPlaybackStream() = default;
  // Source frames the listener has heard so far.
  virtual std::int64_t playedFrames() = 0;
  // The source is exhausted and everything was played (or the device failed).
  virtual bool finished() = 0;
  virtual void pause() = 0;
  virtual void resume() = 0;
};

// A running recording. Destroying it stops the capture.
class TCaptureStream {
 public:
  virtual ~TCaptureStream() = default;
  virtual TPcmFormat format() const = 0;
  // Appends the frames captured since the last call (interleaved floats), at most
  // `maxFrames` of them; a device that cannot hold the rest drops it.
  virtual void take(std::vector<float>& out, std::int64_t maxFrames) = 0;
  virtual void pause() = 0;
  virtual void resume() = 0;
};

class TAudioBackend {
 public:
  virtual ~TAudioBackend() = default;
  // Makes a fresh source each call, so that a backend can fall back to another device
  // after the first refused; nothing when the source cannot be opened.
  using TSourceMaker = std::function<std::unique_ptr<TPcmSource>()>;
  // Starts playing; nothing (and `error` set) when no device took it.
  virtual std::unique_ptr<TPlaybackStream> play(const TSourceMaker& make, std::string& error) = 0;
  // Starts capturing, preferably at `wanted`; the stream tells the format it delivers.
  virtual std::unique_ptr<TCaptureStream> record(TPcmFormat wanted, std::string& error) = 0;
  // The device that took the last stream ("null", "qt").
  virtual std::string name() const = 0;
};

// Null device with the given clock (not owned; must outlive the backend).
std::unique_ptr<TAudioBackend> makeNullAudioBackend(const TMediaClock& clock);
// The real device when one exists and ZEK_AUDIO is not "null"; each stream falls back to
// the null device when the real one refuses to start.
std::unique_ptr<TAudioBackend> makeDefaultAudioBackend();
