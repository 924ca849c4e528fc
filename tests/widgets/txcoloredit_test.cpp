// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/txcoloredit.h"

#include "platform/codec.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace {

void key(QWidget* w, int k, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
  QKeyEvent e(QEvent::KeyPress, k, mods, text);
  QApplication::sendEvent(w, &e);
}

void type(QWidget* w, const std::string& cp1252) {
  for (char c : cp1252) key(w, 0, Qt::NoModifier, zek::toQString(std::string(1, c)));
}

struct Recorder {
  std::vector<std::string> events;
  void attach(tXColorEdit& e) {
    e.OnRichtig = [this](tXColorEdit*) { events.push_back("richtig"); };
    e.OnFalsch = [this](tXColorEdit*) { events.push_back("falsch"); };
    e.OnBeinahe = [this](tXColorEdit*) { events.push_back("beinahe"); };
    e.OnReturn = [this](tXColorEdit*) { events.push_back("return"); };
  }
};

class Edit : public ::testing::Test {
 protected:
  void SetUp() override {
    edit.resize(300, 24);
    edit.show();
    rec.attach(edit);
  }
  tXColorEdit edit;
  Recorder rec;
};

TEST_F(Edit, Defaults) {
  tXColorEdit fresh;
  EXPECT_EQ(fresh.width(), 121);
  EXPECT_EQ(fresh.height(), 21);
  EXPECT_TRUE(fresh.Border());
  EXPECT_EQ(fresh.Color(), QColor(Qt::white));
  EXPECT_EQ(fresh.Attempts(), 0);
  EXPECT_EQ(fresh.CursorPos(), 0);
  EXPECT_EQ(fresh.CharLeft(1), 4);
}

TEST_F(Edit, RightAnswerHidesAndReportsInOrder) {
  edit.setLsg({"to go", "go"});
  type(&edit, "go");
  EXPECT_EQ(edit.Text(), "go");
  key(&edit, Qt::Key_Return);
  EXPECT_EQ(rec.events, (std::vector<std::string>{"return", "richtig"}));
  EXPECT_FALSE(edit.isVisible());
  EXPECT_EQ(edit.Attempts(), 1);
}

TEST_F(Edit, AlmostRightColoursAndPlacesCaret) {
  edit.setLsg({"hallo"});
  type(&edit, "hallx");
  key(&edit, Qt::Key_Return);
  EXPECT_EQ(rec.events, (std::vector<std::string>{"beinahe"}));
  EXPECT_EQ(edit.Farbe(), "00001");
  EXPECT_EQ(edit.CursorPos(), 5);
  EXPECT_TRUE(edit.isVisible());
  // The red letter is painted red.
  const QImage img = edit.surface();
  bool red = false;
  for (int x = edit.CharLeft(5); x < edit.CharLeft(6); ++x) {
    for (int y = 0; y < img.height(); ++y) red |= img.pixelColor(x, y) == QColor(255, 0, 0);
  }
  EXPECT_TRUE(red);
}

TEST_F(Edit, CaseCountsHouse) {
  edit.setLsg({"house"});
  type(&edit, "House");
  key(&edit, Qt::Key_Return);
  EXPECT_EQ(edit.Farbe(), "10000");
  EXPECT_EQ(edit.CursorPos(), 1);
}

TEST_F(Edit, TryAgainClearsTheText) {
  edit.setLsg({"hallo"});
  type(&edit, "xyz");
  key(&edit, Qt::Key_Return);
  EXPECT_EQ(rec.events, (std::vector<std::string>{"return"}));
  EXPECT_EQ(edit.Text(), "");
}

TEST_F(Edit, FifthAttemptEndsEvenANearMiss) {
  edit.setLsg({"hallo"});
  for (int i = 0; i < 4; ++i) {
    edit.setText("hallx");
    key(&edit, Qt::Key_Return);
  }
  EXPECT_EQ(rec.events, std::vector<std::string>(4, "beinahe"));
  edit.setText("hallx");
  key(&edit, Qt::Key_Return);
  EXPECT_EQ(rec.events.back(), "falsch");
  EXPECT_FALSE(edit.isVisible());
}

// A doubled Return on an answer page must not fail the next question unseen.
TEST_F(Edit, EmptyEnterIsNoTry) {
  edit.setLsg({"hallo"});
  key(&edit, Qt::Key_Return);
  edit.setText("   ");
  key(&edit, Qt::Key_Return);
  EXPECT_TRUE(rec.events.empty());
  EXPECT_EQ(edit.Attempts(), 0);
  EXPECT_TRUE(edit.isVisible());
  edit.setText("hallo");
  key(&edit, Qt::Key_Return);
  EXPECT_EQ(rec.events, (std::vector<std::string>{"return", "richtig"}));
  EXPECT_EQ(edit.Attempts(), 1);
}

