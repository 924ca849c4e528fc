// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TXDatabase;

// One synonym of a source part, as the converter reads it.
struct TSynonym;

// Converts the free German-English word list of the "German :: English" line format
// (sub-entries split by " | ", synonyms by "; ", word classes in braces, comments in
// brackets and parentheses, search variants in angle brackets) into the two halves of
// the dictionary.
//
// The " | " parts of a line pair by position: a word gets the translations of its own
// part only. A headword's meanings are ranked for a learner: the translation the source
// gives as the plain, first one of a rich entry comes before subject-labelled, regional,
// colloquial and rare ones, frequent words before rare ones, and offensive meanings last,
// marked "abwertend" or "vulg.".
class TDingConverter {
 public:
  struct TStats {
    std::size_t lines = 0;          // entry lines read
    std::size_t skippedLines = 0;   // malformed (no " :: ", unequal sub-entry counts)
    std::size_t skippedWords = 0;   // headwords with characters Windows-1252 lacks, or too long
    std::size_t droppedMeanings = 0;  // meanings with such characters, or beyond the length cap
    std::size_t merged = 0;         // pairs that joined an existing headword
    std::size_t pluralForms = 0;    // plural sub-entries of a singular noun, left out
    std::size_t folded = 0;         // headwords with "sth."/"etw." or an abbreviation, filed under the bare word
    std::size_t offensive = 0;      // meanings marked offensive
  };

  // Word counts of spoken English, one "word<TAB>count" a line ("#" lines are comments).
  // They rank the English meanings; German ones are ranked by how often the source
  // itself uses the word.
  void addFrequencies(std::string_view text);
  // One UTF-8 line of the source ("#" lines are comments).
  void addLine(std::string_view utf8);
  // Reads a whole source text.
  void addText(std::string_view utf8);
  // A short list of everyday words in the same format: the translations it gives are the
  // ones a learner needs first, so they rank before those of the full source.
  void addCoreText(std::string_view utf8);
  // The learner's core meanings, one "headword<TAB>kind<TAB>meaning; meaning" a line (kind:
  // noun, verb, adj, adv or other; "#" lines are comments): the strongest signal. Those of
  // a headword's translations go first, in this order, in the entry of the same kind (in
  // the entries without a line of their own when the source has no entry of that kind);
  // entries with core meanings go before the headword's other entries.
  // Half 1 (German headwords) when `german`.
  void addCoreMeanings(std::string_view utf8, bool german);

  // Fills half 0 (English-German) and half 1 (German-English) of an empty database,
  // each sorted. Half 0 is current afterwards.
  void fill(TXDatabase& db) const;

  const TStats& stats() const { return m_stats; }

  // Headwords longer than this are example sentences rather than entries.
  static constexpr std::size_t kMaxWord = 120;
  // A merged meaning stops growing here (the least fitting meanings stay out).
  static constexpr std::size_t kMaxMeaning = 1000;

 private:
  // One translation of a headword as one source part gives it.
  struct TCandidate {
    std::uint32_t item = 0;  // index into m_items
    float penalty = 0;       // lower is better; frequency is added when filling
    bool offensive = false;
  };
  struct TEntry {
    std::string word;  // Windows-1252
    int kind = 1;
    std::vector<TCandidate> candidates;
    std::string note;  // Windows-1252, in front of the first meaning shown ("Past Tense von go")
  };
  struct THalf {
    std::vector<TEntry> entries;
    std::unordered_map<std::string, std::size_t> index;  // word + '\0' + kind digit
  };
  struct TItem {
    std::string text;    // Windows-1252, as shown
    std::string core;    // UTF-8, without comments, gender and placeholders: the words counted
    bool german = false;
    bool offensiveWord = false;
  };

  // One line of the core meanings: its kind and its meanings, bare (see coreKey).
  struct TCoreLine {
    int kind = 0;  // as the entries count them: 1 noun, 2 verb, 3 adjective or adverb, 4 other
    int order = 0;  // among the lines of its headword
    std::vector<std::string> keys;
  };

  // `count`: count the line's German words (addText counts them in a thread of their own).
  void addLine(std::string_view utf8, bool count);
  std::uint32_t intern(std::string text, std::string core, bool german);
  // The candidate's meaning with a comment (Windows-1252) in front, in one bracket with its own.
  void prependComment(TCandidate& candidate, const std::string& comment);
  void addIrregularForms(const std::vector<TSynonym>& english, const std::vector<TCandidate>& meanings,
                         double penalty);
  std::vector<const TCoreLine*> coreLines(int half, std::deque<TCoreLine>& merged) const;
  TEntry& add(int half, const std::string& word, int kind, const std::vector<TCandidate>& candidates);
  double frequencyPenalty(const TItem& item) const;
  std::string meaningOf(const TEntry& e, const std::vector<float>& frequency, const TCoreLine* core,
                        float* best) const;

  THalf m_halves[2];
  std::deque<TItem> m_items;  // a deque: the indexes below keep views of its texts
  std::unordered_map<std::string_view, std::uint32_t> m_itemIndex[2];  // English, German items by text
  std::unordered_map<std::string, std::uint32_t> m_english;    // spoken-English counts (lower case)
  std::unordered_map<std::string, std::uint32_t> m_germanLines;   // source lines using a German word
  std::unordered_map<std::string, std::vector<TCoreLine>> m_coreMeanings[2];  // by headword, Windows-1252
  TStats m_stats;
  bool m_core = false;
  static constexpr double kCoreBonus = 3.0;
  // Far below any other score: a core meaning goes before every other meaning of its
  // entry (its line and place in the line add steps far above the other scores' range).
  static constexpr double kCoreMeaningRank = -1e8;
  // Below any score without core meanings: such an entry goes before the headword's others.
  static constexpr double kCoreEntryRank = -1e4;
};
