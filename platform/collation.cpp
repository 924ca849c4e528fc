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
  // Words of ASCII letters and blanks collate like their lower-case bytes (blanks first,
  // case only a tertiary difference), so most comparisons need no collator.
  const std::size_t n = std::min(a.size(), b.size());
  std::size_t i = 0;
  for (; i < n; ++i) {
    const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (!isPlain(x) || !isPlain(y)) break;
    if (foldAscii(x) != foldAscii(y)) {
      // The first difference decides only if the rest of both words is plain too.
      bool plain = true;
      for (std::size_t k = i; k < a.size() && plain; ++k) plain = isPlain(static_cast<unsigned char>(a[k]));
      for (std::size_t k = i; k < b.size() && plain; ++k) plain = isPlain(static_cast<unsigned char>(b[k]));
      if (!plain) break;
      return foldAscii(x) < foldAscii(y) ? -1 : 1;
    }
  }
  if (i == n) {
    bool plain = true;
    for (std::size_t k = n; k < a.size() && plain; ++k) plain = isPlain(static_cast<unsigned char>(a[k]));
    for (std::size_t k = n; k < b.size() && plain; ++k) plain = isPlain(static_cast<unsigned char>(b[k]));
    if (plain) return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
  }
  const int r = collator().compare(toQString(a), toQString(b));
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

QCollatorSortKey wordSortKey(std::string_view word) { return collator().sortKey(toQString(word)); }

}  // namespace zek
