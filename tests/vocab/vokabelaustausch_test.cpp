#include "platform/files.h"
#include "tests/common/testutil.h"
#include "vocab/tbibliothek.h"
#include "vocab/vokabelaustausch.h"
#include "vocab/vokabeldatei.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

using R = TAustauschRichtung;

// The readers and writers as the program reaches them.
TImportErgebnis liesText(std::string_view d, R r = R::Automatisch) {
  return vokabelFormat(TAustauschFormat::Text).lesen(d, r);
}
TImportErgebnis liesKvtml(std::string_view d, R r = R::Automatisch) {
  return vokabelFormat(TAustauschFormat::Kvtml).lesen(d, r);
}
std::string alsText(const std::vector<TVokabel>& e) { return vokabelFormat(TAustauschFormat::Text).schreiben(e, {}); }
std::string alsKvtml(const std::vector<TVokabel>& e, std::string_view titel = {}) {
  return vokabelFormat(TAustauschFormat::Kvtml).schreiben(e, titel);
}

TVokabel voll() {
  TVokabel v;
  v.Vokabel = "to go";
  v.Bedeutung1 = "gehen; fahren";
  v.Bedeutung2 = "laufen";
  v.Kontext1 = "Let's *go* home, \"now\"\t[go]";
  v.Kontext2 = "#not a header; (went)";
  v.Tip1 = true;
  v.Wortart = 1;
  v.Schwierigkeit = 3;
  return v;
}

std::vector<TVokabel> gemischt() {
  TVokabel de = voll();
  de.Vokabel = "M\xFC" "he";
  de.Bedeutung1 = "effort, \"trouble\"";
  de.Bedeutung2 = {};
  de.Deutsch = true;
  de.Tip1 = false;
  de.Tip2 = true;
  de.Wortart = 0;
  TVokabel idiom{"take place", "stattfinden", "", "", "", false, false, 4, false, 0};
  TVokabel klein{"under", "unter", "", "", "", false, false, 3, false, 4};
  return {voll(), de, idiom, klein};
}

// Both formats carry every field of every entry, directions mixed.
TEST(Vokabelaustausch, RoundTripKeepsEveryField) {
  const auto e = gemischt();
  const TImportErgebnis t = liesText(alsText(e));
  ASSERT_TRUE(t.ok()) << t.fehler;
  EXPECT_EQ(t.eintraege, e);
  EXPECT_TRUE(t.uebersprungen.empty());
  const TImportErgebnis k = liesKvtml(alsKvtml(e));
  ASSERT_TRUE(k.ok()) << k.fehler;
  EXPECT_EQ(k.eintraege, e);
  EXPECT_TRUE(k.uebersprungen.empty());
}

// Every shipped library survives text and KVTML unchanged.
TEST(Vokabelaustausch, ShippedLibrariesRoundTrip) {
  const fs::path wurzel = zek::test::distDir() / "Vokabeln (E)";
  ASSERT_TRUE(fs::is_directory(wurzel)) << wurzel;
  int dateien = 0;
  for (const auto& f : fs::recursive_directory_iterator(wurzel)) {
    if (!f.is_regular_file() || zek::extensionLower(f.path().filename().string()) != ".asc") continue;
    SCOPED_TRACE(f.path().string());
    ++dateien;
    const auto daten = zek::readFile(f.path());
    ASSERT_TRUE(daten);
    std::vector<TVokabel> e = liesVokabeln(*daten).eintraege;
    std::erase(e, TVokabel{});
    EXPECT_EQ(liesText(alsText(e)).eintraege, e);
    EXPECT_EQ(liesKvtml(alsKvtml(e)).eintraege, e);
  }
  EXPECT_GT(dateien, 10);
}

struct TTextFall {
  const char* name;
  std::string daten;
  R richtung;
  std::vector<TVokabel> erwartet;
  std::size_t uebersprungen;
};

TVokabel ev(const char* w, const char* b, const char* k = "", bool deutsch = false) {
  TVokabel v;
  v.Vokabel = w;
  v.Bedeutung1 = b;
  v.Kontext1 = k;
  v.Deutsch = deutsch;
  return v;
}

