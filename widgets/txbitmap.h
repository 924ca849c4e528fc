// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

enum class TXPenStyle { Clear, Solid };
enum class TXBrushStyle { Clear, Solid };

// Colours are 0x00BBGGRR (red in the lowest byte), as everywhere in the system.
struct TXPen {
  uint32_t color = 0x000000;
  int width = 1;
  TXPenStyle style = TXPenStyle::Solid;
};

struct TXBrush {
  uint32_t color = 0xFFFFFF;
  TXBrushStyle style = TXBrushStyle::Solid;
};

// How FillColor reads its colour value: as a system colour (red in the lowest byte) or in the
// order of the stored pixel bytes (blue in the lowest byte).
enum class TXByteOrder { ColorRef, Bgr };

// The 24-bit drawing surface: pixels stored blue, green, red, rows of exactly the
// picture's width (no padding), top row first. On top of plain pixels it draws pictures with an
// opacity and a blend mode, pictures clipped to smooth rounded rectangles, and smooth shapes.
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

  // Pixel as a system colour; (0, 0, 0) outside. setPixel ignores positions outside.
  uint32_t pixel(int x, int y) const;
  void setPixel(int x, int y, uint32_t color);

  // Conversion of decoded pictures to 24 bits. Transparent parts of a picture with an alpha
  // channel come out as its colour over black.
  static TXBitmap fromImage(const QImage& image);
  void assign(const QImage& image);
  // Raw buffers of width × height pixels with rows strideBytes apart (0: packed rows).
  void assignBgr(const uint8_t* data, int width, int height, int strideBytes = 0);
  void assignRgb(const uint8_t* data, int width, int height, int strideBytes = 0);

  // A QImage (Format_BGR888, bytesPerLine = stride) over the bitmap's own pixels, without a copy:
  // a QPainter on it draws onto the bitmap. Valid until the next setSize or assign.
  QImage view();
  // A deep copy as a QImage of the same format.
  QImage toImage() const;

  // Global opacity 0 to 255 (values outside are clamped) and tint colour.
  int XAlpha() const { return m_alpha; }
  void setXAlpha(int alpha) { m_alpha = alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha); }
  uint32_t XColor() const { return m_tint; }
  void setXColor(uint32_t color) { m_tint = color & 0xFFFFFFu; }

  const TXPen& pen() const { return m_pen; }
  void setPen(const TXPen& pen) { m_pen = pen; }
  const TXBrush& brush() const { return m_brush; }
  void setBrush(const TXBrush& brush) { m_brush = brush; }

  // Draws picture with its top-left corner at (x, y) through the blend mode (1 to 8; any other
  // value is mode 0) and XAlpha. Parts outside the surface are skipped.
  void DrawBlended(int x, int y, int mode, const TXBitmap& picture);
  // As DrawBlended, but clipped to the area from (x, y) to (right, bottom) (exclusive) with smooth
  // rounded corners; a radius of 0 is DrawBlended.
  void DrawRounded(int x, int y, const TXBitmap& picture, int mode, int radiusX, int radiusY, int bottom, int right);

  // Smooth shapes with the current pen and brush; right and bottom are exclusive.
  void SmoothEllipse(int left, int top, int right, int bottom);
  void SmoothRoundRect(int left, int top, int radiusX, int radiusY, int right, int bottom);

  void FillColor(uint32_t color, TXByteOrder order = TXByteOrder::ColorRef);

 private:
  int m_width = 0;
  int m_height = 0;
  std::vector<uint8_t> m_bits;
  int m_alpha = 255;
  uint32_t m_tint = 0;
  TXPen m_pen;
  TXBrush m_brush;
};
