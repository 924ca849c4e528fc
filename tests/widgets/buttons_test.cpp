// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/txcolorbutton.h"
#include "widgets/txlabel.h"
#include "widgets/txlistbox.h"

#include <QApplication>
#include <QMouseEvent>

#include "tests/common/qtevents.h"

#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

using zek::test::mouse;


TEST(ColorButton, OnOffRaisesExactlyOneTurnThenClick) {
  tXColorButton b;
  b.setOnOff(true);
  std::vector<std::string> events;
  b.OnTurnOn = [&](tXColorButton*) { events.push_back("on"); };
  b.OnTurnOff = [&](tXColorButton*) { events.push_back("off"); };
  b.OnClick = [&](tXColorButton*) { events.push_back("click"); };
  b.show();
  for (int i = 0; i < 2; ++i) {
    mouse(&b, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    mouse(&b, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
  }
  mouse(&b, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
  mouse(&b, QEvent::MouseButtonRelease, {300, 5}, Qt::LeftButton, Qt::NoButton);  // outside: nothing
  EXPECT_EQ(events, (std::vector<std::string>{"on", "click", "off", "click"}));
  EXPECT_FALSE(b.IsOn());
}

TEST(ColorButton, PicturesFollowStateAndDisabledShowsNone) {
  tXColorButton b;
  QImage one(10, 10, QImage::Format_RGB32), two(10, 10, QImage::Format_RGB32);
  one.fill(Qt::red);
  two.fill(Qt::blue);
  b.setPicture1(one);
  EXPECT_EQ(b.currentPicture(), &b.Picture1());
  b.setPicture2(two);
  b.setOnOff(true);
  b.setIsOn(true);
  EXPECT_EQ(b.currentPicture(), &b.Picture2());
  b.setEnabled(false);
  EXPECT_EQ(b.currentPicture(), nullptr);
  b.setIsOn(false);
  tXColorButton plain;
  plain.setIsOn(true);  // without OnOff nothing happens
  EXPECT_FALSE(plain.IsOn());
}

TEST(ColorButton, RgbSwapsRedAndBlue) {
  tXColorButton b;
  b.setColor(QColor(0x11, 0x22, 0x33));
  EXPECT_EQ(b.RGB(), 0x112233);
  b.setRGB(0x445566);
  EXPECT_EQ(b.Color(), QColor(0x44, 0x55, 0x66));
}

TEST(Label, NoteNearTheLowerRightCornerGoesLeftAndAbove) {
  QWidget page;
  page.resize(800, 572);
  TXLabel note(&page);
  note.showAt(QRect(700, 540, 80, 20), "Ein Hinweis mit etwas Text", page.size());
  EXPECT_TRUE(note.isVisible() || !page.isVisible());
  EXPECT_EQ(note.x(), 800 - note.width() - 24);
  EXPECT_EQ(note.y(), 540 - note.height() - 8);
  note.showAt(QRect(100, 100, 80, 20), "Kurz", page.size());
  EXPECT_EQ(note.pos(), QPoint(108, 128));
  note.hideNote();
  EXPECT_EQ(note.Caption(), "");
  EXPECT_FALSE(note.WordWrap());
}

TEST(ListBox, TheMouseWheelScrollsThreeRowsANotchWithinTheList) {
  TXListBox list;
  list.resize(200, 300);
  std::vector<std::string> items;
  for (int i = 0; i < 30; ++i) items.push_back("Verb " + std::to_string(i));
  list.setItems(items);
  const auto wheel = [&](int delta) {
    QWheelEvent e(QPointF(50, 50), list.mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&list, &e);
  };
  wheel(-120);
  EXPECT_EQ(list.Topline(), 3);
  for (int i = 0; i < 10; ++i) wheel(-120);
  EXPECT_EQ(list.Topline(), 15);  // 30 items, 15 rows on show: the last row stays at the bottom
  wheel(240);
  EXPECT_EQ(list.Topline(), 9);
  EXPECT_EQ(list.Selected(), -1);  // scrolling picks nothing
}

TEST(ListBox, ScrollingFollowsTheSelection) {
  TXListBox list;
  list.resize(200, 300);
  std::vector<std::string> items;
  for (int i = 0; i < 30; ++i) items.push_back("Eintrag " + std::to_string(i));
  list.setItems(items);
  EXPECT_EQ(list.visibleRows(), 15);
  EXPECT_TRUE(list.scrollBarVisible());
  int changes = 0;
  list.OnChange = [&](TXListBox*) { ++changes; };
  list.setSelected(15);
  EXPECT_EQ(list.Topline(), 1);
  list.setSelected(29);
  EXPECT_EQ(list.Topline(), 15);
  list.setSelected(3);
  EXPECT_EQ(list.Topline(), 3);
  list.setSelected(30);  // beyond the items: ignored
  EXPECT_EQ(list.Selected(), 3);
  EXPECT_EQ(changes, 3);
  list.setItems({"a"});
  EXPECT_EQ(list.Topline(), 0);
  EXPECT_EQ(list.Selected(), -1);
  EXPECT_FALSE(list.scrollBarVisible());
}

TEST(ListBox, OnOffFlipsTheMarker) {
  TXListBox list;
  list.resize(200, 100);
  list.setListenTyp(ltOnOff);
  list.setItems({"$Apfel", "\xA7" "Birne", "Kirsche"});
  list.clickAt(5);
  EXPECT_EQ(list.Items()[0], "\xA7" "Apfel");
  EXPECT_EQ(list.Text(), "Apfel");
  EXPECT_EQ(list.Selected(), 0);
  list.clickAt(45);
  EXPECT_EQ(list.Text(), "Kirsche");
  list.clickAt(95);  // below the last item
  EXPECT_EQ(list.Text(), "");
  list.setListenTyp(ltViewOnly);
  list.setSelected(1);
  EXPECT_EQ(list.Selected(), 2);
}

TEST(ListBox, SizeRule) {
  TXListBox list;
  list.setBounds(0, 0, 10, 55);
  EXPECT_EQ(list.width(), 48);
  EXPECT_EQ(list.height(), 40);
  list.setBounds(0, 0, 100, 5);
  EXPECT_EQ(list.height(), 20);
}

}  // namespace
