#include "widgets/tolerantcheck.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

namespace answercheck {

namespace {

constexpr char kTypoApostrophe = static_cast<char>(0x92);  // ’ in Windows-1252

// Only pronoun and auxiliary forms: "John's" or "the dog's" stay as they are, and "its"
// is no form of "it's". Ambiguous forms take their commoner reading ("'d" = would,
// "'s" = is), the one both sides get.
const std::vector<TContraction> kContractions = {
    {"i'm", "i am"},         {"you're", "you are"},     {"we're", "we are"},       {"they're", "they are"},
    {"he's", "he is"},       {"she's", "she is"},       {"it's", "it is"},         {"that's", "that is"},
    {"there's", "there is"}, {"here's", "here is"},     {"what's", "what is"},     {"where's", "where is"},
    {"who's", "who is"},     {"how's", "how is"},       {"let's", "let us"},       {"i've", "i have"},
    {"you've", "you have"},  {"we've", "we have"},      {"they've", "they have"},  {"i'll", "i will"},
    {"you'll", "you will"},  {"he'll", "he will"},      {"she'll", "she will"},    {"it'll", "it will"},
    {"we'll", "we will"},    {"they'll", "they will"},  {"that'll", "that will"},  {"i'd", "i would"},
    {"you'd", "you would"},  {"he'd", "he would"},      {"she'd", "she would"},    {"we'd", "we would"},
    {"they'd", "they would"}, {"isn't", "is not"},      {"aren't", "are not"},     {"wasn't", "was not"},
    {"weren't", "were not"}, {"don't", "do not"},       {"doesn't", "does not"},   {"didn't", "did not"},
    {"haven't", "have not"}, {"hasn't", "has not"},     {"hadn't", "had not"},     {"can't", "can not"},
    {"cannot", "can not"},   {"couldn't", "could not"}, {"won't", "will not"},     {"wouldn't", "would not"},
    {"shouldn't", "should not"}, {"mustn't", "must not"}, {"needn't", "need not"}, {"shan't", "shall not"},
    {"mightn't", "might not"},
};

const std::unordered_map<std::string, std::string_view>& table() {
  static const std::unordered_map<std::string, std::string_view> map = [] {
    std::unordered_map<std::string, std::string_view> m;
    for (const TContraction& c : kContractions) m.emplace(std::string(c.shortForm), c.longForm);
    return m;
  }();
  return map;
}

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
bool isUpper(char c) { return std::isupper(static_cast<unsigned char>(c)) != 0; }

// Punctuation that may stand around a word: "Yes, I'm." has the core "I'm".
bool isEdge(char c) { return std::string_view(",.;:!?\"()").find(c) != std::string_view::npos; }

// One blank-free token with its contraction (if any) written out; the case of the
// token's first letter carries over ("Don't" -> "Do not", "I'm" -> "I am").
std::string expanded(std::string_view token) {
  std::size_t b = 0, e = token.size();
  while (b < e && isEdge(token[b])) ++b;
  while (e > b && isEdge(token[e - 1])) --e;
  std::string core;
  for (std::size_t i = b; i < e; ++i) core += lower(token[i]);
  const auto it = table().find(core);
  if (it == table().end()) return std::string(token);
  std::string longForm(it->second);
  if (isUpper(token[b])) longForm[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(longForm[0])));
  return std::string(token.substr(0, b)) + longForm + std::string(token.substr(e));
}

}  // namespace

const std::vector<TContraction>& contractions() { return kContractions; }

std::string normalisedAnswer(std::string_view text) {
  std::string plain(text);
  std::replace(plain.begin(), plain.end(), kTypoApostrophe, '\'');
  std::string out;
  std::size_t i = 0;
  while (i < plain.size()) {
    while (i < plain.size() && plain[i] == ' ') ++i;
    if (i >= plain.size()) break;
    std::size_t j = i;
    while (j < plain.size() && plain[j] != ' ') ++j;
    if (!out.empty()) out += ' ';
    out += expanded(std::string_view(plain).substr(i, j - i));
    i = j;
  }
  if (!out.empty() && (out.back() == '.' || out.back() == '!' || out.back() == '?')) out.pop_back();
  while (!out.empty() && out.back() == ' ') out.pop_back();
  if (!out.empty()) out[0] = lower(out[0]);
  return out;
}

int tolerantMatch(std::string_view text, const std::vector<std::string>& solutions) {
  const std::string typed = normalisedAnswer(text);
  if (typed.empty()) return -1;
  for (std::size_t i = 0; i < solutions.size(); ++i) {
    if (normalisedAnswer(solutions[i]) == typed) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace answercheck
