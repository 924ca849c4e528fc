#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TXDatabase;

// Converts the free German-English word list of the "German :: English" line format
// (sub-entries split by " | ", synonyms by "; ", word classes in braces, comments in
// brackets and parentheses, search variants in angle brackets) into the two halves of
// the dictionary.
class TDingConverter {
 public:
  struct TStats {
    std::size_t lines = 0;          // entry lines read
    std::size_t skippedLines = 0;   // malformed (no " :: ", unequal sub-entry counts)
    std::size_t skippedWords = 0;   // headwords with characters Windows-1252 lacks, or too long
    std::size_t droppedMeanings = 0;  // meanings with such characters, or beyond the length cap
    std::size_t merged = 0;         // pairs that joined an existing headword
    std::size_t pluralForms = 0;    // plural sub-entries of a singular noun, left out
  };

  // One UTF-8 line of the source ("#" lines are comments).
  void addLine(std::string_view utf8);
  // Reads a whole source text.
  void addText(std::string_view utf8);

  // Fills half 0 (English-German) and half 1 (German-English) of an empty database,
  // each sorted. Half 0 is current afterwards.
  void fill(TXDatabase& db) const;

  const TStats& stats() const { return m_stats; }

  // Headwords longer than this are example sentences rather than entries.
  static constexpr std::size_t kMaxWord = 120;
  // A merged meaning stops growing here.
  static constexpr std::size_t kMaxMeaning = 1000;

 private:
  struct TEntry {
    std::string word;  // Windows-1252
    int kind = 1;
    std::string meaning;  // Windows-1252, items joined with "; "
    std::vector<std::string> items;
  };
  struct THalf {
    std::vector<TEntry> entries;
    std::unordered_map<std::string, std::size_t> index;  // word + '\0' + kind digit
  };

  void add(int half, const std::string& word, int kind, const std::vector<std::string>& items);

  THalf m_halves[2];
  TStats m_stats;
};
