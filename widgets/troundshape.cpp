// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/troundshape.h"

#include <algorithm>
#include <cmath>

namespace {

int64_t isqrt(int64_t v) {
  if (v <= 0) return 0;
  auto r = static_cast<int64_t>(std::sqrt(static_cast<double>(v)));
  while (r > 0 && r * r > v) --r;
  while ((r + 1) * (r + 1) <= v) ++r;
  return r;
}

}  // namespace

TRoundShape TRoundShape::inset(int64_t d) const {
  TRoundShape s{left + d, top + d, right - d, bottom - d, std::max<int64_t>(ax - d, 0), std::max<int64_t>(ay - d, 0)};
  if (ax > 0 && ay > 0 && (s.ax == 0 || s.ay == 0)) s.ax = s.ay = 0;
  return s;
}

bool TRoundShape::span(int64_t y, int64_t& x0, int64_t& x1) const {
  if (isEmpty() || y < top || y >= bottom) return false;
  const int64_t w = right - left, h = bottom - top;
  const int64_t rx = std::min(ax, w / 2), ry = std::min(ay, h / 2);
  x0 = left;
  x1 = right;
  if (rx <= 0 || ry <= 0) return true;
  // Doubled distance of the row centre from the centre row of the nearer corner ellipse.
  const int64_t c2 = 2 * (y - top) + 1;
  int64_t dy2;
  if (c2 < 2 * ry) {
    dy2 = 2 * ry - c2;
  } else if (c2 > 2 * (h - ry)) {
    dy2 = c2 - 2 * (h - ry);
  } else {
    return true;
  }
  // Largest doubled horizontal distance D from the corner centre with D² ry² <= (4 ry² − dy2²) rx².
  const __int128 n = (static_cast<__int128>(4 * ry * ry - dy2 * dy2)) * rx * rx;
  const int64_t d = isqrt(static_cast<int64_t>(n / (static_cast<__int128>(ry) * ry)));
  // Column i (counted from the left edge) lies inside when 2 rx − (2i + 1) <= D.
  const int64_t i0 = std::max<int64_t>((2 * rx - d) / 2, 0);
  x0 = left + i0;
  x1 = right - i0;
  return x0 < x1;
}
