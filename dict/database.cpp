// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/database.h"

#include "dict/meaningtext.h"
#include "platform/collation.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <future>
#include <numeric>
#include <span>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <libdeflate.h>

namespace {

// Message texts are written in UTF-8 here and shown as Windows-1252.
std::string T(std::string_view utf8) { return zek::utf8ToCp1252(utf8); }

bool isTrimmed(unsigned char c) { return c <= ' '; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isTrimmed(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && isTrimmed(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

int kindOfDigit(char c) { return (c >= '1' && c <= '6') ? c - '0' : 1; }

// Lines of a text file; CR LF and LF both end a line, a last line without an end counts.
std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    pos = end + 1;
  }
  return lines;
}

// The part of a name before the first "." of its file part.
std::size_t firstDotInFilePart(const std::string& name) {
  const std::size_t slash = name.find_last_of("/\\");
  const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = name.find('.', start);
  return dot == std::string::npos ? name.size() : dot;
}

bool isWordStartBoundary(char c) { return std::strchr(" '(-/[", c) != nullptr && c != '\0'; }
bool isWordEndBoundary(char c) { return std::strchr(" !),-./?]", c) != nullptr && c != '\0'; }

}  // namespace

TXDatabase::TXDatabase() : m_random(std::random_device{}()) {}

// ---- half and direction ----

void TXDatabase::SetGermanEnglish(bool germanEnglish) {
  const int half = germanEnglish ? 1 : 0;
  if (half != m_half) {
    m_half = half;
    if (h().current > Count()) h().current = 0;
    m_hits.clear();
    m_hitPos = 0;
  }
  changed();
}

std::string TXDatabase::DirectionName(int half) { return half == 1 ? "Deutsch-Englisch" : "Englisch-Deutsch"; }
std::string TXDatabase::DirectionShortName() const { return m_half == 1 ? "Deutsch-E" : "Englisch-D"; }

std::string TXDatabase::KindName(int kind) {
  static const char* const names[] = {"Nomen", "Verb", "Adjektiv", "Kleines Wort", "Rw. mit Verb", "Rw. ohne Verb"};
  return names[(kind >= 1 && kind <= 6 ? kind : 1) - 1];
}

std::string TXDatabase::KindShortName(int kind) {
  static const char* const names[] = {"Nomen", "Verb", "Adjektiv", "Kl. Wort", "Rw. m. V.", "Rw. o. V."};
  return names[(kind >= 1 && kind <= 6 ? kind : 1) - 1];
}

int TXDatabase::ParseKind(std::string_view text) {
  text = trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return 1;
  return value >= 1 && value <= 6 ? value : 1;
}

// ---- entry access ----

int TXDatabase::resolve(int index) const {
  const int cur = h().current;
  if (index == -1) index = cur;
  else if (index == -2) index = cur - 1;
  else if (index == -3) index = cur + 1;
  return index >= 0 && index < Count() ? index : -1;
}

std::string_view TXDatabase::WordView(int index) const {
  const int i = resolve(index);
  return i < 0 ? std::string_view() : word(h(), h().entries[i]);
}

std::string_view TXDatabase::MeaningView(int index) const {
  const int i = resolve(index);
  return i < 0 ? std::string_view() : meaning(h(), h().entries[i]);
}

std::string TXDatabase::GetWord(int index) const { return std::string(WordView(index)); }
std::string TXDatabase::GetMeaning(int index) const { return std::string(MeaningView(index)); }

int TXDatabase::GetKind(int index) const {
  const int i = resolve(index);
  return i < 0 ? 1 : h().entries[i].kind;
}

std::uint32_t TXDatabase::store(THalf& half, std::string_view text) {
  const auto pos = static_cast<std::uint32_t>(half.arena.size());
  half.arena.append(text);
  return pos;
}

void TXDatabase::compactIfWasteful(THalf& half) {
  if (half.garbage < (1u << 20) || half.garbage * 2 < half.arena.size()) return;
  TTextArena arena;
  arena.reserve(half.arena.size() - half.garbage);
  for (TEntry& e : half.entries) {
    const auto w = static_cast<std::uint32_t>(arena.size());
    arena.append(word(half, e));
    const auto m = static_cast<std::uint32_t>(arena.size());
    arena.append(meaning(half, e));
    e.wordPos = w;
    e.meaningPos = m;
  }
  half.arena = std::move(arena);
  half.garbage = 0;
}

// A changed word keeps a sorted half sorted only when it still fits between its neighbours.
void TXDatabase::noteWordChanged(int i) {
  THalf& half = h();
  if (half.sorted != 1) {
    half.sorted = -1;
    return;
  }
  const std::string_view w = word(half, half.entries[i]);
  const auto vergleich = [&](int k) { return zek::compareWords(word(half, half.entries[k]), w); };
  const int n = Count();
  const bool hoch = i > 0 && vergleich(i - 1) > 0;
  if (!hoch && (i + 1 >= n || vergleich(i + 1) >= 0)) return;
  // The entry moves to its place: a sorted half stays sorted, so that look-ups (browsing,
  // the editor's) keep finding every word, the new or renamed one included.
  int lo = hoch ? 0 : i + 1, hi = hoch ? i : n;  // the first index in [lo, hi) whose word is above w
  while (lo < hi) {
    const int mitte = lo + (hi - lo) / 2;
    if (vergleich(mitte) <= 0) lo = mitte + 1;
    else hi = mitte;
  }
  const int ziel = hoch ? lo : lo - 1;
  auto& e = half.entries;
  if (hoch) std::rotate(e.begin() + ziel, e.begin() + i, e.begin() + i + 1);
  else std::rotate(e.begin() + i, e.begin() + i + 1, e.begin() + ziel + 1);
  const auto neu = [&](int k) {
    if (k == i) return ziel;
    if (hoch && k >= ziel && k < i) return k + 1;
    if (!hoch && k > i && k <= ziel) return k - 1;
    return k;
  };
  half.current = neu(half.current);
  for (int& hit : m_hits) hit = neu(hit);
}

void TXDatabase::SetWord(int index, std::string_view text) {
  const int i = resolve(index);
  if (i < 0) return;
  IsSorted();  // the order as it was before this word changes
  text = trimmed(text);  // stored as every loader stores it
  THalf& half = h();
  TEntry& e = half.entries[i];
  half.garbage += e.wordLen;
  e.wordPos = store(half, text);
  e.wordLen = static_cast<std::uint32_t>(text.size());
  noteWordChanged(i);
  compactIfWasteful(half);
  markModified();
  changed();
}

void TXDatabase::SetMeaning(int index, std::string_view text) {
  const int i = resolve(index);
  if (i < 0) return;
  text = trimmed(text);  // stored as every loader stores it
  THalf& half = h();
  TEntry& e = half.entries[i];
  half.garbage += e.meaningLen;
  e.meaningPos = store(half, text);
  e.meaningLen = static_cast<std::uint32_t>(text.size());
  compactIfWasteful(half);
  markModified();
  changed();
}

void TXDatabase::SetKind(int index, int kind) {
  const int i = resolve(index);
  if (i < 0) return;
  h().entries[i].kind = static_cast<std::uint8_t>(kind >= 1 && kind <= 6 ? kind : 1);
  markModified();
  changed();
}

void TXDatabase::changed() {
  if (OnChange) OnChange(*this);
}

// ---- cursor ----

void TXDatabase::First() {
  h().current = 0;
  changed();
}

void TXDatabase::Last() {
  h().current = std::max(Count() - 1, 0);
  changed();
}

void TXDatabase::Next() {
  if (h().current < Count() - 1) {
    ++h().current;
    changed();
  }
}

void TXDatabase::Prior() {
  if (h().current > 0) {
    --h().current;
    changed();
  }
}

void TXDatabase::GotoRandom(bool any) {
  const int n = Count();
  if (n == 0) {
    h().current = 0;
    changed();
    return;
  }
  std::uniform_int_distribution<int> draw(0, n - 1);
  int i = draw(m_random);
  if (!any) {
    // Redrawing is fair; after many idioms in a row, take the next non-idiom from the
    // drawn place so that a half of nothing but idioms still ends (on an idiom).
    for (int tries = 0; tries < 64 && h().entries[i].kind > 4; ++tries) i = draw(m_random);
    for (int step = 0; step < n && h().entries[i].kind > 4; ++step) i = (i + 1) % n;
  }
  h().current = i;
  changed();
}

bool TXDatabase::IsComplete() const {
  if (!WordView(-1).empty() && !MeaningView(-1).empty()) return true;
  showMessage(T("Der aktuelle Eintrag ist nicht vollständig!"));
  return false;
}

// ---- editing ----

void TXDatabase::InsertEmpty() {
  THalf& half = h();
  const int at = std::clamp(half.current, 0, Count());
  TEntry e;
  e.wordPos = e.meaningPos = static_cast<std::uint32_t>(half.arena.size());
  half.entries.insert(half.entries.begin() + at, e);
  half.current = at;
  for (int& hit : m_hits)
    if (hit >= at) ++hit;
  // The empty word is left where it was inserted: the half still counts as sorted, and the
  // word typed into it moves the entry to its place (noteWordChanged).
  markModified();
  changed();
}

void TXDatabase::DeleteCurrent() {
  THalf& half = h();
  const int at = half.current;
  if (at < 0 || at >= Count()) return;
  half.garbage += half.entries[at].wordLen + half.entries[at].meaningLen;
  half.entries.erase(half.entries.begin() + at);
  if (half.current == Count() && half.current > 0) --half.current;
  std::vector<int> hits;
  for (int hit : m_hits)
    if (hit != at) hits.push_back(hit > at ? hit - 1 : hit);
  m_hits = std::move(hits);
  m_hitPos = std::min(m_hitPos, std::max(static_cast<int>(m_hits.size()) - 1, 0));
  compactIfWasteful(half);
  markModified();
  changed();
}

void TXDatabase::Clear() {
  THalf& half = h();
  half.entries.clear();
  half.entries.shrink_to_fit();
  half.arena.clear();
  half.garbage = 0;
  half.current = 0;
  half.sorted = 1;
  m_hits.clear();
  m_hitPos = 0;
  markModified();
  changed();
}

void TXDatabase::Append(std::string_view w, std::string_view kindText, std::string_view m) {
  THalf& half = h();
  w = trimmed(w);
  m = trimmed(m);
  TEntry e;
  e.wordPos = store(half, w);
  e.wordLen = static_cast<std::uint32_t>(w.size());
  e.meaningPos = store(half, m);
  e.meaningLen = static_cast<std::uint32_t>(m.size());
  e.kind = static_cast<std::uint8_t>(ParseKind(kindText));
  half.entries.push_back(e);
  if (half.sorted == 1 && Count() > 1 && zek::compareWords(word(half, half.entries[Count() - 2]), w) > 0)
    half.sorted = 0;
  markModified();
}

void TXDatabase::remapHits(const std::vector<int>& newIndex) {
  std::vector<int> hits;
  int pos = 0;
  for (std::size_t k = 0; k < m_hits.size(); ++k) {
    const int old = m_hits[k];
    if (old < 0 || old >= static_cast<int>(newIndex.size()) || newIndex[old] < 0) continue;
    if (static_cast<int>(k) == m_hitPos) pos = static_cast<int>(hits.size());
    hits.push_back(newIndex[old]);
  }
  m_hits = std::move(hits);
  m_hitPos = pos;
}

void TXDatabase::Sort() {
  THalf& half = h();
  const int n = Count();
  if (n < 2) return;
  // One collation key per entry, then a sort of indices: far fewer collator calls than
  // comparing the words themselves. Equal words keep their order.
  std::vector<QCollatorSortKey> keys;
  keys.reserve(n);
  for (const TEntry& e : half.entries) keys.push_back(zek::wordSortKey(word(half, e)));
  std::vector<int> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a].compare(keys[b]) < 0; });
  std::vector<TEntry> sorted(n);
  std::vector<int> newIndex(n);
  for (int k = 0; k < n; ++k) {
    sorted[k] = half.entries[order[k]];
    newIndex[order[k]] = k;
  }
  half.entries = std::move(sorted);
  // The cursor stays on its entry.
  if (half.current >= 0 && half.current < n) half.current = newIndex[half.current];
  remapHits(newIndex);
  half.sorted = 1;
  markModified();
  changed();
}

