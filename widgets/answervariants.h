#pragma once

#include <string>
#include <string_view>
#include <vector>

// The answers a solution text stands for, as the quizzes write them into a field's
// solution list. The text is cut at every ";" (the character after it is the separating
// blank), each part gets the prefix in front and is expanded: a "[remark]" is dropped,
// one or two "(x)" are optional and "(a/b)" offers either. Variants come in a fixed order,
// the first one being the one a field shows and hints; identical and empty ones are left out.
namespace answercheck {

// The parts of a solution text: trailing blanks go from every part but the last.
std::vector<std::string> splitSolutionText(std::string_view text);
// Adds the variants of `prefix` + `part` to `answers` in their order: trimmed, double blanks
// reduced, none empty and none twice.
void addVariants(std::string_view prefix, std::string_view part, std::vector<std::string>& answers);
std::vector<std::string> acceptedAnswers(std::string_view text, std::string_view prefix = {});

}  // namespace answercheck
