// SPDX-License-Identifier: GPL-3.0-or-later
#include "super/tsupersettings.h"

#include <gtest/gtest.h>

namespace ss = zek::supersettings;

namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);

TEST(SuperSettings, FrameDelaySliderPositionsAndLabels) {
  struct Case { int position, ms; const char* label; };
  const Case cases[] = {
      {1, 20, "20 ms"},       {49, 980, "980 ms"}, {50, 1000, "1 s"},   {90, 5000, "5 s"},
      {91, 5500, "5,5 s"},    {140, 30000, "30 s"}, {141, 5000, "5 s"}, {145, 25000, "25 s"},
      {152, 60000, "1:0 min"}, {188, 240000, "4:0 min"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ss::frameDelayMs(c.position), c.ms) << c.position;
    EXPECT_EQ(ss::frameDelayLabel(c.ms, kGerman), c.label) << c.position;
  }
  EXPECT_EQ(ss::frameDelayLabel(5500, QLocale::c()), "5.5 s");
}

TEST(SuperSettings, MillisecondsBackToPositions) {
  // Round trips where the two formulas meet; delays beyond the slider stay at its ends.
  for (int p : {1, 49, 50, 89, 90, 91, 139, 146, 188}) EXPECT_EQ(ss::frameDelayPosition(ss::frameDelayMs(p)), p) << p;
  // 30 s is both 140 and 146; 141..145 (back to 5..25 s) come back as the middle range.
  EXPECT_EQ(ss::frameDelayPosition(ss::frameDelayMs(140)), 146);
  EXPECT_EQ(ss::frameDelayPosition(ss::frameDelayMs(141)), 90);
  EXPECT_EQ(ss::frameDelayPosition(0), 1);
  EXPECT_EQ(ss::frameDelayPosition(4000), 80);
  EXPECT_EQ(ss::frameDelayPosition(1000000), 188);
}

TEST(SuperSettings, IntervalTextsAndSeconds) {
  struct Case { int seconds; const char* text; };
  const Case cases[] = {{30, "30 Sekunden"}, {60, "1 Minute"}, {120, "2 Minuten"}, {300, "5 Minuten"},
                        {1200, "20 Minuten"}};
  for (const Case& c : cases) {
    EXPECT_EQ(ss::intervalText(c.seconds), c.text);
    EXPECT_EQ(ss::intervalSeconds(c.text), c.seconds);
  }
  for (const char* bad : {"", "Minuten", " Minuten", "x Minuten", "20 Stunden", "-5 Sekunden"})
    EXPECT_EQ(ss::intervalSeconds(bad), 0) << bad;
  // 45 s is not offered: the nearer of 30 s and 1 min.
  EXPECT_EQ(ss::intervalText(ss::kIntervalSeconds[ss::nearestIntervalItem(45)]), "30 Sekunden");
  EXPECT_EQ(ss::intervalText(ss::kIntervalSeconds[ss::nearestIntervalItem(900)]), "10 Minuten");
}

TEST(SuperSettings, TechnoTextDelayIsReadWithEitherSeparatorAndBounded) {
  struct Case { const char* text; int ms; };
  const Case cases[] = {
      {"2,5", 2500}, {"2.5", 2500}, {"3", 3000}, {" 0,5 ", 500}, {"abc", 0}, {"", 0},
      // Bounded to what the store keeps: no overflow, nothing below 0.
      {"99999999", 100000}, {"-5", 0}, {"1e9", 100000},
  };
  for (const Case& c : cases) EXPECT_EQ(ss::textDelayMs(c.text, kGerman), c.ms) << c.text;
  EXPECT_EQ(ss::textDelayMs("2.5", QLocale::c()), 2500);
  EXPECT_EQ(ss::textDelayMs("2,5", QLocale::c()), 2500);
  EXPECT_EQ(ss::textDelayText(3000, kGerman), "3,0");
  EXPECT_EQ(ss::ddSpeedLabel(25, kGerman), "2,5 s");
}

TEST(SuperSettings, PreviewMarkup) {
  ss::TPreviewLook look;
  look.background = 0x000000;
  look.text = 0xFFFFFF;
  look.picture = 0x990099;
  look.mode = 7;
  look.transparency = 40;
  look.border = 100;
  look.font = "Andale Mono";
  look.pictureDir = "/p/";
  EXPECT_EQ(ss::previewMarkup(look, true),
            "<body bgcolor=#000000 text=#FFFFFF><box coords=0,0,160><img src=\"/p/vorschau.jpg\" color=#990099 mode=7 "
            "transparent=102><box coords=0,0,160,18 color=#0 top><box coords=0,82,160,18 color=#0 top>"
            "<box coords=0,40,160 align=m><font face=\"Andale Mono, courier new\" size=2>*zek techno");
  look.border = 5;  // 100 * 5 / 534 = 0: no bars
  look.background = 0x0000FF;  // red, written red first
  EXPECT_EQ(ss::previewMarkup(look, false),
            "<body bgcolor=#FF0000 text=#FFFFFF><box coords=0,40,160 align=m><font face=\"Andale Mono, courier new\" "
            "size=2>*zek techno");
}

}  // namespace
