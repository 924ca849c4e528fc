#include "widgets/answervariants.h"

#include <gtest/gtest.h>

namespace {

std::string joined(const std::vector<std::string>& v) {
  std::string s;
  for (const auto& x : v) s += (s.empty() ? "" : "|") + x;
  return s;
}

TEST(AnswerVariants, ExpansionOrderAndCleanUp) {
  struct Case {
    const char* text;
    const char* prefix;
    const char* answers;
  };
  const Case cases[] = {
      {"send for", "(to) ", "send for|to send for"},  // the prefix is expanded like the text
      {"born(e)", "", "born|borne"},
      {"Haus [n]", "", "Haus"},                      // a remark goes, with its blank
      {"die [alte]  Katze", "", "die Katze"},
      {"[] x", "", "[] x"},                          // an empty remark is text
      {"(ein/eine) Katze", "", "ein Katze|eine Katze|Katze"},
      {"(sich) aus(ruhen)", "", "sich ausruhen|ausruhen|sich aus|aus"},
      {"(sich) (an/ab)melden", "", "sich anmelden|sich abmelden|anmelden|abmelden|sich melden|melden"},
      {"() leer", "", "() leer"},                    // an empty pair is no option
      {"Haus; Heim;Hof", "", "Haus|Heim|of"},        // the character after ";" is always dropped
      {"gehen ; laufen", "", "gehen|laufen"},
      {"a; a", "", "a"},                             // identical answers once
      {"Ab(fahrt)", "", "Ab|Abfahrt"},
      {"x; ", "", "x"},                              // no empty answer
  };
  for (const Case& c : cases) EXPECT_EQ(joined(answercheck::acceptedAnswers(c.text, c.prefix)), c.answers) << c.text;
}

TEST(AnswerVariants, SplittingKeepsTheLastPartsBlanks) {
  EXPECT_EQ(joined(answercheck::splitSolutionText("a ; b ")), "a|b ");
  EXPECT_EQ(joined(answercheck::splitSolutionText("")), "");
  EXPECT_EQ(answercheck::splitSolutionText("x;").size(), 2u);
}

}  // namespace
