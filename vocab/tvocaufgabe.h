// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vocab/tvokabel.h"

#include <array>

// One question slot of a quiz.
struct TVocAufgabe {
  TVokabel Frage;                  // blank for an empty slot
  std::array<TVokabel, 6> Auswahl; // 0: a copy of Frage; 1..5 wrong answers (blank where none was found)
  // 0 when chosen, +1 at each wrong answer, -1 when solved. Random rounds: the pass in which
  // the question is still pending; it also selects the statistics group of a right answer.
  int Durchgang = 0;

  bool istLeer() const { return Frage.istLeer(); }
};
