// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/tlernspeicher.h"
#include "page/thtmlstream.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "tests/common/testutil.h"
#include "verbs/tverben.h"
#include "verbs/tverbseite.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class TMerker : public TLernspeicher {
 public:
  bool aktiv() const override { return true; }
  void antwort(const TLernAntwort& a) override {
    antworten.push_back(a);
    runde.push_back(a);
  }
  std::vector<TLernEintrag> faellige(TLernArt art, int) override {
    return art == TLernArt::Verb ? faellig : std::vector<TLernEintrag>{};
  }
  void rundeBeginnen(TLernArt) override { runde.clear(); }
  std::optional<TRundenBilanz> rundeAbschliessen(TLernArt) override {
    TRundenBilanz b;
    for (const TLernAntwort& a : runde) b.zaehlen(a.frage, a.richtig);
    b.trend = {20, 15, 20, 15};
    runde.clear();
    return b;
  }
  std::vector<TLernAntwort> antworten, runde;
  std::vector<TLernEintrag> faellig;
};

class TSeite : public TVerbSeite {
 public:
  bool vorhanden() const override { return true; }
  int breite() const override { return 800; }
  void zeigen(THTMLStream&) override {}
  void laden(const std::string& datei) override { geladen.push_back(datei); }
  std::vector<std::string> geladen;
};

struct VerbenMitSpeicher : ::testing::Test {
  zek::test::TempDir dir{"zek-verbspeicher"};
  TSettingsStore store{dir.path() / "settings.ini"};
  zek::ScriptedDialogs dialogs;
  TMerker merker;
  TVerben verben{store};
  TSeite* seite = nullptr;

  VerbenMitSpeicher() {
    auto s = std::make_unique<TSeite>();
    seite = s.get();
    verben.setSeite(std::move(s));
    verben.setZufall(5);
    setLernspeicher(&merker);
  }
  ~VerbenMitSpeicher() override { setLernspeicher(nullptr); }
  int offen() const { return static_cast<int>(std::count(verben.Slots().begin(), verben.Slots().end(), TVerben::kOffen)); }
  int ersteOffene() const {
    return static_cast<int>(std::find(verben.Slots().begin(), verben.Slots().end(), TVerben::kOffen) - verben.Slots().begin());
  }
  static TLernEintrag faellig(const std::string& infinitiv, int form) {
    return {"Verben", "", infinitiv + "\t" + std::to_string(form), 0};
  }
};

TEST_F(VerbenMitSpeicher, EachFormAnswerIsReportedUnderItsVerbAndForm) {
  std::string maske(verben.Liste().size(), '-');
  maske[static_cast<std::size_t>(verben.Liste().indexOf("go"))] = '+';
  verben.setVerbAuswahl(maske);
  verben.setFormAuswahl("-++-");
  ASSERT_TRUE(verben.vorbereiten());
  verben.startRunde();
  verben.antwort("2#2+");
  verben.antwort("3-");
  ASSERT_EQ(merker.antworten.size(), 2u);
  EXPECT_EQ(merker.antworten[0].art, TLernArt::Verb);
  EXPECT_EQ(merker.antworten[0].frage, "go (Past Tense)");
  EXPECT_TRUE(merker.antworten[0].richtig);
  EXPECT_EQ(merker.antworten[0].versuche, 2);
  EXPECT_EQ(merker.antworten[1].frage, "go (Past Participle)");
  EXPECT_FALSE(merker.antworten[1].richtig);
  EXPECT_EQ(merker.antworten[1].daten, "go\t2");
}

TEST_F(VerbenMitSpeicher, ARoundOfDueFormsAsksExactlyThoseForms) {
  merker.faellig = {faellig("take", 1), faellig("go", 3), faellig("take", 2), faellig("nonsense", 1)};
  ASSERT_TRUE(verben.faelligeRunde());
  EXPECT_EQ(verben.RundenLaenge(), 2);  // two verbs are due
  EXPECT_EQ(verben.Liste()[std::size_t(verben.AktuellesVerb())].infinitiv, "take");
  EXPECT_EQ(offen(), 2);
  EXPECT_EQ(ersteOffene(), 1);
  verben.antwort("2#1+");
  verben.antwort("3#1+");
  // The answer page came: the next verb is the other one, with its meaning asked only.
  EXPECT_EQ(verben.Liste()[std::size_t(verben.AktuellesVerb())].infinitiv, "go");
  EXPECT_EQ(offen(), 1);
  EXPECT_EQ(ersteOffene(), 3);
  verben.weiter();
  verben.antwort("4-");
  // After the round "no" leaves the review for the trainer page.
  dialogs.answer(mb::IdNo);
  verben.weiter();
  EXPECT_FALSE(verben.FaelligeRundeLaeuft());
  ASSERT_FALSE(seite->geladen.empty());
  EXPECT_EQ(seite->geladen.back(), "verben.htx");
}

// The message that ends a round names the forms that went wrong and the trend beside them.
TEST_F(VerbenMitSpeicher, TheRoundsEndShowsWhatWentWrongBesideTheTrend) {
  merker.faellig = {faellig("take", 1), faellig("go", 3)};
  ASSERT_TRUE(verben.faelligeRunde());
  verben.antwort("2-");
  verben.weiter();
  verben.antwort("4#2+");
  dialogs.answer(mb::IdNo);
  verben.weiter();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.texts()[0],
            "Runde beendet!\r1 von 2 Antworten richtig.\r\rDiese Runde: 1 richtig, 1 falsch\r"
            "Falsch: take (Past Tense)\rVerlauf: letzte 7 Tage 75 % richtig\rNoch eine Runde???");
}

TEST_F(VerbenMitSpeicher, NoDueFormGivesAMessage) {
  EXPECT_FALSE(verben.faelligeRunde());
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.texts()[0], "Heute ist keine Verbform f\xE4llig.");
}

}  // namespace
