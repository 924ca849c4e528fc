#pragma once

#include <cstdint>
#include <vector>

// The 24-bit drawing surface: pixels stored blue, green, red, rows of exactly the
// picture's width (no padding), top row first. Blending and smooth shapes build on this.
class TXBitmap {
 public:
  TXBitmap() = default;
  TXBitmap(int width, int height) { setSize(width, height); }

  int width() const { return m_width; }
  int height() const { return m_height; }
  bool isEmpty() const { return m_width <= 0 || m_height <= 0; }
  int stride() const { return m_width * 3; }

  // Contents are undefined after a resize.
  void setSize(int width, int height) {
    m_width = width > 0 ? width : 0;
    m_height = height > 0 ? height : 0;
    m_bits.assign(static_cast<size_t>(m_width) * static_cast<size_t>(m_height) * 3u, 0);
  }

  uint8_t* bits() { return m_bits.data(); }
  const uint8_t* bits() const { return m_bits.data(); }
  uint8_t* scanLine(int y) { return m_bits.data() + static_cast<size_t>(y) * static_cast<size_t>(stride()); }
  const uint8_t* scanLine(int y) const {
    return m_bits.data() + static_cast<size_t>(y) * static_cast<size_t>(stride());
  }

 private:
  int m_width = 0;
  int m_height = 0;
  std::vector<uint8_t> m_bits;
};
