// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/benchapp.h"
#include "lab/tstimmbild.h"
#include "voice/tpruefarbeiter.h"
#include "voice/tspracherkennung.h"
#include "voice/tstimme.h"
#include "voice/tstimmkurve.h"
#include "voice/twortsprecher.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>

namespace {

namespace fs = std::filesystem;

const char* const kSatz = "Could you tell me the way to the railway station, please?";

TSignal gesprochen(const char* text) {
  TSprache s = TSprecher::fuer(TStimmeArt::Rms)->sprich(text);
  TSignal out;
  out.rate = s.rate;
  for (const std::int16_t v : s.samples) out.samples.push_back(static_cast<float>(v) / 32768.0f);
  return out;
}

// A word without a recording, spoken at run time: synthesis, trimming and the compressed file.
void BM_WordSpokenAtRunTime(benchmark::State& state) {
  auto sprecher = TSprecher::fuer(TStimmeArt::Rms);
  const fs::path dir = fs::temp_directory_path() / "zek-bench-words";
  for (auto _ : state) {
    benchmark::DoNotOptimize(TWortSprecher::sprichInDatei(*sprecher, "neighbourhood", dir / "n/neighbourhood.wav"));
  }
  fs::remove_all(dir);
}
BENCHMARK(BM_WordSpokenAtRunTime)->Unit(benchmark::kMillisecond);

// The same through the worker thread, from the order to the file (what the learner waits for).
void BM_WordSpokenThroughTheWorker(benchmark::State& state) {
  const fs::path dir = fs::temp_directory_path() / "zek-bench-worker";
  std::mutex m;
  std::condition_variable cv;
  int fertig = 0;
  TWortSprecher sprecher(dir, TStimmeArt::Rms, [&](const std::string&, const std::string&) {
    std::lock_guard lock(m);
    ++fertig;
    cv.notify_all();
  });
  int n = 0;
  for (auto _ : state) {
    const std::string wort = "word" + std::to_string(n % 2);
    // A file already there would be taken as it is: each order is spoken afresh.
    state.PauseTiming();
    fs::remove(TWortSprecher::dateiFuer(dir, wort));
    state.ResumeTiming();
    sprecher.auftrag(wort);
    std::unique_lock lock(m);
    cv.wait(lock, [&] { return fertig > n; });
    ++n;
  }
  fs::remove_all(dir);
}
BENCHMARK(BM_WordSpokenThroughTheWorker)->Unit(benchmark::kMillisecond)->UseRealTime();

// The recognition check of a sentence of about three seconds (in the lab it runs in the worker).
void BM_PronunciationCheck(benchmark::State& state) {
  if (!TSpracherkennung::modellDa()) {
    state.SkipWithError("pocketsphinx-en-us is not installed");
    return;
  }
  std::string fehler;
  auto erkennung = TSpracherkennung::laden({kSatz}, fehler);
  const TSignal take = gesprochen(kSatz);
  for (auto _ : state) benchmark::DoNotOptimize(TPruefArbeiter::pruefeSignal(*erkennung, take, kSatz));
  state.counters["take_s"] = static_cast<double>(take.samples.size()) / take.rate;
}
BENCHMARK(BM_PronunciationCheck)->Unit(benchmark::kMillisecond);

// Loading the recogniser with the dictionary cut to a few sentences (once per lab opening).
void BM_RecogniserLoad(benchmark::State& state) {
  if (!TSpracherkennung::modellDa()) {
    state.SkipWithError("pocketsphinx-en-us is not installed");
    return;
  }
  for (auto _ : state) {
    std::string fehler;
    benchmark::DoNotOptimize(TSpracherkennung::laden({kSatz, "How much is this?"}, fehler));
  }
}
BENCHMARK(BM_RecogniserLoad)->Unit(benchmark::kMillisecond)->Iterations(3);

// Contours of the model and a take (worker), then both drawn into the lab's picture (window).
void BM_ContourOfATake(benchmark::State& state) {
  const TSignal take = gesprochen(kSatz);
  for (auto _ : state) benchmark::DoNotOptimize(stimmKurve(take));
}
BENCHMARK(BM_ContourOfATake)->Unit(benchmark::kMillisecond);

void BM_ContoursDrawn(benchmark::State& state) {
  benchApp();
  const TStimmKurve modell = stimmKurve(gesprochen(kSatz));
  const TStimmKurve lerner = stimmKurve(gesprochen("Could you tell me the way to the station?"));
  QImage bild(400, 267, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter p(&bild);
    TStimmBild::zeichne(p, bild.rect(), modell, lerner);
  }
}
BENCHMARK(BM_ContoursDrawn)->Unit(benchmark::kMillisecond);

// Decoding an installed sentence file (Ogg Vorbis) whole, as the player and the contour read it.
void BM_DecodeSentenceFile(benchmark::State& state) {
  TSprache s = TSprecher::fuer(TStimmeArt::Rms)->sprich(kSatz);
  const fs::path datei = fs::temp_directory_path() / "zek-bench-satz.wav";
  schreibeSprachDatei(datei, s);
  for (auto _ : state) benchmark::DoNotOptimize(leseSignal(datei));
  fs::remove(datei);
}
BENCHMARK(BM_DecodeSentenceFile)->Unit(benchmark::kMillisecond);

}  // namespace
