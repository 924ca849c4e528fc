// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/tzipresource.h"

#include "platform/builtinresources.h"
#include "platform/files.h"

std::string TXStream::readLine() {
  const size_t start = m_pos;
  while (m_pos < m_data.size() && static_cast<unsigned char>(m_data[m_pos]) >= 32) ++m_pos;
  std::string line = m_data.substr(start, m_pos - start);
  if (m_pos < m_data.size()) {
    if (m_data[m_pos] == '\r' && m_pos + 1 < m_data.size() && m_data[m_pos + 1] == '\n') ++m_pos;
    ++m_pos;
  }
  return line;
}

TZIPResource::TZIPResource(int blockNumber) { load(compressedBlock(blockNumber)); }

TZIPResource TZIPResource::fromCompressed(std::string_view compressed) {
  TZIPResource r;
  r.load(compressed);
  return r;
}

void TZIPResource::load(std::string_view compressed) {
  auto data = compressed.empty() ? std::nullopt : zek::inflateZlib(compressed);
  m_stream = TXStream(data ? std::move(*data) : std::string());
}
