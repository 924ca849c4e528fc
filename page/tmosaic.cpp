// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/tmosaic.h"

#include "page/tpicturelist.h"

#include <algorithm>
#include <cstring>

void TMosaic::addPicture(const TPicture* picture) {
  if (picture && picture->width() > 0 && picture->height() > 0) m_pictures.push_back(picture);
}

TSize TMosaic::cellSize() const {
  int w = 50, h = 0;
  for (const TPicture* p : m_pictures) {
    w = std::max(w, p->width());
    h = std::max(h, p->height());
  }
  // Pictures made for a 3:2 cell but a few pixels off still tile it exactly.
  const int twoThirds = (2 * w + 2) / 3;
  if (std::abs(h - twoThirds) <= 3) h = twoThirds;
  return {w, std::max(h, 1)};
}

std::vector<TRect> TMosaic::cellsOf(const TRect& area, TSize cell) {
  std::vector<TRect> out;
  if (cell.w <= 0 || cell.h <= 0 || area.w <= 0 || area.h <= 0 || area.w % cell.w != 0) return out;
  const int columns = area.w / cell.w;
  const int n = area.h / cell.h;
  const bool stacked = area.h % cell.h == 0;
  if (!stacked && n != 1 && n != 3 && n != 7 && n != 15) return out;
  for (int c = 0; c < columns; ++c) {
    const int x = area.x + c * cell.w;
    if (stacked) {
      for (int r = 0; r < n; ++r) out.push_back({x, area.y + r * cell.h, cell.w, cell.h});
      continue;
    }
    std::vector<TRect> pieces{{x, area.y, cell.w, area.h}};
    while (pieces.front().h > cell.h) {
      std::vector<TRect> next;
      for (const TRect& p : pieces) {
        const int top = p.h / 2;
        next.push_back({p.x, p.y, p.w, top});
        next.push_back({p.x, p.y + top, p.w, p.h - top});
      }
      pieces = std::move(next);
    }
    out.insert(out.end(), pieces.begin(), pieces.end());
  }
  return out;
}

void TMosaic::addArea(const TRect& area) {
  m_areas.push_back(area);
  const auto cells = cellsOf(area, cellSize());
  m_cells.insert(m_cells.end(), cells.begin(), cells.end());
}

void TMosaic::paintAll(TXBitmap& target) {
  for (const TRect& c : m_cells) drawCell(target, c, 0);
}

TRect TMosaic::step(TXBitmap& target) {
  if (m_cells.empty() || m_pictures.empty()) return {};
  const TRect cell = m_cells[std::size_t(m_random() % m_cells.size())];
  drawCell(target, cell, 0);
  return cell;
}

void TMosaic::drawCell(TXBitmap& target, const TRect& cell, int depth) {
  if (cell.w <= 0 || cell.h <= 0) return;
  // A piece narrower than every picture can never be drawn by picking pictures: it gets a
  // random colour instead, and so does one the bounded search missed.
  const TPicture* chosen = nullptr;
  for (int tries = 0; tries < 64 && !chosen; ++tries) {
    const TPicture* p = m_pictures[std::size_t(m_random() % m_pictures.size())];
    if (p->width() <= cell.w) chosen = p;
  }
  if (!chosen || depth > 12) {
    const std::uint32_t colour = std::uint32_t(m_random()) & 0xFFFFFFu;
    for (int y = std::max(0, cell.y); y < std::min(target.height(), cell.bottom()); ++y)
      for (int x = std::max(0, cell.x); x < std::min(target.width(), cell.right()); ++x) target.setPixel(x, y, colour);
    return;
  }
  if (chosen->width() == cell.w) {
    const TXBitmap& src = chosen->bitmap();
    const int h = std::min(cell.h, src.height());
    for (int y = 0; y < h; ++y) {
      const int ty = cell.y + y;
      if (ty < 0 || ty >= target.height()) continue;
      const int x0 = std::max(0, -cell.x), x1 = std::min(cell.w, target.width() - cell.x);
      if (x1 <= x0) continue;
      std::memcpy(target.scanLine(ty) + (cell.x + x0) * 3, src.scanLine(y) + x0 * 3, std::size_t(x1 - x0) * 3);
    }
    return;
  }
  const int hw = cell.w / 2, hh = cell.h / 2;
  drawCell(target, {cell.x, cell.y, hw, hh}, depth + 1);
  drawCell(target, {cell.x + hw, cell.y, cell.w - hw, hh}, depth + 1);
  drawCell(target, {cell.x, cell.y + hh, hw, cell.h - hh}, depth + 1);
  drawCell(target, {cell.x + hw, cell.y + hh, cell.w - hw, cell.h - hh}, depth + 1);
}
