// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/answercheck.h"

#include "widgets/tolerantcheck.h"

#include <algorithm>
#include <random>

namespace answercheck {

namespace {

std::string reversed(std::string_view s) { return std::string(s.rbegin(), s.rend()); }

bool isFinalMark(char c) { return c == '.' || c == '!' || c == '?'; }
bool endsWithoutMark(const std::string& s) { return !s.empty() && !isFinalMark(s.back()); }

}  // namespace

std::string greedyChain(std::string_view a, std::string_view b) {
  std::string best;
  const size_t starts = std::min<size_t>(b.size() / 2, 5);
  for (size_t start = 0; start < starts && start < a.size(); ++start) {
    std::string chain;
    size_t ptr = 0;  // index into b
    for (size_t i = start; i < a.size() && ptr < b.size(); ++i) {
      const size_t end = std::min(b.size(), ptr + 4);
      for (size_t j = ptr; j < end; ++j) {
        if (b[j] == a[i]) {
          chain.push_back(a[i]);
          ptr = j + 1;
          break;
        }
      }
    }
    if (chain.size() > best.size()) best = std::move(chain);
  }
  return best;
}

std::string commonSkeleton(std::string_view t, std::string_view s) {
  if (t.empty() || s.empty()) return {};
  size_t p = 0;
  const size_t cap = s.size() >= 2 ? s.size() - 2 : 0;
  while (p < t.size() && p < s.size() && p < cap && t[p] == s[p]) ++p;
  const std::string prefix(t.substr(0, p));
  t.remove_prefix(p);
  s.remove_prefix(p);
  size_t q = 0;
  while (q < t.size() && q < s.size() && t[t.size() - 1 - q] == s[s.size() - 1 - q]) ++q;
  const std::string suffix(t.substr(t.size() - q));
  t.remove_suffix(q);
  s.remove_suffix(q);
  std::string middle;
  if (!t.empty() && !s.empty()) {
    const std::string rt = reversed(t), rs = reversed(s);
    const std::string chains[] = {greedyChain(t, s), greedyChain(s, t), reversed(greedyChain(rt, rs)),
                                  reversed(greedyChain(rs, rt))};
    for (const std::string& c : chains) {
      if (c.size() > middle.size()) middle = c;
    }
  }
  return prefix + middle + suffix;
}

bool isCandidate(size_t t, size_t s, size_t k) {
  const long lt = static_cast<long>(t), ls = static_cast<long>(s), lk = static_cast<long>(k);
  return ls - 4 < lt && lt < ls + 6 && 2 * lt < 3 * lk + 1;
}

Result check(std::string_view text, const std::vector<std::string>& solutions, int attempts, bool tolerant) {
  if (text.empty()) return {Outcome::FinallyWrong, -1, {}};
  for (size_t i = 0; i < solutions.size(); ++i) {
    if (solutions[i] == text) return {Outcome::Right, static_cast<int>(i), {}};
  }
  // Phrases stored without their mark ("so what") take the one the learner adds.
  for (size_t i = 0; i < solutions.size(); ++i) {
    if (endsWithoutMark(solutions[i]) && text.size() == solutions[i].size() + 1 && isFinalMark(text.back()) &&
        text.substr(0, solutions[i].size()) == solutions[i])
      return {Outcome::Right, static_cast<int>(i), {}};
  }
  if (tolerant) {
    if (const int i = tolerantMatch(text, solutions); i >= 0) return {Outcome::Right, i, {}, true};
  }
  if (attempts >= 5) return {Outcome::FinallyWrong, -1, {}};
  Result best;
  for (size_t i = 0; i < solutions.size(); ++i) {
    std::string k = commonSkeleton(text, solutions[i]);
    if (!isCandidate(text.size(), solutions[i].size(), k.size())) continue;
    if (best.solutionIndex < 0 || k.size() > best.skeleton.size()) {
      best = {Outcome::AlmostRight, static_cast<int>(i), std::move(k)};
    }
  }
  return best;
}

std::string almostRightColours(std::string_view text, std::string_view skeleton) {
  std::string colours(text.size(), '1');
  size_t from = 0;
  for (char c : skeleton) {
    const size_t at = text.find(c, from);
    if (at == std::string_view::npos) break;
    colours[at] = '0';
    from = at + 1;
  }
  return colours;
}

int firstDifference(std::string_view text, std::string_view solution) {
  size_t i = 0;
  while (i < text.size() && i < solution.size() && text[i] == solution[i]) ++i;
  return static_cast<int>(i) + 1;
}

std::string helpMask(std::string_view s, const Draw& draw) {
  const size_t n = s.size();
  if (n == 0) return {};
  if (n == 1) return "_";
  if (n == 2) return "__";
  std::string out(s);
  const size_t last = n == 3 ? n : n - 1;  // 1-based positions 2 .. last are considered
  for (size_t pos = 2; pos <= last; ++pos) {
    const char c = out[pos - 1];
    if (c == ' ' || c == '-' || c == ',' || c == '.' || c == '!' || c == '?' || c == '\'') continue;
    if (pos <= 4 || draw() != 3) out[pos - 1] = '_';
  }
  return out;
}

std::string helpMask(std::string_view solution) {
  static std::mt19937 rng{std::random_device{}()};
  return helpMask(solution, [] { return static_cast<int>(rng() % 5); });
}

}  // namespace answercheck
