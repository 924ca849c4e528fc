// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/tlerneinstellungen.h"

#include "platform/settingsstore.h"

#include <algorithm>

TLernEinstellungen TLernEinstellungen::laden(const TSettingsStore& store) {
  TLernEinstellungen e;
  e.aktiv = store.readBool(kSchluessel, "Aktiv").value_or(true);
  e.behalten = std::clamp(store.readInteger(kSchluessel, "Behalten").value_or(90), kBehaltenMin, kBehaltenMax);
  return e;
}

bool TLernEinstellungen::speichern(TSettingsStore& store) const {
  return store.writeBool(kSchluessel, "Aktiv", aktiv) && store.writeInteger(kSchluessel, "Behalten", behalten);
}
