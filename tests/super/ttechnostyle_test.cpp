// SPDX-License-Identifier: GPL-3.0-or-later
#include "super/ttechnostyle.h"

#include "media/mediacommand.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/tclock.h"
#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <QImage>

#include <map>
#include <set>

namespace {

class TWords final : public TSuperTextSource {
 public:
  TSuperText nextText() override {
    ++calls;
    const int i = calls;
    return {(i % 2 ? "*word" : "meaning") + std::to_string(i), "rec" + std::to_string(i) + ".wav"};
  }
  int calls = 0;
};

class TBitmapHost final : public TTechnoHost {
 public:
  TBitmapHost() : bitmap(800, 572) { bitmap.FillColor(0); }
  QImage canvas() override { return bitmap.view(); }
  void showRect(const QRect& r) override { shown.push_back(r); }
  void showMarkup(const std::string& m) override { markups.push_back(m); }
  TXBitmap bitmap;
  std::vector<QRect> shown;
  std::vector<std::string> markups;
};

TXBitmap plain(int w, int h, std::uint32_t color) {
  TXBitmap b(w, h);
  b.FillColor(color);
  return b;
}

// A picture whose every row has its own colour, to see which rows the band shows.
TXBitmap rows(int w, int h) {
  TXBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.setPixel(x, y, std::uint32_t((y & 0xFF) | ((x & 0xFF) << 8) | (0x40u << 16)));
  return b;
}

TTechnoSettings settings(int alpha, int speed, int border = 0) {
  TTechnoSettings s;
  s.alpha = alpha;
  s.border = border;
  s.setSpeed(speed);
  return s;
}

struct Rig {
  explicit Rig(const TTechnoSettings& s) : style(s, words, host, pump) {
    style.player = [this](const std::string& f) { played.emplace_back(pump.clock().nowMs(), f); };
  }
  TWords words;
  TBitmapHost host;
  TManualPump pump{1};
  TTechnoStyle style;
  std::vector<std::pair<std::int64_t, std::string>> played;
};

TEST(TechnoSettings, SpeedGivesStepAndDelayAndTheFadeIsNeverEmpty) {
  struct Case { int alpha, speed, step, delay, length; bool fading; };
  const Case cases[] = {
      {153, -1, 1, 80, 153, true}, {153, 0, 1, 40, 153, true}, {153, 5, 5, 0, 30, true},
      {153, -25, 1, 1040, 153, true},
      // Opacity below the step: one step, not a division by zero.
      {10, 20, 20, 0, 1, true}, {0, 1, 1, 0, 1, false},
  };
  for (const Case& c : cases) {
    const TTechnoSettings s = settings(c.alpha, c.speed);
    EXPECT_EQ(s.step, c.step) << c.speed;
    EXPECT_EQ(s.frameDelayMs, c.delay) << c.speed;
    EXPECT_EQ(s.fadeLength, c.length) << c.alpha << "/" << c.speed;
    EXPECT_EQ(s.fading, c.fading) << c.alpha;
  }
}

TEST(TechnoSettings, FrameRateEveryFiftyFrames) {
  TFrameRate rate(1000);
  for (int i = 1; i < 50; ++i) EXPECT_FALSE(rate.frame(1000 + i * 10));
  const auto fps = rate.frame(1500);
  ASSERT_TRUE(fps);
  EXPECT_DOUBLE_EQ(*fps, 100.0);
  EXPECT_EQ(TFrameRate::format(*fps), "100.0 fps ");
  for (int i = 1; i < 50; ++i) rate.frame(1500);
  EXPECT_DOUBLE_EQ(*rate.frame(1500), 50000.0);  // no time passed: at least 1 ms
}

TEST(TechnoStyle, PreparedPictureShowsTheRowsFromTheBorderOnAndModeZeroAtFullOpacityIsThePicture) {
  Rig rig(settings(255, 1, 20));
  const TXBitmap source = rows(800, 534);
  rig.style.addPicture(source);
  const TXBitmap& p = rig.style.pictures().front();
  ASSERT_EQ(p.height(), 534 - 40);
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {799, 0}, {123, 77}, {799, 493}})
    EXPECT_EQ(p.pixel(x, y), source.pixel(x, y + 20)) << x << "," << y;
  // A frame of the one picture copies it unchanged into the band at (0, border).
  rig.style.startFrames();
  rig.style.frame();
  EXPECT_EQ(rig.host.bitmap.pixel(123, 20 + 3), source.pixel(123, 3 + 20));
  EXPECT_EQ(rig.host.bitmap.pixel(5, 10), 0u);  // the border stays black
}

TEST(TechnoStyle, ColourModeWithAWhitePictureLeavesTheBackground) {
  TTechnoSettings s = settings(255, 1);
  s.mode = 7;
  s.background = 0x123456;
  Rig rig(s);
  rig.style.addPicture(plain(800, 534, 0xFFFFFF));
  EXPECT_EQ(rig.style.pictures().front().pixel(400, 200), 0x123456u);
}

