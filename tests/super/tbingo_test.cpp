// SPDX-License-Identifier: GPL-3.0-or-later
#include "super/tbingo.h"

#include "platform/files.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "tests/common/testutil.h"
#include "tests/vocab/vocabfixtures.h"
#include "vocab/tbibliothek.h"
#include "vocab/tvoceinstellungen.h"
#include "vocab/vokabeldatei.h"

#include <gtest/gtest.h>

namespace {

class TTestHost final : public TBingoHost {
 public:
  QImage image{800, 600, QImage::Format_RGB32};
  std::vector<std::string> pages;
  std::string dir;
  QImage canvas() override { return QImage(image.bits(), image.width(), image.height(), image.bytesPerLine(), image.format()); }
  void showRect(const QRect&) override {}
  void loadPage(const std::string& name) override { pages.push_back(name); }
  std::string pageDir() const override { return dir; }
};

struct BingoTest : ::testing::Test {
  zek::ScriptedDialogs dialogs;
  zek::test::TempDir tmp{"zek-bingo"};
  TSettingsStore store{tmp.path() / "settings.ini"};
  TVocEinstellungen e{store};
  TBibliothek bib;
  TTestHost host;
  TManualPump pump;

  BingoTest() {
    bib.setEinstellungen(&e);
    bib.setZufall(5);
    setZufallSeed(5);
    e.Richtung = TVocEinstellungen::RichtungBeides;
    e.NichtZuSchwer.fill(true);
    bib.Leeren(false);
    const char* words[][2] = {{"apple", "der Apfel"}, {"pear", "die Birne"}, {"plum", "die Pflaume"},
                              {"lemon", "die Zitrone"}, {"bread", "das Brot"}, {"cheese", "der K\xE4se"},
                              {"milk", "die Milch"}, {"honey", "der Honig"}};
    for (auto& w : words) {
      TVokabel v;
      v.Vokabel = w[0];
      v.Bedeutung1 = w[1];
      bib.Hinzufuegen(v);
    }
    e.Von = 0;
    e.Bis = bib.Anzahl(false) - 1;
    host.dir = zek::fromPath(tmp.path()) + "/";
  }
};

TEST(BingoList, ReadsPairsAndSkipsBrokenLines) {
  zek::test::TempDir dir("zek-bingo-list");
  const auto file = dir.write("bingo.txt", "red\t#FF0000\r\nno tab\n\tnothing\ndog\tder Hund\tdie Katze\nempty\t\n");
  const auto pairs = readBingoList(zek::fromPath(file));
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].meaning, "#FF0000");
  EXPECT_EQ(pairs[1].word, "dog");
  EXPECT_EQ(pairs[1].wrong, "die Katze");
  EXPECT_TRUE(readBingoList(zek::fromPath(dir.path() / "none.txt")).empty());
}

TEST_F(BingoTest, NeverFiveWrongPairsInARow) {
  TBingo game(bib, host, pump);
  game.setWordList({{"dog", "der Hund", "die Katze"}, {"cat", "die Katze", ""}, {"cow", "die Kuh", ""},
                    {"pig", "das Schwein", ""}, {"hen", "das Huhn", ""}});
  int run = 0, wrong = 0;
  for (int i = 0; i < 5000; ++i) {
    game.nextPair();
    run = game.wrongPair() ? run + 1 : 0;
    wrong += game.wrongPair();
    ASSERT_LE(run, 4) << "pair " << i;
    ASSERT_FALSE(game.lower().empty());
  }
  EXPECT_GT(wrong, 1500);  // about half are wrong
}

TEST_F(BingoTest, JudgementsMoveTimeWithinItsBounds) {
  TBingo game(bib, host, pump);
  for (int i = 0; i < 50; ++i) {
    game.nextPair();
    game.setTime(game.wrongPair() ? 5 : 97);
    game.judge();
    EXPECT_EQ(game.time(), game.wrongPair() ? 0 : 100);
    EXPECT_FALSE(game.clicksEnabled());
  }
}

TEST_F(BingoTest, ClicksCountOnlyAfterHalfTheFadeIn) {
  TBingo game(bib, host, pump);
  game.nextPair();
  game.judge();
  const std::int64_t start = pump.clock().nowMs();
  std::int64_t ended = -1;
  pump.hook = [&](std::int64_t now) {
    if (now - start == 100 || now - start == 300) game.click();
  };
  game.fade(TBingo::kFadeMs, true);
  ended = pump.clock().nowMs() - start;
  EXPECT_TRUE(game.clicked());
  EXPECT_EQ(ended, 300);  // the click at 100 ms (level 204) did nothing, the one at 300 ended it
}

TEST_F(BingoTest, AClickEarlyInTheFadeInAfterAPairLetPassIsNotJudged) {
  TBingo game(bib, host, pump);
  game.nextPair();
  game.fade(TBingo::kFadeMs, true);  // let pass: no click, so no judgement switched clicks off
  ASSERT_TRUE(game.clicksEnabled());
  game.nextPair();
  const std::int64_t start = pump.clock().nowMs();
  pump.hook = [&](std::int64_t now) {
    if (now - start == 100 || now - start == 300) game.click();
  };
  game.fade(TBingo::kFadeMs, true);
  EXPECT_EQ(pump.clock().nowMs() - start, 300);  // the click at 100 ms did nothing
}

