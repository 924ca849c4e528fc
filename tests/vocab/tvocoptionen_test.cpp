// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/thandover.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "tests/common/qtevents.h"
#include "tests/common/testutil.h"
#include "tests/vocab/vocabfixtures.h"
#include "vocab/bibliotheksinfo.h"
#include "vocab/tbibliothek.h"
#include "vocab/tbinfo.h"
#include "vocab/tvoceinstellungen.h"
#include "vocab/tvocoptionen.h"
#include "vocab/tvokabelabfrage.h"
#include "vocab/tzufall.h"
#include "vocab/tzuletztliste.h"
#include "widgets/txcheckbox.h"
#include "widgets/txcolorbutton.h"
#include "widgets/txlistbox.h"
#include "widgets/txradiogroup.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

using vt::vok;

namespace {

std::string dateiAus(const std::vector<TVokabel>& eintraege) {
  std::string s;
  for (const TVokabel& v : eintraege) {
    s += vt::satz(v.Vokabel, v.Bedeutung1, std::to_string(v.Wortart), v.Deutsch ? "-1" : "0",
                  std::to_string(v.Schwierigkeit));
  }
  return s;
}

class Optionen : public ::testing::Test {
 protected:
  void SetUp() override {
    TSettingsStore::global().deleteKey(TZuletztListe::kSchluessel);
    TSettingsStore::global().deleteKey(TVocEinstellungen::kSchluessel);
    m_bib.setEinstellungen(&m_e);
    m_e.NichtZuSchwer = {true, true, true, true, true};
    m_e.Richtung = TVocEinstellungen::RichtungBeides;
    m_e.NichtGeladen = false;
    Dirs().UserVocabDir = (m_dir.path() / "").string();
  }
  void TearDown() override {
    m_win.reset();
    TSettingsStore::global().deleteKey(TZuletztListe::kSchluessel);
  }
  std::string datei(const std::string& name, const std::vector<TVokabel>& eintraege) {
    return m_dir.write(name, dateiAus(eintraege)).string();
  }
  std::vector<TVokabel> woerter(int n) {
    std::vector<TVokabel> out;
    for (int i = 0; i < n; ++i) out.push_back(vok("word" + std::to_string(i), "Wort" + std::to_string(i)));
    return out;
  }
  TVocOptionen& fenster() {
    m_win = std::make_unique<TVocOptionen>(m_bib, m_e);
    return *m_win;
  }
  std::string aktivText() const { return zek::fromQString(m_win->AktivLabel()->text()); }
  bool rot() const { return m_win->AktivLabel()->palette().color(QPalette::WindowText).red() == 255 &&
                            m_win->AktivLabel()->palette().color(QPalette::WindowText).green() < 100; }

