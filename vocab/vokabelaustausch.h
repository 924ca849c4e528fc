#pragma once

#include "vocab/tvokabel.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TBibliothek;

// Exchange with other vocabulary programs: UTF-8 text tables (tab, comma or semicolon
// separated, quoted as in RFC 4180) and KVTML 2.0. Entries inside the program stay
// Windows-1252; a record whose text has no Windows-1252 code is skipped and reported,
// never stored with replacement characters.

enum class TAustauschFormat { Text, Kvtml };
enum class TAustauschRichtung { Automatisch, EnglischDeutsch, DeutschEnglisch };

constexpr std::size_t kAustauschGrenze = 64u << 20;  // larger files are refused unread

struct TAustauschMeldung {
  std::size_t zeile = 0;  // 1-based line of the record in the file (0: the file as a whole)
  std::string text;       // German, Windows-1252
};

struct TImportErgebnis {
  std::vector<TVokabel> eintraege;
  std::vector<TAustauschMeldung> uebersprungen;  // one per skipped record
  std::vector<TAustauschMeldung> hinweise;       // kept, but changed or partly ignored
  std::string fehler;  // German, Windows-1252: the file was refused as a whole; nothing to store
  bool ok() const { return fehler.empty(); }
};

TImportErgebnis importiereText(std::string_view utf8, TAustauschRichtung richtung = TAustauschRichtung::Automatisch);
TImportErgebnis importiereKvtml(std::string_view xml, TAustauschRichtung richtung = TAustauschRichtung::Automatisch);

// UTF-8 text: "#separator:tab", a header row, then one row per non-blank entry with every
// field of the entry, so that importing it again gives the same entries.
std::string exportiereText(const std::vector<TVokabel>& eintraege);
// KVTML 2.0 with an English and a German identifier; fields KVTML has no place for
// (second example, difficulty, tips) travel in an extra <zek> element other programs ignore.
std::string exportiereKvtml(const std::vector<TVokabel>& eintraege, std::string_view titel = {});

// 1-based numbers of the entries with a control character other than tab in a field: no
// exchange file carries them (XML cannot, and the text import leaves them out), so an
// export loses them and says so.
std::vector<std::size_t> eintraegeMitSteuerzeichen(const std::vector<TVokabel>& eintraege);
// The German note for them, empty when there are none.
std::string steuerzeichenHinweis(std::size_t anzahl);

// ".kvtml" (any case) is KVTML, everything else text.
TAustauschFormat formatFuerName(std::string_view name);

// File level, for the tool and the trainer's menu: size bound, reading, and atomic writing.
// `pfad` is a Windows-1252 name. Import replaces the library's entries only on success
// (ok() and at least one entry); the library keeps its own file name empty and is marked
// modified, so that saving asks for a name.
TImportErgebnis importiereDatei(const std::string& pfad, TAustauschFormat format, TAustauschRichtung richtung);
TImportErgebnis importiereInBibliothek(TBibliothek& bib, const std::string& pfad, TAustauschFormat format,
                                       TAustauschRichtung richtung);
// Empty on success, else the German reason; the target is untouched on failure.
std::string exportiereDatei(const std::vector<TVokabel>& eintraege, const std::string& pfad, TAustauschFormat format);
