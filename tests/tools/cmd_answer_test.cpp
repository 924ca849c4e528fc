// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"
#include "platform/version.h"
#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string checkAnswer(const std::string& args) {
  return zek::test::runCommand(zek::test::zekToolCommand("check-answer " + args) + " 2>&1").output;
}

TEST(ZekTool, CheckAnswerPrintsOutcomeColoursAndCaret) {
  const std::pair<const char*, const char*> cases[] = {
      {"hallo hallo", "right - -\n"},
      {"halo hallo", "almost 0000 4\n"},           // a missing letter: nothing red, caret at the gap
      {"hlalo hallo", "almost 00100 2\n"},         // a swap
      {"xyz hallo", "again - -\n"},                // no candidate
      {"--attempts 4 xyz hallo", "final - -\n"},   // the fifth try
      {"--attempts 4 halo hallo", "final - -\n"},  // even when nearly right
      {"'Hause' house Hause", "right - -\n"},      // a later solution wins
      {"'Stra\xC3\x9f' 'Stra\xC3\x9f" "e'", "almost 00000 6\n"},  // UTF-8 arguments are mapped to the code page
      {"--tolerant \"I am sorry\" \"I'm sorry.\"", "right-tolerant - -\n"},
      {"--tolerant \"I'm sorry.\" \"I'm sorry.\"", "right - -\n"},   // exact stays exact
      {"--tolerant --attempts 4 \"I am sorry\" \"I'm sorry.\"", "right-tolerant - -\n"},
      {"--attempts 1 --tolerant \"Its raining.\" \"It's raining.\"", "almost 000000000000 3\n"},
  };
  for (const auto& [args, expected] : cases) EXPECT_EQ(checkAnswer(args), expected) << args;
  EXPECT_NE(checkAnswer("nur-eins").find("usage"), std::string::npos);
}

// The lab's check: main solution, second solution and variants of sentence N, tolerant by default.
TEST(ZekTool, CheckAnswerForALabSentence) {
  const std::pair<const char*, const char*> cases[] = {
      {"--lab 407 \"I've got a temperature.\"", "right - -\n"},  // the main solution
      {"--lab 407 \"I have a fever.\"", "right - -\n"},           // the second solution
      {"--lab 407 \"I have a temperature.\"", "right - -\n"},     // a variant
      {"--lab 0407 \"I have a temperature\"", "right - -\n"},     // tolerant: no full stop
      {"--lab 407 --tolerant \"i have a temperature\"", "right - -\n"},
      {"--lab 407 --strict \"I have a temperature.\"", "right - -\n"},
      {"--lab 407 \"xyz\"", "again - -\n"},
      {"--lab 407 \"\"", "again - -\n"},  // an empty Return is no answer
  };
  for (const auto& [args, expected] : cases) EXPECT_EQ(checkAnswer(args), expected) << args;
  EXPECT_EQ(checkAnswer("--lab 407 --strict \"I have a temperature\"").rfind("almost ", 0), 0u);
  EXPECT_EQ(checkAnswer("--lab 407 \"I had a fever.\"").rfind("right", 0), std::string::npos);
  EXPECT_NE(checkAnswer("--lab 9999 \"Hello.\"").find("no lab sentence 9999"), std::string::npos);
  EXPECT_NE(checkAnswer("--lab x \"Hello.\"").find("usage"), std::string::npos);
  EXPECT_NE(checkAnswer("--lab 1").find("usage"), std::string::npos);
}

// The content compiler stops the build on a broken variants file and names the line.
TEST(ContentCompiler, LabVariantsAreChecked) {
  zek::test::TempDir dir("zek-labvar");
  const auto lessons = dir.write("block1.tsv", "# c\n**** Eins\nHello.\t\t\tHallo.\t0\\lab_0000.wav\n"
                                               "**** Zwei\nYes.\t\t\tJa.\t0\\lab_0001.wav\n");
  const std::string contentc = "'" + (zek::test::distDir().parent_path() / "tools" / "contentc" / "zek-contentc").string() + "'";
  const auto run = [&](const std::string& name, const std::string& text) {
    const auto file = dir.write(name, text);
    return zek::test::runCommand(contentc + " lab-variants '" + (dir.path() / "out").string() + "' '" +
                                 lessons.string() + "' '" + file.string() + "' 2>&1");
  };
  const auto good = run("00.tsv", "# comment\n\n0000\tHi.\n0000\tHi there.\n");
  EXPECT_EQ(good.status, 0) << good.output;
  EXPECT_EQ(*zek::readFile(dir.path() / "out"), std::string("0000\0Hi.\0" "0000\0Hi there.\0", 24));
  const std::pair<std::pair<const char*, const char*>, const char*> bad[] = {
      {{"00.tsv", "0000 Hi.\n"}, "00.tsv:1: malformed line"},
      {{"00.tsv", "0000\t\n"}, "00.tsv:1: malformed line"},
      {{"00.tsv", "# c\n000\tHi.\n"}, "00.tsv:2: malformed line"},
      {{"00.tsv", "0000\tHi.\tHo.\n"}, "00.tsv:1: malformed line"},
      {{"00.tsv", "0002\tHi.\n"}, "00.tsv:1: unknown sentence 0002"},
      {{"00.tsv", "0001\tYes.\n"}, "00.tsv:1: sentence 0001 belongs to topic 1, not 00"},
      {{"05.tsv", "0000\tHi.\n"}, "05.tsv: the name must be"},
      {{"00.tsv", "0000\tHi \xE2\x98\x83.\n"}, "00.tsv:1: character without a Windows-1252 code"},
  };
  for (const auto& [file, message] : bad) {
    const auto r = run(file.first, file.second);
    EXPECT_NE(r.status, 0) << file.second;
    EXPECT_NE(r.output.find(message), std::string::npos) << r.output;
  }
}

TEST(ZekTool, VersionIsTheBuildsVersion) {
  const auto r = zek::test::runCommand(zek::test::zekToolCommand("--version"));
  EXPECT_EQ(r.output, std::string("zek englisch ") + zek::programVersion() + "\n");
}

}  // namespace