  zek::test::TempDir m_dir{"zek-optionen"};
  TVocEinstellungen m_e;
  TBibliothek m_bib;
  std::unique_ptr<TVocOptionen> m_win;
};

TEST_F(Optionen, LoadingAfterARangeResetsBisToTheLastEntry) {
  zek::ScriptedDialogs dialoge;
  m_bib.LadenAus(dateiAus(woerter(8)), "a.asc", true);
  TVocOptionen& w = fenster();
  w.Von()->setCurrentIndex(2);
  w.Bis()->setCurrentIndex(4);
  w.Pruefen();
  EXPECT_EQ(m_e.Von, 2);
  EXPECT_EQ(m_e.Bis, 4);
  dialoge.chooseFile(datei("b.asc", woerter(12)));
  ASSERT_TRUE(w.Oeffnen());
  EXPECT_EQ(w.Bis()->currentIndex(), 11);
  EXPECT_EQ(m_e.Bis, -1);  // the last item: up to the end
  EXPECT_EQ(w.Liste()->Items().size(), 12u);
  EXPECT_NE(zek::fromQString(w.NameLabel()->text()).find("12 Vokabeln"), std::string::npos);
}

TEST_F(Optionen, BisAboveVonSwapsThem) {
  m_bib.LadenAus(dateiAus(woerter(8)), "a.asc", true);
  TVocOptionen& w = fenster();
  w.Von()->setCurrentIndex(5);
  emit w.Von()->activated(5);
  w.Bis()->setCurrentIndex(1);
  emit w.Bis()->activated(1);
  EXPECT_EQ(w.Von()->currentIndex(), 1);
  EXPECT_EQ(w.Bis()->currentIndex(), 5);
  EXPECT_EQ(m_e.Von, 1);
  EXPECT_EQ(m_e.Bis, 5);
  EXPECT_EQ(aktivText(), "5 davon aktiv");
}

TEST_F(Optionen, BlankRecordsDoNotShiftTheRange) {
  // Entries 0, 1, (blank), 3, 4: the items "3" and "4" are library entries 3 and 4.
  std::vector<TVokabel> e = woerter(5);
  e[2] = TVokabel{};
  m_bib.LadenAus(dateiAus(e), "a.asc", true);
  TVocOptionen& w = fenster();
  ASSERT_EQ(w.Von()->count(), 4);
  EXPECT_EQ(zek::fromQString(w.Von()->itemText(2)), "3   word3");
  w.Von()->setCurrentIndex(2);
  w.Bis()->setCurrentIndex(3);
  w.Pruefen();
  EXPECT_EQ(m_e.Von, 3);
  EXPECT_EQ(m_e.Bis, -1);
  EXPECT_EQ(aktivText(), "2 davon aktiv");
  // Opened again later, the stored range selects the same items.
  w.Aktualisieren();
  EXPECT_EQ(w.Von()->currentIndex(), 2);
  EXPECT_EQ(w.Bis()->currentIndex(), 3);
}

TEST_F(Optionen, TheCheckShowsWhetherAQuizIsPossible) {
  // Three active entries (the others are too hard).
  std::vector<TVokabel> e = woerter(8);
  for (std::size_t i = 3; i < e.size(); ++i) e[i].Schwierigkeit = 4;
  m_e.NichtZuSchwer = {true, true, true, true, false};
  m_e.Modus = TVocEinstellungen::ModusKreuzUndQuer;
  m_e.ProRunde = 5;
  m_bib.LadenAus(dateiAus(e), "a.asc", true);
  TVocOptionen& w = fenster();
  EXPECT_EQ(aktivText(), "3 davon aktiv");
  EXPECT_TRUE(rot());
  EXPECT_EQ(zek::fromQString(w.Ampel()->toolTip()), "Einstellungen sind NICHT OK!");
  // "Tödlich" on: eight active, enough for a round of five.
  zek::test::click(w.Stufe(4), QPoint(5, 10));
  EXPECT_TRUE(m_e.NichtZuSchwer[4]);
  EXPECT_EQ(aktivText(), "8 davon aktiv");
  EXPECT_FALSE(rot());
  EXPECT_EQ(zek::fromQString(w.Ampel()->toolTip()), "Einstellungen sind OK!");
  // In order, the round size does not count, but nothing active is never usable.
  w.Modus()->setSelected(0);
  w.Modus()->OnClick(w.Modus());
  EXPECT_FALSE(w.ProRunde()->isEnabled());
  m_e.NichtZuSchwer = {false, false, false, false, false};
  w.Aktualisieren();
  EXPECT_EQ(aktivText(), "0 davon aktiv");
  EXPECT_TRUE(rot());
}

TEST_F(Optionen, RangeChosenUpToTheLastItemTakesEntriesAddedLater) {
  m_bib.LadenAus(dateiAus(woerter(3)), "a.asc", true);
  TVocOptionen& w = fenster();
  EXPECT_EQ(aktivText(), "3 davon aktiv");
  m_bib.SetVokabel(3, "word3");
  m_bib.SetBedeutung(3, 0, "Wort3");
  m_bib.LeerAnhaengen();
  m_bib.Hinzufuegen(vok("word4", "Wort4"));
  EXPECT_EQ(m_bib.AktivAnzahl(), 5);
  w.Aktualisieren();
  EXPECT_EQ(aktivText(), "5 davon aktiv");
  EXPECT_EQ(w.Bis()->currentIndex(), 4);
}

TEST_F(Optionen, TheNameLabelShowsTheFileNameWhole) {
  const std::string pfad = "/home/lerner/Dokumente/Vokabeln (E)/Aufbauwortschatz/Gefuehle und Beziehungen.asc";
  m_bib.LadenAus(dateiAus(woerter(3)), pfad, true);
  TVocOptionen& w = fenster();
  const QString zeile = w.NameLabel()->text().section('\n', 0, 0);
  EXPECT_TRUE(zeile.endsWith("/Gefuehle und Beziehungen.asc")) << zek::fromQString(zeile);
  EXPECT_LE(w.NameLabel()->fontMetrics().horizontalAdvance(zeile), w.NameLabel()->width());
  EXPECT_EQ(zek::fromQString(w.NameLabel()->toolTip()), pfad);
}

TEST_F(Optionen, SavingInAnotherFolderMakesItTheLibraryFolder) {
  zek::ScriptedDialogs dialoge;
  m_bib.LadenAus(dateiAus(woerter(3)), "", true);
  TVocOptionen& w = fenster();
  std::filesystem::create_directories(m_dir.path() / "anderer");
  dialoge.chooseFile((m_dir.path() / "anderer" / "meine.asc").string());
  ASSERT_TRUE(w.SpeichernUnter());
  const std::string ordner = (m_dir.path() / "anderer" / "").string();
  EXPECT_EQ(Dirs().UserVocabDir, ordner);
  EXPECT_EQ(TSettingsStore::global().readString("SOFTWARE\\ZEK\\zek englisch\\Verzeichnisse", "Vokabel-Dateien"),
            ordner);
  // A failed save leaves the folder as it was.
  dialoge.chooseFile((m_dir.write("keinOrdner", "x") / "y.asc").string());
  w.SpeichernUnter();
  EXPECT_EQ(Dirs().UserVocabDir, ordner);
}

TEST_F(Optionen, TheCheckAgreesWithTheQuizStart) {
  // Six active entries and twelve per round: the quiz shortens the round to six and starts.
  std::vector<TVokabel> e = woerter(8);
  e[6].Schwierigkeit = e[7].Schwierigkeit = 4;
  m_e.NichtZuSchwer = {true, true, true, true, false};
  m_e.Modus = TVocEinstellungen::ModusKreuzUndQuer;
  m_e.ProRunde = 12;
  m_bib.LadenAus(dateiAus(e), "a.asc", true);
  TVocOptionen& w = fenster();
  EXPECT_EQ(aktivText(), "6 davon aktiv");
  EXPECT_FALSE(rot());
  EXPECT_EQ(zek::fromQString(w.Ampel()->toolTip()), "Einstellungen sind OK!");
  zek::ScriptedDialogs dialoge;
  EXPECT_TRUE(m_bib.Abfrage().QuizBereit());
  EXPECT_TRUE(dialoge.messages().empty());
}

TEST_F(Optionen, RoundSizeBoundsFollowTheListInRandomOrder) {
  struct Fall {
    int n, max;
  } faelle[] = {{3, 6}, {6, 6}, {40, 40}, {250, 100}};
  m_e.Modus = TVocEinstellungen::ModusKreuzUndQuer;
  for (const Fall& f : faelle) {
    m_bib.LadenAus(dateiAus(woerter(f.n)), "a.asc", true);
    TVocOptionen& w = fenster();
    EXPECT_EQ(w.ProRunde()->minimum(), 5) << f.n;
    EXPECT_EQ(w.ProRunde()->maximum(), f.max) << f.n;
    EXPECT_TRUE(w.ProRunde()->isEnabled());
  }
  // A stored round size above the new maximum is clamped into the control and the setting.
  m_e.ProRunde = 90;
  m_bib.LadenAus(dateiAus(woerter(20)), "a.asc", true);
  fenster();
  EXPECT_EQ(m_e.ProRunde, 20);
}

TEST_F(Optionen, RecentListTakesOnlySuccessfulNamedSaves) {
  zek::ScriptedDialogs dialoge;
  TSettingsStore::global().writeString(TZuletztListe::kSchluessel, "0", "/x/a.asc");
  TSettingsStore::global().writeString(TZuletztListe::kSchluessel, "1", "/x/b.asc");
  m_bib.LadenAus(dateiAus(woerter(3)), "", true);
  TVocOptionen& w = fenster();
  EXPECT_EQ(zek::fromQString(w.ZuletztAktion(0)->text()), "&1 /x/a.asc");
  EXPECT_TRUE(w.ZuletztAktion(1)->isEnabled());
  EXPECT_FALSE(w.ZuletztAktion(2)->isEnabled());
  EXPECT_FALSE(w.ZuletztOeffnen(3));  // an unused slot keeps the library
  EXPECT_EQ(m_bib.Anzahl(false), 3);

  dialoge.chooseFile(std::nullopt);  // Save as cancelled
  EXPECT_FALSE(w.SpeichernUnter());
  dialoge.chooseFile(std::nullopt);  // Save of an unnamed library cancelled
  EXPECT_FALSE(w.Speichern());
  TZuletztListe liste;
  EXPECT_EQ(liste.Pfade()[0], "/x/a.asc");
  EXPECT_EQ(liste.Pfade()[1], "/x/b.asc");
  EXPECT_EQ(liste.Pfade()[2], "");

  const std::string neu = (m_dir.path() / "neu.asc").string();
  dialoge.chooseFile(neu);
  EXPECT_TRUE(w.SpeichernUnter());
  liste.Lesen();
  EXPECT_EQ(liste.Pfade()[0], neu);
  EXPECT_EQ(liste.Pfade()[1], "/x/a.asc");
  EXPECT_EQ(zek::fromQString(w.ZuletztAktion(0)->text()), "&1 " + neu);
  // Saving again to the same name does not repeat it.
  EXPECT_TRUE(w.Speichern());
  liste.Lesen();
  EXPECT_EQ(liste.Pfade()[1], "/x/a.asc");
  EXPECT_EQ(liste.Pfade()[2], "/x/b.asc");
}

TEST(ZuletztListe, KeepsFourDistinctPathsMostRecentFirst) {
  zek::test::TempDir dir;
  TSettingsStore store(dir.path() / "s.ini");
  TZuletztListe liste(store);
  for (const char* p : {"a", "b", "c", "d", "e", "c", ""}) liste.Aktualisieren(p);
  const std::array<std::string, 4> erwartet{"c", "e", "d", "b"};
  EXPECT_EQ(liste.Pfade(), erwartet);
  TZuletztListe wieder(store);
  EXPECT_EQ(wieder.Pfade(), erwartet);
  liste.Aktualisieren("C");  // another file on Linux
  EXPECT_EQ(liste.Pfade()[1], "c");
}

TEST_F(Optionen, DiscardingAModifiedLibraryAsksFirst) {
  zek::ScriptedDialogs dialoge;
  const std::string andere = datei("andere.asc", woerter(2));
  TSettingsStore::global().writeString(TZuletztListe::kSchluessel, "0", andere);
  m_bib.LadenAus(dateiAus(woerter(4)), "", true);
  m_bib.SetVokabel(0, "edited");
  ASSERT_TRUE(m_bib.Veraendert());
  TVocOptionen& w = fenster();

  // Cancel: New, Open and a recent file all keep the edits.
  dialoge.answer(mb::IdCancel);
  EXPECT_FALSE(w.Neu());
  dialoge.answer(mb::IdCancel);
  EXPECT_FALSE(w.Oeffnen());
  dialoge.answer(mb::IdCancel);
  EXPECT_FALSE(w.ZuletztOeffnen(0));
  // Yes, then a cancelled Save as: still kept.
  dialoge.answer(mb::IdYes);
  dialoge.chooseFile(std::nullopt);
  EXPECT_FALSE(w.ZuletztOeffnen(0));
  EXPECT_EQ(m_bib.Vokabel(0), "edited");
  EXPECT_TRUE(m_bib.Veraendert());
  ASSERT_EQ(dialoge.messages().size(), 4u);
  EXPECT_EQ(dialoge.messages()[0].text,
            "Die aktuelle Bibliothek wurde ver\xE4ndert.\rSollen die Ver\xE4nderungen gespeichert werden?");
  EXPECT_TRUE(dialoge.fileDialogs().size() == 1 && dialoge.fileDialogs()[0].save);

  // Yes and a name: saved, then replaced.
  const std::string ziel = (m_dir.path() / "gesichert.asc").string();
  dialoge.answer(mb::IdYes);
  dialoge.chooseFile(ziel);
  EXPECT_TRUE(w.ZuletztOeffnen(0));
  TBibliothek gelesen;
  ASSERT_TRUE(gelesen.Laden(ziel, true));
  EXPECT_EQ(gelesen.Vokabel(0), "edited");
  EXPECT_EQ(m_bib.DateiName(), andere);
  EXPECT_EQ(m_bib.Anzahl(false), 2);
  // No: discarded without saving.
  m_bib.SetVokabel(0, "again");
  dialoge.answer(mb::IdNo);
  EXPECT_TRUE(w.Neu());
  EXPECT_EQ(m_bib.Anzahl(false), 0);
}

TEST_F(Optionen, AFailedOpenLeavesANewLineToTypeInto) {
  zek::ScriptedDialogs dialoge;
  const std::string kaputt = m_dir.write("kaputt.asc", "").string();
  std::filesystem::remove(kaputt);
  TVocOptionen& w = fenster();
  dialoge.chooseFile(kaputt);
  EXPECT_FALSE(w.Oeffnen());
  ASSERT_FALSE(m_bib.Eintraege().empty());
  m_bib.SetVokabel(-1, "typed");
  m_bib.SetBedeutung(-1, 0, "getippt");
  EXPECT_EQ(m_bib.Vokabel(-1), "typed");
  EXPECT_TRUE(m_bib.Veraendert());
}

// KVTML chosen as the type writes KVTML, whatever the name ends with; an import tells
// which row it took as the header.
TEST_F(Optionen, ExportTypeAndImportHeaderReachTheLearner) {
  zek::ScriptedDialogs dialoge;
  m_bib.LadenAus(dateiAus(woerter(2)), "", true);
  TVocOptionen& w = fenster();
  const std::string ziel = (m_dir.path() / "meine.txt").string();
  dialoge.chooseFile(ziel, 1);
  ASSERT_TRUE(w.Exportieren());
  EXPECT_EQ(zek::readFile(ziel)->rfind("<?xml", 0), 0u);

  const std::string tabelle = m_dir.write("liste.csv", "Englisch;Deutsch\nhouse;Haus\n").string();
  dialoge.chooseFile(tabelle);
  ASSERT_TRUE(w.Importieren());
  EXPECT_EQ(m_bib.Anzahl(false), 1);
  ASSERT_FALSE(dialoge.messages().empty());
  EXPECT_NE(dialoge.messages().back().text.find("Zeile 1: als Kopfzeile gelesen"), std::string::npos)
      << dialoge.messages().back().text;
}

TEST_F(Optionen, AbfragenClosesOnlyWhenTheQuizIsReady) {
  zek::ScriptedDialogs dialoge;
  appState().PendingCommand.clear();
  setMainWindowFactory([] { return static_cast<QWidget*>(nullptr); });
  TVocOptionen& w = fenster();  // empty library: refused
  w.show();
  w.Abfragen();
  EXPECT_TRUE(w.isVisible());
  EXPECT_FALSE(dialoge.messages().empty());
  EXPECT_TRUE(appState().PendingCommand.empty());

  m_bib.LadenAus(dateiAus(woerter(12)), "a.asc", true);
  w.Aktualisieren();
  w.Abfragen();
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(appState().PendingCommand, "vabfrage");
  appState().PendingCommand.clear();
  setMainWindowFactory(nullptr);
}

TEST_F(Optionen, TolerantMenuItemIsSavedWithTheQuizSettings) {
  const char* general = "SOFTWARE\\ZEK\\zek englisch";
  const char* value = "Gro\xDFz\xFCgig (Vokabeln)";
  TSettingsStore::global().deleteValue(general, value);
  setMainWindowFactory([] { return static_cast<QWidget*>(nullptr); });
  for (const bool an : {true, false}) {
    m_e.Grosszuegig = !an;
    TVocOptionen& w = fenster();
    QAction* item = w.GrosszuegigAktion();
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isCheckable());
    EXPECT_EQ(item->isChecked(), !an);
    item->trigger();
    EXPECT_EQ(m_e.Grosszuegig, an);
    w.show();
    w.close();  // leaving the window saves
    EXPECT_EQ(TSettingsStore::global().readBool(general, value), an);
  }
  TSettingsStore::global().deleteValue(general, value);
  setMainWindowFactory(nullptr);
}

