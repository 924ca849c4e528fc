// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tvokabelabfrage.h"

#include "page/htxreader.h"
#include "page/thtmlstream.h"
#include "platform/codec.h"
#include "platform/eigeneantworten.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "tests/common/testutil.h"
#include "tests/vocab/vocabfixtures.h"
#include "vocab/abfragetext.h"
#include "vocab/tbibliothek.h"
#include "vocab/tres.h"
#include "vocab/tvoceinstellungen.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace {

using vt::vok;

bool enthaelt(const std::string& s, const std::string& teil) { return s.find(teil) != std::string::npos; }

class TTestAnzeige : public TAbfrageAnzeige {
 public:
  bool Bereit() const override { return bereit; }
  int Breite() const override { return 800; }
  void SeiteZeigen(THTMLStream& markup) override { seiten.push_back(markup.data()); }
  void DateiZeigen(const std::string& name) override { dateien.push_back(name); }
  void AuswertungZeigen(const TAuswertung& a) override { auswertungen.push_back(a); }
  // A recording; with `stimme`, an English text without one gets the run-time voice's file.
  std::string AufnahmeFuer(const std::string& wort, TWortSprache sprache) const override {
    const auto it = aufnahmen.find(wort);
    if (it != aufnahmen.end()) return it->second;
    return stimme && sprache == TWortSprache::Englisch ? "/laufzeit/" + wort + ".wav" : std::string();
  }
  std::string LetzteEingabe() const override { return eingabe; }
  std::string eingabe;
  bool stimme = false;

  bool bereit = true;
  std::vector<std::string> seiten, dateien;
  std::vector<TAuswertung> auswertungen;
  std::map<std::string, std::string> aufnahmen;
};

// Includes resolve to nothing: only the generated part of a page is read.
class TLeererHost : public TSimpleHtxHost {
 public:
  TIncludeStatus readInclude(const std::string&, std::string& text) override {
    text.clear();
    return TIncludeStatus::Ok;
  }
};

TPageModel lies(const std::string& markup) {
  TLeererHost host;
  TPageModel page;
  readHtxPage(page, host, markup);
  return page;
}

struct Abfrage : ::testing::Test {
  zek::ScriptedDialogs dialogs;
  zek::test::TempDir dir{"zek-quiz"};
  TSettingsStore store{dir.path() / "settings.ini"};
  TVocEinstellungen e{store};
  TBibliothek bib;
  TTestAnzeige anzeige;
  TVokabelAbfrage& q = bib.Abfrage();

  Abfrage() {
    bib.setEinstellungen(&e);
    bib.setZufall(11);
    q.setAnzeige(&anzeige);
    e.Richtung = TVocEinstellungen::RichtungBeides;
    e.Redewendungen = true;
    e.NichtZuSchwer.fill(true);
    e.Modus = TVocEinstellungen::ModusKreuzUndQuer;
    e.NichtGeladen = false;
  }
  // n nouns "w0".."w<n-1>" whose meanings never contain one another.
  void woerter(int n) {
    bib.Leeren(false);
    for (int i = 0; i < n; ++i) bib.Hinzufuegen(vok("w" + std::to_string(i), "m" + std::to_string(i) + "x"));
    bib.LeerAnhaengen();
    e.Bis = -1;
  }
  const TVocAufgabe& aktuell() const { return q.Aufgaben()[std::size_t(q.AktuelleAufgabe())]; }
  void antworte(const std::string& r) {
    q.AntwortZeigen(r);
    q.Weiter();
  }
};

TEST_F(Abfrage, BereitschaftPrueftBibliothekAktiveUndRundengroesse) {
  struct Fall {
    int eintraege, proRunde;
    std::uint8_t modus;
    bool aktiv;
    bool bereit;
    const char* meldung;
    int proRundeDanach;
  };
  const Fall faelle[] = {
      {0, 12, TVocEinstellungen::ModusKreuzUndQuer, true, false, "Noch keine Bibliothek geladen! Was soll ich abfragen??" "?!", 12},
      {5, 12, TVocEinstellungen::ModusKreuzUndQuer, false, false, "Keine Vokabel(n) aktiv!!!", 12},
      {7, 12, TVocEinstellungen::ModusKreuzUndQuer, true, true, nullptr, 7},
      {4, 12, TVocEinstellungen::ModusKreuzUndQuer, true, false, "Nicht genug Vokabeln pro Runde vorhanden!!!", 12},
      {12, 0, TVocEinstellungen::ModusKreuzUndQuer, true, true, nullptr, 10},
      {8, 0, TVocEinstellungen::ModusKreuzUndQuer, true, true, nullptr, 8},
      {3, 12, TVocEinstellungen::ModusVor, true, true, nullptr, 12},
      {3, 0, TVocEinstellungen::ModusZurueck, true, true, nullptr, 10},
  };
  for (const Fall& f : faelle) {
    dialogs.clear();
    woerter(f.eintraege);
    e.Modus = f.modus;
    e.ProRunde = f.proRunde;
    e.NichtZuSchwer.fill(f.aktiv);
    EXPECT_EQ(q.QuizBereit(), f.bereit) << f.eintraege << "/" << f.proRunde;
    EXPECT_EQ(e.ProRunde, f.proRundeDanach) << f.eintraege << "/" << f.proRunde;
    if (f.meldung) {
      ASSERT_EQ(dialogs.messages().size(), 1u);
      EXPECT_EQ(dialogs.messages()[0].text, f.meldung);
      EXPECT_EQ(dialogs.messages()[0].flags, mb::Ok | mb::IconExclamation);
    } else {
      EXPECT_TRUE(dialogs.messages().empty());
    }
  }
}

