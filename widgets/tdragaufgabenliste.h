// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/txbitmap.h"

#include <QRect>

#include <functional>
#include <string>
#include <vector>

// The drag exercise of a page: word blocks that are dragged onto slots in the text. The
// list keeps the geometry and the rules; the page view moves and draws.
class tDragAufgabenListe {
 public:
  struct TBlock {
    QRect rect;  // its home on the page
    std::string text;
    int face = -1;        // index into Bilder: the block as drawn
    int background = -1;  // index into Bilder: the page under it
  };
  struct TSlot {
    QRect rect;
    std::string text;
  };

  // The random source of the pool shuffle: 0 .. n-1.
  using Random = std::function<int(int n)>;

  std::vector<TBlock> Bloecke;
  std::vector<TSlot> Ziele;
  std::vector<TXBitmap> Bilder;
  int ZielBreite = 0, ZielHoehe = 0;  // size of the first slot
  int ProZeile = 4;                   // NR
  int BlockBreite = 120;
  int Links = -1, Rechts = -1;        // pool limits, -1 automatic

  // Remembers the first slot's size, appends the slot and a block with the same text.
  void AddSlot(const QRect& rect, const std::string& text);
  // A block with two new pictures (decoys come this way).
  void AddBlock(const std::string& text);
  // The slot whose top-left corner is exactly (x, y), else -1.
  int SlotAt(int x, int y) const;
  // The first block whose rectangle holds the point (edges included), else -1.
  int BlockAt(int x, int y) const;
  std::string BlockTextAt(int x, int y) const;
  // Where a block dragged with the pointer at (x, y), grabbed at (dx, dy) inside it, lies:
  // on the corner of the first slot whose rectangle grown by 8 pixels holds the pointer,
  // else under the pointer.
  QPoint Snap(int x, int y, int dx, int dy) const;
  void Swap(int i, int j);
  void Reset();

  // Shuffles the blocks and places them in the pool below `top` on a page `pageWidth` wide.
  void LayoutPool(int pageWidth, int top, const Random& random);
  // A block dropped with its corner at `corner`: the matching slot (same corner, same text)
  // or -1. A match takes the slot and the block away (the caller draws the block first).
  int Drop(int block, QPoint corner);
  bool Done() const { return Ziele.empty(); }

  static constexpr int kSnapDistance = 8;
  static constexpr int kRowStep = 30;
};
