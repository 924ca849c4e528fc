// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

class TSettingsStore;

// How the quiz selects and asks entries. Order, direction, idioms, context, the multiple-
// choice share, the difficulty switches and the tolerant check are kept in the settings
// store; the range and the round size live only in memory.
class TVocEinstellungen {
 public:
  static constexpr const char* kSchluessel = "SOFTWARE\\ZEK\\zek englisch\\Vokabeln";

  enum : std::uint8_t { ModusVor = 0, ModusZurueck = 1, ModusKreuzUndQuer = 2 };
  enum : std::uint8_t { RichtungDE = 0, RichtungED = 1, RichtungBeides = 2 };

  // The store is the process-wide one unless a test gives another.
  TVocEinstellungen();
  explicit TVocEinstellungen(TSettingsStore& store);

  bool NichtGeladen = true;
  std::uint8_t Modus = ModusVor;
  int Von = 0;   // -1: from the start
  int Bis = -1;  // -1: up to the last entry
  int ProRunde = 0;        // 0 counts as 10 in the quiz
  int MultipleChoice = 0;  // percent
  std::uint8_t Richtung = RichtungDE;
  bool Redewendungen = false;
  bool Kontext = false;
  std::array<bool, 5> NichtZuSchwer{};  // difficulty levels that may be asked
  // "Antworten großzügig prüfen" for typed answers; kept with the other trainers' switches
  // in the general key.
  bool Grosszuegig = false;

  // Presets 0..3 of the start page ("s1".."s4"); false for another number.
  bool Voreinstellung(int nummer);
  void EinstellungenLaden();
  // Loads first when nothing was loaded in this run, so that the initial values never
  // overwrite stored ones. False when the store could not be written.
  bool EinstellungenSpeichern();
  // The options window and the editor load lazily.
  void LadenFallsNoetig() {
    if (NichtGeladen) EinstellungenLaden();
  }

 private:
  TSettingsStore* m_store;
};
