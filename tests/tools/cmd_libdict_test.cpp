// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"
#include "tests/common/testutil.h"
#include "tests/vocab/vocabfixtures.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Lauf {
  std::string ausgabe;
  int status = -1;
};

Lauf tool(const std::string& args) {
  const zek::test::TCommandResult r = zek::test::runCommand(zek::test::zekToolCommand(args) + " 2>&1");
  return {r.output, r.status};
}

// A small dictionary as text (word, kind, meanings per entry, Windows-1252, sorted).
struct LibDict : ::testing::Test {
  zek::test::TempDir dir{"zek-libdict"};
  std::string d = dir.path().string();
  LibDict() {
    dir.write("e_d.txt",
              "cat\r\n1\r\nKatze\r\ndog\r\n1\r\nHund; R\xFC" "de\r\nhouse\r\n1\r\nHaus; Geb\xE4" "ude\r\nrun\r\n2\r\n"
              "laufen; rennen\r\nto be in the same boat\r\n5\r\nim selben Boot sitzen\r\n");
    dir.write("d_e.txt", "Hund\r\n1\r\ndog; hound\r\n");
  }
  std::string dict() const { return " --dict '" + d + "'"; }
};

TEST_F(LibDict, ReportsEveryFindingWithItsLine) {
  const std::string lib = (dir.path() / "lib.asc").string();
  dir.write("lib.asc", vt::satz("cat", "Katze") +                        // line 1: as the dictionary has it
                           vt::satz("house", "Haus") +                    // 11: fewer meanings
                           vt::satz("", "") +                             // 21: a blank record is skipped
                           vt::satz("zebra", "Zebra") +                   // 31: unknown
                           vt::satz("gnu", "?") +                         // 41: still to be looked up
                           vt::satz("dog", "Hund; R\xFC" "de") +          // 51: same meanings
                           vt::satz("run", "rennen; laufen", "1") +       // 61: same set, other order
                           vt::satz("Hund", "hound; dog", "0", "-1") +    // 71: from the German half
                           vt::satz("Hund", "dog", "0", "0") +            // 81: English half: unknown
                           vt::satz("cat", std::string(31, 'x')) +        // 91: too long, whatever else
                           vt::satz("run", "laufen; rennen", "0"));       // 101: found under another class
  const Lauf r = tool("lib-vs-dict '" + lib + "'" + dict());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.ausgabe, lib + ":11: meanings differ: >Haus< >Haus; Geb\xC3\xA4ude<\n" +
                           lib + ":31: unknown word \"zebra\" (Nomen)\n" +
                           lib + ":81: unknown word \"Hund\" (Nomen)\n" +
                           lib + ":91: first meaning longer than 30 characters\n" +
                           "10 checked, 2 unknown, 1 different, 1 too long\n");
}

TEST_F(LibDict, ACleanLibraryExitsZeroAndBrokenInputIsSaid) {
  const std::string lib = dir.write("ok.asc", vt::satz("cat", "Katze") + vt::satz("to be in the same boat",
                                                                                 "im selben Boot sitzen", "5"))
                              .string();
  Lauf r = tool("lib-vs-dict '" + lib + "'" + dict());
  EXPECT_EQ(r.status, 0) << r.ausgabe;
  EXPECT_EQ(r.ausgabe, "2 checked, 0 unknown, 0 different, 0 too long\n");

  // The trainer stops at a broken record; the report says where.
  const std::string kaputt = dir.write("kaputt.asc", vt::satz("cat", "Katze") + "dog\r\nHund\r\n").string();
  r = tool("lib-vs-dict '" + kaputt + "'" + dict());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.ausgabe.find(kaputt + ":11: record does not load"), std::string::npos) << r.ausgabe;

  EXPECT_EQ(tool("lib-vs-dict '" + lib + "' --dict '" + d + "/fehlt'").status, 1);
  EXPECT_EQ(tool("lib-vs-dict").status, 2);
  EXPECT_EQ(tool("lib-vs-dict '" + d + "/fehlt.asc'" + dict()).status, 2);
}

