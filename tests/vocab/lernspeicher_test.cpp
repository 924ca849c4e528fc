// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/tlerndatenbank.h"
#include "memory/tlernspeicher.h"
#include "page/thtmlstream.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "tests/common/testutil.h"
#include "tests/vocab/vocabfixtures.h"
#include "vocab/tbibliothek.h"
#include "vocab/tvoceinstellungen.h"
#include "vocab/tvokabelabfrage.h"
#include "vocab/vokabeldatei.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>

namespace {

using vt::vok;

// Keeps what the quiz reports and hands out a fixed list of due entries.
class TMerker : public TLernspeicher {
 public:
  bool aktiv() const override { return true; }
  void antwort(const TLernAntwort& a) override { antworten.push_back(a); }
  int faelligAnzahl(TLernArt art) override { return art == TLernArt::Vokabel ? static_cast<int>(faellig.size()) : 0; }
  std::vector<TLernEintrag> faellige(TLernArt art, int hoechstens) override {
    if (art != TLernArt::Vokabel) return {};
    return {faellig.begin(), faellig.begin() + std::min<std::size_t>(faellig.size(), std::size_t(hoechstens))};
  }
  void rundeBeginnen(TLernArt art) override { begonnen.push_back(art); }
  std::optional<TRundenBilanz> rundeAbschliessen(TLernArt art) override {
    abgeschlossen.push_back(art);
    TRundenBilanz b;
    for (const TLernAntwort& a : antworten) b.zaehlen(a.frage, a.richtig);
    return b;
  }
  std::vector<TLernAntwort> antworten;
  std::vector<TLernEintrag> faellig;
  std::vector<TLernArt> begonnen, abgeschlossen;
};

class TSeiten : public TAbfrageAnzeige {
 public:
  bool Bereit() const override { return true; }
  int Breite() const override { return 800; }
  void SeiteZeigen(THTMLStream& markup) override { seiten.push_back(markup.data()); }
  void DateiZeigen(const std::string& name) override { dateien.push_back(name); }
  void AuswertungZeigen(const TAuswertung& a) override {
    ++auswertungen;
    bilanzen.push_back(a.lernBilanz);
  }
  std::string AufnahmeFuer(const std::string&, TWortSprache) const override { return {}; }
  std::vector<std::string> seiten, dateien;
  int auswertungen = 0;
  std::vector<std::vector<std::string>> bilanzen;
};

struct QuizMitSpeicher : ::testing::Test {
  zek::ScriptedDialogs dialogs;
  zek::test::TempDir dir{"zek-lernquiz"};
  TSettingsStore store{dir.path() / "settings.ini"};
  TVocEinstellungen e{store};
  TBibliothek bib;
  TSeiten anzeige;
  TMerker merker;
  TVokabelAbfrage& q = bib.Abfrage();

  QuizMitSpeicher() {
    bib.setEinstellungen(&e);
    bib.setZufall(3);
    q.setAnzeige(&anzeige);
    e.Richtung = TVocEinstellungen::RichtungBeides;
    e.NichtZuSchwer.fill(true);
    e.Modus = TVocEinstellungen::ModusKreuzUndQuer;
    e.ProRunde = 6;
    setLernspeicher(&merker);
  }
  ~QuizMitSpeicher() override { setLernspeicher(nullptr); }

