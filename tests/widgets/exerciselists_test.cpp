// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/tdragaufgabenliste.h"
#include "widgets/tsatzbauliste.h"

#include <gtest/gtest.h>

namespace {

tDragAufgabenListe pool(int blocks, int perRow, int width, int left = -1) {
  tDragAufgabenListe d;
  d.AddSlot(QRect(10, 10, 50, 20), "a");
  for (int i = 1; i < blocks; ++i) d.AddBlock("b" + std::to_string(i));
  d.ProZeile = perRow;
  d.BlockBreite = width;
  d.Links = left;
  d.LayoutPool(800, 350, {});
  return d;
}

TEST(DragPool, PlacesBlocksInRowsBetweenItsLimits) {
  const tDragAufgabenListe four = pool(6, 4, 120);
  // (800 - 4 x 140 + 20) / 2 = 130 .. 670.
  const std::vector<int> xs = {130, 270, 410, 550, 130, 270};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(four.Bloecke[std::size_t(i)].rect.x(), xs[std::size_t(i)]) << i;
    EXPECT_EQ(four.Bloecke[std::size_t(i)].rect.y(), i < 4 ? 350 : 380) << i;
    EXPECT_EQ(four.Bloecke[std::size_t(i)].rect.size(), QSize(120, 20));
  }
  // The gallery's pool: NR 5, LEFT 80.
  const tDragAufgabenListe five = pool(5, 5, 100, 80);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(five.Bloecke[std::size_t(i)].rect.x(), 80 + 135 * i);
  // NR 0 is one column and NR 1 puts every block at the left limit; both stay on the page.
  for (const int nr : {0, 1}) {
    const tDragAufgabenListe one = pool(3, nr, 120);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(one.Bloecke[std::size_t(i)].rect.x(), 340) << nr;
      EXPECT_EQ(one.Bloecke[std::size_t(i)].rect.y(), 350 + 30 * i) << nr;
    }
  }
  // Too many blocks per row for the page: the automatic left limit stays at 0.
  EXPECT_EQ(pool(3, 20, 120).Bloecke[0].rect.x(), 0);
}

TEST(DragPool, ShufflesWithTheGivenRandomSource) {
  tDragAufgabenListe d;
  for (const char* t : {"a", "b", "c"}) d.AddBlock(t);
  // i = 0 draws 2, i = 1 draws 1 (stays), i = 2 draws 0: a b c -> c b a -> a b c ... as drawn.
  std::vector<int> draws = {2, 1, 0};
  std::size_t next = 0;
  d.LayoutPool(800, 350, [&](int n) {
    EXPECT_EQ(n, 3);
    return draws[next++];
  });
  EXPECT_EQ(next, 3u);
  EXPECT_EQ(d.Bloecke[0].text, "a");
  EXPECT_EQ(d.Bloecke[2].text, "c");
}

TEST(DragBlocks, SnapWithinEightPixelsAndMatchOnlyTheirText) {
  tDragAufgabenListe d;
  d.AddSlot(QRect(100, 100, 60, 20), "house");
  d.AddSlot(QRect(300, 100, 60, 20), "house");
  d.AddSlot(QRect(100, 200, 60, 20), "mouse");
  d.AddBlock("horse");  // a decoy
  ASSERT_EQ(d.Bloecke.size(), 4u);
  EXPECT_EQ(d.ZielBreite, 60);
  EXPECT_EQ(d.ZielHoehe, 20);
  // The slot (pixels 100..159, 100..119) grown by 8 pixels on every side catches the
  // pointer; 9 pixels off any side it does not.
  struct Case { int x, y; bool snaps; };
  const Case cases[] = {{92, 95, true},   {167, 127, true},  {91, 95, false},  {168, 110, false},
                        {120, 92, true},  {120, 91, false},  {120, 127, true}, {120, 128, false}};
  for (const Case& c : cases)
    EXPECT_EQ(d.Snap(c.x, c.y, 5, 5), c.snaps ? QPoint(100, 100) : QPoint(c.x - 5, c.y - 5)) << c.x << "," << c.y;
  EXPECT_EQ(d.SlotAt(300, 100), 1);
  EXPECT_EQ(d.SlotAt(301, 100), -1);
  // Blocks are found with their edges.
  d.Bloecke[0].rect = QRect(10, 10, 50, 20);
  EXPECT_EQ(d.BlockAt(60, 30), 0);
  EXPECT_EQ(d.BlockAt(61, 30), -1);
  EXPECT_EQ(d.BlockTextAt(10, 10), "house");
  // A decoy never matches; the second "house" block fits the second "house" slot.
  EXPECT_EQ(d.Drop(3, QPoint(100, 100)), -1);
  EXPECT_EQ(d.Drop(2, QPoint(100, 100)), -1);  // "mouse" on a "house" slot
  EXPECT_EQ(d.Drop(1, QPoint(300, 101)), -1);  // not on the corner
  EXPECT_EQ(d.Drop(1, QPoint(300, 100)), 1);
  EXPECT_EQ(d.Ziele.size(), 2u);
  EXPECT_EQ(d.Drop(0, QPoint(100, 100)), 0);
  EXPECT_EQ(d.Drop(0, QPoint(100, 200)), 0);  // "mouse" is now block 0
  EXPECT_TRUE(d.Done());
  EXPECT_EQ(d.Bloecke.size(), 1u);  // the decoy stays
  d.Reset();
  EXPECT_EQ(d.ProZeile, 4);
  EXPECT_EQ(d.BlockBreite, 120);
  EXPECT_TRUE(d.Bilder.empty());
}

