// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tbinfo.h"

#include "platform/codec.h"
#include "vocab/bibliotheksinfo.h"
#include "vocab/tbibliothek.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <array>

namespace {

struct TZeile {
  const char* text;
  int wert;
};

// One language's column: a caption over label/number rows, the total set apart.
QGroupBox* spalte(const char* titel, const std::vector<TZeile>& zeilen, QWidget* parent) {
  auto* box = new QGroupBox(zek::toQString(titel), parent);
  auto* grid = new QGridLayout(box);
  int r = 0;
  for (const TZeile& z : zeilen) {
    auto* name = new QLabel(zek::toQString(z.text), box);
    auto* zahl = new QLabel(QString::number(z.wert), box);
    zahl->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    zahl->setMinimumWidth(40);
    grid->addWidget(name, r, 0);
    grid->addWidget(zahl, r, 1);
    ++r;
  }
  grid->setRowStretch(r, 1);
  return box;
}

}  // namespace

TBInfo::TBInfo(const TBibliothek& bib, QWidget* parent) : QDialog(parent) {
  setWindowTitle(zek::toQString("Infos zur Bibliothek"));
  setObjectName("TBInfo");
  const TBibliotheksInfo info = zaehleBibliothek(bib.Eintraege());
  const char* const titel[] = {"Englisch-Deutsch", "Deutsch-Englisch"};
  const char* const wortarten[] = {"Nomen:", "Verben:", "Adjektive:", "Kleine W\xF6rter:", "Redew. mit Verb:",
                                   "Redew. ohne Verb:"};
  const char* const stufen[] = {"Baby:", "Leicht:", "Mittel:", "Schwierig:", "T\xF6" "dlich:"};

  auto* tabs = new QTabWidget(this);
  auto* seite1 = new QWidget(tabs);
  auto* seite2 = new QWidget(tabs);
  auto* reihe1 = new QHBoxLayout(seite1);
  auto* reihe2 = new QHBoxLayout(seite2);
  for (std::size_t s = 0; s < 2; ++s) {
    std::vector<TZeile> a, b;
    for (int i = 0; i < kWortartAnzahl; ++i) a.push_back({wortarten[i], info.wortart[s][static_cast<std::size_t>(i)]});
    a.push_back({"Vokabeln gesamt:", info.gesamt[s]});
    a.push_back({"davon mit Kontext(en):", info.mitKontext[s]});
    for (int i = 0; i < kSchwierigkeitAnzahl; ++i) b.push_back({stufen[i], info.stufe[s][static_cast<std::size_t>(i)]});
    b.push_back({"Vokabeln gesamt:", info.gesamt[s]});
    reihe1->addWidget(spalte(titel[s], a, seite1));
    reihe2->addWidget(spalte(titel[s], b, seite2));
  }
  tabs->addTab(seite1, zek::toQString("Wortarten"));
  tabs->addTab(seite2, zek::toQString("Schwierigkeitsgrade"));

  auto* ok = new QPushButton(zek::toQString("&OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  auto* knoepfe = new QHBoxLayout;
  knoepfe->addStretch(1);
  knoepfe->addWidget(ok);
  layout->addLayout(knoepfe);
}

void TBInfo::zeigen(const TBibliothek& bib, QWidget* parent) {
  TBInfo dlg(bib, parent);
  dlg.exec();
}
