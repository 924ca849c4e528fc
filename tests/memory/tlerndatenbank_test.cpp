#include "memory/lernuhr.h"
#include "memory/tlerndatenbank.h"
#include "platform/eigeneantworten.h"
#include "platform/files.h"
#include "tests/common/testutil.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// "Today" for the memory's clock while the object lives.
class THeute {
 public:
  explicit THeute(int tag) { setzen(tag); }
  ~THeute() { unsetenv("ZEK_TODAY"); }
  void setzen(int tag) { setenv("ZEK_TODAY", lernDatum(tag).c_str(), 1); }
};

TLernAntwort vokabel(const std::string& wort, bool richtig, int versuche = 1, const std::string& bib = "Obst.asc") {
  TLernAntwort a;
  a.art = TLernArt::Vokabel;
  a.sammlung = bib;
  a.frage = wort;
  a.daten = wort + " record";
  a.richtig = richtig;
  a.versuche = versuche;
  return a;
}

const int kStart = lernTagAus(2026, 3, 2);

TEST(TLernDatenbank, ARoundWithOneWrongAnswerFallsDueOnTheExpectedDays) {
  zek::test::TempDir dir;
  THeute heute(kStart);
  TLernDatenbank db(dir.path() / "lern.sqlite");
  ASSERT_TRUE(db.offen());
  for (const char* w : {"apple", "pear", "plum"}) db.antwort(vokabel(w, true));
  db.antwort(vokabel("cherry", false));
  db.antwort(vokabel("cherry", true));  // the same round, solved in the next pass
  EXPECT_EQ(db.faelligAnzahl(TLernArt::Vokabel), 0);
  heute.setzen(kStart + 1);
  EXPECT_EQ(db.faelligAnzahl(TLernArt::Vokabel), 1);
  const auto morgen = db.faellige(TLernArt::Vokabel, 10);
  ASSERT_EQ(morgen.size(), 1u);
  EXPECT_EQ(morgen[0].frage, "cherry");
  EXPECT_EQ(morgen[0].sammlung, "Obst.asc");
  EXPECT_EQ(morgen[0].daten, "cherry record");
  heute.setzen(kStart + 2);
  EXPECT_EQ(db.faelligAnzahl(TLernArt::Vokabel), 4);
  // Most overdue first, and never more than asked for.
  const auto zwei = db.faellige(TLernArt::Vokabel, 2);
  ASSERT_EQ(zwei.size(), 2u);
  EXPECT_EQ(zwei[0].frage, "cherry");
  EXPECT_EQ(db.faelligAnzahl(TLernArt::Verb), 0);
}

TEST(TLernDatenbank, KeepsStateAndHistoryAcrossRuns) {
  zek::test::TempDir dir;
  THeute heute(kStart);
  {
    TLernDatenbank db(dir.path() / "lern.sqlite");
    db.antwort(vokabel("apple", true));
    heute.setzen(kStart + 2);
    db.antwort(vokabel("apple", true, 2));
  }
  TLernDatenbank db(dir.path() / "lern.sqlite");
  const auto z = db.zustand(TLernArt::Vokabel, "Obst.asc", "apple");
  ASSERT_TRUE(z);
  EXPECT_EQ(z->wiederholungen, 2);
  EXPECT_EQ(z->letzterTag, kStart + 2);
  EXPECT_EQ(db.anzahlAntworten(), 2);
  // Same entry name in another library is another entry.
  EXPECT_FALSE(db.zustand(TLernArt::Vokabel, "Gemuese.asc", "apple"));
}

