// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/benchapp.h"
#include "page/txpage.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "verbs/t_e_verbenauswahl.h"
#include "verbs/tverben.h"
#include "verbs/txpageverbseite.h"
#include "widgets/txlistbox.h"

#include <QApplication>
#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

QApplication& app() { return benchApp(); }

std::filesystem::path distDir() { return benchDistDir(); }

TSettingsStore& scratchStore() {
  static TSettingsStore store(std::filesystem::temp_directory_path() / "zek-bench-verbs.ini");
  return store;
}

// The quiz on a real page view with the shipped frame page and its background picture.
struct TQuizOnPage {
  TXPage page;
  TVerben verben{scratchStore()};
  TQuizOnPage() {
    TXPage::setSoundCloser(nullptr);
    page.resize(800, 572);
    page.setXPath(zek::fromPath(distDir() / "ZEK_E" / "hzek"));
    verben.setSeite(std::make_unique<TXPageVerbSeite>(&page));
    verben.setZufall(1);
    verben.voreinstellung(2);  // 28 verbs
    verben.setFormAuswahl("-++-");  // past tense, then participle
    verben.vorbereiten();
  }
};

// Return in the past-tense field: the answer is taken and the question page comes again,
// laid out and painted, with the participle's field.
void BM_VerbReturnToNextField(benchmark::State& state) {
  app();
  TQuizOnPage q;
  for (auto _ : state) {
    state.PauseTiming();
    q.verben.startRunde();
    state.ResumeTiming();
    q.verben.antwort("2#1+");
  }
  benchmark::DoNotOptimize(q.page.Buffer().bits());
}
BENCHMARK(BM_VerbReturnToNextField)->Unit(benchmark::kMillisecond);

// Return in the last field: the answer page, with the next verb picked.
void BM_VerbReturnToAnswerPage(benchmark::State& state) {
  app();
  TQuizOnPage q;
  for (auto _ : state) {
    state.PauseTiming();
    q.verben.startRunde();
    q.verben.antwort("2#1+");
    state.ResumeTiming();
    q.verben.antwort("3-");
  }
  benchmark::DoNotOptimize(q.page.Buffer().bits());
}
BENCHMARK(BM_VerbReturnToAnswerPage)->Unit(benchmark::kMillisecond);

// "Weiter" on the answer page: the next question page.
void BM_VerbWeiter(benchmark::State& state) {
  app();
  TQuizOnPage q;
  for (auto _ : state) {
    state.PauseTiming();
    q.verben.startRunde();
    q.verben.antwort("2#1+");
    q.verben.antwort("3-");
    state.ResumeTiming();
    q.verben.weiter();
  }
  benchmark::DoNotOptimize(q.page.Buffer().bits());
}
BENCHMARK(BM_VerbWeiter)->Unit(benchmark::kMillisecond);

// Opening the selection window: 120 items, the boxes, and its first picture.
void BM_VerbSelectionOpen(benchmark::State& state) {
  app();
  TVerben verben(scratchStore());
  for (auto _ : state) {
    T_E_VerbenAuswahl w(verben);
    benchmark::DoNotOptimize(w.grab());
  }
}
BENCHMARK(BM_VerbSelectionOpen)->Unit(benchmark::kMillisecond);

// "Alle AN" with every verb off: all items switched and the list painted once.
void BM_VerbSelectionAlleAn(benchmark::State& state) {
  app();
  TVerben verben(scratchStore());
  T_E_VerbenAuswahl w(verben);
  for (auto _ : state) {
    state.PauseTiming();
    w.AlleAusClick();
    state.ResumeTiming();
    w.AlleAnClick();
    benchmark::DoNotOptimize(w.Liste()->grab());
  }
}
BENCHMARK(BM_VerbSelectionAlleAn)->Unit(benchmark::kMicrosecond);

}  // namespace
