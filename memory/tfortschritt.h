// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "memory/tlerndatenbank.h"

#include <string>
#include <vector>

class QPainter;
class QRect;

// What the progress window shows for one part of the history: answers of the last 30 days,
// entries by state, and the due forecast of the next 14 days.
struct TFortschritt {
  static constexpr int kTage = 30;
  static constexpr int kPrognose = 14;

  int heute = 0;
  std::vector<TTagesZahl> tage;  // kTage days ending today
  TZustandsZahl zustand;
  std::vector<int> prognose;     // kPrognose days from today (overdue counted today)

  static TFortschritt laden(TLernDatenbank& db, const TLernFilter& f, int heute);
  int antworten() const;
  int richtig() const;
  // Percent right over the 30 days; -1 without answers.
  int anteilRichtig() const;
};

// A learner's name for a part of the history: "Alle Trainer", "Vokabeln: Obst.asc", "Verben".
std::string fortschrittsName(const TLernFilter& f);

// Draws the four charts into `r` (the progress window's picture, also used by tests).
void fortschrittMalen(QPainter& p, const QRect& r, const TFortschritt& f);