TEST(Vokabelaustausch, TextVariants) {
  const TTextFall faelle[] = {
      {"tab, no header", "house\tHaus\nday\tTag\tA nice *day*.\n", R::Automatisch,
       {ev("house", "Haus"), ev("day", "Tag", "A nice *day*.")}, 0},
      {"BOM, CRLF, header lines", "\xEF\xBB\xBF#separator:semicolon\r\n#html:false\r\nhouse;Haus, Geb\xC3\xA4ude\r\n",
       R::Automatisch, {ev("house", "Haus, Geb\xE4ude")}, 0},
      {"semicolon detected", "house;Haus\ncar;Auto, Wagen\n", R::Automatisch,
       {ev("house", "Haus"), ev("car", "Auto, Wagen")}, 0},
      {"comma detected, quoted separator and break",
       "house,\"Haus; Geb\xC3\xA4ude\"\n\"sea, the\",\"See\",\"The \"\"sea\"\"\nis blue.\"\n", R::Automatisch,
       {ev("house", "Haus; Geb\xE4ude"), ev("sea, the", "See", "The \"sea\" is blue.")}, 0},
      {"header row skipped", "Englisch\tDeutsch\nhouse\tHaus\n", R::Automatisch, {ev("house", "Haus")}, 0},
      {"German header means German first", "Deutsch\tEnglisch\nHaus\thouse\n", R::Automatisch,
       {ev("Haus", "house", "", true)}, 0},
      {"direction given", "Haus\thouse\n", R::DeutschEnglisch, {ev("Haus", "house", "", true)}, 0},
      {"missing fields and blank lines skipped", "house\t\n\n\t\nonly\n  \ncat\tKatze\n", R::Automatisch,
       {ev("cat", "Katze")}, 2},
      {"no Windows-1252 code", "tea\t\xE8\x8C\xB6\ncat\tKatze\n", R::Automatisch, {ev("cat", "Katze")}, 1},
      {"unclosed quote stops", "cat\tKatze\ndog\t\"Hund\nrest\tRest\n", R::Automatisch, {ev("cat", "Katze")}, 1},
      {"blanks trimmed", "  cat \t Katze\r\n", R::Automatisch, {ev("cat", "Katze")}, 0},
      {"control characters left out", "house\tH\x1E" "aus\tMy *house*.\x01\n", R::Automatisch,
       {ev("house", "Haus", "My *house*.")}, 0},
      // First rows that look like headers but are entries of a word list.
      {"word list row is no header", "word,Wort\nsentence,Satz\n", R::Automatisch,
       {ev("word", "Wort"), ev("sentence", "Satz")}, 0},
      {"language names are entries", "German\tDeutsch\nEnglish\tEnglisch\n", R::Automatisch,
       {ev("German", "Deutsch"), ev("English", "Englisch")}, 0},
      {"word and meaning header", "Word;Meaning\nhouse;Haus\n", R::Automatisch, {ev("house", "Haus")}, 0},
      {"CR-only line ends", "house;Haus\rcat;Katze\rdog;Hund\r", R::Automatisch,
       {ev("house", "Haus"), ev("cat", "Katze"), ev("dog", "Hund")}, 0},
      {"CR inside quotes joins", "\"big\rhouse\";Haus\r\ncat;Katze", R::Automatisch,
       {ev("big house", "Haus"), ev("cat", "Katze")}, 0},
  };
  for (const TTextFall& f : faelle) {
    SCOPED_TRACE(f.name);
    const TImportErgebnis r = liesText(f.daten, f.richtung);
    ASSERT_TRUE(r.ok()) << r.fehler;
    EXPECT_EQ(r.eintraege, f.erwartet);
    EXPECT_EQ(r.uebersprungen.size(), f.uebersprungen);
  }
}

TEST(Vokabelaustausch, AHeaderRowIsNamedInTheNotes) {
  const TImportErgebnis r = liesText("Wort\tBedeutungen\tBeispiel\thmm\nhouse\tHaus\n");
  ASSERT_EQ(r.eintraege.size(), 1u);
  ASSERT_FALSE(r.hinweise.empty());
  EXPECT_EQ(r.hinweise[0].zeile, 1u);
  EXPECT_EQ(r.hinweise[0].text, "als Kopfzeile gelesen, nicht als Vokabel: \"Wort\", \"Bedeutungen\", \"Beispiel\", ...");
}

