// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/tcoveragemask.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t kNibbleBits[16] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};

}  // namespace

TCoverageMask::TCoverageMask(int64_t left, int64_t top, int width, int height)
    : m_left(left),
      m_top(top),
      m_width(std::max(width, 0)),
      m_height(std::max(height, 0)),
      m_rowBytes((m_width + 1) / 2),
      m_bits(static_cast<size_t>(m_rowBytes) * static_cast<size_t>(m_height) * 4u, 0) {}

void TCoverageMask::add(const TRoundShape& shape) { paint(shape, true); }

void TCoverageMask::subtract(const TRoundShape& shape) {
  m_convex = false;
  paint(shape, false);
}

void TCoverageMask::paint(const TRoundShape& shape, bool on) {
  const int64_t subLeft = 4 * m_left, subRight = 4 * (m_left + m_width);
  for (int row = 0; row < 4 * m_height; ++row) {
    int64_t x0, x1;
    if (!shape.span(4 * m_top + row, x0, x1)) continue;
    x0 = std::max(x0, subLeft);
    x1 = std::min(x1, subRight);
    if (x0 < x1) setBits(row, x0 - subLeft, x1 - subLeft, on);
  }
}

void TCoverageMask::setBits(int subRow, int64_t from, int64_t to, bool on) {
  uint8_t* row = m_bits.data() + static_cast<size_t>(subRow) * static_cast<size_t>(m_rowBytes);
  auto touch = [&](int64_t byte, uint8_t bits) {
    if (on) {
      row[byte] |= bits;
    } else {
      row[byte] &= static_cast<uint8_t>(~bits);
    }
  };
  const int64_t firstByte = from >> 3, lastByte = (to - 1) >> 3;
  const auto headBits = static_cast<uint8_t>(0xFFu >> (from & 7));
  const auto tailBits = static_cast<uint8_t>(0xFFu << (7 - ((to - 1) & 7)));
  if (firstByte == lastByte) {
    touch(firstByte, headBits & tailBits);
    return;
  }
  touch(firstByte, headBits);
  if (lastByte > firstByte + 1) {
    std::memset(row + firstByte + 1, on ? 0xFF : 0, static_cast<size_t>(lastByte - firstByte - 1));
  }
  touch(lastByte, tailBits);
}

int TCoverageMask::coverage(int64_t x, int64_t y) const {
  if (x < m_left || y < m_top || x >= m_left + m_width || y >= m_top + m_height) return 0;
  uint8_t c;
  coverageRow(x, y, 1, &c);
  return c;
}

void TCoverageMask::coverageRow(int64_t x, int64_t y, int n, uint8_t* out) const {
  const auto ly = static_cast<size_t>(y - m_top);
  const auto rb = static_cast<size_t>(m_rowBytes);
  const uint8_t* r0 = m_bits.data() + ly * 4u * rb;
  const uint8_t* r1 = r0 + rb;
  const uint8_t* r2 = r1 + rb;
  const uint8_t* r3 = r2 + rb;
  for (int i = 0; i < n; ++i) {
    const auto px = static_cast<size_t>(x - m_left + i);
    const size_t q = px >> 1;
    if (m_convex && r0[q] == 0xFF && r3[q] == 0xFF) {
      out[i] = 16;
      continue;
    }
    const int shift = (px & 1) ? 0 : 4;
    out[i] = static_cast<uint8_t>(kNibbleBits[(r0[q] >> shift) & 15] + kNibbleBits[(r1[q] >> shift) & 15] +
                                  kNibbleBits[(r2[q] >> shift) & 15] + kNibbleBits[(r3[q] >> shift) & 15]);
  }
}
