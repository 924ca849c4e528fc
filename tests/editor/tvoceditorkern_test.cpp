// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/editor/editorfixture.h"
#include "tests/vocab/vocabfixtures.h"
#include "vocab/editorpruefungen.h"
#include "vocab/tzuletztliste.h"

using et::T;

namespace {

using Kern = et::EditorFixture;

TEST_F(Kern, NextEntryOnABlankLastEntryAddsNothing) {
  kern.oeffnen();
  kern.naechsteVokabel();
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Ende der Bibliothek erreicht!"});
  EXPECT_EQ(bib.Anzahl(true), 1);
  eintragen("cat", "Katze");
  kern.naechsteVokabel();
  EXPECT_EQ(bib.Anzahl(true), 2);
  EXPECT_EQ(bib.Aktuell(), 1);
  EXPECT_EQ(kern.Zeilen(), (std::vector<std::string>{"$cat", "$(leer)"}));
  kern.vorigeVokabel();
  kern.vorigeVokabel();
  EXPECT_EQ(dialogs.texts().back(), "Anfang der Bibliothek erreicht!");
}

TEST_F(Kern, AGapCannotBeLeftButTheBlankLastEntryCan) {
  bib.Leeren(false);
  bib.Hinzufuegen({});
  bib.Hinzufuegen(vt::vok("dog", "Hund"));
  kern.oeffnen();  // entry 0 blank, entry 1 complete: a gap
  EXPECT_FALSE(kern.waehlen(1));
  EXPECT_EQ(bib.Aktuell(), 0);
  EXPECT_EQ(dialogs.texts().size(), 1u);
  eintragen("cat", "Katze");
  EXPECT_TRUE(kern.waehlen(1));
  kern.naechsteVokabel();  // onto the blank last entry
  EXPECT_TRUE(kern.waehlen(0));
}

TEST_F(Kern, PastedMeaningsLoseTheirOuterSeparators) {
  EXPECT_EQ(TVocEditorKern::bedeutungBereinigt("; house; "), "house");
  EXPECT_EQ(TVocEditorKern::bedeutungBereinigt("Haus; Heim"), "Haus; Heim");
  EXPECT_EQ(TVocEditorKern::bedeutungBereinigt("Haus\r\nHeim"), "Haus  Heim");
}

TEST_F(Kern, RepeatedTakeOversAlternateTheLayouts) {
  db.Append("abc", "1", "a; b; c");
  db.Sort();
  kern.oeffnen();
  kern.wortGeaendert("abc");
  const std::pair<const char*, const char*> erwartet[] = {{"a", "b; c"}, {"a; b", "c"}, {"a", "b; c"}};
  for (const auto& [b1, b2] : erwartet) {
    ASSERT_TRUE(kern.uebernehmen());
    EXPECT_EQ(bib.Bedeutung(-1, 0), b1);
    EXPECT_EQ(bib.Bedeutung(-1, 1), b2);
  }
  EXPECT_EQ(bib.Vokabel(-1), "abc");
}

TEST_F(Kern, TakeOverFromAnEmptyHalfOrIncompleteEntryChangesNothing) {
  kern.oeffnen();
  eintragen("dog", "Hund");
  db.SetGermanEnglish(false);
  db.InsertEmpty();  // an incomplete dictionary entry is current
  EXPECT_FALSE(kern.uebernehmen());
  db.SetGermanEnglish(true);
  db.Clear();
  bib.SetDeutsch(-1, true);
  EXPECT_FALSE(kern.uebernehmen());
  EXPECT_EQ(bib.Vokabel(-1), "dog");
  EXPECT_EQ(bib.Bedeutung(-1, 0), "Hund");
}

TEST_F(Kern, TypingAfterAFailedOpenIsKept) {
  dialogs.chooseFile((dir.path() / "fehlt.asc").string());
  kern.oeffnen();
  EXPECT_TRUE(kern.oeffnenDatei());
  eintragen("cat", "Katze");
  EXPECT_EQ(bib.Vokabel(0), "cat");
  EXPECT_EQ(bib.Anzahl(false), 1);
}

TEST_F(Kern, YesToTheSaveQuestionThenCancelKeepsTheChanges) {
  const auto datei = dir.write("alt.asc", vt::satz("cat", "Katze"));
  kern.oeffnen();
  eintragen("dog", "Hund");
  TZuletztListe().Aktualisieren(datei.string());
  kern.oeffnen();
  dialogs.answer(mb::IdYes);
  dialogs.chooseFile(std::nullopt);
  kern.zuletztOeffnen(0);
  EXPECT_EQ(bib.Vokabel(0), "dog");
  EXPECT_TRUE(bib.Veraendert());
  kern.zuletztOeffnen(3);  // an unused slot
  EXPECT_EQ(dialogs.messages().size(), 1u);
}

TEST_F(Kern, TheLongMeaningWarningComesOnce) {
  kern.oeffnen();
  std::string text(30, 'x');
  kern.bedeutungGeaendert(0, text);
  for (int i = 0; i < 3; ++i) kern.bedeutungGeaendert(0, text += "y");
  EXPECT_TRUE(dialogs.messages().empty());  // shown when the field is left
  kern.langeBedeutungMelden();
  kern.langeBedeutungMelden();
  EXPECT_EQ(dialogs.messages().size(), 1u);
  // Shortened again before the field was left: nothing to say.
  kern.bedeutungGeaendert(0, "kurz");
  kern.bedeutungGeaendert(0, std::string(35, 'z'));
  kern.bedeutungGeaendert(0, "kurz");
  kern.langeBedeutungMelden();
  EXPECT_EQ(dialogs.messages().size(), 1u);
}

// ---- the checks ----

TEST_F(Kern, ACheckFromTheLastEntryWalksOnlyIt) {
  bib.Hinzufuegen(vt::vok("light", "Licht"));
  kern.oeffnen();
  kern.waehlen(0);
  bibliothekKontrollieren(kern);
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Kontrolle beendet."});
  EXPECT_FALSE(kern.Kontrolle);
}

TEST_F(Kern, TheCheckFillsQuestionMarksAndAddsUnknownWords) {
  bib.Leeren(false);
  bib.Hinzufuegen(vt::vok("dog", "?"));
  bib.Hinzufuegen(vt::vok("zebra", "Zebra"));
  kern.oeffnen();
  kern.schalter().neueInsWoerterbuch = true;
  bibliothekKontrollieren(kern);
  EXPECT_EQ(bib.Bedeutung(0, 0), "Hund");
  EXPECT_EQ(bib.Bedeutung(0, 1), T("Rüde"));
  db.SetGermanEnglish(false);
  EXPECT_EQ(db.GetWord(db.FindWord("zebra", 1)), "zebra");
  EXPECT_TRUE(db.IsSorted());
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Kontrolle beendet."});
}

TEST_F(Kern, AClassMismatchAsksBeforeOverwriting) {
  bib.Leeren(false);
  bib.Hinzufuegen(vt::vok("light", "hell", 2));
  kern.oeffnen();
  dialogs.answer(mb::IdNo);   // no take-over
  dialogs.answer(mb::IdNo);   // do not go on
  bibliothekKontrollieren(kern);
  EXPECT_EQ(bib.Bedeutung(0, 0), "hell");
  EXPECT_EQ(bib.Wortart(0), 2);
  ASSERT_EQ(dialogs.messages().size(), 2u);
}

TEST_F(Kern, ContextRepairMendsBracketsAndCountsSquareOnes) {
  EXPECT_EQ(kontextRepariert("He (run( fast"), "He (run) fast");
  EXPECT_EQ(kontextRepariert("(He (run( fast"), "He (run) fast");
  EXPECT_TRUE(kontextErledigt("I need some new [*]."));
  EXPECT_TRUE(kontextErledigt(""));
  EXPECT_FALSE(kontextErledigt("He (run( fast"));
  EXPECT_FALSE(kontextErledigt("a ) b ("));
}

TEST_F(Kern, RandomLibraryTakesTheChosenHalfAndRefusesAnEmptyOne) {
  kern.oeffnen();
  std::mt19937 zufall(7);
  TZufallsWahl wahl;
  wahl.groesse = 12;
  wahl.englisch = 100;
  ASSERT_TRUE(zufallsBibliothek(kern, wahl, zufall));
  EXPECT_EQ(bib.Anzahl(false), 12);
  EXPECT_EQ(bib.ZaehleSprache(false, 0, -1), 12);
  db.SetGermanEnglish(true);
  db.Clear();
  wahl.englisch = 50;
  dialogs.clear();
  EXPECT_FALSE(zufallsBibliothek(kern, wahl, zufall));
  EXPECT_EQ(bib.Anzahl(false), 12);
  EXPECT_EQ(dialogs.messages().size(), 1u);
}

TEST_F(Kern, RandomLibraryStopsOnCancel) {
  kern.oeffnen();
  eintragen("cat", "Katze");
  dialogs.answer(mb::IdCancel);
  std::mt19937 zufall(1);
  EXPECT_FALSE(zufallsBibliothek(kern, TZufallsWahl{}, zufall));
  EXPECT_EQ(bib.Vokabel(0), "cat");
  EXPECT_EQ(bib.Anzahl(false), 1);
}

}  // namespace

// The dictionary writes a noun's gender behind it and comments before a meaning; the quick
// check and the take-over compare without them.
TEST(EditorChecks, GenderAndCommentsOfTheDictionaryAreNoDifference) {
  zek::ScriptedDialogs quiet;
  TXDatabase db;
  db.SetGermanEnglish(true);
  db.Append(zek::utf8ToCp1252("Straße (f)"), "1", "street");
  db.SetGermanEnglish(false);
  db.Append("house", "1", "Haus (n); [arch.] Geschlecht (n)");
  TVokabel strasse;
  strasse.Vokabel = zek::utf8ToCp1252("Straße");
  strasse.Bedeutung1 = "street";
  strasse.Deutsch = true;
  EXPECT_EQ(xpressPruefen(strasse, db).befund, TXPressBefund::Ok);  // was "unknown"
  TVokabel house;
  house.Vokabel = "house";
  house.Bedeutung1 = "Haus";
  house.Bedeutung2 = "Geschlecht";
  EXPECT_EQ(xpressPruefen(house, db).befund, TXPressBefund::Ok);  // was "different"
  house.Bedeutung2 = "Familie";
  EXPECT_EQ(xpressPruefen(house, db).befund, TXPressBefund::Anders);
}
