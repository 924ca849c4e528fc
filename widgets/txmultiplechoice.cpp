// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/txmultiplechoice.h"

#include "platform/codec.h"
#include "platform/messages.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <random>

TXMultipleChoice::TXMultipleChoice(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  applySizeRule();
}

void TXMultipleChoice::applySizeRule() {
  m_grid.raiseTo(120, 40, 1, 2);
  resize(m_grid.cellWidth * m_grid.spalten, m_grid.cellHeight * m_grid.zeilen);
  update();
}

void TXMultipleChoice::setCells(int x, int y, int cellWidth, int cellHeight) {
  move(x, y);
  m_grid.cellWidth = cellWidth;
  m_grid.cellHeight = cellHeight;
  applySizeRule();
}

void TXMultipleChoice::setItems(std::vector<std::string> items) {
  m_items = std::move(items);
  m_lsg = 0;
  update();
}

void TXMultipleChoice::setSelected(int index) {
  if (index >= static_cast<int>(m_items.size()) || index == m_selected) return;
  m_selected = index;
  update();
}

void TXMultipleChoice::setHighlight(int index) {
  m_highlight = index;
  m_hover = index;
  if (index != -1 && isVisible()) update();
}

void TXMultipleChoice::setBitmap(const QImage* bitmap, QPoint origin) {
  if (bitmap == m_bitmap && origin == m_bitmapOrigin) return;
  m_bitmap = bitmap;
  m_bitmapOrigin = origin;
  update();
}

void TXMultipleChoice::setHintergrund(const QImage* picture, QPoint pos) {
  if (picture == m_hintergrund && pos == m_hintergrundPos) return;
  m_hintergrund = picture;
  m_hintergrundPos = pos;
  update();
}

int TXMultipleChoice::pick(int n) {
  if (random) return random(n);
  static std::mt19937 rng{std::random_device{}()};
  return static_cast<int>(rng() % static_cast<unsigned>(n));
}

int TXMultipleChoice::Shuffle() {
  m_lsg = 0;
  const int n = static_cast<int>(m_items.size());
  if (n != m_grid.count()) {
    showMessage("Die Anzahl der Items stimmt nicht (Multiple Choice).", mb::Ok);
    return -1;
  }
  if (n < 2) return m_lsg;  // no two different entries to swap
  const int swaps = pick(n) + 4;
  for (int s = 0; s < swaps; ++s) {
    const int p = pick(n);
    int q = pick(n);
    while (q == p) q = pick(n);
    if (m_lsg == p) {
      m_lsg = q;
    } else if (m_lsg == q) {
      m_lsg = p;
    }
    std::swap(m_items[static_cast<size_t>(p)], m_items[static_cast<size_t>(q)]);
  }
  update();
  return m_lsg;
}

std::string TXMultipleChoice::cellText(int i) const {
  if (i >= 0 && i < static_cast<int>(m_items.size()) && !m_items[static_cast<size_t>(i)].empty()) {
    return m_items[static_cast<size_t>(i)];
  }
  return "Antwort " + std::to_string(i);
}

namespace {

// Greedy wrap at blanks; a word wider than the line stays alone on its line.
QStringList umbrechen(const QString& text, const QFontMetrics& fm, int breite) {
  QStringList zeilen;
  QString zeile;
  for (const QString& wort : text.split(' ', Qt::SkipEmptyParts)) {
    const QString probe = zeile.isEmpty() ? wort : zeile + ' ' + wort;
    if (!zeile.isEmpty() && fm.horizontalAdvance(probe) > breite) {
      zeilen << zeile;
      zeile = wort;
    } else {
      zeile = probe;
    }
  }
  if (!zeile.isEmpty() || zeilen.isEmpty()) zeilen << zeile;
  return zeilen;
}

}  // namespace

TZellenSatz zelleSetzen(const QString& text, const QFont& font, int zellenBreite, int zellenHoehe) {
  constexpr int kRand = 6;  // keeps neighbouring choices apart
  const int breite = std::max(zellenBreite - 2 * kRand, 1);
  TZellenSatz satz;
  satz.font = font;
  const qreal start = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize();
  const bool punkte = font.pointSizeF() > 0;
  // Shrink in steps down to two thirds of the size; below that the text gets unreadable.
  for (qreal groesse = start;; groesse -= start / 12) {
    const bool letzte = groesse - start / 12 < start * 2 / 3;
    if (punkte) satz.font.setPointSizeF(groesse);
    else satz.font.setPixelSize(std::max(1, static_cast<int>(groesse)));
    const QFontMetrics fm(satz.font);
    satz.zeilen = fm.horizontalAdvance(text) <= breite ? QStringList{text} : umbrechen(text, fm, breite);
    const int passen = std::max(1, zellenHoehe / std::max(fm.lineSpacing(), 1));
    bool zuBreit = false;
    for (const QString& z : satz.zeilen) zuBreit = zuBreit || fm.horizontalAdvance(z) > breite;
    if ((satz.zeilen.size() <= passen && !zuBreit) || letzte) {
      if (satz.zeilen.size() > passen) {
        const QString rest = QStringList(satz.zeilen.mid(passen - 1)).join(' ');
        satz.zeilen = satz.zeilen.mid(0, passen - 1);
        satz.zeilen << rest;
      }
      satz.breite = 0;
      for (QString& z : satz.zeilen) {
        z = fm.elidedText(z, Qt::ElideRight, breite);
        satz.breite = std::max(satz.breite, fm.horizontalAdvance(z));
      }
      return satz;
    }
  }
}

