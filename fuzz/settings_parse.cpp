// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settingsstore.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TSettingsStore store("/nonexistent/zek-fuzz/settings.ini");
  store.parse(std::string_view(reinterpret_cast<const char*>(data), size));
  // What was read must read back the same after a round trip.
  TSettingsStore again("/nonexistent/zek-fuzz/settings.ini");
  again.parse(store.serialize());
  if (again.serialize() != store.serialize()) __builtin_trap();
  return 0;
}