bool TXDatabase::IsSorted() const { return isSorted(h()); }

void TXDatabase::LearnOrder() const {
  isSorted(m_halves[0]);
  isSorted(m_halves[1]);
}

bool TXDatabase::isSorted(const THalf& half) const {
  if (half.sorted < 0) {
    half.sorted = 1;
    for (std::size_t i = 1; i < half.entries.size(); ++i) {
      if (zek::compareWords(word(half, half.entries[i - 1]), word(half, half.entries[i])) > 0) {
        half.sorted = 0;
        break;
      }
    }
  }
  return half.sorted == 1;
}

std::size_t TXDatabase::MemoryUsed() const {
  std::size_t bytes = sizeof(*this);
  for (const THalf& half : m_halves)
    bytes += half.arena.capacity() + half.entries.capacity() * sizeof(TEntry) + half.fileName.capacity();
  return bytes + m_hits.capacity() * sizeof(int);
}

void TXDatabase::RemoveDuplicates() {
  THalf& half = h();
  const int n = Count();
  if (n <= 1) return;
  // One pass that keeps what the pairwise walk would keep: each entry is compared with
  // the last one kept, which is its predecessor once the duplicates are gone.
  std::vector<TEntry> kept;
  kept.reserve(n);
  kept.push_back(half.entries[0]);
  std::vector<int> newIndex(n, -1);
  newIndex[0] = 0;
  int stopAt = -1;
  int i = 1;
  for (; i < n; ++i) {
    const TEntry& prev = kept.back();
    const TEntry& cur = half.entries[i];
    if (prev.kind == cur.kind && word(half, prev) == word(half, cur)) {
      if (meaning(half, prev) == meaning(half, cur)) {
        half.garbage += cur.wordLen + cur.meaningLen;
        continue;
      }
      stopAt = static_cast<int>(kept.size());
      break;
    }
    newIndex[i] = static_cast<int>(kept.size());
    kept.push_back(cur);
  }
  for (; i < n; ++i) {
    newIndex[i] = static_cast<int>(kept.size());
    kept.push_back(half.entries[i]);
  }
  const int removed = n - static_cast<int>(kept.size());
  if (removed > 0) {
    // A removed cursor entry moves to the copy that stays (the one before it).
    int cur = half.current;
    if (cur >= 0 && cur < n) {
      while (cur > 0 && newIndex[cur] < 0) --cur;
      half.current = newIndex[cur];
    } else {
      half.current = static_cast<int>(kept.size());
    }
    half.entries = std::move(kept);
    remapHits(newIndex);
    markModified();
  }
  showMessage(std::to_string(removed) + T(" Einträge wurden automatisch entfernt."));
  if (stopAt >= 0) half.current = stopAt;
  if (stopAt >= 0 || removed > 0) changed();
}

