#pragma once

#include "vocab/tvokabelformat.h"

// UTF-8 text tables: tab, comma or semicolon separated (detected, or named by a
// "#separator:" line), quoted as in RFC 4180, lone CRs as line ends, and an optional header
// row naming a word and a meaning column or two languages. The writer puts every field of
// an entry in a row under a header, so that reading it again gives the same entries.
class TTextFormat : public TVokabelFormat {
 public:
  TImportErgebnis lesen(std::string_view daten, TAustauschRichtung richtung) const override;
  std::string schreiben(const std::vector<TVokabel>& eintraege, std::string_view titel) const override;
};
