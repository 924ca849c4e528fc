#include "lab/hinweismuster.h"

#include <random>

namespace {
bool staysVisible(char c) {
  switch (c) {
    case ' ': case '-': case ',': case '.': case '!': case '?': case '\'':
      return true;
    default:
      return false;
  }
}
}  // namespace

std::string hinweisMuster(std::string_view satz, const std::function<int()>& drawZeroToFour) {
  const std::size_t len = satz.size();
  if (len <= 2) return std::string(len, '_');
  std::string muster(satz);
  // Positions count from 1; the last one is a candidate only in three-character texts.
  const std::size_t lastCandidate = len == 3 ? 3 : len - 1;
  for (std::size_t pos = 2; pos <= lastCandidate; ++pos) {
    char& c = muster[pos - 1];
    if (staysVisible(c)) continue;
    if (pos <= 4 || drawZeroToFour() != 3) c = '_';
  }
  return muster;
}

std::string hinweisMuster(std::string_view satz) {
  static std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<int> zeroToFour(0, 4);
  return hinweisMuster(satz, [&] { return zeroToFour(generator); });
}
