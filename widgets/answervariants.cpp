#include "widgets/answervariants.h"

#include <algorithm>

namespace answercheck {

namespace {

std::string trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(' ');
  return std::string(s.substr(first, last - first + 1));
}

std::string singleBlanks(std::string s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out.push_back(c);
  }
  return out;
}

// Drops one "[...]" remark with at least one character inside, and the double blank it leaves.
std::string withoutRemark(std::string_view text) {
  const auto open = text.find('[');
  if (open == std::string_view::npos) return std::string(text);
  const auto close = text.find(']', open + 1);
  if (close == std::string_view::npos || close == open + 1) return std::string(text);
  std::string s = std::string(text.substr(0, open)) + std::string(text.substr(close + 1));
  const auto dbl = s.find("  ");
  if (dbl != std::string::npos) s.erase(dbl, 1);
  return s;
}

// "a/b" at the first "/" at or after `searchFrom` when it lies inside [from, to).
bool splitAlternative(std::string_view whole, std::size_t searchFrom, std::size_t from, std::size_t to, std::string& a1,
                      std::string& a2) {
  const auto slash = whole.find('/', searchFrom);
  if (slash == std::string_view::npos || slash < from || slash >= to) return false;
  a1 = std::string(whole.substr(from, slash - from));
  a2 = std::string(whole.substr(slash + 1, to - slash - 1));
  return true;
}

}  // namespace

std::vector<std::string> splitSolutionText(std::string_view text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const auto semi = text.find(';', start);
    if (semi == std::string_view::npos) {
      parts.emplace_back(text.substr(start));
      break;
    }
    std::string part(text.substr(start, semi - start));
    while (!part.empty() && part.back() == ' ') part.pop_back();
    parts.push_back(std::move(part));
    start = std::min(text.size(), semi + 2);
  }
  return parts;
}

std::vector<std::string> expandVariants(std::string_view input) {
  const std::string text = withoutRemark(input);
  const std::string_view t = text;
  const auto open1 = t.find('(');
  const auto close1 = open1 == std::string_view::npos ? std::string_view::npos : t.find(')', open1 + 1);
  if (close1 == std::string_view::npos || close1 == open1 + 1) return {text};
  const std::string p(t.substr(0, open1));
  const std::string a(t.substr(open1 + 1, close1 - open1 - 1));
  std::string a1, a2;
  const bool aSplit = splitAlternative(t, 0, open1 + 1, close1, a1, a2);

  const auto open2 = t.find('(', close1 + 1);
  const auto close2 = open2 == std::string_view::npos ? std::string_view::npos : t.find(')', open2 + 1);
  if (close2 == std::string_view::npos || close2 == open2 + 1) {
    const std::string s(t.substr(close1 + 1));
    if (aSplit) return {p + a1 + s, p + a2 + s, p + s};
    return {p + s, p + a + s};
  }
  const std::string m(t.substr(close1 + 1, open2 - close1 - 1));
  const std::string b(t.substr(open2 + 1, close2 - open2 - 1));
  const std::string s(t.substr(close2 + 1));
  std::string b1, b2;
  if (splitAlternative(t, open2 + 1, open2 + 1, close2, b1, b2)) {
    return {p + a + m + b1 + s, p + a + m + b2 + s, p + m + b1 + s, p + m + b2 + s, p + a + m + s, p + m + s};
  }
  return {p + a + m + b + s, p + m + b + s, p + a + m + s, p + m + s};
}

std::vector<std::string> acceptedAnswers(std::string_view text, std::string_view prefix) {
  std::vector<std::string> answers;
  for (const std::string& part : splitSolutionText(text)) {
    for (const std::string& v : expandVariants(std::string(prefix) + part)) {
      std::string answer = singleBlanks(trimmed(v));
      // An empty answer would make an empty field right.
      if (answer.empty()) continue;
      if (std::find(answers.begin(), answers.end(), answer) == answers.end()) answers.push_back(std::move(answer));
    }
  }
  return answers;
}

}  // namespace answercheck
