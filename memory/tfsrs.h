// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

// The four ratings of the scheduler, in its own numbering.
enum class TBewertung { Nochmal = 1, Schwer = 2, Gut = 3, Leicht = 4 };

// How our answers become ratings: wrong is "again", right after more than one try "hard",
// right at the first try "good". "Easy" is never given: an answer carries no reliable sign of
// ease (typing speed depends on the word's length and the keyboard, a picked choice is
// recognition rather than recall).
TBewertung bewertungFuer(bool richtig, int versuche);

// The memory state of one entry, counted in whole days (day numbers from 1970-01-01).
struct TFsrsZustand {
  double stabilitaet = 0;    // days until recall falls to 90 %
  double schwierigkeit = 0;  // 1..10
  int letzterTag = 0;        // day of the last answer
  int faellig = 0;           // day the entry is due again
  int wiederholungen = 0;    // answers so far
  int fehler = 0;            // wrong answers after the first
  bool neu() const { return wiederholungen == 0; }
};

// The spaced-repetition scheduler: difficulty, stability and retrievability after each
// rating, with the 21 published default weights of its sixth version. Reviews on the same
// day use the short-term stability formula; intervals are whole days, at least one.
class TFsrs {
 public:
  static constexpr std::array<double, 21> kStandardGewichte = {
      0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001,  1.8722, 0.1666, 0.796,
      1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};
  static constexpr int kHoechstesIntervall = 36500;

  explicit TFsrs(double behalten = 0.9, const std::array<double, 21>& w = kStandardGewichte);

  double behalten() const { return m_behalten; }
  void setBehalten(double behalten);

  // The state after a rating given on `heute`.
  TFsrsZustand bewerten(const TFsrsZustand& z, TBewertung g, int heute) const;

  // Recall probability after `tage` days at stability s.
  double abrufbarkeit(double tage, double s) const;
  // Days until recall falls to the desired retention (not rounded).
  double intervall(double s) const;

  double anfangsStabilitaet(TBewertung g) const;
  double anfangsSchwierigkeit(TBewertung g) const;
  double naechsteSchwierigkeit(double d, TBewertung g) const;
  double stabilitaetNachErinnern(double d, double s, double r, TBewertung g) const;
  double stabilitaetNachVergessen(double d, double s, double r) const;
  double stabilitaetAmSelbenTag(double s, TBewertung g) const;

 private:
  std::array<double, 21> m_w;
  double m_behalten;
  double m_zerfall;  // -w20
  double m_faktor;   // 0.9^(1/zerfall) - 1
};
