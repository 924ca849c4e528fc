// SPDX-License-Identifier: GPL-3.0-or-later
#include "super/tsuperfade.h"

#include "media/mediacommand.h"
#include "platform/appstate.h"
#include "platform/files.h"
#include "platform/settingsstore.h"
#include "super/tsuperoptions.h"
#include "tests/common/dirsscope.h"
#include "tests/common/testutil.h"
#include "tests/media/mediatestutil.h"
#include "vocab/tbibliothek.h"
#include "vocab/tvoceinstellungen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

const std::string kKey = "SOFTWARE\\ZEK\\zek englisch\\Super";

class SuperFadeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setZufallSeed(3);
    m_bib.setEinstellungen(&m_settings);
    m_bib.Leeren(false);
    const char* words[][3] = {{"apple", "der Apfel", "0"}, {"run", "laufen", "1"},     {"", "", "0"},
                              {"house", "das Haus", "0"},  {"strawberry", "die Erdbeere", "0"}};
    for (auto& w : words) {
      TVokabel v;
      v.Vokabel = w[0];
      v.Bedeutung1 = w[1];
      v.Wortart = std::uint8_t(w[2][0] - '0');
      m_bib.Hinzufuegen(v);
    }
    m_settings.Von = 0;
    m_settings.Bis = m_bib.Anzahl(false) - 1;
  }
  // Runs ticks until the step counter reaches `step` (at most `limit` ticks); returns the ticks.
  static int tickTo(TSuperFadeEngine& e, int step, int limit = 1000) {
    int ticks = 0;
    while (e.step() != step && ticks < limit) {
      e.tick();
      ++ticks;
    }
    return ticks;
  }

  zek::test::TempDir m_dir{"zek-fade"};
  TSettingsStore m_store{m_dir.path() / "settings.ini"};
  TVocEinstellungen m_settings{m_store};
  TBibliothek m_bib;
  TManualPump m_pump;
  zek::test::TManualClock m_mediaClock;
  std::vector<bool> m_tracks{false, true};
  std::vector<std::string> m_media;
  zek::test::TDirsScope m_dirs{m_dir.path()};
  zek::test::TMediaScope m_mediaScope{zek::test::makeNullService(m_mediaClock, [this] {
                                        return std::make_unique<zek::test::TFakeCdDrive>(m_tracks, 5);
                                      }),
                                      m_media};
};

TEST(VocOrder, WalksTheRangeForwardBackwardAndAtRandom) {
  struct Case { int modus, von, bis; std::vector<int> first; };
  const Case cases[] = {
      {TVocEinstellungen::ModusVor, 2, 4, {2, 3, 4, 2, 3}},
      {TVocEinstellungen::ModusZurueck, 2, 4, {4, 3, 2, 4, 3}},
      {TVocEinstellungen::ModusVor, 3, 3, {3, 3, 3}},
  };
  for (const Case& c : cases) {
    TVocOrder order;
    std::vector<int> got;
    for (std::size_t i = 0; i < c.first.size(); ++i) got.push_back(order.next(c.modus, c.von, c.bis));
    EXPECT_EQ(got, c.first) << "modus " << c.modus;
  }
  setZufallSeed(11);
  TVocOrder order;
  std::vector<int> drawn;
  for (int i = 0; i < 300; ++i) drawn.push_back(order.next(TVocEinstellungen::ModusKreuzUndQuer, 10, 14));
  // "to" can come up, nothing outside the range does, and the last draws are not repeated.
  EXPECT_EQ(std::set<int>(drawn.begin(), drawn.end()), (std::set<int>{10, 11, 12, 13, 14}));
  for (std::size_t i = 3; i < drawn.size(); ++i) {
    EXPECT_NE(drawn[i], drawn[i - 1]);
    EXPECT_NE(drawn[i], drawn[i - 2]);
    EXPECT_NE(drawn[i], drawn[i - 3]);
  }
  EXPECT_LE(order.recent().size(), 3u);
  // A one-entry range at random always gives that entry.
  TVocOrder single;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(single.next(TVocEinstellungen::ModusKreuzUndQuer, 7, 7), 7);
}

