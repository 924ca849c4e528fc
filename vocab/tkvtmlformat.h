#pragma once

#include "vocab/tvokabelformat.h"

// KVTML 2.0 (QXmlStreamReader/QXmlStreamWriter), nesting bounded at 64. English and German
// are found by their locale, else the first two languages stand for them. The writer keeps
// the fields KVTML has no place for (second example, difficulty, tips) in an extra <zek>
// element other programs ignore; `titel` is the document's title.
class TKvtmlFormat : public TVokabelFormat {
 public:
  TImportErgebnis lesen(std::string_view daten, TAustauschRichtung richtung) const override;
  std::string schreiben(const std::vector<TVokabel>& eintraege, std::string_view titel) const override;
};
