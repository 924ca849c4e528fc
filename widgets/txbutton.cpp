// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/txbutton.h"

#include <QMouseEvent>
#include <QPainter>

tXButton::tXButton(QWidget* parent) : QWidget(parent) { resize(105, 105); }

void tXButton::setPicture1(const QImage& p) {
  m_picture1 = p;
  applyAutoSize();
  update();
}

void tXButton::setPicture2(const QImage& p) {
  m_picture2 = p;
  applyAutoSize();
  update();
}

void tXButton::setAutoSize(bool on) {
  m_autoSize = on;
  applyAutoSize();
}

void tXButton::applyAutoSize() {
  if (!m_autoSize) return;
  if (!m_picture1.isNull()) {
    resize(m_picture1.size());
  } else if (!m_picture2.isNull()) {
    resize(m_picture2.size());
  }
}

void tXButton::paintEvent(QPaintEvent*) {
  const QImage& picture = m_pressed && !m_picture2.isNull() ? m_picture2 : m_picture1;
  if (picture.isNull()) return;
  QPainter p(this);
  p.setRenderHint(QPainter::SmoothPixmapTransform);  // pictures are enlarged on a high-density screen
  const QSize own = m_picture1.isNull() ? m_picture2.size() : picture.size();
  if (m_stretch) {
    p.drawImage(rect(), picture);
  } else if (m_center) {
    p.drawImage(QRect(QPoint((width() - own.width()) / 2, (height() - own.height()) / 2), own), picture);
  } else {
    p.drawImage(QRect(QPoint(0, 0), own), picture);
  }
}

void tXButton::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  m_pressed = true;
  update();
}

void tXButton::mouseMoveEvent(QMouseEvent* e) {
  if (!(e->buttons() & Qt::LeftButton)) return;
  const bool in = inside(e->position().toPoint());
  if (in != m_pressed) {
    m_pressed = in;
    update();
  }
}

void tXButton::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  m_pressed = false;
  update();
  if (inside(e->position().toPoint()) && OnClick) OnClick(this);
}
