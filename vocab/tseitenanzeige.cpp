// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tseitenanzeige.h"

#include "media/tspeech.h"
#include "page/txpage.h"
#include "widgets/txcoloredit.h"
#include "platform/appstate.h"
#include "vocab/tbibliothek.h"
#include "vocab/tvocauswertung.h"

#include <QCoreApplication>

bool TSeitenAnzeige::Bereit() const { return m_bib.Seite() != nullptr; }

int TSeitenAnzeige::Breite() const { return m_bib.Seite() ? m_bib.Seite()->width() : 800; }

void TSeitenAnzeige::SeiteZeigen(THTMLStream& markup) {
  if (TXPage* seite = m_bib.Seite()) seite->ShowStream(&markup);
}

void TSeitenAnzeige::DateiZeigen(const std::string& name) {
  if (TXPage* seite = m_bib.Seite()) seite->setXFile(Dirs().PageBase + "hzek/" + name);
}

void TSeitenAnzeige::AuswertungZeigen(const TAuswertung& auswertung) {
  TXPage* seite = m_bib.Seite();
  TVocAuswertung::AuswertungZeigen(auswertung, seite ? seite->window() : nullptr);
}

void TSeitenAnzeige::NachrichtenVerarbeiten() { QCoreApplication::processEvents(); }

std::string TSeitenAnzeige::AufnahmeFuer(const std::string& wort, TWortSprache sprache) const {
  return spokenFileFor(wort, sprache);
}

std::string TSeitenAnzeige::LetzteEingabe() const {
  const TXPage* seite = m_bib.Seite();
  if (!seite || seite->Fields().empty()) return {};
  return seite->Fields().front()->Text();
}
