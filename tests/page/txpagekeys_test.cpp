// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/tpagefocus.h"
#include "page/txpage.h"
#include "platform/messages.h"
#include "widgets/txcoloredit.h"
#include "widgets/txmultiplechoice.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

void key(QWidget* w, int k, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
}

void typeAnswer(TPageEdit* f, const std::string& text) {
  for (char c : text) key(f, Qt::Key_A, QString(QChar(c)));
  key(f, Qt::Key_Return);
}

void settle() {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < 50) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct PageKeys : ::testing::Test {
  zek::ScriptedDialogs dialogs;
  TXPage page;
  std::vector<std::string> commands;
  void SetUp() override {
    page.resize(800, 572);
    page.show();
    page.activateWindow();
    page.doneToastMs = 50;
    page.OnCommand = [this](TXPage*, const std::string& c) { commands.push_back(c); };
  }
  // The focus as the learner sees it: a link number, "field N", or nothing.
  std::string focus() const {
    if (page.FocusLink() >= 0 && page.hasFocus()) return "link " + std::to_string(page.FocusLink());
    for (std::size_t i = 0; i < page.Fields().size(); ++i)
      if (page.Fields()[i]->hasFocus()) return "field " + std::to_string(i);
    return "none";
  }
};

}  // namespace

TEST(PageFocus, ReadingOrderAndWrapping) {
  TPageLayout layout;
  // Link 0 on a second line, link 1 on the first line to the right of a field.
  layout.areas = {{0, 0, {16, 60, 40, 16}, 0, false}, {1, 0, {300, 18, 40, 20}, 1, false},
                  {1, 1, {350, 18, 40, 20}, 2, false}};
  const std::vector<TRect> fields = {{100, 16, 80, 24}, {}};  // the second field is solved
  const auto stops = focusOrder(layout, {0, 1}, fields);
  ASSERT_EQ(stops.size(), 3u);
  EXPECT_EQ(stops[0].kind, TFocusStop::Field);
  EXPECT_EQ(stops[1], (TFocusStop{TFocusStop::Link, 1, {300, 18, 40, 20}}));
  EXPECT_EQ(stops[2].index, 0);
  struct Case { int count, current; bool forward; int next; };
  const Case cases[] = {{3, -1, true, 0}, {3, -1, false, 2}, {3, 2, true, 0}, {3, 0, false, 2}, {3, 1, true, 2},
                        {0, -1, true, -1}};
  for (const Case& c : cases) EXPECT_EQ(nextFocusStop(c.count, c.current, c.forward), c.next);
}

TEST_F(PageKeys, TabStepsThroughLinksAndFieldsAndReturnFollowsTheLink) {
  page.ShowHTML("<a href=\"\xA7[one]\">first link</a> We <a gap lsg=\"went\" help=\"*\">went</a> home.<br>"
                "<a href=\"\xA7[two]\">second</a> <a href=\"%@only a hint\">hint</a>");
  settle();
  ASSERT_EQ(page.Fields().size(), 1u);
  EXPECT_EQ(focus(), "field 0");  // the page gives its first field the keyboard
  key(page.Fields()[0], Qt::Key_Tab);
  EXPECT_EQ(focus(), "link 1");  // "second"; the hint-only link is no stop
  key(&page, Qt::Key_Tab);
  EXPECT_EQ(focus(), "link 0");  // round to the top
  key(&page, Qt::Key_Backtab);
  EXPECT_EQ(focus(), "link 1");
  key(&page, Qt::Key_Backtab);
  EXPECT_EQ(focus(), "field 0");
  key(page.Fields()[0], Qt::Key_Backtab);
  EXPECT_EQ(focus(), "link 0");
  // The focus shows: the frame is drawn around the link's words.
  const QImage before = page.grab().toImage();
  page.clearFocus();
  const QImage without = page.grab().toImage();
  EXPECT_NE(before, without);
  page.setFocus();
  key(&page, Qt::Key_Return);
  EXPECT_EQ(commands, std::vector<std::string>{"one"});
}

TEST_F(PageKeys, NumberKeysAnswerTheChoiceGrid) {
  page.ShowHTML("<multiple coords=100,200,150,40 dim=2,3 txt=\"house|mouse|horse|hose|home|hat\" reaction=vokabel>");
  settle();
  TXMultipleChoice* grid = page.MultipleChoice();
  ASSERT_NE(grid, nullptr);
  page.setFocus();
  key(&page, Qt::Key_7);  // no seventh cell
  settle();
  EXPECT_TRUE(commands.empty());
  const int right = grid->Lsg();
  const int wrong = right == 0 ? 1 : 0;
  const std::string wrongText = grid->cellText(wrong);
  key(&page, Qt::Key_1 + wrong);
  settle();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0], "vokabel[" + wrongText + "]-");
  key(&page, Qt::Key_1 + right);  // answered once
  settle();
  EXPECT_EQ(commands.size(), 1u);
}

TEST_F(PageKeys, AFailedGapIsMarkedUnlikeASolvedOneAndThePageEndsWithItsResult) {
  page.ShowHTML("<body bgcolor=#ffffff>We <a gap lsg=\"went\" help=\"*\">went</a> and "
                "<a gap lsg=\"saw\" help=\"*\">saw</a> it.");
  settle();
  ASSERT_EQ(page.Fields().size(), 2u);
  const TRect right = page.Layout().fields[0], wrong = page.Layout().fields[1];
  typeAnswer(page.Fields()[0], "went");
  for (int i = 0; i < 5; ++i) typeAnswer(page.Fields()[1], "xyz");
  settle();
  const QImage shot = page.Buffer().view();
  // Green under the solved gap, red around the failed one.
  EXPECT_EQ(shot.pixelColor(right.x + right.w / 2, right.bottom()), QColor(0x3C, 0xC0, 0x3C));
  EXPECT_EQ(shot.pixelColor(wrong.x - 1, wrong.y + wrong.h / 2).red(), 0xE0);
  EXPECT_NE(shot.pixelColor(right.x - 1, right.y + right.h / 2).red(), 0xE0);
  EXPECT_EQ(page.LastToast(), "1 von 2 richtig");

  page.ShowHTML("A <a gap lsg=\"b\" help=\"*\">b</a>.");
  settle();
  typeAnswer(page.Fields()[0], "b");
  settle();
  EXPECT_EQ(page.LastToast(), "Unglaublich!");
}
