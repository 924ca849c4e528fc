// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tbibliothek.h"

#include "platform/files.h"
#include "platform/settingsstore.h"
#include "platform/messages.h"
#include "tests/common/testutil.h"
#include "tests/vocab/vocabfixtures.h"
#include "vocab/bibliotheksmeldungen.h"
#include "vocab/tvoceinstellungen.h"
#include "vocab/tzuletztliste.h"

#include <gtest/gtest.h>

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <filesystem>
#include <set>

namespace {

using vt::satz;
using vt::vok;

std::string text(TBibliotheksMeldung m) { return meldungsText(m); }

struct Bib : ::testing::Test {
  zek::ScriptedDialogs dialogs;
  zek::test::TempDir dir{"zek-vocab"};
  TSettingsStore store{dir.path() / "settings.ini"};
  TVocEinstellungen einstellungen{store};
  TBibliothek bib;

  Bib() {
    bib.setEinstellungen(&einstellungen);
    bib.setZufall(7);
  }
  std::string datei(const std::string& name, const std::string& inhalt) { return dir.write(name, inhalt).string(); }
  void fuelle(std::initializer_list<TVokabel> vs) {
    bib.Leeren(false);
    for (const TVokabel& v : vs) bib.Hinzufuegen(v);
    bib.LeerAnhaengen();
    bib.setVeraendert(false);
  }
  std::vector<std::string> woerter() const {
    std::vector<std::string> w;
    for (const TVokabel& v : bib.Eintraege()) w.push_back(v.Vokabel);
    return w;
  }
};

TEST_F(Bib, NewLibraryHoldsOneBlankEntry) {
  TBibliothek neu;
  EXPECT_EQ(neu.Anzahl(true), 1);
  EXPECT_EQ(neu.Anzahl(false), 0);
  EXPECT_EQ(neu.Aktuell(), 0);
  EXPECT_FALSE(neu.Veraendert());
  EXPECT_EQ(neu.AnzeigeName(), "Unbenannt");
}

TEST_F(Bib, LoadAppendsBlankEntryAndSetsState) {
  const std::string pfad = datei("a.asc", satz("a", "A") + satz("b", "B"));
  einstellungen.Bis = 5;
  EXPECT_TRUE(bib.Laden(pfad, true));
  EXPECT_EQ(woerter(), (std::vector<std::string>{"a", "b", ""}));
  EXPECT_EQ(bib.DateiName(), pfad);
  EXPECT_EQ(einstellungen.Bis, -1);
  EXPECT_FALSE(bib.Veraendert());
  EXPECT_TRUE(dialogs.messages().empty());
  // Appending loads after the existing entries and keeps a single blank entry at the end.
  EXPECT_TRUE(bib.Laden(pfad, false));
  EXPECT_EQ(woerter(), (std::vector<std::string>{"a", "b", "a", "b", ""}));
}

TEST_F(Bib, BrokenFileKeepsEarlierRecords) {
  std::string d = satz("a", "A") + satz("b", "B");
  d.resize(d.size() - 3);  // the last record lacks its final line
  const std::string pfad = datei("kaputt.asc", d);
  EXPECT_FALSE(bib.Laden(pfad, true));
  EXPECT_EQ(woerter(), (std::vector<std::string>{"a", ""}));
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text, text(TBibliotheksMeldung::FalschesFormat));
  EXPECT_EQ(dialogs.messages()[0].flags, mb::IconStop);
  EXPECT_EQ(dialogs.messages()[0].title, "zek englisch");
  EXPECT_EQ(bib.DateiName(), pfad);  // the load still completes
  EXPECT_FALSE(bib.Veraendert());
}

TEST_F(Bib, ExtraEmptyLineAtTheEndIsAWrongFormat) {
  EXPECT_FALSE(bib.Laden(datei("x.asc", satz("a", "A") + satz("b", "B") + "\r\n"), true));
  EXPECT_EQ(bib.Anzahl(false), 2);
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{text(TBibliotheksMeldung::FalschesFormat)});
}

