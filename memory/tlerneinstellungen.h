// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class TSettingsStore;

// The learner's choices for the memory: on or off, and the share of entries that should
// still be known when they come due (percent). Key "SOFTWARE\ZEK\zek englisch\Lernspeicher".
struct TLernEinstellungen {
  static constexpr const char* kSchluessel = "SOFTWARE\\ZEK\\zek englisch\\Lernspeicher";
  static constexpr int kBehaltenMin = 70, kBehaltenMax = 97;

  bool aktiv = true;
  int behalten = 90;

  static TLernEinstellungen laden(const TSettingsStore& store);
  bool speichern(TSettingsStore& store) const;
};
