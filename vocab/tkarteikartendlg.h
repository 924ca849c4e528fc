// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vocab/tkarteikarten.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;

// "Karteikarten drucken": the topic, all sheets or a range of them, and how far the back
// side is shifted.
class TKarteikartenDlg : public QDialog {
  Q_OBJECT
 public:
  TKarteikartenDlg(const TKartenWahl& wahl, int blaetter, QWidget* parent = nullptr);

  TKartenWahl Wahl() const;
  // Modal; false when the learner cancelled.
  static bool Fragen(TKartenWahl& wahl, int blaetter);

 private:
  void versatzAnzeigen();

  QLineEdit* m_thema = nullptr;
  QRadioButton* m_alle = nullptr;
  QRadioButton* m_bereich = nullptr;
  QComboBox* m_von = nullptr;
  QComboBox* m_bis = nullptr;
  QSlider* m_versatz = nullptr;
  QLabel* m_versatzText = nullptr;
  int m_blaetter = 1;
};
