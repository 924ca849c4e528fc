#pragma once

#include <array>
#include <string>

namespace zek {

// The four recent libraries under "SOFTWARE\ZEK\zek englisch\Dateien", values "0" to "3",
// the most recent first; a missing value is empty.
std::array<std::string, 4> zuletztDateien();
// Puts `datei` first and the others of `bisher` after it, without `datei` (compared
// without regard to case); the oldest falls off.
void zuletztEintragen(const std::string& datei, const std::array<std::string, 4>& bisher);

}  // namespace zek
