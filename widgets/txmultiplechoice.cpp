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

void TXMultipleChoice::paintSurface() {
  if (m_surface.size() != size()) m_surface = QImage(size(), QImage::Format_RGB32);
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
  p.setFont(font());
  const QFontMetrics fm(font());
  for (int c = 0; c < m_grid.spalten; ++c) {
    for (int r = 0; r < m_grid.zeilen; ++r) {
      const int i = m_grid.index(c, r);
      const QString text = zek::toQString(cellText(i));
      const int x = c * m_grid.cellWidth + (m_grid.cellWidth - fm.horizontalAdvance(text)) / 2;
      const int y = r * m_grid.cellHeight + (m_grid.cellHeight - fm.height()) / 2;
      p.setPen(i == m_hover ? m_activeColor : m_inactiveColor);
      p.drawText(x, y + fm.ascent(), text);
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