TEST(TechnoStyle, PreparationBlendsThroughTheBitmapsBlendModes) {
  // What the picture holds is exactly a DrawBlended of the band onto the background.
  for (int mode = 0; mode <= 8; ++mode) {
    TTechnoSettings s = settings(153, 1, 100);
    s.mode = mode;
    s.background = 0x203040;
    s.tint = 0x990099;
    Rig rig(s);
    const TXBitmap source = rows(800, 534);
    rig.style.addPicture(source);
    TXBitmap band(800, 334), expect(800, 334);
    for (int y = 0; y < 334; ++y)
      for (int x = 0; x < 800; ++x) band.setPixel(x, y, source.pixel(x, y + 100));
    expect.FillColor(0x203040);
    expect.setXAlpha(153);
    expect.setXColor(0x990099);
    expect.DrawBlended(0, 0, mode, band);
    const TXBitmap& got = rig.style.pictures().front();
    EXPECT_EQ(std::memcmp(got.bits(), expect.bits(), std::size_t(got.stride()) * 334), 0) << "mode " << mode;
  }
}

TEST(TechnoStyle, WithoutFadingThePictureChangesEveryPictureDelay) {
  TTechnoSettings s = settings(0, 1);  // Transparenz 100: alpha 0, no fading
  s.pictureDelayMs = 1000;
  Rig rig(s);
  for (std::uint32_t c : {0x0000FFu, 0x00FF00u, 0xFF0000u}) rig.style.addPicture(plain(800, 534, c));
  rig.style.startFrames();
  std::vector<std::pair<std::int64_t, int>> changes;
  int last = rig.style.current();
  for (int t = 0; t <= 3500; t += 10) {
    rig.style.frame();
    if (rig.style.current() != last) changes.emplace_back(rig.pump.manualClock().nowMs(), last = rig.style.current());
    rig.pump.manualClock().advanceMs(10);
  }
  ASSERT_EQ(changes.size(), 3u);
  EXPECT_EQ(changes[0].first, 1010);
  EXPECT_EQ(changes[1].first, 2020);
}

TEST(TechnoStyle, AFadeTakesItsLengthInStepsAndEndsOnAnotherPicture) {
  Rig rig(settings(255, 51));  // step 51: five steps, no delay
  for (std::uint32_t c : {0x0000FFu, 0x00FF00u}) rig.style.addPicture(plain(800, 534, c));
  rig.style.startFrames();
  ASSERT_EQ(rig.style.settings().fadeLength, 5);
  rig.style.frame();  // starts a fade: the counter went from 5 to 0, then counts
  const int target = rig.style.current();
  EXPECT_NE(target, rig.style.previous());
  for (int i = 0; i < 4; ++i) rig.style.frame();
  EXPECT_EQ(rig.style.fadeCounter(), 5);
  EXPECT_NE(rig.host.bitmap.pixel(400, 300), target == 0 ? 0x0000FFu : 0x00FF00u);  // 4 of 5 steps
  // The next frame starts the next fade from the target, shown whole.
  rig.style.frame();
  EXPECT_EQ(rig.style.previous(), target);
  EXPECT_EQ(rig.host.bitmap.pixel(400, 300), target == 0 ? 0x0000FFu : 0x00FF00u);
}

TEST(TechnoStyle, StillTextsAlternateWithHalfPauses) {
  TTechnoSettings s = settings(255, 1);
  s.textDelayMs = 2000;
  Rig rig(s);
  rig.style.addPicture(plain(800, 534, 0));
  rig.style.startFrames();
  std::map<std::int64_t, std::string> seen;
  for (int t = 0; t <= 6000; t += 10) {
    rig.style.frame();
    if (seen.empty() || seen.rbegin()->second != rig.style.line1()) seen[t] = rig.style.line1();
    rig.pump.manualClock().advanceMs(10);
  }
  const std::map<std::int64_t, std::string> expect = {
      {0, "*word1"}, {2000, ""}, {3000, "meaning2"}, {5000, ""}, {6000, "*word3"}};
  EXPECT_EQ(seen, expect);
  EXPECT_TRUE(rig.played.empty());  // still texts are never spoken
}

TEST(TechnoStyle, ScrollingTextsAreSpokenAtTheMiddleOfTheBand) {
  TTechnoSettings s = settings(255, 1);
  s.scrolling = true;
  Rig rig(s);
  rig.style.addPicture(plain(800, 534, 0));
  rig.style.startFrames();
  rig.style.frame();
  EXPECT_EQ(rig.style.line1(), "*word1");
  EXPECT_EQ(rig.style.line2(), "meaning2");
  EXPECT_EQ(rig.style.textY(), 533);
  int frames = 1;
  while (rig.played.size() < 2 && frames < 2000) {
    rig.style.frame();
    ++frames;
  }
  ASSERT_EQ(rig.played.size(), 2u);
  EXPECT_EQ(rig.played[0].second, "rec1.wav");
  EXPECT_EQ(rig.played[1].second, "rec2.wav");
  // The first at 267 (534 / 2): 534 - 267 frames; the second a line spacing later.
  EXPECT_EQ(frames, 267 + rig.style.lineSpacing());
}

