// SPDX-License-Identifier: GPL-3.0-or-later
// The Techno and Seventies presentations and the superlearning settings dialog.
#include "bench/benchapp.h"

#include "platform/appstate.h"
#include "platform/tclock.h"
#include "super/tseventies.h"
#include "super/tsuperoptions.h"
#include "super/tsupersettingsdialog.h"
#include "super/ttechnostyle.h"

#include <benchmark/benchmark.h>

#include <QFontDatabase>

namespace {

class TWords final : public TSuperTextSource {
 public:
  TSuperText nextText() override { return {(m_i++ % 2) ? "sich erinnern" : "*to remember", {}}; }

 private:
  int m_i = 0;
};

class TBitmapHost final : public TTechnoHost {
 public:
  TBitmapHost() : bitmap(800, 572) { bitmap.FillColor(0); }
  QImage canvas() override { return bitmap.view(); }
  void showRect(const QRect&) override {}
  void showMarkup(const std::string&) override {}
  TXBitmap bitmap;
};

std::string technoDir() { return (benchDistDir() / "Techno").string() + "/"; }

// One frame mid-fade: fill, two blends of the full band (border 0: 800 x 534), the text
// drawn, the band copied to the page's picture.
void BM_TechnoFrame(benchmark::State& state) {
  benchApp();
  TTechnoSettings s;
  s.border = int(state.range(0));
  s.alpha = 153;
  s.setSpeed(-25);  // long fade steps: every frame blends two pictures at partial opacity
  TWords words;
  TBitmapHost host;
  TManualPump pump;
  TTechnoStyle style(s, words, host, pump);
  style.player = nullptr;
  TXBitmap a(800, 534), b(800, 534);
  a.FillColor(0x3366CC);
  b.FillColor(0xCC6633);
  style.addPicture(a);
  style.addPicture(b);
  style.startFrames();
  for (int i = 0; i < 3; ++i) style.frame();
  for (auto _ : state) style.frame();
  state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TechnoFrame)->ArgName("border")->Arg(0)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();

// Preparing the twelve shipped pictures; the time per JPEG is the figure.
void BM_TechnoPreparePerJpeg(benchmark::State& state) {
  benchApp();
  const std::vector<std::string> files = TTechnoStyle::pictureFiles(technoDir());
  if (files.empty()) {
    state.SkipWithError("no Techno pictures in the installation");
    return;
  }
  TTechnoSettings s;
  s.border = 0;
  s.mode = int(state.range(0));
  s.setSpeed(1);
  TWords words;
  TBitmapHost host;
  TManualPump pump;
  for (auto _ : state) {
    TTechnoStyle style(s, words, host, pump);
    benchmark::DoNotOptimize(style.prepare(files));
  }
  // Seconds per JPEG, shown in the counter column.
  state.counters["per_jpeg"] =
      benchmark::Counter(double(state.iterations()) * double(files.size()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TechnoPreparePerJpeg)->ArgName("mode")->Arg(0)->Arg(7)->Unit(benchmark::kMillisecond)->UseRealTime();

class TImageHost final : public TSeventiesHost {
 public:
  TImageHost() : page(800, 572, QImage::Format_RGB32), screen(page) { page.fill(Qt::darkRed); }
  void loadPage(const std::string&) override {}
  std::string pageDir() const override { return {}; }
  void setPageDir(const std::string&) override {}
  QImage& overlay() override { return screen; }
  void restoreScreen() override { screen = page.copy(); }
  void showRect(const QRect&) override {}
  QRect textArea() const override { return QRect(40, 40, 720, 452); }
  QFont pageFont() const override {
    QFont f("Liberation Serif");
    f.setPointSize(36);
    f.setBold(true);
    return f;
  }
  QColor pageColor() const override { return Qt::yellow; }
  QImage page, screen;
};

class TLong final : public TSuperTextSource {
 public:
  TSuperText nextText() override { return {"*the unbelievable adventure of a long word", {}}; }
};

// One typed letter on the overlay, and the screen restored before a new word.
void BM_SeventiesLetter(benchmark::State& state) {
  benchApp();
  TLong texts;
  TImageHost host;
  TManualPump pump;
  TSeventiesSettings s;
  s.backgroundDelayS = 0;
  s.textDelayMs = 1000000;
  TSeventies style(s, texts, host, pump);
  style.start();
  style.pass();
  for (auto _ : state) {
    if (style.current().empty()) {
      state.PauseTiming();
      pump.manualClock().advanceMs(1000000);
      style.pass();
      state.ResumeTiming();
    }
    style.typeLetter();
  }
}
BENCHMARK(BM_SeventiesLetter)->Unit(benchmark::kMicrosecond);

void BM_SeventiesRestore(benchmark::State& state) {
  benchApp();
  TImageHost host;
  for (auto _ : state) host.restoreScreen();
}
BENCHMARK(BM_SeventiesRestore)->Unit(benchmark::kMicrosecond);

// Opening the settings dialog: both font lists filled, the controls loaded, the preview drawn.
void BM_SuperDialogOpen(benchmark::State& state) {
  benchApp();
  state.counters["fonts"] = double(QFontDatabase::families().size());
  TSuperOptions options;
  for (auto _ : state) {
    TSuperSettingsDialog dialog(options);
    benchmark::DoNotOptimize(dialog.tabs());
  }
}
BENCHMARK(BM_SuperDialogOpen)->Unit(benchmark::kMillisecond);

}  // namespace
