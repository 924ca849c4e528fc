#include "vocab/tzuletztliste.h"

#include "platform/settingsstore.h"

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
