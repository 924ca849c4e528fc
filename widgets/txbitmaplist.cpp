// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/txbitmaplist.h"

int TXBitmapList::add(std::unique_ptr<TXBitmap> bitmap) {
  if (!bitmap) return -1;
  m_items.push_back(std::move(bitmap));
  return count() - 1;
}

TXBitmap* TXBitmapList::at(int index) {
  return index >= 0 && index < count() ? m_items[static_cast<size_t>(index)].get() : nullptr;
}

const TXBitmap* TXBitmapList::at(int index) const {
  return index >= 0 && index < count() ? m_items[static_cast<size_t>(index)].get() : nullptr;
}

int TXBitmapList::indexOf(const TXBitmap* bitmap) const {
  for (int i = 0; i < count(); ++i) {
    if (m_items[static_cast<size_t>(i)].get() == bitmap) return i;
  }
  return -1;
}

void TXBitmapList::remove(int index) {
  if (index >= 0 && index < count()) m_items.erase(m_items.begin() + index);
}

std::unique_ptr<TXBitmap> TXBitmapList::take(int index) {
  if (index < 0 || index >= count()) return nullptr;
  auto item = std::move(m_items[static_cast<size_t>(index)]);
  m_items.erase(m_items.begin() + index);
  return item;
}
