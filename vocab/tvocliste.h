// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vocab/tvokabel.h"

#include <string>
#include <vector>

class TBibliothek;
class TPrintSurface;

// The layout of one entry in the printed list.
struct TPrintVoc {
  int index = 0;                     // library index (printed as index + 1)
  std::vector<std::string> wort;     // wrapped Vokabel, at most 3 lines
  std::vector<std::string> bedeutung;  // wrapped meanings, at most 5 lines
  std::vector<std::string> satz1;    // wrapped Kontext1, at most 5 lines
  std::vector<std::string> satz2;
  int hoehe = 0;        // printed lines the entry takes
  int ersteZeile = 0;   // its first line on the page
  int etikettX = 0;     // right after the last word line
  int etikettY = 0;     // the y of the last word line
};

struct TListenDruck {
  int seiten = 0;
  int eintraege = 0;
};

// The non-blank entries of `eintraege` as a numbered list headed by `name` on pages of the
// surface. An entry taller than a page is printed alone on one, cut at its foot.
TListenDruck ListeSetzen(TPrintSurface& flaeche, const std::vector<TVokabel>& eintraege, const std::string& name);

// Prints the library as a list; messages for an empty library and for print failures.
void ListeDrucken(TBibliothek& bib);
