// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QScrollBar;

enum TListenTyp { ltSelect, ltOnOff, ltViewOnly };

// A self-drawn list with item markers: "§" shows Icon1, "$" Icon2 (the marker is not shown).
class TXListBox : public QWidget {
  Q_OBJECT
 public:
  using Event = std::function<void(TXListBox*)>;
  static constexpr int kRowHeight = 20;

  explicit TXListBox(QWidget* parent = nullptr);

  std::vector<std::string>& Items() { return m_items; }
  const std::vector<std::string>& Items() const { return m_items; }
  void setItems(std::vector<std::string> items);
  // Call after changing Items() in place.
  void ItemsChanged();

  TListenTyp ListenTyp() const { return m_typ; }
  void setListenTyp(TListenTyp typ) { m_typ = typ; update(); }
  int Selected() const { return m_selected; }
  void setSelected(int index);
  int Topline() const { return m_topline; }
  void setTopline(int line);
  // Position and size under the size rule: at least 48 wide, whole rows, at least one.
  void setBounds(int x, int y, int w, int h);
  int visibleRows() const { return height() / m_itemHeight; }
  // Row height in pixels (default kRowHeight); the height is rounded to whole rows again.
  int ItemHeight() const { return m_itemHeight; }
  void setItemHeight(int height);
  bool scrollBarVisible() const;

  void setFarbeAn(const QColor& c) { m_farbeAn = c; update(); }
  void setFarbeAus(const QColor& c) { m_farbeAus = c; update(); }
  void setColor(const QColor& c) { m_color = c; update(); }
  void setImage(const QImage& image) { m_image = image; update(); }
  void setHintergrund(const QImage* picture, QPoint listPosInPicture);
  void setIcon1(const QImage& icon) { m_icon1 = icon; update(); }
  void setIcon2(const QImage& icon) { m_icon2 = icon; update(); }

  // Text of the item last clicked, without its marker.
  const std::string& Text() const { return m_text; }
  // Its marker ("§" or "$"), or 0 for an unmarked item.
  char TextMarker() const { return m_textMarker; }

  // What a press at y does (also used by tests): picks the row, flips, selects.
  void clickAt(int y);
  int rowAt(int y) const;

  Event OnChange, OnPaint, OnDblClick, OnMouseDown, OnMouseUp;

  // The picture as last painted (tests).
  const QImage& surface() const { return m_surface; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;

 private:
  void updateScrollBar();
  void paintSurface();

  std::vector<std::string> m_items;
  TListenTyp m_typ = ltSelect;
  int m_selected = -1;
  int m_topline = 0;
  int m_itemHeight = kRowHeight;
  QColor m_farbeAn = Qt::yellow, m_farbeAus = Qt::black, m_color = Qt::white;
  QImage m_image, m_icon1, m_icon2;
  const QImage* m_hintergrund = nullptr;
  QPoint m_hintergrundPos;
  std::string m_text;
  char m_textMarker = 0;
  QScrollBar* m_scroll = nullptr;
  QImage m_surface;
  bool m_sizing = false;
};
