// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/tdragaufgabenliste.h"

#include <algorithm>
#include <utility>

void tDragAufgabenListe::AddSlot(const QRect& rect, const std::string& text) {
  if (Ziele.empty()) {
    ZielBreite = rect.width();
    ZielHoehe = rect.height();
  }
  Ziele.push_back({rect, text});
  AddBlock(text);
}

void tDragAufgabenListe::AddBlock(const std::string& text) {
  TBlock b;
  b.text = text;
  b.face = int(Bilder.size());
  Bilder.emplace_back();
  b.background = int(Bilder.size());
  Bilder.emplace_back();
  Bloecke.push_back(std::move(b));
}

int tDragAufgabenListe::SlotAt(int x, int y) const {
  for (std::size_t i = 0; i < Ziele.size(); ++i) {
    if (Ziele[i].rect.topLeft() == QPoint(x, y)) return int(i);
  }
  return -1;
}

int tDragAufgabenListe::BlockAt(int x, int y) const {
  for (std::size_t i = 0; i < Bloecke.size(); ++i) {
    const QRect& r = Bloecke[i].rect;
    // Edges included: the right and bottom edge lie at left + width and top + height.
    if (x >= r.left() && x <= r.left() + r.width() && y >= r.top() && y <= r.top() + r.height()) return int(i);
  }
  return -1;
}

std::string tDragAufgabenListe::BlockTextAt(int x, int y) const {
  const int i = BlockAt(x, y);
  return i < 0 ? std::string() : Bloecke[std::size_t(i)].text;
}

QPoint tDragAufgabenListe::Snap(int x, int y, int dx, int dy) const {
  for (const TSlot& s : Ziele) {
    const QRect grown = s.rect.adjusted(-kSnapDistance, -kSnapDistance, kSnapDistance, kSnapDistance);
    // The same 8 pixels on every side: contains() ends at the last pixel, not one past it.
    if (grown.contains(x, y)) {
      return s.rect.topLeft();
    }
  }
  return QPoint(x - dx, y - dy);
}

void tDragAufgabenListe::Swap(int i, int j) {
  if (i == j || i < 0 || j < 0 || std::size_t(i) >= Bloecke.size() || std::size_t(j) >= Bloecke.size()) return;
  std::swap(Bloecke[std::size_t(i)], Bloecke[std::size_t(j)]);
}

void tDragAufgabenListe::Reset() {
  ProZeile = 4;
  BlockBreite = 120;
  Links = Rechts = -1;
  ZielBreite = ZielHoehe = 0;
  Bloecke.clear();
  Ziele.clear();
  Bilder.clear();
}

void tDragAufgabenListe::LayoutPool(int pageWidth, int top, const Random& random) {
  const int n = int(Bloecke.size());
  for (int i = 0; i < n && random; ++i) {
    const int r = random(n);
    if (r != i) Swap(i, r);
  }
  // NR 0 lays out as one column; automatic limits stay on the page.
  const int perRow = std::max(ProZeile, 1);
  int x0 = Links >= 0 ? Links : (pageWidth - perRow * (BlockBreite + 20) + 20) / 2;
  if (Links < 0) x0 = std::max(x0, 0);
  int x1 = Rechts >= 0 ? Rechts : pageWidth - x0;
  if (Rechts < 0) x1 = std::min(x1, pageWidth);
  const int step = perRow > 1 ? (x1 - x0 - BlockBreite) / (perRow - 1) : 0;
  for (int i = 0; i < n; ++i) {
    Bloecke[std::size_t(i)].rect =
        QRect(step * (i % perRow) + x0, (i / perRow) * kRowStep + top, BlockBreite, ZielHoehe);
  }
}

int tDragAufgabenListe::Drop(int block, QPoint corner) {
  if (block < 0 || std::size_t(block) >= Bloecke.size()) return -1;
  const int slot = SlotAt(corner.x(), corner.y());
  if (slot < 0 || Ziele[std::size_t(slot)].text != Bloecke[std::size_t(block)].text) return -1;
  Ziele.erase(Ziele.begin() + slot);
  Bloecke.erase(Bloecke.begin() + block);
  return slot;
}