TEST_F(Optionen, DuplicatesAreReportedAndTheListRefreshed) {
  zek::ScriptedDialogs dialoge;
  std::vector<TVokabel> e = woerter(3);
  e.insert(e.begin() + 1, 2, e[1]);
  m_bib.LadenAus(dateiAus(e), "a.asc", true);
  TVocOptionen& w = fenster();
  w.DoppelteEntfernen();
  ASSERT_EQ(dialoge.messages().size(), 1u);
  EXPECT_EQ(dialoge.messages()[0].text, "2 doppelte Vokabeln wurden entfernt!");
  EXPECT_EQ(w.Liste()->Items().size(), 3u);
}

TEST(BibliotheksInfo, CountsPerLanguageClassDifficultyAndContext) {
  std::vector<TVokabel> e = {vok("dog", "Hund", 0, false, 0), vok("go", "gehen", 1, false, 2),
                             vok("schnell", "fast", 2, true, 4), vok("odd", "seltsam", 9, false, 7)};
  e[1].Kontext2 = "I [go] home.";
  e.push_back(TVokabel{});  // the new line is no vocabulary
  const TBibliotheksInfo info = zaehleBibliothek(e);
  EXPECT_EQ(info.gesamt[0], 3);
  EXPECT_EQ(info.gesamt[1], 1);
  EXPECT_EQ(info.mitKontext[0], 1);
  EXPECT_EQ(info.wortart[0][0] + info.wortart[0][1] + info.wortart[0][2], 2);  // class 9 only in the total
  EXPECT_EQ(info.wortart[1][2], 1);
  EXPECT_EQ(info.stufe[0][0] + info.stufe[0][2], 2);
  EXPECT_EQ(info.stufe[1][4], 1);
  const TBibliotheksInfo leer = zaehleBibliothek({TVokabel{}});
  EXPECT_EQ(leer.gesamt[0] + leer.gesamt[1] + leer.mitKontext[0] + leer.wortart[0][0], 0);
}

