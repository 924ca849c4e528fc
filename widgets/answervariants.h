#pragma once

#include <string>
#include <string_view>
#include <vector>

// The answers a solution text stands for, as the quizzes write them into a field's
// solution list. The text is cut at every ";" (the character after it is the separating
// blank), each part gets the prefix in front and is expanded: a "[remark]" is dropped,
// "(x)" is optional and "(a/b)" offers either. Variants come in a fixed order, the first
// one being the one a field shows and hints; identical and empty ones are left out.
namespace answercheck {

std::vector<std::string> splitSolutionText(std::string_view text);
// The variants of one part (prefix already in front), in their order, not yet trimmed.
std::vector<std::string> expandVariants(std::string_view text);
std::vector<std::string> acceptedAnswers(std::string_view text, std::string_view prefix = {});

}  // namespace answercheck