void TXDatabase::Check() {
  THalf& half = h();
  for (int i = std::max(half.current, 0); i < Count(); ++i) {
    const std::string_view m = meaning(half, half.entries[i]);
    bool comma = false;
    for (std::size_t k = 0; k < m.size(); ++k) {
      if (m[k] == '[') {
        const std::size_t close = m.find(']', k + 1);
        if (close == std::string_view::npos) break;
        k = close;
      } else if (m[k] == ',') {
        comma = true;
        break;
      }
    }
    if (comma) {
      half.current = i;
      changed();
      showMessage(T("Verdächtiges Komma in der Bedeutung entdeckt!"));
      return;
    }
    for (std::size_t k = 0; k < m.size(); ++k) {
      if (m[k] != ';') continue;
      if ((k + 1 < m.size() && m[k + 1] != ' ') || (k > 0 && m[k - 1] == ' ')) {
        half.current = i;
        changed();
        showMessage(T("Ein Leerzeichen fehlt nach einem Semikolon!"));
        return;
      }
    }
  }
}

// ---- finding ----

int TXDatabase::FindWord(std::string_view w, int kind) const {
  const THalf& half = h();
  const int n = Count();
  if (w.empty() || n == 0) return -1;
  int result;
  if (IsSorted()) {
    auto it = std::lower_bound(half.entries.begin(), half.entries.end(), w, [&](const TEntry& e, std::string_view x) {
      return zek::compareWords(word(half, e), x) < 0;
    });
    result = it == half.entries.end() ? n - 1 : static_cast<int>(it - half.entries.begin());
  } else {
    result = n - 1;
    for (int i = 0; i < n; ++i) {
      if (zek::compareWords(word(half, half.entries[i]), w) >= 0) {
        result = i;
        break;
      }
    }
  }
  if (kind != -1 && zek::compareWords(word(half, half.entries[result]), w) == 0) {
    for (int i = result; i < n && word(half, half.entries[i]) == w; ++i) {
      if (half.entries[i].kind == kind) return i;
    }
  }
  // A headword that differs only in case, accents, "ß" or the gender behind it is the
  // word looked for: the entry with the exact spelling and kind first, then the kind.
  if (isSorted(half)) {
    const std::vector<int> same = entriesOf(half, w);
    int best = -1, bestScore = -1;
    for (const int i : same) {
      const std::string_view x = word(half, half.entries[i]);
      const int score = (kind != -1 && half.entries[i].kind == kind ? 4 : 0) + (x == w ? 2 : 0) +
                        (zek::bareMeaning(x) == zek::bareMeaning(w) ? 1 : 0);
      if (score > bestScore) {
        best = i;
        bestScore = score;
      }
    }
    if (best >= 0) return best;
  }
  return result;
}