TEST_F(Bib, OpenFailures) {
  bib.Laden(datei("a.asc", satz("a", "A")), true);
  EXPECT_FALSE(bib.Laden((dir.path() / "fehlt.asc").string(), false));
  // Nothing else changes, but step one already took the blank entry away.
  EXPECT_EQ(woerter(), std::vector<std::string>{"a"});
  EXPECT_FALSE(bib.Laden(dir.mkdir("ordner.asc").string(), true));
  EXPECT_EQ(bib.Anzahl(true), 0);
  ASSERT_EQ(dialogs.messages().size(), 2u);
  EXPECT_EQ(dialogs.messages()[0].text, text(TBibliotheksMeldung::DateiNichtGefunden));
  EXPECT_EQ(dialogs.messages()[1].text, text(TBibliotheksMeldung::FehlerBeimOeffnen));
  EXPECT_EQ(dialogs.messages()[1].flags, mb::IconInformation);
}

TEST_F(Bib, HugeFileIsReadOnlyUpToItsBound) {
  const std::string pfad = datei("riesig.asc", satz("a", "A") + satz("b", "B") + std::string(17u << 20, 'x'));
  EXPECT_FALSE(bib.Laden(pfad, true));
  EXPECT_EQ(woerter(), (std::vector<std::string>{"a", "b", ""}));
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{text(TBibliotheksMeldung::ZuGross)});

  // A plain save would cut the file to what was read: it asks, and "Nein" keeps the file.
  const auto groesse = std::filesystem::file_size(pfad);
  dialogs.clear();
  dialogs.answer(mb::IdNo);
  EXPECT_FALSE(bib.Speichern());
  EXPECT_EQ(std::filesystem::file_size(pfad), groesse);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].flags, mb::YesNo | mb::IconQuestion);
}

// What a learner opens by mistake (a picture, a text) must not take the library's place,
// nor lend it its name for the next save.
TEST_F(Bib, FileWithNoRecordLeavesTheLibraryAsItWas) {
  const std::string pfad = datei("a.asc", satz("a", "A"));
  bib.Laden(pfad, true);
  bib.SetVokabel(0, "mein");
  const std::string bild = datei("bild.asc", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  for (const bool ersetzen : {true, false}) {
    dialogs.clear();
    EXPECT_FALSE(bib.Laden(bild, ersetzen));
    EXPECT_EQ(woerter(), (std::vector<std::string>{"mein", ""}));
    EXPECT_EQ(bib.DateiName(), pfad);
    EXPECT_TRUE(bib.Veraendert());
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{text(TBibliotheksMeldung::FalschesFormat)});
  }
  EXPECT_EQ(zek::readFile(bild)->size(), 16u);
}

TEST_F(Bib, PartlyReadFileIsSavedOverOnlyAfterAQuestion) {
  std::string d = satz("a", "A") + satz("b", "B");
  d.resize(d.size() - 3);
  const std::string pfad = datei("kaputt.asc", d);
  bib.Laden(pfad, true);
  bib.SetVokabel(0, "z");
  dialogs.clear();
  dialogs.answer(mb::IdNo);
  EXPECT_FALSE(bib.Speichern(pfad));
  EXPECT_EQ(zek::readFile(pfad), d);
  EXPECT_TRUE(bib.Veraendert());
  // Another name takes the library without a question, and from then on it is whole.
  const std::string ziel = (dir.path() / "neu.asc").string();
  EXPECT_TRUE(bib.Speichern(ziel));
  EXPECT_TRUE(bib.Speichern());
  EXPECT_EQ(dialogs.messages().size(), 1u);
  // "Ja" writes what was read.
  bib.Laden(pfad, true);
  dialogs.answer(mb::IdYes);
  EXPECT_TRUE(bib.Speichern());
  EXPECT_EQ(zek::readFile(pfad), satz("a", "A"));
}

