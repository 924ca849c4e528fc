// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/txpage.h"

#include "platform/messages.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

void waitMs(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

void send(TXPage& page, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent e(type, QPointF(pos), page.mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(&page, &e);
}

// Presses at `from`, moves there in 4-pixel steps with the button held, releases at `to`.
void drag(TXPage& page, QPoint from, QPoint to) {
  send(page, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  const QPoint d = to - from;
  const int steps = std::max(1, (std::max(std::abs(d.x()), std::abs(d.y())) + 3) / 4);
  for (int i = 1; i <= steps; ++i) send(page, QEvent::MouseMove, from + d * i / steps, Qt::NoButton, Qt::LeftButton);
  send(page, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

const tDragAufgabenListe::TBlock* block(const TXPage& page, const std::string& text) {
  for (const auto& b : page.DragList().Bloecke) {
    if (b.text == text) return &b;
  }
  return nullptr;
}

// No shuffle at all: every draw keeps the element where it is.
std::function<int(int)> keepOrder() {
  auto i = std::make_shared<int>(0);
  return [i](int n) { return (*i)++ % n; };
}

// The sentence parts reversed: draws n-1, n-2, ... for the first half.
std::function<int(int)> reverseOrder() {
  auto i = std::make_shared<int>(0);
  return [i](int n) {
    const int k = (*i)++ % n;
    return k < n / 2 ? n - 1 - k : k;
  };
}

struct DragPageTest : ::testing::Test {
  zek::ScriptedDialogs dialogs;
  TXPage page;
  void SetUp() override {
    page.resize(800, 572);
    page.glideStepMs = 1;
    page.contractFrameMs = 2;
  }
  void show(const std::string& body) {
    page.ShowHTML("<body bgcolor=#102030 text=#FFFFFF klotz=#808080 kbgr=#204060>" + body);
  }
};

TEST_F(DragPageTest, ABlockDroppedOnItsSlotStaysAndADecoyGlidesBack) {
  page.dragRandom = keepOrder();
  show("<box coords=40,100,700>I <a drag>usually</a> get up early.<klotz falsch=\"never\" y=250 nr=5 left=80>");
  ASSERT_EQ(page.DragList().Bloecke.size(), 2u);
  const TRect slot = page.Layout().dragSlots.at(0);
  const auto* usually = block(page, "usually");
  const auto* never = block(page, "never");
  ASSERT_TRUE(usually && never);
  EXPECT_EQ(usually->rect, QRect(80, 250, 100, slot.h));
  EXPECT_EQ(never->rect.topLeft(), QPoint(215, 250));
  // The face is drawn in the block colour.
  EXPECT_EQ(page.Buffer().pixel(82, 252), rgbColor(0x20, 0x40, 0x60));
  EXPECT_FALSE(page.ExerciseDone());

  // The decoy over the slot snaps there, then glides home; the page is as it was.
  const QImage before = page.VisibleImage();
  drag(page, never->rect.center(), QPoint(slot.x + 5, slot.y + 5));
  EXPECT_TRUE(page.DragAnimating());
  waitMs(200);
  EXPECT_FALSE(page.DragAnimating());
  EXPECT_EQ(page.VisibleImage(), before);
  EXPECT_EQ(page.DragList().Ziele.size(), 1u);

  // Released with the pointer 9 pixels left of the slot: no snap, it glides back too.
  drag(page, block(page, "usually")->rect.topLeft() + QPoint(2, 2), QPoint(slot.x - 9, slot.y + 2));
  waitMs(200);
  EXPECT_EQ(page.DragList().Ziele.size(), 1u);

  // On its slot it stays: the slot is gone and the face is drawn there for good.
  drag(page, block(page, "usually")->rect.topLeft() + QPoint(2, 2), QPoint(slot.x + 2 + 6, slot.y + 2));
  EXPECT_TRUE(page.DragList().Ziele.empty());
  EXPECT_EQ(page.DragList().Bloecke.size(), 1u);
  EXPECT_EQ(page.Buffer().pixel(slot.x + 1, slot.y + 1), rgbColor(0x20, 0x40, 0x60));
  EXPECT_TRUE(page.ExerciseDone());
  // A full repaint keeps the placed block.
  page.resize(801, 572);
  page.resize(800, 572);
  EXPECT_EQ(page.Buffer().pixel(slot.x + 1, slot.y + 1), rgbColor(0x20, 0x40, 0x60));
}

TEST_F(DragPageTest, NoLinkFollowsADragThatEndsOnIt) {
  page.dragRandom = keepOrder();
  std::vector<std::string> commands;
  page.OnCommand = [&](TXPage*, const std::string& c) { commands.push_back(c); };
  show("<box coords=40,100,700>I <a drag>usually</a> go.<br><a href=\"\xA7[weiter]\">Weiter zur n\xE4" "chsten</a>"
       "<klotz y=250>");
  const TRect link = page.Layout().areas.at(0).rect;
  drag(page, block(page, "usually")->rect.center(), QPoint(link.x + 2, link.y + 2));
  waitMs(200);
  EXPECT_TRUE(commands.empty());
}

TEST_F(DragPageTest, SentencesAreBuiltByDraggingAndContractWhenSolved) {
  page.dragRandom = reverseOrder();
  show("<satz teile=\"Have you /ever been /to /London?\" coords=80,400,640,40>"
       "<satz teile=\"no parts\" coords=0,450,640,40><satz coords=80,500,640,40>");
  ASSERT_EQ(page.SentenceList().Saetze.size(), 1u);  // left 0 and no TEILE make none
  const auto& s = *page.SentenceList().Saetze[0];
  ASSERT_EQ(s.Teile.size(), 4u);
  EXPECT_EQ(s.Teile[0].text, "London?");
  EXPECT_EQ(s.Teile[0].rect.x(), 80);
  EXPECT_EQ(s.Teile[1].rect.x(), 80 + s.Teile[0].rect.width() + 3);
  EXPECT_EQ(s.Teile[0].rect.width(), s.Teile[0].textWidth + 8);
  // Each part to the left edge of its place, in order (2 pixels in: the range of the part
  // before ends 1 pixel in). The last one is in place once the others are.
  const std::vector<std::string> order = {"Have you ", "ever been ", "to "};
  // The toast "Unglaublich!" runs inside the page's own loop: watch for it meanwhile.
  bool toast = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] { toast = toast || page.ToastRunning(); });
  watch.start(5);
  for (std::size_t i = 0; i < order.size(); ++i) {
    ASSERT_FALSE(page.SentenceList().Saetze.empty());
    const auto& parts = page.SentenceList().Saetze[0]->Teile;
    int left = 80;
    for (std::size_t k = 0; k < i; ++k) left += parts[k].rect.width() + 3;
    const auto part = std::find_if(parts.begin(), parts.end(), [&](const auto& t) { return t.text == order[i]; });
    ASSERT_NE(part, parts.end());
    EXPECT_FALSE(page.ExerciseDone());
    drag(page, part->rect.topLeft() + QPoint(3, 10), QPoint(left + 2, 410));
    waitMs(30);
    if (i + 1 < order.size()) {
      EXPECT_EQ(page.SentenceList().Saetze.at(0)->Teile[i].text, order[i]);
    }
  }
  waitMs(150);
  EXPECT_TRUE(page.SentenceList().Done());
  EXPECT_TRUE(page.ExerciseDone());
  EXPECT_TRUE(toast);
}

// A sentence 100000 pixels high, in 300 parts, took gigabytes of part pictures.
TEST_F(DragPageTest, PartPicturesAreBoundedByThePage) {
  std::string teile;
  for (int i = 0; i < 300; ++i) teile += "part" + std::to_string(i) + " /";
  show("<satz teile=\"" + teile + "end\" coords=10,100,800,100000>");
  ASSERT_EQ(page.SentenceList().Saetze.size(), 1u);
  for (const auto& t : page.SentenceList().Saetze[0]->Teile) ASSERT_LE(t.rect.height(), page.height());
  EXPECT_TRUE(dialogs.messages().empty());

  // Many such sentences are refused with a message; the page is still shown.
  std::string viele;
  for (int i = 0; i < 60; ++i) viele += "<satz teile=\"" + teile + "end\" coords=10,100,800,100000>";
  show(viele);
  EXPECT_TRUE(page.SentenceList().Saetze.empty());
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_NE(dialogs.messages()[0].text.find("zu gro"), std::string::npos);
}

TEST_F(DragPageTest, DriverSeesBlocksAndPartsAndClearingForgetsThem) {
  page.dragRandom = keepOrder();
  show("<box coords=40,100,700><a drag>usually</a><klotz y=250><satz teile=\"a /b\" coords=80,400,640,40>");
  const std::vector<TDriveCell> cells = page.driveCells();
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[0].text, "usually");
  page.ShowHTML("<body>Neu");
  EXPECT_TRUE(page.driveCells().empty());
  EXPECT_TRUE(page.ExerciseDone());
}

}  // namespace