TEST_F(Abfrage, ZufallsrundeZiehtVerschiedeneAktiveFragen) {
  for (int groesse : {6, 21, 30, 100}) {
    woerter(150);
    bib.SetSchwierigkeit(3, 4);  // w3 is not asked
    e.NichtZuSchwer[4] = false;
    e.ProRunde = groesse;
    ASSERT_TRUE(q.Starten());
    ASSERT_GE(q.Aufgaben().size(), std::size_t(groesse));
    EXPECT_EQ(q.RundenGroesse(), groesse);
    std::set<std::string> gefragt;
    for (int k = 0; k < groesse; ++k) {
      const TVocAufgabe& a = q.Aufgaben()[std::size_t(k)];
      EXPECT_FALSE(a.istLeer());
      EXPECT_EQ(a.Auswahl[0], a.Frage);
      EXPECT_EQ(a.Durchgang, 0);
      gefragt.insert(a.Frage.Vokabel);
    }
    EXPECT_EQ(gefragt.size(), std::size_t(groesse));
    EXPECT_EQ(gefragt.count("w3"), 0u);
    ASSERT_FALSE(anzeige.seiten.empty());
    EXPECT_TRUE(enthaelt(anzeige.seiten.back(), "<+d>1 / " + std::to_string(groesse)));
  }
}

TEST_F(Abfrage, FalscheAntwortenPassenZurFrageUndKollidierenNicht) {
  TRes pool;
  ASSERT_GT(pool.Anzahl(), 100);
  q.setPool(&pool);
  bib.Leeren(false);
  bib.Hinzufuegen(vok("house", "Haus"));
  bib.Hinzufuegen(vok("home", "Haus"));      // same meaning: never beside "house"
  bib.Hinzufuegen(vok("Haus", "house"));     // word and meaning crossed, and German: never
  bib.Hinzufuegen(vok("run", "laufen", 1));  // another class
  bib.Hinzufuegen(vok("tree", "Baum"));
  e.Modus = TVocEinstellungen::ModusVor;
  e.Bis = -1;
  for (std::uint32_t seed = 1; seed < 30; ++seed) {
    bib.setZufall(seed);
    ASSERT_TRUE(q.Starten());
    const TVocAufgabe& a = q.Aufgaben()[0];
    ASSERT_EQ(a.Frage.Vokabel, "house");
    std::set<std::string> woerter, bedeutungen;
    for (const TVokabel& c : a.Auswahl) {
      ASSERT_FALSE(c.istLeer());
      EXPECT_EQ(c.Wortart, 0);
      EXPECT_FALSE(c.Deutsch);
      EXPECT_TRUE(woerter.insert(c.Vokabel).second) << c.Vokabel;
      EXPECT_TRUE(bedeutungen.insert(c.Bedeutung1).second) << c.Bedeutung1;
      EXPECT_NE(c.Vokabel, "home");
      EXPECT_NE(c.Vokabel, "run");
    }
    for (const std::string& w : woerter) EXPECT_EQ(bedeutungen.count(w), 0u) << w;
    EXPECT_EQ(a.Auswahl[1].Vokabel, "tree");  // the library comes before the pool
  }
}

TEST_F(Abfrage, DeutscheFrageInKleinerBibliothekBekommtEnglischeAuswahlen) {
  TRes pool;
  q.setPool(&pool);
  bib.Leeren(false);
  bib.Hinzufuegen(vok("Stra\xDF" "e", "street; road", 0, true));
  bib.Hinzufuegen(vok("gehen", "go; walk", 1, true));
  bib.Hinzufuegen(vok("oft", "often", 3, true));
  bib.Hinzufuegen(vok("aufgeben", "give up", 4, true));
  e.Modus = TVocEinstellungen::ModusVor;
  e.Bis = -1;
  ASSERT_TRUE(q.Starten());
  for (int k = 0; k < 4; ++k) {
    const TVocAufgabe& a = q.Aufgaben()[std::size_t(k)];
    for (const TVokabel& c : a.Auswahl) {
      EXPECT_FALSE(c.istLeer()) << a.Frage.Vokabel;
      EXPECT_TRUE(c.Deutsch) << c.Vokabel;
      EXPECT_EQ(c.Wortart, a.Frage.Wortart) << c.Vokabel;
    }
  }
}

// Two buttons must never both be right: a distractor that shares one meaning with the
// answer (street "Straße" beside road "Straße; Landstraße") stays out, whatever the case.
TEST_F(Abfrage, KeineFalscheAntwortMitEinerGemeinsamenBedeutung) {
  bib.Leeren(false);
  bib.Hinzufuegen(vok("street", "Stra\xDF" "e"));
  bib.Hinzufuegen(vok("road", "Landstra\xDF" "e; Stra\xDF" "e"));   // shares a further meaning
  bib.Hinzufuegen(vok("lane", "Gasse [schmal]"));
  TVokabel weg = vok("way", "Weg");
  weg.Bedeutung2 = "stra\xDF" "e.";                                   // in the further meanings, other case
  bib.Hinzufuegen(weg);
  bib.Hinzufuegen(vok("Street", "Fahrbahn"));                          // the word again, capitalised
  bib.Hinzufuegen(vok("tree", "Baum"));
  e.Modus = TVocEinstellungen::ModusVor;
  e.Bis = -1;
  for (std::uint32_t seed = 1; seed < 20; ++seed) {
    bib.setZufall(seed);
    ASSERT_TRUE(q.Starten());
    const TVocAufgabe& a = q.Aufgaben()[0];
    ASSERT_EQ(a.Frage.Vokabel, "street");
    for (std::size_t i = 1; i < a.Auswahl.size(); ++i) {
      const std::string& w = a.Auswahl[i].Vokabel;
      EXPECT_TRUE(w != "road" && w != "way" && w != "Street") << w;
    }
  }
}

