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
  std::vector<TLernAntwort> antworten;
  std::vector<TLernEintrag> faellig;
};

class TSeiten : public TAbfrageAnzeige {
 public:
  bool Bereit() const override { return true; }
  int Breite() const override { return 800; }
  void SeiteZeigen(THTMLStream& markup) override { seiten.push_back(markup.data()); }
  void DateiZeigen(const std::string& name) override { dateien.push_back(name); }
  void AuswertungZeigen(const TAuswertung&) override { ++auswertungen; }
  std::string AufnahmeFuer(const std::string&) const override { return {}; }
  std::vector<std::string> seiten, dateien;
  int auswertungen = 0;
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
