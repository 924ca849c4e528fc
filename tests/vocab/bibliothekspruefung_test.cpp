// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/bibliothekspruefung.h"

#include "tests/vocab/vocabfixtures.h"

#include <gtest/gtest.h>

namespace {

using vt::satz;

bool hatWarnung(const TPruefBericht& b, std::size_t zeile, const std::string& teil) {
  for (const TPruefMeldung& m : b.warnungen)
    if (m.zeile == zeile && m.text.find(teil) != std::string::npos) return true;
  return false;
}

std::string ohneCr(std::string s) {
  std::erase(s, '\r');
  return s;
}

TEST(LibCheck, CountsACleanFile) {
  const std::string d = satz("house", "Haus", "0", "0", "0", "A [*] here.") + satz("go", "gehen", "1", "0", "1") +
                        satz("gehen", "go", "1", "-1", "4") + satz("by the way", "\xFC" "brigens", "5", "0", "4");
  const TPruefBericht b = pruefeBibliothek(d);
  EXPECT_EQ(b.eintraege, 4u);
  EXPECT_EQ(b.proWortart, (std::array<std::size_t, 7>{1, 2, 0, 0, 0, 1, 0}));
  EXPECT_EQ(b.proSchwierigkeit, (std::array<std::size_t, 6>{1, 1, 0, 0, 2, 0}));
  EXPECT_EQ(b.englischDeutsch, 3u);
  EXPECT_EQ(b.deutschEnglisch, 1u);
  EXPECT_EQ(b.mitKontext, 1u);
  EXPECT_TRUE(b.fehler.empty());
  EXPECT_TRUE(b.warnungen.empty()) << b.warnungen[0].text;
  // The UTF-8 LF form of the same file is just as clean.
  const TPruefBericht q = pruefeBibliothek(ohneCr(d), true);
  EXPECT_TRUE(q.warnungen.empty()) << q.warnungen[0].text;
}

TEST(LibCheck, WarnsAboutWhatLoadsButIsWrong) {
  std::string d = satz("a ", "A;B") +                                  // 1: blank at the end, ";" without blank
                  satz("b", "B", "7", "1", "05") +                      // 11: class, direction, difficulty
                  satz("c", "C", "0", "0", "0", "no stretch", "-1") +  // 21: sentence without solution
                  satz("to go", "gehen", "1") +                        // 31: verb with "to"
                  satz("a", "A");                                      // 41: repeats line 1
  const TPruefBericht b = pruefeBibliothek(d);
  EXPECT_TRUE(b.fehler.empty());
  EXPECT_TRUE(hatWarnung(b, 1, "blanks"));
  EXPECT_TRUE(hatWarnung(b, 2, "\"; \""));
  EXPECT_TRUE(hatWarnung(b, 18, "word class"));
  EXPECT_TRUE(hatWarnung(b, 19, "direction must be -1 or 0"));
  EXPECT_TRUE(hatWarnung(b, 20, "difficulty"));
  EXPECT_TRUE(hatWarnung(b, 24, "no solution stretch"));
  EXPECT_TRUE(hatWarnung(b, 31, "without \"to\""));
  EXPECT_TRUE(hatWarnung(b, 41, "line 1"));
  EXPECT_TRUE(hatWarnung(b, 11, "would not give this file back") || hatWarnung(b, 1, "would not give"));
}

TEST(LibCheck, ReportsEveryFailedRecordWithItsLine) {
  std::string kaputt = satz("b", "B");
  kaputt.erase(kaputt.find("\r\n\r\n"), 2);
  const std::string d = satz("a", "A") + kaputt + satz("c", "C") + satz("d", "D", "x") + satz("e", "E") + "\r\n";
  const TPruefBericht b = pruefeBibliothek(d);
  ASSERT_EQ(b.fehler.size(), 3u);
  EXPECT_EQ(b.fehler[0].zeile, 20u);  // line 10 of the shortened record holds the next word
  EXPECT_NE(b.fehler[0].text.find("starting at line 11"), std::string::npos);
  EXPECT_EQ(b.fehler[1].zeile, 37u);  // word class "x" of the record at line 30
  EXPECT_EQ(b.fehler[2].zeile, 51u);  // the empty line 50 starts a record that cannot end
  // The trainer loads only "a": it stops at the first broken record.
  EXPECT_EQ(b.eintraege, 1u);
  EXPECT_EQ(b.nichtGeladen, 2u);
  EXPECT_EQ(b.proWortart[0], 1u);
}

TEST(LibCheck, UnencodableSourceLinesAndLineEnds) {
  const TPruefBericht b = pruefeBibliothek(satz("a", "A"), true, {2});
  ASSERT_EQ(b.fehler.size(), 1u);
  EXPECT_EQ(b.fehler[0].zeile, 2u);
  EXPECT_TRUE(hatWarnung(b, 1, "CR LF"));
  const TPruefBericht lf = pruefeBibliothek(ohneCr(satz("a", "A")));
  EXPECT_TRUE(hatWarnung(lf, 1, "LF alone"));
}

TEST(Labels, EveryRendering) {
  EXPECT_STREQ(wortartName(3), "Kleines Wort");
  EXPECT_STREQ(wortartKarte(4), "Rw. m. V.");
  EXPECT_STREQ(wortartListe(2), "Adj.");
  EXPECT_STREQ(wortartAntwort(2), "[Adj./Adv.]");
  EXPECT_STREQ(wortartAntwort(5), "[Redewendung]");
  EXPECT_STREQ(wortartName(6), "");
  EXPECT_STREQ(wortartKarte(255), "");
  EXPECT_STREQ(schwierigkeitName(4), "T\xF6" "dlich");
  EXPECT_STREQ(schwierigkeitName(5), "");
  EXPECT_STREQ(schwierigkeitName(-1), "");
}

}  // namespace
