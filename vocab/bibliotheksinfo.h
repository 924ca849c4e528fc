// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vocab/tvokabel.h"

#include <QString>

#include <array>
#include <string>
#include <vector>

class QFontMetrics;

// What the library information shows, per language of the entry: [0] English-German
// (Deutsch false), [1] German-English.
struct TBibliotheksInfo {
  std::array<std::array<int, kWortartAnzahl>, 2> wortart{};
  std::array<std::array<int, kSchwierigkeitAnzahl>, 2> stufe{};
  std::array<int, 2> gesamt{};
  std::array<int, 2> mitKontext{};
};

// Counts every entry with something to ask (blank records and the editor's new line are
// not vocabulary); a word class or difficulty outside the tables counts only in the totals.
TBibliotheksInfo zaehleBibliothek(const std::vector<TVokabel>& eintraege);

// The library index behind each item of the options' entry and range lists: one per
// non-blank entry, so that a gap in the file does not shift the quiz range.
std::vector<int> listenIndizes(const std::vector<TVokabel>& eintraege);

// Bounds of "Vokabeln pro Runde" in random order for n listed entries.
constexpr int kProRundeMinimum = 5;
int proRundeMaximum(int n);

// The library's name for a label `breite` pixels wide: the display name when it fits, else
// as much of it as shows the file's own name ("…/Lektion 12.asc", elided in its middle
// when even that is too wide).
QString namensZeile(const std::string& anzeigeName, const QFontMetrics& fm, int breite);
