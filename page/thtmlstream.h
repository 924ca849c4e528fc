// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The growable in-memory byte stream a trainer writes its generated markup into, piece by
// piece. Writes append the bytes as they are (no terminator). A write that would take the
// stream beyond its limit fails and leaves the stream as it was.
class THTMLStream {
 public:
  static constexpr std::size_t kDefaultLimit = 64u << 20;

  explicit THTMLStream(std::size_t limit = kDefaultLimit) : m_limit(limit) {}

  // False, with the reason in error(), when the text does not fit.
  bool Write(std::string_view text);
  THTMLStream& operator<<(std::string_view text) {
    Write(text);
    return *this;
  }

  const std::string& data() const { return m_data; }
  std::size_t size() const { return m_data.size(); }
  bool empty() const { return m_data.empty(); }
  void clear() { m_data.clear(); }
  const std::string& error() const { return m_error; }

 private:
  std::string m_data;
  std::size_t m_limit;
  std::string m_error;
};
