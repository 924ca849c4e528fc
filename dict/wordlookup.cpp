// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/wordlookup.h"

#include "dict/collation.h"
#include "dict/database.h"
#include "dict/txwb.h"
#include "platform/codec.h"

#include <vector>

namespace zek {

namespace {

bool holds(const TXDatabase& db, std::string_view word) {
  const int i = db.FindWord(word, -1);
  return i >= 0 && compareWords(db.WordView(i), word) == 0;
}

}  // namespace

TWordLookup findWordForLookup(TXDatabase& db, std::string_view word) {
  TWordLookup result;
  result.word = std::string(word);
  if (word.empty()) return result;
  std::vector<std::string> forms{std::string(word)};
  std::string first = forms.front();
  first[0] = char(lowerCp1252(static_cast<unsigned char>(first[0])));
  if (first != forms.front()) forms.push_back(first);
  const std::string lower = lowerCase(word);
  if (lower != forms.back() && lower != forms.front()) forms.push_back(lower);

  const int before = db.Half();
  for (const int half : {0, 1}) {
    if (db.Half() != half) db.SetGermanEnglish(half == 1);
    for (const std::string& form : forms) {
      if (!holds(db, form)) continue;
      result.half = half;
      result.found = true;
      result.word = form;
      if (db.Half() != before) db.SetGermanEnglish(before == 1);
      return result;
    }
  }
  if (db.Half() != before) db.SetGermanEnglish(before == 1);
  return result;
}

void showWordInDictionary(TXWb& wb, std::string_view word) {
  const TWordLookup where = findWordForLookup(wb.database(), word);
  wb.ShowWord(where.word, where.half);
}

}  // namespace zek
