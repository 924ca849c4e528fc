#include "vocab/zuletztdateien.h"

#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/settingsstore.h"

namespace zek {

std::array<std::string, 4> zuletztDateien() {
  std::array<std::string, 4> d;
  const std::string key = settingsKey("\\Dateien");
  for (int i = 0; i < 4; ++i)
    d[static_cast<std::size_t>(i)] = TSettingsStore::global().readString(key, std::to_string(i)).value_or("");
  return d;
}

void zuletztEintragen(const std::string& datei, const std::array<std::string, 4>& bisher) {
  if (datei.empty()) return;
  TSettingsStore& store = TSettingsStore::global();
  const std::string key = settingsKey("\\Dateien");
  store.writeString(key, "0", datei);
  int n = 1;
  for (const std::string& alt : bisher) {
    if (n > 3) break;
    if (equalsNoCase(alt, datei)) continue;
    store.writeString(key, std::to_string(n++), alt);
  }
}

}  // namespace zek
