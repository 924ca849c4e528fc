// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vocab/vokabeldatei.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The checker behind "zek-tool lib-check": reads a library file as the trainer does, goes
// on after broken records, and finds what loads but would be wrong or would not survive
// a save unchanged.
struct TPruefMeldung {
  std::size_t zeile = 0;  // 1-based; 0 for the file as a whole
  std::string text;       // English, UTF-8
};

struct TPruefBericht {
  // The counts are of what the trainer loads: it stops at the first broken record.
  std::size_t eintraege = 0;
  std::size_t nichtGeladen = 0;  // good records after the first broken one (only checked)
  std::array<std::size_t, kWortartAnzahl + 1> proWortart{};              // last: outside the table
  std::array<std::size_t, kSchwierigkeitAnzahl + 1> proSchwierigkeit{};  // last: outside the table
  std::size_t englischDeutsch = 0;  // Deutsch false
  std::size_t deutschEnglisch = 0;
  std::size_t mitKontext = 0;
  std::vector<TPruefMeldung> fehler;    // records that fail to load
  std::vector<TPruefMeldung> warnungen;
};

// `daten` is Windows-1252. `quelleUtf8` marks a UTF-8 LF source: then `daten` is its
// converted text and `unkodierbar` lists lines that had characters without a code.
TPruefBericht pruefeBibliothek(std::string_view daten, bool quelleUtf8 = false,
                               const std::vector<std::size_t>& unkodierbar = {});
