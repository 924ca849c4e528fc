// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// A memory stream with a line reader. A line runs up to the first character below 32;
// CR LF is skipped as one, any other control character alone.
class TXStream {
 public:
  TXStream() = default;
  explicit TXStream(std::string data) : m_data(std::move(data)) {}

  std::string readLine();
  bool endReached() const { return m_pos >= m_data.size(); }
  void rewind() { m_pos = 0; }
  const std::string& data() const { return m_data; }
  size_t position() const { return m_pos; }

 private:
  std::string m_data;
  size_t m_pos = 0;
};

// A built-in data block (1 lab sentences, 2 verb table, 3 answer pool), decompressed
// completely when the reader is made. A block that does not inflate reads as empty.
class TZIPResource {
 public:
  explicit TZIPResource(int blockNumber);
  // From compressed bytes (tests and tools).
  static TZIPResource fromCompressed(std::string_view compressed);

  std::string readLine() { return m_stream.readLine(); }
  bool endReached() const { return m_stream.endReached(); }
  void rewind() { m_stream.rewind(); }
  const std::string& data() const { return m_stream.data(); }

 private:
  TZIPResource() = default;
  void load(std::string_view compressed);
  TXStream m_stream;
};