TEST_F(Abfrage, OhnePoolBleibenFehlendeAuswahlenLeer) {
  woerter(2);
  e.Modus = TVocEinstellungen::ModusVor;
  e.MultipleChoice = 100;
  ASSERT_TRUE(q.Starten());
  const TVocAufgabe& a = q.Aufgaben()[0];
  EXPECT_EQ(a.Auswahl[1].Vokabel, "w1");
  for (int i = 2; i < 6; ++i) EXPECT_TRUE(a.Auswahl[std::size_t(i)].istLeer());
  q.setNaechsterWurf(0);
  const TPageModel page = lies(q.FrageSeite());
  ASSERT_TRUE(page.multiple);
  EXPECT_EQ(page.multiple->items, (std::vector<std::string>{"m0x", "m1x", "", "", "", ""}));
  EXPECT_EQ(page.multiple->reaction, "vokabel");
}

TEST_F(Abfrage, AnteilMultipleChoice) {
  woerter(20);
  e.ProRunde = 10;
  e.MultipleChoice = 0;
  ASSERT_TRUE(q.Starten());
  int mc = 0;
  for (int i = 0; i < 300; ++i) mc += enthaelt(q.FrageSeite(), "<MULTIPLE") ? 1 : 0;
  EXPECT_EQ(mc, 0);
  e.MultipleChoice = 100;
  for (int i = 0; i < 300; ++i) mc += enthaelt(q.FrageSeite(), "<MULTIPLE") ? 1 : 0;
  EXPECT_GT(mc, 280);
  // The draw runs from 0 to 100: at 100 the question is typed.
  q.setNaechsterWurf(100);
  const std::string s = q.FrageSeite();
  EXPECT_TRUE(enthaelt(s, "<edit coords=250,250,300,32 lsg=\""));
  EXPECT_FALSE(enthaelt(s, "<MULTIPLE"));
  q.setNaechsterWurf(99);
  EXPECT_TRUE(enthaelt(q.FrageSeite(), "<MULTIPLE Coords=150,192,250,50 DIM=3,2 TXT=\""));
}

TEST_F(Abfrage, SeitenTexteGenau) {
  bib.Leeren(false);
  bib.Hinzufuegen(vok("gehen", "go; walk", 1, true));
  e.Modus = TVocEinstellungen::ModusVor;
  ASSERT_TRUE(q.Starten());
  ASSERT_EQ(anzeige.seiten.size(), 1u);
  EXPECT_EQ(anzeige.seiten[0],
            "<include href=\"vokab.htx\"><box coords=0,40,400 align=m><+d>1 / 1<box coords=400,40,400 align=m><+d>"
            "<+h><box coords=100,120,600 align=m><+h>gehen<box coords=100,150,600 align=m><+d>Verb"
            "<edit coords=250,250,300,32 lsg=\"go; to go; walk; to walk\" help=\"__\" reaction=\"vokabel\">");
  q.AntwortZeigen("-");
  EXPECT_EQ(anzeige.seiten[1],
            "<include href=\"vokab.htx\"><box coords=0,40,400 align=m><+d>1 / 1<box coords=400,40,400 align=m><+d>"
            "<a href=\"\xA7[vocaus]@Auswertung\" flash=flashcol>0%</a><+h>"
            "<box coords=0,160,800 align=m><font size=210 color=richtig>FALSCH"
            "<+d><box coords=100,190,600>Ich bedaure...<+h><p>gehen <font size=1> [Verb]"
            "<p><font size=4 tracking=1>go; walk<p>"
            "<+h><box coords=100,440,600 align=m><a href=\"\xA7vokabelweiter\" flash=flashcol return>Weiter</a>");
  EXPECT_EQ(q.LetzteAntwort(), "-");
}

