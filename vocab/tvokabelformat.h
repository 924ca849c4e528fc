#pragma once

#include "vocab/tvokabel.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Exchange with other vocabulary programs: one reader and writer per file format, all over
// bytes in memory. Entries inside the program stay Windows-1252; a record whose text has no
// Windows-1252 code is skipped and reported, never stored with replacement characters.

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

class TVokabelFormat {
 public:
  virtual ~TVokabelFormat() = default;
  // The entries of a file's bytes. `richtung` Automatisch takes the direction the file states.
  virtual TImportErgebnis lesen(std::string_view daten, TAustauschRichtung richtung) const = 0;
  // The file of the entries, blank entries left out; `titel` where the format keeps one.
  virtual std::string schreiben(const std::vector<TVokabel>& eintraege, std::string_view titel) const = 0;
};

// The reader and writer of a format (they keep no state).
const TVokabelFormat& vokabelFormat(TAustauschFormat format);

// ".kvtml" (any case) is KVTML, everything else text.
TAustauschFormat formatFuerName(std::string_view name);
