// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// How a trainer went lately: answers and right ones over the last 7 and 30 days (today included).
struct TLernTrend {
  int antworten7 = 0, richtig7 = 0;
  int antworten30 = 0, richtig30 = 0;
};

// The end of a round as the memory saw it: this round's answers beside the trend.
struct TRundenBilanz {
  static constexpr std::size_t kFalscheHoechstens = 3;  // wrong ones named; the rest counted

  int richtig = 0, falsch = 0;
  std::vector<std::string> falsche;  // what was answered wrong, each once, in order (Windows-1252)
  TLernTrend trend;

  void zaehlen(const std::string& frage, bool richtig);
  bool leer() const { return richtig + falsch == 0; }
};

// Percent of `richtig` in `antworten`, rounded; -1 without answers.
int lernProzent(int richtig, int antworten);

// The block a round's end shows, one line each (Windows-1252, German):
//   "Diese Runde: 5 richtig, 1 falsch"   (`was`: "Diese Runde", "Diese Seite", "Diese Sitzung")
//   "Falsch: pear = die Birne"
//   "Verlauf: letzte 7 Tage 83 % richtig, letzte 30 Tage 78 %"
// Empty for an empty round.
std::vector<std::string> rundenBilanzZeilen(const TRundenBilanz& b, const std::string& was = "Diese Runde");
// The lines joined with `trenner`.
std::string rundenBilanzText(const TRundenBilanz& b, const std::string& trenner, const std::string& was = "Diese Runde");
