// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Reads the text between "<" and ">" of one tag. Names are matched without regard to
// case; values come back as written. Nothing here allocates: values are views of the tag.
class THtxScanner {
 public:
  explicit THtxScanner(std::string_view tag) : m_tag(tag) {}

  static bool isBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

  void skipBlanks();
  bool atEnd() const { return m_pos >= m_tag.size(); }
  std::size_t position() const { return m_pos; }
  void setPosition(std::size_t pos) { m_pos = pos < m_tag.size() ? pos : m_tag.size(); }
  std::string_view rest() const { return m_tag.substr(m_pos); }

  // The next word (up to a blank or "=") equals `word`; consumed only when it does.
  bool expectWord(std::string_view word);
  // Index of the attribute name that comes next (consumed with a following "="), or -1
  // with nothing consumed.
  int expectOneOf(std::initializer_list<std::string_view> names);
  // Attribute name (up to a blank or "="), consumed with a following "=".
  std::string_view readName();
  // Up to `separator` (not included, but consumed) or the end.
  std::string_view readUpTo(char separator);
  // A value: a quoted text that may hold blanks, or a run up to the next blank with one
  // leading and one trailing quote removed.
  std::string_view readValue();
  int readInt(int low, int high, int fallback) { return parseInt(readValue(), low, high, fallback); }
  // Finds `name` (without regard to case) as an attribute anywhere after the position and
  // moves behind it; false leaves the position alone.
  bool seek(std::string_view name);

  // Decimal integer, optionally quoted and signed, clamped to [low, high]; `fallback` when unreadable.
  static int parseInt(std::string_view value, int low, int high, int fallback);
  static std::string_view unquote(std::string_view value);
  static std::string_view trim(std::string_view value);
  // Pieces of `value` between `separator`s (separator may be several characters).
  static std::vector<std::string> split(std::string_view value, std::string_view separator);

 private:
  std::string_view m_tag;
  std::size_t m_pos = 0;
};

bool equalsUpper(std::string_view text, std::string_view upper);
// Position of `upper` in `text` without regard to case, or npos.
std::size_t findNoCase(std::string_view text, std::string_view upper, std::size_t from = 0);
