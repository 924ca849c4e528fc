// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/dingconvert.h"

#include "dict/database.h"
#include "platform/codec.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>
#include <future>
#include <optional>

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
  return s;
}

char closerOf(char c) { return c == '(' ? ')' : c == '[' ? ']' : c == '{' ? '}' : c == '<' ? '>' : 0; }

// Splits at `sep` where no (), [] or {} is open.
std::vector<std::string_view> splitTop(std::string_view s, std::string_view sep) {
  std::vector<std::string_view> parts;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '(' || c == '[' || c == '{') ++depth;
    else if ((c == ')' || c == ']' || c == '}') && depth > 0) --depth;
    else if (depth == 0 && s.compare(i, sep.size(), sep) == 0) {
      parts.push_back(s.substr(start, i - start));
      start = i + sep.size();
      i = start - 1;
    }
  }
  parts.push_back(s.substr(start));
  return parts;
}

// End of the bracket opened at `open` (the index of its closer, or the end).
std::size_t matching(std::string_view s, std::size_t open) {
  const char o = s[open], c = closerOf(o);
  int depth = 0;
  for (std::size_t i = open; i < s.size(); ++i) {
    if (s[i] == o) ++depth;
    else if (s[i] == c && --depth == 0) return i;
  }
  return s.size();
}

std::string collapseSpaces(std::string_view s) {
  std::string out;
  for (char c : trim(s)) {
    if (isSpace(c)) {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// "a , b;c" → "a; b; c": the dictionary separates meanings only by "; ".
std::string separateMeanings(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == ',' || c == ';') {
      while (!out.empty() && out.back() == ' ') out.pop_back();
      if (!out.empty()) out += "; ";
      while (i + 1 < s.size() && s[i + 1] == ' ') ++i;
    } else {
      out += c;
    }
  }
  while (out.size() >= 2 && out.compare(out.size() - 2, 2, "; ") == 0) out.resize(out.size() - 2);
  return out;
}

// A comment inside "[...]": no nested square brackets, semicolons followed by one blank.
std::string commentText(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '[') c = '(';
    else if (c == ']') c = ')';
    if (c == ';') {
      while (!out.empty() && out.back() == ' ') out.pop_back();
      out += "; ";
      while (i + 1 < s.size() && s[i + 1] == ' ') ++i;
      continue;
    }
    out += c;
  }
  return collapseSpaces(out);
}

// How much a label in square brackets keeps a meaning from the front: subjects, regions
// and registers; offensive labels are told apart (-1).
double labelWeight(std::string_view label, bool& offensive) {
  struct TWeight {
    const char* label;
    double weight;
  };
  static const std::unordered_map<std::string_view, double> weights = [] {
    static const TWeight table[] = {
        // offensive
        {"vulg.", -1}, {"pej.", -1}, {"abwertend", -1}, {"derb", -1}, {"disapproving", -1},
        {"often disapproving", -1},
        // registers
        {"slang", 3}, {"obs.", 3}, {"veraltet", 3}, {"archaic", 3}, {"altertümlich", 3}, {"altertümelnd", 3},
        {"alt", 3}, {"dated", 2.5}, {"rare", 3}, {"selten", 3}, {"tm", 3}, {"former name", 3},
        {"frühere Bezeichnung", 3}, {"Jägersprache", 3}, {"hunters’ parlance", 3}, {"hunter’s parlance", 3},
        {"Jugendsprache", 3}, {"dialect", 3}, {"Kindersprache", 2}, {"children’s speech", 2}, {"poet.", 2.5},
        {"literary", 2}, {"ugs.", 1.5}, {"ugs", 1.5}, {"coll.", 1.5}, {"humor.", 2}, {"iron.", 2}, {"euphem.", 2},
        {"veraltend", 2}, {"becoming dated", 2}, {"geh.", 1}, {"formal", 1}, {"fig.", 1.2}, {"übtr.", 1.2},
        {"auch übtr.", 0.3}, {"also fig.", 0.3}, {"Sprw.", 1.5}, {"prov.", 1.5}, {"in Zusammensetzungen", 2},
        {"in compounds", 2}, {"usually in compounds", 2},
        // regions: the program teaches British English, and German as spoken in Germany
        {"Br.", 0.5}, {"Am.", 0.9}, {"eBr.", 1.5}, {"eAm.", 1.5}, {"mainly Am.", 0.9}, {"Dt.", 0.3},
        // subjects close to everyday life
        {"soc.", 0.2}, {"school", 0.5}, {"school.", 0.5}, {"stud.", 0.8}, {"cook.", 0.8}, {"cook", 0.8},
        {"sport", 0.8}, {"auto", 1}, {"transp.", 1}, {"adm.", 1}, {"relig.", 1.5},
    };
    std::unordered_map<std::string_view, double> m;
    for (const TWeight& w : table) m.emplace(w.label, w.weight);
    return m;
  }();
  const auto it = weights.find(label);
  if (it == weights.end()) {
    // Other regions weigh as much as a subject: both are for the few who need them.
    return 1.3;
  }
  if (it->second < 0) {
    offensive = true;
    return 0;
  }
  return it->second;
}

