// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/txbitmaplist.h"

#include <gtest/gtest.h>

namespace {

TEST(TXBitmapList, OwnsAddsTakesAndRemoves) {
  TXBitmapList list;
  EXPECT_TRUE(list.isEmpty());
  EXPECT_EQ(list.add(std::unique_ptr<TXBitmap>()), -1);
  EXPECT_EQ(list.add(TXBitmap(3, 2)), 0);
  EXPECT_EQ(list.add(std::make_unique<TXBitmap>(5, 4)), 1);
  EXPECT_EQ(list.add(TXBitmap(7, 1)), 2);
  ASSERT_EQ(list.count(), 3);
  EXPECT_EQ(list.at(1)->width(), 5);
  EXPECT_EQ(list.at(3), nullptr);
  EXPECT_EQ(list.at(-1), nullptr);
  EXPECT_EQ(list.indexOf(list.at(2)), 2);

  std::unique_ptr<TXBitmap> taken = list.take(0);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->width(), 3);
  EXPECT_EQ(list.indexOf(taken.get()), -1);
  EXPECT_EQ(list.at(0)->width(), 5);

  list.remove(5);  // outside: nothing
  list.remove(0);
  ASSERT_EQ(list.count(), 1);
  EXPECT_EQ(list.at(0)->width(), 7);
  EXPECT_EQ(list.take(4), nullptr);
  list.clear();
  EXPECT_TRUE(list.isEmpty());
}

}  // namespace
