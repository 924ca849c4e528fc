// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include "widgets/troundshape.h"

// A one-bit mask at four times the resolution of a window of target pixels. One byte holds the
// sub-pixels of two neighbouring target pixels in one mask row: the high four bits belong to the
// even pixel, the low four to the odd one. The coverage of a target pixel is the number of set
// bits among its 4 × 4 sub-pixels (0 to 16).
class TCoverageMask {
 public:
  // The window [left, left + width) × [top, top + height) in target pixels.
  TCoverageMask(int64_t left, int64_t top, int width, int height);

  int64_t left() const { return m_left; }
  int64_t top() const { return m_top; }
  int width() const { return m_width; }
  int height() const { return m_height; }

  // Sets the sub-pixels inside the shape (sub-pixel coordinates of the same plane as the window).
  void add(const TRoundShape& shape);
  // Clears them again, which cuts holes: the mask is no longer convex.
  void subtract(const TRoundShape& shape);

  // Coverage of target pixel (x, y), window coordinates of the plane; 0 outside the window.
  int coverage(int64_t x, int64_t y) const;
  // Coverage of the n pixels from (x, y) rightwards, all inside the window.
  void coverageRow(int64_t x, int64_t y, int n, uint8_t* out) const;

 private:
  void paint(const TRoundShape& shape, bool on);
  void setBits(int subRow, int64_t from, int64_t to, bool on);

  int64_t m_left;
  int64_t m_top;
  int m_width;
  int m_height;
  int m_rowBytes;
  // Convex masks may take full rows 1 and 4 of a pixel pair as full coverage; a mask with a
  // hole may not (a thin hole can lie between them).
  bool m_convex = true;
  std::vector<uint8_t> m_bits;
};
