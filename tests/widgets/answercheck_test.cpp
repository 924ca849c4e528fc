// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/answercheck.h"

#include <gtest/gtest.h>

namespace {

using answercheck::Outcome;

TEST(AnswerCheck, Outcomes) {
  struct Case {
    const char* text;
    std::vector<std::string> solutions;
    int attempts;
    Outcome outcome;
    int index;
    const char* skeleton;
  };
  const Case cases[] = {
      {"go", {"to go", "go"}, 1, Outcome::Right, 1, ""},
      {"House", {"house"}, 1, Outcome::AlmostRight, 0, "ouse"},  // case counts
      {"hallx", {"hallo"}, 1, Outcome::AlmostRight, 0, "hall"},
      {"xyz", {"hallo"}, 1, Outcome::TryAgain, -1, ""},
      {"hallx", {"hallo"}, 5, Outcome::FinallyWrong, -1, ""},  // fifth attempt ends it
      {"hallo", {"hallo"}, 5, Outcome::Right, 0, ""},          // right still wins on the fifth
      {"", {"hallo"}, 1, Outcome::FinallyWrong, -1, ""},
      {"abc", {}, 1, Outcome::TryAgain, -1, ""},
      // Longest skeleton wins; equal lengths keep the earlier solution.
      {"hause", {"maus", "haus", "hase"}, 1, Outcome::AlmostRight, 1, "haus"},
  };
  for (const Case& c : cases) {
    const auto r = answercheck::check(c.text, c.solutions, c.attempts);
    EXPECT_EQ(r.outcome, c.outcome) << c.text;
    EXPECT_EQ(r.solutionIndex, c.index) << c.text;
    if (c.outcome == Outcome::AlmostRight) {
      EXPECT_EQ(r.skeleton, c.skeleton) << c.text;
    }
  }
}

TEST(AnswerCheck, PhrasesStoredWithoutTheirMarkTakeOne) {
  // The collections store "so what" for "Na und?": the learner's "?" is no fault.
  EXPECT_EQ(answercheck::check("so what?", {"so what"}, 1).outcome, Outcome::Right);
  EXPECT_EQ(answercheck::check("Was ist los!", {"Was ist los", "Was fehlt dir"}, 1).outcome, Outcome::Right);
  EXPECT_EQ(answercheck::check("Was fehlt dir?", {"Was ist los", "Was fehlt dir"}, 1).solutionIndex, 1);
  // Only one mark, and only where the solution has none.
  EXPECT_NE(answercheck::check("so what??", {"so what"}, 1).outcome, Outcome::Right);
  EXPECT_NE(answercheck::check("How are you.", {"How are you?"}, 1).outcome, Outcome::Right);
  EXPECT_NE(answercheck::check("so what,", {"so what"}, 1).outcome, Outcome::Right);
}

TEST(AnswerCheck, TwoBlanksAreANearMissOfToGo) {
  const auto r = answercheck::check("to  go", {"to go", "go"}, 1);
  EXPECT_EQ(r.outcome, Outcome::AlmostRight);
  EXPECT_EQ(r.solutionIndex, 0);
  EXPECT_EQ(r.skeleton, "to go");
  EXPECT_EQ(answercheck::almostRightColours("to  go", r.skeleton), "000100");
  EXPECT_EQ(answercheck::firstDifference("to  go", "to go"), 4);
}

TEST(AnswerCheck, SkeletonRules) {
  // The prefix never takes more than the solution's length minus 2.
  EXPECT_EQ(answercheck::commonSkeleton("hallo", "hallo"), "hallo");
  EXPECT_EQ(answercheck::commonSkeleton("ab", "ab"), "ab");  // prefix 0, suffix takes both
  EXPECT_EQ(answercheck::commonSkeleton("", "ab"), "");
  EXPECT_EQ(answercheck::commonSkeleton("x", ""), "");
  // A chain needs at least one start position: half of B rounded down.
  EXPECT_EQ(answercheck::greedyChain("a", "a"), "");
  EXPECT_EQ(answercheck::greedyChain("ab", "ab"), "ab");
  // Only the next four characters of B are searched.
  EXPECT_EQ(answercheck::greedyChain("af", "abcdef"), "a");
  EXPECT_EQ(answercheck::greedyChain("ae", "abcdef"), "ae");
  EXPECT_EQ(answercheck::greedyChain("ad", "abcdef"), "ad");
  // Later start positions can win: "xabc" against "abcd" starts at the second character.
  EXPECT_EQ(answercheck::greedyChain("xxabc", "abcdzz"), "abc");
  // The skeleton is always a subsequence of the typed text.
  const char* texts[] = {"Hauss", "teh house", "recieve", "accomodation", "qwertz"};
  const char* sols[] = {"Haus", "the house", "receive", "accommodation", "quartz"};
  for (int i = 0; i < 5; ++i) {
    const std::string k = answercheck::commonSkeleton(texts[i], sols[i]);
    size_t from = 0;
    for (char c : k) {
      from = std::string(texts[i]).find(c, from);
      ASSERT_NE(from, std::string::npos) << texts[i];
      ++from;
    }
  }
}

TEST(AnswerCheck, CandidateBounds) {
  EXPECT_TRUE(answercheck::isCandidate(5, 5, 4));
  EXPECT_FALSE(answercheck::isCandidate(1, 5, 1));   // s - 4 < t fails
  EXPECT_FALSE(answercheck::isCandidate(11, 5, 8));  // t < s + 6 fails
  EXPECT_FALSE(answercheck::isCandidate(6, 6, 3));   // 12 < 10 fails
  EXPECT_TRUE(answercheck::isCandidate(6, 6, 4));    // 12 < 13
}

TEST(AnswerCheck, HelpMask) {
  const auto never3 = [] { return 0; };
  const auto always3 = [] { return 3; };
  EXPECT_EQ(answercheck::helpMask("", never3), "");
  EXPECT_EQ(answercheck::helpMask("a", never3), "_");
  EXPECT_EQ(answercheck::helpMask("ab", never3), "__");
  EXPECT_EQ(answercheck::helpMask("dog", never3), "d__");
  EXPECT_EQ(answercheck::helpMask("dog", always3), "d__");
  EXPECT_EQ(answercheck::helpMask("it's", never3), "i_'s");
  EXPECT_EQ(answercheck::helpMask("the house", never3), "t__ ____e");
  EXPECT_EQ(answercheck::helpMask("the house", always3), "t__ hous" "e");  // from position 5 on a 3 keeps the letter
  EXPECT_EQ(answercheck::helpMask("well-known, isn't it?", never3), "w___-_____, ___'_ __?");
}

}  // namespace
