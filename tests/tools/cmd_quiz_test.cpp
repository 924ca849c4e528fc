// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Standard output, and the errors too unless `nurAusgabe`.
std::string run(const std::string& cmd, bool nurAusgabe = false) {
  return zek::test::runCommand(cmd + (nurAusgabe ? " 2>/dev/null" : " 2>&1")).output;
}

std::string tool(const std::string& args, bool nurAusgabe = false) { return run(zek::test::zekToolCommand(args), nurAusgabe); }

std::string fixture() { return (zek::test::sourceDir() / "tests/vocab/data/karten22.asc").string(); }

TEST(ZekTool, QuizVariantsInTheQuizOrder) {
  EXPECT_EQ(tool("quiz-variants --prefix '(to) ' 'look (after/for)'"),
            "to look after\nto look for\nlook after\nlook for\nto look\nlook\n");
  EXPECT_EQ(tool("quiz-variants 'Wuchs [biol.]'"), "Wuchs\n");
  EXPECT_EQ(tool("quiz-variants 'Stra\xC3\x9f" "e; Weg'"), "Stra\xC3\x9f" "e\nWeg\n");
  EXPECT_NE(tool("quiz-variants").find("usage"), std::string::npos);
}

TEST(ZekTool, FlashCardsAndListOfTwentyTwoEntries) {
  zek::test::TempDir dir("zek-print-tool");
  const std::string out = dir.path().string();
  EXPECT_EQ(tool("print-cards '" + fixture() + "' -o '" + out + "' --offset 15", true), "sheets: 2, cards: 22\n");
  for (const char* pdf : {"karten-vorn.pdf", "karten-hinten.pdf"}) {
    const std::string info = run("pdfinfo '" + out + "/" + pdf + "'");
    EXPECT_NE(info.find("Pages:           2\n"), std::string::npos) << pdf << "\n" << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
  }
  EXPECT_EQ(tool("print-cards '" + fixture() + "' -o '" + out + "' --sheets 2-2", true), "sheets: 1, cards: 1\n");
  EXPECT_NE(run("pdfinfo '" + out + "/karten-vorn.pdf'").find("Pages:           1\n"), std::string::npos);
  EXPECT_NE(tool("print-cards '" + fixture() + "' -o '" + out + "' --sheets 3-3").find("2 sheet(s)"), std::string::npos);

  EXPECT_EQ(tool("print-list '" + fixture() + "' -o '" + out + "/liste.pdf'", true), "pages: 1, entries: 22\n");
  const std::string text = run("pdftotext -layout '" + out + "/liste.pdf' -");
  for (const char* t : {"karten22.asc", "S. 1", "unbelievably", "Adj.", "Rw. m. V.", "sich freuen auf", "22"})
    EXPECT_NE(text.find(t), std::string::npos) << t;
}

}  // namespace