void TXDatabase::LookUp(std::string_view w, int kind) {
  const int n = Count();
  if (n == 0) return;
  THalf& half = h();
  half.current = w.empty() ? 0 : FindWord(w, kind);
  if (!w.empty()) {
    const std::string key = zek::foldHeadword(w);
    const std::string found = zek::foldHeadword(word(half, half.entries[half.current]));
    m_lookUpMatched = found.compare(0, key.size(), key) == 0 || !entriesOf(half, w).empty();
  } else {
    m_lookUpMatched = true;
  }
  const int last = std::min(std::max(half.current - 1, 0) + 8, n - 1);
  const int first = std::max(last - 8, 0);
  m_hits.clear();
  for (int i = first; i <= last; ++i) m_hits.push_back(i);
  m_hitPos = half.current - first;
  changed();
}

void TXDatabase::Search(std::string_view text, bool searchGerman, bool wholeWords) {
  m_hits.clear();
  m_hitPos = 0;
  if (text.empty()) return;
  const THalf& half = h();
  const bool inWord = searchGerman == IsGermanEnglish();
  const char* arena = half.arena.data();
  const int n = Count();
  // Case, accents and "ß" are folded on both sides; the boundary characters of a whole
  // word are plain ASCII, which folding keeps.
  const std::string wanted = zek::foldWord(text);
  if (wanted.empty()) return;
  std::string field;
  for (int i = 0; i < n; ++i) {
    const TEntry& e = half.entries[i];
    const std::string_view raw =
        inWord ? std::string_view(arena + e.wordPos, e.wordLen) : std::string_view(arena + e.meaningPos, e.meaningLen);
    zek::foldWordInto(raw, field);
    std::size_t pos = field.find(wanted);
    if (pos == std::string::npos) continue;
    if (!wholeWords) {
      m_hits.push_back(i);
      continue;
    }
    while (pos != std::string::npos) {
      const std::size_t end = pos + wanted.size();
      const bool startOk = pos == 0 || isWordStartBoundary(field[pos - 1]);
      const bool endOk = end == field.size() || isWordEndBoundary(field[end]);
      if (startOk && endOk) {
        m_hits.push_back(i);
        break;
      }
      pos = field.find(wanted, pos + 1);
    }
  }
}

void TXDatabase::GotoEntry(std::string_view w, std::string_view m) {
  if (w.empty()) return;
  THalf& half = h();
  if (WordView(-1) == w && MeaningView(-1) == m && resolve(-1) >= 0) return;
  const int n = Count();
  int i = 0;
  while (i < n && word(half, half.entries[i]) != w) ++i;
  if (i == n) return;
  half.current = i;
  for (; i < n && word(half, half.entries[i]) == w; ++i) {
    if (meaning(half, half.entries[i]) == m) {
      half.current = i;
      break;
    }
  }
  changed();
}

void TXDatabase::GotoIndex(int index) {
  if (index < 0 || index >= Count() || index == h().current) return;
  h().current = index;
  changed();
}