// "Meine Antwort war richtig": the refused typed answer counts as solved on the fifth try, is
// kept for the learner, and the entry's next typed question accepts it.
TEST_F(Abfrage, EigeneAntwortZaehltUndBleibt) {
  zek::test::TempDir daten("zek-eigene");
  TEigeneAntworten::setGlobalFile(daten.path() / "eigene-antworten.txt");
  bib.Leeren(false);
  bib.Hinzufuegen(vok("gehen", "go; walk", 1, true));
  e.Modus = TVocEinstellungen::ModusVor;
  e.MultipleChoice = 0;
  ASSERT_TRUE(q.Starten());
  anzeige.eingabe = "stroll";
  q.AntwortZeigen("-");
  EXPECT_EQ(q.Verworfen(), "stroll");
  EXPECT_TRUE(enthaelt(anzeige.seiten.back(), "FALSCH"));
  // What he typed stands on the page before he counts it.
  EXPECT_TRUE(enthaelt(anzeige.seiten.back(), "Ihre Antwort: stroll"));
  EXPECT_TRUE(enthaelt(anzeige.seiten.back(), "<a href=\"\xA7vokabeleigene\" flash=flashcol>Meine Antwort war richtig</a>"));
  q.AntwortZeigen("eigene");
  EXPECT_TRUE(enthaelt(anzeige.seiten.back(), "RICHTIG"));
  EXPECT_FALSE(enthaelt(anzeige.seiten.back(), "vokabeleigene"));
  EXPECT_EQ(q.Beantwortet(), 1);
  EXPECT_EQ(q.Richtig(), 1);
  EXPECT_EQ(q.Statistik()[4], 1);  // solved on the fifth try of the first pass
  EXPECT_EQ(TEigeneAntworten(daten.path() / "eigene-antworten.txt").antworten("vokabel", "gehen = go; walk"),
            std::vector<std::string>{"stroll"});
  q.AntwortZeigen("eigene");  // once only
  EXPECT_EQ(q.Richtig(), 1);
  EXPECT_TRUE(enthaelt(q.FrageSeite(), "lsg=\"go; to go; walk; to walk; stroll\""));
  // An empty answer or a wrong choice offers nothing to count.
  anzeige.eingabe = "";
  q.AntwortZeigen("-");
  EXPECT_FALSE(enthaelt(anzeige.seiten.back(), "vokabeleigene"));
  anzeige.eingabe = "stroll";
  q.AntwortZeigen("[go]-");
  EXPECT_FALSE(enthaelt(anzeige.seiten.back(), "vokabeleigene"));
  TEigeneAntworten::setGlobalFile(TEigeneAntworten::defaultFile());
}

TEST_F(Abfrage, EintragMitAufnahmenUndBemerkungen) {
  bib.Leeren(false);
  TVokabel v = vok("house", "[ugs.] Bude; Haus [alt]");
  v.Bedeutung2 = "Heim";
  bib.Hinzufuegen(v);
  e.Modus = TVocEinstellungen::ModusVor;
  anzeige.aufnahmen = {{"house", "/w/house.wav"}, {"Heim", "/w/heim.wav"}};
  ASSERT_TRUE(q.Starten());
  q.AntwortZeigen("#1+");
  const std::string& s = anzeige.seiten.back();
  EXPECT_TRUE(enthaelt(s, "RICHTIG<+d><box coords=100,190,600>Absolut.<+h><p>"
                          "<a href=\"/w/house.wav\" flash=flashcol>house </a><font size=1> [Nomen]"
                          "<p><font size=4 tracking=1><font size=-3>[ugs.]<font size=+3> Bude; "
                          "<font size=-3>[alt]<font size=+3> Haus; <a href=\"/w/heim.wav\" flash=flashcol>Heim </a><p>"))
      << s;
  EXPECT_TRUE(enthaelt(s, "flash=flashcol>100%</a>"));
}

// English without a recording plays the file the run-time voice speaks it into; German
// without a recording stays plain text.
TEST_F(Abfrage, EnglischOhneAufnahmeWirdZurLaufzeitGesprochen) {
  bib.Leeren(false);
  bib.Hinzufuegen(vok("fish, chips", "Fisch; Pommes"));
  TVokabel deutsch = vok("Haus", "house; home");
  deutsch.Deutsch = true;
  bib.Hinzufuegen(deutsch);
  e.Modus = TVocEinstellungen::ModusVor;
  e.Richtung = TVocEinstellungen::RichtungBeides;
  anzeige.stimme = true;
  anzeige.aufnahmen = {{"home", "/w/home.wav"}};
  ASSERT_TRUE(q.Starten());
  q.AntwortZeigen("#1+");
  const std::string erste = anzeige.seiten.back();
  q.Weiter();
  q.AntwortZeigen("#1+");
  const std::string zweite = anzeige.seiten.back();
  const std::string& englisch = enthaelt(erste, "fish") ? erste : zweite;
  const std::string& deutscheSeite = enthaelt(erste, "fish") ? zweite : erste;
  EXPECT_TRUE(enthaelt(englisch, "<a href=\"/laufzeit/fish, chips.wav\" flash=flashcol>fish, chips </a>")) << englisch;
  EXPECT_TRUE(enthaelt(englisch, "Fisch; Pommes<p>")) << englisch;
  EXPECT_TRUE(enthaelt(deutscheSeite, "Haus <font size=1>")) << deutscheSeite;
  EXPECT_TRUE(enthaelt(deutscheSeite, "<a href=\"/laufzeit/house.wav\" flash=flashcol>house </a>; "
                                      "<a href=\"/w/home.wav\" flash=flashcol>home </a>"))
      << deutscheSeite;

  // Without a voice, no dead link.
  anzeige.stimme = false;
  const std::size_t seiten = anzeige.seiten.size();
  ASSERT_TRUE(q.Starten());
  q.AntwortZeigen("#1+");
  ASSERT_GT(anzeige.seiten.size(), seiten);
  EXPECT_FALSE(enthaelt(anzeige.seiten.back(), "/laufzeit/")) << anzeige.seiten.back();
}

