#include "widgets/answercheck.h"
#include "widgets/tolerantcheck.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

using answercheck::normalisedAnswer;
using answercheck::tolerantMatch;

TEST(TolerantCheck, EveryContractionEqualsItsLongFormBothWays) {
  for (const auto& c : answercheck::contractions()) {
    const std::string shortForm(c.shortForm), longForm(c.longForm);
    SCOPED_TRACE(shortForm);
    const std::string a = "Yes, " + shortForm + " here.";
    const std::string b = "Yes, " + longForm + " here.";
    EXPECT_EQ(tolerantMatch(a, {b}), 0);
    EXPECT_EQ(tolerantMatch(b, {a}), 0);
    // At the start of a sentence, with a capital.
    std::string capital = shortForm;
    capital[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(capital[0])));
    EXPECT_EQ(tolerantMatch(capital + " here.", {longForm + " here"}), 0);
  }
}

TEST(TolerantCheck, AcceptsAndRefuses) {
  struct Case {
    const char* typed;
    const char* solution;
    bool right;
  };
  const Case cases[] = {
      {"I am sorry.", "I'm sorry.", true},
      {"I\x92m sorry.", "I'm sorry.", true},  // a typographic apostrophe
      {"i'm sorry", "I'm sorry.", true},      // first letter and final stop
      {"Thank you!", "Thank you.", true},     // one final mark is dropped on either side
      {"How much is this", "How much is this?", true},
      {"How  much   is this? ", "How much is this?", true},  // repeated and trailing blanks
      {"We cannot come.", "We can't come.", true},
      {"We can not come.", "We cannot come.", true},
      {"Don't worry.", "Do not worry.", true},
      {"It is not working.", "It isn't working.", true},
      {"It's tail is long.", "Its tail is long.", false},  // "its" is no "it is"
      {"Its raining.", "It's raining.", false},
      {"I am sorry.", "I'm so sorry.", false},  // a missing word
      {"I am happy.", "I'm sorry.", false},     // a different word
      {"John is here.", "John's here.", false},  // a possessive-looking form stays as written
      {"Yes, I AM sorry.", "Yes, I'm sorry.", false},  // case inside the sentence counts
      {"", "I'm sorry.", false},
      {".", ".", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(tolerantMatch(c.typed, {c.solution}) == 0, c.right);
  }
}

TEST(TolerantCheck, NormalForm) {
  EXPECT_EQ(normalisedAnswer("  Don't   you know?  "), "do not you know");
  EXPECT_EQ(normalisedAnswer("\"I'm\", he said."), "\"I am\", he said");
  EXPECT_EQ(normalisedAnswer("Wait!!"), "wait!");  // only one final mark goes
  EXPECT_EQ(normalisedAnswer(""), "");
}

TEST(TolerantCheck, ExactAnswersStayAsTheyWere) {
  const std::vector<std::string> lsg{"I'm sorry.", "I am very sorry."};
  // Exact: no tolerant flag, the exact solution's index.
  auto r = answercheck::check("I am very sorry.", lsg, 1, true);
  EXPECT_EQ(r.outcome, answercheck::Outcome::Right);
  EXPECT_EQ(r.solutionIndex, 1);
  EXPECT_FALSE(r.tolerant);
  // Only the tolerant rule: right, marked so.
  r = answercheck::check("I am sorry", lsg, 1, true);
  EXPECT_EQ(r.outcome, answercheck::Outcome::Right);
  EXPECT_EQ(r.solutionIndex, 0);
  EXPECT_TRUE(r.tolerant);
  // Switched off, the same answer goes through the near-miss test.
  r = answercheck::check("I am sorry", lsg, 1, false);
  EXPECT_NE(r.outcome, answercheck::Outcome::Right);
  // Also on the fifth try, and an empty answer is still finally wrong.
  EXPECT_EQ(answercheck::check("I am sorry", lsg, 5, true).outcome, answercheck::Outcome::Right);
  EXPECT_EQ(answercheck::check("", lsg, 1, true).outcome, answercheck::Outcome::FinallyWrong);
}

}  // namespace
