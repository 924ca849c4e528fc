// SPDX-License-Identifier: GPL-3.0-or-later
// Latency from "play" to the first buffer the device receives, and the CPU cost of MP3
// playback (decoding plus conversion to a 48 kHz device), on the null device.
#include "media/pcmconvert.h"
#include "media/tmediaservice.h"
#include "media/tmp3source.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

struct TFiles {
  std::filesystem::path dir, wave, mp3;
  TFiles() {
    dir = std::filesystem::temp_directory_path() / ("zek-bench-media-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    wave = dir / "sentence.wav";
    mp3 = dir / "music.mp3";
    const std::string music = (dir / "music.wav").string();
    std::system(("sox -n -r 22050 -c 1 -b 16 '" + wave.string() + "' synth 2 sine 300-900 >/dev/null 2>&1").c_str());
    std::system(("sox -n -r 44100 -c 2 -b 16 '" + music + "' synth 10 sine 200-2000 sine 300 >/dev/null 2>&1 && lame --quiet -b 128 '" +
                 music + "' '" + mp3.string() + "'")
                    .c_str());
  }
  ~TFiles() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

TFiles& files() {
  static TFiles f;
  return f;
}

// Remembers when the device first asked its source for frames.
struct TProbe {
  std::optional<Clock::time_point> firstRead;
};

class TProbeSource final : public TPcmSource {
 public:
  TProbeSource(std::unique_ptr<TPcmSource> inner, TProbe& probe) : m_inner(std::move(inner)), m_probe(probe) {}
  TPcmFormat format() const override { return m_inner->format(); }
  std::int64_t lengthFrames() const override { return m_inner->lengthFrames(); }
  bool seekFrame(std::int64_t f) override { return m_inner->seekFrame(f); }
  std::size_t read(float* out, std::size_t frames) override {
    const std::size_t n = m_inner->read(out, frames);
    if (n > 0 && !m_probe.firstRead) m_probe.firstRead = Clock::now();
    return n;
  }
  bool atEnd() const override { return m_inner->atEnd(); }

 private:
  std::unique_ptr<TPcmSource> m_inner;
  TProbe& m_probe;
};

class TProbeBackend final : public TAudioBackend {
 public:
  TProbeBackend(std::unique_ptr<TAudioBackend> inner, TProbe& probe) : m_inner(std::move(inner)), m_probe(probe) {}
  std::unique_ptr<TPlaybackStream> play(const TSourceMaker& make, std::string& error) override {
    return m_inner->play(
        [&]() -> std::unique_ptr<TPcmSource> {
          auto source = make();
          if (!source) return nullptr;
          return std::make_unique<TProbeSource>(std::move(source), m_probe);
        },
        error);
  }
  std::unique_ptr<TCaptureStream> record(TPcmFormat wanted, std::string& error) override {
    return m_inner->record(wanted, error);
  }
  std::string name() const override { return "probe"; }

 private:
  std::unique_ptr<TAudioBackend> m_inner;
  TProbe& m_probe;
};

// The three steps of a spoken sentence; the time runs from sending "play" to the
// device's first buffer.
void playToFirstBuffer(benchmark::State& state, bool mp3) {
  TSteadyMediaClock clock;
  TProbe probe;
  TMediaService::TOptions options;
  options.backend = std::make_unique<TProbeBackend>(makeNullAudioBackend(clock), probe);
  TMediaService service(std::move(options));
  const std::string open = mp3 ? "open \"" + files().mp3.string() + "\" alias a"
                               : "open \"" + files().wave.string() + "\" type waveaudio alias a";
  for (auto _ : state) {
    service.execute("close a");
    if (service.execute(open).failed()) {
      state.SkipWithError("open failed");
      break;
    }
    probe.firstRead.reset();
    const auto start = Clock::now();
    service.execute(mp3 ? "play a" : "play a from 0");
    if (!probe.firstRead) {
      state.SkipWithError("no buffer reached the device");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(*probe.firstRead - start).count());
  }
}

void BM_WavePlayToFirstBuffer(benchmark::State& state) { playToFirstBuffer(state, false); }
void BM_Mp3PlayToFirstBuffer(benchmark::State& state) { playToFirstBuffer(state, true); }
BENCHMARK(BM_WavePlayToFirstBuffer)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Mp3PlayToFirstBuffer)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Ten seconds of 128 kbit/s stereo MP3 decoded and converted to 48 kHz, as a device
// that cannot take 44.1 kHz needs it. CPU time per iteration / 10 = CPU per second played.
void BM_Mp3TenSecondsToDevice(benchmark::State& state) {
  std::vector<float> buffer(2048 * 2);
  double audioSeconds = 0;
  for (auto _ : state) {
    TMediaError error = TMediaError::None;
    auto mp3 = TMp3Source::openFile(files().mp3, error);
    if (!mp3) {
      state.SkipWithError("mp3 missing");
      break;
    }
    TConvertingSource device(std::move(mp3), {48000, 2});
    std::int64_t frames = 0;
    while (std::size_t n = device.read(buffer.data(), 2048)) frames += static_cast<std::int64_t>(n);
    audioSeconds += static_cast<double>(frames) / 48000.0;
    benchmark::DoNotOptimize(buffer.data());
  }
  state.counters["audio_s_per_iter"] = audioSeconds / static_cast<double>(std::max<benchmark::IterationCount>(1, state.iterations()));
}
BENCHMARK(BM_Mp3TenSecondsToDevice)->Unit(benchmark::kMillisecond);

}  // namespace
