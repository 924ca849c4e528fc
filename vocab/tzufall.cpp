// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tzufall.h"

#include "platform/codec.h"
#include "widgets/tokcancelrow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

TZufall::TZufall(QWidget* parent) : QDialog(parent) {
  setWindowTitle(zek::toQString("Zuf\xE4llig erzeugen"));
  setObjectName("TZufall");

  m_groesse = new QSlider(Qt::Horizontal, this);
  m_groesse->setObjectName(zek::toQString("Gr\xF6\xDF" "e der Bibliothek"));
  m_groesse->setRange(40, 800);
  m_groesse->setSingleStep(40);
  m_groesse->setPageStep(40);
  m_groesse->setTickInterval(40);
  m_groesse->setTickPosition(QSlider::TicksBelow);
  m_groesse->setValue(40);
  m_groesseZahl = new QLabel(this);
  m_groesseZahl->setMinimumWidth(32);
  m_groesseZahl->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  m_englisch = new QSlider(Qt::Horizontal, this);
  m_englisch->setObjectName("Englisch");
  m_englisch->setRange(0, 100);
  m_englisch->setPageStep(10);
  m_englisch->setTickInterval(10);
  m_englisch->setTickPosition(QSlider::TicksBelow);
  m_englisch->setValue(50);
  m_englischZahl = new QLabel(this);
  m_deutschZahl = new QLabel(this);

  m_redewendungen = new QCheckBox(zek::toQString("Redewendungen"), this);
  m_redewendungen->setChecked(true);
  m_sortieren = new QCheckBox(zek::toQString("Alphabetisch sortieren"), this);
  m_sortieren->setChecked(true);

  QHBoxLayout* knoepfe = okCancelRow(this);

  auto* grid = new QGridLayout;
  grid->addWidget(m_groesseZahl, 0, 0);
  grid->addWidget(new QLabel(zek::toQString("Gr\xF6\xDF" "e der Bibliothek"), this), 0, 1, 1, 2);
  grid->addWidget(m_groesse, 1, 0, 1, 3);
  grid->addWidget(m_englischZahl, 2, 0);
  grid->addWidget(new QLabel(zek::toQString("Englisch"), this), 2, 1);
  auto* deutsch = new QHBoxLayout;
  deutsch->addStretch(1);
  deutsch->addWidget(m_deutschZahl);
  deutsch->addWidget(new QLabel(zek::toQString("Deutsch"), this));
  grid->addLayout(deutsch, 2, 2);
  grid->addWidget(m_englisch, 3, 0, 1, 3);
  grid->addWidget(m_redewendungen, 4, 0, 1, 3);
  grid->addWidget(m_sortieren, 5, 0, 1, 3);
  grid->setColumnStretch(2, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addSpacing(8);
  layout->addLayout(knoepfe);
  setMinimumWidth(340);

  connect(m_groesse, &QSlider::valueChanged, this, [this] { anzeigen(); });
  connect(m_englisch, &QSlider::valueChanged, this, [this] { anzeigen(); });
  anzeigen();
}

void TZufall::anzeigen() {
  // The track bar moves in steps of 40 however it is dragged.
  const int v = (m_groesse->value() + 20) / 40 * 40;
  if (v != m_groesse->value()) {
    m_groesse->setValue(v);
    return;
  }
  m_groesseZahl->setText(QString::number(v));
  m_englischZahl->setText(QString::number(m_englisch->value()) + "%");
  m_deutschZahl->setText(QString::number(100 - m_englisch->value()) + "%");
}

TZufall::TWerte TZufall::Werte() const {
  return {m_groesse->value(), m_englisch->value(), m_redewendungen->isChecked(), m_sortieren->isChecked()};
}

std::optional<TZufall::TWerte> TZufall::fragen(QWidget* parent) {
  TZufall dlg(parent);
  if (dlg.exec() != QDialog::Accepted) return std::nullopt;
  return dlg.Werte();
}
