// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vocab/tabfrageanzeige.h"

#include <QDialog>

#include <array>
#include <string>

class QLabel;
class QPushButton;

// One bar of the statistics chart, in the chart's pixels (base line at y 73).
struct TStatistikBalken {
  int top = 72;
  int hoehe = 1;
  std::string hinweis;  // "3 Vokabeln = 25%"
};

// The 16 bars: scaled so that the largest counter has its share of 65 pixels.
std::array<TStatistikBalken, 16> statistikBalken(const std::array<int, 16>& zaehler);

// "Auswertung": two gauges (this round, overall), three lines and the chart of right
// answers by pass and try. Modal; OK or Enter closes it.
class TVocAuswertung : public QDialog {
  Q_OBJECT
 public:
  explicit TVocAuswertung(const TAuswertung& daten, QWidget* parent = nullptr);

  // Shows it modally, centred on the screen.
  static void AuswertungZeigen(const TAuswertung& daten, QWidget* parent = nullptr);

  QPushButton* bOK() const { return m_ok; }

 private:
  QPushButton* m_ok = nullptr;
};
