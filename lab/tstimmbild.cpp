// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/tstimmbild.h"

#include "platform/codec.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr float kTiefHz = 60.0f, kHochHz = 450.0f;

void zeichneSpur(QPainter& p, const QRect& r, const TStimmKurve& k, double sekunden, const QColor& farbe,
                 const char* titel) {
  p.fillRect(r, QColor(20, 20, 28));
  p.setPen(QColor(200, 200, 210));
  QFont f = p.font();
  f.setPixelSize(11);
  f.setBold(true);
  p.setFont(f);
  p.drawText(r.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignTop, zek::toQString(titel));
  if (k.leer() || sekunden <= 0) return;
  const double proSchritt = static_cast<double>(TStimmKurve::kHop) / k.rate;
  const double pxProSek = r.width() / sekunden;
  const int mitte = r.center().y();
  const double halb = r.height() * 0.45;
  // The waveform, one vertical line per pixel column from the envelope's peak over the steps
  // it covers (at least the one it lies in).
  p.setPen(QColor(110, 110, 125));
  const auto n = static_cast<int>(k.huelle.size());
  const double schritteProPx = 1.0 / pxProSek / proSchritt;
  for (int x = 0; x < r.width(); ++x) {
    const int a = static_cast<int>(x * schritteProPx);
    if (a >= n) break;
    const int b = std::min(n - 1, std::max(a, static_cast<int>((x + 1) * schritteProPx) - 1));
    float spitze = 0;
    for (int i = a; i <= b; ++i) spitze = std::max(spitze, k.huelle[static_cast<std::size_t>(i)]);
    const int h = static_cast<int>(spitze * halb);
    if (h > 0) p.drawLine(r.left() + x, mitte - h, r.left() + x, mitte + h);
  }
  // The pitch, broken where nothing voiced was found.
  const double logTief = std::log(kTiefHz), logSpanne = std::log(kHochHz) - logTief;
  QPainterPath pfad;
  bool offen = false;
  for (int j = 0; j < n; ++j) {
    const float hz = k.tonhoehe[static_cast<std::size_t>(j)];
    if (hz <= 0) {
      offen = false;
      continue;
    }
    const double x = r.left() + j * proSchritt * pxProSek;
    const double y = r.bottom() - 4 - (std::log(hz) - logTief) / logSpanne * (r.height() - 18);
    if (offen) pfad.lineTo(x, y);
    else pfad.moveTo(x, y);
    offen = true;
  }
  p.setPen(QPen(farbe, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(pfad);
}

}  // namespace

TStimmBild::TStimmBild(QWidget* parent) : QWidget(parent) { setObjectName("Stimmbild"); }

void TStimmBild::setKurven(TStimmKurve modell, TStimmKurve lerner) {
  m_modell = std::move(modell);
  m_lerner = std::move(lerner);
  update();
}

void TStimmBild::zeichne(QPainter& p, const QRect& r, const TStimmKurve& modell, const TStimmKurve& lerner) {
  const double sekunden = std::max(modell.sekunden, lerner.sekunden);
  const int h = r.height() / 2;
  p.fillRect(r, QColor(60, 60, 72));  // the line between the rows
  p.setRenderHint(QPainter::Antialiasing, true);
  zeichneSpur(p, QRect(r.left(), r.top(), r.width(), h - 1), modell, sekunden, QColor(120, 200, 255), "Vorbild");
  zeichneSpur(p, QRect(r.left(), r.top() + h, r.width(), r.height() - h), lerner, sekunden, QColor(255, 170, 90),
              "Ihre Aufnahme");
}

void TStimmBild::paintEvent(QPaintEvent*) {
  QPainter p(this);
  zeichne(p, rect(), m_modell, m_lerner);
}
