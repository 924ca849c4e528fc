// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/lernmarken.h"
#include "memory/lernuhr.h"
#include "memory/tlerndatenbank.h"
#include "memory/trundenbilanz.h"
#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TRundenBilanz bilanz(const std::vector<std::pair<std::string, bool>>& antworten, TLernTrend trend) {
  TRundenBilanz b;
  for (const auto& [frage, richtig] : antworten) b.zaehlen(frage, richtig);
  b.trend = trend;
  return b;
}

TEST(TRundenBilanz, LinesForARoundBesideItsTrend) {
  const struct {
    const char* fall;
    TRundenBilanz b;
    std::vector<std::string> zeilen;
  } faelle[] = {
      {"empty round", bilanz({}, {}), {}},
      {"first round: no trend yet", bilanz({{"apple", true}, {"pear", false}}, {2, 1, 2, 1}),
       {"Diese Runde: 1 richtig, 1 falsch", "Falsch: pear", "Verlauf: Ihre ersten Antworten seit 30 Tagen"}},
      {"all right, answers only this week", bilanz({{"apple", true}}, {5, 4, 5, 4}),
       {"Diese Runde: 1 richtig, 0 falsch", "Alles richtig!", "Verlauf: letzte 7 Tage 80 % richtig"}},
      {"a wrong one twice is named once",
       bilanz({{"pear", false}, {"plum", true}, {"pear", false}, {"pear", true}}, {30, 20, 90, 81}),
       {"Diese Runde: 2 richtig, 2 falsch", "Falsch: pear",
        "Verlauf: letzte 7 Tage 67 % richtig, letzte 30 Tage 90 %"}},
      {"more than three wrong ones are counted",
       bilanz({{"a", false}, {"b", false}, {"c", false}, {"d", false}, {"e", false}}, {10, 5, 10, 5}),
       {"Diese Runde: 0 richtig, 5 falsch", "Falsch: a; b; c und 2 weitere", "Verlauf: letzte 7 Tage 50 % richtig"}},
  };
  for (const auto& f : faelle) EXPECT_EQ(rundenBilanzZeilen(f.b), f.zeilen) << f.fall;
  EXPECT_EQ(rundenBilanzText(faelle[1].b, "|", "Diese Sitzung"),
            "Diese Sitzung: 1 richtig, 1 falsch|Falsch: pear|Verlauf: Ihre ersten Antworten seit 30 Tagen");
}

TEST(TRundenBilanz, PercentRoundsHalfUp) {
  EXPECT_EQ(lernProzent(0, 0), -1);
  EXPECT_EQ(lernProzent(2, 3), 67);
  EXPECT_EQ(lernProzent(1, 8), 13);  // 12.5
  EXPECT_EQ(lernProzent(3, 3), 100);
}

class THeute {
 public:
  explicit THeute(int tag) { setzen(tag); }
  ~THeute() { unsetenv("ZEK_TODAY"); }
  void setzen(int tag) { setenv("ZEK_TODAY", lernDatum(tag).c_str(), 1); }
};

TLernAntwort antwort(TLernArt art, const std::string& frage, bool richtig) {
  TLernAntwort a;
  a.art = art;
  a.sammlung = art == TLernArt::Vokabel ? "Obst.asc" : "Verben";
  a.frage = frage;
  a.richtig = richtig;
  return a;
}