// Words that are offensive whatever the source says about them.
bool offensiveWord(std::string_view word, bool german) {
  static const std::unordered_map<std::string_view, bool> words = {
      {"arsehole", false}, {"asshole", false},    {"cunt", false},       {"dumbass", false},  {"dumbarse", false},
      {"fuck", false},     {"fucking", false},    {"motherfucker", false}, {"nigger", false}, {"nigga", false},
      {"spaz", false},     {"spazz", false},      {"twat", false},       {"wanker", false},   {"retard", false},
      {"Arschloch", true}, {"Fotze", true},       {"Hurensohn", true},   {"Kanake", true},    {"Neger", true},
      {"Schwuchtel", true}, {"Spast", true},      {"Spasti", true},      {"Wichser", true},   {"ficken", true},
  };
  const auto it = words.find(word);
  return it != words.end() && it->second == german;
}

// Stand-ins for an object ("sth.", "jdn./etw."): a learner looks the verb up without them.
bool isPlaceholder(std::string_view token) {
  static const std::string_view kinds[] = {"sth.",   "sb.",   "sb.’s", "sb.'s", "sth.’s", "sth.'s", "jdn.",
                                           "jdm.",   "jds.",  "etw.",  "jd.",   "etw",    "sth",    "sb"};
  std::size_t pos = 0;
  while (pos <= token.size()) {
    std::size_t slash = token.find('/', pos);
    if (slash == std::string_view::npos) slash = token.size();
    const std::string_view part = token.substr(pos, slash - pos);
    if (std::find(std::begin(kinds), std::end(kinds), part) == std::end(kinds)) return false;
    pos = slash + 1;
  }
  return true;
}

std::vector<std::string_view> tokens(std::string_view s) {
  std::vector<std::string_view> out;
  std::size_t pos = 0;
  while (pos < s.size()) {
    while (pos < s.size() && s[pos] == ' ') ++pos;
    std::size_t end = s.find(' ', pos);
    if (end == std::string_view::npos) end = s.size();
    if (end > pos) out.push_back(s.substr(pos, end - pos));
    pos = end;
  }
  return out;
}

// "/h/", "/Std./": an abbreviation written after the word.
bool isAbbreviation(std::string_view token) {
  return token.size() >= 3 && token.front() == '/' && token.back() == '/';
}

std::string joined(const std::vector<std::string_view>& parts) {
  std::string out;
  for (std::string_view p : parts) {
    if (!out.empty()) out += ' ';
    out += p;
  }
  return out;
}

}  // namespace

struct TSynonym {
  std::string core;  // UTF-8, without markers, comments and abbreviations
  std::vector<std::string> comments;  // labels and explanations, as shown
  int kind = 0;        // 0: no word-class marker
  std::string gender;  // nouns: "m", "f", "n", "pl", "mf", ...
  double labels = 0;   // penalty of its square-bracket labels
  bool explained = false;  // a comment in parentheses narrows the sense
  bool offensive = false;
  // An English verb's irregular forms, "to go {went; gone}": past tense and past participle.
  std::vector<std::string> pastTense, pastParticiple;
};

namespace {

std::vector<std::string> commaList(std::string_view s) {
  std::vector<std::string> out;
  for (std::string_view part : splitTop(s, ","))
    if (const std::string_view t = trim(part); !t.empty()) out.emplace_back(t);
  return out;
}

// Word class of a brace marker, 0 for markers that are not one (grammar hints, verb forms).
int markerKind(std::string_view marker, std::string& gender) {
  std::string_view first = trim(marker.substr(0, marker.find(';')));
  if (first == "pl") {
    gender = "pl";
    return 1;
  }
  bool genders = !first.empty();
  std::string g;
  for (char c : first) {
    if (c == 'm' || c == 'f' || c == 'n') g += c;
    else if (c != ',') genders = false;
  }
  if (genders && !g.empty() && g.size() <= 3) {
    gender = g;
    return 1;
  }
  if (first == "vt" || first == "vi" || first == "v" || first == "vr") return 2;
  if (first == "adj" || first == "adv") return 3;
  if (first.substr(0, 3) == "prp" || first == "conj" || first == "pron" || first == "ppron" || first == "art" ||
      first == "interj" || first == "num" || first == "Partikel")
    return 4;
  return 0;
}

TSynonym parseSynonym(std::string_view s) {
  TSynonym syn;
  std::string core;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '{' || c == '<' || c == '[' || c == '(') {
      const std::size_t end = matching(s, i);
      const std::string_view inner = s.substr(i + 1, (end < s.size() ? end : s.size()) - i - 1);
      if (c == '{') {
        std::string gender;
        const int kind = markerKind(inner, gender);
        if (kind != 0 && syn.kind == 0) {
          syn.kind = kind;
          syn.gender = gender;
        } else if (const std::size_t semi = inner.find(';'); kind == 0 && semi != std::string_view::npos) {
          syn.pastTense = commaList(inner.substr(0, semi));
          syn.pastParticiple = commaList(inner.substr(semi + 1));
        }
      } else if (c != '<') {
        std::string comment = commentText(inner);
        if (c == '[') {
          // "pej." is a learned abbreviation; the learner reads it in plain German.
          if (comment == "pej.") comment = "abwertend";
          syn.labels += labelWeight(comment, syn.offensive);
        } else {
          syn.explained = true;
        }
        if (!comment.empty()) syn.comments.push_back(std::move(comment));
      }
      i = end;
      core += ' ';
    } else {
      core += c;
    }
  }
  std::vector<std::string_view> words = tokens(core);
  std::erase_if(words, isAbbreviation);
  syn.core = joined(words);
  return syn;
}

