#pragma once

#include <random>
#include <string>
#include <string_view>
#include <vector>

// The text work of the quiz: accepted spellings of a meaning, the hint mask, the solution
// stretch of an example sentence, and escaping learner text for generated markup. All
// texts are Windows-1252.

// The accepted spellings of a meaning, `prefix` in front (answercheck::acceptedAnswers); a
// meaning that is only a remark keeps its text, so the field can still be solved.
std::vector<std::string> erweitern(std::string_view prefix, std::string_view text);

// Letters replaced by "_": the first stays, from the fifth on some stay at random (none
// without a generator); blanks and punctuation always stay.
std::string hinweisMaske(std::string_view antwort, std::mt19937* zufall);

// The solution stretch of an example sentence: the first "[" or "(" and the last matching
// closer after it. `gefunden` is false when the sentence has none.
struct TKontextStrecke {
  bool gefunden = false;
  std::string vorher, innen, nachher;
};
TKontextStrecke kontextStrecke(std::string_view satz);

// An example sentence as the learner reads it in print: the solution stretch without its
// brackets, "*" as `wort`, and of several accepted solutions the first.
std::string gedruckterSatz(std::string_view satz, std::string_view wort);

// Learner text inside page text: "<", ">" and "&" as entities.
std::string markupText(std::string_view text);
// Learner text inside a quoted attribute value: also the double quote and "|" (the choice
// separator); the reader decodes them in field and choice values.
std::string markupWert(std::string_view text);