TEST(Vokabelaustausch, SkippedRecordsNameTheirLine) {
  const TImportErgebnis r = liesText("cat\tKatze\n\"two\nlines\"\t\xE2\x82\xAC ok\nsmile\t\xF0\x9F\x98\x80\n");
  ASSERT_EQ(r.uebersprungen.size(), 1u);
  EXPECT_EQ(r.uebersprungen[0].zeile, 4u);
  EXPECT_NE(r.uebersprungen[0].text.find("U+1F600"), std::string::npos);
  ASSERT_EQ(r.eintraege.size(), 2u);
  EXPECT_EQ(r.eintraege[1].Vokabel, "two lines");
  EXPECT_EQ(r.eintraege[1].Bedeutung1, "\x80 ok");  // the euro sign has a code
  ASSERT_FALSE(r.hinweise.empty());                 // the joined line break is noted
  EXPECT_EQ(r.hinweise[0].zeile, 2u);
}

// Found by fuzzing: a control character inside a text field was kept, and the KVTML
// export (XML cannot carry it) then gave back another entry.
TEST(Vokabelaustausch, ControlCharactersDoNotBreakTheKvtmlRoundTrip) {
  const TImportErgebnis r = liesText("house\tH\x1Eus\tMy *house*.\n");
  ASSERT_EQ(r.eintraege.size(), 1u);
  EXPECT_EQ(r.eintraege[0].Bedeutung1, "Hus");
  ASSERT_EQ(r.hinweise.size(), 1u);
  EXPECT_EQ(r.hinweise[0].text, "Steuerzeichen in einem Feld entfernt");
  EXPECT_EQ(liesKvtml(alsKvtml(r.eintraege)).eintraege, r.eintraege);
}

TEST(Vokabelaustausch, RefusedTextFiles) {
  const std::string langeZeile = "a\t" + std::string(kZeilenGrenze + 1, 'b') + "\n";
  for (const std::string& d : {std::string("house\tHaus \xFC\n"), std::string("\xFF\xFEh\0o", 5),
                               std::string("#separator:pipe\na|b\n"), langeZeile}) {
    const TImportErgebnis r = liesText(d);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.eintraege.empty());
  }
}

std::string kvtml(const std::string& kennungen, const std::string& eintraege, const std::string& rest = {}) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kvtml version=\"2.0\">\n<identifiers>" + kennungen +
         "</identifiers>\n<entries>" + eintraege + "</entries>" + rest + "</kvtml>\n";
}

const std::string kEnDe =
    "<identifier id=\"0\"><name>English</name><locale>en</locale></identifier>"
    "<identifier id=\"1\"><name>German</name><locale>de</locale></identifier>";

