// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Checking a typed answer against its solutions, and the help mask. Plain functions so
// that the input field, the quiz and the lab share them and tests reach them directly.
namespace answercheck {

// Greedy chain of `a` against `b` (see commonSkeleton).
std::string greedyChain(std::string_view a, std::string_view b);

// The common skeleton of typed text and solution: prefix (at most |s| - 2), suffix, and
// the longest of four greedy chains in between. Always a subsequence of `typed`.
std::string commonSkeleton(std::string_view typed, std::string_view solution);

// Whether a solution with skeleton length k counts as a near miss of a text of length t.
bool isCandidate(size_t t, size_t s, size_t k);

enum class Outcome { Right, FinallyWrong, TryAgain, AlmostRight };

struct Result {
  Outcome outcome = Outcome::TryAgain;
  int solutionIndex = -1;  // the equal solution (Right) or the winning candidate (AlmostRight)
  std::string skeleton;    // AlmostRight only
  bool tolerant = false;   // Right only by the tolerant rule (tolerantcheck.h)
};

// `attempts` is the count after this Enter (already incremented by the caller). A solution
// that ends without ".", "!" or "?" (a phrase such as "so what") also takes the text with one
// of them added. With
// `tolerant`, an answer that is not exactly right but equal under the tolerant rule is
// right too (before the attempt limit, as an exact answer is).
Result check(std::string_view text, const std::vector<std::string>& solutions, int attempts, bool tolerant = false);

// Colours of an almost-right answer: "1" everywhere, "0" for the letters of the skeleton
// found in order. Caret: 1-based first differing position of text and solution.
std::string almostRightColours(std::string_view text, std::string_view skeleton);
int firstDifference(std::string_view text, std::string_view solution);

// A random draw from 0 to 4; the mask keeps a letter when it gives 3.
using Draw = std::function<int()>;
std::string helpMask(std::string_view solution, const Draw& draw);
// The same with the program's random source.
std::string helpMask(std::string_view solution);

}  // namespace answercheck
