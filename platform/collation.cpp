#include "platform/collation.h"

#include "platform/codec.h"

#include <QCollator>
#include <QLocale>

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

unsigned char foldAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }
bool isPlain(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == ' '; }

}  // namespace

int compareWords(std::string_view a, std::string_view b) {
  if (a == b) return 0;
  // Most pairs are decided without the collator. Equal bytes, and ASCII letters equal but
  // for case (a tertiary difference, ignored here), weigh the same in both words. At the
  // first other position, two plain characters (ASCII letters or blank) differ in their
  // primary weights, which outrank everything that follows: German collation has no
  // contractions or context rules among these characters. A word that runs on where the
  // other ends is greater when its rest is plain (every plain character weighs).
  const std::size_t n = std::min(a.size(), b.size());
  std::size_t i = 0;
  for (; i < n; ++i) {
    const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x == y) continue;
    if (!isPlain(x) || !isPlain(y)) break;
    if (foldAscii(x) != foldAscii(y)) return foldAscii(x) < foldAscii(y) ? -1 : 1;
  }
  if (i == n) {
    const std::string_view rest = a.size() > n ? a.substr(n) : b.substr(n);
    bool plain = true;
    for (const char c : rest) plain = plain && isPlain(static_cast<unsigned char>(c));
    if (plain) return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
  }
  const int r = collator().compare(toQString(a), toQString(b));
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

QCollatorSortKey wordSortKey(std::string_view word) { return collator().sortKey(toQString(word)); }

}  // namespace zek
