// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/benchapp.h"
#include "page/thtmlstream.h"
#include "page/txpage.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "platform/tprintservice.h"
#include "vocab/tbibliothek.h"
#include "vocab/tkarteikarten.h"
#include "vocab/tvoceinstellungen.h"
#include "vocab/tvokabelabfrage.h"

#include <QApplication>
#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>

namespace {

namespace fs = std::filesystem;

QApplication& app() { return benchApp(); }

fs::path distDir() {
  if (const char* d = std::getenv("ZEK_DIST_DIR")) return d;
  return fs::path(QCoreApplication::applicationDirPath().toStdString()) / ".." / "dist";
}

// Entries of realistic shape: mixed classes, both directions, optional parts, sentences.
std::vector<TVokabel> erzeuge(std::size_t n) {
  std::mt19937 zufall(42);
  const char* silben[] = {"ka", "lo", "mi", "ber", "sta", "un", "ti", "ro", "ge", "ha", "\xE4u", "sch"};
  auto wort = [&](int laenge) {
    std::string w;
    for (int i = 0; i < laenge; ++i) w += silben[zufall() % 12];
    return w;
  };
  std::vector<TVokabel> v(n);
  for (std::size_t i = 0; i < n; ++i) {
    TVokabel& e = v[i];
    e.Vokabel = wort(2 + int(zufall() % 3));
    e.Bedeutung1 = wort(2) + " (" + wort(1) + "); " + wort(3);
    if (i % 2) e.Bedeutung2 = wort(3) + " [ugs.]";
    if (i % 3 == 0) e.Kontext1 = "Yesterday we saw a [*] near the " + wort(2) + ".";
    e.Tip1 = i % 6 == 0;
    e.Wortart = static_cast<std::uint8_t>(zufall() % 6);
    e.Deutsch = zufall() % 4 == 0;
    e.Schwierigkeit = static_cast<std::uint8_t>(zufall() % 5);
  }
  return v;
}

struct TQuizBank {
  fs::path dir = fs::temp_directory_path() / ("zek-bench-quiz-" + std::to_string(std::random_device{}()));
  TSettingsStore store{dir / "settings.ini"};
  TVocEinstellungen e{store};
  TBibliothek bib;

  explicit TQuizBank(std::size_t n, int proRunde) {
    bib.Leeren(false);
    for (const TVokabel& v : erzeuge(n)) bib.Hinzufuegen(v);
    bib.LeerAnhaengen();
    bib.setEinstellungen(&e);
    bib.setZufall(3);
    e.Modus = TVocEinstellungen::ModusKreuzUndQuer;
    e.Richtung = TVocEinstellungen::RichtungBeides;
    e.Redewendungen = true;
    e.Kontext = true;
    e.MultipleChoice = 50;
    e.NichtZuSchwer.fill(true);
    e.ProRunde = proRunde;
  }
  ~TQuizBank() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

// The quiz pages go to a real page view (read, laid out, painted).
class TSeitenBank : public TAbfrageAnzeige {
 public:
  explicit TSeitenBank(TXPage& seite) : m_seite(seite) {}
  bool Bereit() const override { return true; }
  int Breite() const override { return m_seite.width(); }
  void SeiteZeigen(THTMLStream& markup) override { m_seite.ShowStream(&markup); }
  void DateiZeigen(const std::string&) override {}
  void AuswertungZeigen(const TAuswertung&) override {}
  std::string AufnahmeFuer(const std::string&, TWortSprache) const override { return {}; }

 private:
  TXPage& m_seite;
};

class TStumm : public TAbfrageAnzeige {
 public:
  bool Bereit() const override { return true; }
  int Breite() const override { return 800; }
  void SeiteZeigen(THTMLStream&) override {}
  void DateiZeigen(const std::string&) override {}
  void AuswertungZeigen(const TAuswertung&) override {}
  std::string AufnahmeFuer(const std::string&, TWortSprache) const override { return {}; }
};

void BM_RundeVorbereiten100aus10000(benchmark::State& state) {
  TQuizBank b(10000, 100);
  for (auto _ : state) {
    b.bib.Abfrage().RundeVorbereiten();
    benchmark::DoNotOptimize(b.bib.Abfrage().Aufgaben().data());
  }
}
BENCHMARK(BM_RundeVorbereiten100aus10000)->Unit(benchmark::kMillisecond);

void BM_FrageSeite(benchmark::State& state) {
  TQuizBank b(10000, 100);
  TStumm stumm;
  TVokabelAbfrage& q = b.bib.Abfrage();
  q.setAnzeige(&stumm);
  q.Starten();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string s = q.FrageSeite();
    bytes += s.size();
    benchmark::DoNotOptimize(s.data());
  }
  state.SetBytesProcessed(std::int64_t(bytes));
}
BENCHMARK(BM_FrageSeite)->Unit(benchmark::kMicrosecond);

// "vokabel+" to the answer page painted, and "vokabelweiter" to the next question painted.
// Every answer is wrong, so the round never ends.
void BM_AntwortUndWeiterGemalt(benchmark::State& state) {
  app();
  TXPage::setSoundCloser(nullptr);
  TXPage seite;
  seite.resize(800, 572);
  seite.setXPath(zek::fromPath(distDir() / "ZEK_E" / "hzek") + "/");
  TSeitenBank anzeige(seite);
  TQuizBank b(2000, 100);
  TVokabelAbfrage& q = b.bib.Abfrage();
  q.setAnzeige(&anzeige);
  q.Starten();
  const bool antwort = state.range(0) == 0;
  for (auto _ : state) {
    if (antwort) {
      q.AntwortZeigen("-");
      state.PauseTiming();
      q.Weiter();
      state.ResumeTiming();
    } else {
      state.PauseTiming();
      q.AntwortZeigen("-");
      state.ResumeTiming();
      q.Weiter();
    }
  }
  benchmark::DoNotOptimize(seite.Model().items.size());
}
BENCHMARK(BM_AntwortUndWeiterGemalt)->Arg(0)->Arg(1)->ArgName("weiter")->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Karteikarten1000Pdf(benchmark::State& state) {
  app();
  const std::vector<TVokabel> karten = erzeuge(1000);
  const fs::path dir = fs::temp_directory_path() / ("zek-bench-karten-" + std::to_string(std::random_device{}()));
  fs::create_directories(dir);
  TKartenWahl w;
  w.thema = "Bench";
  w.bis = kartenBlaetter(1000) - 1;
  for (auto _ : state) {
    TPrintStart vorn = pdfPrintJob(zek::fromPath(dir / "vorn.pdf"), "vorn");
    KartenVorderseiten(*vorn.surface, karten, w);
    vorn.surface->finish();
    TPrintStart hinten = pdfPrintJob(zek::fromPath(dir / "hinten.pdf"), "hinten");
    KartenRueckseiten(*hinten.surface, karten, w);
    hinten.surface->finish();
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
}
BENCHMARK(BM_Karteikarten1000Pdf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
