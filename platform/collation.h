// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCollatorSortKey>
#include <string_view>

// The order of word lists (dictionary, recordings store): German collation without regard
// to case, as the word lists of the learner's system compare. All sorting and finding goes
// through here, so the order that Sort produces is the order FindWord relies on.
namespace zek {

// <0, 0 or >0.
int compareWords(std::string_view a, std::string_view b);
// A key whose compare() agrees with compareWords (for sorting many words).
QCollatorSortKey wordSortKey(std::string_view word);

}  // namespace zek
