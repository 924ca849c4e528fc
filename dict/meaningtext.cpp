// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/meaningtext.h"

#include <algorithm>
#include <array>
#include <vector>

namespace zek {
namespace {

bool isAnnotation(std::string_view inner) {
  if (inner.empty() || inner.size() > 3) return false;
  return std::all_of(inner.begin(), inner.end(), [](char c) { return c == 'm' || c == 'f' || c == 'n' || c == 'p' || c == 'l'; });
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// Windows-1252 letter → its folded spelling (empty: the byte itself, lower-cased).
const std::array<std::string, 256>& foldTable() {
  static const std::array<std::string, 256> table = [] {
    std::array<std::string, 256> t;
    for (int c = 'A'; c <= 'Z'; ++c) t[c] = std::string(1, static_cast<char>(c + 32));
    auto set = [&t](std::initializer_list<int> codes, const char* to) {
      for (int c : codes) t[c] = to;
    };
    set({0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5}, "a");
    set({0xC6, 0xE6}, "ae");
    set({0xC7, 0xE7}, "c");
    set({0xC8, 0xC9, 0xCA, 0xCB, 0xE8, 0xE9, 0xEA, 0xEB}, "e");
    set({0xCC, 0xCD, 0xCE, 0xCF, 0xEC, 0xED, 0xEE, 0xEF}, "i");
    set({0xD1, 0xF1}, "n");
    set({0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD8, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF8}, "o");
    set({0xD9, 0xDA, 0xDB, 0xDC, 0xF9, 0xFA, 0xFB, 0xFC}, "u");
    set({0xDD, 0xFD, 0xFF, 0x9F}, "y");
    set({0xDF}, "ss");
    set({0x8C, 0x9C}, "oe");
    set({0x8A, 0x9A}, "s");
    set({0x8E, 0x9E}, "z");
    set({0x92, 0x91}, "'");
    return t;
  }();
  return table;
}

}  // namespace

std::string_view bareMeaning(std::string_view item) {
  item = trimmed(item);
  while (!item.empty() && item.front() == '[') {
    const std::size_t close = item.find(']');
    if (close == std::string_view::npos) break;
    item = trimmed(item.substr(close + 1));
  }
  if (item.size() > 3 && item.back() == ')') {
    const std::size_t open = item.rfind(" (");
    if (open != std::string_view::npos && isAnnotation(item.substr(open + 2, item.size() - open - 3)))
      item = trimmed(item.substr(0, open));
  }
  return item;
}

std::string bareMeanings(std::string_view meanings) {
  std::string out;
  std::size_t pos = 0;
  while (pos <= meanings.size()) {
    std::size_t end = meanings.find(';', pos);
    if (end == std::string_view::npos) end = meanings.size();
    const std::string_view part = bareMeaning(meanings.substr(pos, end - pos));
    if (!part.empty()) {
      if (!out.empty()) out += "; ";
      out += part;
    }
    pos = end + 1;
  }
  return out;
}

void foldWordInto(std::string_view word, std::string& out) {
  const auto& table = foldTable();
  out.clear();
  for (const char ch : word) {
    const auto c = static_cast<unsigned char>(ch);
    if (table[c].empty()) out += ch;
    else out += table[c];
  }
}

std::string foldWord(std::string_view word) {
  std::string out;
  out.reserve(word.size() + 2);
  foldWordInto(word, out);
  return out;
}

int editDistance(std::string_view a, std::string_view b, int limit) {
  const int n = static_cast<int>(a.size()), m = static_cast<int>(b.size());
  if (std::abs(n - m) > limit) return limit + 1;
  // Three rows of the table: the swap of two neighbours looks two rows back.
  std::vector<int> back(m + 1), prev(m + 1), cur(m + 1);
  for (int j = 0; j <= m; ++j) prev[j] = j;
  for (int i = 1; i <= n; ++i) {
    cur[0] = i;
    int rowBest = cur[0];
    for (int j = 1; j <= m; ++j) {
      const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
      int d = std::min({prev[j] + 1, cur[j - 1] + 1, prev[j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) d = std::min(d, back[j - 2] + 1);
      cur[j] = d;
      rowBest = std::min(rowBest, d);
    }
    if (rowBest > limit) return limit + 1;
    std::swap(back, prev);
    std::swap(prev, cur);
  }
  return std::min(prev[m], limit + 1);
}

std::string comparisonForm(std::string_view meaning) {
  std::string plain;
  int depth = 0;
  for (char c : meaning) {
    if (c == '[') ++depth;
    else if (c == ']' && depth > 0) --depth;
    else if (depth == 0) plain += c;
  }
  std::string f = foldWord(bareMeaning(plain));
  while (!f.empty() && f.front() == ' ') f.erase(0, 1);
  while (!f.empty() && f.back() == ' ') f.pop_back();
  for (bool again = true; again;) {
    again = false;
    for (const char* object : {"etw. ", "jdn. ", "jdm. ", "jds. ", "jdn./etw. ", "to "}) {
      if (f.rfind(object, 0) == 0) {
        f.erase(0, std::char_traits<char>::length(object));
        again = true;
      }
    }
  }
  return f;
}

}  // namespace zek
