#include "widgets/answervariants.h"

#include <algorithm>

namespace answercheck {

namespace {

std::string trimmed(std::string_view s) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return std::string(s);
}

std::string singleBlanks(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out.push_back(c);
  }
  return out;
}

void add(std::string_view variant, std::vector<std::string>& answers) {
  std::string answer = singleBlanks(trimmed(variant));
  // An empty answer would make an empty field right.
  if (answer.empty() || std::find(answers.begin(), answers.end(), answer) != answers.end()) return;
  answers.push_back(std::move(answer));
}

// "a/b" at the option's own first slash; a slash before the brackets does not split it.
bool splitAlternative(std::string_view option, std::string& first, std::string& second) {
  const auto slash = option.find('/');
  if (slash == std::string_view::npos) return false;
  first = std::string(option.substr(0, slash));
  second = std::string(option.substr(slash + 1));
  return true;
}

// Drops one "[...]" remark with at least one character inside, and the double blank it leaves.
std::string withoutRemark(std::string text) {
  const auto open = text.find('[');
  if (open == std::string::npos) return text;
  const auto close = text.find(']', open + 1);
  if (close == std::string::npos || close == open + 1) return text;
  text.erase(open, close - open + 1);
  const auto dbl = text.find("  ");
  if (dbl != std::string::npos) text.erase(dbl, 1);
  return text;
}

}  // namespace

std::vector<std::string> splitSolutionText(std::string_view text) {
  std::vector<std::string> parts;
  while (true) {
    const auto semi = text.find(';');
    if (semi == std::string_view::npos) {
      parts.emplace_back(text);
      return parts;
    }
    std::string_view part = text.substr(0, semi);
    while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
    parts.emplace_back(part);
    text.remove_prefix(std::min(semi + 2, text.size()));
  }
}

void addVariants(std::string_view prefix, std::string_view part, std::vector<std::string>& answers) {
  const std::string t = withoutRemark(std::string(prefix) + std::string(part));
  const auto open1 = t.find('(');
  const auto close1 = open1 == std::string::npos ? open1 : t.find(')', open1 + 1);
  if (close1 == std::string::npos || close1 == open1 + 1) {
    add(t, answers);
    return;
  }
  const std::string p = t.substr(0, open1), a = t.substr(open1 + 1, close1 - open1 - 1);
  const auto open2 = t.find('(', close1 + 1);
  const auto close2 = open2 == std::string::npos ? open2 : t.find(')', open2 + 1);
  std::string x, y;
  if (close2 == std::string::npos || close2 == open2 + 1) {
    const std::string s = t.substr(close1 + 1);
    if (splitAlternative(a, x, y)) {
      add(p + x + s, answers);
      add(p + y + s, answers);
      add(p + s, answers);
    } else {
      add(p + s, answers);
      add(p + a + s, answers);
    }
    return;
  }
  const std::string m = t.substr(close1 + 1, open2 - close1 - 1), b = t.substr(open2 + 1, close2 - open2 - 1),
                    s = t.substr(close2 + 1);
  if (splitAlternative(b, x, y)) {
    add(p + a + m + x + s, answers);
    add(p + a + m + y + s, answers);
    add(p + m + x + s, answers);
    add(p + m + y + s, answers);
  } else {
    add(p + a + m + b + s, answers);
    add(p + m + b + s, answers);
  }
  add(p + a + m + s, answers);
  add(p + m + s, answers);
}

std::vector<std::string> acceptedAnswers(std::string_view text, std::string_view prefix) {
  std::vector<std::string> answers;
  for (const std::string& part : splitSolutionText(text)) addVariants(prefix, part, answers);
  return answers;
}

}  // namespace answercheck
