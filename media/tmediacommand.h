// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/mediaerror.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One command string split into words. Words in double quotes keep their case and
// blanks; all other words are lower-cased, since verbs, aliases and keywords are
// compared without regard to case ("Status MP3 mode").
struct TMediaWord {
  std::string text;
  bool quoted = false;
};

struct TMediaCommand {
  std::string verb;               // lower-case; empty for a blank command
  std::vector<TMediaWord> words;  // everything after the verb

  // Parses `text`; on failure returns nothing and sets `error`.
  static std::optional<TMediaCommand> parse(std::string_view text, TMediaError& error);
};

// Reads the words of a command one after another, with keyword look-ahead.
class TMediaWordReader {
 public:
  explicit TMediaWordReader(const std::vector<TMediaWord>& words, std::size_t start = 0)
      : m_words(words), m_pos(start) {}
  bool atEnd() const { return m_pos >= m_words.size(); }
  const TMediaWord* peek(std::size_t ahead = 0) const {
    return m_pos + ahead < m_words.size() ? &m_words[m_pos + ahead] : nullptr;
  }
  // Consumes the next word when it is the unquoted keyword `keyword`.
  bool accept(std::string_view keyword);
  // Consumes a keyword sequence ("time", "format") when all its words follow.
  bool acceptAll(std::initializer_list<std::string_view> keywords);
  const TMediaWord* next() { return atEnd() ? nullptr : &m_words[m_pos++]; }
  std::size_t position() const { return m_pos; }

 private:
  const std::vector<TMediaWord>& m_words;
  std::size_t m_pos;
};

// A decimal integer without sign, nothing when it is not one or does not fit.
std::optional<std::int64_t> parseMediaNumber(std::string_view text);