TEST(TechnoStyle, RunShowsAtMostSixtyFramesASecondUntilStopped) {
  zek::test::TempDir dir("zek-techno");
  QImage picture(800, 534, QImage::Format_RGB32);
  picture.fill(Qt::red);
  ASSERT_TRUE(picture.save(QString::fromStdString((dir.path() / "a.jpg").string()), "JPEG"));
  picture.fill(Qt::blue);
  ASSERT_TRUE(picture.save(QString::fromStdString((dir.path() / "b.bmp").string()), "BMP"));
  TTechnoSettings s = settings(153, 1);
  s.photoDir = zek::fromPath(dir.path()) + "/";
  Rig rig(s);
  rig.pump.hook = [&](std::int64_t now) {
    if (now >= 2000) rig.style.stop();
  };
  EXPECT_TRUE(rig.style.run());
  EXPECT_EQ(rig.style.pictures().size(), 2u);
  ASSERT_EQ(rig.host.markups.size(), 1u);
  EXPECT_NE(rig.host.markups[0].find("<b>Loading...</b>"), std::string::npos);
  EXPECT_GE(rig.style.frames(), 119);
  EXPECT_LE(rig.style.frames(), 121);
  EXPECT_EQ(rig.style.lastFps(), "60.0 fps ");
}

TEST(TechnoStyle, StopWhilePreparingEndsAtOnceWithoutAMessage) {
  // Each picture lets events run before it: a stop from "(ENDE)", Escape or a click while
  // many large photos are read ends the preparation there.
  zek::test::TempDir dir("zek-techno");
  QImage picture(800, 534, QImage::Format_RGB32);
  picture.fill(Qt::red);
  for (int i = 0; i < 6; ++i)
    ASSERT_TRUE(picture.save(QString::fromStdString((dir.path() / ("p" + std::to_string(i) + ".bmp")).string()), "BMP"));
  TTechnoSettings s = settings(153, 1);
  s.photoDir = zek::fromPath(dir.path()) + "/";
  zek::ScriptedDialogs dialogs;
  Rig rig(s);
  int pumped = 0;
  rig.pump.hook = [&](std::int64_t) {
    if (++pumped == 3) rig.style.stop();
  };
  EXPECT_TRUE(rig.style.run());
  EXPECT_LT(rig.style.pictures().size(), 6u);
  EXPECT_EQ(rig.style.frames(), 0);
  EXPECT_TRUE(dialogs.texts().empty());
}

TEST(TechnoStyle, NoPictureToShowMeansNoRun) {
  struct Case { std::vector<std::pair<std::string, std::string>> files; };
  zek::test::TempDir base("zek-techno");
  QImage small(160, 100, QImage::Format_RGB32);
  small.fill(Qt::green);
  const std::string onlyPreview = zek::fromPath(base.mkdir("preview")) + "/";
  ASSERT_TRUE(small.save(QString::fromStdString(onlyPreview + "Vorschau.JPG"), "JPEG"));
  const std::string unreadable = zek::fromPath(base.mkdir("broken")) + "/";
  base.write("broken/a.jpg", "not a picture");
  base.write("broken/b.bmp", "BM");
  const std::string empty = zek::fromPath(base.mkdir("empty")) + "/";
  for (const std::string& dir : {onlyPreview, unreadable, empty, std::string()}) {
    zek::ScriptedDialogs dialogs;
    TTechnoSettings s = settings(153, 1);
    s.photoDir = dir;
    Rig rig(s);
    EXPECT_FALSE(rig.style.run()) << dir;
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Keine Bilder f\xFCr Techno gefunden!"}) << dir;
    EXPECT_EQ(rig.style.frames(), 0);
  }
  EXPECT_TRUE(TTechnoStyle::pictureFiles(onlyPreview).empty());
}

// A word the run-time voice is still speaking has no file yet: silence, not a box that
// would stop the show.
TEST(TechnoStyle, TheDefaultPlayerPassesOverAFileNotThereYet) {
  zek::ScriptedDialogs dialogs;
  std::vector<std::string> befehle;
  zek::setMediaCommandObserver([&](std::string_view befehl, bool) { befehle.emplace_back(befehl); });
  TWords words;
  TBitmapHost host;
  TManualPump pump{1};
  TTechnoStyle style(settings(153, 1), words, host, pump);
  zek::test::TempDir dir("zek-techno");
  style.player(zek::fromPath(dir.path() / "w" / "word.wav"));
  zek::setMediaCommandObserver(nullptr);
  EXPECT_TRUE(befehle.empty());
  EXPECT_TRUE(dialogs.texts().empty());
}

}  // namespace
