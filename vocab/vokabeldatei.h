// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vocab/tvokabel.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The library file layout: ten lines per entry, no header, no trailer; read from and
// written to memory so that the trainer, the checker and the tests share one reader.

constexpr std::size_t kZeilenGrenze = 64 * 1024;  // longer lines are refused, not buffered

enum class TLeseFehlerArt {
  DateiEnde,    // the data ends inside a record
  KeineZahl,    // line 8 or 10 is not a decimal integer
  ZeileZuLang,  // a line beyond kZeilenGrenze
};

struct TLeseFehler {
  TLeseFehlerArt art = TLeseFehlerArt::DateiEnde;
  std::size_t satzZeile = 0;  // first line of the failed record (1-based)
  std::size_t zeile = 0;      // the line that failed (1-based)
  int feld = -1;              // 0..9: the field of that line; -1 past the end of the data
};

// Lines of one record as they stand in the data (for the checker).
struct TSatzRoh {
  std::size_t ersteZeile = 0;  // 1-based
  bool wavZeile = false;       // a ".wav" line 2 was skipped
  std::array<std::string_view, 10> zeilen;
};

struct TLeseOptionen {
  bool wavRegel = true;   // a line 2 beginning with ".wav" is skipped
  bool trimmen = true;    // lines 1 to 3 lose control characters and blanks at both ends
  bool weiterNachFehler = false;  // checker: after a failed record resume at the next plausible one
  bool rohZeilen = false;         // fill TLeseErgebnis::roh
};

struct TLeseErgebnis {
  std::vector<TVokabel> eintraege;
  std::vector<TLeseFehler> fehler;  // without weiterNachFehler at most one, and reading stopped there
  std::vector<TSatzRoh> roh;        // parallel to eintraege when asked for; views into the data
};

// Lines end at LF; a CR right before the LF belongs to the line end. A last line without
// an end still counts. A lone CR stays inside its line.
class TZeilenLeser {
 public:
  explicit TZeilenLeser(std::string_view daten, std::size_t pos = 0, std::size_t zeile = 0)
      : m_daten(daten), m_pos(pos), m_zeile(zeile) {}

  bool amEnde() const { return m_pos >= m_daten.size(); }
  // The next line, or nothing at the end of the data or for a line beyond kZeilenGrenze.
  std::optional<std::string_view> naechste(TLeseFehlerArt& fehler);
  std::size_t zeile() const { return m_zeile; }  // 1-based number of the line read last
  std::size_t position() const { return m_pos; }

 private:
  std::string_view m_daten;
  std::size_t m_pos;
  std::size_t m_zeile;
};

TLeseErgebnis liesVokabeln(std::string_view daten, const TLeseOptionen& optionen = {});

// Fills an entry from its ten lines; on failure the index (0..9) of the line that is not a number.
std::optional<int> vokabelAusZeilen(const std::array<std::string_view, 10>& zeilen, bool trimmen, TVokabel& v);

// Entries [0, anzahl) in the file layout, CR LF line ends, booleans "-1"/"0".
std::string schreibeVokabeln(const std::vector<TVokabel>& eintraege, std::size_t anzahl);
inline std::string schreibeVokabeln(const std::vector<TVokabel>& eintraege) {
  return schreibeVokabeln(eintraege, eintraege.size());
}

// Decimal integer as the reader takes it: blanks around it allowed, an optional sign, 32-bit range.
std::optional<int> leseZahl(std::string_view text);
// Removes characters with codes 0 to 32 at both ends.
std::string_view trimmeSteuerzeichen(std::string_view text);
