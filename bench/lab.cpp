// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/benchapp.h"
#include "media/twaverec.h"
#include "lab/tsprachlabor.h"
#include "platform/appstate.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "tests/common/wavebytes.h"
#include "widgets/txcolorbutton.h"

#include <QApplication>
#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace {

namespace fs = std::filesystem;

fs::path distDir() { return benchDistDir(); }

// Half a second of 8-bit mono silence.
std::string silentWave() { return zek::test::silentWave(11025, 8, 5512); }

// The program's surroundings: pages of the installation, a sound folder with the first
// topic's sentences, settings of its own, message boxes answered at once.
void app() {
  static const bool ready = [] {
    if (qEnvironmentVariableIsEmpty("ZEK_AUDIO")) qputenv("ZEK_AUDIO", "null");
    benchApp();
    const fs::path base = fs::temp_directory_path() / "zek-bench-lab";
    TSettingsStore::setGlobalFile(base / "settings.ini");
    const fs::path folder = base / "wave" / "Labor" / "0";
    fs::create_directories(folder);
    const std::string wave = silentWave();
    for (int i = 0; i < 82; ++i) {
      char file[32];
      std::snprintf(file, sizeof file, "lab_%04d.wav", i);
      std::ofstream(folder / file, std::ios::binary) << wave;
    }
    Dirs().SoundDir = zek::fromPath(base / "wave") + "/";
    Dirs().PageBase = zek::fromPath(distDir() / "ZEK_E") + "/";
    return true;
  }();
  (void)ready;
}

// Opening: the lesson table, the picture, the recorder, the menu and the first sentence.
void BM_LabOpen(benchmark::State& state) {
  app();
  for (auto _ : state) {
    TSprachlabor lab(0);
    benchmark::DoNotOptimize(lab.Satz().englisch.data());
  }
}
BENCHMARK(BM_LabOpen)->Unit(benchmark::kMillisecond);

// "Weiter": a sentence picked and shown.
void BM_LabWeiter(benchmark::State& state) {
  app();
  TSprachlabor lab(0);
  for (auto _ : state) lab.WeiterClick();
}
BENCHMARK(BM_LabWeiter)->Unit(benchmark::kMicrosecond);

// One polling tick while a take is being recorded.
void BM_LabTick(benchmark::State& state) {
  app();
  TSprachlabor lab(0);
  lab.AufnahmeAn();
  for (auto _ : state) lab.TimerTick();
  state.counters["recording"] = lab.Timer().isActive() ? 1 : 0;
  lab.AufnahmeAus();
}
BENCHMARK(BM_LabTick)->Unit(benchmark::kMicrosecond);

// "Vorlesen": from the click to the play command of the sentence's file.
void BM_LabVorlesen(benchmark::State& state) {
  app();
  TSprachlabor lab(0);
  for (auto _ : state) lab.VorlesenClick();
}
BENCHMARK(BM_LabVorlesen)->Unit(benchmark::kMillisecond);

}  // namespace
