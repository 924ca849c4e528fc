// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/tolerantcheck.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <initializer_list>
#include <unordered_map>

namespace answercheck {

namespace {

using Tokens = std::vector<std::string>;

// Pronoun and auxiliary forms. "'s" and "'d" forms are listed for the tools, but the
// comparison reads every "X's" as "X is" or "X has" (also after a noun: "the building's on
// fire") and every "X'd" as "X would" or "X had", whichever the other side has; "its" is no
// form of "it's".
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

// Words written in more than one accepted way, each mapped to one of them (lower case).
const std::unordered_map<std::string, std::string_view>& sameWords() {
  static const std::unordered_map<std::string, std::string_view> map = [] {
    std::unordered_map<std::string, std::string_view> m{
        {"ok", "OK"},           {"okay", "OK"},           {"o.k", "OK"},
        {"center", "centre"},   {"centers", "centres"},   {"theater", "theatre"},
        {"theaters", "theatres"}, {"kilometer", "kilometre"}, {"kilometers", "kilometres"},
        {"meter", "metre"},     {"meters", "metres"},     {"liter", "litre"},
        {"liters", "litres"},   {"color", "colour"},      {"colors", "colours"},
        {"favorite", "favourite"}, {"neighbor", "neighbour"}, {"neighbors", "neighbours"},
        {"harbor", "harbour"},  {"flavor", "flavour"},    {"gray", "grey"},
        {"dialed", "dialled"},  {"dialing", "dialling"},  {"traveled", "travelled"},
        {"traveling", "travelling"}, {"traveler", "traveller"}, {"travelers", "travellers"},
        {"canceled", "cancelled"}, {"canceling", "cancelling"}, {"jewelry", "jewellery"},
        {"pajamas", "pyjamas"}, {"tire", "tyre"},         {"tires", "tyres"},
        {"license", "licence"}, {"defense", "defence"},   {"catalog", "catalogue"},
        {"realize", "realise"}, {"organize", "organise"}, {"organized", "organised"},
        {"apologize", "apologise"}, {"recognize", "recognise"}, {"toward", "towards"},
        {"learnt", "learned"},  {"spelt", "spelled"},     {"dreamt", "dreamed"},
        {"burnt", "burned"},    {"checkin", "check in"},  {"fulfill", "fulfil"},
    };
    return m;
  }();
  return map;
}

constexpr std::array<std::string_view, 20> kOnes{"zero",    "one",     "two",       "three",    "four",
                                                 "five",    "six",     "seven",     "eight",    "nine",
                                                 "ten",     "eleven",  "twelve",    "thirteen", "fourteen",
                                                 "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
constexpr std::array<std::string_view, 10> kTens{"", "", "twenty", "thirty", "forty",
                                                 "fifty", "sixty", "seventy", "eighty", "ninety"};
constexpr std::array<std::string_view, 20> kOnesNth{
    "zeroth",   "first",     "second",     "third",      "fourth",     "fifth",     "sixth",
    "seventh",  "eighth",    "ninth",      "tenth",      "eleventh",   "twelfth",   "thirteenth",
    "fourteenth", "fifteenth", "sixteenth", "seventeenth", "eighteenth", "nineteenth"};
constexpr std::array<std::string_view, 10> kTensNth{"", "", "twentieth", "thirtieth", "fortieth",
                                                    "fiftieth", "sixtieth", "seventieth", "eightieth", "ninetieth"};

// "45" -> "forty five", "21st" -> "twenty first" (0 to 99); empty for anything else.
std::string numberWords(const std::string& core) {
  std::size_t digits = 0;
  while (digits < core.size() && std::isdigit(static_cast<unsigned char>(core[digits]))) ++digits;
  if (digits == 0 || digits > 2) return {};
  const std::string rest = core.substr(digits);
  const int n = std::stoi(core.substr(0, digits));
  const bool nth = rest == "st" || rest == "nd" || rest == "rd" || rest == "th";
  if (!rest.empty() && !nth) return {};
  if (n < 20) return std::string(nth ? kOnesNth[std::size_t(n)] : kOnes[std::size_t(n)]);
  const std::size_t t = std::size_t(n / 10), o = std::size_t(n % 10);
  if (o == 0) return std::string(nth ? kTensNth[t] : kTens[t]);
  return std::string(kTens[t]) + " " + std::string(nth ? kOnesNth[o] : kOnes[o]);
}

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
bool isAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }
std::string lowered(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = lower(c);
  return out;
}

// Punctuation that may stand around a word: "Yes, I'm." has the core "I'm".
bool isEdge(char c) { return std::string_view(",.;:!?\"()").find(c) != std::string_view::npos; }

struct TCore {
  std::string before, core, after;
};

TCore splitEdges(std::string_view token) {
  std::size_t b = 0, e = token.size();
  while (b < e && isEdge(token[b])) ++b;
  while (e > b && isEdge(token[e - 1])) --e;
  return {std::string(token.substr(0, b)), std::string(token.substr(b, e - b)), std::string(token.substr(e))};
}

// Contractions whose reading depends on the other side: "X's" and "X'd", but not "let's".
bool isOpenContraction(const std::string& lowerCore) {
  if (lowerCore == "let's" || lowerCore.size() < 3) return false;
  const std::string_view end = std::string_view(lowerCore).substr(lowerCore.size() - 2);
  return end == "'s" || end == "'d";
}

// One blank-free token in its compared form: appended to `out` as one or more tokens.
void addToken(std::string_view token, Tokens& out) {
  const TCore c = splitEdges(token);
  const std::string key = lowered(c.core);
  std::string replaced;
  if (!isOpenContraction(key)) {
    if (const auto it = table().find(key); it != table().end()) {
      replaced = std::string(it->second);
    } else if (const auto w = sameWords().find(key); w != sameWords().end()) {
      replaced = std::string(w->second);
    } else if (key == "alright") {
      replaced = "all right";
    } else {
      replaced = numberWords(key);
    }
  }
  if (replaced.empty()) {
    out.push_back(std::string(token));
    return;
  }
  // The case of the first letter carries over ("Don't" -> "Do not", "Okay" -> "OK").
  if (!c.core.empty() && isUpper(c.core[0])) replaced[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(replaced[0])));
  replaced = c.before + replaced + c.after;
  std::size_t i = 0;
  while (i < replaced.size()) {
    const std::size_t blank = replaced.find(' ', i);
    out.push_back(replaced.substr(i, blank == std::string::npos ? std::string::npos : blank - i));
    if (blank == std::string::npos) break;
    i = blank + 1;
  }
}

Tokens tokens(std::string_view text) {
  std::string plain(text);
  for (std::size_t i = 0; i < plain.size(); ++i) {
    char& c = plain[i];
    // ’ ‘ ´ ` for the apostrophe (´ and ` lie on the German keyboard).
    if (c == '\x92' || c == '\x91' || c == '\xB4' || c == '`') c = '\'';
    else if (c == ',' || c == '\t') c = ' ';
    else if (c == '-' && i > 0 && i + 1 < plain.size() && isAlnum(plain[i - 1]) && isAlnum(plain[i + 1])) c = ' ';
  }
  while (!plain.empty() && plain.back() == ' ') plain.pop_back();
  if (!plain.empty() && (plain.back() == '.' || plain.back() == '!' || plain.back() == '?')) plain.pop_back();
  Tokens out;
  std::size_t i = 0;
  while (i < plain.size()) {
    while (i < plain.size() && plain[i] == ' ') ++i;
    if (i >= plain.size()) break;
    std::size_t j = i;
    while (j < plain.size() && plain[j] != ' ') ++j;
    addToken(std::string_view(plain).substr(i, j - i), out);
    i = j;
  }
  return out;
}

void firstLetterSmall(Tokens& t) {
  if (!t.empty() && !t.front().empty()) t.front()[0] = lower(t.front()[0]);
}

bool isPlease(const std::string& token) { return lowered(splitEdges(token).core) == "please"; }

// "X's" -> {X is}, {X has}; "X'd" -> {X would}, {X had}; edge punctuation kept outside.
std::vector<Tokens> readings(const std::string& token) {
  const TCore c = splitEdges(token);
  if (!isOpenContraction(lowered(c.core))) return {};
  const std::string stem = c.before + c.core.substr(0, c.core.size() - 2);
  const bool s = lower(c.core.back()) == 's';
  return {{stem, std::string(s ? "is" : "would") + c.after}, {stem, std::string(s ? "has" : "had") + c.after}};
}

bool sameRun(const Tokens& a, std::size_t from, const Tokens& run) {
  if (from + run.size() > a.size()) return false;
  return std::equal(run.begin(), run.end(), a.begin() + static_cast<std::ptrdiff_t>(from));
}

// In a question, "Can I", "Could I" and "May I" ask the same; so do "Can you", "Could you"
// and "Would you" (the German "Kann ich ...?", "Könnten Sie ...?"), and "Shall I" and "Should I".
bool sameRequest(const Tokens& t, std::size_t i, const Tokens& s, std::size_t j) {
  if (i + 1 >= t.size() || j + 1 >= s.size() || t[i + 1] != s[j + 1]) return false;
  const std::string a = lowered(t[i]), b = lowered(s[j]), who = lowered(t[i + 1]);
  const auto in = [](const std::string& w, std::initializer_list<std::string_view> set) {
    return std::find(set.begin(), set.end(), w) != set.end();
  };
  if (who == "i" || who == "we") {
    // "Soll ich ...?": asking what to do.
    if (in(a, {"shall", "should"}) && in(b, {"shall", "should"})) return true;
    return in(a, {"can", "could", "may"}) && in(b, {"can", "could", "may"});
  }
  if (who == "you") return in(a, {"can", "could", "would"}) && in(b, {"can", "could", "would"});
  return false;
}

bool matches(const Tokens& t, std::size_t i, const Tokens& s, std::size_t j, bool question) {
  if (i == t.size() || j == s.size()) return i == t.size() && j == s.size();
  if (t[i] == s[j] && matches(t, i + 1, s, j + 1, question)) return true;
  if (question && sameRequest(t, i, s, j) && matches(t, i + 1, s, j + 1, question)) return true;
  for (const Tokens& r : readings(t[i]))
    if (sameRun(s, j, r) && matches(t, i + 1, s, j + r.size(), question)) return true;
  for (const Tokens& r : readings(s[j]))
    if (sameRun(t, i, r) && matches(t, i + r.size(), s, j + 1, question)) return true;
  return false;
}

// An added "please" is fine; one that the solution has must be typed somewhere.
bool equalUnderRule(Tokens typed, Tokens solution, bool question) {
  const auto pleaseIn = [](const Tokens& x) { return std::any_of(x.begin(), x.end(), isPlease); };
  if (pleaseIn(solution) && !pleaseIn(typed)) return false;
  const auto withoutPlease = [](Tokens x) {
    Tokens kept;
    for (std::string& w : x)
      if (!isPlease(w)) kept.push_back(std::move(w));
    return kept;
  };
  Tokens t = withoutPlease(typed), s = withoutPlease(solution);
  // "Please." itself stays a word.
  if (t.empty() || s.empty()) {
    t = std::move(typed);
    s = std::move(solution);
  }
  firstLetterSmall(t);
  firstLetterSmall(s);
  return matches(t, 0, s, 0, question);
}

bool isQuestion(std::string_view text) {
  const auto last = text.find_last_not_of(' ');
  return last != std::string_view::npos && text[last] == '?';
}

}  // namespace

const std::vector<TContraction>& contractions() { return kContractions; }

std::string normalisedAnswer(std::string_view text) {
  Tokens t = tokens(text);
  firstLetterSmall(t);
  std::string out;
  for (const std::string& w : t) {
    if (!out.empty()) out += ' ';
    out += w;
  }
  return out;
}

int tolerantMatch(std::string_view text, const std::vector<std::string>& solutions) {
  const Tokens typed = tokens(text);
  if (typed.empty()) return -1;
  for (std::size_t i = 0; i < solutions.size(); ++i) {
    const Tokens s = tokens(solutions[i]);
    if (!s.empty() && equalUnderRule(typed, s, isQuestion(solutions[i]))) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace answercheck
