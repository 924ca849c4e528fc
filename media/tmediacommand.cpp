// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/tmediacommand.h"

#include "platform/codec.h"

#include <charconv>

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

std::optional<TMediaCommand> TMediaCommand::parse(std::string_view text, TMediaError& error) {
  std::vector<TMediaWord> words;
  std::size_t i = 0;
  while (i < text.size()) {
    if (isBlank(text[i])) {
      ++i;
      continue;
    }
    TMediaWord word;
    if (text[i] == '"') {
      const std::size_t close = text.find('"', i + 1);
      if (close == std::string_view::npos) {
        error = TMediaError::UnclosedQuote;
        return std::nullopt;
      }
      word.text = std::string(text.substr(i + 1, close - i - 1));
      word.quoted = true;
      i = close + 1;
    } else {
      const std::size_t start = i;
      while (i < text.size() && !isBlank(text[i]) && text[i] != '"') ++i;
      word.text = zek::lowerCase(text.substr(start, i - start));
    }
    words.push_back(std::move(word));
  }
  TMediaCommand command;
  if (!words.empty()) {
    if (words.front().quoted) {
      error = TMediaError::UnknownCommand;
      return std::nullopt;
    }
    command.verb = std::move(words.front().text);
    command.words.assign(std::make_move_iterator(words.begin() + 1), std::make_move_iterator(words.end()));
  }
  error = TMediaError::None;
  return command;
}

bool TMediaWordReader::accept(std::string_view keyword) {
  const TMediaWord* w = peek();
  if (!w || w->quoted || w->text != keyword) return false;
  ++m_pos;
  return true;
}

bool TMediaWordReader::acceptAll(std::initializer_list<std::string_view> keywords) {
  std::size_t k = 0;
  for (std::string_view keyword : keywords) {
    const TMediaWord* w = peek(k++);
    if (!w || w->quoted || w->text != keyword) return false;
  }
  m_pos += keywords.size();
  return true;
}

std::optional<std::int64_t> parseMediaNumber(std::string_view text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}
