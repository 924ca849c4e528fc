// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/tstimmkurve.h"

#include <QWidget>

class QPainter;

// The model's voice above the learner's: each as its waveform (grey) with its pitch contour
// (a line on a log scale from 60 to 450 Hz) on one time axis, the longer take filling the width.
class TStimmBild : public QWidget {
  Q_OBJECT
 public:
  explicit TStimmBild(QWidget* parent = nullptr);
  void setKurven(TStimmKurve modell, TStimmKurve lerner);
  const TStimmKurve& modell() const { return m_modell; }
  const TStimmKurve& lerner() const { return m_lerner; }

  // Draws both into `r` (also the benchmark's unit).
  static void zeichne(QPainter& p, const QRect& r, const TStimmKurve& modell, const TStimmKurve& lerner);

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  TStimmKurve m_modell, m_lerner;
};
