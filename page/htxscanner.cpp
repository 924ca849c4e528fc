// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/htxscanner.h"

#include "platform/codec.h"

#include <climits>

bool equalsUpper(std::string_view text, std::string_view upper) {
  if (text.size() != upper.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (zek::upperCp1252(static_cast<unsigned char>(text[i])) != static_cast<unsigned char>(upper[i])) return false;
  return true;
}

std::size_t findNoCase(std::string_view text, std::string_view upper, std::size_t from) {
  if (upper.empty() || text.size() < upper.size()) return std::string_view::npos;
  for (std::size_t i = from; i + upper.size() <= text.size(); ++i)
    if (equalsUpper(text.substr(i, upper.size()), upper)) return i;
  return std::string_view::npos;
}

void THtxScanner::skipBlanks() {
  while (m_pos < m_tag.size() && isBlank(m_tag[m_pos])) ++m_pos;
}

std::string_view THtxScanner::readName() {
  skipBlanks();
  const std::size_t start = m_pos;
  while (m_pos < m_tag.size() && !isBlank(m_tag[m_pos]) && m_tag[m_pos] != '=') ++m_pos;
  const std::string_view name = m_tag.substr(start, m_pos - start);
  // "name = value" and "name=value" alike.
  std::size_t p = m_pos;
  while (p < m_tag.size() && isBlank(m_tag[p])) ++p;
  if (p < m_tag.size() && m_tag[p] == '=') m_pos = p + 1;
  return name;
}

bool THtxScanner::expectWord(std::string_view word) {
  const std::size_t saved = m_pos;
  skipBlanks();
  std::size_t end = m_pos;
  while (end < m_tag.size() && !isBlank(m_tag[end]) && m_tag[end] != '=') ++end;
  if (equalsUpper(m_tag.substr(m_pos, end - m_pos), word)) {
    m_pos = end;
    return true;
  }
  m_pos = saved;
  return false;
}

int THtxScanner::expectOneOf(std::initializer_list<std::string_view> names) {
  const std::size_t saved = m_pos;
  const std::string_view name = readName();
  int index = 0;
  for (std::string_view candidate : names) {
    if (!name.empty() && equalsUpper(name, candidate)) return index;
    ++index;
  }
  m_pos = saved;
  return -1;
}

std::string_view THtxScanner::readUpTo(char separator) {
  const std::size_t start = m_pos;
  const std::size_t end = m_tag.find(separator, m_pos);
  if (end == std::string_view::npos) {
    m_pos = m_tag.size();
    return m_tag.substr(start);
  }
  m_pos = end + 1;
  return m_tag.substr(start, end - start);
}

std::string_view THtxScanner::readValue() {
  skipBlanks();
  if (m_pos < m_tag.size() && m_tag[m_pos] == '"') {
    ++m_pos;
    return readUpTo('"');
  }
  const std::size_t start = m_pos;
  while (m_pos < m_tag.size() && !isBlank(m_tag[m_pos])) ++m_pos;
  return unquote(m_tag.substr(start, m_pos - start));
}

bool THtxScanner::seek(std::string_view name) {
  std::size_t from = m_pos;
  while (true) {
    const std::size_t at = findNoCase(m_tag, name, from);
    if (at == std::string_view::npos) return false;
    const std::size_t end = at + name.size();
    const bool startsWord = at == 0 || isBlank(m_tag[at - 1]) || m_tag[at - 1] == '"';
    const bool endsWord = end == m_tag.size() || isBlank(m_tag[end]) || m_tag[end] == '=';
    if (startsWord && endsWord) {
      m_pos = at;
      readName();
      return true;
    }
    from = at + 1;
  }
}

std::string_view THtxScanner::unquote(std::string_view value) {
  if (!value.empty() && value.front() == '"') value.remove_prefix(1);
  if (!value.empty() && value.back() == '"') value.remove_suffix(1);
  return value;
}

std::string_view THtxScanner::trim(std::string_view value) {
  while (!value.empty() && isBlank(value.front())) value.remove_prefix(1);
  while (!value.empty() && isBlank(value.back())) value.remove_suffix(1);
  return value;
}

int THtxScanner::parseInt(std::string_view value, int low, int high, int fallback) {
  value = trim(unquote(trim(value)));
  bool negative = false;
  if (!value.empty() && (value.front() == '+' || value.front() == '-')) {
    negative = value.front() == '-';
    value.remove_prefix(1);
  }
  if (value.empty()) return fallback;
  long long n = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return fallback;
    if (n < LLONG_MAX / 20) n = n * 10 + (c - '0');
  }
  if (negative) n = -n;
  if (n < low) return low;
  if (n > high) return high;
  return static_cast<int>(n);
}

std::vector<std::string> THtxScanner::split(std::string_view value, std::string_view separator) {
  std::vector<std::string> parts;
  while (true) {
    const std::size_t at = value.find(separator);
    if (at == std::string_view::npos) {
      parts.emplace_back(value);
      return parts;
    }
    parts.emplace_back(value.substr(0, at));
    value.remove_prefix(at + separator.size());
  }
}
