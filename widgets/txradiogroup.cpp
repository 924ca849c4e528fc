// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/txradiogroup.h"

#include "platform/codec.h"

#include <QMouseEvent>
#include <QPainter>

tXRadioGroup::tXRadioGroup(QWidget* parent) : QWidget(parent) { applySizeRule(); }

void tXRadioGroup::applySizeRule() {
  m_grid.raiseTo(60, 16, 1, 1);
  resize(m_grid.cellWidth * m_grid.spalten, m_grid.cellHeight * m_grid.zeilen);
  update();
}

void tXRadioGroup::setBounds(int x, int y, int, int) {
  move(x, y);
  applySizeRule();
}

void tXRadioGroup::setItems(std::vector<std::string> items) {
  m_items = std::move(items);
  update();
}

void tXRadioGroup::setSelected(int index) {
  if (index >= static_cast<int>(m_items.size()) || index == m_selected) return;
  m_selected = index;
  update();
}

std::string tXRadioGroup::cellText(int i) const {
  if (i >= 0 && i < static_cast<int>(m_items.size()) && !m_items[static_cast<size_t>(i)].empty()) {
    return m_items[static_cast<size_t>(i)];
  }
  return "Option " + std::to_string(i);
}

void tXRadioGroup::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setFont(font());
  const QFontMetrics fm(font());
  const QColor text =
      isEnabled() ? palette().color(QPalette::WindowText) : palette().color(QPalette::Disabled, QPalette::Text);
  for (int c = 0; c < m_grid.spalten; ++c) {
    for (int r = 0; r < m_grid.zeilen; ++r) {
      const int i = m_grid.index(c, r);
      const int x = c * m_grid.cellWidth;
      const int y = r * m_grid.cellHeight;
      p.setPen(text);
      p.drawText(x + 16, y + (m_grid.cellHeight - fm.height()) / 2 + fm.ascent(), zek::toQString(cellText(i)));
      const int top = y + (m_grid.cellHeight - 12) / 2;
      p.setPen(Qt::black);
      p.setBrush(Qt::white);
      p.drawEllipse(QRectF(x + 0.5, top + 0.5, 11, 11));
      if (i == m_selected) {
        p.setBrush(Qt::black);
        p.drawEllipse(QRectF(x + 2.5, top + 2.5, 7, 7));
      }
    }
  }
}

void tXRadioGroup::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  const QPoint pos = e->position().toPoint();
  // No check against the item count: a cell without an item can be chosen too.
  m_selected = m_grid.at(pos.x(), pos.y());
  update();
  if (OnClick) OnClick(this);
}

void tXRadioGroup::changeEvent(QEvent* e) {
  if (e->type() == QEvent::EnabledChange || e->type() == QEvent::FontChange) update();
  QWidget::changeEvent(e);
}
