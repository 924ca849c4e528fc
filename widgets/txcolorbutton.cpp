// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/txcolorbutton.h"

#include "platform/codec.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

tXColorButton::tXColorButton(QWidget* parent) : QWidget(parent) {
  resize(105, 105);
  m_color = QApplication::palette().color(QPalette::Button);
  setMouseTracking(true);
}

void tXColorButton::setCaption(const std::string& caption) {
  if (caption == m_caption) return;
  m_caption = caption;
  update();
}

void tXColorButton::setColor(const QColor& color) {
  m_color = color;
  update();
}

int tXColorButton::RGB() const { return (m_color.red() << 16) | (m_color.green() << 8) | m_color.blue(); }

void tXColorButton::setRGB(int value) { setColor(QColor((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF)); }

void tXColorButton::setPicture1(const QImage& p) {
  m_picture1 = p;
  if (m_autoSize && !p.isNull()) resize(p.size());
  update();
}

void tXColorButton::setAutoSize(bool on) {
  m_autoSize = on;
  if (on && !m_picture1.isNull()) resize(m_picture1.size());
}

void tXColorButton::setImage(const QImage* image, QPoint offset) {
  m_image = image;
  m_imageOffset = offset;
  update();
}

void tXColorButton::setIsOn(bool on) {
  if (!m_onOff) return;
  m_isOn = on;
  update();
}

const QImage* tXColorButton::currentPicture() const {
  if (!isEnabled()) return nullptr;
  if (m_picture2.isNull()) return m_picture1.isNull() ? nullptr : &m_picture1;
  if (m_onOff) return m_isOn ? &m_picture2 : &m_picture1;
  const bool alternative = m_pressed || (m_mouseOver && m_hovered);
  return alternative ? &m_picture2 : (m_picture1.isNull() ? nullptr : &m_picture1);
}

void tXColorButton::paintEvent(QPaintEvent*) {
  const int w = width(), h = height();
  QImage surface(size(), QImage::Format_RGB32);
  // The face cut from `Image` leaves its first row and column to the colour below.
  surface.fill(m_color);
  QPainter p(&surface);
  QColor light = Qt::white, dark = QColor(128, 128, 128);
  if (m_color == QColor(128, 128, 128)) {
    dark = Qt::black;
  } else if (m_color == QColor(Qt::white)) {
    light = QColor(192, 192, 192);
  }
  const bool inside = m_hovered;
  const bool flash = m_mouseOver && inside && isEnabled();
  const QColor captionColor = flash ? m_flashColor : palette().color(QPalette::ButtonText);

  if (m_image && !m_image->isNull()) {
    const QRect face = m_ctl3D ? QRect(2, 2, w - 4, h - 4) : QRect(0, 0, w, h);
    if (m_ctl3D) {
      p.setPen(m_pressed ? light : dark);
      p.setBrush(m_color);
      p.drawRect(0, 0, w - 1, h - 1);
    }
    const QPoint shift = m_pressed ? QPoint(0, 0) : QPoint(1, 1);
    p.drawImage(face.topLeft() + shift, *m_image, face.translated(m_imageOffset));
  } else {
    p.setPen(!m_ctl3D ? m_color : (m_pressed ? light : dark));
    p.setBrush(m_color);
    p.drawRect(0, 0, w - 1, h - 1);
  }
  if (m_ctl3D) {
    const QColor tl = m_pressed ? dark : light, br = m_pressed ? light : dark;
    p.setPen(tl);
    p.drawLine(0, 0, w - 1, 0);
    p.drawLine(0, 0, 0, h - 1);
    p.drawLine(1, 1, w - 2, 1);
    p.drawLine(1, 1, 1, h - 2);
    p.setPen(br);
    p.drawLine(2, h - 2, w - 2, h - 2);
    p.drawLine(w - 2, 2, w - 2, h - 2);
    p.drawLine(1, h - 1, w - 1, h - 1);
    p.drawLine(w - 1, 1, w - 1, h - 1);
  }
  if (m_mouseOver3D && m_mouseOver && inside && isEnabled()) {
    p.setPen(m_pressed ? dark : light);
    p.drawLine(0, 0, w - 1, 0);
    p.drawLine(0, 0, 0, h - 1);
    p.setPen(m_pressed ? light : dark);
    p.drawLine(0, h - 1, w - 1, h - 1);
    p.drawLine(w - 1, 0, w - 1, h - 1);
  }

  const QImage* picture = currentPicture();
  const int picH = picture ? picture->height() : (m_picture1.isNull() ? 0 : m_picture1.height());
  const QString caption = zek::toQString(m_caption);
  p.setFont(font());
  const QRect textArea(4, 4, w - 8, h - 8);
  const QRect measured = caption.isEmpty() ? QRect() : p.boundingRect(textArea, Qt::TextWordWrap | Qt::AlignHCenter, caption);
  const int textH = measured.height();
  const int shift = m_pressed && inside ? 1 : 0;
  if (!caption.isEmpty()) {
    int top = (h - textH) / 2;
    if (m_center && picH > 0 && picH < h) top = (h - textH - picH - m_abstand) / 2 + picH + m_abstand;
    p.setPen(captionColor);
    p.drawText(QRect(4 + shift, top + shift, w - 8, textH), Qt::TextWordWrap | Qt::AlignHCenter, caption);
  }
  if (picture) {
    QRect r;
    if (m_stretch) {
      r = QRect(0, 0, w, h);
    } else if (m_center) {
      const int top = caption.isEmpty() ? (h - picH) / 2 : (h - textH - picH - m_abstand) / 2;
      r = QRect((w - picture->width()) / 2 + shift, top + shift, picture->width(), picH);
    } else {
      r = QRect(0, 0, picture->width(), picture->height());
    }
    p.drawImage(r, *picture);
  }
  p.end();
  QPainter(this).drawImage(0, 0, surface);
}

void tXColorButton::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  m_pressed = true;
  update();
}

void tXColorButton::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  const bool inside = pt.x() >= 0 && pt.x() < width() && pt.y() >= 0 && pt.y() < height();
  if (inside != m_hovered) {
    m_hovered = inside;
    update();
  }
}

void tXColorButton::leaveEvent(QEvent*) {
  m_hovered = false;
  if (m_mouseOver) update();
}

void tXColorButton::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !m_pressed) return;
  m_pressed = false;
  const QPoint pt = e->position().toPoint();
  const bool inside = pt.x() >= 0 && pt.x() <= width() && pt.y() >= 0 && pt.y() <= height();
  if (m_onOff && inside) {
    m_isOn = !m_isOn;
    if (m_isOn) {
      if (OnTurnOn) OnTurnOn(this);
    } else if (OnTurnOff) {
      OnTurnOff(this);
    }
  }
  update();
  QCoreApplication::processEvents();
  if (inside && OnClick) OnClick(this);
}

void tXColorButton::changeEvent(QEvent* e) {
  if (e->type() == QEvent::EnabledChange || e->type() == QEvent::FontChange) update();
  QWidget::changeEvent(e);
}
