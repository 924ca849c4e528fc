// SPDX-License-Identifier: GPL-3.0-or-later
// The editor window offscreen: keys, questions and the ways out, driven as a learner would.
#include "media/recordingwindows.h"
#include "media/tspeech.h"
#include "media/twaverec.h"
#include "platform/appstate.h"
#include "platform/files.h"
#include "platform/tprintservice.h"
#include "tests/editor/editorfixture.h"
#include "tests/vocab/vocabfixtures.h"
#include "vocab/tdruckereinrichten.h"
#include "vocab/tvoceditor.h"
#include "vocab/tzufall.h"
#include "vocab/tzuletztliste.h"
#include "widgets/txlistbox.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <unistd.h>

using et::T;

namespace {

struct Fenster : et::EditorFixture {
  std::unique_ptr<TVocEditor> w;

  Fenster() {
    setMainWindowFactory([] { return static_cast<QWidget*>(nullptr); });
    TSettingsStore::global().deleteKey(TZuletztListe::kSchluessel);
    Dirs().UserVocabDir = (dir.path() / "").string();
  }
  ~Fenster() override {
    w.reset();
    zek::freeWaveRec();  // before the media layer's statics go
    zek::setRecordingWindows({});
    TSettingsStore::global().deleteKey(TZuletztListe::kSchluessel);
  }
  TVocEditor& oeffnen() {
    w = std::make_unique<TVocEditor>(bib, db);
    w->show();
    QApplication::setActiveWindow(w.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
    return *w;
  }
  void aktion(const char* text) {
    QAction* a = w->Aktion(text);
    ASSERT_NE(a, nullptr) << text;
    a->trigger();
  }
  std::string wort() const { return zek::fromQString(w->WortFeld()->text()); }
};

TEST_F(Fenster, SpecialCharacterKeysTypeIntoTheFocusedField) {
  oeffnen();
  const struct {
    Qt::Key taste;
    Qt::KeyboardModifiers mod;
    const char* zeichen;  // UTF-8
  } faelle[] = {
      {Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier, "Â"},
      {Qt::Key_F, Qt::ControlModifier, "¿"},
      {Qt::Key_F5, Qt::NoModifier, "ç"},
      {Qt::Key_N, Qt::ControlModifier, "ñ"},
  };
  std::string erwartet;
  w->WortFeld()->setFocus();
  for (const auto& f : faelle) {
    QTest::keyClick(w->WortFeld(), f.taste, f.mod);
    erwartet += T(f.zeichen);
    EXPECT_EQ(bib.Vokabel(-1), erwartet) << f.zeichen;
  }
  // "â" from the menu; Ctrl+A selects all, in the word field and in a meaning field.
  w->BedeutungFeld(0)->setFocus();
  aktion("â");
  EXPECT_EQ(bib.Bedeutung(-1, 0), T("â"));
  QTest::keyClicks(w->BedeutungFeld(0), "Haus");
  QTest::keyClick(w->BedeutungFeld(0), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(w->BedeutungFeld(0), "Heim");
  EXPECT_EQ(bib.Bedeutung(-1, 0), "Heim");
  w->WortFeld()->setFocus();
  QTest::keyClick(w->WortFeld(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(w->WortFeld(), "cat");
  EXPECT_EQ(bib.Vokabel(-1), "cat");
  // Ctrl+Y (take-over) reaches the window from a field.
  w->WortFeld()->selectAll();
  w->WortFeld()->setFocus();
  QTest::keyClicks(w->WortFeld(), "dog");
  QTest::keyClick(w->WortFeld(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(bib.Bedeutung(-1, 0), "Hund");
  EXPECT_EQ(bib.Bedeutung(-1, 1), T("Rüde"));
}

// Double clicks speak a field's text; only English reaches the run-time voice, so what is
// asked follows the entry's language and the dictionary's half.
TEST_F(Fenster, DoubleClicksGiveOnlyEnglishToTheRunTimeVoice) {
  std::vector<std::string> gefragt;
  zek::setMissingWordSpeaker([&](const std::string& wort, bool) {
    gefragt.push_back(wort);
    return std::string();
  });
  bib.Leeren(false);
  bib.Hinzufuegen(vt::vok("kettle", "Wasserkocher"));
  oeffnen();
  auto* flagge = w->findChild<QToolButton*>("Sprache oben");
  ASSERT_NE(flagge, nullptr);
  const auto doppel = [](QWidget* feld) { QTest::mouseDClick(feld, Qt::LeftButton, Qt::NoModifier, QPoint(4, 8)); };
  const auto liste = [this] { w->Liste()->OnDblClick(w->Liste()); };
  const std::string wbWort = zek::fromQString(w->WbWortFeld()->text());
  ASSERT_FALSE(wbWort.empty());
  struct Fall {
    const char* was;
    bool deutsch;  // the entry's language
    std::function<void()> klick;
    std::vector<std::string> gefragt;
  };
  const std::vector<Fall> faelle = {
      {"English word", false, [&] { doppel(w->WortFeld()); }, {"kettle"}},
      {"its German meaning", false, [&] { doppel(w->BedeutungFeld(0)->viewport()); }, {}},
      {"list, English entry", false, liste, {"kettle"}},
      {"German word", true, [&] { doppel(w->WortFeld()); }, {}},
      {"its English meaning", true, [&] { doppel(w->BedeutungFeld(0)->viewport()); }, {"Wasserkocher"}},
      {"list, German entry", true, liste, {}},
      {"dictionary word, English-German", false, [&] { doppel(w->WbWortFeld()); }, {wbWort}},
      {"dictionary meaning, English-German", false, [&] { doppel(w->WbBedeutungFeld()->viewport()); }, {}},
  };
  for (const Fall& f : faelle) {
    if (bib.Deutsch(-1) != f.deutsch) flagge->click();
    ASSERT_EQ(bib.Deutsch(-1), f.deutsch);
    gefragt.clear();
    f.klick();
    EXPECT_EQ(gefragt, f.gefragt) << f.was;
  }
  zek::setMissingWordSpeaker(nullptr);
}

// Characters the library files cannot hold (typed with AltGr, or pasted past the window's
// own paste) are refused with a message instead of being stored as "?".
TEST_F(Fenster, CharactersWithoutACodeAreRefusedAndLineBreaksJoined) {
  oeffnen();
  w->WortFeld()->setFocus();
  QTest::keyClicks(w->WortFeld(), "x");
  {
    // QTest types only Latin-1 keys; the arrow AltGr+I gives comes as a key with text.
    QKeyEvent arrow(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x2192)));
    QApplication::sendEvent(w->WortFeld(), &arrow);
  }
  QTest::keyClicks(w->WortFeld(), "y");
  EXPECT_EQ(bib.Vokabel(-1), "xy");
  EXPECT_EQ(w->WortFeld()->text(), "xy");
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_NE(dialogs.messages()[0].text.find("nicht speichern"), std::string::npos);

  w->BedeutungFeld(1)->setFocus();
  w->BedeutungFeld(1)->insertPlainText(QString::fromUtf8("Geb\u00e4ude\nHeim \u2192 Zuhause"));
  EXPECT_EQ(bib.Bedeutung(-1, 1), T("Gebäude Heim  Zuhause"));
  EXPECT_EQ(dialogs.messages().size(), 2u);
}

TEST_F(Fenster, TheLongMeaningWarningComesOnceWhenTheFieldIsLeft) {
  oeffnen();
  w->BedeutungFeld(0)->setFocus();
  QTest::keyClicks(w->BedeutungFeld(0), QString(40, 'x'));
  EXPECT_EQ(bib.Bedeutung(-1, 0), std::string(40, 'x'));
  EXPECT_TRUE(dialogs.messages().empty());  // no box in the middle of typing
  w->BedeutungFeld(1)->setFocus();
  w->BedeutungFeld(0)->setFocus();
  w->WortFeld()->setFocus();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text.substr(0, 22), "Die 1. Bedeutung ist f");
}

TEST_F(Fenster, TypingAfterAFailedOpenIsStoredAndSaved) {
  oeffnen();
  dialogs.chooseFile((dir.path() / "fehlt.asc").string());
  aktion("Öffnen...");
  ASSERT_EQ(dialogs.messages().size(), 1u);  // the file is not there
  w->WortFeld()->setFocus();
  QTest::keyClicks(w->WortFeld(), "cat");
  w->BedeutungFeld(0)->setFocus();
  QTest::keyClicks(w->BedeutungFeld(0), "Katze");
  EXPECT_EQ(bib.Vokabel(0), "cat");
  const std::string ziel = (dir.path() / "neu.asc").string();
  dialogs.chooseFile(ziel);
  aktion("Speichern unter...");
  TBibliothek gelesen;
  ASSERT_TRUE(gelesen.Laden(ziel, true));
  EXPECT_EQ(gelesen.Anzahl(false), 1);
  EXPECT_EQ(gelesen.Bedeutung(0, 0), "Katze");
}

// New, Open, a recent file and closing all ask the save question; "Yes" with a cancelled
// Save as and "Cancel" keep the changes, "No" goes on.
TEST_F(Fenster, EveryWayOfDiscardingAModifiedLibraryAsks) {
  const std::string andere = dir.write("andere.asc", vt::satz("cat", "Katze")).string();
  TZuletztListe().Aktualisieren(andere);
  oeffnen();
  const std::string wege[] = {"Neu", "Öffnen...", "1 " + andere, "schliessen"};
  for (const std::string& weg : wege) {
    bib.Leeren(true);
    w->Kern().oeffnen();
    w->WortFeld()->setText("edited");
    ASSERT_TRUE(bib.Veraendert());
    auto gehen = [&] {
      if (weg == "schliessen") {
        w->close();
      } else {
        aktion(weg.c_str());
      }
    };
    for (const int antwort : {mb::IdYes, mb::IdCancel}) {
      dialogs.clear();
      dialogs.answer(antwort);
      if (antwort == mb::IdYes) dialogs.chooseFile(std::nullopt);  // Save as cancelled
      gehen();
      ASSERT_EQ(dialogs.messages().size(), 1u) << weg;
      EXPECT_EQ(dialogs.messages()[0].flags, mb::YesNoCancel | mb::IconQuestion);
      EXPECT_EQ(bib.Vokabel(0), "edited") << weg;
      EXPECT_TRUE(bib.Veraendert()) << weg;
      EXPECT_TRUE(w->isVisible()) << weg;
    }
    // The cancelled Save as left the recent list alone.
    EXPECT_EQ(TZuletztListe().Pfade()[0], andere);
    EXPECT_EQ(TZuletztListe().Pfade()[1], "");

    if (weg == "schliessen") break;
    dialogs.clear();
    dialogs.answer(mb::IdNo);
    if (weg == "Öffnen...") dialogs.chooseFile(andere);
    gehen();
    EXPECT_NE(bib.Vokabel(0), "edited") << weg;
  }
  dialogs.answer(mb::IdNo);
  w->close();
  EXPECT_FALSE(w->isVisible());
}

TEST_F(Fenster, AnUnusedRecentSlotIsDisabledAndDoesNothing) {
  bib.Leeren(false);
  bib.Hinzufuegen(vt::vok("light", "Licht"));
  TZuletztListe().Aktualisieren((dir.path() / "a.asc").string());
  oeffnen();
  QAction* benutzt = w->Aktion(("1 " + (dir.path() / "a.asc").string()).c_str());
  ASSERT_NE(benutzt, nullptr);
  EXPECT_TRUE(benutzt->isEnabled());
  QAction* frei = w->Aktion("2 ");
  ASSERT_NE(frei, nullptr);
  EXPECT_FALSE(frei->isEnabled());
  w->Kern().zuletztOeffnen(1);
  EXPECT_EQ(bib.Vokabel(0), "light");
  EXPECT_TRUE(dialogs.messages().empty());
}

// While the check waits for an answer the learner tries every way to change or leave the
// editor; none of them may act.
TEST_F(Fenster, WhileACheckRunsNothingElseChangesOrClosesTheEditor) {
  bib.Leeren(false);
  bib.Hinzufuegen(vt::vok("house", "Haus"));  // fewer meanings than the dictionary: a question
  bib.Hinzufuegen(vt::vok("house", "Haus"));  // a duplicate that Ctrl+D would remove
  oeffnen();
  std::vector<std::string> texte;
  bool versucht = false;
  zek::setMessageAnswerer([&](const TMessageRequest& r) {
    texte.push_back(r.text);
    if (!versucht && r.text.find("andere Bedeutungen") != std::string::npos) {
      versucht = true;
      EXPECT_TRUE(w->Kern().Kontrolle);
      EXPECT_FALSE(w->close());
      for (const char* a : {"Neu", "Öffnen...", "Doppelte Vokabeln entfernen", "Bibliothek sortieren",
                            "Zufällig erzeugen...", "Vokabel aus Wörterbuch übernehmen", "Einstellungen", "Abfrage",
                            "Home"})
        w->Aktion(a)->trigger();
      QTest::keyClick(w->WortFeld(), Qt::Key_PageDown);
      QTest::keyClick(w->WortFeld(), Qt::Key_D, Qt::ControlModifier);
      return mb::IdNo;
    }
    return zek::defaultAnswer(r.flags);  // "No": do not go on
  });
  aktion("Bibliothek kontrollieren");
  zek::setMessageAnswerer(nullptr);
  EXPECT_TRUE(versucht);
  EXPECT_TRUE(w->isVisible());
  EXPECT_FALSE(w->Kern().Kontrolle);
  EXPECT_EQ(bib.Anzahl(false), 2);
  EXPECT_EQ(bib.Bedeutung(0, 0), "Haus");
  EXPECT_EQ(bib.Aktuell(), 0);
  EXPECT_TRUE(dialogs.fileDialogs().empty());
  EXPECT_NE(std::find(texte.begin(), texte.end(), "Kann diese Seite noch nicht verlassen!"), texte.end());
  EXPECT_TRUE(w->Aktion("Neu")->isEnabled());  // everything back afterwards
  EXPECT_TRUE(w->WortFeld()->isEnabled());
}

TEST_F(Fenster, AfterACheckSwitchesAndRecordingButtonsShowTheirState) {
  bib.Leeren(false);
  bib.Hinzufuegen(vt::vok("cat", "Katze"));
  oeffnen();
  QAction* staendig = w->Aktion("Ständig nachschlagen");
  ASSERT_TRUE(staendig->isChecked());
  staendig->trigger();
  ASSERT_FALSE(w->Kern().schalter().staendigNachschlagen);
  aktion("Bibliothek kontrollieren");  // switches the look-up on for good
  EXPECT_TRUE(w->Kern().schalter().staendigNachschlagen);
  EXPECT_TRUE(staendig->isChecked());

  const auto knopf = [this](const char* name) { return w->findChild<QToolButton*>(QString::fromUtf8(name)); };
  knopf("Aufnahme starten")->click();
  ASSERT_TRUE(knopf("Aufnahme starten")->isChecked());
  aktion("XPress-Kontrolle");
  EXPECT_TRUE(knopf("Aufnahme starten")->isEnabled());
  EXPECT_FALSE(knopf("Aufnahme abspielen")->isEnabled());
  EXPECT_FALSE(knopf("Aufnahme speichern")->isEnabled());
  knopf("Aufnahme starten")->click();
  EXPECT_TRUE(knopf("Aufnahme abspielen")->isEnabled());
  EXPECT_TRUE(knopf("Aufnahme speichern")->isEnabled());
}

TEST_F(Fenster, ContextRepairPassesSquareBracketSentences) {
  bib.Leeren(false);
  TVokabel a = vt::vok("cat", "Katze");
  a.Kontext1 = "The [*] sleeps.";
  TVokabel b = vt::vok("light", "Licht");
  b.Kontext1 = "Turn on the [*], please.";
  b.Kontext2 = "He (run( fast";
  bib.Hinzufuegen(a);
  bib.Hinzufuegen(b);
  oeffnen();
  aktion("Kontexte abgleichen");
  // "[*]" counts as settled, so the walk goes past "cat"; the broken sentence is mended.
  EXPECT_EQ(bib.Kontext(1, 1), "He (run) fast");
  EXPECT_EQ(bib.Kontext(0, 0), "The [*] sleeps.");
  EXPECT_FALSE(w->Kern().Kontrolle);
}

TEST_F(Fenster, ARecordingIsSavedBesideTheOldTakeAndRenamed) {
  bib.Leeren(false);
  bib.Hinzufuegen(vt::vok("house", "Haus"));
  oeffnen();
  std::vector<std::pair<std::string, std::string>> verwaltung;
  zek::setRecordingWindows({nullptr, [&](const std::string& wort, const std::string& datei) {
                              verwaltung.emplace_back(wort, datei);
                            }});
  const std::filesystem::path alt = dir.write("house.wav", "old take");
  w->aufnahmeKlick(true);
  QTest::qWait(150);
  w->aufnahmeKlick(false);

  // The learner names it ".mp3": the recording becomes "house.wav", which exists, so he is
  // asked; the save then fails (its temporary file cannot be made) and the old take stays.
  std::filesystem::create_directory(alt.string() + ".part" + std::to_string(::getpid()));
  dialogs.chooseFile((dir.path() / "house.mp3").string());
  dialogs.answer(mb::IdYes);
  w->speichernKlick();
  ASSERT_GE(dialogs.messages().size(), 2u);
  EXPECT_NE(dialogs.messages()[0].text.find("existiert bereits"), std::string::npos);
  EXPECT_EQ(dialogs.messages().back().text, "Sprachaufnahme konnte nicht gespeichert werden..");
  EXPECT_EQ(zek::readFile(alt.string()), std::optional<std::string>("old take"));
  EXPECT_TRUE(verwaltung.empty());

  // Without the obstacle it replaces the old take, and the recordings window gets word and file.
  std::filesystem::remove(alt.string() + ".part" + std::to_string(::getpid()));
  dialogs.clear();
  dialogs.chooseFile((dir.path() / "house").string());  // ".wav" added: asked about again
  dialogs.answer(mb::IdYes);
  w->speichernKlick();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_NE(dialogs.messages()[0].text.find("existiert bereits"), std::string::npos);
  EXPECT_EQ(zek::readFile(alt.string())->substr(0, 4), "RIFF");
  ASSERT_EQ(verwaltung.size(), 1u);
  EXPECT_EQ(verwaltung[0].first, "house");
  EXPECT_EQ(verwaltung[0].second, alt.string());
}

// The random library from the file menu: the dialog, then a library drawn from the
// dictionary; a cancelled save question leaves the learner's library as it was.
TEST_F(Fenster, RandomLibraryFromTheMenu) {
  oeffnen();
  auto dialogBestaetigen = [](bool ok) {
    QTimer::singleShot(0, [ok] {
      auto* d = qobject_cast<TZufall*>(QApplication::activeModalWidget());
      ASSERT_NE(d, nullptr);
      ok ? d->accept() : d->reject();
    });
  };
  dialogBestaetigen(false);
  aktion("Zufällig erzeugen...");
  EXPECT_EQ(bib.Anzahl(false), 0);

  dialogBestaetigen(true);
  aktion("Zufällig erzeugen...");
  EXPECT_EQ(bib.Anzahl(false), 40);
  EXPECT_EQ(bib.Aktuell(), 0);
  EXPECT_EQ(w->Liste()->Items().size(), 41u);
  EXPECT_TRUE(w->Aktion("Neu")->isEnabled());
  ASSERT_TRUE(bib.Veraendert());

  const std::string erstes = bib.Vokabel(0);
  dialogBestaetigen(true);
  dialogs.answer(mb::IdCancel);
  aktion("Zufällig erzeugen...");
  EXPECT_EQ(bib.Anzahl(false), 40);
  EXPECT_EQ(bib.Vokabel(0), erstes);
}

TEST_F(Fenster, PicturesOfTheEditorAndItsDialogs) {
  bib.Leeren(false);
  bib.Hinzufuegen(vt::vok("house", T("Haus; Gebäude")));
  TVokabel hund = vt::vok("Hund", "dog", 0, true);
  hund.Kontext1 = "Der [Hund] bellt.";
  bib.Hinzufuegen(hund);
  oeffnen();
  w->Kern().waehlen(1);
  EXPECT_EQ(wort(), "Hund");
  EXPECT_EQ(zek::fromQString(w->WbWortFeld()->text()), "Hund");
  const QImage bild = w->grab().toImage();
  EXPECT_EQ(bild.size(), QSize(800, 572));
  TDruckerEinrichten ohne({}, {}, "");
  TDruckerEinrichten mit({T("Büro"), "Labor"}, {}, "");
  mit.DruckerListe()->setCurrentIndex(1);
  if (const char* out = std::getenv("ZEK_SHOTS")) {
    bild.save(QString::fromStdString(std::string(out) + "/editor.png"));
    ohne.grab().toImage().save(QString::fromStdString(std::string(out) + "/drucker-ohne.png"));
    mit.grab().toImage().save(QString::fromStdString(std::string(out) + "/drucker-mit.png"));
  }
}

TEST(DruckerEinrichten, ChoosesAPrinterItsPaperOrPdf) {
  const std::vector<std::string> drucker{T("Büro"), "Labor"};
  TDruckerEinrichten d(drucker, {}, "");
  ASSERT_EQ(d.DruckerListe()->count(), 3);
  EXPECT_EQ(d.DruckerListe()->itemText(0), QString::fromUtf8("Büro (Standard)"));
  EXPECT_EQ(d.DruckerListe()->currentIndex(), 0);
  EXPECT_EQ(d.Wahl().printer, "");  // the default, whichever it is when printing
  EXPECT_FALSE(d.Wahl().pdf);

  d.DruckerListe()->setCurrentIndex(1);
  d.PapierListe()->setCurrentIndex(1);
  EXPECT_EQ(d.Wahl().printer, "Labor");
  EXPECT_TRUE(d.Wahl().letter);
  EXPECT_TRUE(d.Hinweis().contains("Labor"));

  d.DruckerListe()->setCurrentIndex(2);  // PDF: always A4
  EXPECT_TRUE(d.Wahl().pdf);
  EXPECT_FALSE(d.Wahl().letter);
  EXPECT_FALSE(d.PapierListe()->isEnabled());

  // The earlier choice is shown again; one that has gone falls back to the default.
  const struct {
    TPrinterSetup jetzt;
    int zeile;
  } wieder[] = {{{"Labor", false, true}, 1}, {{"weg", false, false}, 0}, {{"", true, false}, 2}};
  for (const auto& f : wieder) {
    TDruckerEinrichten e(drucker, f.jetzt, "");
    EXPECT_EQ(e.DruckerListe()->currentIndex(), f.zeile) << f.jetzt.printer;
  }

  TDruckerEinrichten ohne({}, {}, "");
  EXPECT_EQ(ohne.DruckerListe()->count(), 1);
  EXPECT_TRUE(ohne.Wahl().pdf);
  EXPECT_TRUE(ohne.Hinweis().startsWith("Es ist kein Drucker eingerichtet."));
  TDruckerEinrichten ordner({}, {}, "/tmp/drucke");
  EXPECT_TRUE(ordner.Hinweis().contains("/tmp/drucke"));
}

TEST(DruckerEinrichten, APdfChoiceAsksForTheFileEvenWithPrinters) {
  const char* alt = std::getenv("ZEK_PRINT_DIR");
  const std::string altWert = alt ? alt : "";
  unsetenv("ZEK_PRINT_DIR");
  zek::ScriptedDialogs dialoge;
  setPrinterSetup({"", true, false});
  dialoge.chooseFile(std::nullopt);
  const TPrintStart s = beginPrintJob({"Liste", "liste.pdf"});
  EXPECT_TRUE(s.cancelled);
  ASSERT_EQ(dialoge.fileDialogs().size(), 1u);
  EXPECT_EQ(dialoge.fileDialogs()[0].filter, "PDF-Dateien (*.pdf)|*.pdf");
  setPrinterSetup({});
  if (alt) setenv("ZEK_PRINT_DIR", altWert.c_str(), 1);
}

}  // namespace