TEST_F(Abfrage, KontextfrageUndLoesung) {
  bib.Leeren(false);
  TVokabel v = vok("run", "laufen", 1);
  v.Kontext1 = "I (*) every day.";
  v.Tip1 = true;
  bib.Hinzufuegen(v);
  e.Modus = TVocEinstellungen::ModusVor;
  e.Kontext = true;
  ASSERT_TRUE(q.Starten());
  EXPECT_TRUE(enthaelt(anzeige.seiten[0], "<box coords=100,80,600 align=m><+h>I <a gap lsg=\"run\" help=\"r__\" "
                                          "tip=\"laufen\" reaction=\"vokabel\">run</a> every day."))
      << anzeige.seiten[0];
  EXPECT_EQ(q.KontextLoesung(), "I <u>run</u> every day.");
  q.AntwortZeigen("#1+");
  EXPECT_TRUE(enthaelt(anzeige.seiten[1], "<box coords=100,80,600 align=m><+h>I <u>run</u> every day.<+h>"));
  const TPageModel page = lies(anzeige.seiten[0]);
  ASSERT_EQ(page.fields.size(), 1u);
  EXPECT_EQ(page.fields[0].solutions, std::vector<std::string>{"run"});
  EXPECT_EQ(page.fields[0].reaction, "vokabel");

  // A closer before the opener marks no solution: the typed question instead.
  TVokabel w = vok("fast", "schnell", 2);
  w.Kontext1 = "He runs )very( fast.";
  bib.SetEintrag(0, w);
  ASSERT_TRUE(q.Starten());
  EXPECT_TRUE(enthaelt(anzeige.seiten.back(), "<edit coords=250,250,300,32 lsg=\"schnell\""));
  EXPECT_TRUE(q.KontextLoesung().empty());
}

TEST_F(Abfrage, KontextEinesDeutschenEintragsFragtNachDemEnglischen) {
  struct Fall {
    const char* wort;
    const char* bedeutung;
    int wortart;
    const char* satz;
    const char* gezeigt;    // the sentence above the typed field; nullptr: a gap question
    const char* loesungen;  // what the field accepts
  };
  const Fall faelle[] = {
      {"seit", "since; for", 3, "Ich wohne [seit] drei Jahren hier.", "Ich wohne <u>seit</u> drei Jahren hier.",
       "since; for"},
      {"Herzlich willkommen!", "welcome", 5, "[*] Sch\xF6n, dass Sie da sind.",
       "<u>Herzlich willkommen!</u> Sch\xF6n, dass Sie da sind.", "welcome"},
      {"bekommen", "get; receive", 1, "Wann [bekommst] du dein Zeugnis?", "Wann <u>bekommst</u> du dein Zeugnis?",
       "get; to get; receive; to receive"},
      // A German entry with an English sentence keeps its gap.
      {"Haus", "house", 0, "This is my [house].", nullptr, "house"},
  };
  e.Modus = TVocEinstellungen::ModusVor;
  e.Kontext = true;
  for (const Fall& f : faelle) {
    bib.Leeren(false);
    TVokabel v = vok(f.wort, f.bedeutung, f.wortart, true);
    v.Kontext1 = f.satz;
    v.Tip1 = true;
    bib.Hinzufuegen(v);
    ASSERT_TRUE(q.Starten());
    const std::string& seite = anzeige.seiten.back();
    const TPageModel page = lies(seite);
    ASSERT_EQ(page.fields.size(), 1u) << f.wort;
    std::string loesungen;
    for (const std::string& l : page.fields[0].solutions) loesungen += (loesungen.empty() ? "" : "; ") + l;
    EXPECT_EQ(loesungen, f.loesungen) << f.wort;
    if (f.gezeigt) {
      EXPECT_FALSE(enthaelt(seite, "<a gap")) << f.wort;
      EXPECT_TRUE(enthaelt(seite, std::string("<box coords=100,190,600 align=m><+d>") + f.gezeigt)) << seite;
      EXPECT_TRUE(enthaelt(seite, "<edit coords=250,250,300,32")) << f.wort;
    } else {
      EXPECT_TRUE(enthaelt(seite, "<a gap lsg=\"house\"")) << seite;
    }
  }
}

TEST_F(Abfrage, GrosszuegigMarkiertNurDieEingabefelder) {
  TVokabel v = vok("run", "laufen", 1);
  v.Kontext1 = "I (*) every day.";
  struct Fall {
    bool grosszuegig, kontext;
    int wurf;  // 100: typed, 0: multiple choice
  };
  const Fall faelle[] = {{true, false, 100}, {true, true, 100}, {false, false, 100}, {false, true, 100}, {true, false, 0}};
  for (const Fall& f : faelle) {
    bib.Leeren(false);
    bib.Hinzufuegen(v);
    e.Modus = TVocEinstellungen::ModusVor;
    e.Kontext = f.kontext;
    e.MultipleChoice = 50;
    e.Grosszuegig = f.grosszuegig;
    q.setNaechsterWurf(f.wurf);
    ASSERT_TRUE(q.Starten());
    const std::string& seite = anzeige.seiten.back();
    const TPageModel page = lies(seite);
    const std::string fall = std::to_string(f.grosszuegig) + std::to_string(f.kontext) + std::to_string(f.wurf);
    if (f.wurf == 0) {
      EXPECT_TRUE(page.fields.empty()) << fall;
      EXPECT_FALSE(enthaelt(seite, "tolerant")) << fall;
      continue;
    }
    ASSERT_EQ(page.fields.size(), 1u) << fall;
    EXPECT_EQ(page.fields[0].inFlow, f.kontext) << fall;
    EXPECT_EQ(page.fields[0].tolerant, f.grosszuegig) << fall;
    EXPECT_EQ(page.fields[0].reaction, "vokabel") << fall;
  }
}

