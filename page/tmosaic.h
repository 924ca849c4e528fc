// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/tpagelayout.h"

#include <random>
#include <vector>

class TPicture;
class TXBitmap;

// The running picture mosaic of a page (BOX LOMO): cells over the box areas, each showing a
// random picture (or quarters of one), redrawn one at a time by the page's timer.
class TMosaic {
 public:
  explicit TMosaic(std::uint32_t seed = 1) : m_random(seed) {}

  void addPicture(const TPicture* picture);
  // An area of a LOMO box (its rectangle, or ZONE2); call after every picture is added.
  void addArea(const TRect& area);
  bool empty() const { return m_pictures.empty(); }
  int speedMs = 500;

  TSize cellSize() const;
  const std::vector<TRect>& cells() const { return m_cells; }

  void paintAll(TXBitmap& target);
  // Redraws one random cell; returns it (empty when there is none).
  TRect step(TXBitmap& target);

  // Cells of `area` for the cell size: a whole number of columns, each stacked or halved.
  static std::vector<TRect> cellsOf(const TRect& area, TSize cell);

 private:
  void drawCell(TXBitmap& target, const TRect& cell, int depth);
  std::vector<const TPicture*> m_pictures;
  std::vector<TRect> m_areas;
  std::vector<TRect> m_cells;
  std::minstd_rand m_random;
};
