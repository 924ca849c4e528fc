// SPDX-License-Identifier: GPL-3.0-or-later
#include "super/tseventies.h"

#include "platform/tclock.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include <map>

namespace {

class TWords final : public TSuperTextSource {
 public:
  TSuperText nextText() override {
    ++calls;
    return {calls % 2 ? "*word " + std::to_string(calls) : "meaning " + std::to_string(calls), {}};
  }
  int calls = 0;
};

class TImageHost final : public TSeventiesHost {
 public:
  TImageHost() : page(800, 572, QImage::Format_RGB32), screen(page) { page.fill(Qt::darkBlue); }
  void loadPage(const std::string& file) override { loaded.push_back(file); }
  std::string pageDir() const override { return dir; }
  void setPageDir(const std::string& d) override { dir = d; }
  QImage& overlay() override { return screen; }
  void restoreScreen() override {
    screen = page.copy();
    ++restores;
  }
  void showRect(const QRect&) override {}
  QRect textArea() const override { return QRect(40, 40, 720, 452); }
  QFont pageFont() const override {
    QFont f("DejaVu Serif");
    f.setPointSize(28);
    return f;
  }
  QColor pageColor() const override { return Qt::yellow; }
  QImage page, screen;
  std::vector<std::string> loaded;
  std::string dir = "/pages/";
  int restores = 0;
};

struct Rig {
  explicit Rig(TSeventiesSettings s) : style(std::move(s), words, host, pump) {}
  TWords words;
  TImageHost host;
  TManualPump pump{10};
  TSeventies style;
};

TEST(Seventies, WordThenMeaningThenTheNextWordEachAfterTheTextDelay) {
  TSeventiesSettings s;
  s.textDelayMs = 2000;
  s.charDelayMs = 40;
  s.backgroundDelayS = 0;
  Rig rig(s);
  std::map<std::int64_t, std::string> started;
  rig.pump.hook = [&](std::int64_t now) {
    if (rig.style.shown().size() > started.size()) started[now] = rig.style.shown().back();
    if (now >= 4500) rig.style.stop();
  };
  rig.style.run();
  const std::map<std::int64_t, std::string> expect = {{0, "*word 1"}, {2000, "meaning 2"}, {4000, "*word 3"}};
  EXPECT_EQ(started, expect);
  EXPECT_EQ(rig.host.dir, "/pages/");
}

TEST(Seventies, TheMeaningStandsAfterTheStarOfItsWord) {
  TSeventiesSettings s;
  s.textDelayMs = 1000;
  s.charDelayMs = 10;
  s.backgroundDelayS = 0;
  Rig rig(s);
  rig.style.start();
  rig.style.pass();
  const QPoint at = rig.style.textPos();
  EXPECT_EQ(rig.style.penX(), at.x() + QFontMetrics(rig.style.font()).horizontalAdvance("*"));
  EXPECT_EQ(rig.style.current(), "word 1");  // "*" typed in the first pass
  // The letters go on the overlay in the page colour; the page itself stays as it was.
  EXPECT_NE(rig.host.screen, rig.host.page);
  for (int t = 0; t < 1000; t += 50) {
    rig.pump.manualClock().advanceMs(50);
    rig.style.pass();
  }
  EXPECT_EQ(rig.style.textPos(), at);
  EXPECT_EQ(rig.style.penX(), at.x() + QFontMetrics(rig.style.font()).horizontalAdvance("*") +
                                  QFontMetrics(rig.style.font()).horizontalAdvance("m"));
}

TEST(Seventies, ABlankIsTypedWithTheLetterAfterIt) {
  TSeventiesSettings s;
  s.backgroundDelayS = 0;
  Rig rig(s);
  rig.style.start();
  rig.style.pass();  // "*"
  for (int i = 0; i < 4; ++i) {
    rig.pump.manualClock().advanceMs(50);
    rig.style.pass();
  }
  EXPECT_EQ(rig.style.current(), " 1");
  rig.pump.manualClock().advanceMs(50);
  rig.style.pass();
  EXPECT_EQ(rig.style.current(), "");  // the blank went with the digit after it
}

TEST(Seventies, BackgroundPagesChangeAndTheChosenPageWins) {
  TSeventiesSettings s;
  s.textDelayMs = 1000;
  s.backgroundDelayS = 1;
  s.pages = {"/dd/a.htx", "/dd/b.htx", "/dd/c.htx"};
  Rig rig(s);
  rig.pump.hook = [&](std::int64_t now) {
    if (now >= 10000) rig.style.stop();
  };
  rig.style.run();
  ASSERT_GE(rig.host.loaded.size(), 4u);
  for (std::size_t i = 1; i < rig.host.loaded.size(); ++i) EXPECT_NE(rig.host.loaded[i], rig.host.loaded[i - 1]);

  // One page: it comes again. None: the page on show stays.
  for (const std::vector<std::string>& pages : {std::vector<std::string>{"/dd/a.htx"}, std::vector<std::string>{}}) {
    s.pages = pages;
    Rig one(s);
    one.pump.hook = [&](std::int64_t now) {
      if (now >= 5000) one.style.stop();
    };
    one.style.run();
    for (const std::string& p : one.host.loaded) EXPECT_EQ(p, "/dd/a.htx");
    EXPECT_EQ(one.host.loaded.empty(), pages.empty());
  }
}

TEST(Seventies, ALongTextShrinksToTheAreaButNotBelowTheFloor) {
  class TLong final : public TSuperTextSource {
   public:
    TSuperText nextText() override { return {std::string(400, 'W'), {}}; }
  } longText;
  TImageHost host;
  TManualPump pump;
  TSeventiesSettings s;
  s.backgroundDelayS = 0;
  TSeventies style(s, longText, host, pump);
  style.start();
  style.pass();  // returns: the shrinking stops at its floor
  EXPECT_EQ(style.font().pointSize(), TSeventies::kMinPoints);
}

TEST(Seventies, APixelSizedPageFontShrinksTooUntilTheLongerTextFits) {
  // Page fonts come in pixels; a long meaning must still fit the area (720 wide).
  class TPixelHost final : public TSeventiesHost {
   public:
    void loadPage(const std::string&) override {}
    std::string pageDir() const override { return {}; }
    void setPageDir(const std::string&) override {}
    QImage& overlay() override { return screen; }
    void restoreScreen() override {}
    void showRect(const QRect&) override {}
    QRect textArea() const override { return QRect(40, 40, 720, 452); }
    QFont pageFont() const override {
      QFont f("DejaVu Serif");
      f.setPixelSize(48);
      return f;
    }
    QColor pageColor() const override { return Qt::white; }
    QImage screen{800, 572, QImage::Format_RGB32};
  } host;
  class TBirthday final : public TSuperTextSource {
   public:
    TSuperText nextText() override {
      return {++n % 2 ? "*Happy birthday!" : "Alles Gute zum Geburtstag; Herzlichen Gl\xFC" "ckwunsch zum Geburtstag", {}};
    }
    int n = 0;
  } texts;
  TManualPump pump;
  TSeventiesSettings s;
  s.backgroundDelayS = 0;
  TSeventies style(s, texts, host, pump);
  style.start();
  style.pass();
  const QFontMetrics fm(style.font());
  EXPECT_LT(style.font().pixelSize(), 48);
  EXPECT_LE(fm.horizontalAdvance(QString::fromLatin1("*Alles Gute zum Geburtstag; Herzlichen Gl\xFC" "ckwunsch zum Geburtstag")),
            720);
  EXPECT_GE(style.textPos().x(), 40);
}

}  // namespace
