// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

class TBibliothek;
class TSettingsStore;

// The four most recently saved or opened libraries, most recent first, kept as the
// string values "0".."3" of their settings key. Unused slots are empty.
class TZuletztListe {
 public:
  static constexpr const char* kSchluessel = "SOFTWARE\\ZEK\\zek englisch\\Dateien";
  static constexpr int kAnzahl = 4;

  // The store is the process-wide one unless a test gives another.
  TZuletztListe();
  explicit TZuletztListe(TSettingsStore& store);

  void Lesen();
  const std::array<std::string, kAnzahl>& Pfade() const { return m_pfade; }
  // Puts `pfad` first and keeps the others in order without it (paths compare exactly:
  // the file system tells case apart). An empty name changes nothing. False when the
  // store could not be written.
  bool Aktualisieren(const std::string& pfad);

 private:
  TSettingsStore* m_store;
  std::array<std::string, kAnzahl> m_pfade;
};

// A library opened or saved in another folder makes that folder the one the file dialogs
// start in, now and in later runs.
void bibliotheksOrdnerMerken(const std::string& pfad);

// The library open at the end of a run is opened again at the next start; a file that is
// gone or no longer reads cleanly is left alone without a word.
void geladeneMerken(const TBibliothek& bib, TSettingsStore& store);
bool geladeneOeffnen(TBibliothek& bib, TSettingsStore& store);
