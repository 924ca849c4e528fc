// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/benchapp.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "vocab/tbibliothek.h"
#include "vocab/tvoceinstellungen.h"
#include "vocab/tvocoptionen.h"
#include "widgets/txcheckbox.h"

#include <QApplication>
#include <QDir>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

QApplication& app() { return benchApp(); }

struct TBibMitEinstellungen {
  TVocEinstellungen e;
  TBibliothek bib;
  explicit TBibMitEinstellungen(int n) {
    e.NichtGeladen = false;
    e.Richtung = TVocEinstellungen::RichtungBeides;
    e.NichtZuSchwer = {true, true, true, false, false};
    e.Modus = TVocEinstellungen::ModusKreuzUndQuer;
    bib.setEinstellungen(&e);
    std::string daten;
    for (int i = 0; i < n; ++i) {
      const std::string z = std::to_string(i);
      for (const std::string& zeile : {"word " + z, "Wort " + z, std::string(), std::string("I see the [word] ") + z,
                                       std::string("0"), std::string(), std::string("0"), std::to_string(i % 6),
                                       std::string(i % 3 ? "0" : "-1"), std::to_string(i % 5)})
        daten += zeile + "\r\n";
    }
    bib.LadenAus(daten, "gross.asc", true);
  }
};

// Opening the window over 10,000 entries: controls, lists, the check.
void BM_OptionenOeffnen(benchmark::State& state) {
  app();
  TBibMitEinstellungen b(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TVocOptionen w(b.bib, b.e);
    benchmark::DoNotOptimize(&w);
  }
}
BENCHMARK(BM_OptionenOeffnen)->Arg(10000)->Unit(benchmark::kMillisecond);

// The refresh after a load, sort or mix.
void BM_OptionenAktualisieren(benchmark::State& state) {
  app();
  TBibMitEinstellungen b(static_cast<int>(state.range(0)));
  TVocOptionen w(b.bib, b.e);
  for (auto _ : state) w.Aktualisieren();
}
BENCHMARK(BM_OptionenAktualisieren)->Arg(10000)->Unit(benchmark::kMillisecond);

// One setting change (a difficulty box) with its check.
void BM_OptionenEinstellungMitPruefung(benchmark::State& state) {
  app();
  TBibMitEinstellungen b(static_cast<int>(state.range(0)));
  TVocOptionen w(b.bib, b.e);
  TXCustomCheckBox* box = w.Stufe(3);
  for (auto _ : state) {
    box->setChecked(!box->Checked());
    box->OnClick(box);
  }
}
BENCHMARK(BM_OptionenEinstellungMitPruefung)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