TEST_F(SuperFadeTest, ClassicStepsShowWordThenMeaningAndEndOnABlackBand) {
  m_store.writeInteger(kKey, "Sprachausgabe", 1);
  m_store.writeInteger(kKey, "Schritte", 20);
  TSuperOptions options(&m_store);
  TSuperFadeEngine e(TSuperFadeEngine::Classic, options, m_bib, m_pump);
  std::vector<std::string> spoken;
  std::vector<TWortSprache> sprachen;
  e.speak = [&](const std::string& w, TWortSprache s) {
    spoken.push_back(w);
    sprachen.push_back(s);
  };
  std::vector<QRect> shown;
  e.showRect = [&](const QRect& r) { shown.push_back(r); };
  e.resize(1024, 768);
  e.begin();
  EXPECT_EQ(e.bandHeight(), 192);

  e.tick();  // step 0: the word fades in
  EXPECT_EQ(e.step(), 0);
  EXPECT_EQ(e.text(), "{ apple }");
  EXPECT_EQ(m_pump.clock().nowMs(), 20 * TSuperFadeEngine::kFadeStepMs);  // paced by the clock
  const QImage& f = e.frame();
  const int y = e.bandY();
  EXPECT_EQ(f.pixelColor(3, y + 3), e.background());
  if (y > 0) {
    EXPECT_EQ(f.pixelColor(3, y - 1), QColor(Qt::black));
  }
  if (y + 192 < 768) {
    EXPECT_EQ(f.pixelColor(3, y + 192), QColor(Qt::black));
  }
  EXPECT_GE(std::min({e.textColor().red(), e.textColor().green(), e.textColor().blue()}), 128);
  EXPECT_LT(std::max({e.background().red(), e.background().green(), e.background().blue()}), 128);
  // Only the band was repainted.
  ASSERT_FALSE(shown.empty());
  for (const QRect& r : shown) EXPECT_EQ(r, QRect(0, y, 1024, 192));

  tickTo(e, 3);  // the word vanishes into the background
  EXPECT_EQ(e.textColor(), e.background());
  tickTo(e, 4);
  EXPECT_EQ(e.text(), "der Apfel");
  tickTo(e, 6);  // kind 3: both black
  EXPECT_EQ(f.pixelColor(3, y + 3), QColor(Qt::black));
  EXPECT_EQ(f.pixelColor(512, y + 96), QColor(Qt::black));
  tickTo(e, 0);
  EXPECT_EQ(e.text(), "{ to run }");  // an English verb gets "to "
  EXPECT_EQ(spoken, (std::vector<std::string>{"apple", "der Apfel", "run"}));
  // Only the English word may reach the run-time voice.
  EXPECT_EQ(sprachen, (std::vector<TWortSprache>{TWortSprache::Englisch, TWortSprache::Deutsch, TWortSprache::Englisch}));
}

TEST_F(SuperFadeTest, ClassicColourChoices) {
  struct Case { const char* value; bool greys, plain; };
  for (const Case c : {Case{"Schwarz-Wei\xDF", true, false}, Case{"OhneHintergrund", false, true}}) {
    TSettingsStore store(m_dir.path() / (std::string(c.greys ? "g" : "p") + ".ini"));
    store.writeBool(kKey, c.value, true);
    TSuperOptions options(&store);
    TSuperFadeEngine e(TSuperFadeEngine::Classic, options, m_bib, m_pump);
    e.resize(800, 600);
    e.begin();
    for (int word = 0; word < 3; ++word) {
      tickTo(e, 0);
      tickTo(e, 1);
      const QColor b = e.background(), t = e.textColor();
      if (c.greys) {
        EXPECT_EQ(t, QColor(Qt::white));
        EXPECT_TRUE(b.red() == b.green() && b.green() == b.blue()) << b.name().toStdString();
      } else {
        EXPECT_EQ(b, QColor(Qt::black));
        EXPECT_NE(t, QColor(Qt::black));
      }
      EXPECT_EQ(e.frame().pixelColor(2, e.bandY() + 2), b);
    }
  }
}

TEST_F(SuperFadeTest, InputCountsOnlyOnceTheFirstStepHasBegun) {
  TSuperOptions options(&m_store);
  TSuperFadeEngine e(TSuperFadeEngine::Classic, options, m_bib, m_pump);
  e.resize(800, 600);
  e.begin();
  e.input();
  EXPECT_FALSE(e.stopped());
  // A click during the first fade ends it early and the next tick closes.
  m_pump.hook = [&](std::int64_t now) {
    if (now == 500) e.input();
  };
  EXPECT_FALSE(e.tick());
  EXPECT_TRUE(e.stopped());
  EXPECT_EQ(m_pump.clock().nowMs(), 500);
  EXPECT_TRUE(e.tick());
}

TEST_F(SuperFadeTest, CrazyPausesGrowWithTheText) {
  m_store.writeInteger(kKey, "Faktor", 100);
  m_store.writeInteger(kKey, "TextDelay", 10);
  m_store.writeInteger(kKey, "Madness", 10);
  m_settings.Von = 4;  // "strawberry": "{ strawberry }" has 14 characters
  TSuperOptions options(&m_store);
  TSuperFadeEngine e(TSuperFadeEngine::Crazy, options, m_bib, m_pump);
  e.resize(800, 600);
  e.begin();
  e.tick();
  EXPECT_EQ(e.text(), "{ strawberry }");
  EXPECT_EQ(e.pause(), 10 * 100 + 8 * 100);
  // Every letter waits TextDelay x 2 ms.
  EXPECT_EQ(m_pump.clock().nowMs(), 14 * 10 * TSuperFadeEngine::kLetterMsPerDelay);
  EXPECT_EQ(tickTo(e, 1), 18);  // the pause runs out on the 18th tick, which starts step 1
  EXPECT_EQ(e.pause(), 8 * 100);
  EXPECT_EQ(tickTo(e, 2), 8);
  EXPECT_EQ(e.text(), "die Erdbeere");
  EXPECT_EQ(e.pause(), 10 * 100 + 12 * 100);
  tickTo(e, 3);
  EXPECT_EQ(e.pause(), 14 * 100);
}

