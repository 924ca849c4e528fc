// SPDX-License-Identifier: GPL-3.0-or-later
// The vocabulary editor over a 10,000-entry library and the installation's full dictionary.
#include "bench/benchapp.h"
#include "dict/database.h"
#include "dict/startup.h"
#include "media/twaverec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "vocab/editorpruefungen.h"
#include "vocab/tbibliothek.h"
#include "vocab/tvoceditor.h"
#include "vocab/tvoceditorkern.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <benchmark/benchmark.h>

#include <string>

namespace {

// Both halves, loaded once.
TXDatabase* fullDictionary() {
  static TXDatabase* db = [] () -> TXDatabase* {
    const std::filesystem::path dir = benchDistDir() / "ZEK_E";
    const std::string ed = zek::fromPath(dir / "e_d.zek"), de = zek::fromPath(dir / "d_e.zek");
    if (!zek::fileExists(ed) || !zek::fileExists(de)) return nullptr;
    auto* d = new TXDatabase;
    zek::ScriptedDialogs quiet;
    zek::loadDictionaries(*d, ed, de);
    return d;
  }();
  return db;
}

// 10,000 entries taken from the English-German half at even steps, with the dictionary's
// meanings where they are short enough for a quiz: the quick check walks them all.
std::string libraryFrom(TXDatabase& db, int n) {
  db.SetGermanEnglish(false);
  std::string daten;
  int taken = 0;
  for (int i = 0; taken < n && i < db.Count(); i += 7) {
    const std::string_view w = db.WordView(i), m = db.MeaningView(i);
    if (w.empty() || m.empty() || m.size() > 30) continue;
    // The quick check finds the first of equal words; only take that one.
    if (db.FindWord(w, db.GetKind(i)) != i) continue;
    for (const std::string& zeile : {std::string(w), std::string(m), std::string(), std::string(), std::string("0"),
                                     std::string(), std::string("0"), std::to_string(db.GetKind(i) - 1),
                                     std::string("0"), std::string("0")})
      daten += zeile + "\r\n";
    ++taken;
  }
  return daten;
}

// Opening the editor over 10,000 entries: controls, the entry list, the first look-up.
void BM_EditorOeffnen(benchmark::State& state) {
  benchApp();
  TXDatabase* db = fullDictionary();
  if (!db) return state.SkipWithError("dictionary files missing (build the installation first)");
  TBibliothek bib;
  bib.LadenAus(libraryFrom(*db, static_cast<int>(state.range(0))), "gross.asc", true);
  for (auto _ : state) {
    TVocEditor w(bib, *db);
    benchmark::DoNotOptimize(&w);
  }
  state.counters["entries"] = bib.Anzahl(false);
  zek::freeWaveRec();  // the editor made the recorder; it goes before the static media log
}
BENCHMARK(BM_EditorOeffnen)->Arg(10000)->Unit(benchmark::kMillisecond);

// A keystroke in the word field: the entry, its list line and the look-up in the full
// dictionary ("Ständig nachschlagen" is on). Typing and deleting a letter in turn.
void BM_EditorTasteMitNachschlagen(benchmark::State& state) {
  benchApp();
  TXDatabase* db = fullDictionary();
  if (!db) return state.SkipWithError("dictionary files missing (build the installation first)");
  TBibliothek bib;
  bib.LadenAus(libraryFrom(*db, 10000), "gross.asc", true);
  TVocEditor w(bib, *db);
  w.show();
  QLineEdit* feld = w.WortFeld();
  feld->setFocus();
  feld->setText("hous");
  feld->end(false);
  bool tippen = true;
  for (auto _ : state) {
    QKeyEvent taste(QEvent::KeyPress, tippen ? Qt::Key_E : Qt::Key_Backspace, Qt::NoModifier,
                    tippen ? QStringLiteral("e") : QString());
    QApplication::sendEvent(feld, &taste);
    tippen = !tippen;
  }
  if (bib.Vokabel(-1).rfind("hous", 0) != 0 || !w.WbWortFeld()->text().startsWith("hous"))
    state.SkipWithError("the keystrokes did not reach the entry or the look-up");
  zek::freeWaveRec();
}
BENCHMARK(BM_EditorTasteMitNachschlagen)->Unit(benchmark::kMicrosecond);

// "XPress-Kontrolle" over 10,000 entries that all agree with the dictionary.
void BM_XPressKontrolle(benchmark::State& state) {
  benchApp();
  TXDatabase* db = fullDictionary();
  if (!db) return state.SkipWithError("dictionary files missing (build the installation first)");
  TBibliothek bib;
  bib.LadenAus(libraryFrom(*db, static_cast<int>(state.range(0))), "gross.asc", true);
  TVocEditorKern kern(bib, *db);
  kern.oeffnen();
  zek::ScriptedDialogs boxes;
  for (auto _ : state) {
    boxes.clear();
    bib.setAktuell(0);
    xpressKontrolle(kern);
  }
  if (boxes.texts() != std::vector<std::string>{"Kontrolle beendet."})
    state.SkipWithError("the check stopped before the end");
  state.counters["entries"] = bib.Anzahl(false);
}
BENCHMARK(BM_XPressKontrolle)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