  static TLernEintrag faellig(const std::string& bibliothek, const TVokabel& v) {
    return {bibliothek, vokabelSchluessel(v), schreibeVokabeln({v}), 0};
  }
  std::string gefragt() const { return q.Aufgaben()[std::size_t(q.AktuelleAufgabe())].Frage.Vokabel; }
};

TEST_F(QuizMitSpeicher, EveryAnswerIsReportedWithItsKeyTriesAndPick) {
  bib.Leeren(false);
  for (const char* w : {"apple", "pear", "plum", "lemon", "egg", "milk"}) bib.Hinzufuegen(vok(w, std::string("der ") + w));
  bib.LeerAnhaengen();
  e.Bis = -1;
  ASSERT_TRUE(q.Starten());
  const struct {
    const char* ergebnis;
    bool richtig;
    int versuche;
    const char* gegeben;
  } faelle[] = {{"#1+", true, 1, ""}, {"#3+", true, 3, ""}, {"-", false, 1, ""}, {"+", true, 1, ""}, {"[der egg]-", false, 1, "der egg"}};
  for (const auto& f : faelle) {
    const std::string wort = gefragt();
    q.AntwortZeigen(f.ergebnis);
    ASSERT_FALSE(merker.antworten.empty());
    const TLernAntwort& a = merker.antworten.back();
    EXPECT_EQ(a.art, TLernArt::Vokabel);
    EXPECT_EQ(a.sammlung, "(ohne Namen)");
    EXPECT_EQ(a.frage, wort + " = der " + wort);
    EXPECT_EQ(a.richtig, f.richtig) << f.ergebnis;
    EXPECT_EQ(a.versuche, f.versuche) << f.ergebnis;
    EXPECT_EQ(a.gegeben, f.gegeben);
    // The record a review needs gives the same entry back.
    const TLeseErgebnis r = liesVokabeln(a.daten);
    ASSERT_EQ(r.eintraege.size(), 1u);
    EXPECT_EQ(r.eintraege[0].Vokabel, wort);
    q.Weiter();
  }
  EXPECT_EQ(merker.antworten.size(), 5u);
}

TEST_F(QuizMitSpeicher, AReviewRoundAsksTheDueEntriesOfEveryLibrary) {
  bib.Hinzufuegen(vok("house", "das Haus"));  // the loaded library is not asked
  merker.faellig = {faellig("Obst.asc", vok("apple", "der Apfel")), faellig("Tiere.asc", vok("dog", "der Hund")),
                    faellig("Obst.asc", vok("pear", "die Birne"))};
  ASSERT_TRUE(q.WiederholungStarten());
  EXPECT_TRUE(q.Wiederholung());
  EXPECT_EQ(q.RundenGroesse(), 3);
  std::map<std::string, std::string> herkunft;
  for (int i = 0; i < 3; ++i) {
    q.AntwortZeigen(i == 0 ? "-" : "#1+");
    herkunft[gefragt()] = merker.antworten.back().sammlung;
    q.Weiter();
  }
  EXPECT_EQ(herkunft.size(), 3u);
  EXPECT_EQ(herkunft["dog"], "Tiere.asc");
  EXPECT_EQ(herkunft["apple"], "Obst.asc");
  // The wrong one comes back in the next pass; then the round ends without asking for another,
  // as nothing is due any more.
  merker.faellig.clear();
  q.AntwortZeigen("#1+");
  q.Weiter();
  EXPECT_EQ(anzeige.auswertungen, 2);
  EXPECT_TRUE(dialogs.messages().empty());
  ASSERT_EQ(anzeige.dateien.size(), 1u);
  EXPECT_EQ(anzeige.dateien[0], "vokabeln.htx");
  EXPECT_FALSE(q.Laeuft());
}

// Only the evaluation that ends the whole round shows the memory's tally of it; the ones after
// each pass stay as they were.
TEST_F(QuizMitSpeicher, TheRoundsEndShowsWhatWasRightAndWrong) {
  merker.faellig = {faellig("Obst.asc", vok("apple", "der Apfel")), faellig("Obst.asc", vok("pear", "die Birne"))};
  ASSERT_TRUE(q.WiederholungStarten());
  ASSERT_EQ(merker.begonnen, std::vector<TLernArt>{TLernArt::Vokabel});
  std::string falsch;
  for (int i = 0; i < 2; ++i) {
    if (i == 0) falsch = gefragt();
    q.AntwortZeigen(i == 0 ? "-" : "#1+");
    q.Weiter();
  }
  merker.faellig.clear();
  q.AntwortZeigen("#1+");
  q.Weiter();
  ASSERT_EQ(anzeige.bilanzen.size(), 2u);
  EXPECT_TRUE(anzeige.bilanzen[0].empty());
  ASSERT_EQ(merker.abgeschlossen, std::vector<TLernArt>{TLernArt::Vokabel});
  ASSERT_GE(anzeige.bilanzen[1].size(), 2u);
  EXPECT_EQ(anzeige.bilanzen[1][0], "Diese Runde: 2 richtig, 1 falsch");
  EXPECT_EQ(anzeige.bilanzen[1][1], "Falsch: " + falsch + " = " + (falsch == "apple" ? "der Apfel" : "die Birne"));
}

TEST_F(QuizMitSpeicher, WithTheMemoryOffTheRoundsEndIsAsBefore) {
  bib.Leeren(false);
  for (const char* w : {"apple", "pear", "plum", "lemon", "egg", "milk"}) bib.Hinzufuegen(vok(w, std::string("der ") + w));
  bib.LeerAnhaengen();
  e.Bis = -1;
  setLernspeicher(nullptr);
  ASSERT_TRUE(q.Starten());
  dialogs.answer(mb::IdNo);
  for (int i = 0; i < 20 && q.Laeuft(); ++i) {
    q.AntwortZeigen("#1+");
    q.Weiter();
  }
  EXPECT_FALSE(q.Laeuft());
  ASSERT_EQ(anzeige.bilanzen.size(), 1u);
  EXPECT_TRUE(anzeige.bilanzen[0].empty());
}

// A database that is locked by another program, or cannot be made at all, never stops a round:
// the locked one takes the answers once it is free, the other drops them with one message.
TEST_F(QuizMitSpeicher, AFailingDatabaseNeverStopsARound) {
  bib.Leeren(false);
  for (const char* w : {"apple", "pear", "plum", "lemon", "egg", "milk"}) bib.Hinzufuegen(vok(w, std::string("der ") + w));
  bib.LeerAnhaengen();
  e.Bis = -1;
  for (const bool gesperrt : {true, false}) {
    SCOPED_TRACE(gesperrt ? "locked" : "unwritable");
    dialogs.clear();
    const auto datei = gesperrt ? dir.path() / "lern.sqlite" : dir.write("keinordner", "x") / "lern.sqlite";
    long long gespeichert = -1;
    {
      TLernDatenbank db(datei);
      db.setMeldung([](const std::string& m) { showMessage(m, mb::Ok | mb::IconExclamation); });
      setLernspeicher(&db);
      sqlite3* andere = nullptr;
      if (gesperrt) {
        ASSERT_EQ(sqlite3_open(datei.c_str(), &andere), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(andere, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
      }
      ASSERT_TRUE(q.Starten());
      dialogs.answer(mb::IdNo);
      int antworten = 0;
      for (; antworten < 20 && q.Laeuft(); ++antworten) {
        q.AntwortZeigen(antworten == 0 ? "-" : "#1+");
        q.Weiter();
      }
      EXPECT_FALSE(q.Laeuft());
      EXPECT_EQ(db.wartend(), std::size_t(antworten));
      if (andere) {
        sqlite3_exec(andere, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(andere);
      }
      setLernspeicher(&merker);
      if (gesperrt) gespeichert = antworten;
    }
    const std::vector<std::string> texte = dialogs.texts();
    const auto meldungen = std::count_if(texte.begin(), texte.end(), [](const std::string& t) {
      return t.find("Lernspeicher") != std::string::npos;
    });
    EXPECT_EQ(meldungen, gesperrt ? 0 : 1);
    if (gesperrt) {
      EXPECT_EQ(TLernDatenbank(datei).anzahlAntworten(), gespeichert);
    }
  }
}

TEST_F(QuizMitSpeicher, NothingDueGivesAMessageAndNoRound) {
  EXPECT_FALSE(q.WiederholungStarten());
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.texts()[0], "Heute ist keine Vokabel f\xE4llig.");
  EXPECT_FALSE(q.Laeuft());
}

// The review draws at most one round, the most overdue first (the order the memory gives).
TEST_F(QuizMitSpeicher, AReviewRoundIsAtMostOneRoundLong) {
  for (int i = 0; i < 9; ++i) merker.faellig.push_back(faellig("A.asc", vok("w" + std::to_string(i), "W" + std::to_string(i))));
  ASSERT_TRUE(q.WiederholungStarten());
  EXPECT_EQ(q.RundenGroesse(), 6);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(q.Aufgaben()[std::size_t(k)].Frage.Vokabel, "w" + std::to_string(k));
}

}  // namespace
