// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>

// Cells of equal size in columns (Spalten) and rows (Zeilen), numbered column by column.
struct TXGrid {
  int spalten = 1;
  int zeilen = 1;
  int cellWidth = 120;
  int cellHeight = 20;

  int index(int column, int row) const { return column * zeilen + row; }
  int column(int i) const { return i / std::max(zeilen, 1); }
  int row(int i) const { return i % std::max(zeilen, 1); }
  // The entry under a point, unchecked against the item count.
  int at(int x, int y) const { return (x / std::max(cellWidth, 1)) * zeilen + y / std::max(cellHeight, 1); }
  int count() const { return spalten * zeilen; }

  void raiseTo(int minCellWidth, int minCellHeight, int minSpalten, int minZeilen) {
    cellWidth = std::max(cellWidth, minCellWidth);
    cellHeight = std::max(cellHeight, minCellHeight);
    spalten = std::max(spalten, minSpalten);
    zeilen = std::max(zeilen, minZeilen);
  }
};