// The database counts each trainer's round apart and puts the trend of its last 7 and 30
// days beside it; the tally starts again with each round.
TEST(TLernDatenbank, ARoundsTallyAndTrendPerTrainer) {
  zek::test::TempDir dir;
  const int start = lernTagAus(2026, 5, 1);
  THeute heute(start);
  TLernDatenbank db(dir.path() / "lern.sqlite");
  // Twenty days ago: 4 answers, 1 right; ten days ago nothing; today a round of 3, 2 right.
  heute.setzen(start - 20);
  for (int i = 0; i < 4; ++i) db.antwort(antwort(TLernArt::Vokabel, "w" + std::to_string(i), i == 0));
  db.antwort(antwort(TLernArt::Verb, "go (Past Tense)", false));
  heute.setzen(start);
  db.rundeBeginnen(TLernArt::Vokabel);
  db.antwort(antwort(TLernArt::Vokabel, "apple", true));
  db.antwort(antwort(TLernArt::Verb, "go (Past Tense)", true));  // another trainer's round
  db.antwort(antwort(TLernArt::Vokabel, "pear", false));
  db.antwort(antwort(TLernArt::Vokabel, "pear", true));
  const auto b = db.rundeAbschliessen(TLernArt::Vokabel);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->richtig, 2);
  EXPECT_EQ(b->falsch, 1);
  EXPECT_EQ(b->falsche, std::vector<std::string>{"pear"});
  EXPECT_EQ(b->trend.antworten7, 3);
  EXPECT_EQ(b->trend.richtig7, 2);
  EXPECT_EQ(b->trend.antworten30, 7);
  EXPECT_EQ(b->trend.richtig30, 3);
  EXPECT_TRUE(db.rundeAbschliessen(TLernArt::Vokabel)->leer());
  const auto verb = db.rundeAbschliessen(TLernArt::Verb);
  EXPECT_EQ(verb->richtig + verb->falsch, 2);  // no round began: all since the database opened
  EXPECT_EQ(verb->trend.antworten30, 2);
  db.antwort(antwort(TLernArt::Verb, "go (Past Tense)", true));
  db.rundeBeginnen(TLernArt::Verb);
  EXPECT_TRUE(db.rundeAbschliessen(TLernArt::Verb)->leer());
}

// A round whose answers cannot be written still ends with what the learner did.
TEST(TLernDatenbank, ARoundCountsAnswersTheDatabaseCouldNotTake) {
  zek::test::TempDir dir;
  THeute heute(lernTagAus(2026, 5, 1));
  TLernDatenbank db(dir.write("datei", "x") / "lern.sqlite");
  ASSERT_FALSE(db.offen());
  db.antwort(antwort(TLernArt::Vokabel, "apple", false));
  const auto b = db.rundeAbschliessen(TLernArt::Vokabel);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->falsch, 1);
  EXPECT_EQ(b->trend.antworten30, 0);
}

class TZaehler : public TLernspeicher {
 public:
  bool aktiv() const override { return an; }
  int faelligAnzahl(TLernArt art) override { return art == TLernArt::Vokabel ? 12 : art == TLernArt::Verb ? 3 : 0; }
  bool an = true;
};

TEST(LernMarken, PagesShowTheDueCountsAndTheirPartsOnlyWithTheMemoryOn) {
  TZaehler speicher;
  const std::string seite =
      "<+N><!--heute-faellig:vokabel--><br><!-- Kacheln --><a>x</a>"
      "<!--lernspeicher--><br><a>F\xE4llige</a> <!--heute-faellig:verb--><!--/lernspeicher--> Ende";
  const struct {
    bool an;
    std::string erwartet;
  } faelle[] = {
      {true,
       "<+N>Heute f\xE4llig: 12<br><!-- Kacheln --><a>x</a>"
       "<!--lernspeicher--><br><a>F\xE4llige</a> Heute f\xE4llig: 3<!--/lernspeicher--> Ende"},
      {false, "<+N><!--heute-faellig:vokabel--><br><!-- Kacheln --><a>x</a> Ende"},
  };
  for (const auto& f : faelle) {
    speicher.an = f.an;
    std::string text = seite;
    lernMarkenErsetzen(text, speicher);
    EXPECT_EQ(text, f.erwartet) << f.an;
  }
  // Broken or foreign marks change nothing.
  speicher.an = true;
  for (std::string kaputt : {"<!--heute-faellig:gibtsnicht--> x", "a <!--heute-faellig:vokabel"}) {
    const std::string vorher = kaputt;
    lernMarkenErsetzen(kaputt, speicher);
    EXPECT_EQ(kaputt, vorher);
  }
  speicher.an = false;
  std::string offen = "a <!--lernspeicher--> b";
  lernMarkenErsetzen(offen, speicher);
  EXPECT_EQ(offen, "a <!--lernspeicher--> b");
}

}  // namespace
