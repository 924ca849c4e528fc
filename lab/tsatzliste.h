// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One sentence of the language lab, Windows-1252 texts.
struct TSatz {
  std::string englisch;   // main solution, never empty ("FEHLER!" stands in)
  std::string loesung2;   // second accepted solution or ""
  std::string hinweis;    // letter-pattern hint shown in the input field
  std::string deutsch;    // the German sentence the learner translates
  std::string datei;      // sound file below the lab's sound directory, "0\lab_0000.wav"
  std::vector<std::string> varianten;  // further translations a teacher accepts (block 4)

  // The sentence's number, from its sound file "lab_NNNN" (-1 without one).
  int nummer() const;
  // Main solution, second solution and variants, in that order, each once.
  std::vector<std::string> loesungen() const;
};

// The sentences of one topic, in table order.
class TSatzListe {
 public:
  // Builds a record from its five raw items and applies the rules for empty and over-long
  // items. `items` may be shorter than five; missing items count as empty.
  static TSatz ausEintraegen(const std::vector<std::string>& items);

  void add(TSatz satz) { m_saetze.push_back(std::move(satz)); }
  std::size_t size() const { return m_saetze.size(); }
  bool empty() const { return m_saetze.empty(); }
  const TSatz& operator[](std::size_t i) const { return m_saetze[i]; }
  auto begin() const { return m_saetze.begin(); }
  auto end() const { return m_saetze.end(); }
  auto begin() { return m_saetze.begin(); }
  auto end() { return m_saetze.end(); }

 private:
  std::vector<TSatz> m_saetze;
};

// Texts of the first four items are kept to this many characters.
constexpr std::size_t kLabMaxSatzLaenge = 100;