TEST_F(Bib, EmptyFileWithReplaceLeavesNoEntry) {
  EXPECT_TRUE(bib.Laden(datei("leer.asc", ""), true));
  EXPECT_EQ(bib.Anzahl(true), 0);
}

TEST_F(Bib, LoadFindsNameWithoutRegardToCase) {
  datei("Lektion.ASC", satz("a", "A"));
  EXPECT_TRUE(bib.Laden((dir.path() / "lektion.asc").string(), true));
  EXPECT_EQ(bib.Anzahl(false), 1);
}

TEST_F(Bib, SaveSkipsTrailingBlankAndRoundTrips) {
  const std::string d = satz("a", "A") + satz("", "") + satz("b", "B", "1", "-1", "2", "x [*] y", "-1");
  const std::string pfad = datei("a.asc", d);
  bib.Laden(pfad, true);
  ASSERT_EQ(bib.Anzahl(true), 4);
  const std::string ziel = (dir.path() / "b.asc").string();
  EXPECT_TRUE(bib.Speichern(ziel));
  EXPECT_EQ(zek::readFile(ziel), d);  // the gap is written, the trailing blank entry is not
  EXPECT_EQ(bib.DateiName(), ziel);
  bib.SetVokabel(0, "z");
  EXPECT_TRUE(bib.Speichern());
  EXPECT_FALSE(bib.Veraendert());
  EXPECT_EQ(zek::readFile(ziel)->substr(0, 3), "z\r\n");
}

TEST_F(Bib, FailedSaveKeepsOldFileNameAndModifiedFlag) {
  const std::string pfad = datei("a.asc", satz("a", "A"));
  bib.Laden(pfad, true);
  bib.SetVokabel(0, "neu");
  // A file where the directory should be: nothing can be created there, even as root.
  const std::string keinOrdner = datei("notiz.txt", "x");
  EXPECT_FALSE(bib.Speichern(keinOrdner + "/b.asc"));
  EXPECT_EQ(bib.DateiName(), pfad);
  EXPECT_TRUE(bib.Veraendert());  // nothing was saved, so the editor must still ask
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{text(TBibliotheksMeldung::SpeichernFehlgeschlagen)});
  EXPECT_EQ(dialogs.messages()[0].flags, mb::IconStop);
}

TEST_F(Bib, SaveOverADirectoryKeepsIt) {
  // The rename cannot replace a directory: the old content stays whole.
  const std::filesystem::path ordner = dir.mkdir("ziel.asc");
  dir.write("ziel.asc/inhalt", "x");
  fuelle({vok("a", "A")});
  EXPECT_FALSE(bib.Speichern(ordner.string()));
  EXPECT_TRUE(std::filesystem::exists(ordner / "inhalt"));
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos);  // no stray temporary file
}

TEST_F(Bib, AnzeigeName) {
  struct Fall {
    const char* datei;
    const char* anzeige;
  };
  const Fall faelle[] = {
      {"C:\\Programme\\Vokabeln\\Lektion12.asc", "C:\\Programme\\Vok ... \\Lektion12.asc"},
      {"C:\\Programme\\Vokabeln\\Lektion1.asc", "C:\\Programme\\Vokabeln\\Lektion1.asc"},  // 34 characters
      {"/home/lerner/Vokabeln/Lektion12.asc", "/home/lerner/Vok ... /Lektion12.asc"},
  };
  for (const Fall& f : faelle) {
    TBibliothek b;
    b.LadenAus("", f.datei, true);
    EXPECT_EQ(b.AnzeigeName(), f.anzeige);
  }
}

