// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/tsatzliste.h"

#include "widgets/answercheck.h"

#include <algorithm>
#include <cctype>

namespace {
std::string item(const std::vector<std::string>& items, std::size_t i, bool cut) {
  if (i >= items.size()) return {};
  return cut ? items[i].substr(0, kLabMaxSatzLaenge) : items[i];
}
}  // namespace

TSatz TSatzListe::ausEintraegen(const std::vector<std::string>& items) {
  TSatz s;
  s.englisch = item(items, 0, true);
  if (s.englisch.empty()) s.englisch = "FEHLER!";
  s.loesung2 = item(items, 1, true);
  s.hinweis = item(items, 2, true);
  if (s.hinweis.empty()) s.hinweis = answercheck::helpMask(s.englisch);  // the same mask the quiz uses
  s.deutsch = item(items, 3, true);
  s.datei = item(items, 4, false);
  return s;
}

int TSatz::nummer() const {
  const std::size_t at = datei.rfind("lab_");
  if (at == std::string::npos || at + 8 > datei.size()) return -1;
  const std::string digits = datei.substr(at + 4, 4);
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
    return -1;
  return std::stoi(digits);
}

std::vector<std::string> TSatz::loesungen() const {
  std::vector<std::string> out{englisch};
  const auto dazu = [&out](const std::string& s) {
    if (!s.empty() && std::find(out.begin(), out.end(), s) == out.end()) out.push_back(s);
  };
  dazu(loesung2);
  for (const std::string& v : varianten) dazu(v);
  return out;
}
