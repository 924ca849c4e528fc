// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vocab/tvokabel.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace vt {

// Ten lines of one record as a file holds them.
inline std::string satz(const std::string& wort, const std::string& bedeutung, const std::string& wortart = "0",
                        const std::string& deutsch = "0", const std::string& stufe = "0",
                        const std::string& kontext1 = "", const std::string& tip1 = "0") {
  std::string s;
  for (const std::string& z : {wort, bedeutung, std::string(), kontext1, tip1, std::string(), std::string("0"),
                               wortart, deutsch, stufe})
    s += z + "\r\n";
  return s;
}

inline TVokabel vok(const std::string& wort, const std::string& bedeutung, int wortart = 0, bool deutsch = false,
                    int stufe = 0) {
  TVokabel v;
  v.Vokabel = wort;
  v.Bedeutung1 = bedeutung;
  v.Wortart = static_cast<std::uint8_t>(wortart);
  v.Deutsch = deutsch;
  v.Schwierigkeit = static_cast<std::uint8_t>(stufe);
  return v;
}

// Entries for `woerter`, each meaning "die <word>": enough where a test only lists or asks them.
inline std::vector<TVokabel> mitDie(std::initializer_list<const char*> woerter) {
  std::vector<TVokabel> v;
  for (const char* w : woerter) v.push_back(vok(w, std::string("die ") + w));
  return v;
}

}  // namespace vt
