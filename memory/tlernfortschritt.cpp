// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/tlernfortschritt.h"

#include "memory/lernuhr.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

constexpr int kBildOben = 44;
constexpr int kBildUnten = 52;

}  // namespace

TLernfortschritt::TLernfortschritt(TLernDatenbank& db, QWidget* parent) : QDialog(parent), m_db(db) {
  setWindowTitle(zek::toQString("zek englisch - Lernfortschritt"));
  setObjectName("Lernfortschritt");
  setFixedSize(780, 560);
  auto* text = new QLabel(zek::toQString("Bereich:"), this);
  text->setGeometry(12, 12, 60, 24);
  m_bereich = new QComboBox(this);
  m_bereich->setObjectName("Bereich");
  m_bereich->setToolTip(zek::toQString("Alle Trainer oder eine Bibliothek"));
  m_bereich->setGeometry(76, 12, 360, 24);
  m_filter.push_back({});
  const std::vector<TLernFilter> alle = m_db.sammlungen();
  for (TLernArt art : {TLernArt::Vokabel, TLernArt::Verb, TLernArt::Labor, TLernArt::Seite}) {
    std::vector<TLernFilter> teile;
    for (const TLernFilter& f : alle)
      if (f.art == art) teile.push_back(f);
    if (teile.empty()) continue;
    // A trainer with several collections gets its total first.
    if (teile.size() > 1) m_filter.push_back({art, {}});
    for (const TLernFilter& f : teile) m_filter.push_back(art == TLernArt::Vokabel || art == TLernArt::Seite ? f : TLernFilter{art, {}});
  }
  for (const TLernFilter& f : m_filter) m_bereich->addItem(zek::toQString(fortschrittsName(f)));
  connect(m_bereich, &QComboBox::currentIndexChanged, this, [this](int i) { waehlen(i); });

  auto* export_ = new QPushButton(zek::toQString("CSV exportieren..."), this);
  export_->setObjectName("CSV exportieren");
  export_->setToolTip(zek::toQString("Alle Antworten als Tabelle speichern"));
  export_->setGeometry(12, height() - 40, 160, 28);
  connect(export_, &QPushButton::clicked, this, [this] { Exportieren(); });
  auto* zu = new QPushButton(zek::toQString("Schlie\xDF" "en"), this);
  zu->setObjectName("Schliessen");
  zu->setGeometry(width() - 112, height() - 40, 100, 28);
  connect(zu, &QPushButton::clicked, this, &QDialog::accept);
  waehlen(0);
}

void TLernfortschritt::zeigen(TLernDatenbank& db, QWidget* parent) {
  TLernfortschritt fenster(db, parent);
  fenster.exec();
}

void TLernfortschritt::waehlen(int index) {
  if (index < 0 || index >= static_cast<int>(m_filter.size())) return;
  if (m_bereich->currentIndex() != index) m_bereich->setCurrentIndex(index);
  m_fortschritt = TFortschritt::laden(m_db, m_filter[std::size_t(index)], lernTagHeute());
  update();
}

bool TLernfortschritt::Exportieren() {
  TFileDialogRequest r;
  r.save = true;
  r.title = "Lernhistorie exportieren";
  r.fileName = "Lernhistorie.csv";
  r.filter = "CSV-Tabellen (*.csv)|*.csv";
  r.defaultExt = "csv";
  const auto ziel = askFileName(r);
  if (!ziel) return false;
  if (!m_db.exportiereCsv(zek::toPath(*ziel))) {
    showMessage("Die Datei " + *ziel + " konnte nicht geschrieben werden.", mb::Ok | mb::IconStop);
    return false;
  }
  return true;
}

void TLernfortschritt::paintEvent(QPaintEvent*) {
  QPainter p(this);
  fortschrittMalen(p, QRect(0, kBildOben, width(), height() - kBildOben - kBildUnten), m_fortschritt);
}