bool hasSpace(std::string_view s) { return s.find(' ') != std::string_view::npos; }

// Phrases: with a verb when the English side is an infinitive or the German one ends in
// one ("in den sauren Apfel beißen"); without otherwise ("auf Wiedersehen").
int phraseKind(const TSynonym& german, const TSynonym* english) {
  if (english && english->core.rfind("to ", 0) == 0) return 5;
  const std::string_view core = german.core;
  const std::size_t lastSpace = core.rfind(' ');
  const std::string_view last = core.substr(lastSpace == std::string_view::npos ? 0 : lastSpace + 1);
  const bool lower = !last.empty() && last.front() >= 'a' && last.front() <= 'z';
  const bool infinitive = last.size() > 2 && (last.ends_with("en") || last.ends_with("ern") || last.ends_with("eln"));
  const char end = core.empty() ? 0 : core.back();
  if (lower && infinitive && end != '.' && end != '?' && end != '!') return 5;
  return 6;
}

std::string joinComments(const std::vector<std::string>& comments) {
  std::string out;
  for (const std::string& c : comments) {
    if (!out.empty()) out += ", ";
    out += c;
  }
  return out;
}

// A synonym as a meaning: "[comment] text (gender)".
std::string meaningItem(const TSynonym& syn) {
  std::string item;
  if (!syn.comments.empty()) item = "[" + joinComments(syn.comments) + "] ";
  item += separateMeanings(syn.core);
  if (!syn.gender.empty()) item += " (" + syn.gender + ")";
  return item;
}

// The words of a meaning that tell how common it is: no placeholders, articles or "to".
std::string countedCore(std::string_view core) {
  std::vector<std::string_view> words;
  for (std::string_view t : tokens(core)) {
    if (isPlaceholder(t) || t == "to" || t == "a" || t == "an" || t == "the" || t == "sich") continue;
    words.push_back(t);
  }
  return joined(words);
}

bool isWordByte(unsigned char c) { return std::isalnum(c) || c >= 0x80 || c == '-' || c == '\''; }

// Every distinct word of a text, once.
void countWords(std::string_view text, std::unordered_map<std::string, std::uint32_t>& counts) {
  std::vector<std::string_view> seen;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && !isWordByte(static_cast<unsigned char>(text[i]))) ++i;
    std::size_t end = i;
    while (end < text.size() && isWordByte(static_cast<unsigned char>(text[end]))) ++end;
    if (end > i) seen.push_back(text.substr(i, end - i));
    i = end;
  }
  std::sort(seen.begin(), seen.end());
  seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
  for (std::string_view w : seen) ++counts[std::string(w)];
}

std::string lowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// "[Br.] flat" + "abwertend" → "[Br., abwertend] flat".
std::string withLabel(const std::string& item, std::string_view label) {
  if (!item.empty() && item.front() == '[') {
    const std::size_t close = item.find(']');
    if (close != std::string::npos) return item.substr(0, close) + ", " + std::string(label) + item.substr(close);
  }
  return "[" + std::string(label) + "] " + item;
}

bool marksOffence(std::string_view item) {
  if (item.empty() || item.front() != '[') return false;
  const std::string_view comment = item.substr(0, item.find(']'));
  return comment.find("abwertend") != std::string_view::npos || comment.find("vulg.") != std::string_view::npos ||
         comment.find("derb") != std::string_view::npos;
}

// A meaning without its comments, gender and placeholders, lower case: "[sb.] jdm. etw.
// sagen" and "etw. sagen" are one meaning.
std::string bareKey(std::string_view item) {
  while (!item.empty() && item.front() == '[') {
    const std::size_t close = item.find("] ");
    if (close == std::string_view::npos) break;
    item.remove_prefix(close + 2);
  }
  if (item.size() > 2 && item.back() == ')') {
    const std::size_t open = item.rfind(" (");
    if (open != std::string_view::npos && item.size() - open <= 7) item = item.substr(0, open);
  }
  std::vector<std::string_view> words = tokens(item);
  std::erase_if(words, isPlaceholder);
  std::string key = joined(words);
  for (char& c : key) c = static_cast<char>(zek::lowerCp1252(static_cast<unsigned char>(c)));
  return key;
}

