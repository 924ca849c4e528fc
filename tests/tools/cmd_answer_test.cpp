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

TEST(ZekTool, VersionIsTheBuildsVersion) {
  const auto r = zek::test::runCommand(zek::test::zekToolCommand("--version"));
  EXPECT_EQ(r.output, std::string("zek englisch ") + zek::programVersion() + "\n");
}

}  // namespace
