// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/txgrid.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

// How a choice is set inside its cell: one line when it fits, else wrapped at blanks, in a
// smaller font when the lines would not fit the cell's height; what is still too long is
// cut with an ellipsis. No line is wider than the cell.
struct TZellenSatz {
  QFont font;
  QStringList zeilen;
  int breite = 0;  // of the widest line
};
TZellenSatz zelleSetzen(const QString& text, const QFont& font, int zellenBreite, int zellenHoehe);

// The answer grid of a multiple-choice question. The right answer is `Lsg`; after the
// question `Highlight` marks it and the grid no longer follows the mouse.
class TXMultipleChoice : public QWidget {
  Q_OBJECT
 public:
  explicit TXMultipleChoice(QWidget* parent = nullptr);

  const std::vector<std::string>& Items() const { return m_items; }
  void setItems(std::vector<std::string> items);  // also sets Lsg to 0
  int Lsg() const { return m_lsg; }
  void setLsg(int lsg) { m_lsg = lsg; }
  int Selected() const { return m_selected; }
  void setSelected(int index);
  int Highlight() const { return m_highlight; }
  void setHighlight(int index);
  int HoverIndex() const { return m_hover; }

  QColor HighlightColor() const { return m_highlightColor; }
  void setHighlightColor(const QColor& c) { m_highlightColor = c; update(); }
  // Each cell shows the number key that chooses it (1 for the first).
  void setKeyNumbers(bool on) { m_keyNumbers = on; update(); }
  QColor ActiveColor() const { return m_activeColor; }
  void setActiveColor(const QColor& c) { m_activeColor = c; update(); }
  QColor InActiveColor() const { return m_inactiveColor; }
  void setInActiveColor(const QColor& c) { m_inactiveColor = c; update(); }

  int Spalten() const { return m_grid.spalten; }
  int Zeilen() const { return m_grid.zeilen; }
  int CellWidth() const { return m_grid.cellWidth; }
  int CellHeight() const { return m_grid.cellHeight; }
  void setSpalten(int v) { m_grid.spalten = v; applySizeRule(); }
  void setZeilen(int v) { m_grid.zeilen = v; applySizeRule(); }
  void setCellWidth(int v) { m_grid.cellWidth = v; applySizeRule(); }
  void setCellHeight(int v) { m_grid.cellHeight = v; applySizeRule(); }
  // Left, top and the size of one cell (as the page's COORDS give them).
  void setCells(int x, int y, int cellWidth, int cellHeight);

  // Background: the page buffer (in parent coordinates), or a picture placed at `pos` in the parent.
  // `origin`: where the bitmap's top left lies in the parent (a scrolled page buffer lies above it).
  void setBitmap(const QImage* bitmap, QPoint origin = {});
  void setHintergrund(const QImage* picture, QPoint pos);

  // Shuffles the items so that the first becomes the right answer somewhere else;
  // returns its new index, or -1 (with the count message) when items and cells differ.
  int Shuffle();
  std::function<int(int n)> random;  // 0 .. n-1; tests replace it

  std::string cellText(int index) const;

  // sender, entry, button
  std::function<void(TXMultipleChoice*, int, Qt::MouseButton)> OnSelect;
  std::function<void(TXMultipleChoice*)> OnClick;

  // The picture as last painted (tests).
  const QImage& surface() const { return m_surface; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void leaveEvent(QEvent* e) override;

 private:
  void applySizeRule();
  void paintSurface();
  int pick(int n);

  std::vector<std::string> m_items;
  int m_lsg = 0;
  int m_selected = -1;
  int m_highlight = -1;
  bool m_keyNumbers = false;
  int m_hover = -1;
  QColor m_highlightColor = Qt::yellow;
  QColor m_activeColor = Qt::white;
  QColor m_inactiveColor = Qt::black;
  TXGrid m_grid{1, 1, 120, 40};
  const QImage* m_bitmap = nullptr;
  QPoint m_bitmapOrigin;
  const QImage* m_hintergrund = nullptr;
  QPoint m_hintergrundPos;
  Qt::MouseButtons m_downButtons;
  QImage m_surface;
};