TEST_F(Optionen, PicturesOfTheWindowAndDialogs) {
  std::vector<TVokabel> e = woerter(30);
  for (std::size_t i = 0; i < e.size(); i += 3) e[i].Deutsch = true;
  m_bib.LadenAus(dateiAus(e), "Kleidung.asc", true);
  TVocOptionen& w = fenster();
  w.show();
  const std::string out = std::getenv("ZEK_SHOTS") ? std::getenv("ZEK_SHOTS") : "";
  const QImage bild = w.grab().toImage();
  EXPECT_EQ(bild.size(), QSize(800, 600));
  TBInfo info(m_bib);
  info.show();
  const QImage infoBild = info.grab().toImage();
  TZufall zufall;
  zufall.show();
  EXPECT_EQ(zufall.Werte().groesse, 40);
  EXPECT_EQ(zufall.Werte().englisch, 50);
  EXPECT_TRUE(zufall.Werte().redewendungen && zufall.Werte().sortieren);
  if (!out.empty()) {
    bild.save(QString::fromStdString(out + "/optionen.png"));
    infoBild.save(QString::fromStdString(out + "/info.png"));
    zufall.grab().toImage().save(QString::fromStdString(out + "/zufall.png"));
  }
}

}  // namespace

namespace {

TEST_F(Optionen, NamesOutsideTheCharacterSetAreRefused) {
  zek::ScriptedDialogs dialoge;
  m_bib.LadenAus(dateiAus(woerter(3)), "", true);
  TVocOptionen& w = fenster();
  dialoge.chooseFile((m_dir.path() / "W?rter.asc").string());
  EXPECT_FALSE(w.SpeichernUnter());
  EXPECT_TRUE(m_bib.DateiName().empty());
  EXPECT_FALSE(std::filesystem::exists(m_dir.path() / "W?rter.asc"));
  ASSERT_EQ(dialoge.messages().size(), 1u);
  EXPECT_EQ(TZuletztListe().Pfade()[0], "");
}

}  // namespace