TEST_F(Bib, FieldAccessWithSpecialIndexes) {
  fuelle({vok("a", "A"), vok("b", "B"), vok("c", "C")});
  bib.setAktuell(1);
  EXPECT_EQ(bib.Vokabel(-1), "b");
  EXPECT_EQ(bib.Vokabel(-2), "a");
  EXPECT_EQ(bib.Vokabel(-3), "c");
  bib.setAktuell(0);
  EXPECT_EQ(bib.Vokabel(-2), "a");  // never below 0
  bib.setAktuell(3);
  EXPECT_EQ(bib.Vokabel(-3), "");   // the trailing blank entry is the last index
  EXPECT_EQ(bib.Vokabel(9), "");
  EXPECT_EQ(bib.Bedeutung(9, 0), "");
  EXPECT_FALSE(bib.Tip(9, 1));
  bib.SetVokabel(9, "x");
  EXPECT_FALSE(bib.Veraendert());
  bib.SetVokabel(0, "a");  // same value: not a change
  EXPECT_FALSE(bib.Veraendert());
  bib.SetVokabel(0, "A");  // case counts
  EXPECT_TRUE(bib.Veraendert());
  bib.setVeraendert(false);
  bib.SetTip(1, 1, true);
  EXPECT_TRUE(bib.Tip(1, 1));
  EXPECT_FALSE(bib.Tip(1, 0));
  EXPECT_TRUE(bib.Veraendert());
}

TEST_F(Bib, CountsAndGaps) {
  fuelle({vok("a", "A"), vok("", "leer"), vok("d", "D", 0, true)});
  EXPECT_EQ(bib.Anzahl(true), 4);
  EXPECT_EQ(bib.Anzahl(false), 3);
  EXPECT_EQ(bib.ErsteLuecke(), 1);
  EXPECT_TRUE(bib.IstLeer(1));
  EXPECT_TRUE(bib.IstLeer(-1));
  EXPECT_TRUE(bib.IstLeer(4));
  EXPECT_EQ(bib.ZaehleSprache(true, 0, -1), 1);
  EXPECT_EQ(bib.ZaehleSprache(false, 0, -1), 2);  // the gap counts as English
  EXPECT_EQ(bib.ZaehleSprache(false, 2, 1), 0);
  bib.Entfernen(1);
  EXPECT_EQ(bib.ErsteLuecke(), -1);  // the first blank entry is the last one
}

TEST_F(Bib, LeerEinfuegen) {
  fuelle({vok("a", "A"), vok("b", "B")});
  bib.setAktuell(0);
  EXPECT_TRUE(bib.LeerEinfuegen());  // at the top
  EXPECT_EQ(woerter(), (std::vector<std::string>{"", "a", "b", ""}));
  bib.setVeraendert(false);
  EXPECT_FALSE(bib.LeerEinfuegen());  // on a blank entry
  bib.setAktuell(1);
  EXPECT_FALSE(bib.LeerEinfuegen());  // right after a blank entry
  EXPECT_FALSE(bib.Veraendert());
  bib.setAktuell(2);
  EXPECT_TRUE(bib.LeerEinfuegen());
  EXPECT_EQ(woerter(), (std::vector<std::string>{"", "a", "", "b", ""}));
}

TEST_F(Bib, ActiveTest) {
  fuelle({vok("e0", "x", 0, false, 0), vok("d1", "x", 1, true, 1), vok("idiom", "x", 4, false, 2),
          vok("e4", "x", 2, false, 4), vok("", "x"), vok("e9", "x", 0, false, 9)});
  einstellungen.NichtZuSchwer = {true, true, true, false, true};
  einstellungen.Redewendungen = false;
  struct Fall {
    std::uint8_t richtung;
    bool idiome;
    std::vector<bool> aktiv;
  };
  const Fall faelle[] = {
      {TVocEinstellungen::RichtungBeides, false, {true, true, false, true, false, false}},
      {TVocEinstellungen::RichtungBeides, true, {true, true, true, true, false, false}},
      {TVocEinstellungen::RichtungDE, true, {false, true, false, false, false, false}},
      {TVocEinstellungen::RichtungED, true, {true, false, true, true, false, false}},
  };
  for (const Fall& f : faelle) {
    einstellungen.Richtung = f.richtung;
    einstellungen.Redewendungen = f.idiome;
    for (int i = 0; i < 6; ++i) EXPECT_EQ(bib.IstAktiv(i), f.aktiv[i]) << int(f.richtung) << " " << i;
  }
  einstellungen.NichtZuSchwer[4] = false;
  EXPECT_FALSE(bib.IstAktiv(3));
}