TEST_F(Edit, HelpPatternIsFilledInPlace) {
  edit.setLsg({"the house"});
  edit.randomDraw = [] { return 0; };
  edit.setHilfe("*");
  EXPECT_EQ(edit.Hilfe(), "t__ ____e");
  key(&edit, Qt::Key_F12);
  EXPECT_EQ(edit.Text(), "t__ ____e");
  EXPECT_EQ(edit.CursorPos(), 2);
  EXPECT_EQ(edit.Attempts(), 0);  // F12 is no attempt
  type(&edit, "he");
  EXPECT_EQ(edit.Text(), "the ____e");
  EXPECT_EQ(edit.CursorPos(), 4);
  type(&edit, "x");  // on the blank: inserted
  EXPECT_EQ(edit.Text(), "thex ____e");
  edit.setText("a.b");
  edit.setCursorPos(2);
  type(&edit, "c");
  EXPECT_EQ(edit.Text(), "acb");
}

TEST_F(Edit, EditingKeys) {
  type(&edit, "abc");
  EXPECT_EQ(edit.CursorPos(), 4);
  key(&edit, Qt::Key_Left);
  key(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.Text(), "ac");
  EXPECT_EQ(edit.CursorPos(), 2);
  key(&edit, Qt::Key_Delete);
  EXPECT_EQ(edit.Text(), "a");
  key(&edit, Qt::Key_Right);
  EXPECT_EQ(edit.CursorPos(), 2);
  key(&edit, Qt::Key_Right);  // already after the last character
  EXPECT_EQ(edit.CursorPos(), 2);
  key(&edit, Qt::Key_Delete);  // nothing behind the caret
  EXPECT_EQ(edit.Text(), "a");
}

TEST_F(Edit, HomeAndEndMoveTheCaretToTheEnds) {
  type(&edit, "abc");
  key(&edit, Qt::Key_Home);
  EXPECT_EQ(edit.CursorPos(), 1);
  type(&edit, "x");
  EXPECT_EQ(edit.Text(), "xabc");
  key(&edit, Qt::Key_End);
  EXPECT_EQ(edit.CursorPos(), 5);
  type(&edit, "y");
  EXPECT_EQ(edit.Text(), "xabcy");
}

TEST_F(Edit, HelpPlaceholdersStandApartAndAWrongBlankShows) {
  // Three placeholders in a row leave background between them, so they can be counted.
  edit.setLsg({"stone"});
  edit.setHilfe("s___e");
  key(&edit, Qt::Key_F12);
  const QImage img = edit.surface();
  const int left = edit.CharLeft(2), right = edit.CharLeft(5);
  int gaps = 0;
  for (int x = left; x < right; ++x) {
    bool ink = false;
    for (int y = 1; y + 1 < img.height(); ++y) ink = ink || img.pixelColor(x, y) == Qt::black;  // inside the frame
    gaps += !ink;
  }
  EXPECT_GE(gaps, 3);
  // "weh tun" for "wehtun": the blank is almost right and red, and red shows on it.
  tXColorEdit blank;
  blank.resize(300, 24);
  blank.show();
  blank.setLsg({"wehtun"});
  type(&blank, "weh tun");
  key(&blank, Qt::Key_Return);
  ASSERT_NE(blank.Farbe().find('1'), std::string::npos);
  const QImage shot = blank.surface();
  int red = 0;
  for (int x = blank.CharLeft(4); x < blank.CharLeft(5); ++x)
    for (int y = 0; y < shot.height(); ++y) red += shot.pixelColor(x, y) == QColor(255, 0, 0);
  EXPECT_GT(red, 4);
}

TEST_F(Edit, TextIsDrawnAtTheScreensPixelRatio) {
  // The surface has as many pixels as the screen gives the field.
  EXPECT_EQ(edit.surface().devicePixelRatio(), edit.devicePixelRatioF());
  EXPECT_EQ(edit.surface().width(), qRound(edit.width() * edit.devicePixelRatioF()));
}

TEST_F(Edit, CtrlAloneBlocksTheKeys) {
  edit.setLsg({"x"});
  edit.setHilfe("_");
  type(&edit, "ab");
  for (int k : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left, Qt::Key_Right, Qt::Key_Return, Qt::Key_F12}) {
    key(&edit, k, Qt::ControlModifier);
  }
  EXPECT_EQ(edit.Text(), "ab");
  EXPECT_EQ(edit.CursorPos(), 3);
  EXPECT_EQ(edit.Attempts(), 0);
  EXPECT_TRUE(rec.events.empty());
}