TEST_F(BingoTest, AColourMeaningIsDrawnAsASwatch) {
  TBingo game(bib, host, pump);
  game.setWordList({{"red", "#FF0000", ""}});
  for (int i = 0; i < 1000 && !(game.lower() == "#FF0000" && !game.wrongPair()); ++i) game.nextPair();
  ASSERT_EQ(game.lower(), "#FF0000");
  game.drawPanel(TBingo::kLowerPanel, game.lower());
  EXPECT_EQ(host.image.pixelColor(400, 400), QColor(255, 0, 0));
  EXPECT_EQ(host.image.pixelColor(60, 400), QColor(Qt::white));
}

TEST_F(BingoTest, StoppingSaysByeAndReturnsToTheVocabularyPage) {
  TBingo game(bib, host, pump);
  pump.hook = [&](std::int64_t now) {
    if (now >= 6000) game.stop();
  };
  game.run();
  ASSERT_FALSE(game.messages().empty());
  EXPECT_EQ(game.messages().front(), "ROUND 1|GET READY!");
  EXPECT_EQ(game.messages().back(), "BYE BYE|SCORE 0");
  EXPECT_EQ(host.pages, (std::vector<std::string>{"start.htx", "..\\vokabeln.htx"}));
}

TEST_F(BingoTest, RightClicksReachRoundTwoWithoutTouchingTheLibrary) {
  bib.setVeraendert(false);
  const auto before = bib.Eintraege().size();
  TBingo game(bib, host, pump);
  pump.hook = [&](std::int64_t) {
    if (game.round() == 2) game.stop();
    else if (!game.wrongPair()) game.click();
  };
  game.run();
  EXPECT_EQ(game.round(), 2);
  EXPECT_EQ(game.score(), TBingo::kJudgementsPerRound);
  EXPECT_EQ(bib.Eintraege().size(), before);  // no random selection was made to reload
}

TEST_F(BingoTest, TimeRunningOutEndsTheGame) {
  TBingo game(bib, host, pump);
  game.setTime(4);
  game.run();
  EXPECT_EQ(game.time(), 0);
  // The end says what the game brought.
  ASSERT_GE(game.messages().size(), 2u);
  EXPECT_EQ(game.messages()[game.messages().size() - 2], "TIME UP|GAME OVER");
  EXPECT_EQ(game.messages().back(), "FINAL SCORE|" + std::to_string(game.score()));
  EXPECT_EQ(host.pages.back(), "again.htx");
}

TEST_F(BingoTest, RoundTwoReloadsOnlyAnUnchangedRandomSelection) {
  tmp.write("Vokabeln/Obst.asc",
            schreibeVokabeln(vt::mitDie({"apple", "pear", "plum", "cherry", "peach", "grape", "lemon", "melon"})));
  for (const bool changed : {false, true}) {
    bib.ZufallsAuswahl(zek::fromPath(tmp.path() / "Vokabeln") + "/");
    ASSERT_EQ(bib.Anzahl(false), 8);
    e.Von = 0;
    e.Bis = 3;
    TVokabel own = *bib.Eintrag(0);
    if (changed) {
      own.Bedeutung1 = "der eigene Apfel";
      bib.SetEintrag(0, own);
    }
    TBingo game(bib, host, pump);
    pump.hook = [&](std::int64_t) {
      if (game.round() == 2) game.stop();
      else if (!game.wrongPair()) game.click();
    };
    game.run();
    ASSERT_EQ(game.round(), 2);
    // Reloaded: the whole new selection is the range. Changed: nothing is thrown away.
    EXPECT_EQ(e.Bis, changed ? 3 : 7) << "changed " << changed;
    EXPECT_EQ(bib.Eintrag(0)->Bedeutung1, own.Bedeutung1);
  }
}

TEST_F(BingoTest, FewDistinctWordsDoNotHoldUpTheNextPair) {
  bib.Leeren(false);
  for (const char* m : {"die Bank", "das Ufer", "die Sitzbank", "die Reihe"}) {
    TVokabel v;
    v.Vokabel = "bank";
    v.Bedeutung1 = m;
    bib.Hinzufuegen(v);
  }
  e.Von = 0;
  e.Bis = 3;
  TBingo game(bib, host, pump);
  for (int i = 0; i < 30; ++i) {
    game.nextPair();
    EXPECT_EQ(game.upper(), "bank");
  }
  EXPECT_LE(game.recentWords().size(), 2u);
}

TEST_F(BingoTest, ATextTooWideShrinksToTheSmallestSizeAndStops) {
  TBingo game(bib, host, pump);
  host.image.fill(Qt::black);
  game.drawPanel(TBingo::kUpperPanel, std::string(400, 'W'));
  // Drawn (white panel with letters) and clipped to the panel.
  EXPECT_EQ(host.image.pixelColor(400, 31), QColor(Qt::white));
  EXPECT_EQ(host.image.pixelColor(400, 250), QColor(Qt::black));
  int dark = 0;
  for (int x = 0; x < 800; ++x) dark += host.image.pixelColor(x, 133).lightness() < 128;
  EXPECT_GT(dark, 0);
}

}  // namespace
