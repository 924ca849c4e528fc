// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/txgrid.h"

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

// A grid of round option buttons.
class tXRadioGroup : public QWidget {
  Q_OBJECT
 public:
  explicit tXRadioGroup(QWidget* parent = nullptr);

  const std::vector<std::string>& Items() const { return m_items; }
  void setItems(std::vector<std::string> items);
  int Selected() const { return m_selected; }
  // Takes only values below the item count that differ from the current one.
  void setSelected(int index);

  int Spalten() const { return m_grid.spalten; }
  int Zeilen() const { return m_grid.zeilen; }
  int CellWidth() const { return m_grid.cellWidth; }
  int CellHeight() const { return m_grid.cellHeight; }
  void setSpalten(int v) { m_grid.spalten = v; applySizeRule(); }
  void setZeilen(int v) { m_grid.zeilen = v; applySizeRule(); }
  void setCellWidth(int v) { m_grid.cellWidth = v; applySizeRule(); }
  void setCellHeight(int v) { m_grid.cellHeight = v; applySizeRule(); }
  void setBounds(int x, int y, int w, int h);

  // The caption a cell shows: its item, or "Option n" without one.
  std::string cellText(int index) const;

  std::function<void(tXRadioGroup*)> OnClick;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void applySizeRule();

  std::vector<std::string> m_items;
  int m_selected = 0;
  TXGrid m_grid{1, 2, 120, 20};
};
