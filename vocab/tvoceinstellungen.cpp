// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tvoceinstellungen.h"

#include "platform/appstate.h"
#include "platform/settingsstore.h"

#include <algorithm>
#include <string>

namespace {

const char* const kModusText[] = {"vor", "zur\xFC" "ck", "kreuzundquer"};
const char* const kRichtungText[] = {"D-E", "E-D", "Beides"};

std::string nichtZuSchwerName(int i) { return "NichtZuSchwer" + std::to_string(i + 1); }

}  // namespace

TVocEinstellungen::TVocEinstellungen() : m_store(&TSettingsStore::global()) {}
TVocEinstellungen::TVocEinstellungen(TSettingsStore& store) : m_store(&store) {}

bool TVocEinstellungen::Voreinstellung(int nummer) {
  static constexpr bool kStufen[4][5] = {
      {true, true, true, false, false},
      {false, true, true, true, false},
      {false, false, false, true, true},
      {true, true, true, true, true},
  };
  if (nummer < 0 || nummer > 3) return false;
  // Read the stored values first: loading them later would replace the preset.
  LadenFallsNoetig();
  Modus = ModusKreuzUndQuer;
  MultipleChoice = 60;
  Richtung = RichtungBeides;
  Redewendungen = true;
  Von = 0;
  Bis = -1;
  ProRunde = 12;
  std::copy(std::begin(kStufen[nummer]), std::end(kStufen[nummer]), NichtZuSchwer.begin());
  return true;
}

void TVocEinstellungen::EinstellungenLaden() {
  const auto modus = m_store->readString(kSchluessel, "Modus");
  Modus = modus == kModusText[0] ? ModusVor : modus == kModusText[1] ? ModusZurueck : ModusKreuzUndQuer;
  const auto richtung = m_store->readString(kSchluessel, "Richtung");
  Richtung = richtung == kRichtungText[0] ? RichtungDE : richtung == kRichtungText[1] ? RichtungED : RichtungBeides;
  Kontext = m_store->readBool(kSchluessel, "Kontext").value_or(true);
  Redewendungen = m_store->readBool(kSchluessel, "Redewendungen").value_or(true);
  // A stored share outside 0..100 would make every draw one kind; keep it in range.
  MultipleChoice = std::clamp(m_store->readInteger(kSchluessel, "Multiple Choice/Eintippen").value_or(50), 0, 100);
  std::array<bool, 5> stufen{};
  bool alleGelesen = true;
  for (int i = 0; i < 5; ++i) {
    const auto wert = m_store->readBool(kSchluessel, nichtZuSchwerName(i));
    alleGelesen = alleGelesen && wert.has_value();
    stufen[static_cast<size_t>(i)] = wert.value_or(true);
  }
  if (!alleGelesen) stufen.fill(true);
  NichtZuSchwer = stufen;
  Grosszuegig = readTolerantChecking(*m_store, TTolerantScope::Vokabeln);
  NichtGeladen = false;
}

bool TVocEinstellungen::EinstellungenSpeichern() {
  if (NichtGeladen) EinstellungenLaden();
  bool ok = m_store->createKey(kSchluessel);
  ok = m_store->writeString(kSchluessel, "Modus", kModusText[std::min<int>(Modus, 2)]) && ok;
  ok = m_store->writeString(kSchluessel, "Richtung", kRichtungText[std::min<int>(Richtung, 2)]) && ok;
  ok = m_store->writeBool(kSchluessel, "Kontext", Kontext) && ok;
  ok = m_store->writeBool(kSchluessel, "Redewendungen", Redewendungen) && ok;
  ok = m_store->writeInteger(kSchluessel, "Multiple Choice/Eintippen", MultipleChoice) && ok;
  for (int i = 0; i < 5; ++i) ok = m_store->writeBool(kSchluessel, nichtZuSchwerName(i), NichtZuSchwer[static_cast<size_t>(i)]) && ok;
  ok = writeTolerantChecking(*m_store, TTolerantScope::Vokabeln, Grosszuegig) && ok;
  return ok;
}
