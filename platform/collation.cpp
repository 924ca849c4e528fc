// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/collation.h"

#include "platform/codec.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace zek {
namespace {

// One collator per thread: start-up reads the two halves on two threads.
const QCollator& collator() {
  thread_local const QCollator instance = [] {
    QCollator c(QLocale(QLocale::German, QLocale::Germany));
    c.setCaseSensitivity(Qt::CaseInsensitive);
    c.setNumericMode(false);
    c.setIgnorePunctuation(false);
    return c;
  }();
  return instance;
}

// The fast path's characters (Windows-1252 bytes): the printable ASCII characters, and
// the letters that decompose into an ASCII letter and one accent. Each has one primary
// weight and German collation has no contractions among them, so the first position
// whose weights differ decides. The weights' order is taken from the collator itself
// (blank, punctuation and symbols in their own order, digits, letters); an accented
// letter weighs as its base letter. 0 = leave the word to the collator.
struct TWeights {
  unsigned char primary[256] = {};
  unsigned char accent[256] = {};  // which mark the letter carries; 0 for none

  TWeights() {
    std::vector<char> chars;
    for (int c = ' '; c <= '~'; ++c)
      if (!(c >= 'A' && c <= 'Z')) chars.push_back(static_cast<char>(c));
    const QCollator& order = collator();
    auto single = [](char c) { return QString(QChar::fromLatin1(c)); };
    std::stable_sort(chars.begin(), chars.end(),
                     [&](char x, char y) { return order.compare(single(x), single(y)) < 0; });
    unsigned char rank = 0;
    for (std::size_t i = 0; i < chars.size(); ++i) {
      // Two characters the collator cannot tell apart stay with it.
      const bool tied = (i > 0 && order.compare(single(chars[i - 1]), single(chars[i])) == 0) ||
                        (i + 1 < chars.size() && order.compare(single(chars[i]), single(chars[i + 1])) == 0);
      const auto c = static_cast<unsigned char>(chars[i]);
      primary[c] = tied ? 0 : ++rank;
    }
    for (int c = 'A'; c <= 'Z'; ++c) primary[c] = primary[c + 32];
    // Base letter and mark of each accented letter, lower and upper case.
    struct TAccented {
      unsigned char lower, upper;
      char base, mark;
    };
    constexpr TAccented accented[] = {
        {0xE0, 0xC0, 'a', 1}, {0xE1, 0xC1, 'a', 2}, {0xE2, 0xC2, 'a', 3}, {0xE3, 0xC3, 'a', 4}, {0xE4, 0xC4, 'a', 5},
        {0xE5, 0xC5, 'a', 6}, {0xE7, 0xC7, 'c', 7}, {0xE8, 0xC8, 'e', 1}, {0xE9, 0xC9, 'e', 2}, {0xEA, 0xCA, 'e', 3},
        {0xEB, 0xCB, 'e', 5}, {0xEC, 0xCC, 'i', 1}, {0xED, 0xCD, 'i', 2}, {0xEE, 0xCE, 'i', 3}, {0xEF, 0xCF, 'i', 5},
        {0xF1, 0xD1, 'n', 4}, {0xF2, 0xD2, 'o', 1}, {0xF3, 0xD3, 'o', 2}, {0xF4, 0xD4, 'o', 3}, {0xF5, 0xD5, 'o', 4},
        {0xF6, 0xD6, 'o', 5}, {0xF9, 0xD9, 'u', 1}, {0xFA, 0xDA, 'u', 2}, {0xFB, 0xDB, 'u', 3}, {0xFC, 0xDC, 'u', 5},
        {0xFD, 0xDD, 'y', 2}, {0xFF, 0x9F, 'y', 5}, {0x9A, 0x8A, 's', 8}, {0x9E, 0x8E, 'z', 8},
    };
    for (const TAccented& a : accented) {
      primary[a.lower] = primary[a.upper] = primary[static_cast<unsigned char>(a.base)];
      accent[a.lower] = accent[a.upper] = static_cast<unsigned char>(a.mark);
    }
  }
};

const TWeights& weights() {
  static const TWeights table;
  return table;
}

}  // namespace

int compareWords(std::string_view a, std::string_view b) {
  if (a == b) return 0;
  // Most pairs are decided without the collator. Equal bytes weigh the same in both words,
  // and so do letters equal but for case (a tertiary difference, ignored here). At the
  // first position whose primary weights differ, that difference outranks everything
  // else; an accent difference before it (secondary) counts only when no primary one
  // follows. A word that runs on where the other ends is greater when every character of
  // its rest has a primary weight.
  const TWeights& w = weights();
  const std::size_t n = std::min(a.size(), b.size());
  bool accents = false;
  std::size_t i = 0;
  // Neighbouring words of a sorted list share long beginnings: skip the equal bytes eight
  // at a time (they change nothing below).
  if constexpr (std::endian::native == std::endian::little) {
    for (; i + 8 <= n; i += 8) {
      std::uint64_t x, y;
      std::memcpy(&x, a.data() + i, 8);
      std::memcpy(&y, b.data() + i, 8);
      if (x != y) {
        i += static_cast<std::size_t>(std::countr_zero(x ^ y)) / 8;
        break;
      }
    }
  }
  for (; i < n; ++i) {
    const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x == y) continue;
    const unsigned char px = w.primary[x], py = w.primary[y];
    if (!px || !py) break;
    if (px != py) return px < py ? -1 : 1;
    accents = accents || w.accent[x] != w.accent[y];
  }
  if (i == n) {
    const std::string_view rest = a.size() > n ? a.substr(n) : b.substr(n);
    bool weighs = true;
    for (const char c : rest) weighs = weighs && w.primary[static_cast<unsigned char>(c)] != 0;
    if (weighs && a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    if (weighs && !accents) return 0;
  }
  const int r = collator().compare(toQString(a), toQString(b));
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

QCollatorSortKey wordSortKey(std::string_view word) { return collator().sortKey(toQString(word)); }

}  // namespace zek
