// SPDX-License-Identifier: GPL-3.0-or-later
// One headword as the dictionary window's browse shows it: every entry of the word (case,
// accents, "ß" and a noun's gender folded), its kind and its meanings in their order.
#include "tools/zek-tool/command.h"

#include "dict/database.h"
#include "platform/codec.h"

#include <charconv>
#include <iostream>
#include <stdexcept>

namespace {

constexpr const char* kLookupUsage = "lookup WORD [--de] [--max N] [--dict DIR]";

int lookup(const std::vector<std::string>& args) {
  std::string word, dict;
  bool german = false;
  int max = -1;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--de") {
      german = true;
    } else if (a == "--max" && i + 1 < args.size()) {
      const std::string& v = args[++i];
      const auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), max);
      if (ec != std::errc() || p != v.data() + v.size() || max < 1)
        throw std::runtime_error("--max must be a number from 1 on, not \"" + v + "\"");
    } else if (a == "--dict" && i + 1 < args.size()) {
      dict = args[++i];
    } else if (word.empty() && !a.empty() && a[0] != '-') {
      word = a;
    } else {
      std::cerr << "usage: zek-tool " << kLookupUsage << "\n";
      return 2;
    }
  }
  if (word.empty()) {
    std::cerr << "usage: zek-tool " << kLookupUsage << "\n";
    return 2;
  }
  const std::optional<std::string> w = zek::utf8ToCp1252Strict(word);
  if (!w) throw std::runtime_error("\"" + word + "\" has characters the dictionary cannot hold");
  TXDatabase db;
  woerterbuchLaden(db, dict);
  const int half = german ? 1 : 0;
  db.SetGermanEnglish(german);
  const std::vector<int> entries = db.EntriesOf(half, *w);
  if (entries.empty()) {
    const std::vector<std::string> nearest = db.Suggestions(half, *w, 5);
    std::string line;
    for (const std::string& s : nearest) line += (line.empty() ? "" : ", ") + s;
    printText(line.empty() ? zek::utf8ToCp1252("Keine Einträge gefunden.") : "Meinten Sie " + line + "?");
    std::cout << "\n";
    return 1;
  }
  for (const int i : entries) {
    std::string meaning(db.MeaningView(i));
    if (max > 0) {
      // The first N meanings: parts at "; " outside square brackets.
      int parts = 1, depth = 0;
      for (std::size_t k = 0; k < meaning.size(); ++k) {
        if (meaning[k] == '[') ++depth;
        else if (meaning[k] == ']' && depth > 0) --depth;
        else if (meaning[k] == ';' && depth == 0 && ++parts > max) {
          meaning.resize(k);
          break;
        }
      }
    }
    printText(std::string(db.WordView(i)));
    std::cout << "\t" << db.GetKind(i) << "\t";
    printText(meaning);
    std::cout << "\n";
  }
  return 0;
}

TToolCommandRegistrar lookupReg({"lookup", kLookupUsage,
                                 "the entries of WORD in the English-German half (--de: German-English) as the "
                                 "dictionary's browse shows them: headword, kind, meanings (--max: the first N); "
                                 "exit code 1 and the nearest headwords when there is none",
                                 lookup});

}  // namespace
