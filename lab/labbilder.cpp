// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/labbilder.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace labbilder {

namespace {

constexpr int kSeite = 40;

QImage gesicht(bool an) {
  QImage bild(kSeite, kSeite, QImage::Format_RGB32);
  bild.fill(an ? QColor(90, 90, 90) : QColor(45, 45, 45));
  QPainter p(&bild);
  p.setRenderHint(QPainter::Antialiasing);
  // A bevel: raised at rest, pressed in while switched on.
  const QColor hell(130, 130, 130), dunkel(15, 15, 15);
  p.setPen(QPen(an ? dunkel : hell, 2));
  p.drawLine(1, 1, kSeite - 2, 1);
  p.drawLine(1, 1, 1, kSeite - 2);
  p.setPen(QPen(an ? hell : dunkel, 2));
  p.drawLine(1, kSeite - 1, kSeite - 1, kSeite - 1);
  p.drawLine(kSeite - 1, 1, kSeite - 1, kSeite - 1);
  if (an) {
    p.setPen(QPen(QColor(255, 255, 255, 200), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(5, 5, kSeite - 10, kSeite - 10));
  }
  return bild;
}

}  // namespace

QImage aufnahme(bool an) {
  QImage bild = gesicht(an);
  QPainter p(&bild);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(an ? QColor(255, 40, 40) : QColor(200, 20, 20));
  p.drawEllipse(QRectF(12, 12, 16, 16));
  return bild;
}

QImage abspielen(bool an) {
  QImage bild = gesicht(an);
  QPainter p(&bild);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(an ? QColor(80, 240, 80) : QColor(30, 180, 30));
  const QPointF dreieck[] = {{15, 11}, {15, 29}, {30, 20}};
  p.drawPolygon(dreieck, 3);
  return bild;
}

QImage gesperrt(const QImage& bild) {
  QImage grau = bild.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < grau.height(); ++y) {
    auto* zeile = reinterpret_cast<QRgb*>(grau.scanLine(y));
    for (int x = 0; x < grau.width(); ++x) {
      const int g = qGray(zeile[x]);
      // Flattened towards the face colour, so the button reads as out of use.
      const int v = 45 + (g - 45) / 3;
      zeile[x] = qRgb(v, v, v);
    }
  }
  return grau;
}

QImage vorlesen(QSize groesse, const QColor& grund, const QColor& schrift) {
  QImage bild(groesse, QImage::Format_RGB32);
  bild.fill(grund);
  QPainter p(&bild);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal mitte = groesse.height() / 2.0;
  // Loudspeaker: a box and a cone, then two sound waves.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 20, 80));
  p.drawRect(QRectF(4, mitte - 4, 4, 8));
  QPainterPath kegel;
  kegel.moveTo(8, mitte - 4);
  kegel.lineTo(14, mitte - 9);
  kegel.lineTo(14, mitte + 9);
  kegel.lineTo(8, mitte + 4);
  kegel.closeSubpath();
  p.drawPath(kegel);
  p.setPen(QPen(QColor(40, 20, 80), 2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(12, mitte - 5, 8, 10), -50 * 16, 100 * 16);
  p.drawArc(QRectF(12, mitte - 9, 14, 18), -50 * 16, 100 * 16);
  QFont f("Arial");
  f.setPixelSize(13);
  f.setBold(true);
  p.setFont(f);
  p.setPen(schrift);
  p.drawText(QRect(31, 0, groesse.width() - 31, groesse.height()), Qt::AlignVCenter | Qt::AlignLeft,
             QStringLiteral("Vorlesen"));
  return bild;
}

}  // namespace labbilder
