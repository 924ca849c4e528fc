// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/trundenbilanz.h"

#include <algorithm>

void TRundenBilanz::zaehlen(const std::string& frage, bool r) {
  if (r) {
    ++richtig;
    return;
  }
  ++falsch;
  if (std::find(falsche.begin(), falsche.end(), frage) == falsche.end()) falsche.push_back(frage);
}

int lernProzent(int richtig, int antworten) {
  if (antworten <= 0) return -1;
  return static_cast<int>((static_cast<long long>(richtig) * 200 + antworten) / (2LL * antworten));
}

std::vector<std::string> rundenBilanzZeilen(const TRundenBilanz& b, const std::string& was) {
  std::vector<std::string> z;
  if (b.leer()) return z;
  z.push_back(was + ": " + std::to_string(b.richtig) + " richtig, " + std::to_string(b.falsch) + " falsch");
  if (!b.falsche.empty()) {
    std::string s = "Falsch: ";
    const std::size_t n = std::min(b.falsche.size(), TRundenBilanz::kFalscheHoechstens);
    for (std::size_t i = 0; i < n; ++i) s += (i ? "; " : "") + b.falsche[i];
    if (b.falsche.size() > n) s += " und " + std::to_string(b.falsche.size() - n) + " weitere";
    z.push_back(s);
  } else {
    z.push_back("Alles richtig!");
  }
  const int p7 = lernProzent(b.trend.richtig7, b.trend.antworten7);
  const int p30 = lernProzent(b.trend.richtig30, b.trend.antworten30);
  // Both spans hold this round; a trend needs answers from before it.
  if (b.trend.antworten30 > b.richtig + b.falsch) {
    std::string s = "Verlauf: letzte 7 Tage " + std::to_string(p7) + " % richtig";
    if (b.trend.antworten30 > b.trend.antworten7) s += ", letzte 30 Tage " + std::to_string(p30) + " %";
    z.push_back(s);
  } else {
    z.push_back("Verlauf: Ihre ersten Antworten seit 30 Tagen");
  }
  return z;
}

std::string rundenBilanzText(const TRundenBilanz& b, const std::string& trenner, const std::string& was) {
  std::string s;
  for (const std::string& z : rundenBilanzZeilen(b, was)) s += (s.empty() ? "" : trenner) + z;
  return s;
}