// A sentence laid out with parts of the given widths, in the given order.
tSatzbauListe sentence(const std::vector<std::string>& parts, const std::vector<int>& order) {
  tSatzbauListe l;
  l.AddSentence(QRect(80, 400, 640, 40), parts);
  auto& s = *l.Saetze[0];
  std::vector<tSatzteilListe::TTeil> shuffled;
  for (const int i : order) shuffled.push_back(s.Teile[std::size_t(i)]);
  s.Teile = shuffled;
  for (auto& t : s.Teile) t.rect.setWidth(int(t.text.size()) * 10 + 8);
  s.LayoutParts();
  return l;
}

TEST(SentenceBuilding, AddsPartsAndLaysThemOutThreePixelsApart) {
  tSatzbauListe l;
  l.AddSentence(QRect(80, 400, 640, 40), {"Have you ", "ever been ", "to ", "London?"});
  const auto& s = *l.Saetze[0];
  EXPECT_EQ(s.Loesung, "Have you ever been to London?");
  ASSERT_EQ(s.Teile.size(), 4u);
  EXPECT_EQ(s.Teile[1].rect, QRect(196, 400, 100, 40));
  tSatzbauListe laid = sentence({"ab", "cde", "f"}, {2, 0, 1});
  const auto& t = laid.Saetze[0]->Teile;
  EXPECT_EQ(t[0].rect.x(), 80);
  EXPECT_EQ(t[1].rect.x(), 80 + 18 + 3);
  EXPECT_EQ(t[2].rect.x(), 80 + 18 + 3 + 28 + 3);
  EXPECT_FALSE(laid.IsSolved(0));
}

TEST(SentenceBuilding, DraggedPartTakesTheSlotItMeets) {
  // "f" (18 wide) at 80, "ab" (28) at 101, "cde" (38) at 132.
  tSatzbauListe l = sentence({"ab", "cde", "f"}, {2, 0, 1});
  ASSERT_TRUE(l.PartAt(140, 410));  // "cde"
  EXPECT_EQ(l.Teil, 2);
  EXPECT_EQ(l.TeilBreite, 38);
  // Its own place is a slot; nothing moves.
  EXPECT_EQ(l.DropSlot(134), 132);
  EXPECT_TRUE(l.AufPlatz);
  EXPECT_EQ(l.Teil, 2);
  // Between the slots: off place.
  EXPECT_EQ(l.DropSlot(60), tSatzbauListe::kNoSlot);
  EXPECT_FALSE(l.AufPlatz);
  // At the left edge of "f": the two change places.
  EXPECT_EQ(l.DropSlot(78), 80);
  EXPECT_EQ(l.Teil, 0);
  const auto& t = l.Saetze[0]->Teile;
  EXPECT_EQ(t[0].text, "cde");
  EXPECT_EQ(t[2].text, "f");
  EXPECT_EQ(t[1].rect.x(), 80 + 38 + 3);
  // A part after the dragged one is met at its right edge.
  const int right = t[1].rect.x() + t[1].rect.width();
  EXPECT_EQ(l.DropSlot(right + 4), right - 38);
  EXPECT_EQ(l.Teil, 1);
  EXPECT_EQ(l.Saetze[0]->Teile[1].text, "cde");
}

TEST(SentenceBuilding, SolvedWhenTheTextsReadAsTheSolution) {
  // The same part twice is solved in either order.
  tSatzbauListe twice = sentence({"la ", "la ", "land"}, {1, 0, 2});
  EXPECT_TRUE(twice.IsSolved(0));
  tSatzbauListe l = sentence({"ab", "cd"}, {1, 0});
  EXPECT_FALSE(l.IsSolved(0));
  EXPECT_FALSE(l.IsSolved(1));
  ASSERT_TRUE(l.PartAt(81, 401));
  l.DropSlot(l.Saetze[0]->Teile[1].rect.right() + 1);
  EXPECT_TRUE(l.IsSolved(0));
  l.RemoveCurrent();
  EXPECT_TRUE(l.Done());
  EXPECT_EQ(l.Aktuell, -1);
}

}  // namespace
