// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

// How the dictionary writes a meaning, and the forms that lookups and checks compare.
// The dictionary adds a comment in front of a meaning ("[ugs.] Kumpel (m)") and the
// gender or plural behind a German noun; neither belongs to the word itself. Texts are
// Windows-1252.
namespace zek {

// "[ugs.] Straße (f)" → "Straße"; "house" stays "house".
std::string_view bareMeaning(std::string_view item);
// The meanings of "a (f); [ugs.] b" bare and joined again: "a; b".
std::string bareMeanings(std::string_view meanings);
// Lower case, accents and umlauts off, "ß" as "ss": "Straße" and "STRASSE" fold alike.
std::string foldWord(std::string_view word);
// The same into `out` (replaced), for loops over many words.
void foldWordInto(std::string_view word, std::string& out);
// foldWord of the bare headword.
inline std::string foldHeadword(std::string_view word) { return foldWord(bareMeaning(word)); }
// A meaning as checks compare it: without comments in square brackets (the dictionary's
// labels, a library's hints such as "Rat [Gremium]") and gender, folded, without a leading
// object or "to" ("etw. bekommen" is "bekommen").
std::string comparisonForm(std::string_view meaning);
// Edits (insert, delete, replace, swap two neighbours) that turn `a` into `b`; any
// number above `limit` reads as limit + 1.
int editDistance(std::string_view a, std::string_view b, int limit);

}  // namespace zek
