// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/txlabel.h"

#include "platform/codec.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

TXLabel::TXLabel(QWidget* parent) : QWidget(parent) {
  resize(65, 17);
  hide();
}

void TXLabel::setCaption(const std::string& caption) {
  m_caption = caption;
  update();
}

void TXLabel::showAt(const QRect& link, const std::string& text, QSize page) {
  hide();
  m_caption = text;
  m_wordWrap = true;
  raise();
  const QFontMetrics fm(font());
  const QRect extent =
      fm.boundingRect(QRect(0, 0, 200, 100000), Qt::TextWordWrap | Qt::AlignLeft, zek::toQString(text));
  resize(extent.width() + 16, extent.height() + 16);
  int x = link.left() + 8;
  int y = link.bottom() + 1 + 8;
  if (x + width() > page.width() - 8) x = page.width() - width() - 24;
  if (y + height() > page.height() - 24) y = link.top() - height() - 8;
  move(x, y);
  show();
}

void TXLabel::hideNote() {
  hide();
  m_caption.clear();
  m_wordWrap = false;
}

void TXLabel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kBackground);
  p.setPen(Qt::black);
  p.drawRect(0, 0, width() - 1, height() - 1);
  p.setFont(font());
  p.drawText(rect().adjusted(8, 8, -8, -8), (m_wordWrap ? Qt::TextWordWrap : 0) | Qt::AlignLeft | Qt::AlignTop,
             zek::toQString(m_caption));
}

void TXLabel::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) hideNote();
}