// A meaning as the core lists spell it, Windows-1252: nothing in brackets, no placeholders,
// no leading "to", lower case: "[ugs.] etw. (schnell) holen (vt)" and "holen" are one.
std::string coreKey(std::string_view text) {
  std::string plain;
  int depth = 0;
  for (char c : text) {
    if (c == '(' || c == '[' || c == '{' || c == '<') {
      ++depth;
    } else if ((c == ')' || c == ']' || c == '}' || c == '>') && depth > 0) {
      if (--depth == 0) plain += ' ';
    } else if (depth == 0) {
      plain += c == '\x92' ? '\'' : c;  // "sb.’s" as "sb.'s"
    }
  }
  std::vector<std::string_view> words = tokens(plain);
  std::erase_if(words, [](std::string_view t) { return isPlaceholder(t) || t == "one's"; });
  std::string key = joined(words);
  for (char& c : key) c = static_cast<char>(zek::lowerCp1252(static_cast<unsigned char>(c)));
  if (key.rfind("to ", 0) == 0) key.erase(0, 3);
  const std::size_t first = key.find_first_not_of(" ,.;:/");
  if (first == std::string::npos) return {};
  key.erase(0, first);
  key.erase(key.find_last_not_of(" ,.;:/") + 1);
  return key;
}

// "Haus (n)" → "Haus": the converter writes a noun's gender behind its headword.
std::string_view withoutGender(std::string_view word) {
  if (word.size() > 3 && word.back() == ')') {
    const std::size_t open = word.rfind(" (");
    if (open != std::string_view::npos) return word.substr(0, open);
  }
  return word;
}

// Plural forms of a part-0 word: "houses" of "house", "cities" of "city".
bool isPluralOf(std::string_view plural, const std::vector<std::string>& singulars) {
  for (const std::string& s : singulars) {
    if (plural == s) return true;
    if (plural.size() > s.size() && plural.substr(0, s.size()) == s) {
      const std::string_view rest = plural.substr(s.size());
      if (rest == "s" || rest == "es") return true;
    }
    if (s.size() > 1 && s.back() == 'y' && plural == s.substr(0, s.size() - 1) + "ies") return true;
  }
  return false;
}

// Whether a word of `core` is on the list of insults.
bool holdsSlur(std::string_view core, bool german) {
  for (std::string_view t : tokens(core))
    if (offensiveWord(german ? t : std::string_view(lowerAscii(t)), german)) return true;
  return false;
}

// A verb as its forms are compared: without "to" and the stand-ins for objects
// ("to put up with sth." → "put up with").
std::string bareVerb(std::string_view core) {
  std::vector<std::string_view> t = tokens(core);
  if (!t.empty() && t.front() == "to") t.erase(t.begin());
  std::erase_if(t, isPlaceholder);
  return joined(t);
}

// "[comment] text", in one bracket with a comment the text has: "[ugs., Br.] mate".
std::string withComment(const std::string& comment, const std::string& text) {
  return !text.empty() && text.front() == '[' ? "[" + comment + ", " + text.substr(1) : "[" + comment + "] " + text;
}

// Each line of `text`, trimmed, that is neither blank nor a "#" comment.
template <typename F>
void forEachDataLine(std::string_view text, F&& f) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (!line.empty() && line.front() != '#') f(line);
  }
}

}  // namespace

void TDingConverter::addFrequencies(std::string_view text) {
  forEachDataLine(text, [this](std::string_view line) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return;
    std::uint32_t count = 0;
    const std::string_view number = trim(line.substr(tab + 1));
    std::from_chars(number.data(), number.data() + number.size(), count);
    std::uint32_t& have = m_english[lowerAscii(line.substr(0, tab))];
    have = std::max(have, count);
  });
}

void TDingConverter::addText(std::string_view utf8) {
  // Sized for the full word list: growing these tables was a good part of the time.
  const std::size_t lines = static_cast<std::size_t>(std::count(utf8.begin(), utf8.end(), '\n'));
  for (auto& index : m_itemIndex) index.reserve(index.size() + lines * 4);
  for (THalf& h : m_halves) {
    h.index.reserve(h.index.size() + lines * 2);
    h.entries.reserve(h.entries.size() + lines * 2);
  }
  m_germanLines.reserve(m_germanLines.size() + lines);
  // The German word counts are a table of their own: a second thread fills it meanwhile.
  std::future<void> counted;
  if (!m_core) {
    counted = std::async(std::launch::async, [this, utf8] {
      forEachDataLine(utf8, [this](std::string_view line) {
        const std::size_t sep = line.find(" :: ");
        if (sep != std::string_view::npos) countWords(line.substr(0, sep), m_germanLines);
      });
    });
  }
  forEachDataLine(utf8, [this](std::string_view line) { addLine(line, false); });
  if (counted.valid()) counted.get();
}

std::uint32_t TDingConverter::intern(std::string text, std::string core, bool german) {
  auto& index = m_itemIndex[german ? 1 : 0];
  if (const auto it = index.find(text); it != index.end()) return it->second;
  const auto id = static_cast<std::uint32_t>(m_items.size());
  TItem& item = m_items.emplace_back();
  item.text = std::move(text);
  item.core = countedCore(core);
  item.german = german;
  item.offensiveWord = holdsSlur(item.core, german);
  index.emplace(item.text, id);
  return id;
}

void TDingConverter::addCoreText(std::string_view utf8) {
  m_core = true;
  addText(utf8);
  m_core = false;
}

