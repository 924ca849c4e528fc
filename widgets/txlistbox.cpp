// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/txlistbox.h"

#include "platform/codec.h"

#include <QKeyEvent>
#include <QWheelEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {
constexpr char kMark1 = static_cast<char>(0xA7);  // "§"
constexpr char kMark2 = '$';
}  // namespace

TXListBox::TXListBox(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  m_scroll = new QScrollBar(Qt::Vertical, this);
  m_scroll->setFocusPolicy(Qt::NoFocus);
  connect(m_scroll, &QScrollBar::valueChanged, this, [this](int v) {
    if (v != m_topline) {
      m_topline = v;
      update();
    }
  });
  connect(m_scroll, &QScrollBar::sliderPressed, this, [this] { setFocus(); });
  resize(121, 97);
}

void TXListBox::setItems(std::vector<std::string> items) {
  m_items = std::move(items);
  ItemsChanged();
}

bool TXListBox::scrollBarVisible() const { return static_cast<int>(m_items.size()) > visibleRows(); }

void TXListBox::updateScrollBar() {
  const int count = static_cast<int>(m_items.size());
  m_scroll->setGeometry(width() - 17, 1, 16, height() - 1);
  m_scroll->blockSignals(true);
  m_scroll->setRange(0, std::max(0, count - visibleRows()));
  m_scroll->setPageStep(std::max(1, visibleRows()));
  m_scroll->setValue(m_topline);
  m_scroll->blockSignals(false);
  m_scroll->setVisible(scrollBarVisible());
}

void TXListBox::ItemsChanged() {
  const int count = static_cast<int>(m_items.size());
  if (m_topline >= count) m_topline = 0;
  if (m_selected >= count) m_selected = -1;
  updateScrollBar();
  update();
}

void TXListBox::setItemHeight(int height) {
  m_itemHeight = std::max(1, height);
  setBounds(x(), y(), width(), this->height());
  ItemsChanged();
}

void TXListBox::setTopline(int line) {
  m_topline = std::max(0, line);
  updateScrollBar();
  update();
}

void TXListBox::setSelected(int index) {
  const int count = static_cast<int>(m_items.size());
  if (m_typ == ltViewOnly || index >= count) return;
  m_selected = index;
  const int rows = visibleRows();
  if (index >= 0 && (index < m_topline || index >= m_topline + rows)) {
    if (index == m_topline + rows) {
      setTopline(m_topline + 1);
    } else if (index >= count - rows) {
      setTopline(count - rows);
    } else {
      setTopline(index);
    }
  } else {
    update();
  }
  if (OnChange) OnChange(this);
}

void TXListBox::setHintergrund(const QImage* picture, QPoint listPosInPicture) {
  m_hintergrund = picture;
  m_hintergrundPos = listPosInPicture;
  update();
}

void TXListBox::paintSurface() {
  // Drawn at the screen's pixel ratio, so the lines are as sharp as the page's text.
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = (QSizeF(size().expandedTo(QSize(1, 1))) * ratio).toSize();
  if (m_surface.size() != pixels || m_surface.devicePixelRatio() != ratio) {
    m_surface = QImage(pixels, QImage::Format_RGB32);
    m_surface.setDevicePixelRatio(ratio);
  }
  QPainter p(&m_surface);
  if (m_hintergrund && !m_hintergrund->isNull()) {
    p.fillRect(m_surface.rect(), m_color);
    p.drawImage(QPoint(0, 0), *m_hintergrund, QRect(m_hintergrundPos, size()));
  } else if (!m_image.isNull()) {
    p.fillRect(m_surface.rect(), m_color);
    p.drawImage(0, 0, m_image);
  } else {
    p.fillRect(m_surface.rect(), m_color);
  }
  QFont normal = font();
  normal.setBold(false);
  QFont bold = normal;
  bold.setBold(true);
  const int count = static_cast<int>(m_items.size());
  for (int r = 0; r < visibleRows(); ++r) {
    const int i = m_topline + r;
    if (i >= count) break;
    std::string text = m_items[static_cast<size_t>(i)];
    int x = 8;
    const QImage* icon = nullptr;
    if (!text.empty() && (text[0] == kMark1 || text[0] == kMark2)) {
      icon = text[0] == kMark1 ? &m_icon1 : &m_icon2;
      text = text.substr(1, 80);
      x = icon->isNull() ? 0 : icon->width();
      if (!icon->isNull()) p.drawImage(0, r * m_itemHeight + (m_itemHeight - icon->height()) / 2, *icon);
    }
    const bool selected = i == m_selected;
    p.setFont(selected && m_typ == ltSelect ? bold : normal);
    const QFontMetrics fm(p.font());
    p.setPen(selected ? m_farbeAn : m_farbeAus);
    p.drawText(x, r * m_itemHeight + (m_itemHeight - fm.height()) / 2 + fm.ascent(), zek::toQString(text));
  }
}

