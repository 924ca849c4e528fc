#pragma once

#include "vocab/tvokabelformat.h"

#include <cstddef>
#include <string>
#include <vector>

class TBibliothek;

// Exchange files as the tool and the trainer's menu use them; the formats themselves are
// vokabelFormat()'s readers and writers (tvokabelformat.h).

// 1-based numbers of the entries with a control character other than tab in a field: no
// exchange file carries them (XML cannot, and the text import leaves them out), so an
// export loses them and says so.
std::vector<std::size_t> eintraegeMitSteuerzeichen(const std::vector<TVokabel>& eintraege);
// The German note for them, empty when there are none.
std::string steuerzeichenHinweis(std::size_t anzahl);

// File level: size bound, reading, and atomic writing. `pfad` is a Windows-1252 name.
// Import replaces the library's entries only on success (ok() and at least one entry); the
// library keeps its own file name empty and is marked modified, so that saving asks for a name.
TImportErgebnis importiereDatei(const std::string& pfad, TAustauschFormat format, TAustauschRichtung richtung);
TImportErgebnis importiereInBibliothek(TBibliothek& bib, const std::string& pfad, TAustauschFormat format,
                                       TAustauschRichtung richtung);
// Empty on success, else the German reason; the target is untouched on failure.
std::string exportiereDatei(const std::vector<TVokabel>& eintraege, const std::string& pfad, TAustauschFormat format);