void TDingConverter::addCoreMeanings(std::string_view utf8, bool german) {
  static const std::unordered_map<std::string_view, int> kinds = {
      {"noun", 1}, {"verb", 2}, {"adj", 3}, {"adv", 3}, {"other", 4}};
  auto& byWord = m_coreMeanings[german ? 1 : 0];
  forEachDataLine(utf8, [&byWord](std::string_view line) {
    const std::size_t tab1 = line.find('\t');
    const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == std::string_view::npos) return;
    const auto kind = kinds.find(trim(line.substr(tab1 + 1, tab2 - tab1 - 1)));
    const std::optional<std::string> word = zek::utf8ToCp1252Strict(trim(line.substr(0, tab1)));
    if (kind == kinds.end() || !word || word->empty()) return;
    TCoreLine core;
    core.kind = kind->second;
    for (std::string_view m : splitTop(line.substr(tab2 + 1), ";")) {
      const std::optional<std::string> text = zek::utf8ToCp1252Strict(trim(m));
      if (!text) continue;
      std::string key = coreKey(*text);
      if (!key.empty()) core.keys.push_back(std::move(key));
    }
    if (core.keys.empty()) return;
    std::vector<TCoreLine>& lines = byWord[*word];
    core.order = static_cast<int>(lines.size());
    lines.push_back(std::move(core));
  });
}

// Each entry's core meanings: those of the lines of its headword and kind; lines of a kind
// the source has no entry of serve the headword's entries that have no line of their own.
// Several lines for one entry (an adjective and an adverb) take turns: the first meaning of
// each line, then the second, and so on.
std::vector<const TDingConverter::TCoreLine*> TDingConverter::coreLines(int half,
                                                                        std::deque<TCoreLine>& merged) const {
  const std::vector<TEntry>& entries = m_halves[half].entries;
  std::vector<const TCoreLine*> out(entries.size(), nullptr);
  const auto& byWord = m_coreMeanings[half];
  if (byWord.empty()) return out;
  std::unordered_map<const std::vector<TCoreLine>*, std::vector<std::size_t>> entriesOf;
  std::string word;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    word = withoutGender(entries[i].word);
    if (const auto it = byWord.find(word); it != byWord.end()) entriesOf[&it->second].push_back(i);
  }
  auto mergedOf = [&merged](const std::vector<const TCoreLine*>& lines) -> const TCoreLine* {
    if (lines.size() == 1) return lines.front();
    TCoreLine& m = merged.emplace_back();
    m.kind = lines.front()->kind;
    m.order = lines.front()->order;
    for (std::size_t p = 0;; ++p) {
      bool more = false;
      for (const TCoreLine* l : lines) {
        if (p >= l->keys.size()) continue;
        more = true;
        if (std::find(m.keys.begin(), m.keys.end(), l->keys[p]) == m.keys.end()) m.keys.push_back(l->keys[p]);
      }
      if (!more) break;
    }
    return &m;
  };
  for (const auto& [lines, indexes] : entriesOf) {
    std::vector<bool> used(lines->size(), false);
    std::vector<const TCoreLine*> own;
    for (std::size_t i : indexes) {
      own.clear();
      for (std::size_t k = 0; k < lines->size(); ++k) {
        if ((*lines)[k].kind != entries[i].kind) continue;
        own.push_back(&(*lines)[k]);
        used[k] = true;
      }
      if (!own.empty()) out[i] = mergedOf(own);
    }
    std::vector<const TCoreLine*> rest;
    for (std::size_t k = 0; k < lines->size(); ++k)
      if (!used[k]) rest.push_back(&(*lines)[k]);
    if (rest.empty()) continue;
    const TCoreLine* shared = nullptr;
    for (std::size_t i : indexes) {
      if (out[i]) continue;
      if (!shared) shared = mergedOf(rest);
      out[i] = shared;
    }
  }
  return out;
}

void TDingConverter::addLine(std::string_view line) { addLine(line, !m_core); }

