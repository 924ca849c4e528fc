// SPDX-License-Identifier: GPL-3.0-or-later
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
      {"John is here.", "John's here.", true},  // noun + 's reads as "is" when the other side has it
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
  EXPECT_EQ(normalisedAnswer("\"I'm\", he said."), "\"I am\" he said");  // commas do not count
  EXPECT_EQ(normalisedAnswer("Wait!!"), "wait!");  // only one final mark goes
  EXPECT_EQ(normalisedAnswer(""), "");
}

// The forms a German teacher does not count against a learner.
TEST(TolerantCheck, FormsThatDoNotCount) {
  struct Case {
    const char* typed;
    const char* solution;
  };
  const Case cases[] = {
      // noun + 's for "is" or "has"
      {"The building is on fire!", "The building's on fire!"},
      {"The building's on fire!", "The building is on fire!"},
      {"The train has left.", "The train's left."},
      {"It has been raining all day.", "It's been raining all day."},
      {"I had forgotten it.", "I'd forgotten it."},
      {"I would like a coffee.", "I'd like a coffee."},
      // "please": added at the end, after a comma or not, or moved
      {"I'd like three postcards, please.", "I'd like three postcards."},
      {"I'd like three postcards please.", "I'd like three postcards."},
      {"Please do not disturb.", "Do not disturb, please."},
      {"Could you please speak more slowly?", "Could you speak more slowly, please?"},
      {"Two coffees please.", "Two coffees, please."},
      // commas, hyphens
      {"Yes I am.", "Yes, I am."},
      {"Excuse me, where is the station?", "Excuse me where is the station?"},
      {"It's about a ten minute walk.", "It's about a ten-minute walk."},
      // OK / okay, alright / all right
      {"Okay.", "OK."},
      {"ok", "OK."},
      {"That's okay.", "That's OK."},
      {"Is everything alright?", "Is everything all right?"},
      {"Alright.", "All right."},
      // an apostrophe typed as ´ or ` (German keyboard) or typographic
      {"I\xB4m sorry.", "I'm sorry."},
      {"I`m sorry.", "I'm sorry."},
      {"Don\x92t worry.", "Don't worry."},
      // British and American spellings, numbers in digits
      {"Sorry, I dialed the wrong number.", "Sorry, I dialled the wrong number."},
      {"It's about two kilometers from here.", "It's about two kilometres from here."},
      {"Where is the city center?", "Where is the city centre?"},
      {"The train is 20 minutes late.", "The train is twenty minutes late."},
      {"It's 9 45.", "It's nine forty-five."},
      {"Today is the 1st of May.", "Today is the first of May."},
      // polite requests
      {"Where could I park my car?", "Where can I park my car?"},
      {"May I have an aisle seat?", "Can I have an aisle seat?"},
      {"Shall I take it before meals?", "Should I take it before meals?"},
      {"Would you please speak more slowly?", "Could you speak more slowly, please?"},
      // phrase entries of the collections stored without "?" or "!" and in lower case
      {"So what?", "so what"},
      {"Was ist los?", "Was ist los"},
      {"Happy birthday!", "happy birthday"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(tolerantMatch(c.typed, {c.solution}), 0);
  }
}

// Differences of meaning stay wrong, whatever the rule forgives.
TEST(TolerantCheck, SentencesThatStayWrong) {
  struct Case {
    const char* typed;
    const char* solution;
  };
  const Case cases[] = {
      {"I have a temperature.", "I have a headache."},          // a different word
      {"I can hear you very well.", "I can't hear you very well."},  // a missing "not"
      {"The window is not open.", "The window is open."},      // an added "not"
      {"I had a fever.", "I have a fever."},                   // another tense
      {"We have arrived.", "We arrived."},
      {"Its very noisy.", "It's very noisy."},                 // "its" is no "it is"
      {"It's tail is long.", "Its tail is long."},
      {"Your welcome.", "You're welcome."},
      {"Whose calling, please?", "Who's calling, please?"},
      {"Here's my key.", "Here's your key."},                  // another person
      {"She has the flu.", "You have the flu."},
      {"Yes.", "Yes, please."},                                // the solution's "please" is missing
      {"Please?", "Pardon?"},                                  // "please" alone is a word
      {"Please.", "Thank you."},
      {"The train is 12 minutes late.", "The train is twenty minutes late."},
      {"It's a quarter past 8.", "It's a quarter past nine."},
      {"Check the oil, please.", "Check the tyres, please."},
      {"John's car is here.", "John is here."},
      {"I could swim.", "I can swim."},                        // no request: a tense
      {"I should go.", "I shall go."},
      {"Could he come?", "Can he come?"},
      {"Today is the first of may.", "Today is the first of May."},  // case inside the sentence counts
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(tolerantMatch(c.typed, {c.solution}), -1);
  }
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
