// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tzuletztliste.h"

#include "platform/appstate.h"
#include "platform/files.h"
#include "platform/settingsstore.h"
#include "vocab/tbibliothek.h"
#include "vocab/vokabeldatei.h"

TZuletztListe::TZuletztListe() : TZuletztListe(TSettingsStore::global()) {}

TZuletztListe::TZuletztListe(TSettingsStore& store) : m_store(&store) { Lesen(); }

void TZuletztListe::Lesen() {
  for (int i = 0; i < kAnzahl; ++i) {
    m_pfade[static_cast<std::size_t>(i)] = m_store->readString(kSchluessel, std::to_string(i)).value_or("");
  }
}

bool TZuletztListe::Aktualisieren(const std::string& pfad) {
  if (pfad.empty()) return true;
  std::array<std::string, kAnzahl> neu;
  neu[0] = pfad;
  std::size_t n = 1;
  for (const std::string& alt : m_pfade) {
    if (n == neu.size()) break;
    if (alt.empty() || alt == pfad) continue;
    neu[n++] = alt;
  }
  bool ok = true;
  for (int i = 0; i < kAnzahl; ++i) {
    ok = m_store->writeString(kSchluessel, std::to_string(i), neu[static_cast<std::size_t>(i)]) && ok;
  }
  m_pfade = neu;
  return ok;
}

namespace {

constexpr const char* kGeladen = "Geladen";

}  // namespace

void bibliotheksOrdnerMerken(const std::string& pfad) {
  const std::string dir = zek::directoryPart(pfad);
  if (dir.empty() || dir == Dirs().UserVocabDir) return;
  Dirs().UserVocabDir = dir;
  saveDirectorySettings(1);
}

void geladeneMerken(const TBibliothek& bib, TSettingsStore& store) {
  store.writeString(TZuletztListe::kSchluessel, kGeladen, bib.DateiName());
}

bool geladeneOeffnen(TBibliothek& bib, TSettingsStore& store) {
  const std::string pfad = store.readString(TZuletztListe::kSchluessel, kGeladen).value_or("");
  if (pfad.empty()) return false;
  const auto daten = zek::readFile(zek::resolveName(pfad), 16u << 20);
  if (!daten || !liesVokabeln(*daten).fehler.empty()) return false;
  return bib.LadenAus(*daten, pfad, true);
}