TEST(TLernDatenbank, ALockedDatabaseKeepsAnswersUntilItIsFree) {
  zek::test::TempDir dir;
  THeute heute(kStart);
  TLernDatenbank db(dir.path() / "lern.sqlite");
  std::string meldung;
  db.setMeldung([&](const std::string& m) { meldung = m; });
  sqlite3* andere = nullptr;
  ASSERT_EQ(sqlite3_open((dir.path() / "lern.sqlite").c_str(), &andere), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(andere, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  db.antwort(vokabel("apple", true));
  db.antwort(vokabel("pear", false));
  EXPECT_EQ(db.wartend(), 2u);
  sqlite3_exec(andere, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(andere);
  db.antwort(vokabel("plum", true));
  EXPECT_EQ(db.wartend(), 0u);
  EXPECT_EQ(db.anzahlAntworten(), 3);
  EXPECT_TRUE(meldung.empty());
}

TEST(TLernDatenbank, AnUnwritablePlaceGivesOneMessageAndNoFailure) {
  zek::test::TempDir dir;
  THeute heute(kStart);
  const auto sperre = dir.write("datei", "x");  // a file where the folder should be
  std::vector<std::string> meldungen;
  {
    TLernDatenbank db(sperre / "lern.sqlite");
    db.setMeldung([&](const std::string& m) { meldungen.push_back(m); });
    EXPECT_FALSE(db.offen());
    for (std::size_t i = 0; i < TLernDatenbank::kWarteHoechstens + 10; ++i) db.antwort(vokabel("apple", true));
    EXPECT_LT(db.wartend(), TLernDatenbank::kWarteHoechstens);
    EXPECT_EQ(db.faelligAnzahl(TLernArt::Vokabel), 0);
  }
  ASSERT_EQ(meldungen.size(), 1u);
  EXPECT_NE(meldungen[0].find("nicht gespeichert"), std::string::npos);
}

TEST(TLernDatenbank, StatisticsPerDayStateAndForecast) {
  zek::test::TempDir dir;
  THeute heute(kStart);
  TLernDatenbank db(dir.path() / "lern.sqlite");
  db.antwort(vokabel("apple", true));
  db.antwort(vokabel("pear", false));
  db.antwort(vokabel("leek", true, 1, "Gemuese.asc"));
  heute.setzen(kStart + 2);
  db.antwort(vokabel("apple", true));
  const auto tage = db.antwortenProTag({}, kStart, kStart + 2);
  ASSERT_EQ(tage.size(), 3u);
  EXPECT_EQ(tage[0].antworten, 3);
  EXPECT_EQ(tage[0].richtig, 2);
  EXPECT_EQ(tage[1].antworten, 0);
  EXPECT_EQ(tage[2].antworten, 1);
  const TLernFilter obst{TLernArt::Vokabel, "Obst.asc"};
  EXPECT_EQ(db.antwortenProTag(obst, kStart, kStart)[0].antworten, 2);
  const TZustandsZahl z = db.zustaende(obst);
  EXPECT_EQ(z.neu, 1);  // pear, seen on one day only
  EXPECT_EQ(z.lernend, 1);
  EXPECT_EQ(z.sicher, 0);
  // pear was due yesterday (counts for today), leek today; apple in about ten days.
  const auto p = db.prognose({}, kStart + 2, 14);
  EXPECT_EQ(p[0], 2);
  int summe = 0;
  for (int n : p) summe += n;
  EXPECT_EQ(summe, 3);
  const auto s = db.sammlungen();
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0].sammlung, "Gemuese.asc");
}

TEST(TLernDatenbank, ExportsTheHistoryAsUtf8Csv) {
  zek::test::TempDir dir;
  THeute heute(kStart);
  TLernDatenbank db(dir.path() / "lern.sqlite");
  TLernAntwort a = vokabel("M\xFC" "ll; \"Abfall\"", false, 1, "Haus.asc");
  a.gegeben = "rubbish";
  db.antwort(a);
  ASSERT_TRUE(db.exportiereCsv(dir.path() / "h.csv"));
  const std::string csv = db.csv();
  EXPECT_EQ(csv.substr(0, csv.find('\n') + 1), "Zeit;Tag;Trainer;Sammlung;Frage;Richtig;Versuche;Bewertung;Antwort\r\n");
  EXPECT_NE(csv.find(";2026-03-02;vokabel;Haus.asc;\"M\xC3\xBCll; \"\"Abfall\"\"\";nein;1;1;rubbish\r\n"), std::string::npos);
}

// A process killed in the middle of a round keeps every answer it reported as written.
TEST(TLernDatenbank, KillNineLosesAtMostTheAnswerBeingWritten) {
  zek::test::TempDir dir;
  THeute heute(kStart);
  const auto datei = dir.path() / "lern.sqlite";
  int rohr[2];
  ASSERT_EQ(pipe(rohr), 0);
  const pid_t kind = fork();
  ASSERT_GE(kind, 0);
  if (kind == 0) {
    close(rohr[0]);
    TLernDatenbank db(datei);
    for (int i = 0;; ++i) {
      db.antwort(vokabel("wort" + std::to_string(i % 50), i % 3 != 0));
      const char c = 'x';
      if (write(rohr[1], &c, 1) != 1) _exit(1);
    }
  }
  close(rohr[1]);
  int gemeldet = 0;
  char c;
  while (gemeldet < 200 && read(rohr[0], &c, 1) == 1) ++gemeldet;
  kill(kind, SIGKILL);
  int status = 0;
  waitpid(kind, &status, 0);
  while (read(rohr[0], &c, 1) == 1) ++gemeldet;  // reports sent before the kill
  close(rohr[0]);
  EXPECT_TRUE(WIFSIGNALED(status));
  TLernDatenbank db(datei);
  ASSERT_TRUE(db.offen());
  const long long n = db.anzahlAntworten();
  EXPECT_GE(n, gemeldet);
  EXPECT_LE(n, gemeldet + 1);
  EXPECT_EQ(db.sammlungen().size(), 1u);
}

TEST(Lernuhr, TodayFollowsTheEnvironment) {
  EXPECT_EQ(lernTagAusText("1970-01-02"), 1);
  EXPECT_EQ(lernTagAusText("2026-02-30"), -1);
  EXPECT_EQ(lernTagAusText("morgen"), -1);
  EXPECT_EQ(lernDatum(kStart), "2026-03-02");
  THeute heute(kStart + 5);
  EXPECT_EQ(lernTagHeute(), kStart + 5);
  EXPECT_NEAR(static_cast<double>(lernZeitJetzt() / 86400), kStart + 5, 1);
}

// The learning memory and the own answers share the learner's data folder; each keeps its override.
TEST(LernDatenbank, LiegtImDatenordnerDesLernenden) {
  const zek::test::TEnvironment env{"ZEK_DATA_DIR", "ZEK_ANSWERS", "XDG_DATA_HOME"};
  zek::test::TEnvironment::set("XDG_DATA_HOME", "/daten");
  zek::test::TEnvironment::set("ZEK_DATA_DIR", nullptr);
  zek::test::TEnvironment::set("ZEK_ANSWERS", nullptr);
  EXPECT_EQ(TLernDatenbank::standardDatei(), "/daten/zek-englisch/lernspeicher.sqlite");
  EXPECT_EQ(TEigeneAntworten::defaultFile().parent_path(), TLernDatenbank::standardOrdner());
  zek::test::TEnvironment::set("ZEK_DATA_DIR", "/anders");
  EXPECT_EQ(TLernDatenbank::standardDatei(), "/anders/lernspeicher.sqlite");
  EXPECT_EQ(TEigeneAntworten::defaultFile(), zek::learnerDataDir() / "eigene-antworten.txt");
}

}  // namespace
