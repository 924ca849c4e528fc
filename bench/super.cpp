// SPDX-License-Identifier: GPL-3.0-or-later
// Superlearning drawing and pacing: one colour step of the classic band at 1024 × 768, one
// letter of the crazy typing, one Bingo panel, the next Bingo pair from 500 entries, and the
// processor time a running presentation and a running game take besides their drawing.
// Counters: ms_per_step / ms_per_letter (processor time of the drawing), cpu_pct (processor
// time of the process over wall time) and cpu_pct_besides_drawing.
#include <benchmark/benchmark.h>

#include "bench/benchapp.h"
#include "platform/appstate.h"
#include "platform/files.h"
#include "platform/settingsstore.h"
#include "platform/tclock.h"
#include "super/tbingo.h"
#include "super/tsuperfade.h"
#include "super/tsuperoptions.h"
#include "vocab/tbibliothek.h"
#include "vocab/tvoceinstellungen.h"

#include <QTimer>

#include <ctime>
#include <unistd.h>
#include <filesystem>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

double cpuMs(clockid_t which) {
  timespec ts{};
  clock_gettime(which, &ts);
  return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// A settings file, a program folder without music and a library of `n` entries.
struct World {
  fs::path dir;
  std::unique_ptr<TSettingsStore> store;
  std::unique_ptr<TVocEinstellungen> settings;
  TBibliothek bib;

  explicit World(int n) {
    benchApp();
    dir = fs::temp_directory_path() / ("zek-bench-super-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    Dirs().ProgramDir = zek::fromPath(dir) + "/";
    store = std::make_unique<TSettingsStore>(dir / "settings.ini");
    settings = std::make_unique<TVocEinstellungen>(*store);
    settings->Richtung = TVocEinstellungen::RichtungBeides;
    settings->NichtZuSchwer.fill(true);
    bib.setEinstellungen(settings.get());
    bib.Leeren(false);
    for (int i = 0; i < n; ++i) {
      TVokabel v;
      v.Vokabel = "word number " + std::to_string(i);
      v.Bedeutung1 = "Bedeutung " + std::to_string(i) + "; Sinn " + std::to_string(i);
      v.Wortart = std::uint8_t(i % 6);
      bib.Hinzufuegen(v);
    }
    settings->Von = 0;
    settings->Bis = n - 1;
  }
  ~World() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

constexpr int kSteps = 20;

void BM_ClassicFadeStep(benchmark::State& state) {
  World w(50);
  w.store->writeInteger("SOFTWARE\\ZEK\\zek englisch\\Super", "Schritte", kSteps);
  TSuperOptions options(w.store.get());
  TManualPump pump(1000);
  TSuperFadeEngine e(TSuperFadeEngine::Classic, options, w.bib, pump);
  e.resize(1024, 768);
  e.begin();
  e.tick();  // the first word is on the band
  int draws = 0;
  e.showRect = [&](const QRect&) { ++draws; };
  double spent = 0;
  for (auto _ : state) {
    const double t0 = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    e.fade(0);
    spent += cpuMs(CLOCK_THREAD_CPUTIME_ID) - t0;
  }
  state.counters["ms_per_step"] = draws ? spent / draws : 0.0;
}
BENCHMARK(BM_ClassicFadeStep)->Unit(benchmark::kMillisecond);

void BM_CrazyLetter(benchmark::State& state) {
  World w(50);
  w.store->writeInteger("SOFTWARE\\ZEK\\zek englisch\\Super", "TextDelay", 0);
  TSuperOptions options(w.store.get());
  TManualPump pump(1000);
  TSuperFadeEngine e(TSuperFadeEngine::Crazy, options, w.bib, pump);
  e.resize(1024, 768);
  e.begin();
  const std::string text = "{ to look forward to }";
  double spent = 0;
  long letters = 0;
  for (auto _ : state) {
    const double t0 = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    e.drawCrazy(text);
    spent += cpuMs(CLOCK_THREAD_CPUTIME_ID) - t0;
    letters += long(text.size());
  }
  state.counters["ms_per_letter"] = letters ? spent / double(letters) : 0.0;
}
BENCHMARK(BM_CrazyLetter)->Unit(benchmark::kMillisecond);

class TImageHost final : public TBingoHost {
 public:
  QImage image{800, 600, QImage::Format_RGB32};
  QImage canvas() override { return QImage(image.bits(), image.width(), image.height(), image.bytesPerLine(), image.format()); }
  void showRect(const QRect&) override {}
  void loadPage(const std::string&) override {}
  std::string pageDir() const override { return {}; }
};

void BM_BingoPanel(benchmark::State& state) {
  World w(50);
  TImageHost host;
  TManualPump pump;
  TBingo game(w.bib, host, pump);
  game.nextPair();
  for (auto _ : state) game.drawPanel(TBingo::kUpperPanel, "to look forward to");
}
BENCHMARK(BM_BingoPanel)->Unit(benchmark::kMillisecond);

void BM_BingoNextPair500(benchmark::State& state) {
  World w(500);
  TImageHost host;
  TManualPump pump;
  TBingo game(w.bib, host, pump);
  for (auto _ : state) game.nextPair();
}
BENCHMARK(BM_BingoNextPair500)->Unit(benchmark::kMillisecond);

// Three seconds of a real classic presentation on the real pump and timer.
void BM_ClassicRunningCpu(benchmark::State& state) {
  World w(50);
  TSuperOptions options(w.store.get());
  double cpuPct = 0, besides = 0;
  for (auto _ : state) {
    TEventPump pump;
    TSuperFadeEngine e(TSuperFadeEngine::Classic, options, w.bib, pump);
    e.resize(1024, 768);
    e.begin();
    QTimer timer;
    timer.setInterval(TSuperFadeEngine::kTickMs);
    QObject::connect(&timer, &QTimer::timeout, [&] { e.tick(); });
    // The band drawing is priced by a separate measurement below: here the steps are counted.
    int draws = 0;
    e.showRect = [&](const QRect&) { ++draws; };
    timer.start();
    const double wall0 = TSteadyClock().nowMs(), cpu0 = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
    pump.waitFor(3000, nullptr);
    const double wall = TSteadyClock().nowMs() - wall0, cpu = cpuMs(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
    timer.stop();
    // Price of one band step, measured apart.
    TManualPump manual(1000);
    TSuperFadeEngine probe(TSuperFadeEngine::Classic, options, w.bib, manual);
    probe.resize(1024, 768);
    probe.begin();
    int probeDraws = 0;
    probe.showRect = [&](const QRect&) { ++probeDraws; };
    const double p0 = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    probe.fade(0);
    probe.fade(0);
    const double perDraw = probeDraws ? (cpuMs(CLOCK_THREAD_CPUTIME_ID) - p0) / probeDraws : 0.0;
    const double drawMs = perDraw * draws;
    cpuPct = 100.0 * cpu / wall;
    besides = 100.0 * (cpu - drawMs) / wall;
    state.SetIterationTime(wall / 1000.0);
  }
  state.counters["cpu_pct"] = cpuPct;
  state.counters["cpu_pct_besides_drawing"] = besides;
}
BENCHMARK(BM_ClassicRunningCpu)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Three seconds of the Bingo game on the real pump (the round's intro and first pairs).
void BM_BingoRunningCpu(benchmark::State& state) {
  World w(50);
  double cpuPct = 0;
  for (auto _ : state) {
    TImageHost host;
    TEventPump pump;
    TBingo game(w.bib, host, pump);
    QTimer::singleShot(3000, [&] { game.stop(); });
    const double wall0 = TSteadyClock().nowMs(), cpu0 = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
    game.run();  // the stop comes after 3 s; the goodbye screen takes 4 s more
    const double wall = TSteadyClock().nowMs() - wall0, cpu = cpuMs(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
    cpuPct = 100.0 * cpu / wall;
    state.SetIterationTime(wall / 1000.0);
  }
  state.counters["cpu_pct"] = cpuPct;
}
BENCHMARK(BM_BingoRunningCpu)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