TEST_F(Abfrage, GrosszuegigKommtAusDenEinstellungen) {
  // Off until the learner switches it on; kept beside the other trainers' switches.
  TVocEinstellungen neu(store);
  neu.EinstellungenLaden();
  EXPECT_FALSE(neu.Grosszuegig);
  neu.Grosszuegig = true;
  ASSERT_TRUE(neu.EinstellungenSpeichern());
  EXPECT_EQ(store.readBool("SOFTWARE\\ZEK\\zek englisch", "Gro\xDFz\xFCgig (Vokabeln)"), true);
  TVocEinstellungen wieder(store);
  wieder.EinstellungenLaden();
  EXPECT_TRUE(wieder.Grosszuegig);
}

TEST_F(Abfrage, LernertextBleibtImMarkupGanz) {
  bib.Leeren(false);
  const char* bedeutungen[] = {"say \"hi\"", "a > b", "this | that", "R&B", "x<y", "plain"};
  for (int i = 0; i < 6; ++i) bib.Hinzufuegen(vok("w" + std::to_string(i), bedeutungen[i]));
  e.Modus = TVocEinstellungen::ModusVor;
  e.MultipleChoice = 100;
  ASSERT_TRUE(q.Starten());
  for (int i = 0; i < 6; ++i) {
    q.setNaechsterWurf(0);
    TPageModel mc = lies(q.FrageSeite());
    ASSERT_TRUE(mc.multiple);
    const TVocAufgabe& a = aktuell();
    ASSERT_EQ(mc.multiple->items.size(), 6u);
    for (std::size_t k = 0; k < 6; ++k) EXPECT_EQ(mc.multiple->items[k], a.Auswahl[k].Bedeutung1);
    EXPECT_EQ(mc.multiple->reaction, "vokabel");
    q.setNaechsterWurf(100);
    TPageModel typed = lies(q.FrageSeite());
    ASSERT_EQ(typed.fields.size(), 1u);
    EXPECT_EQ(typed.fields[0].solutions, erweitern("", a.Frage.Bedeutung1));
    EXPECT_EQ(typed.fields[0].reaction, "vokabel");
    antworte("+");
  }
}

TEST_F(Abfrage, FalscheAuswahlZeigtTicketUndVerlierer) {
  woerter(8);
  e.Modus = TVocEinstellungen::ModusVor;
  ASSERT_TRUE(q.Starten());
  const std::string verlierer = aktuell().Auswahl[2].Bedeutung1;
  q.AntwortZeigen("[" + zek::lowerCase(verlierer) + "]-");
  const std::string& s = anzeige.seiten.back();
  EXPECT_TRUE(enthaelt(s, "FALSCH<+d><box coords=50,190,300>Das Ticket war:<+h><p>"));
  EXPECT_TRUE(enthaelt(s, "<+d><box coords=450,190,300>Leider verloren hat:<+h><p>" + aktuell().Auswahl[2].Vokabel));
  q.AntwortZeigen("[gibt es nicht]-");
  EXPECT_TRUE(enthaelt(anzeige.seiten.back(), "Das Ticket war:"));
  EXPECT_FALSE(enthaelt(anzeige.seiten.back(), "Leider verloren hat:"));
  EXPECT_FALSE(enthaelt(anzeige.seiten.back(), "Absolut."));
}

// One question answered wrongly `fehler` times, then `zuletzt`; the others right at once.
struct TStatistikFall {
  int fehler;
  const char* zuletzt;
  int zaehler;
};

TEST_F(Abfrage, StatistikNachDurchgangUndVersuch) {
  const TStatistikFall faelle[] = {{0, "#1+", 0}, {0, "#3+", 2}, {1, "#2+", 6}, {1, "+", 5},
                                   {3, "+", 15},  {2, "#5+", 14}, {7, "#5+", 15}, {2, "#9+", 15}};
  for (const TStatistikFall& f : faelle) {
    woerter(6);
    e.ProRunde = 6;
    ASSERT_TRUE(q.Starten());
    const int x = q.AktuelleAufgabe();
    int versuche = 0;
    for (int n = 0; n < 6 + f.fehler; ++n) {
      if (q.AktuelleAufgabe() == x) antworte(versuche++ < f.fehler ? "-" : f.zuletzt);
      else antworte("+");
    }
    std::array<int, 16> erwartet{};
    erwartet[0] = 5;
    erwartet[std::size_t(f.zaehler)] += 1;
    EXPECT_EQ(q.Statistik(), erwartet) << f.fehler << " " << f.zuletzt;
    ASSERT_FALSE(anzeige.auswertungen.empty());
    EXPECT_EQ(anzeige.auswertungen.back().statistik, erwartet);
  }
}

TEST_F(Abfrage, GeloesteFrageNochmalBeantwortetZaehltInRahmen) {
  woerter(6);
  e.ProRunde = 6;
  ASSERT_TRUE(q.Starten());
  q.AntwortZeigen("+");
  q.AntwortZeigen("+");   // the page reached again: the slot is solved already
  q.AntwortZeigen("#4+");
  EXPECT_EQ(q.Statistik()[0], 3);
  EXPECT_EQ(q.Richtig(), 3);
}

