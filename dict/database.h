// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dict/textarena.h"

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

// The two-direction dictionary: half 0 English-German, half 1 German-English. Every
// entry operation acts on the current half. Texts are Windows-1252 bytes.
//
// Each half keeps its texts in one byte arena and its entries as offsets into it, so a
// loaded file costs little more than its decompressed size. Edits append the new text
// to the arena; the arena is compacted when most of it has become garbage.
class TXDatabase {
 public:
  TXDatabase();

  // Raised after every change of data, cursor or half.
  std::function<void(TXDatabase& sender)> OnChange;

  // Half and direction.
  int Half() const { return m_half; }
  void SetGermanEnglish(bool germanEnglish);
  bool IsGermanEnglish() const { return m_half == 1; }
  std::string DirectionName() const { return DirectionName(m_half); }
  std::string DirectionShortName() const;
  static std::string DirectionName(int half);

  // Entry access. Index -1 is the cursor, -2 the entry before it and -3 the one after it;
  // an index outside the list reads as an empty entry of kind 1 and ignores writes.
  int Count() const { return static_cast<int>(h().entries.size()); }
  int Current() const { return h().current; }
  std::string GetWord(int index = -1) const;
  std::string GetMeaning(int index = -1) const;
  int GetKind(int index = -1) const;
  void SetWord(int index, std::string_view word);
  void SetMeaning(int index, std::string_view meaning);
  void SetKind(int index, int kind);

  // Views into the arena for bulk readers; valid until the half changes.
  std::string_view WordView(int index) const;
  std::string_view MeaningView(int index) const;

  // Per-half state.
  bool Modified(int half) const { return m_halves[half & 1].modified; }
  const std::string& FileName(int half) const { return m_halves[half & 1].fileName; }
  const std::string& SavedName(int half) const { return m_halves[half & 1].savedName; }

  // Cursor.
  void First();
  void Last();
  void Next();
  void Prior();
  void GotoRandom(bool any);
  void SetRandomSeed(std::uint32_t seed) { m_random.seed(seed); }
  bool IsComplete() const;

  // Editing.
  void InsertEmpty();
  void DeleteCurrent();
  void Clear();
  void Append(std::string_view word, std::string_view kindText, std::string_view meaning);
  void Sort();
  void RemoveDuplicates();
  void Check();

  // Finding.
  int FindWord(std::string_view word, int kind) const;
  void LookUp(std::string_view word, int kind);
  void Search(std::string_view text, bool searchGerman, bool wholeWords);
  void GotoEntry(std::string_view word, std::string_view meaning);
  // Makes exactly this entry current (a picked row knows it); outside the half nothing happens.
  void GotoIndex(int index);
  const std::vector<int>& Hits() const { return m_hits; }  // indices into the current half
  int HitPos() const { return m_hitPos; }

  // Lookups that forgive: case, accents and umlauts ("ae" for "ä" too), "ß" as "ss", and
  // the gender the dictionary writes behind a German noun are not told apart.
  // The entries of `half` whose headword is `word` in that sense, in list order.
  std::vector<int> EntriesOf(int half, std::string_view word) const;
  // For a word without entries: the nearest headwords of `half`, best first ("Meinten
  // Sie …?"): the word without an ending ("Hause" → "Haus"), short phrases made with it
  // ("zu Hause"), and headwords one or two typing slips away.
  std::vector<std::string> Suggestions(int half, std::string_view word, int max) const;
  // Whether the last LookUp met its word, or a headword that begins with it.
  bool LookUpMatched() const { return m_lookUpMatched; }

  // A dictionary file read and parsed but not yet added to a half. Reading touches no
  // database state, so start-up reads both files at once.
  class TLoadedFile;
  static TLoadedFile ReadDictionaryFile(std::string_view name);
  static TLoadedFile ParseCompressed(std::string_view fileBytes);
  static TLoadedFile ParseText(std::string text);
  // The rest of LoadFromFile: remember the name, append the entries (or report the
  // failure), clear Modified, notify. False when the file could not be read.
  bool AddLoaded(TLoadedFile&& file);

  // Files. LoadFromFile appends to the current half; false when nothing could be read.
  bool LoadFromFile(std::string_view name);
  // The half's records, uncompressed, in list order.
  std::string Records(int half) const;
  // Writes the compressed form of a half; the old file survives a failed write.
  bool WriteHalf(int half, std::string_view name) const;
  void SaveAll();
  void ExportText();
  void ImportText();

  // Kind names (kind 1 to 6; anything else is treated as 1).
  static std::string KindName(int kind);
  static std::string KindShortName(int kind);
  static int ParseKind(std::string_view text);

  // True when the current half is in collation order (cached until the next change).
  bool IsSorted() const;
  // Learns the order of both halves now, so that the first look-up after loading need not
  // (an idle moment after start-up is the place for it).
  void LearnOrder() const;
  // Bytes held by both halves' entries and texts.
  std::size_t MemoryUsed() const;

 private:
  struct TEntry {
    std::uint32_t wordPos = 0, wordLen = 0;
    std::uint32_t meaningPos = 0, meaningLen = 0;
    std::uint8_t kind = 1;
  };
  struct THalf {
    std::vector<TEntry> entries;
    TTextArena arena;
    std::size_t garbage = 0;
    int current = 0;
    bool modified = false;
    std::string fileName;
    std::string savedName;
    mutable int sorted = -1;  // -1 unknown, 0 no, 1 yes
  };

  THalf& h() { return m_halves[m_half]; }
  const THalf& h() const { return m_halves[m_half]; }
  int resolve(int index) const;  // -1 when out of range
  std::string_view word(const THalf& half, const TEntry& e) const { return {half.arena.data() + e.wordPos, e.wordLen}; }
  std::string_view meaning(const THalf& half, const TEntry& e) const {
    return {half.arena.data() + e.meaningPos, e.meaningLen};
  }
  std::uint32_t store(THalf& half, std::string_view text);
  void compactIfWasteful(THalf& half);
  void changed();
  void markModified() { h().modified = true; }
  void noteWordChanged(int index);
  // `tried`: 1 when the packed half was written under its file name already, 0 when that
  // write failed, -1 when it is still to be tried.
  bool saveHalf(int half, const std::string& packed, int tried);
  static bool writePacked(std::string_view name, const std::string& packed);
  bool importHalf(int half, const std::string& base, const char* first, const char* second, int errorFlags);
  void remapHits(const std::vector<int>& newIndex);

  static void parseRecords(TLoadedFile& file);
  static void parseLines(TLoadedFile& file);
  bool isSorted(const THalf& half) const;
  std::vector<int> entriesOf(const THalf& half, std::string_view word) const;

  THalf m_halves[2];
  int m_half = 0;
  std::vector<int> m_hits;
  int m_hitPos = 0;
  bool m_lookUpMatched = false;
  std::mt19937 m_random;

 public:
  class TLoadedFile {
   public:
    bool ok() const { return m_ok; }
    std::size_t count() const { return m_entries.size(); }

   private:
    friend class TXDatabase;
    std::string m_name;
    bool m_ok = false;
    TTextArena m_arena;
    std::vector<TEntry> m_entries;
  };
};
