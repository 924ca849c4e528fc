// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The tolerant rule ("Antworten großzügig prüfen"): a typed sentence that differs from a
// solution only in form counts as right. Form means: contractions against their long forms
// ("I'm", "the building's" = "the building is" or "has", "I'd" = "I would" or "had"), the case
// of the first letter, final ".", "!" or "?", commas, blanks and hyphens between words,
// "OK"/"okay", "alright"/"all right", British and American spellings, numbers in digits or
// words, "´", "`" or a typographic apostrophe typed for "'", an added "please" (a "please"
// of the solution must be typed, but it may stand anywhere), and in a question the polite
// "Can/Could/May I", "Can/Could/Would you" and "Shall/Should I" for one another. Texts are Windows-1252.
namespace answercheck {

// The form both sides are compared in, as one line: unambiguous contractions written out,
// the other normalisations above applied, "please" left in, the first letter small.
std::string normalisedAnswer(std::string_view text);

// The first solution the text equals under the rule, or -1 (also for an empty text).
int tolerantMatch(std::string_view text, const std::vector<std::string>& solutions);

// The contractions the rule knows, each with its long form (lower case), for tests and tools.
struct TContraction {
  std::string_view shortForm;
  std::string_view longForm;
};
const std::vector<TContraction>& contractions();

}  // namespace answercheck
