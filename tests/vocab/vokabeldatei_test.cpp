// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/vokabeldatei.h"

#include "tests/vocab/vocabfixtures.h"

#include <gtest/gtest.h>

namespace {

using vt::satz;

TEST(VokabelDatei, ReadsAllFieldsInFileOrder) {
  const std::string daten = "  house \r\n\tHaus\r\nGeb\xE4ude \r\n A [*] \r\n0\r\nB (*)\r\n-1\r\n2\r\n-1\r\n3\r\n";
  const TLeseErgebnis r = liesVokabeln(daten);
  ASSERT_TRUE(r.fehler.empty());
  ASSERT_EQ(r.eintraege.size(), 1u);
  const TVokabel& v = r.eintraege[0];
  EXPECT_EQ(v.Vokabel, "house");           // trimmed
  EXPECT_EQ(v.Bedeutung1, "Haus");
  EXPECT_EQ(v.Bedeutung2, "Geb\xE4ude");
  EXPECT_EQ(v.Kontext1, " A [*] ");        // sentences are kept as they are
  EXPECT_FALSE(v.Tip1);
  EXPECT_EQ(v.Kontext2, "B (*)");
  EXPECT_TRUE(v.Tip2);
  EXPECT_EQ(v.Wortart, 2);
  EXPECT_TRUE(v.Deutsch);
  EXPECT_EQ(v.Schwierigkeit, 3);
}

TEST(VokabelDatei, TwoBooleanReadings) {
  struct Fall {
    const char* zeile;
    bool tip;      // true unless exactly "0"
    bool deutsch;  // false unless exactly "-1"
  };
  const Fall faelle[] = {{"0", false, false}, {"-1", true, true}, {"1", true, false},
                         {"", true, false},   {" 0", true, false}, {"-1 ", true, false}};
  for (const Fall& f : faelle) {
    const std::string d = "w\r\nm\r\n\r\n\r\n" + std::string(f.zeile) + "\r\n\r\n" + f.zeile + "\r\n0\r\n" + f.zeile + "\r\n0\r\n";
    const TLeseErgebnis r = liesVokabeln(d);
    ASSERT_EQ(r.eintraege.size(), 1u) << f.zeile;
    EXPECT_EQ(r.eintraege[0].Tip1, f.tip) << '"' << f.zeile << '"';
    EXPECT_EQ(r.eintraege[0].Tip2, f.tip) << '"' << f.zeile << '"';
    EXPECT_EQ(r.eintraege[0].Deutsch, f.deutsch) << '"' << f.zeile << '"';
  }
}

TEST(VokabelDatei, NumberLines) {
  struct Fall {
    const char* zeile;
    int wert;  // -1000: a broken record
  };
  const Fall faelle[] = {{"3", 3},   {" 4 ", 4}, {"+2", 2},     {"256", 0},        {"-1", 255}, {"300", 44},
                         {"", -1000}, {"x", -1000}, {"1x", -1000}, {"1.0", -1000}, {"+-1", -1000},
                         {"99999999999", -1000}};
  for (const Fall& f : faelle) {
    const TLeseErgebnis r = liesVokabeln(satz("w", "m", f.zeile));
    if (f.wert == -1000) {
      EXPECT_TRUE(r.eintraege.empty()) << f.zeile;
      ASSERT_EQ(r.fehler.size(), 1u) << f.zeile;
      EXPECT_EQ(r.fehler[0].art, TLeseFehlerArt::KeineZahl);
      EXPECT_EQ(r.fehler[0].zeile, 8u);
    } else {
      ASSERT_EQ(r.eintraege.size(), 1u) << f.zeile;
      EXPECT_EQ(r.eintraege[0].Wortart, f.wert) << f.zeile;  // truncated to one byte
    }
  }
}

TEST(VokabelDatei, WavLineIsSkipped) {
  const std::string d = "dog\r\n.wav\\dog.wav\r\nHund\r\n\r\n\r\n0\r\n\r\n0\r\n0\r\n0\r\n1\r\n" + satz("cat", "Katze");
  const TLeseErgebnis r = liesVokabeln(d);
  ASSERT_TRUE(r.fehler.empty());
  ASSERT_EQ(r.eintraege.size(), 2u);
  EXPECT_EQ(r.eintraege[0].Bedeutung1, "Hund");
  EXPECT_EQ(r.eintraege[0].Schwierigkeit, 1);
  EXPECT_EQ(r.eintraege[1].Vokabel, "cat");
  // Only line 2, only exactly ".wav" at its start.
  EXPECT_EQ(liesVokabeln(satz("w", ".WAV x")).eintraege.at(0).Bedeutung1, ".WAV x");
  EXPECT_EQ(liesVokabeln(satz(".wav", "m")).eintraege.at(0).Vokabel, ".wav");
}

TEST(VokabelDatei, BrokenRecordsKeepWhatCameBefore) {
  const std::string zwei = satz("a", "A") + satz("b", "B");
  struct Fall {
    std::string daten;
    std::size_t eintraege;
    TLeseFehlerArt art;
    std::size_t zeile;
    std::size_t satzZeile;
  };
  const Fall faelle[] = {
      {zwei.substr(0, zwei.size() - 3), 1, TLeseFehlerArt::DateiEnde, 20, 11},  // last line missing
      {zwei + "\r\n", 2, TLeseFehlerArt::DateiEnde, 22, 21},  // extra empty line at the end
      {satz("a", "A") + satz("b", "B", "Nomen"), 1, TLeseFehlerArt::KeineZahl, 18, 11},
      {satz("a", "A") + "b\r\n" + std::string(kZeilenGrenze + 1, 'x') + "\r\n", 1, TLeseFehlerArt::ZeileZuLang, 12, 11},
  };
  for (const Fall& f : faelle) {
    const TLeseErgebnis r = liesVokabeln(f.daten);
    EXPECT_EQ(r.eintraege.size(), f.eintraege);
    ASSERT_EQ(r.fehler.size(), 1u);
    EXPECT_EQ(r.fehler[0].art, f.art);
    EXPECT_EQ(r.fehler[0].zeile, f.zeile);
    EXPECT_EQ(r.fehler[0].satzZeile, f.satzZeile);
  }
  // A line of exactly the bound is still read.
  EXPECT_EQ(liesVokabeln(satz("a", std::string(kZeilenGrenze, 'y'))).eintraege.size(), 1u);
}

TEST(VokabelDatei, LineEnds) {
  // LF alone ends a line (files edited on Linux); a last line without an end counts; a
  // lone CR stays inside its line and then falls to the trimming of line 1.
  std::string lf = satz("a", "A") + satz("b", "B");
  std::string nurLf;
  for (std::size_t i = 0; i < lf.size(); ++i)
    if (lf[i] != '\r') nurLf += lf[i];
  EXPECT_EQ(liesVokabeln(nurLf).eintraege.size(), 2u);
  nurLf.pop_back();
  const TLeseErgebnis ohneEnde = liesVokabeln(nurLf);
  EXPECT_TRUE(ohneEnde.fehler.empty());
  EXPECT_EQ(ohneEnde.eintraege.size(), 2u);
  const TLeseErgebnis cr = liesVokabeln("a\rb\r\nm\r\n\r\nx\ry\r\n0\r\n\r\n0\r\n0\r\n0\r\n0\r\n");
  ASSERT_EQ(cr.eintraege.size(), 1u);
  EXPECT_EQ(cr.eintraege[0].Vokabel, "a\rb");
  EXPECT_EQ(cr.eintraege[0].Kontext1, "x\ry");
  EXPECT_TRUE(liesVokabeln("").eintraege.empty());
  EXPECT_TRUE(liesVokabeln("").fehler.empty());
}

TEST(VokabelDatei, WritesCanonicalLinesAndReadsThemBack) {
  TVokabel v = vt::vok("go", "gehen; fahren", 1, false, 4);
  v.Bedeutung2 = "werden";
  v.Kontext1 = "She [*es] home.";
  v.Tip1 = true;
  v.Kontext2 = "";
  v.Tip2 = false;
  TVokabel d = vt::vok("Haus", "house", 0, true, 0);
  const std::string text = schreibeVokabeln({v, d});
  EXPECT_EQ(text.substr(0, text.find("Haus")),
            "go\r\ngehen; fahren\r\nwerden\r\nShe [*es] home.\r\n-1\r\n\r\n0\r\n1\r\n0\r\n4\r\n");
  const TLeseErgebnis r = liesVokabeln(text);
  ASSERT_TRUE(r.fehler.empty());
  ASSERT_EQ(r.eintraege.size(), 2u);
  EXPECT_EQ(r.eintraege[0], v);
  EXPECT_EQ(r.eintraege[1], d);
  EXPECT_EQ(schreibeVokabeln({v, d}, 1), schreibeVokabeln({v}));
}

TEST(VokabelDatei, WhatTheEditorCanTypeSurvivesASave) {
  // Regression: a meaning beginning with ".wav" was dropped on the next load, and a line
  // feed inside a field shifted every later record.
  TVokabel wav = vt::vok("sound", ".wav-Datei");
  TVokabel lf = vt::vok("a\nb", "x");
  lf.Kontext1 = "eins\nzwei";
  TVokabel lang = vt::vok("lang", std::string(kZeilenGrenze + 10, 'y'));
  const TLeseErgebnis r = liesVokabeln(schreibeVokabeln({wav, lf, lang, vt::vok("z", "Z")}));
  ASSERT_TRUE(r.fehler.empty());
  ASSERT_EQ(r.eintraege.size(), 4u);
  EXPECT_EQ(r.eintraege[0].Bedeutung1, ".wav-Datei");
  EXPECT_EQ(r.eintraege[1].Vokabel, "a b");
  EXPECT_EQ(r.eintraege[1].Kontext1, "eins zwei");
  EXPECT_EQ(r.eintraege[2].Bedeutung1.size(), kZeilenGrenze);
  EXPECT_EQ(r.eintraege[3].Vokabel, "z");
}

TEST(VokabelDatei, CheckerModeResumesAfterABrokenRecord) {
  // A record that lost a line shifts the rest; the checker finds the next whole record.
  std::string kaputt = satz("b", "B");
  kaputt.erase(kaputt.find("\r\n\r\n"), 2);  // drop the empty meaning 2
  const std::string d = satz("a", "A") + kaputt + satz("c", "C") + satz("d", "D");
  TLeseOptionen o;
  o.weiterNachFehler = true;
  const TLeseErgebnis r = liesVokabeln(d, o);
  ASSERT_EQ(r.fehler.size(), 1u);
  EXPECT_EQ(r.fehler[0].satzZeile, 11u);
  ASSERT_EQ(r.eintraege.size(), 3u);
  EXPECT_EQ(r.eintraege[1].Vokabel, "c");
  EXPECT_EQ(r.eintraege[2].Vokabel, "d");
  // The trainer itself stops at the first failure.
  EXPECT_EQ(liesVokabeln(d).eintraege.size(), 1u);
}

TEST(VokabelDatei, ResumingTakesOnlyRecordsWithReadableClassAndDifficulty) {
  std::string kaputt = satz("b", "B");
  kaputt.erase(kaputt.find("\r\n\r\n"), 2);
  // Word class 6 and difficulty 5 lie outside their tables; 5 and 4 are the last inside.
  const std::string d = satz("a", "A") + kaputt + satz("klasse6", "K", "6") + satz("stufe5", "S", "0", "0", "5") +
                        satz("gut", "G", "5", "0", "4");
  TLeseOptionen o;
  o.weiterNachFehler = true;
  const TLeseErgebnis r = liesVokabeln(d, o);
  std::vector<std::string> woerter;
  for (const TVokabel& v : r.eintraege) woerter.push_back(v.Vokabel);
  EXPECT_EQ(woerter, (std::vector<std::string>{"a", "gut"}));
  ASSERT_EQ(r.eintraege.size(), 2u);
  EXPECT_EQ(r.eintraege[1].Wortart, 5);
  EXPECT_EQ(r.eintraege[1].Schwierigkeit, 4);
}

}  // namespace