namespace {

bool isAlnumFolded(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || static_cast<unsigned char>(c) >= 0x80; }

// "Maedchen" → "Mädchen": the umlauts typed on a keyboard without them.
std::string withUmlauts(std::string_view word) {
  std::string out;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const char c = word[i];
    if (i + 1 < word.size() && (word[i + 1] == 'e' || word[i + 1] == 'E') && std::strchr("aouAOU", c) && c != '\0') {
      static const std::string_view from = "aouAOU";
      static const char to[] = {'\xE4', '\xF6', '\xFC', '\xC4', '\xD6', '\xDC'};
      out += to[from.find(c)];
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::vector<int> TXDatabase::entriesOf(const THalf& half, std::string_view w) const {
  std::vector<int> out;
  const std::string key = zek::foldHeadword(w);
  if (key.empty()) return out;
  const int n = static_cast<int>(half.entries.size());
  std::string f;
  auto same = [&](int i) {
    zek::foldWordInto(zek::bareMeaning(word(half, half.entries[i])), f);
    return f == key;
  };
  if (!isSorted(half)) {
    for (int i = 0; i < n; ++i)
      if (same(i)) out.push_back(i);
    return out;
  }
  // Headwords that fold alike stand together: those that begin with the key followed by
  // a blank or a sign, which sort before any letter or digit would follow the key.
  auto inRun = [&](int i) {
    zek::foldWordInto(word(half, half.entries[i]), f);
    return f.compare(0, key.size(), key) == 0 && (f.size() == key.size() || !isAlnumFolded(f[key.size()]));
  };
  const std::string_view bare = zek::bareMeaning(w);
  const auto it = std::lower_bound(half.entries.begin(), half.entries.end(), bare, [&](const TEntry& e, std::string_view x) {
    return zek::compareWords(word(half, e), x) < 0;
  });
  const int at = static_cast<int>(it - half.entries.begin());
  int first = at;
  while (first > 0 && inRun(first - 1)) --first;
  int last = at;
  while (last < n && inRun(last)) ++last;
  for (int i = first; i < last; ++i)
    if (same(i)) out.push_back(i);
  return out;
}

std::vector<int> TXDatabase::EntriesOf(int half, std::string_view w) const {
  const THalf& hf = m_halves[half & 1];
  std::vector<int> out = entriesOf(hf, w);
  std::string typed(w);
  if (out.empty()) {
    const std::string umlauts = withUmlauts(w);
    if (umlauts != w) {
      out = entriesOf(hf, umlauts);
      typed = umlauts;
    }
  }
  // The spelling typed first ("schön" before "schon"), then the same letters in another case.
  const std::string_view bare = zek::bareMeaning(typed);
  auto closeness = [&](int i) {
    const std::string_view x = zek::bareMeaning(word(hf, hf.entries[i]));
    return x == bare ? 0 : zek::equalsNoCase(x, bare) ? 1 : 2;
  };
  std::stable_sort(out.begin(), out.end(), [&](int a, int b) { return closeness(a) < closeness(b); });
  return out;
}

std::vector<std::string> TXDatabase::Suggestions(int halfIndex, std::string_view w, int max) const {
  const THalf& half = m_halves[halfIndex & 1];
  const std::string key = zek::foldHeadword(w);
  std::vector<std::string> out;
  if (key.empty() || max <= 0 || half.entries.empty()) return out;
  struct TCandidate {
    double score;
    std::size_t richness;  // a longer meaning: a word the dictionary knows more about
    std::string shown;
  };
  std::vector<TCandidate> found;
  std::vector<std::string> keys;
  auto offer = [&](int i, double score) {
    const TEntry& e = half.entries[i];
    const std::string shown(zek::bareMeaning(word(half, e)));
    const std::string k = zek::foldWord(shown);
    if (k == key) return;
    const auto at = std::find(keys.begin(), keys.end(), k);
    if (at != keys.end()) {
      TCandidate& c = found[static_cast<std::size_t>(at - keys.begin())];
      if (score < c.score) c.score = score;
      c.richness += e.meaningLen;
      return;
    }
    // A capital the word typed lacks: a name ("Hausa" for "hause") more likely than not.
    const auto initial = static_cast<unsigned char>(shown.empty() ? 0 : shown[0]);
    if (zek::lowerCp1252(initial) != initial && !w.empty() && zek::lowerCp1252(static_cast<unsigned char>(w[0])) == static_cast<unsigned char>(w[0]))
      score += 0.3;
    keys.push_back(k);
    found.push_back({score, e.meaningLen, shown});
  };
  // The word without an inflection ending.
  static const char* const english[][2] = {{"s", ""}, {"es", ""}, {"ies", "y"}, {"ed", ""}, {"d", ""}, {"ing", ""},
                                           {"ing", "e"}, {"er", ""}, {"est", ""}, {"'s", ""}};
  static const char* const german[][2] = {{"e", ""},  {"es", ""}, {"s", ""},   {"n", ""},  {"en", ""},
                                          {"er", ""}, {"ern", ""}, {"em", ""}, {"ens", ""}, {"nen", ""}};
  const std::string_view bare = zek::bareMeaning(w);
  for (const auto& ending : halfIndex == 1 ? std::span(german) : std::span(english)) {
    const std::string_view end = ending[0];
    if (bare.size() <= end.size() + 1 || !bare.ends_with(end)) continue;
    const std::string stem = std::string(bare.substr(0, bare.size() - end.size())) + ending[1];
    for (const int i : EntriesOf(halfIndex, stem)) offer(i, 0.5);
  }
  // Short phrases made with the word, and words a slip or two away.
  const int limit = key.size() <= 4 ? 1 : 2;
  std::string f;
  const int n = static_cast<int>(half.entries.size());
  for (int i = 0; i < n; ++i) {
    zek::foldWordInto(zek::bareMeaning(word(half, half.entries[i])), f);
    if (f.empty()) continue;
    const std::size_t blanks = static_cast<std::size_t>(std::count(f.begin(), f.end(), ' '));
    if (blanks == 0) {
      const int d = zek::editDistance(key, f, limit);
      if (d <= limit) offer(i, d);
    } else if (blanks <= 2 && f.size() <= key.size() + 12) {
      for (std::size_t pos = f.find(key); pos != std::string::npos; pos = f.find(key, pos + 1)) {
        const std::size_t end = pos + key.size();
        if ((pos == 0 || f[pos - 1] == ' ') && (end == f.size() || f[end] == ' ')) {
          offer(i, 0.7 + 0.2 * static_cast<double>(blanks));
          break;
        }
      }
    }
  }
  std::stable_sort(found.begin(), found.end(), [](const TCandidate& a, const TCandidate& b) {
    if (a.score != b.score) return a.score < b.score;
    return a.richness > b.richness;
  });
  for (const TCandidate& c : found) {
    if (static_cast<int>(out.size()) >= max) break;
    out.push_back(c.shown);
  }
  return out;
}

// ---- files ----

namespace {

// Tens of megabytes filled in one go: huge pages spare most of the page faults.
void adviseHugePages(char* buffer, std::size_t size) {
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = (reinterpret_cast<std::uintptr_t>(buffer) + page - 1) & ~(page - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(buffer) + size) & ~(page - 1);
  if (end > begin + (2u << 20)) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

// Inflates the whole stream at once into a buffer that becomes the half's arena as it is;
// nothing when the stream is broken, truncated or larger than `limit`. The zlib format
// does not record the size, so the buffer is a generous guess: pages that the data does
// not reach are never touched and are handed back unread. A stream that inflates beyond
// the guess is inflated once more into a buffer of the full limit.
std::optional<TTextArena> inflateDictionary(std::string_view compressed, std::size_t limit) {
  struct TDecompressor {
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    ~TDecompressor() { libdeflate_free_decompressor(d); }
  } dec;
  if (!dec.d) return std::nullopt;
  std::size_t room = std::min(std::max<std::size_t>(compressed.size() * 8, 1u << 20), limit + 1);
  for (;;) {
    char* buffer = static_cast<char*>(std::malloc(room));
    if (!buffer) return std::nullopt;
    TTextArena arena = TTextArena::adopt(buffer, 0, room);
    adviseHugePages(buffer, room);
    std::size_t have = 0;
    const libdeflate_result rc =
        libdeflate_zlib_decompress(dec.d, compressed.data(), compressed.size(), buffer, room, &have);
    if (rc == LIBDEFLATE_SUCCESS && have <= limit) {
      arena = TTextArena::adopt(arena.release(), have, room);
      arena.shrinkToFit();
      return arena;
    }
    if (rc != LIBDEFLATE_INSUFFICIENT_SPACE || room > limit) return std::nullopt;
    room = limit + 1;
  }
}

// A half is not expected to grow beyond this; larger streams are refused unread.
constexpr std::size_t kDictionaryLimit = 256u << 20;

// A compressed file mapped instead of copied: the inflater reads it once, straight from
// the page cache. Only regular files of a sensible size are mapped.
class TMappedFile {
 public:
  static std::optional<TMappedFile> open(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    void* p = MAP_FAILED;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
        static_cast<std::uintmax_t>(st.st_size) <= kDictionaryLimit)
      p = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    ::close(fd);
    if (p == MAP_FAILED) return std::nullopt;
    TMappedFile f;
    f.m_data = static_cast<const char*>(p);
    f.m_size = static_cast<std::size_t>(st.st_size);
    return f;
  }
  TMappedFile(TMappedFile&& o) noexcept : m_data(std::exchange(o.m_data, nullptr)), m_size(o.m_size) {}
  TMappedFile& operator=(TMappedFile&&) = delete;
  ~TMappedFile() {
    if (m_data) ::munmap(const_cast<char*>(m_data), m_size);
  }
  std::string_view bytes() const { return {m_data, m_size}; }

 private:
  TMappedFile() = default;
  const char* m_data = nullptr;
  std::size_t m_size = 0;
};

}  // namespace

// Records: word NUL kind-digit NUL meaning NUL, read while at least two bytes remain.
// Fields without their zero byte end at the end of the data.
void TXDatabase::parseRecords(TLoadedFile& file) {
  const char* const p = file.m_arena.data();
  const char* const end = p + file.m_arena.size();
  // One pass, no per-record calls: this walk is most of a load after the inflating.
  std::vector<TEntry>& entries = file.m_entries;
  entries.reserve(file.m_arena.size() / 48 + 1);
  adviseHugePages(reinterpret_cast<char*>(entries.data()), entries.capacity() * sizeof(TEntry));
  auto fieldEnd = [end](const char* from) {
    if (from >= end) return end;
    const void* z = std::memchr(from, 0, static_cast<std::size_t>(end - from));
    return z ? static_cast<const char*>(z) : end;
  };
  auto put = [p](std::uint32_t& pos, std::uint32_t& len, const char* b, const char* e) {
    while (b < e && isTrimmed(static_cast<unsigned char>(*b))) ++b;
    while (e > b && isTrimmed(static_cast<unsigned char>(e[-1]))) --e;
    pos = static_cast<std::uint32_t>(b - p);
    len = static_cast<std::uint32_t>(e - b);
  };
  const char* at = p;
  while (end - at >= 2) {
    const char* const wordEnd = fieldEnd(at);
    TEntry& e = entries.emplace_back();
    e.kind = static_cast<std::uint8_t>(end - wordEnd > 1 ? kindOfDigit(wordEnd[1]) : 1);
    const char* const meaningStart = end - wordEnd >= 3 ? wordEnd + 3 : end;
    const char* const meaningEnd = fieldEnd(meaningStart);
    put(e.wordPos, e.wordLen, at, wordEnd);
    put(e.meaningPos, e.meaningLen, meaningStart, meaningEnd);
    if (meaningEnd >= end) break;
    at = meaningEnd + 1;
  }
}

// Groups of three lines: word, kind, meaning; a last incomplete group reads as empty fields.
void TXDatabase::parseLines(TLoadedFile& file) {
  const char* p = file.m_arena.data();
  const std::vector<std::string_view> lines = splitLines(file.m_arena.view());
  file.m_entries.reserve(lines.size() / 3 + 1);
  for (std::size_t k = 0; k < lines.size(); k += 3) {
    const std::string_view w = trimmed(lines[k]);
    const std::string_view kindText = k + 1 < lines.size() ? lines[k + 1] : std::string_view();
    const std::string_view m = k + 2 < lines.size() ? trimmed(lines[k + 2]) : std::string_view(p, 0);
    TEntry e;
    e.wordPos = static_cast<std::uint32_t>(w.data() - p);
    e.wordLen = static_cast<std::uint32_t>(w.size());
    e.meaningPos = static_cast<std::uint32_t>(m.data() - p);
    e.meaningLen = static_cast<std::uint32_t>(m.size());
    e.kind = static_cast<std::uint8_t>(ParseKind(kindText));
    file.m_entries.push_back(e);
  }
}

TXDatabase::TLoadedFile TXDatabase::ParseCompressed(std::string_view fileBytes) {
  TLoadedFile file;
  std::optional<TTextArena> data = inflateDictionary(fileBytes, kDictionaryLimit);
  if (!data) return file;
  file.m_arena = std::move(*data);
  file.m_ok = true;
  parseRecords(file);
  return file;
}

TXDatabase::TLoadedFile TXDatabase::ParseText(std::string text) {
  TLoadedFile file;
  file.m_arena.reserve(text.size());
  file.m_arena.append(text);
  file.m_ok = true;
  parseLines(file);
  return file;
}

TXDatabase::TLoadedFile TXDatabase::ReadDictionaryFile(std::string_view name) {
  const std::string ext = name.size() >= 4 ? std::string(name.substr(name.size() - 4)) : std::string();
  const bool compressed = ext == ".zek" || ext == ".kze";
  const std::filesystem::path path = zek::resolveName(name);
  TLoadedFile file;
  if (std::optional<TMappedFile> mapped = compressed ? TMappedFile::open(path) : std::nullopt) {
    file = ParseCompressed(mapped->bytes());
  } else if (std::optional<std::string> bytes = zek::readFile(path, kDictionaryLimit)) {
    file = compressed ? ParseCompressed(*bytes) : ParseText(std::move(*bytes));
  }
  file.m_name = std::string(name);
  return file;
}

bool TXDatabase::AddLoaded(TLoadedFile&& file) {
  THalf& half = h();
  half.fileName = file.m_name;
  if (file.m_ok) {
    // Whether the half is in order is learned when a look-up first needs it (LearnOrder):
    // the walk over every word would cost a loaded half a good part of its loading time.
    if (half.entries.empty()) {
      half.arena = std::move(file.m_arena);
      half.entries = std::move(file.m_entries);
      half.garbage = 0;
      half.sorted = -1;
    } else {
      const auto base = static_cast<std::uint32_t>(half.arena.size());
      half.arena.append(file.m_arena.view());
      for (TEntry e : file.m_entries) {
        e.wordPos += base;
        e.meaningPos += base;
        half.entries.push_back(e);
      }
      if (half.sorted != 0) half.sorted = -1;
    }
  } else {
    showMessage(T("Fehler beim Laden des Wörterbuchs!"), mb::IconStop);
  }
  half.modified = false;
  changed();
  return file.m_ok;
}

bool TXDatabase::LoadFromFile(std::string_view name) { return AddLoaded(ReadDictionaryFile(name)); }

std::string TXDatabase::Records(int half) const {
  const THalf& hf = m_halves[half & 1];
  std::string out;
  out.reserve(hf.arena.size() - hf.garbage + hf.entries.size() * 4);
  for (const TEntry& e : hf.entries) {
    out.append(word(hf, e));
    out.push_back('\0');
    out.push_back(static_cast<char>('0' + e.kind));
    out.push_back('\0');
    out.append(meaning(hf, e));
    out.push_back('\0');
  }
  return out;
}

bool TXDatabase::WriteHalf(int half, std::string_view name) const {
  try {
    return writePacked(name, zek::deflateZlib(Records(half), 1));
  } catch (...) {
    return false;
  }
}

bool TXDatabase::writePacked(std::string_view name, const std::string& packed) {
  try {
    const std::filesystem::path path = zek::resolveName(name);
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0) {
      // A read-only file is made writable first, as the learner's own copy may be.
      if (::chmod(path.c_str(), st.st_mode | S_IWUSR) != 0) return false;
    }
    if (packed.empty()) return false;
    return zek::writeFileAtomic(path, packed);
  } catch (...) {
    return false;
  }
}

bool TXDatabase::saveHalf(int half, const std::string& packed, int tried) {
  THalf& hf = m_halves[half];
  hf.savedName.clear();
  std::string name = hf.fileName;
  const std::string direction = DirectionName(half);
  if (!hf.modified) return true;
  for (;;) {
    if (!name.empty() && (tried < 0 ? writePacked(name, packed) : tried == 1)) {
      hf.fileName = name;
      hf.savedName = name;
      showMessage(T("Das Wörterbuch ") + direction + T(" wurde erfolgreich gespeichert."));
      return true;
    }
    const int answer = showMessage(T("Das Wörterbuch ") + direction + T(" konnte nicht gespeichert werden. ") + "\r" +
                                       T("Soll es an einem anderen Ort gespeichert werden?") + "\r\r" +
                                       T("Achtung: Bei Nein gehen alle Veränderungen verloren."),
                                   mb::YesNo | mb::IconQuestion);
    tried = -1;
    if (answer != mb::IdYes) return false;
    TFileDialogRequest request;
    request.save = true;
    request.title = T("Wörterbuch ") + direction + T(" speichern");
    request.directory = zek::directoryPart(name);
    request.fileName = zek::fileNamePart(name);
    request.filter = T("ZEK Wörterbücher (*.zek)|*.zek");
    request.defaultExt = "zek";
    if (std::optional<std::string> chosen = askFileName(request)) {
      name = *chosen;
      if (zek::extensionLower(name).empty()) name += ".zek";
    }
  }
}

void TXDatabase::SaveAll() {
  if (!m_halves[0].modified && !m_halves[1].modified) return;
  const int answer = showMessage(T("Das Wörterbuch wurde verändert. Sollen diese Veränderungen gespeichert werden?"),
                                 mb::YesNo | mb::IconQuestion);
  if (answer != mb::IdYes) return;
  // The data does not change while the questions are asked: both halves are compressed
  // and written to their files at once; the messages and any question where to save
  // follow in the fixed order.
  struct TPacked {
    std::string bytes;
    int tried = -1;
  };
  auto pack = [this](int half) {
    TPacked out;
    const THalf& hf = m_halves[half];
    if (!hf.modified) return out;
    try {
      out.bytes = zek::deflateZlib(Records(half), 1);
      if (!hf.fileName.empty()) out.tried = writePacked(hf.fileName, out.bytes) ? 1 : 0;
    } catch (...) {
      out.bytes.clear();
    }
    return out;
  };
  std::future<TPacked> second = std::async(std::launch::async, pack, 1);
  const TPacked first = pack(0);
  const TPacked packedSecond = second.get();
  m_half = 0;
  saveHalf(0, first.bytes, first.tried);
  m_half = 1;
  saveHalf(1, packedSecond.bytes, packedSecond.tried);
}

void TXDatabase::ExportText() {
  TFileDialogRequest request;
  request.save = true;
  request.title = T("Wörterbuch exportieren");
  request.fileName = "wb_.txt";
  request.filter = T("Textdateien (*.txt)|*.txt");
  request.defaultExt = "txt";
  const std::optional<std::string> chosen = askFileName(request);
  if (!chosen) return;
  const std::string base = chosen->substr(0, firstDotInFilePart(*chosen));
  for (int half = 0; half < 2; ++half) {
    SetGermanEnglish(half == 1);
    const THalf& hf = h();
    std::string words, meanings;
    for (const TEntry& e : hf.entries) {
      words += std::to_string(e.kind);
      words += '\t';
      words.append(word(hf, e));
      words += "\r\n";
      meanings.append(meaning(hf, e));
      meanings += "\r\n";
    }
    const std::string prefix = base + (half == 0 ? "1" : "2");
    for (const auto& [suffix, data] : {std::pair{"a.txt", &words}, std::pair{"b.txt", &meanings}}) {
      const std::string file = prefix + suffix;
      if (!zek::writeFileAtomic(zek::resolveName(file), *data)) {
        showMessage(T("Die Datei ") + file + T(" konnte nicht geschrieben werden."), mb::IconStop);
        return;
      }
    }
  }
  showMessage("Dateien wurden exportiert.");
}

bool TXDatabase::importHalf(int half, const std::string& base, const char* first, const char* second,
                            int errorFlags) {
  SetGermanEnglish(half == 1);
  Clear();
  const std::optional<std::string> a = zek::readFile(zek::resolveName(base + first));
  const std::optional<std::string> b = zek::readFile(zek::resolveName(base + second));
  if (!a || !b) {
    showMessage("Fehler beim Import", errorFlags);
    return false;
  }
  const std::vector<std::string_view> wordLines = splitLines(*a);
  const std::vector<std::string_view> meaningLines = splitLines(*b);
  const std::size_t n = std::min(wordLines.size(), meaningLines.size());
  for (std::size_t k = 0; k < n; ++k) {
    const std::string_view line = wordLines[k];
    if (line.size() < 2 || line[1] != '\t') {
      showMessage("Fehler beim Import", errorFlags);
      return false;
    }
    Append(line.substr(2), line.substr(0, 1), meaningLines[k]);
  }
  return true;
}

void TXDatabase::ImportText() {
  TFileDialogRequest request;
  request.save = false;
  request.title = T("Wörterbuch importieren");
  request.fileName = "*.txt";
  request.filter = T("Textdateien (*.txt)|*.txt");
  request.promptOverwrite = false;
  const std::optional<std::string> chosen = askFileName(request);
  if (!chosen) return;
  const std::size_t dot = firstDotInFilePart(*chosen);
  const std::size_t slash = chosen->find_last_of("/\\");
  const std::size_t fileStart = slash == std::string::npos ? 0 : slash + 1;
  const std::string base = chosen->substr(0, std::max(dot >= 2 ? dot - 2 : 0, fileStart));
  for (const char* suffix : {"1a.txt", "1b.txt", "2a.txt", "2b.txt"}) {
    if (!zek::fileExists(base + suffix)) {
      showMessage("Zu importierende Dateien wurden nicht gefunden!");
      return;
    }
  }
  if (showMessage(T("Importieren des Wörterbuchs löscht das aktuelle!"), mb::OkCancel | mb::IconExclamation) !=
      mb::IdOk)
    return;
  importHalf(0, base, "1a.txt", "1b.txt", mb::IconExclamation);
  importHalf(1, base, "2a.txt", "2b.txt", mb::OkCancel | mb::IconExclamation);
  changed();
  showMessage("Dateien wurden importiert.");
}
