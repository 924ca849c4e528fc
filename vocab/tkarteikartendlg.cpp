// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tkarteikartendlg.h"

#include "platform/codec.h"
#include "widgets/tokcancelrow.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

TKarteikartenDlg::TKarteikartenDlg(const TKartenWahl& wahl, int blaetter, QWidget* parent)
    : QDialog(parent), m_blaetter(std::max(blaetter, 1)) {
  setWindowTitle("Karteikarten drucken");
  setObjectName("Karteikarten drucken");
  auto* haupt = new QVBoxLayout(this);

  auto* themaZeile = new QHBoxLayout;
  auto* themaLabel = new QLabel("Thema:", this);
  m_thema = new QLineEdit(zek::toQString(wahl.thema), this);
  m_thema->setObjectName("Thema");
  m_thema->setMaxLength(80);
  themaLabel->setBuddy(m_thema);
  themaZeile->addWidget(themaLabel);
  themaZeile->addWidget(m_thema, 1);
  haupt->addLayout(themaZeile);

  auto* seiten = new QGroupBox("Seiten", this);
  auto* raster = new QGridLayout(seiten);
  m_alle = new QRadioButton("Alle Seiten", seiten);
  m_bereich = new QRadioButton("Seite(n) von:", seiten);
  m_von = new QComboBox(seiten);
  m_von->setObjectName("von");
  m_bis = new QComboBox(seiten);
  m_bis->setObjectName("bis");
  for (int i = 1; i <= m_blaetter; ++i) {
    m_von->addItem(QString::number(i));
    m_bis->addItem(QString::number(i));
  }
  const bool alle = wahl.von <= 0 && wahl.bis >= m_blaetter - 1;
  m_von->setCurrentIndex(std::clamp(wahl.von, 0, m_blaetter - 1));
  m_bis->setCurrentIndex(std::clamp(wahl.bis, 0, m_blaetter - 1));
  (alle ? m_alle : m_bereich)->setChecked(true);
  raster->addWidget(m_alle, 0, 0, 1, 4);
  raster->addWidget(m_bereich, 1, 0);
  raster->addWidget(m_von, 1, 1);
  raster->addWidget(new QLabel("bis:", seiten), 1, 2);
  raster->addWidget(m_bis, 1, 3);
  // Choosing a sheet means choosing the range.
  for (QComboBox* liste : {m_von, m_bis})
    connect(liste, &QComboBox::activated, this, [this] { m_bereich->setChecked(true); });
  haupt->addWidget(seiten);

  auto* rueck = new QGroupBox(zek::toQString("R\xFC" "ckseite verschieben"), this);
  auto* rueckZeilen = new QVBoxLayout(rueck);
  auto* schieber = new QHBoxLayout;
  m_versatz = new QSlider(Qt::Horizontal, rueck);
  m_versatz->setObjectName(zek::toQString("R\xFC" "ckseite verschieben"));
  m_versatz->setRange(-40, 40);
  m_versatz->setValue(std::clamp(wahl.versatz, -40, 40));
  m_versatz->setTickPosition(QSlider::TicksBelow);
  m_versatz->setTickInterval(10);
  m_versatz->setPageStep(5);
  schieber->addWidget(new QLabel("Links", rueck));
  schieber->addWidget(m_versatz, 1);
  schieber->addWidget(new QLabel("Rechts", rueck));
  rueckZeilen->addLayout(schieber);
  m_versatzText = new QLabel(rueck);
  m_versatzText->setObjectName("Versatz");
  m_versatzText->setAlignment(Qt::AlignCenter);
  rueckZeilen->addWidget(m_versatzText);
  connect(m_versatz, &QSlider::valueChanged, this, [this] { versatzAnzeigen(); });
  versatzAnzeigen();
  haupt->addWidget(rueck);

  haupt->addLayout(okCancelRow(this, QStringLiteral("OK")));
  setFixedWidth(380);
}

void TKarteikartenDlg::versatzAnzeigen() {
  m_versatzText->setText(zek::toQString(versatzText(m_versatz->value())));
}

TKartenWahl TKarteikartenDlg::Wahl() const {
  TKartenWahl w;
  w.thema = zek::fromQString(m_thema->text());
  if (m_alle->isChecked()) {
    w.von = 0;
    w.bis = m_blaetter - 1;
  } else {
    w.von = std::min(m_von->currentIndex(), m_bis->currentIndex());
    w.bis = std::max(m_von->currentIndex(), m_bis->currentIndex());
  }
  w.versatz = m_versatz->value();
  return w;
}

bool TKarteikartenDlg::Fragen(TKartenWahl& wahl, int blaetter) {
  TKarteikartenDlg dlg(wahl, blaetter, QApplication::activeWindow());
  if (dlg.exec() != QDialog::Accepted) return false;
  wahl = dlg.Wahl();
  return true;
}