void TDingConverter::addLine(std::string_view line, bool count) {
  line = trim(line);
  if (line.empty() || line.front() == '#') return;
  ++m_stats.lines;
  const std::size_t sep = line.find(" :: ");
  if (sep == std::string_view::npos) {
    ++m_stats.skippedLines;
    return;
  }
  if (count) countWords(line.substr(0, sep), m_germanLines);
  const std::vector<std::string_view> german = splitTop(line.substr(0, sep), " | ");
  const std::vector<std::string_view> english = splitTop(line.substr(sep + 4), " | ");
  if (german.size() != english.size()) {
    ++m_stats.skippedLines;
    return;
  }
  // A line with many parts is a word the source knows a lot about: its main part counts more.
  const double richness = std::log2(1.0 + static_cast<double>(german.size()));
  int lineKind = 0;
  bool lineIsPlural = false;
  std::vector<std::string> mainEnglish;
  for (std::size_t k = 0; k < german.size(); ++k) {
    std::vector<TSynonym> de, en;
    for (std::string_view s : splitTop(german[k], ";")) {
      TSynonym syn = parseSynonym(s);
      if (!syn.core.empty()) de.push_back(std::move(syn));
    }
    for (std::string_view s : splitTop(english[k], ";")) {
      TSynonym syn = parseSynonym(s);
      if (!syn.core.empty()) en.push_back(std::move(syn));
    }
    if (de.empty() || en.empty()) continue;
    // Plural forms after a singular noun ("Aalbestand {m} | Aalbestände {pl}") only repeat
    // it; an English word there that is no plural of the main part is a word of its own
    // ("Hausaufgaben {pl} :: homework").
    bool plurals = k > 0 && lineKind == 1 && !lineIsPlural;
    for (const TSynonym& s : de) plurals = plurals && s.gender == "pl";
    if (plurals) {
      std::erase_if(en, [&](const TSynonym& s) { return isPluralOf(s.core, mainEnglish); });
      if (en.empty()) {
        ++m_stats.pluralForms;
        continue;
      }
    }

    int subKind = 0;
    for (const TSynonym& s : de)
      if (!subKind && s.kind) subKind = s.kind;
    for (const TSynonym& s : en)
      if (!subKind && s.kind) subKind = s.kind;
    if (!subKind) {
      if (hasSpace(de.front().core)) subKind = phraseKind(de.front(), &en.front());
      else if (lineKind) subKind = lineKind;  // inflected forms of the line's word
      else subKind = en.front().core.rfind("to ", 0) == 0 ? 2 : 1;
    }
    if (k == 0) {
      lineKind = subKind;
      lineIsPlural = de.front().gender == "pl";
      for (const TSynonym& s : en) mainEnglish.push_back(s.core);
    }

    // Insults come in groups: when both sides carry an offensive label, the whole part is
    // offensive, not only the words that happen to carry it.
    bool deOffensive = false, enOffensive = false;
    for (const TSynonym& s : de) deOffensive = deOffensive || s.offensive;
    for (const TSynonym& s : en) enOffensive = enOffensive || s.offensive;
    // A slang group that holds a slur is a group of slurs, though the source labels only
    // its last word ("Schwuchtel; Tunte; Schwester [slang] :: ...; fairy [slang]").
    const auto slang = [](const TSynonym& s) {
      return std::find(s.comments.begin(), s.comments.end(), "slang") != s.comments.end();
    };
    const bool slurGroup =
        (std::any_of(de.begin(), de.end(), [](const TSynonym& s) { return holdsSlur(s.core, true); }) ||
         std::any_of(en.begin(), en.end(), [](const TSynonym& s) { return holdsSlur(s.core, false); })) &&
        (std::any_of(de.begin(), de.end(), slang) || std::any_of(en.begin(), en.end(), slang));
    const bool partOffensive = (deOffensive && enOffensive) || slurGroup;

    const double partPenalty = (k == 0 ? -0.35 * richness : plurals ? 0.5 : 2.0) - (m_core ? kCoreBonus : 0.0);
    auto candidates = [&](const std::vector<TSynonym>& syns, bool isGerman) {
      std::vector<TCandidate> out;
      // Many synonyms on the meaning's side: a loose group, each the less likely one.
      const double looseness = 0.25 * std::log2(static_cast<double>(syns.size()));
      for (std::size_t p = 0; p < syns.size(); ++p) {
        const TSynonym& s = syns[p];
        const std::string text = meaningItem(s);
        if (trim(text).empty()) continue;
        std::optional<std::string> item = zek::utf8ToCp1252Strict(text);
        if (!item) {
          ++m_stats.droppedMeanings;
          continue;
        }
        TCandidate c;
        c.item = intern(std::move(*item), s.core, isGerman);
        c.penalty = static_cast<float>(0.35 * static_cast<double>(p) + looseness + s.labels + (s.explained ? 0.8 : 0.0));
        c.offensive = partOffensive || s.offensive;
        out.push_back(c);
      }
      return out;
    };
    const std::vector<TCandidate> germanItems = candidates(de, true);
    const std::vector<TCandidate> englishItems = candidates(en, false);

    auto addAll = [&](int half, const std::vector<TSynonym>& heads, const std::vector<TCandidate>& meanings) {
      if (meanings.empty()) return;
      const double groupPenalty = 0.25 * std::log2(static_cast<double>(heads.size()));
      for (std::size_t p = 0; p < heads.size(); ++p) {
        const TSynonym& head = heads[p];
        const int kind = head.kind ? head.kind : subKind;
        std::vector<std::string_view> words = tokens(head.core);
        // "to go", "to take part in": a learner looks up the verb or phrase without "to".
        if (half == 0 && (kind == 2 || kind == 5) && words.size() > 1 && words.front() == "to") words.erase(words.begin());
        // "get sth.", "jdn./etw. schubsen": filed under the verb a learner looks up.
        std::vector<std::string_view> bare = words;
        std::erase_if(bare, isPlaceholder);
        const std::size_t maxWords = half == 0 && kind == 2 ? 2 : 1;
        bool folded = false;
        if (bare.size() < words.size() && !bare.empty() && bare.size() <= maxWords) {
          words = bare;
          folded = true;
        }
        std::string word = joined(words);
        if (!head.gender.empty()) word += " (" + head.gender + ")";
        const std::optional<std::string> w = zek::utf8ToCp1252Strict(word);
        if (!w || w->size() > kMaxWord || w->empty()) {
          ++m_stats.skippedWords;
          continue;
        }
        if (folded || head.core.find('/') != std::string::npos) ++m_stats.folded;
        const double headPenalty = 0.7 * static_cast<double>(p) + groupPenalty + partPenalty + head.labels +
                                   (head.explained ? 1.0 : 0.0) + (folded ? 0.2 : 0.0);
        std::vector<TCandidate> own = meanings;
        for (TCandidate& c : own) {
          c.penalty += static_cast<float>(headPenalty);
          c.offensive = c.offensive || head.offensive;
          if (c.offensive) ++m_stats.offensive;
        }
        // A comment on the headword tells which of its senses this part gives.
        if (!head.comments.empty()) {
          if (std::optional<std::string> c = zek::utf8ToCp1252Strict(joinComments(head.comments)))
            prependComment(own.front(), *c);
        }
        add(half, *w, kind, own);
      }
    };
    // The forms of a verb ("stecken | gesteckt | steckte :: to put | put | put"): an English
    // form spelt like the infinitive is no headword of its own, or "put" would list
    // "gesteckt" and "steckte" among its meanings. The German forms still lead to it.
    std::vector<TSynonym> englishHeads = en;
    const bool verbForms = k > 0 && lineKind == 2 && std::none_of(de.begin(), de.end(), [](const TSynonym& s) { return s.kind; });
    if (verbForms) {
      std::vector<std::string> infinitives;
      for (const std::string& m : mainEnglish)
        if (m.rfind("to ", 0) == 0) infinitives.push_back(bareVerb(m));
      std::erase_if(englishHeads, [&](const TSynonym& s) {
        return s.kind == 0 && std::find(infinitives.begin(), infinitives.end(), bareVerb(s.core)) != infinitives.end();
      });
    }
    addAll(0, englishHeads, germanItems);
    addAll(1, de, englishItems);
    if (k == 0) addIrregularForms(en, germanItems, partPenalty);
  }
}