// A text wider than the field scrolls instead of losing letters ("since" in a gap as wide
// as "seit"); the field keeps its width and the caret stays in sight.
TEST_F(Edit, WideTextScrollsInsteadOfLosingLetters) {
  edit.resize(60, 24);
  for (int i = 0; i < 40; ++i) type(&edit, "m");
  EXPECT_EQ(edit.Text(), std::string(40, 'm'));
  EXPECT_EQ(edit.Farbe().size(), 40u);
  EXPECT_EQ(edit.width(), 60);
  const int caret = edit.CharLeft(edit.CursorPos());
  EXPECT_GT(caret, 0);
  EXPECT_LT(caret, 60);
  EXPECT_LT(edit.CharLeft(1), 0);  // the start has scrolled out to the left
  // Back to the start: the text scrolls the other way.
  for (int i = 0; i < 40; ++i) key(&edit, Qt::Key_Left);
  EXPECT_EQ(edit.CursorPos(), 1);
  EXPECT_EQ(edit.CharLeft(1), 4);
  // A click still finds the character under it.
  EXPECT_EQ(edit.caretPosForX(edit.CharLeft(3) + 1), 3);
  // Only the position table limits the text.
  for (int i = 0; i < 300; ++i) type(&edit, "i");
  EXPECT_EQ(edit.Text().size(), 298u);
  // A short text stands at the left again.
  edit.setText("ab");
  EXPECT_EQ(edit.CharLeft(1), 4);
}

TEST_F(Edit, ControlCharactersAndReadOnlyAreRefused) {
  edit.typeChar('\t');
  edit.typeChar(127);
  EXPECT_EQ(edit.Text(), "");
  edit.setReadOnly(true);
  type(&edit, "a");
  key(&edit, Qt::Key_F12);
  EXPECT_EQ(edit.Text(), "");
  edit.setReadOnly(false);
  edit.OnKeyPress = [](tXColorEdit*, char& c) { if (c == 'a') c = '\xE4'; };
  type(&edit, "a");
  EXPECT_EQ(edit.Text(), "\xE4");
}

TEST_F(Edit, ClickPlacesCaretBeforeTheCharacterRightOfIt) {
  edit.setText("abcd");
  const int mid3 = (edit.CharLeft(3) + edit.CharLeft(4)) / 2;
  EXPECT_EQ(edit.caretPosForX(mid3 - 1), 3);
  EXPECT_EQ(edit.caretPosForX(mid3), 4);
  EXPECT_EQ(edit.caretPosForX(0), 1);
  EXPECT_EQ(edit.caretPosForX(1000), 5);
  std::vector<std::string> order;
  edit.OnMouseDown = [&](tXColorEdit*) { order.push_back("down"); };
  edit.OnClick = [&](tXColorEdit*) { order.push_back("click"); };
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(mid3 - 1, 5), QPointF(mid3 - 1, 5), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&edit, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(mid3 - 1, 5), QPointF(mid3 - 1, 5), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&edit, &release);
  EXPECT_EQ(edit.CursorPos(), 3);
  EXPECT_EQ(order, (std::vector<std::string>{"down", "click"}));
}

TEST_F(Edit, SpecialCharacterMenu) {
  edit.setSpecialChars("\xE4;\x9C;\x8C;\xDF");
  ASSERT_NE(edit.specialMenu(), nullptr);
  const auto actions = edit.specialMenu()->actions();
  ASSERT_EQ(actions.size(), 4);
  EXPECT_EQ(actions[1]->text(), "oe");
  EXPECT_EQ(actions[2]->text(), "OE");
  actions[1]->trigger();
  actions[0]->trigger();
  EXPECT_EQ(edit.Text(), "\x9C\xE4");
  edit.setSpecialChars("");
  EXPECT_EQ(edit.specialMenu(), nullptr);
}

TEST_F(Edit, ResetAndSolutionsResetAttempts) {
  edit.setLsg({"a"});
  edit.setText("b");
  key(&edit, Qt::Key_Return);
  EXPECT_EQ(edit.Attempts(), 1);
  edit.setLsg({"c"});
  EXPECT_EQ(edit.Attempts(), 0);
  edit.setHilfe("_");
  edit.Reset();
  EXPECT_TRUE(edit.Lsg().empty());
  EXPECT_EQ(edit.Text(), "");
  EXPECT_EQ(edit.Hilfe(), "");
  EXPECT_EQ(edit.CursorPos(), 0);
}

}  // namespace
