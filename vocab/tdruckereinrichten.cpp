// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tdruckereinrichten.h"

#include "platform/codec.h"
#include "widgets/tokcancelrow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

TDruckerEinrichten::TDruckerEinrichten(std::vector<std::string> drucker, const TPrinterSetup& jetzt,
                                       std::string pdfOrdner, QWidget* parent)
    : QDialog(parent), m_namen(std::move(drucker)), m_ordner(std::move(pdfOrdner)) {
  setWindowTitle(Q("Drucker einrichten"));
  setObjectName("TDruckerEinrichten");

  m_drucker = new QComboBox(this);
  m_drucker->setObjectName("Drucker");
  m_drucker->setToolTip(Q("Hierhin gehen die Ausdrucke"));
  for (std::size_t i = 0; i < m_namen.size(); ++i)
    m_drucker->addItem(zek::toQString(m_namen[i]) + (i == 0 ? Q(" (Standard)") : QString()));
  m_drucker->addItem(Q("PDF-Datei"));
  int wahl = 0;
  if (jetzt.pdf || m_namen.empty()) {
    wahl = static_cast<int>(m_namen.size());
  } else {
    for (std::size_t i = 0; i < m_namen.size(); ++i)
      if (m_namen[i] == jetzt.printer) wahl = static_cast<int>(i);
  }
  m_drucker->setCurrentIndex(wahl);

  m_papier = new QComboBox(this);
  m_papier->setObjectName("Papier");
  m_papier->setToolTip(Q("Papierformat des Druckers"));
  m_papier->addItem(Q("A4 (210 × 297 mm)"));
  m_papier->addItem(Q("Letter (216 × 279 mm)"));
  m_papier->setCurrentIndex(jetzt.letter ? 1 : 0);

  m_hinweis = new QLabel(this);
  m_hinweis->setObjectName("Hinweis");
  m_hinweis->setWordWrap(true);
  m_hinweis->setMinimumHeight(64);
  m_hinweis->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  QHBoxLayout* knoepfe = okCancelRow(this);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(Q("Drucker:"), this), 0, 0);
  grid->addWidget(m_drucker, 0, 1);
  grid->addWidget(new QLabel(Q("Papier:"), this), 1, 0);
  grid->addWidget(m_papier, 1, 1);
  grid->setColumnStretch(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addSpacing(6);
  layout->addWidget(m_hinweis);
  layout->addSpacing(6);
  layout->addLayout(knoepfe);
  setMinimumWidth(420);

  connect(m_drucker, &QComboBox::currentIndexChanged, this, [this] { anzeigen(); });
  anzeigen();
}

void TDruckerEinrichten::anzeigen() {
  const bool pdf = m_drucker->currentIndex() >= static_cast<int>(m_namen.size());
  // A PDF is always A4: the flash-card grid needs its height.
  m_papier->setEnabled(!pdf);
  if (pdf) m_papier->setCurrentIndex(0);
  QString text;
  if (!m_ordner.empty()) {
    text = Q("Alle Ausdrucke werden ohne Nachfrage als PDF-Dateien (A4) im Ordner \"") + zek::toQString(m_ordner) +
           Q("\" abgelegt.");
  } else if (m_namen.empty()) {
    text = Q("Es ist kein Drucker eingerichtet. Ausdrucke werden deshalb als PDF-Dateien (A4) gespeichert; "
             "beim Drucken fragt das Programm nach dem Dateinamen.");
  } else if (pdf) {
    text = Q("Ausdrucke werden als PDF-Dateien (A4) gespeichert; beim Drucken fragt das Programm nach dem "
             "Dateinamen.");
  } else {
    text = Q("Ausdrucke gehen an den Drucker \"") + zek::toQString(m_namen[static_cast<std::size_t>(
                                                         m_drucker->currentIndex())]) +
           Q("\". Die Karteikarten brauchen A4: auf Letter fehlt die unterste Reihe.");
  }
  m_hinweis->setText(text);
}

QString TDruckerEinrichten::Hinweis() const { return m_hinweis->text(); }

TPrinterSetup TDruckerEinrichten::Wahl() const {
  TPrinterSetup s;
  const int i = m_drucker->currentIndex();
  s.pdf = i >= static_cast<int>(m_namen.size());
  if (!s.pdf && i > 0) s.printer = m_namen[static_cast<std::size_t>(i)];  // 0: the default, whichever it is then
  s.letter = !s.pdf && m_papier->currentIndex() == 1;
  return s;
}

void TDruckerEinrichten::einrichten(QWidget* parent) {
  TDruckerEinrichten dlg(availablePrinterNames(), printerSetup(), printDirectory(), parent);
  if (dlg.exec() == QDialog::Accepted) setPrinterSetup(dlg.Wahl());
}