TEST_F(Bib, ActiveCountAndRange) {
  fuelle({vok("a", "A"), vok("b", "B"), vok("c", "C"), vok("d", "D")});
  einstellungen.NichtZuSchwer.fill(true);
  einstellungen.Richtung = TVocEinstellungen::RichtungBeides;
  struct Fall {
    int von, bis, anzahl, vonDanach, bisDanach;
  };
  // "to" -1 is kept: it stands for the end of the list, wherever that is later.
  const Fall faelle[] = {{-1, -1, 4, 0, -1}, {1, 2, 2, 1, 2}, {4, -1, 0, 4, -1},
                         {0, 5, 0, 0, 5},   {0, 4, 4, 0, 4}, {3, 2, 0, 3, 2}};
  for (const Fall& f : faelle) {
    einstellungen.Von = f.von;
    einstellungen.Bis = f.bis;
    EXPECT_EQ(bib.AktivAnzahl(), f.anzahl) << f.von << ".." << f.bis;
    EXPECT_EQ(einstellungen.Von, f.vonDanach);
    EXPECT_EQ(einstellungen.Bis, f.bisDanach);
  }
}

TEST_F(Bib, RangeUpToTheEndFollowsTheLibrary) {
  einstellungen.NichtZuSchwer.fill(true);
  einstellungen.Richtung = TVocEinstellungen::RichtungBeides;
  fuelle({vok("a", "A"), vok("b", "B"), vok("c", "C")});
  EXPECT_EQ(bib.AktivAnzahl(), 3);
  // Typed into the editor's new line, appended, and the whole library reversed.
  bib.SetVokabel(3, "d");
  bib.SetBedeutung(3, 0, "D");
  bib.Hinzufuegen(vok("e", "E"));
  EXPECT_EQ(bib.AktivAnzahl(), 5);
  EXPECT_EQ(bib.BereichBis(), 4);
  bib.Umkehren();
  EXPECT_EQ(bib.AktivAnzahl(), 10);
  EXPECT_TRUE(bib.BibliothekGeladen());
  bib.Hinzufuegen(vok("f", "F"));
  EXPECT_EQ(bib.AktivAnzahl(), 11);
}

TEST_F(Bib, EveryLoadKeepsTheRangeInsideTheList) {
  einstellungen.NichtZuSchwer.fill(true);
  einstellungen.Richtung = TVocEinstellungen::RichtungBeides;
  const std::string drei = satz("a", "A") + satz("b", "B") + satz("c", "C");
  struct Fall {
    const char* wie;
    int von, bis;
    bool ersetzen;
    int aktiv;
  };
  // A range chosen in a 20-entry library, then a library of 3 loaded, replacing or added to a list of 1.
  const Fall faelle[] = {{"replace", 15, 17, true, 3}, {"replace", 2, 2, true, 3}, {"add", 15, 17, false, 4},
                         {"add", 1, 1, false, 3}};
  for (const Fall& f : faelle) {
    fuelle({vok("x", "X")});
    einstellungen.Von = f.von;
    einstellungen.Bis = f.bis;
    bib.LadenAus(drei, "drei.asc", f.ersetzen);
    EXPECT_EQ(bib.AktivAnzahl(), f.aktiv) << f.wie << " " << f.von;
  }
  fuelle({vok("x", "X")});
  einstellungen.Von = 5;
  bib.Leeren(true);
  EXPECT_EQ(einstellungen.Von, 0);
  EXPECT_EQ(einstellungen.Bis, -1);
}