TEST(Vokabelaustausch, KvtmlFromOtherPrograms) {
  const std::string eintraege =
      "<entry id=\"7\"><translation id=\"0\"><text>house</text><example>My *house* is big.</example></translation>"
      "<translation id=\"1\"><text>Haus</text><comment>Geb\xC3\xA4ude</comment></translation></entry>\n"
      "<entry id=\"8\"><translation id=\"0\"><text>run</text></translation>"
      "<translation id=\"1\"><text>laufen</text></translation></entry>\n"
      "<entry id=\"9\"><translation id=\"0\"><text>lonely</text></translation></entry>\n";
  const std::string arten =
      "<wordtypes><container><name>Substantiv</name><specialwordtype>noun</specialwordtype>"
      "<container><name>m</name><specialwordtype>noun/male</specialwordtype></container>"
      "<entry id=\"7\"><translation id=\"0\"/></entry></container>"
      "<container><name>Verben</name><specialwordtype>verb</specialwordtype>"
      "<entry id=\"8\"><translation id=\"0\"/></entry></container></wordtypes>";
  const TImportErgebnis r = liesKvtml(kvtml(kEnDe, eintraege, arten));
  ASSERT_TRUE(r.ok()) << r.fehler;
  ASSERT_EQ(r.eintraege.size(), 2u);
  EXPECT_EQ(r.eintraege[0].Vokabel, "house");
  EXPECT_EQ(r.eintraege[0].Bedeutung1, "Haus");
  EXPECT_EQ(r.eintraege[0].Bedeutung2, "Geb\xE4ude");
  EXPECT_EQ(r.eintraege[0].Kontext1, "My *house* is big.");
  EXPECT_EQ(r.eintraege[0].Wortart, 0);
  EXPECT_EQ(r.eintraege[1].Wortart, 1);
  ASSERT_EQ(r.uebersprungen.size(), 1u);  // no meaning
  EXPECT_EQ(r.uebersprungen[0].zeile, 6u);

  // German listed first: German words, English meanings; other languages ignored.
  const std::string deEn = "<identifier id=\"3\"><locale>fr</locale></identifier>"
                           "<identifier id=\"1\"><locale>de</locale></identifier>"
                           "<identifier id=\"0\"><locale>en-GB</locale></identifier>";
  const TImportErgebnis d = liesKvtml(kvtml(deEn, eintraege));
  ASSERT_EQ(d.eintraege.size(), 2u);
  EXPECT_EQ(d.eintraege[0].Vokabel, "Haus");
  EXPECT_EQ(d.eintraege[0].Bedeutung1, "house");
  EXPECT_TRUE(d.eintraege[0].Deutsch);
  // The direction given wins over the order.
  const TImportErgebnis g = liesKvtml(kvtml(deEn, eintraege), R::EnglischDeutsch);
  ASSERT_EQ(g.eintraege.size(), 2u);
  EXPECT_EQ(g.eintraege[0].Vokabel, "house");
  // Neither English nor German: the first two, with a note.
  const std::string frEs = "<identifier id=\"0\"><locale>fr</locale></identifier>"
                           "<identifier id=\"1\"><locale>es</locale></identifier>";
  const TImportErgebnis f = liesKvtml(kvtml(frEs, eintraege));
  EXPECT_EQ(f.eintraege.size(), 2u);
  EXPECT_FALSE(f.hinweise.empty());
}

TEST(Vokabelaustausch, RefusedKvtmlFiles) {
  const std::string ok = "<entry id=\"0\"><translation id=\"0\"><text>a</text></translation>"
                         "<translation id=\"1\"><text>b</text></translation></entry>";
  const std::string faelle[] = {
      kvtml(kEnDe, ok).substr(0, 120),                                // cut off
      "<kvtml version=\"2.0\"><identifiers></kvtml>",                 // not well-formed
      "<?xml version=\"1.0\" encoding=\"X-NONSENSE\"?><kvtml version=\"2.0\"/>",
      "<kvtml version=\"1.0\"/>",                                     // old version
      "<html/>",
      "",
      kvtml("<identifier id=\"0\"><locale>en</locale></identifier>", ok),  // one language
  };
  for (const std::string& d : faelle) {
    SCOPED_TRACE(d);
    const TImportErgebnis r = liesKvtml(d);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.eintraege.empty());
  }
}

// Found by hand after fuzzing missed it: nesting this deep overflowed the stack.
TEST(Vokabelaustausch, DeeplyNestedKvtmlIsRefusedWithAMessage) {
  const auto tief = [](const std::string& auf, const std::string& zu, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += auf;
    for (int i = 0; i < n && !zu.empty(); ++i) s += zu;
    return s;
  };
  const std::string eintrag = "<entry id=\"0\"><translation id=\"0\"><text>a</text></translation>"
                              "<translation id=\"1\"><text>b</text></translation></entry>";
  const std::string faelle[] = {
      kvtml(kEnDe, eintrag, "<wordtypes>" + tief("<container>", "</container>", 50000) + "</wordtypes>"),
      kvtml(kEnDe, "<entry id=\"0\"><translation id=\"0\"><text>" + tief("<b>", "</b>", 100000) +
                       "</text></translation></entry>"),
      "<kvtml version=\"2.0\"><wordtypes>" + tief("<container>", "", 100000),
  };
  for (const std::string& d : faelle) {
    const TImportErgebnis r = liesKvtml(d);
    EXPECT_NE(r.fehler.find("zu tief verschachtelt"), std::string::npos) << r.fehler;
    EXPECT_TRUE(r.eintraege.empty());
  }
  // Real nesting still reads.
  const TImportErgebnis r =
      liesKvtml(kvtml(kEnDe, eintrag, "<wordtypes>" + tief("<container>", "</container>", 20) + "</wordtypes>"));
  EXPECT_TRUE(r.ok()) << r.fehler;
}

