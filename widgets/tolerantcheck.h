#pragma once

#include <string>
#include <string_view>
#include <vector>

// The tolerant rule ("Antworten großzügig prüfen"): a typed sentence that differs from a
// solution only in contractions against their long forms, the case of its first letter, a
// final ".", "!" or "?", or repeated blanks counts as right. Texts are Windows-1252.
namespace answercheck {

// The form both sides are compared in: contractions written out ("I'm" -> "I am",
// "can't"/"cannot" -> "can not"), blanks single and trimmed, the first letter small, one
// final ".", "!" or "?" dropped, typographic apostrophes made plain.
std::string normalisedAnswer(std::string_view text);

// The first solution the text equals after both are normalised, or -1 (also for an
// empty text).
int tolerantMatch(std::string_view text, const std::vector<std::string>& solutions);

// The contractions the rule knows, each with its long form (lower case), for tests and tools.
struct TContraction {
  std::string_view shortForm;
  std::string_view longForm;
};
const std::vector<TContraction>& contractions();

}  // namespace answercheck