TEST_F(Bib, TheLibraryOfTheLastRunOpensAgainQuietly) {
  const std::string pfad = datei("zuletzt.asc", satz("a", "A") + satz("b", "B"));
  bib.LadenAus(satz("a", "A") + satz("b", "B"), pfad, true);
  geladeneMerken(bib, store);
  TBibliothek neu;
  neu.setEinstellungen(&einstellungen);
  EXPECT_TRUE(geladeneOeffnen(neu, store));
  EXPECT_EQ(neu.DateiName(), pfad);
  EXPECT_EQ(neu.Anzahl(false), 2);
  EXPECT_FALSE(neu.Veraendert());
  // Gone, broken, or no library at the end: nothing opens and nothing is said.
  for (const std::string& inhalt : {std::string(), satz("a", "A") + "kaputt\r\n"}) {
    if (inhalt.empty()) std::filesystem::remove(pfad);
    else datei("zuletzt.asc", inhalt);
    TBibliothek leer;
    EXPECT_FALSE(geladeneOeffnen(leer, store));
    EXPECT_EQ(leer.Anzahl(false), 0);
  }
  bib.Leeren(true);
  geladeneMerken(bib, store);
  TBibliothek ohne;
  EXPECT_FALSE(geladeneOeffnen(ohne, store));
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(Bib, BibliothekGeladen) {
  EXPECT_FALSE(bib.BibliothekGeladen());
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{text(TBibliotheksMeldung::KeineBibliothek)});
  EXPECT_EQ(dialogs.messages()[0].flags, mb::IconExclamation);
  fuelle({vok("a", "A"), vok("b", "B"), vok("c", "C")});
  struct Fall {
    int von, bis, vonDanach, bisDanach;
  };
  const Fall faelle[] = {{-1, -1, 0, -1}, {1, 1, 1, 1}, {2, 7, 0, -1}, {0, 2, 0, -1}};
  for (const Fall& f : faelle) {
    einstellungen.Von = f.von;
    einstellungen.Bis = f.bis;
    EXPECT_TRUE(bib.BibliothekGeladen());
    EXPECT_EQ(einstellungen.Von, f.vonDanach);
    EXPECT_EQ(einstellungen.Bis, f.bisDanach);
  }
}

TEST_F(Bib, MitTo) {
  fuelle({vok("go", "gehen", 1), vok("must", "m\xFCssen", 1), vok("Must", "m\xFCssen", 1), vok("gehen", "go", 1, true),
          vok("house", "Haus", 0)});
  EXPECT_EQ(bib.MitTo(0), "to go");
  EXPECT_EQ(bib.MitTo(1), "must");
  EXPECT_EQ(bib.MitTo(2), "to Must");
  EXPECT_EQ(bib.MitTo(3), "gehen");
  EXPECT_EQ(bib.MitTo(4), "house");
  EXPECT_EQ(bib.MitTo(-1), "");
  EXPECT_EQ(bib.MitTo(99), "");
}

TEST_F(Bib, SortierenPutsEnglishFirstAndCollatesWithoutCase) {
  fuelle({vok("Zebra", "x"), vok("\xC4pfel", "x", 0, true), vok("apple", "x", 1), vok("apple", "x", 0),
          vok("Birne", "x", 0, true), vok("Banana", "x"), vok("\xE4hnlich", "x", 2, true)});
  bib.Sortieren();
  EXPECT_EQ(woerter(), (std::vector<std::string>{"apple", "apple", "Banana", "Zebra", "\xE4hnlich", "\xC4pfel", "Birne", ""}));
  EXPECT_EQ(bib.Eintraege()[0].Wortart, 0);  // key: the word, then its word class
  EXPECT_TRUE(bib.Veraendert());
}

TEST_F(Bib, SortingTwoEntriesOfDifferentLanguageMarksModified) {
  fuelle({vok("Haus", "house", 0, true), vok("dog", "Hund")});
  bib.Sortieren();
  EXPECT_EQ(woerter(), (std::vector<std::string>{"dog", "Haus", ""}));
  EXPECT_TRUE(bib.Veraendert());
}

