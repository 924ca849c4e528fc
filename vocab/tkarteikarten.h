// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vocab/tvokabel.h"

#include <functional>
#include <string>
#include <vector>

class TBibliothek;
class TPrintSurface;

// What the learner chose in "Karteikarten drucken".
struct TKartenWahl {
  std::string thema;  // printed on every front
  int von = 0;        // first and last sheet, 0-based
  int bis = 0;
  int versatz = 0;    // back side shift in 0.1 mm, -40..40
};

constexpr int kKartenProBlatt = 21;  // 7 rows of 3
int kartenBlaetter(int karten);

// The offset as its label shows it: "-1,5 mm".
std::string versatzText(int versatz);

// One pass of the flash cards onto the surface: each selected sheet one page with its
// dashed cutting grid. The back is mirrored (card k in column 2 - k mod 3) and shifted.
// Returns the number of cards printed.
int KartenVorderseiten(TPrintSurface& flaeche, const std::vector<TVokabel>& karten, const TKartenWahl& wahl);
int KartenRueckseiten(TPrintSurface& flaeche, const std::vector<TVokabel>& karten, const TKartenWahl& wahl);

// The non-blank entries of the library, in order: the cards.
std::vector<TVokabel> kartenDerBibliothek(const TBibliothek& bib);

// Prints the library as flash cards: the dialog, then the fronts and, after the paper is
// turned, the backs. Every way out clears Druckt; failures are told to the learner.
void KarteikartenDrucken(TBibliothek& bib);

// The dialog; tests and the driver answer instead (nullptr restores it). False: cancelled.
using TKartenDialog = std::function<bool(TKartenWahl& wahl, int blaetter)>;
void setKartenDialog(TKartenDialog dialog);