TEST(Vokabelaustausch, KvtmlSkipsUncodableAndKeepsTheRest) {
  const std::string e = "<entry id=\"0\"><translation id=\"0\"><text>tea</text></translation>"
                        "<translation id=\"1\"><text>\xE8\x8C\xB6</text></translation></entry>"
                        "<entry id=\"1\"><translation id=\"0\"><text>cat</text></translation>"
                        "<translation id=\"1\"><text>Katze</text></translation></entry>";
  const TImportErgebnis r = liesKvtml(kvtml(kEnDe, e));
  ASSERT_EQ(r.eintraege.size(), 1u);
  EXPECT_EQ(r.eintraege[0].Vokabel, "cat");
  ASSERT_EQ(r.uebersprungen.size(), 1u);
  EXPECT_NE(r.uebersprungen[0].text.find("U+8336"), std::string::npos);
}

// The file level replaces the library only on success and writes atomically.
TEST(Vokabelaustausch, FilesAndLibrary) {
  zek::test::TempDir tmp("zek-austausch");
  const std::string ziel = zek::fromPath(tmp.path() / "aus.kvtml");
  EXPECT_EQ(formatFuerName(ziel), TAustauschFormat::Kvtml);
  EXPECT_EQ(formatFuerName("a.TXT"), TAustauschFormat::Text);
  ASSERT_EQ(exportiereDatei(gemischt(), ziel, TAustauschFormat::Kvtml), "");

  TBibliothek bib;
  bib.Hinzufuegen(voll());
  const auto vorher = bib.Eintraege();
  const std::string kaputt = zek::fromPath(tmp.path() / "kaputt.kvtml");
  ASSERT_TRUE(zek::writeFileAtomic(zek::toPath(kaputt), "<kvtml"));
  EXPECT_FALSE(importiereInBibliothek(bib, kaputt, TAustauschFormat::Kvtml, R::Automatisch).ok());
  EXPECT_EQ(bib.Eintraege(), vorher);

  const TImportErgebnis r = importiereInBibliothek(bib, ziel, TAustauschFormat::Kvtml, R::Automatisch);
  ASSERT_TRUE(r.ok()) << r.fehler;
  EXPECT_EQ(bib.Anzahl(false), 4);
  EXPECT_TRUE(bib.IstLeer(4));  // the editor's blank line
  EXPECT_EQ(*bib.Eintrag(1), gemischt()[1]);
  EXPECT_TRUE(bib.Veraendert());
  EXPECT_TRUE(bib.DateiName().empty());

  EXPECT_NE(exportiereDatei(gemischt(), zek::fromPath(tmp.path() / "aus.kvtml" / "x"), TAustauschFormat::Text), "");
}

// Control characters cannot travel in either format: the export names the entries
// that lose them instead of dropping them unsaid.
TEST(Vokabelaustausch, ExportNamesEntriesThatLoseControlCharacters) {
  std::vector<TVokabel> eintraege(4);
  for (TVokabel& v : eintraege) {
    v.Vokabel = "word";
    v.Bedeutung1 = "Wort";
  }
  eintraege[1].Kontext2 = "ring\x07ring";
  eintraege[2].Vokabel = "tab\tstays";
  eintraege[3].Bedeutung2 = "\x1F";
  EXPECT_EQ(eintraegeMitSteuerzeichen(eintraege), (std::vector<std::size_t>{2, 4}));
  EXPECT_EQ(steuerzeichenHinweis(0), "");
  EXPECT_EQ(steuerzeichenHinweis(1), "Die Vokabeln wurden exportiert. In einem Eintrag wurden Steuerzeichen weggelassen, "
                                     "die eine Austauschdatei nicht aufnehmen kann.");
  EXPECT_NE(steuerzeichenHinweis(2).find("In 2 Eintr\xE4gen wurden"), std::string::npos);

  // What the note says is true: the entry comes back without them, the rest unchanged.
  const TImportErgebnis r = liesKvtml(alsKvtml(eintraege));
  ASSERT_TRUE(r.ok()) << r.fehler;
  ASSERT_EQ(r.eintraege.size(), 4u);
  EXPECT_EQ(r.eintraege[1].Kontext2, "ringring");
  EXPECT_EQ(r.eintraege[2].Vokabel, "tab\tstays");
}

}  // namespace