TEST_F(LibDict, AgreementCountsTheFirstMeaningAmongTheDictionarysFirst) {
  const std::string lib = dir.write("lib.asc", vt::satz("cat", "Katze") +                 // first of one
                                                   vt::satz("house", "Geb\xE4ude") +     // second
                                                   vt::satz("house", "Haus [Wohnung]") +  // a hint is no other word
                                                   vt::satz("dog", "K\xF6ter; Hund") +    // only the first one counts
                                                   vt::satz("run", "rennen", "1") +       // the verb's second
                                                   vt::satz("zebra", "Zebra") +           // not in the dictionary
                                                   vt::satz("Hund", "cur", "0", "-1"))    // German-English: not counted
                                  .string();
  Lauf r = tool("dict-agreement '" + lib + "'" + dict());
  ASSERT_EQ(r.status, 0) << r.ausgabe;
  EXPECT_EQ(r.ausgabe,
            "6 English-German entries, 5 in the dictionary, 4 with the first meaning among the first 3 "
            "(80.0 % of those in the dictionary, 66.7 % of all)\n");
  r = tool("dict-agreement '" + d + "' --top 1 --misses" + dict());
  EXPECT_NE(r.ausgabe.find(lib + ":31: dog\tK\xC3\xB6ter\tHund; R\xC3\xBC" "de\n"), std::string::npos) << r.ausgabe;
  EXPECT_NE(r.ausgabe.find(", 2 with the first meaning among the first 1 (40.0 %"), std::string::npos) << r.ausgabe;
  EXPECT_EQ(tool("dict-agreement" + dict()).status, 2);
}

TEST_F(LibDict, RandomLibraryReadsBackWithTheChosenShare) {
  const std::string out = d + "/zufall.asc";
  Lauf r = tool("random-lib --size 40 --english 100 --seed 5" + dict() + " -o '" + out + "'");
  ASSERT_EQ(r.status, 0) << r.ausgabe;
  const Lauf check = tool("lib-check '" + out + "'");
  EXPECT_NE(check.ausgabe.find("entries: 40\n"), std::string::npos) << check.ausgabe;
  EXPECT_NE(check.ausgabe.find("direction: English-German 40, German-English 0\n"), std::string::npos);
  // Without --idioms the idiom is never drawn.
  EXPECT_NE(check.ausgabe.find("idiom without verb 0,"), std::string::npos) << check.ausgabe;

  // The same seed gives the same library.
  ASSERT_EQ(tool("random-lib --size 40 --english 100 --seed 5" + dict() + " -o '" + out + "2'").status, 0);
  EXPECT_EQ(zek::readFile(out), zek::readFile(out + "2"));

  r = tool("random-lib --size 40 --english 0 --idioms --seed 2" + dict() + " -o '" + out + "'");
  ASSERT_EQ(r.status, 0) << r.ausgabe;
  // About one entry in 101 still comes from the English-German half.
  int englisch = -1, deutsch = -1;
  ASSERT_EQ(std::sscanf(r.ausgabe.c_str() + r.ausgabe.find("English-German"), "English-German %d, German-English %d",
                        &englisch, &deutsch), 2) << r.ausgabe;
  EXPECT_EQ(englisch + deutsch, 40);
  EXPECT_LE(englisch, 4);
}

TEST_F(LibDict, RandomLibraryRefusesAnEmptyHalfAndBadArguments) {
  dir.write("d_e.txt", "");
  const std::string out = d + "/leer.asc";
  const Lauf r = tool("random-lib --size 40 --english 50" + dict() + " -o '" + out + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.ausgabe.find("ist leer!"), std::string::npos) << r.ausgabe;
  EXPECT_FALSE(std::filesystem::exists(out));
  // Only English entries are wanted: the empty German half does not matter.
  EXPECT_EQ(tool("random-lib --size 40 --english 100" + dict() + " -o '" + out + "'").status, 0);

  for (const char* falsch : {"--size 0 --english 50", "--size 801 --english 50", "--size 40 --english 101",
                             "--size x --english 5", "--english 50"})
    EXPECT_NE(tool(std::string("random-lib ") + falsch + dict() + " -o '" + out + "'").status, 0) << falsch;
  EXPECT_EQ(tool("random-lib --size 40 --english 50" + dict()).status, 2);
}

}  // namespace
