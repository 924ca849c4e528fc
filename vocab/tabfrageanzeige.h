// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/tspeech.h"

#include <array>
#include <string>
#include <vector>

class THTMLStream;

// What the evaluation window shows: two bar values (the overall one -1 to hide it), three
// lines and the 16 statistics counters.
struct TAuswertung {
  int runde = 0;
  int gesamt = -1;
  std::string titel, zeile2, zeile3;  // Windows-1252
  std::array<int, 16> statistik{};
  std::vector<std::string> lernBilanz;  // the learning memory's lines at a round's end, else none
};

// Where the quiz shows its pages and evaluations. The program's one is the main window's
// page view; tests record instead.
class TAbfrageAnzeige {
 public:
  virtual ~TAbfrageAnzeige() = default;

  // False while no page view is attached: the quiz then shows nothing.
  virtual bool Bereit() const = 0;
  virtual int Breite() const = 0;  // page width in pixels
  virtual void SeiteZeigen(THTMLStream& markup) = 0;
  // A page of the page directory ("vokabeln.htx").
  virtual void DateiZeigen(const std::string& name) = 0;
  // Modal; returns when the learner closed it.
  virtual void AuswertungZeigen(const TAuswertung& auswertung) = 0;
  virtual void NachrichtenVerarbeiten() {}
  // The file that speaks a word or meaning: its recording, or for English without one the
  // file the run-time voice is writing now; "" when there is none.
  virtual std::string AufnahmeFuer(const std::string& wort, TWortSprache sprache) const = 0;
  // What the learner last typed into the shown page's answer field ("" without one).
  virtual std::string LetzteEingabe() const { return {}; }
};
