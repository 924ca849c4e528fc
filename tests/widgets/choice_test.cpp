// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/txcheckbox.h"
#include "widgets/txmultiplechoice.h"
#include "widgets/txradiogroup.h"

#include "platform/codec.h"
#include "platform/messages.h"

#include <QApplication>
#include <QMouseEvent>

#include "tests/common/qtevents.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <random>

namespace {

using zek::test::mouse;
using zek::test::click;


TEST(MultipleChoice, SizeRuleAndColumnNumbering) {
  TXMultipleChoice mc;
  mc.setCells(10, 20, 100, 30);
  EXPECT_EQ(mc.CellWidth(), 120);
  EXPECT_EQ(mc.CellHeight(), 40);
  EXPECT_EQ(mc.Zeilen(), 2);  // one row becomes two
  mc.setZeilen(3);
  mc.setSpalten(2);
  EXPECT_EQ(mc.size(), QSize(240, 120));
  mc.setItems({"a", "b", "c", "d", "e", "f"});
  std::vector<int> picked;
  mc.OnSelect = [&](TXMultipleChoice*, int entry, Qt::MouseButton) { picked.push_back(entry); };
  mc.show();
  click(&mc, {10, 10});    // column 0, row 0
  click(&mc, {10, 90});    // column 0, row 2
  click(&mc, {130, 50});   // column 1, row 1
  EXPECT_EQ(picked, (std::vector<int>{0, 2, 4}));
  EXPECT_EQ(mc.Selected(), 4);
  EXPECT_EQ(mc.cellText(4), "e");
  mc.setItems({"x"});
  EXPECT_EQ(mc.cellText(3), "Antwort 3");
}

TEST(MultipleChoice, LongChoicesStayInsideTheirCells) {
  const char* texte[] = {"etwas an die gro\xDF" "e Glocke h\xE4ngen; viel Aufhebens um etwas machen",
                         "Feierabend machen; Schluss machen f\xFCr heute",
                         "ein Verm\xF6gen kosten; sehr teuer sein; unbezahlbar",
                         "Rechtsanwaltsfachangestelltenausbildungsverordnung",
                         "kurz", "etwas versuchen; es probieren; sein Gl\xFC" "ck versuchen"};
  QFont font("DejaVu Sans");
  font.setPointSize(14);
  for (const char* t : texte) {
    const TZellenSatz satz = zelleSetzen(zek::toQString(t), font, 250, 50);
    const QFontMetrics fm(satz.font);
    EXPECT_LE(satz.zeilen.size() * fm.lineSpacing(), 50 + fm.leading()) << t;
    for (const QString& z : satz.zeilen) EXPECT_LE(fm.horizontalAdvance(z), 250 - 12) << t;
    EXPECT_GE(satz.font.pointSizeF(), 14.0 * 2 / 3 - 0.01) << t;
  }
  EXPECT_EQ(zelleSetzen("kurz", font, 250, 50).zeilen, QStringList{"kurz"});
  EXPECT_EQ(zelleSetzen("kurz", font, 250, 50).font.pointSizeF(), 14.0);

  // Painted: the columns between the cells stay free of ink.
  TXMultipleChoice mc;
  mc.setFont(font);
  mc.setCells(0, 0, 250, 50);
  mc.setSpalten(3);
  mc.setZeilen(2);
  std::vector<std::string> items;
  for (const char* t : texte) items.push_back(t);
  mc.setItems(items);
  mc.setInActiveColor(Qt::black);
  mc.resize(750, 100);
  mc.show();
  mc.repaint();
  const QImage& bild = mc.surface();
  if (const char* ordner = std::getenv("ZEK_SHOT_DIR")) bild.save(QString(ordner) + "/choice-long.png");
  for (int x : {0, 1, 248, 249, 250, 251, 498, 499, 500, 501, 748, 749}) {
    for (int y = 0; y < bild.height(); ++y)
      ASSERT_EQ(bild.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
  }
}

TEST(MultipleChoice, ShuffleKeepsTheRightAnswer) {
  TXMultipleChoice mc;
  mc.setZeilen(3);
  mc.setSpalten(2);
  const std::vector<std::string> items = {"right", "b", "c", "d", "e", "f"};
  std::mt19937 rng(7);
  mc.random = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  for (int round = 0; round < 50; ++round) {
    mc.setItems(items);
    const int lsg = mc.Shuffle();
    ASSERT_GE(lsg, 0);
    EXPECT_EQ(mc.Items()[static_cast<size_t>(lsg)], "right");
    EXPECT_EQ(mc.Lsg(), lsg);
  }
}

TEST(MultipleChoice, CountMismatchIsReported) {
  zek::ScriptedDialogs dialogs;
  TXMultipleChoice mc;
  mc.setItems({"only one"});  // one row, one column → two rows
  EXPECT_EQ(mc.Shuffle(), -1);
  EXPECT_EQ(mc.Lsg(), 0);
  ASSERT_EQ(dialogs.texts(), (std::vector<std::string>{"Die Anzahl der Items stimmt nicht (Multiple Choice)."}));
}

TEST(MultipleChoice, HighlightFreezesTheGrid) {
  TXMultipleChoice mc;
  mc.setItems({"a", "b"});
  mc.show();
  mouse(&mc, QEvent::MouseMove, {10, 50}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(mc.HoverIndex(), 1);
  mc.setHighlight(0);
  EXPECT_EQ(mc.HoverIndex(), 0);
  mouse(&mc, QEvent::MouseMove, {10, 50}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(mc.HoverIndex(), 0);  // no colour follows the mouse any more
  int selects = 0;
  mc.OnSelect = [&](TXMultipleChoice*, int, Qt::MouseButton) { ++selects; };
  click(&mc, {10, 50});
  EXPECT_EQ(selects, 0);
  EXPECT_EQ(mc.Selected(), -1);
  click(&mc, {10, 50}, Qt::RightButton);  // a right click still reports, without selecting
  EXPECT_EQ(selects, 1);
  EXPECT_EQ(mc.Selected(), -1);
}

TEST(RadioGroup, CellsBeyondTheItemsAreOptions) {
  tXRadioGroup rg;
  rg.setCellWidth(10);
  rg.setCellHeight(5);
  EXPECT_EQ(rg.CellWidth(), 60);
  EXPECT_EQ(rg.CellHeight(), 16);
  rg.setZeilen(2);
  rg.setSpalten(2);
  rg.setItems({"langsam", "", "schnell"});
  EXPECT_EQ(rg.cellText(1), "Option 1");
  EXPECT_EQ(rg.cellText(3), "Option 3");
  int clicks = 0;
  rg.OnClick = [&](tXRadioGroup*) { ++clicks; };
  rg.show();
  click(&rg, {70, 20});  // column 1, row 1 → entry 3, no item
  EXPECT_EQ(rg.Selected(), 3);
  EXPECT_EQ(clicks, 1);
  rg.setSelected(5);  // beyond the items: refused
  EXPECT_EQ(rg.Selected(), 3);
}

TEST(CheckBox, TogglesOnPressClicksOnlyInside) {
  tXCheckBox cb;
  int clicks = 0;
  cb.OnClick = [&](TXCustomCheckBox*) { ++clicks; };
  cb.show();
  mouse(&cb, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_TRUE(cb.Checked());
  mouse(&cb, QEvent::MouseButtonRelease, {500, 5}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(clicks, 0);
  click(&cb, {5, 5});
  EXPECT_FALSE(cb.Checked());
  EXPECT_EQ(clicks, 1);
}

}  // namespace
