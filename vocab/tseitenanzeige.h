// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vocab/tabfrageanzeige.h"

class TBibliothek;

// The quiz's display in the program: the page view attached to the library, and the
// evaluation window over it.
class TSeitenAnzeige : public TAbfrageAnzeige {
 public:
  explicit TSeitenAnzeige(TBibliothek& bibliothek) : m_bib(bibliothek) {}

  bool Bereit() const override;
  int Breite() const override;
  void SeiteZeigen(THTMLStream& markup) override;
  void DateiZeigen(const std::string& name) override;
  void AuswertungZeigen(const TAuswertung& auswertung) override;
  void NachrichtenVerarbeiten() override;
  std::string AufnahmeFuer(const std::string& wort, TWortSprache sprache) const override;
  std::string LetzteEingabe() const override;

 private:
  TBibliothek& m_bib;
};