void TXListBox::paintEvent(QPaintEvent*) {
  paintSurface();
  QPainter p(this);
  const int w = scrollBarVisible() ? width() - 17 : width();
  const qreal ratio = m_surface.devicePixelRatio();
  p.drawImage(QRectF(0, 0, w, height()), m_surface, QRectF(0, 0, w * ratio, height() * ratio));
  if (OnPaint) OnPaint(this);
}

void TXListBox::setBounds(int x, int y, int w, int h) {
  setGeometry(x, y, std::max(w, 48), std::max(m_itemHeight, h / m_itemHeight * m_itemHeight));
  updateScrollBar();
}

void TXListBox::resizeEvent(QResizeEvent*) {
  if (m_sizing) return;
  const int w = std::max(width(), 48);
  const int h = std::max(m_itemHeight, height() / m_itemHeight * m_itemHeight);
  if (w != width() || h != height()) {
    m_sizing = true;
    resize(w, h);
    m_sizing = false;
  }
  updateScrollBar();
}

int TXListBox::rowAt(int y) const {
  const int last = std::max(0, visibleRows() - 1);
  int r = 0;
  while (r < last && (r + 1) * m_itemHeight < y) ++r;
  return r;
}

void TXListBox::clickAt(int y) {
  const int i = m_topline + rowAt(y);
  if (i >= static_cast<int>(m_items.size())) {
    m_text.clear();
    m_textMarker = 0;
    return;
  }
  std::string& item = m_items[static_cast<size_t>(i)];
  const bool marked = !item.empty() && (item[0] == kMark1 || item[0] == kMark2);
  m_text = marked ? item.substr(1) : item;
  m_textMarker = marked ? item[0] : char(0);
  if (m_typ == ltOnOff && marked) {
    item[0] = item[0] == kMark1 ? kMark2 : kMark1;
    update();
  }
  if (m_typ != ltViewOnly) setSelected(i);
}

void TXListBox::mousePressEvent(QMouseEvent* e) {
  setFocus(Qt::MouseFocusReason);
  if (OnMouseDown) OnMouseDown(this);
  if (e->button() == Qt::LeftButton) clickAt(static_cast<int>(e->position().y()));
}

void TXListBox::mouseReleaseEvent(QMouseEvent*) {
  if (OnMouseUp) OnMouseUp(this);
}

void TXListBox::mouseDoubleClickEvent(QMouseEvent*) {
  if (OnDblClick) OnDblClick(this);
}

void TXListBox::wheelEvent(QWheelEvent* e) {
  // Three rows per notch, as lists elsewhere on the desktop scroll.
  const int rows = -e->angleDelta().y() / 120 * 3;
  if (rows == 0) return;
  const int last = std::max(0, int(m_items.size()) - visibleRows());
  setTopline(std::clamp(m_topline + rows, 0, last));
  e->accept();
}

void TXListBox::keyPressEvent(QKeyEvent* e) {
  const int count = static_cast<int>(m_items.size());
  if (e->key() == Qt::Key_Up) {
    if (m_selected > 0) setSelected(m_selected - 1);
  } else if (e->key() == Qt::Key_Down) {
    if (m_selected + 1 < count) setSelected(m_selected + 1);
  } else {
    QWidget::keyPressEvent(e);
  }
}
