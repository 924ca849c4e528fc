// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <vector>

#include "widgets/txbitmap.h"

// A list that owns its bitmaps: removing an entry or clearing the list frees them.
class TXBitmapList {
 public:
  int count() const { return static_cast<int>(m_items.size()); }
  bool isEmpty() const { return m_items.empty(); }

  // Takes the bitmap over and returns its index (-1 for a null pointer, which is not added).
  int add(std::unique_ptr<TXBitmap> bitmap);
  int add(TXBitmap bitmap) { return add(std::make_unique<TXBitmap>(std::move(bitmap))); }

  // nullptr for an index outside the list.
  TXBitmap* at(int index);
  const TXBitmap* at(int index) const;
  int indexOf(const TXBitmap* bitmap) const;

  // Frees the entry; an index outside the list does nothing.
  void remove(int index);
  // Hands the entry over to the caller and removes it from the list.
  std::unique_ptr<TXBitmap> take(int index);
  void clear() { m_items.clear(); }

 private:
  std::vector<std::unique_ptr<TXBitmap>> m_items;
};
