#include "dict/dingconvert.h"

#include "dict/database.h"
#include "platform/codec.h"

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

struct TSynonym {
  std::string core;  // UTF-8, without markers and comments
  std::vector<std::string> comments;
  int kind = 0;        // 0: no word-class marker
  std::string gender;  // nouns: "m", "f", "n", "pl", "mf", ...
};

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
        }
      } else if (c != '<') {
        std::string comment = commentText(inner);
        if (!comment.empty()) syn.comments.push_back(std::move(comment));
      }
      i = end;
      core += ' ';
    } else {
      core += c;
    }
  }
  syn.core = collapseSpaces(core);
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

}  // namespace

void TDingConverter::addText(std::string_view utf8) {
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    std::size_t end = utf8.find('\n', pos);
    if (end == std::string_view::npos) end = utf8.size();
    addLine(utf8.substr(pos, end - pos));
    pos = end + 1;
  }
}

void TDingConverter::addLine(std::string_view line) {
  line = trim(line);
  if (line.empty() || line.front() == '#') return;
  ++m_stats.lines;
  const std::size_t sep = line.find(" :: ");
  if (sep == std::string_view::npos) {
    ++m_stats.skippedLines;
    return;
  }
  const std::vector<std::string_view> german = splitTop(line.substr(0, sep), " | ");
  const std::vector<std::string_view> english = splitTop(line.substr(sep + 4), " | ");
  if (german.size() != english.size()) {
    ++m_stats.skippedLines;
    return;
  }
  int lineKind = 0;
  bool lineIsPlural = false;
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
    // Plural forms after a singular noun ("Aalbestand {m} | Aalbestände {pl}") only repeat it.
    bool plurals = k > 0 && lineKind == 1 && !lineIsPlural;
    for (const TSynonym& s : de) plurals = plurals && s.gender == "pl";
    if (plurals) {
      ++m_stats.pluralForms;
      continue;
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
    }

    auto items = [this](const std::vector<TSynonym>& syns) {
      std::vector<std::string> out;
      for (const TSynonym& s : syns) {
        const std::string text = meaningItem(s);
        if (trim(text).empty()) continue;
        if (std::optional<std::string> item = zek::utf8ToCp1252Strict(text)) out.push_back(std::move(*item));
        else ++m_stats.droppedMeanings;
      }
      return out;
    };
    const std::vector<std::string> germanItems = items(de);
    const std::vector<std::string> englishItems = items(en);

    auto addAll = [this](int half, const std::vector<TSynonym>& heads, int subKind,
                         const std::vector<std::string>& meanings) {
      if (meanings.empty()) return;
      for (const TSynonym& head : heads) {
        const int kind = head.kind ? head.kind : subKind;
        std::string word = head.core;
        if (half == 0 && kind == 2 && word.rfind("to ", 0) == 0 && word.size() > 3) word.erase(0, 3);
        if (!head.gender.empty()) word += " (" + head.gender + ")";
        const std::optional<std::string> w = zek::utf8ToCp1252Strict(word);
        if (!w || w->size() > kMaxWord) {
          ++m_stats.skippedWords;
          continue;
        }
        if (head.comments.empty()) {
          add(half, *w, kind, meanings);
        } else if (std::optional<std::string> c = zek::utf8ToCp1252Strict("[" + joinComments(head.comments) + "] ")) {
          std::vector<std::string> withComment = meanings;
          withComment.front() = *c + withComment.front();
          add(half, *w, kind, withComment);
        } else {
          add(half, *w, kind, meanings);
        }
      }
    };
    addAll(0, en, subKind, germanItems);
    addAll(1, de, subKind, englishItems);
  }
}

void TDingConverter::add(int half, const std::string& word, int kind, const std::vector<std::string>& items) {
  THalf& h = m_halves[half];
  std::string key = word;
  key += '\0';
  key += static_cast<char>('0' + kind);
  auto [it, inserted] = h.index.try_emplace(std::move(key), h.entries.size());
  if (inserted) h.entries.push_back(TEntry{word, kind, {}, {}});
  else ++m_stats.merged;
  TEntry& e = h.entries[it->second];
  for (const std::string& item : items) {
    bool known = false;
    for (const std::string& have : e.items) known = known || have == item;
    if (known) continue;
    if (!e.meaning.empty() && e.meaning.size() + 2 + item.size() > kMaxMeaning) {
      ++m_stats.droppedMeanings;
      continue;
    }
    if (!e.meaning.empty()) e.meaning += "; ";
    e.meaning += item;
    e.items.push_back(item);
  }
}

void TDingConverter::fill(TXDatabase& db) const {
  for (int half = 1; half >= 0; --half) {
    db.SetGermanEnglish(half == 1);
    for (const TEntry& e : m_halves[half].entries) db.Append(e.word, std::to_string(e.kind), e.meaning);
    db.Sort();
    db.First();
  }
}
