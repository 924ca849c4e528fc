// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// One vocabulary entry. A plain value record: the library keeps its own copy of every entry.
struct TVokabel {
  std::string Vokabel;     // the asked word or phrase
  std::string Bedeutung1;  // first meanings, "; "-separated; the multiple-choice text
  std::string Bedeutung2;  // further meanings
  std::string Kontext1;    // example sentences; "[...]" or "(...)" marks the solution, "*" the word
  std::string Kontext2;
  bool Tip1 = false;       // offer Bedeutung1 as a tip in a context question from Kontext1
  bool Tip2 = false;
  std::uint8_t Wortart = 0;        // 0 noun .. 3 small word, 4 and 5 idioms
  bool Deutsch = false;            // Vokabel is German, the meanings English
  std::uint8_t Schwierigkeit = 0;  // 0 "Baby" .. 4 "Tödlich"

  // Blank: nothing to ask (the editor's empty line, or a gap).
  bool istLeer() const { return Vokabel.empty() || Bedeutung1.empty(); }
  bool operator==(const TVokabel&) const = default;
};

constexpr int kWortartAnzahl = 6;
constexpr int kSchwierigkeitAnzahl = 5;

// The fixed labels of a word class in each place it is shown (Windows-1252); "" for a
// value outside the table.
const char* wortartName(int wortart);     // editor list and question page: "Nomen"
const char* wortartKarte(int wortart);    // flash card: "kl. Wort"
const char* wortartListe(int wortart);    // printed list: "Adj."
const char* wortartAntwort(int wortart);  // answer page: "[Redewendung]"
const char* schwierigkeitName(int stufe); // "Baby" .. "Tödlich"
