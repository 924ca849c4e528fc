// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/txcheckbox.h"

#include "platform/codec.h"

#include <QMouseEvent>
#include <QPainter>

TXCustomCheckBox::TXCustomCheckBox(QWidget* parent) : QWidget(parent) { resize(65, 17); }

void TXCustomCheckBox::setCaption(const std::string& caption) {
  if (caption == m_caption) return;
  m_caption = caption;
  update();
}

void TXCustomCheckBox::setChecked(bool checked) {
  if (checked == m_checked) return;
  m_checked = checked;
  update();
}

void TXCustomCheckBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setFont(font());
  const QFontMetrics fm(font());
  const int textTop = (height() - fm.height()) / 2;  // the height of "AXyg"
  p.setPen(isEnabled() ? palette().color(QPalette::WindowText) : palette().color(QPalette::Disabled, QPalette::Text));
  p.drawText(16, textTop + fm.ascent(), zek::toQString(m_caption));
  const int t = (height() - 12) / 2;
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawRect(0, t, 11, 11);
  if (m_checked) {
    for (int k = 0; k < 3; ++k) {
      const QPoint tick[] = {{2, t + 5 + k}, {4, t + 7 + k}, {10, t + 1 + k}};
      p.drawPolyline(tick, 3);
    }
  }
}

void TXCustomCheckBox::mousePressEvent(QMouseEvent* e) {
  if (OnMouseDown) OnMouseDown(this);
  // The box toggles at once on the press, wherever the button is released.
  if (e->buttons() & Qt::LeftButton) {
    m_checked = !m_checked;
    repaint();
  }
}

void TXCustomCheckBox::mouseReleaseEvent(QMouseEvent* e) {
  if (OnMouseUp) OnMouseUp(this);
  const QPoint pos = e->position().toPoint();
  if (e->button() == Qt::LeftButton && pos.x() >= 0 && pos.x() <= width() && pos.y() >= 0 && pos.y() <= height()) {
    if (OnClick) OnClick(this);
  }
}

void TXCustomCheckBox::mouseMoveEvent(QMouseEvent*) {
  if (OnMouseMove) OnMouseMove(this);
}

void TXCustomCheckBox::changeEvent(QEvent* e) {
  if (e->type() == QEvent::EnabledChange || e->type() == QEvent::FontChange) update();
  QWidget::changeEvent(e);
}