TEST_F(SuperFadeTest, CrazyTwelveCharactersPauseSixteenUnits) {
  m_store.writeInteger(kKey, "Faktor", 50);
  m_store.writeInteger(kKey, "TextDelay", 0);
  m_bib.Leeren(false);
  TVokabel v;
  v.Vokabel = "elephant";  // "{ elephant }"
  v.Bedeutung1 = "der Elefant";
  m_bib.Hinzufuegen(v);
  m_settings.Von = 0;
  m_settings.Bis = 0;
  TSuperOptions options(&m_store);
  TSuperFadeEngine e(TSuperFadeEngine::Crazy, options, m_bib, m_pump);
  e.resize(800, 600);
  e.begin();
  e.tick();
  EXPECT_EQ(e.pause(), 16 * 50);
}

TEST_F(SuperFadeTest, CrazyDrawsLettersInTheTextColourAndClearsToTheBackground) {
  m_store.writeString(kKey, "CarsonBGRColor", "FF0000");  // platform order: blue
  m_store.writeString(kKey, "CarsonTXTColor", "00FFFF");  // yellow
  m_store.writeInteger(kKey, "TextDelay", 0);
  TSuperOptions options(&m_store);
  TSuperFadeEngine e(TSuperFadeEngine::Crazy, options, m_bib, m_pump);
  QRect touched;
  e.showRect = [&](const QRect& r) { touched |= r; };
  e.resize(640, 480);
  e.begin();
  EXPECT_EQ(e.frame().pixelColor(0, 0), QColor(0, 0, 255));
  e.drawCrazy("{ WWWWWWWW }");
  int yellow = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      if (e.frame().pixelColor(x, y) == QColor(255, 255, 0)) ++yellow;
  EXPECT_GT(yellow, 50);
  EXPECT_LT(touched.width() * touched.height(), 640 * 480);  // the letters' cells, not the screen
  e.drawCrazy("");
  EXPECT_EQ(e.frame().pixelColor(320, 240), QColor(0, 0, 255));
  EXPECT_EQ(e.frame().pixelColor(639, 479), QColor(0, 0, 255));
}

TEST_F(SuperFadeTest, MusicRunsWithThePresentation) {
  m_store.writeInteger(kKey, "Musik", kMusikCd);
  TSuperOptions options(&m_store);
  TSuperFadeEngine e(TSuperFadeEngine::Crazy, options, m_bib, m_pump);
  e.resize(320, 240);
  e.begin();
  EXPECT_EQ(m_media, (std::vector<std::string>{"open cdaudio alias cd", "status cd type track 2",
                                               "set cd time format tmsf", "play cd"}));
  m_media.clear();
  e.tick();  // every step polls
  EXPECT_EQ(m_media, std::vector<std::string>{"status cd mode"});
  m_media.clear();
  e.tick();  // a pause: no step, no poll
  EXPECT_TRUE(m_media.empty());
  e.end();
  EXPECT_EQ(m_media, (std::vector<std::string>{"stop cd", "close cd"}));
}

TEST_F(SuperFadeTest, SpeechStaysSilentWithoutItsSetting) {
  TSuperOptions options(&m_store);
  TSuperFadeEngine e(TSuperFadeEngine::Crazy, options, m_bib, m_pump);
  int spoken = 0;
  e.speak = [&](const std::string&, TWortSprache) { ++spoken; };
  e.resize(320, 240);
  e.begin();
  tickTo(e, 3);
  EXPECT_EQ(spoken, 0);
}

TEST_F(SuperFadeTest, BlankEntriesArePassedOver) {
  m_settings.Von = 1;
  m_settings.Bis = 3;
  TSuperOptions options(&m_store);
  TSuperFadeEngine e(TSuperFadeEngine::Crazy, options, m_bib, m_pump);
  e.resize(320, 240);
  e.begin();
  std::vector<std::string> words;
  for (int i = 0; i < 3; ++i) {
    tickTo(e, 0);
    words.push_back(e.text());
    tickTo(e, 1);
  }
  EXPECT_EQ(words, (std::vector<std::string>{"{ to run }", "{ house }", "{ to run }"}));
}

}  // namespace