TEST_F(Bib, SortLargeRangeMatchesOrder) {
  bib.Leeren(false);
  for (int i = 0; i < 2000; ++i) bib.Hinzufuegen(vok("w" + std::to_string((i * 7919) % 2000), "x"));
  bib.SortiereBereich(0, 1999);
  QCollator c{QLocale(QLocale::German, QLocale::Germany)};
  c.setCaseSensitivity(Qt::CaseInsensitive);
  for (int i = 1; i < 2000; ++i)
    ASSERT_LE(c.compare(QString::fromStdString(bib.Vokabel(i - 1) + "0"), QString::fromStdString(bib.Vokabel(i) + "0")), 0) << i;
  const std::vector<std::string> w = woerter();
  EXPECT_EQ(std::set<std::string>(w.begin(), w.end()).size(), 2000u);  // nothing lost or doubled
}

TEST_F(Bib, SortingEqualKeysEndsLosesNothingAndKeepsThemTogether) {
  bib.Leeren(false);
  // Many entries with the same word and class among others, in several runs of equal keys.
  for (int i = 0; i < 300; ++i) {
    const std::string w = i % 3 == 0 ? "same" : i % 3 == 1 ? "Same" : "w" + std::to_string((i * 37) % 11);
    bib.Hinzufuegen(vok(w, "m" + std::to_string(i), i % 3 == 1 ? 1 : 0));
  }
  bib.SortiereBereich(0, 299);
  std::multiset<std::string> meanings;
  for (int i = 0; i < 300; ++i) meanings.insert(bib.Eintraege()[std::size_t(i)].Bedeutung1);
  EXPECT_EQ(meanings.size(), 300u);
  EXPECT_EQ(std::set<std::string>(meanings.begin(), meanings.end()).size(), 300u);  // each one once
  // Each key (word without case, word class) forms one run.
  std::set<std::pair<std::string, int>> closed;
  std::pair<std::string, int> current;
  for (int i = 0; i < 300; ++i) {
    const TVokabel& v = bib.Eintraege()[std::size_t(i)];
    std::string word = v.Vokabel;
    for (char& c : word) c = char(std::tolower(static_cast<unsigned char>(c)));
    const std::pair<std::string, int> key{word, v.Wortart};
    if (i > 0 && key != current) {
      EXPECT_TRUE(closed.insert(current).second) << current.first << " appears in two runs";
      EXPECT_EQ(closed.count(key), 0u) << key.first << " appears in two runs";
    }
    current = key;
  }
}

TEST_F(Bib, UmkehrenDoublesTheLibrary) {
  TVokabel a = vok("go", "gehen", 1, false, 3);
  a.Bedeutung2 = "fahren";
  a.Kontext1 = "I [*] home.";
  a.Tip1 = true;
  fuelle({a});
  bib.Umkehren();
  ASSERT_EQ(bib.Anzahl(true), 3);
  const TVokabel& r = bib.Eintraege()[1];
  EXPECT_EQ(r, vok("gehen", "go", 1, true, 3));
  EXPECT_TRUE(bib.Veraendert());
  EXPECT_TRUE(bib.IstLeer(2));
}

TEST_F(Bib, UmkehrenOfEmptyLibraryLeavesNoEntry) {
  bib.Umkehren();
  EXPECT_EQ(bib.Anzahl(true), 0);
  EXPECT_TRUE(bib.Veraendert());
}

TEST_F(Bib, Mischen) {
  fuelle({vok("a", "A"), vok("b", "B"), vok("c", "C")});
  bib.Mischen();
  EXPECT_EQ(woerter(), (std::vector<std::string>{"a", "b", "c", ""}));
  EXPECT_FALSE(bib.Veraendert());
  fuelle({vok("a", "A"), vok("b", "B"), vok("c", "C"), vok("d", "D"), vok("e", "E"), vok("f", "F")});
  bib.Mischen();
  std::vector<std::string> w = woerter();
  EXPECT_EQ(w.back(), "");  // the blank entry is never moved
  EXPECT_NE(w, (std::vector<std::string>{"a", "b", "c", "d", "e", "f", ""}));
  std::sort(w.begin(), w.end());
  EXPECT_EQ(w, (std::vector<std::string>{"", "a", "b", "c", "d", "e", "f"}));
  EXPECT_TRUE(bib.Veraendert());
}

