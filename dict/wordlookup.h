// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

class TXDatabase;
class TXWb;

namespace zek {

// Where a word the learner right-clicked on a page stands in the dictionary.
struct TWordLookup {
  int half = 0;        // 0 English-German, 1 German-English
  bool found = false;  // an entry with exactly this word (or its lower-case form) exists
  std::string word;    // the form to look up
};

// English first; a word only the German half holds (a German word of the page) is looked up
// there. Capitals at a sentence start are tried in lower case too. The database's current
// half is left as it was.
TWordLookup findWordForLookup(TXDatabase& db, std::string_view word);

// Shows the dictionary window's browse panel at the word, in the half that holds it.
void showWordInDictionary(TXWb& wb, std::string_view word);

}  // namespace zek
