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
      {"either/or (this/that)", "", "either/or this|either/or that|either/or"},  // a slash before the option stays
      {"\tHaus\n", "", "Haus"},                     // control characters at the ends go too
  };
  for (const Case& c : cases) EXPECT_EQ(joined(answercheck::acceptedAnswers(c.text, c.prefix)), c.answers) << c.text;
}

TEST(AnswerVariants, SplittingKeepsTheLastPartsBlanks) {
  using Parts = std::vector<std::string>;
  EXPECT_EQ(answercheck::splitSolutionText("a ; b "), (Parts{"a", "b "}));
  EXPECT_EQ(answercheck::splitSolutionText(""), (Parts{""}));
  EXPECT_EQ(answercheck::splitSolutionText("x;"), (Parts{"x", ""}));
  EXPECT_EQ(answercheck::splitSolutionText("a; b;c ;  d"), (Parts{"a", "b", "", " d"}));
  EXPECT_EQ(answercheck::splitSolutionText("eins"), (Parts{"eins"}));
  EXPECT_EQ(answercheck::splitSolutionText("letzter  "), (Parts{"letzter  "}));
}

// A second meaning adds its variants behind the first one's, without repeating any.
TEST(AnswerVariants, AddingToAList) {
  std::vector<std::string> answers = answercheck::acceptedAnswers("look (after)", "(to) ");
  answercheck::addVariants("(to) ", "look after", answers);
  answercheck::addVariants("", "\t look  after ", answers);
  answercheck::addVariants("(to) ", "see to", answers);
  EXPECT_EQ(joined(answers), "to look after|look after|to look|look|see to|to see to");
}

}  // namespace
