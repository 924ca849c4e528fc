// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vocab/tvokabel.h"

#include <string>
#include <vector>

class TZIPResource;

// The built-in pool (block 3, up to 600 English entries, and each of them the other way
// round as a German entry) from which the quiz draws wrong answers when the learner's
// library is too small. Read once, never changed.
class TRes {
 public:
  static constexpr int kGroesse = 600;

  TRes();                                 // block 3 of the program
  explicit TRes(TZIPResource& block);     // any block (tests)

  int Anzahl() const { return static_cast<int>(m_eintraege.size()); }
  const TVokabel& Eintrag(int index) const { return m_eintraege.at(static_cast<std::size_t>(index)); }
  const std::vector<TVokabel>& Eintraege() const { return m_eintraege; }

 private:
  void lesen(TZIPResource& block);
  void deutscheAnhaengen();
  std::vector<TVokabel> m_eintraege;
};
