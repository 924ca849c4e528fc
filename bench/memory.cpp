// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/benchapp.h"
#include "memory/lernbeispiel.h"
#include "memory/lernuhr.h"
#include "memory/tlerndatenbank.h"
#include "memory/tlernfortschritt.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

constexpr int kEintraege = 100000;
constexpr int kAntworten = 1000000;

// One database with a year of history (100,000 entries, 1,000,000 answers), made once and
// kept in the temporary folder for later runs.
TLernDatenbank& grosseHistorie() {
  static std::unique_ptr<TLernDatenbank> db = [] {
    const auto datei = std::filesystem::temp_directory_path() / "zek-bench-lernspeicher.sqlite";
    auto d = std::make_unique<TLernDatenbank>(datei);
    if (d->anzahlAntworten() < kAntworten * 9 / 10) {
      d.reset();
      for (const char* endung : {"", "-wal", "-shm"}) std::filesystem::remove(datei.string() + endung);
      d = std::make_unique<TLernDatenbank>(datei);
      erzeugeBeispielHistorie(*d, kEintraege, kAntworten, lernTagHeute(), 365);
    }
    return d;
  }();
  return *db;
}

TLernAntwort vokabelAntwort(const char* sammlung, const char* frage) {
  TLernAntwort a;
  a.art = TLernArt::Vokabel;
  a.sammlung = sammlung;
  a.frage = frage;
  return a;
}

void BM_AntwortAufzeichnen(benchmark::State& state) {
  TLernDatenbank& db = grosseHistorie();
  TLernAntwort a = vokabelAntwort("Bench.asc", "");
  a.daten = "x";
  int i = 0;
  for (auto _ : state) {
    a.frage = "bench" + std::to_string(i++ % 500);
    a.richtig = i % 4 != 0;
    db.antwort(a);
  }
}
BENCHMARK(BM_AntwortAufzeichnen)->Unit(benchmark::kMicrosecond);

void BM_FaelligAnzahl(benchmark::State& state) {
  TLernDatenbank& db = grosseHistorie();
  int n = 0;
  for (auto _ : state) benchmark::DoNotOptimize(n = db.faelligAnzahl(TLernArt::Vokabel));
  state.counters["faellig"] = n;
  state.counters["antworten"] = static_cast<double>(db.anzahlAntworten());
}
BENCHMARK(BM_FaelligAnzahl)->Unit(benchmark::kMillisecond);

// The end of a round: the round's tally and the trainer's trend over the last 30 days.
void BM_RundenBilanz(benchmark::State& state) {
  TLernDatenbank& db = grosseHistorie();
  const TLernAntwort a = vokabelAntwort("Bibliothek 1.asc", "word1 = Wort1");
  for (auto _ : state) {
    state.PauseTiming();
    db.rundeBeginnen(TLernArt::Vokabel);
    db.antwort(a);
    state.ResumeTiming();
    benchmark::DoNotOptimize(rundenBilanzZeilen(*db.rundeAbschliessen(TLernArt::Vokabel)));
  }
}
BENCHMARK(BM_RundenBilanz)->Unit(benchmark::kMillisecond);

// Opening the progress window over the whole history: its data and its first picture.
void BM_FortschrittFenster(benchmark::State& state) {
  benchApp();
  TLernDatenbank& db = grosseHistorie();
  for (auto _ : state) {
    TLernfortschritt fenster(db);
    benchmark::DoNotOptimize(fenster.grab());
  }
}
BENCHMARK(BM_FortschrittFenster)->Unit(benchmark::kMillisecond);

void BM_DatenbankGroesse(benchmark::State& state) {
  TLernDatenbank& db = grosseHistorie();
  for (auto _ : state) benchmark::DoNotOptimize(db.anzahlAntworten());
  std::uintmax_t groesse = 0;
  for (const char* endung : {"", "-wal"}) {
    std::error_code ec;
    const auto n = std::filesystem::file_size(db.datei().string() + endung, ec);
    if (!ec) groesse += n;
  }
  state.counters["MB"] = static_cast<double>(groesse) / (1024.0 * 1024.0);
}
BENCHMARK(BM_DatenbankGroesse)->Iterations(1);

}  // namespace