TEST_F(Abfrage, RundeMitEinemFehlerUndNochEineRunde) {
  woerter(6);
  e.ProRunde = 6;
  ASSERT_TRUE(q.Starten());
  antworte("-");
  for (int i = 0; i < 5; ++i) antworte("+");
  ASSERT_EQ(anzeige.auswertungen.size(), 1u);
  const TAuswertung& a = anzeige.auswertungen[0];
  EXPECT_EQ(a.titel, "Runde 1 beendet.");
  EXPECT_EQ(a.zeile2, "Sie enthielt 6 Vokabeln.");
  EXPECT_EQ(a.zeile3, "Davon wurden 5 gel\xF6st!");
  EXPECT_EQ(a.runde, 83);
  EXPECT_EQ(a.gesamt, 83);
  EXPECT_EQ(q.Durchgang(), 1);
  EXPECT_EQ(q.ProDurchgang()[1], 1);
  EXPECT_TRUE(enthaelt(anzeige.seiten.back(), "<+d>Wiederholung: 1 / 1"));

  dialogs.answer(mb::IdYes);
  antworte("+");
  ASSERT_EQ(anzeige.auswertungen.size(), 2u);
  const TAuswertung& b = anzeige.auswertungen[1];
  EXPECT_EQ(b.titel, "Runde 2 beendet");
  EXPECT_EQ(b.zeile2, "Sie enthielt 1 Vokabeln.");
  EXPECT_EQ(b.zeile3, "Davon wurden alle Vokabeln gel\xF6st!");
  EXPECT_EQ(b.runde, 100);
  EXPECT_EQ(b.gesamt, 85);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text, "Noch eine Runde???");
  EXPECT_EQ(dialogs.messages()[0].flags, mb::YesNo | mb::IconQuestion);
  // Another round starts from 1 with its counters reset.
  EXPECT_TRUE(enthaelt(anzeige.seiten.back(), "<+d>1 / 6<box coords=400,40,400 align=m><+d><+h>"));
  EXPECT_EQ(q.Statistik(), (std::array<int, 16>{}));

  for (int i = 0; i < 6; ++i) antworte("+");
  EXPECT_EQ(anzeige.dateien, std::vector<std::string>{"vokabeln.htx"});
  EXPECT_FALSE(q.Laeuft());
  const std::size_t seiten = anzeige.seiten.size();
  q.Weiter();
  q.AntwortZeigen("+");
  EXPECT_EQ(anzeige.seiten.size(), seiten);
}

TEST_F(Abfrage, DreissigFragenMitFuenfundzwanzigFehldurchgaengen) {
  woerter(60);
  e.ProRunde = 30;
  ASSERT_TRUE(q.Starten());
  const int x = q.AktuelleAufgabe();
  int fehler = 0;
  for (int n = 0; n < 30 + 25; ++n) {
    const bool falsch = q.AktuelleAufgabe() == x && fehler < 25;
    if (falsch) ++fehler;
    antworte(falsch ? "-" : "+");
  }
  EXPECT_EQ(fehler, 25);
  EXPECT_EQ(q.Durchgang(), 25);
  ASSERT_GE(q.ProDurchgang().size(), 26u);
  EXPECT_EQ(q.ProDurchgang()[25], 1);
  EXPECT_EQ(q.Statistik()[15], 1);
  ASSERT_EQ(anzeige.auswertungen.size(), 26u);
  EXPECT_EQ(anzeige.auswertungen[24].titel, "Runde 25 beendet.");
  EXPECT_EQ(anzeige.auswertungen[25].titel, "Runde 26 beendet");
  EXPECT_EQ(anzeige.dateien, std::vector<std::string>{"vokabeln.htx"});
}

TEST_F(Abfrage, VorwaertsMitWarteschlange) {
  woerter(12);
  e.Modus = TVocEinstellungen::ModusVor;
  ASSERT_TRUE(q.Starten());
  int schlange = 0;
  while (schlange < int(q.Aufgaben().size()) && !q.Aufgaben()[std::size_t(schlange)].istLeer()) ++schlange;
  EXPECT_GE(schlange, 5);
  EXPECT_LE(schlange, 8);
  EXPECT_TRUE(enthaelt(anzeige.seiten.back(), "<+d>1 / 12"));
  std::vector<std::string> reihe;
  for (int n = 0; n < 40 && q.Laeuft(); ++n) {
    reihe.push_back(aktuell().Frage.Vokabel);
    antworte(n == 0 ? "-" : "+");
  }
  // w0 comes back behind the queue it was asked with.
  std::vector<std::string> erwartet;
  for (int i = 0; i < 12; ++i) {
    erwartet.push_back("w" + std::to_string(i));
    if (i == schlange - 1) erwartet.push_back("w0");
  }
  EXPECT_EQ(reihe, erwartet);
  ASSERT_EQ(anzeige.auswertungen.size(), 1u);
  const TAuswertung& a = anzeige.auswertungen[0];
  EXPECT_EQ(a.titel, "Congratulations!");
  EXPECT_EQ(a.zeile2, "Der Abschnitt enthielt 12 Vokabeln.");
  EXPECT_EQ(a.zeile3, "Daf\xFCr wurden 13 Versuche ben\xF6tigt.");
  EXPECT_EQ(a.runde, 12 * 100 / 13);
  EXPECT_EQ(a.gesamt, a.runde);
  EXPECT_EQ(anzeige.dateien, std::vector<std::string>{"vokabeln.htx"});
}