void TDingConverter::prependComment(TCandidate& candidate, const std::string& comment) {
  const TItem& item = m_items[candidate.item];
  std::string text = withComment(comment, item.text);
  std::string core = item.core;
  const bool isGerman = item.german;
  candidate.item = intern(std::move(text), std::move(core), isGerman);
}

// "went" and "gone" are looked up too: each irregular form of "to go {went; gone}" is a verb
// entry with the infinitive's meanings, and says whose form it is.
void TDingConverter::addIrregularForms(const std::vector<TSynonym>& english, const std::vector<TCandidate>& meanings,
                                       double penalty) {
  if (meanings.empty()) return;
  for (const TSynonym& verb : english) {
    if (verb.pastTense.empty() || verb.core.rfind("to ", 0) != 0) continue;
    const std::string infinitive = bareVerb(verb.core);  // "to buy sth. {bought; bought}"
    const std::optional<std::string> of = zek::utf8ToCp1252Strict(infinitive);
    if (!of || of->empty()) continue;
    std::vector<std::string> forms;
    for (const auto* list : {&verb.pastTense, &verb.pastParticiple})
      for (const std::string& f : *list)
        if (f != infinitive && std::find(forms.begin(), forms.end(), f) == forms.end()) forms.push_back(f);
    std::vector<TCandidate> own = meanings;
    for (TCandidate& c : own) c.penalty += static_cast<float>(penalty + 0.5);
    for (const std::string& form : forms) {
      const std::optional<std::string> word = zek::utf8ToCp1252Strict(form);
      if (!word || word->empty() || word->size() > kMaxWord) continue;
      const auto in = [&form](const std::vector<std::string>& list) {
        return std::find(list.begin(), list.end(), form) != list.end();
      };
      const bool past = in(verb.pastTense), participle = in(verb.pastParticiple);
      TEntry& e = add(0, *word, 2, own);
      // Several lines give the form ("to keep", "to keep on"): the note names the plainest verb.
      std::string note =
          std::string(past && participle ? "Past Tense und Past Participle" : past ? "Past Tense" : "Past Participle") +
          " von " + *of;
      if (e.note.empty() || note.size() < e.note.size()) e.note = std::move(note);
    }
  }
}

TDingConverter::TEntry& TDingConverter::add(int half, const std::string& word, int kind,
                                            const std::vector<TCandidate>& candidates) {
  THalf& h = m_halves[half];
  std::string key = word;
  key += '\0';
  key += static_cast<char>('0' + kind);
  auto [it, inserted] = h.index.try_emplace(std::move(key), h.entries.size());
  if (inserted) h.entries.push_back(TEntry{word, kind, {}, {}});
  else ++m_stats.merged;
  TEntry& e = h.entries[it->second];
  e.candidates.insert(e.candidates.end(), candidates.begin(), candidates.end());
  return e;
}

