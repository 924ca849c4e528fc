// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/taudiobackend.h"

#include <algorithm>
#include <optional>

namespace {

std::int64_t framesIn(std::chrono::microseconds elapsed, int rate) {
  return elapsed.count() <= 0 ? 0 : elapsed.count() * rate / 1'000'000;
}

// Measures elapsed time minus paused spans.
class TRunTime {
 public:
  explicit TRunTime(const TMediaClock& clock) : m_clock(clock), m_start(clock.now()) {}
  std::chrono::microseconds elapsed() const { return (m_pausedAt ? *m_pausedAt : m_clock.now()) - m_start - m_paused; }
  void pause() {
    if (!m_pausedAt) m_pausedAt = m_clock.now();
  }
  void resume() {
    if (m_pausedAt) {
      m_paused += m_clock.now() - *m_pausedAt;
      m_pausedAt.reset();
    }
  }

 private:
  const TMediaClock& m_clock;
  std::chrono::microseconds m_start;
  std::chrono::microseconds m_paused{0};
  std::optional<std::chrono::microseconds> m_pausedAt;
};

// Plays into nothing at the speed of the clock. It still pulls the source, so that the
// end comes where the decoder really ends (truncated files, MP3 padding).
class TNullPlayback final : public TPlaybackStream {
 public:
  TNullPlayback(const TMediaClock& clock, std::unique_ptr<TPcmSource> source)
      : m_time(clock), m_source(std::move(source)), m_format(m_source->format()) {
    m_scratch.resize(kChunk * static_cast<std::size_t>(std::max(1, m_format.channels)));
    pull(kChunk);  // the first buffer goes to the "device" at once, as a real one would
  }
  std::int64_t playedFrames() override {
    const std::int64_t due = framesIn(m_time.elapsed(), m_format.rate);
    pull(due + kChunk);
    return std::min(due, m_pulled);
  }
  bool finished() override {
    const std::int64_t played = playedFrames();
    return m_drained && played >= m_pulled;
  }
  void pause() override { m_time.pause(); }
  void resume() override { m_time.resume(); }

 private:
  static constexpr std::size_t kChunk = 1024;

  void pull(std::int64_t upTo) {
    while (!m_drained && m_pulled < upTo) {
      const std::size_t n = m_source->read(m_scratch.data(), kChunk);
      if (n == 0) {
        if (m_source->atEnd()) {
          m_drained = true;
        } else {
          // Read-ahead not ready: the device would play silence for this span.
          m_pulled = std::max(m_pulled, framesIn(m_time.elapsed(), m_format.rate));
        }
        break;
      }
      m_pulled += static_cast<std::int64_t>(n);
    }
  }

  TRunTime m_time;
  std::unique_ptr<TPcmSource> m_source;
  TPcmFormat m_format;
  std::vector<float> m_scratch;
  std::int64_t m_pulled = 0;
  bool m_drained = false;
};

// Records silence at the speed of the clock.
class TNullCapture final : public TCaptureStream {
 public:
  TNullCapture(const TMediaClock& clock, TPcmFormat format) : m_time(clock), m_format(format) {}
  TPcmFormat format() const override { return m_format; }
  void take(std::vector<float>& out, std::int64_t maxFrames) override {
    const std::int64_t due = framesIn(m_time.elapsed(), m_format.rate);
    if (due > m_taken) {
      const std::int64_t n = std::min(due - m_taken, std::max<std::int64_t>(0, maxFrames));
      out.insert(out.end(), static_cast<std::size_t>(n) * static_cast<std::size_t>(m_format.channels), 0.f);
      m_taken += n;
    }
  }
  void pause() override { m_time.pause(); }
  void resume() override { m_time.resume(); }

 private:
  TRunTime m_time;
  TPcmFormat m_format;
  std::int64_t m_taken = 0;
};

class TNullBackend final : public TAudioBackend {
 public:
  explicit TNullBackend(const TMediaClock& clock) : m_clock(clock) {}
  std::unique_ptr<TPlaybackStream> play(const TSourceMaker& make, std::string& error) override {
    std::unique_ptr<TPcmSource> source = make();
    if (!source) {
      error = "no source";
      return nullptr;
    }
    return std::make_unique<TNullPlayback>(m_clock, std::move(source));
  }
  std::unique_ptr<TCaptureStream> record(TPcmFormat wanted, std::string&) override {
    return std::make_unique<TNullCapture>(m_clock, wanted);
  }
  std::string name() const override { return "null"; }

 private:
  const TMediaClock& m_clock;
};

}  // namespace

std::unique_ptr<TAudioBackend> makeNullAudioBackend(const TMediaClock& clock) {
  return std::make_unique<TNullBackend>(clock);
}