void TXMultipleChoice::paintSurface() {
  // Drawn at the screen's pixel ratio, so the choices are as sharp as the page's text.
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = (QSizeF(size()) * ratio).toSize();
  if (m_surface.size() != pixels || m_surface.devicePixelRatio() != ratio) {
    m_surface = QImage(pixels, QImage::Format_RGB32);
    m_surface.setDevicePixelRatio(ratio);
  }
  QPainter p(&m_surface);
  if (m_bitmap && !m_bitmap->isNull()) {
    p.fillRect(m_surface.rect(), Qt::white);
    p.drawImage(QPoint(0, 0), *m_bitmap, QRect(pos() - m_bitmapOrigin, size()));
  } else if (m_hintergrund && !m_hintergrund->isNull()) {
    p.fillRect(m_surface.rect(), Qt::white);
    p.drawImage(QPoint(0, 0), *m_hintergrund, QRect(pos() - m_hintergrundPos, size()));
  } else {
    p.fillRect(m_surface.rect(), Qt::white);
  }
  for (int c = 0; c < m_grid.spalten; ++c) {
    for (int r = 0; r < m_grid.zeilen; ++r) {
      const int i = m_grid.index(c, r);
      const TZellenSatz satz = zelleSetzen(zek::toQString(cellText(i)), font(), m_grid.cellWidth, m_grid.cellHeight);
      const QFontMetrics fm(satz.font);
      p.setFont(satz.font);
      const int x = c * m_grid.cellWidth + (m_grid.cellWidth - satz.breite) / 2;
      const int hoehe = fm.height() + (static_cast<int>(satz.zeilen.size()) - 1) * fm.lineSpacing();
      const int y = r * m_grid.cellHeight + (m_grid.cellHeight - hoehe) / 2;
      p.setPen(i == m_hover ? m_activeColor : m_inactiveColor);
      for (int z = 0; z < satz.zeilen.size(); ++z) {
        const QString& zeile = satz.zeilen[z];
        const int zx = c * m_grid.cellWidth + (m_grid.cellWidth - fm.horizontalAdvance(zeile)) / 2;
        p.drawText(zx, y + z * fm.lineSpacing() + fm.ascent(), zeile);
      }
      if (m_keyNumbers && i < 9 && i < static_cast<int>(m_items.size())) {
        QFont small = font();
        small.setPixelSize(std::max(9, fm.height() / 2));
        p.setFont(small);
        p.setPen(m_inactiveColor);
        p.drawText(QRect(c * m_grid.cellWidth + 3, r * m_grid.cellHeight + 1, 16, m_grid.cellHeight / 2),
                   Qt::AlignLeft | Qt::AlignTop, QString::number(i + 1));
        p.setFont(font());
      }
      if (i == m_highlight) {
        // A marker from the top of the column down and across to an arrow at the text.
        const int a = c * m_grid.cellWidth + 10;
        const int m = r * m_grid.cellHeight + m_grid.cellHeight / 2;
        p.setPen(m_highlightColor);
        p.setBrush(m_highlightColor);
        p.drawEllipse(QRect(QPoint(a - 3, 0), QPoint(a + 3, 6)));
        p.drawLine(a, 0, a, m);
        p.drawLine(a, m, x - 10, m);
        const QPoint head[] = {{x - 10, m}, {x - 15, m - 3}, {x - 15, m + 3}};
        p.drawPolygon(head, 3);
        p.setBrush(Qt::NoBrush);
      }
    }
  }
}

void TXMultipleChoice::paintEvent(QPaintEvent*) {
  paintSurface();
  QPainter(this).drawImage(0, 0, m_surface);
}

void TXMultipleChoice::mouseMoveEvent(QMouseEvent* e) {
  if (m_highlight != -1) return;
  const QPoint pos = e->position().toPoint();
  const int hover = pos.x() < 0 || pos.y() < 0 ? -1 : m_grid.at(pos.x(), pos.y());
  if (hover != m_hover) {
    m_hover = hover;
    update();
  }
}

void TXMultipleChoice::leaveEvent(QEvent*) {
  if (m_highlight != -1) return;
  m_hover = -1;
  update();
}

void TXMultipleChoice::mousePressEvent(QMouseEvent* e) { m_downButtons = e->buttons(); }

void TXMultipleChoice::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  const int entry = m_grid.at(pos.x(), pos.y());
  if (m_downButtons & Qt::LeftButton) {
    if (m_highlight != -1) return;
    m_selected = entry;
  }
  if (OnSelect) OnSelect(this, entry, e->button());
  if (OnClick) OnClick(this);
}
