// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "memory/tfortschritt.h"

#include <QDialog>

#include <vector>

class QComboBox;
class TLernDatenbank;

// The window "Lernfortschritt": the charts of one part of the history (all trainers, or one
// trainer or collection, chosen above), and the export of the whole history as CSV.
class TLernfortschritt : public QDialog {
 public:
  TLernfortschritt(TLernDatenbank& db, QWidget* parent = nullptr);

  // Modal over `parent`.
  static void zeigen(TLernDatenbank& db, QWidget* parent);

  const TFortschritt& Fortschritt() const { return m_fortschritt; }
  void waehlen(int index);
  bool Exportieren();

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  TLernDatenbank& m_db;
  QComboBox* m_bereich = nullptr;
  std::vector<TLernFilter> m_filter;
  TFortschritt m_fortschritt;
};