TEST_F(Bib, DoppelteRaus) {
  auto mit2 = [](TVokabel v, const char* b2) {
    v.Bedeutung2 = b2;
    return v;
  };
  fuelle({vok("a", "x; y"), vok("a", "Y; X"),          // same set, other order and case
          mit2(vok("a", "x"), "y"),                    // Bedeutung2 joins the set
          vok("a", "x; y", 1),                         // other word class
          vok("a", "x; y", 1), vok("A", "x; y", 1),    // case of the word counts
          vok("b", "x; x"), vok("b", "x; z"),          // not a duplicate: z is missing in the first
          vok("c", "p;q"), vok("c", "p;r"),            // pieces are not lost by cutting at ";"
          vok("d", "x"), vok("e", "x"), vok("d", "x")});  // only neighbours
  EXPECT_EQ(bib.DoppelteRaus(true), 3);
  EXPECT_EQ(woerter(), (std::vector<std::string>{"a", "a", "A", "b", "b", "c", "c", "d", "e", "d", ""}));
  EXPECT_TRUE(bib.Veraendert());
  EXPECT_TRUE(dialogs.messages().empty());
  bib.Leeren(true);
  EXPECT_EQ(bib.DoppelteRaus(false), 0);
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(bib.DoppelteRaus(true), 0);
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{text(TBibliotheksMeldung::NichtGenugVokabeln)});
}

TEST_F(Bib, ZufallsAuswahl) {
  for (int f = 0; f < 8; ++f) {
    std::string d;
    for (int i = 0; i < 150; ++i) d += satz("w" + std::to_string(f) + "_" + std::to_string(i), "m");
    dir.write("sammlung/" + std::string(f % 2 ? "unter/" : "") + "f" + std::to_string(f) + (f == 3 ? ".ASC" : ".asc"), d);
  }
  dir.write("sammlung/notiz.txt", "nichts");
  const std::string wurzel = (dir.path() / "sammlung").string();
  bib.ZufallsAuswahl(wurzel);
  // Files of 150 entries are taken until more than 500 are loaded: four files.
  EXPECT_EQ(bib.Anzahl(false), 600);
  EXPECT_TRUE(bib.IstLeer(600));
  EXPECT_FALSE(bib.Veraendert());
  EXPECT_EQ(bib.ZufallsVerzeichnis(), wurzel);
  EXPECT_EQ(bib.DateiName(), "");  // a mix must not be saved over one of its files
  EXPECT_TRUE(dialogs.messages().empty());
  // The remembered directory is used when none is given.
  bib.ZufallsAuswahl();
  EXPECT_EQ(bib.Anzahl(false), 600);
}

TEST_F(Bib, ZufallsAuswahlWithoutAscFiles) {
  dir.write("leer/x.txt", "x");
  bib.Hinzufuegen(vok("a", "A"));
  bib.ZufallsAuswahl((dir.path() / "leer").string());
  EXPECT_EQ(bib.Anzahl(true), 1);
  EXPECT_TRUE(bib.IstLeer(0));
  EXPECT_EQ(bib.ZufallsVerzeichnis(), "");
}

TEST_F(Bib, ZufallsAuswahlDoesNotFollowDirectoryLinks) {
  dir.write("s/a.asc", satz("a", "A"));
  std::filesystem::create_directory_symlink(dir.path() / "s", dir.path() / "s" / "schleife");
  bib.ZufallsAuswahl((dir.path() / "s").string());
  EXPECT_EQ(bib.Anzahl(false), 1);
}

}  // namespace