TEST_F(Abfrage, RueckwaertsImBereichUndNurAktive) {
  woerter(10);
  bib.SetWortart(5, 4);
  e.Redewendungen = false;  // w5 is an idiom now
  e.Modus = TVocEinstellungen::ModusZurueck;
  e.Von = 2;
  e.Bis = 7;
  ASSERT_TRUE(q.QuizBereit());
  q.RundeVorbereiten();
  q.FrageZeigen(false, 10);
  std::vector<std::string> reihe;
  for (int n = 0; n < 20 && q.Laeuft(); ++n) {
    reihe.push_back(aktuell().Frage.Vokabel);
    antworte("+");
  }
  EXPECT_EQ(reihe, (std::vector<std::string>{"w7", "w6", "w4", "w3", "w2"}));
  ASSERT_EQ(anzeige.auswertungen.size(), 1u);
  EXPECT_EQ(anzeige.auswertungen[0].zeile2, "Der Abschnitt enthielt 5 Vokabeln.");
}

TEST_F(Abfrage, ReihenfolgeBleibtBeiDerLaufendenAbfrage) {
  woerter(40);
  e.Modus = TVocEinstellungen::ModusVor;
  ASSERT_TRUE(q.Starten());
  e.Modus = TVocEinstellungen::ModusKreuzUndQuer;  // changed in the options meanwhile
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(aktuell().Frage.Vokabel, "w" + std::to_string(i));
    antworte("+");
  }
  EXPECT_TRUE(enthaelt(anzeige.seiten.back(), "<+d>4 / 40"));
}

TEST_F(Abfrage, BereitschaftLiestDieGespeichertenEinstellungen) {
  // A fresh run: nothing read yet, so no difficulty would be switched on.
  store.writeString(TVocEinstellungen::kSchluessel, "Modus", "vor");
  TVocEinstellungen frisch{store};
  bib.setEinstellungen(&frisch);
  woerter(3);
  EXPECT_TRUE(q.QuizBereit());
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_FALSE(frisch.NichtGeladen);
  EXPECT_EQ(frisch.Modus, TVocEinstellungen::ModusVor);
}

TEST_F(Abfrage, ZaehlerUeberschreitetNieDieRunde) {
  const auto kopf = [this](std::size_t seite) {
    const std::string& s = anzeige.seiten[seite];
    const std::size_t a = s.find("<+d>") + 4;
    return s.substr(a, s.find('<', a) - a);
  };
  // Random: a wrong answer in pass one comes back as the only question of the repeat pass.
  woerter(6);
  e.ProRunde = 6;
  ASSERT_TRUE(q.Starten());
  antworte("-");
  for (int i = 0; i < 4; ++i) antworte("+");
  EXPECT_EQ(kopf(anzeige.seiten.size() - 1), "6 / 6");
  q.AntwortZeigen("-");
  EXPECT_EQ(kopf(anzeige.seiten.size() - 1), "6 / 6");
  q.Weiter();
  EXPECT_EQ(kopf(anzeige.seiten.size() - 1), "Wiederholung: 1 / 2");
  antworte("+");
  antworte("-");
  EXPECT_EQ(kopf(anzeige.seiten.size() - 1), "2. Wiederholung: 1 / 1");

  // In order: a question asked again after a wrong answer is not counted twice.
  anzeige.seiten.clear();
  woerter(3);
  e.Modus = TVocEinstellungen::ModusVor;
  ASSERT_TRUE(q.Starten());
  std::vector<std::string> zaehler{kopf(0)};
  for (int n = 0; n < 8 && q.Laeuft(); ++n) {
    q.AntwortZeigen(n < 2 ? "-" : "+");
    zaehler.push_back(kopf(anzeige.seiten.size() - 1));
    q.Weiter();
    if (q.Laeuft()) zaehler.push_back(kopf(anzeige.seiten.size() - 1));
  }
  EXPECT_EQ(zaehler, (std::vector<std::string>{"1 / 3", "1 / 3", "1 / 3", "1 / 3", "1 / 3", "1 / 3", "2 / 3",
                                                "2 / 3", "3 / 3", "3 / 3"}));
}

TEST_F(Abfrage, ZwischenstandVorDerErstenAbfrage) {
  q.Zwischenstand();
  ASSERT_EQ(anzeige.auswertungen.size(), 1u);
  EXPECT_EQ(anzeige.auswertungen[0].zeile2, "Noch keine Vokabeln abgefragt.");
  EXPECT_EQ(anzeige.auswertungen[0].runde, 0);
}

TEST_F(Abfrage, ZwischenstandUndOhneSeite) {
  woerter(10);
  e.ProRunde = 10;
  ASSERT_TRUE(q.Starten());
  q.Zwischenstand();
  ASSERT_EQ(anzeige.auswertungen.size(), 1u);
  EXPECT_EQ(anzeige.auswertungen[0].runde, 0);
  EXPECT_EQ(anzeige.auswertungen[0].gesamt, -1);
  EXPECT_EQ(anzeige.auswertungen[0].titel, "");
  EXPECT_EQ(anzeige.auswertungen[0].zeile2, "1 / 10");
  antworte("+");
  antworte("-");
  q.AntwortZeigen("+");
  q.Zwischenstand();
  EXPECT_EQ(anzeige.auswertungen[1].runde, 66);
  EXPECT_EQ(anzeige.auswertungen[1].zeile2, "3 / 10");

  // Without a page view nothing is shown and nothing is scored.
  anzeige.bereit = false;
  const int beantwortet = q.Beantwortet();
  const std::size_t seiten = anzeige.seiten.size();
  q.AntwortZeigen("+");
  EXPECT_EQ(q.Beantwortet(), beantwortet);
  EXPECT_EQ(anzeige.seiten.size(), seiten);
}

}  // namespace