// Common words first: spoken-English counts for English meanings, the number of source
// lines that use the word for German ones. A
// meaning of several words is as common as its rarest word, and a little less.
double TDingConverter::frequencyPenalty(const TItem& item) const {
  const std::vector<std::string_view> words = tokens(item.core);
  if (words.empty()) return 3;
  double rarest = 1e9;
  for (std::string_view w : words) {
    double score;
    if (item.german) {
      const auto it = m_germanLines.find(std::string(w));
      const double n = it == m_germanLines.end() ? 0 : it->second;
      score = std::min(std::log10(1 + n), 3.5) / 3.5;
    } else {
      const auto it = m_english.find(lowerAscii(w));
      score = it == m_english.end() ? 0.0 : std::min(std::log10(1.0 + it->second), 5.5) / 5.5;
    }
    rarest = std::min(rarest, score);
  }
  // A single letter ("B" for a flat note) is common as a word of the source, not as a meaning.
  const double letter = item.core.size() == 1 ? 2.0 : 0.0;
  return 3.5 * (1 - rarest) + 0.4 * static_cast<double>(words.size() - 1) + letter;
}

std::string TDingConverter::meaningOf(const TEntry& e, const std::vector<float>& frequency, const TCoreLine* core,
                                      float* best) const {
  struct TRanked {
    double score;
    std::size_t order;
    std::uint32_t item;
    bool offensive;
  };
  std::vector<TRanked> ranked;
  ranked.reserve(e.candidates.size());
  // A headword's entries with core meanings come before those without; among them the
  // meanings' own standing decides, not the order of the core lines.
  double natural = 1e9;
  for (std::size_t k = 0; k < e.candidates.size(); ++k) {
    const TCandidate& c = e.candidates[k];
    const TItem& item = m_items[c.item];
    const bool offensive = c.offensive || item.offensiveWord;
    double score = c.penalty + frequency[c.item] + (offensive ? 1000.0 : 0.0);
    natural = std::min(natural, score);
    if (core && !offensive) {
      // A meaning may list several words ("unaufgeräumt; unordentlich"): its best one counts.
      std::size_t rank = core->keys.size();
      for (std::string_view part : splitTop(item.text, "; ")) {
        const auto at = std::find(core->keys.begin(), core->keys.end(), coreKey(part));
        rank = std::min(rank, static_cast<std::size_t>(at - core->keys.begin()));
      }
      if (rank < core->keys.size())
        score += kCoreMeaningRank + 1e5 * core->order + 1e3 * static_cast<double>(rank);
    }
    ranked.push_back({score, k, c.item, offensive});
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const TRanked& a, const TRanked& b) { return a.score < b.score; });
  std::string meaning;
  std::vector<std::string> keys;
  std::string labelled;
  for (const TRanked& r : ranked) {
    const std::string& text = m_items[r.item].text;
    // A meaning said twice ("etw. sagen", "[sb.] jdm. etw. sagen") shows once; one alone needs no key.
    if (ranked.size() > 1) {
      std::string key = bareKey(text);
      if (std::find(keys.begin(), keys.end(), key) != keys.end()) continue;
      keys.push_back(std::move(key));
    }
    const bool label = r.offensive && !marksOffence(text);
    if (label) labelled = withLabel(text, "abwertend");
    const std::string& shown = label ? labelled : text;
    if (!meaning.empty() && meaning.size() + 2 + shown.size() > kMaxMeaning) continue;
    if (!meaning.empty()) {
      meaning += "; ";
      meaning += shown;
    } else if (!e.note.empty()) {
      meaning = withComment(e.note, shown);
    } else {
      meaning = shown;
    }
  }
  if (best) *best = static_cast<float>(natural + (core ? kCoreEntryRank : 0.0));
  return meaning;
}

void TDingConverter::fill(TXDatabase& db) const {
  std::vector<float> frequency(m_items.size());
  auto frequencies = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) frequency[i] = static_cast<float>(frequencyPenalty(m_items[i]));
  };
  std::future<void> firstHalf = std::async(std::launch::async, frequencies, 0, m_items.size() / 2);
  frequencies(m_items.size() / 2, m_items.size());
  firstHalf.get();
  struct TOut {
    float best;
    std::size_t entry;
    std::string meaning;
  };
  // The meanings of the two halves are ranked side by side; the database takes them in turn.
  auto rank = [&](int half) {
    const std::vector<TEntry>& entries = m_halves[half].entries;
    std::deque<TCoreLine> merged;
    const std::vector<const TCoreLine*> core = coreLines(half, merged);
    std::vector<TOut> out(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      out[i].entry = i;
      out[i].meaning = meaningOf(entries[i], frequency, core[i], &out[i].best);
    }
    // Entries of one word (noun "tell", verb "tell") keep the order of their best meaning.
    std::stable_sort(out.begin(), out.end(), [](const TOut& a, const TOut& b) { return a.best < b.best; });
    return out;
  };
  std::future<std::vector<TOut>> english = std::async(std::launch::async, rank, 0);
  std::vector<std::vector<TOut>> ranked(2);
  ranked[1] = rank(1);
  ranked[0] = english.get();
  for (int half = 1; half >= 0; --half) {
    db.SetGermanEnglish(half == 1);
    const std::vector<TEntry>& entries = m_halves[half].entries;
    for (const TOut& o : ranked[half]) {
      if (o.meaning.empty()) continue;
      db.Append(entries[o.entry].word, std::to_string(entries[o.entry].kind), o.meaning);
    }
    ranked[half] = {};
    db.Sort();
    db.First();
  }
}
