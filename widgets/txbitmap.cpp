// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/txbitmap.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "widgets/tcoveragemask.h"
#include "widgets/txblend.h"

namespace {

using zek::blend::TBlendSetup;

// Shapes beyond this many pixels from the origin are pulled in: it keeps the exact integer
// geometry of the masks far from overflow, and such shapes lie far outside any surface.
constexpr int64_t kCoordLimit = int64_t{1} << 24;

int64_t clampCoord(int64_t v) { return std::clamp(v, -kCoordLimit, kCoordLimit); }

struct TRect64 {
  int64_t left, top, right, bottom;
  bool isEmpty() const { return right <= left || bottom <= top; }
  TRect64 intersected(const TRect64& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
  }
};

std::array<uint8_t, 3> storedColor(uint32_t colorRef) {
  return {static_cast<uint8_t>(colorRef >> 16), static_cast<uint8_t>(colorRef >> 8), static_cast<uint8_t>(colorRef)};
}

// One corner ellipse of 2kx × 2ky pixels serves all four corners of a rectangle: each corner
// shows one quarter of it. A quarter covers box and maps a surface pixel p to the ellipse
// pixel p − offset.
struct TCornerQuarter {
  TRect64 box;
  int64_t offsetX, offsetY;
};

std::array<TCornerQuarter, 4> cornerQuarters(const TRect64& r, int64_t kx, int64_t ky) {
  return {{
      {{r.left, r.top, r.left + kx, r.top + ky}, r.left, r.top},
      {{r.right - kx, r.top, r.right, r.top + ky}, r.right - 2 * kx, r.top},
      {{r.left, r.bottom - ky, r.left + kx, r.bottom}, r.left, r.bottom - 2 * ky},
      {{r.right - kx, r.bottom - ky, r.right, r.bottom}, r.right - 2 * kx, r.bottom - 2 * ky},
  }};
}

// The corner mask, limited to the part of the ellipse that some visible quarter shows.
// With a ring width (sub-pixels) above 0 only the outline of that width is set.
std::optional<TCoverageMask> cornerMask(const std::array<TCornerQuarter, 4>& quarters, const TRect64& clip,
                                        int64_t kx, int64_t ky, int64_t ringWidth) {
  std::optional<TRect64> window;
  for (const auto& q : quarters) {
    const TRect64 v = q.box.intersected(clip);
    if (v.isEmpty()) continue;
    const TRect64 m{v.left - q.offsetX, v.top - q.offsetY, v.right - q.offsetX, v.bottom - q.offsetY};
    window = window ? TRect64{std::min(window->left, m.left), std::min(window->top, m.top),
                              std::max(window->right, m.right), std::max(window->bottom, m.bottom)}
                    : m;
  }
  if (!window) return std::nullopt;
  TCoverageMask mask(window->left, window->top, static_cast<int>(window->right - window->left),
                     static_cast<int>(window->bottom - window->top));
  const TRoundShape ellipse = TRoundShape::ellipse(0, 0, 8 * kx, 8 * ky);
  mask.add(ellipse);
  if (ringWidth > 0) mask.subtract(ellipse.inset(ringWidth));
  return mask;
}

}  // namespace

uint32_t TXBitmap::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
  const uint8_t* p = scanLine(y) + 3 * x;
  return static_cast<uint32_t>(p[2]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[0]) << 16);
}

void TXBitmap::setPixel(int x, int y, uint32_t color) {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
  const auto c = storedColor(color);
  std::memcpy(scanLine(y) + 3 * x, c.data(), 3);
}

TXBitmap TXBitmap::fromImage(const QImage& image) {
  TXBitmap b;
  b.assign(image);
  return b;
}

void TXBitmap::assign(const QImage& image) {
  if (image.isNull()) {
    setSize(0, 0);
    return;
  }
  if (image.hasAlphaChannel()) {
    // Premultiplied colour is exactly the colour over black.
    const QImage pm = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    setSize(pm.width(), pm.height());
    for (int y = 0; y < m_height; ++y) {
      const auto* src = reinterpret_cast<const QRgb*>(pm.constScanLine(y));
      uint8_t* dst = scanLine(y);
      for (int x = 0; x < m_width; ++x, dst += 3) {
        dst[0] = static_cast<uint8_t>(qBlue(src[x]));
        dst[1] = static_cast<uint8_t>(qGreen(src[x]));
        dst[2] = static_cast<uint8_t>(qRed(src[x]));
      }
    }
    return;
  }
  const QImage bgr = image.format() == QImage::Format_BGR888 ? image : image.convertToFormat(QImage::Format_BGR888);
  assignBgr(bgr.constBits(), bgr.width(), bgr.height(), static_cast<int>(bgr.bytesPerLine()));
}

void TXBitmap::assignBgr(const uint8_t* data, int width, int height, int strideBytes) {
  setSize(width, height);
  if (isEmpty() || data == nullptr) return;
  const size_t from = strideBytes > 0 ? static_cast<size_t>(strideBytes) : static_cast<size_t>(stride());
  for (int y = 0; y < m_height; ++y) std::memcpy(scanLine(y), data + from * static_cast<size_t>(y), stride());
}

void TXBitmap::assignRgb(const uint8_t* data, int width, int height, int strideBytes) {
  setSize(width, height);
  if (isEmpty() || data == nullptr) return;
  const size_t from = strideBytes > 0 ? static_cast<size_t>(strideBytes) : static_cast<size_t>(stride());
  for (int y = 0; y < m_height; ++y) {
    const uint8_t* src = data + from * static_cast<size_t>(y);
    uint8_t* dst = scanLine(y);
    for (int x = 0; x < m_width; ++x, src += 3, dst += 3) {
      dst[0] = src[2];
      dst[1] = src[1];
      dst[2] = src[0];
    }
  }
}

QImage TXBitmap::view() {
  if (isEmpty()) return {};
  return QImage(bits(), m_width, m_height, stride(), QImage::Format_BGR888);
}

QImage TXBitmap::toImage() const {
  if (isEmpty()) return {};
  return QImage(bits(), m_width, m_height, stride(), QImage::Format_BGR888).copy();
}

void TXBitmap::DrawBlended(int x, int y, int mode, const TXBitmap& picture) {
  if (isEmpty() || picture.isEmpty()) return;
  if (&picture == this) {
    const TXBitmap copy = picture;
    DrawBlended(x, y, mode, copy);
    return;
  }
  const TBlendSetup setup = zek::blend::makeSetup(mode, m_alpha, m_tint);
  if (setup.alpha == 0) return;  // every weight is 0
  const int64_t sx0 = std::max<int64_t>(0, -int64_t{x}), sy0 = std::max<int64_t>(0, -int64_t{y});
  const int64_t sx1 = std::min<int64_t>(picture.width(), int64_t{m_width} - x);
  const int64_t sy1 = std::min<int64_t>(picture.height(), int64_t{m_height} - y);
  if (sx0 >= sx1 || sy0 >= sy1) return;
  const int n = static_cast<int>(sx1 - sx0);
  uint8_t* dst = scanLine(static_cast<int>(y + sy0)) + 3 * (x + sx0);
  const uint8_t* src = picture.scanLine(static_cast<int>(sy0)) + 3 * sx0;
  if (setup.mode == 0 && setup.alpha == 255) {
    for (int64_t row = sy0; row < sy1; ++row, dst += stride(), src += picture.stride()) {
      std::memcpy(dst, src, static_cast<size_t>(n) * 3u);
    }
    return;
  }
  zek::blend::blendRect(dst, stride(), src, picture.stride(), n, static_cast<int>(sy1 - sy0), setup);
}

void TXBitmap::DrawRounded(int x, int y, const TXBitmap& picture, int mode, int radiusX, int radiusY, int bottom,
                           int right) {
  if (radiusX <= 0 || radiusY <= 0) {
    DrawBlended(x, y, mode, picture);
    return;
  }
  if (isEmpty() || picture.isEmpty()) return;
  if (&picture == this) {
    const TXBitmap copy = picture;
    DrawRounded(x, y, copy, mode, radiusX, radiusY, bottom, right);
    return;
  }
  const TBlendSetup setup = zek::blend::makeSetup(mode, m_alpha, m_tint);
  if (setup.alpha == 0) return;
  const TRect64 area{x, y, clampCoord(right), clampCoord(bottom)};
  if (area.isEmpty()) return;
  const TRect64 clip = area.intersected({x, y, int64_t{x} + picture.width(), int64_t{y} + picture.height()})
                           .intersected({0, 0, m_width, m_height});
  if (clip.isEmpty()) return;

  // Corner ellipse of 4 × ceil(radius / 2) sub-pixels in each direction from its centre, that is
  // whole pixels, so that the corners sit in whole pixels of the area and the rest is fully covered.
  int64_t kx = std::min({(int64_t{radiusX} + 1) / 2, (area.right - area.left) / 2, kCoordLimit});
  int64_t ky = std::min({(int64_t{radiusY} + 1) / 2, (area.bottom - area.top) / 2, kCoordLimit});
  if (kx == 0 || ky == 0) kx = ky = 0;
  const auto quarters = cornerQuarters(area, kx, ky);
  const std::optional<TCoverageMask> mask = kx > 0 ? cornerMask(quarters, clip, kx, ky, 0) : std::nullopt;

  std::vector<uint8_t> coverage(static_cast<size_t>(std::max<int64_t>(kx, 1)));
  auto drawCorner = [&](const TCornerQuarter& q, int64_t row, int64_t from, int64_t to) {
    if (from >= to) return;
    const int n = static_cast<int>(to - from);
    mask->coverageRow(from - q.offsetX, row - q.offsetY, n, coverage.data());
    uint8_t* dst = scanLine(static_cast<int>(row)) + 3 * from;
    const uint8_t* src = picture.scanLine(static_cast<int>(row - y)) + 3 * (from - x);
    for (int i = 0; i < n; ++i) zek::blend::blendPixelCoverage(dst + 3 * i, src + 3 * i, coverage[i], setup);
  };
  auto blendSpan = [&](int64_t row, int64_t from, int64_t to, int64_t rows) {
    if (from >= to || rows <= 0) return;
    zek::blend::blendRect(scanLine(static_cast<int>(row)) + 3 * from, stride(),
                          picture.scanLine(static_cast<int>(row - y)) + 3 * (from - x), picture.stride(),
                          static_cast<int>(to - from), static_cast<int>(rows), setup);
  };
  // Rows through the corners pixel by pixel at the ends; the rows between them in one go.
  auto bandRow = [&](int64_t row, const TCornerQuarter& leftQ, const TCornerQuarter& rightQ) {
    drawCorner(leftQ, row, clip.left, std::min(clip.right, area.left + kx));
    drawCorner(rightQ, row, std::max(clip.left, area.right - kx), clip.right);
    blendSpan(row, std::max(clip.left, area.left + kx), std::min(clip.right, area.right - kx), 1);
  };
  const int64_t midTop = mask ? std::max(clip.top, area.top + ky) : clip.top;
  const int64_t midBottom = mask ? std::min(clip.bottom, area.bottom - ky) : clip.bottom;
  for (int64_t row = clip.top; row < std::min(midTop, clip.bottom); ++row) bandRow(row, quarters[0], quarters[1]);
  blendSpan(midTop, clip.left, clip.right, midBottom - midTop);
  for (int64_t row = std::max(midBottom, midTop); row < clip.bottom; ++row) bandRow(row, quarters[2], quarters[3]);
}

namespace {

void fillRect(TXBitmap& bmp, TRect64 r, const std::array<uint8_t, 3>& color) {
  r = r.intersected({0, 0, bmp.width(), bmp.height()});
  if (r.isEmpty()) return;
  const int n = static_cast<int>(r.right - r.left);
  uint8_t* first = bmp.scanLine(static_cast<int>(r.top)) + 3 * r.left;
  zek::blend::fillRow(first, n, color);
  for (int64_t y = r.top + 1; y < r.bottom; ++y) {
    std::memcpy(bmp.scanLine(static_cast<int>(y)) + 3 * r.left, first, static_cast<size_t>(n) * 3u);
  }
}

// A plain (hard-edged) fill of a shape given in pixels: pixels whose centres lie inside.
void fillShapeHard(TXBitmap& bmp, const TRoundShape& shape, const std::array<uint8_t, 3>& color) {
  const int64_t y0 = std::max<int64_t>(shape.top, 0), y1 = std::min<int64_t>(shape.bottom, bmp.height());
  for (int64_t y = y0; y < y1; ++y) {
    int64_t x0, x1;
    if (shape.span(y, x0, x1)) fillRect(bmp, {x0, y, x1, y + 1}, color);
  }
}

// Moves the pixels of the mask's window (limited to clip) towards color by their coverage.
void coverWindow(TXBitmap& bmp, const TCoverageMask& mask, int64_t offsetX, int64_t offsetY, TRect64 clip,
                 const std::array<uint8_t, 3>& color) {
  clip = clip.intersected({mask.left() + offsetX, mask.top() + offsetY, mask.left() + offsetX + mask.width(),
                           mask.top() + offsetY + mask.height()})
             .intersected({0, 0, bmp.width(), bmp.height()});
  if (clip.isEmpty()) return;
  const int n = static_cast<int>(clip.right - clip.left);
  std::vector<uint8_t> coverage(static_cast<size_t>(n));
  for (int64_t y = clip.top; y < clip.bottom; ++y) {
    mask.coverageRow(clip.left - offsetX, y - offsetY, n, coverage.data());
    zek::blend::coverRow(bmp.scanLine(static_cast<int>(y)) + 3 * clip.left, coverage.data(), n, color);
  }
}

// Where a smooth shape lies, and whether anything is drawn at all: a pen of width 0 counts as
// no pen, a clear pen as width 0; without pen and with a clear brush nothing is drawn.
struct TShapeGeometry {
  TRect64 shape;  // the given rectangle, ordered
  TRect64 outer;  // grown by half the pen width on every side
  bool pen, brush;
  int64_t penWidth;
};

std::optional<TShapeGeometry> shapeGeometry(const TXBitmap& bmp, int left, int top, int right, int bottom) {
  const bool pen = bmp.pen().style == TXPenStyle::Solid && bmp.pen().width > 0;
  const bool brush = bmp.brush().style == TXBrushStyle::Solid;
  if (bmp.isEmpty() || (!pen && !brush)) return std::nullopt;
  const TRect64 shape{clampCoord(std::min(left, right)), clampCoord(std::min(top, bottom)),
                      clampCoord(std::max(left, right)), clampCoord(std::max(top, bottom))};
  if (shape.isEmpty()) return std::nullopt;
  const int64_t pw = pen ? std::min<int64_t>(bmp.pen().width, kCoordLimit) : 0;
  const int64_t h = pw / 2;
  return TShapeGeometry{shape, {shape.left - h, shape.top - h, shape.right + h, shape.bottom + h}, pen, brush, pw};
}

}  // namespace

void TXBitmap::SmoothEllipse(int left, int top, int right, int bottom) {
  const auto g = shapeGeometry(*this, left, top, right, bottom);
  if (!g) return;
  const auto& [shape, outer, pen, brush, pw] = *g;
  if (pen && brush) {
    fillShapeHard(*this, TRoundShape::ellipse(shape.left, shape.top, shape.right, shape.bottom),
                  storedColor(m_brush.color));
  }
  const TRect64 window = outer.intersected({0, 0, m_width, m_height});
  if (window.isEmpty()) return;
  TCoverageMask mask(window.left, window.top, static_cast<int>(window.right - window.left),
                     static_cast<int>(window.bottom - window.top));
  const TRoundShape ellipse = TRoundShape::ellipse(4 * outer.left, 4 * outer.top, 4 * outer.right, 4 * outer.bottom);
  mask.add(ellipse);
  if (pen) mask.subtract(ellipse.inset(4 * pw));
  coverWindow(*this, mask, 0, 0, window, storedColor(pen ? m_pen.color : m_brush.color));
}

void TXBitmap::SmoothRoundRect(int left, int top, int radiusX, int radiusY, int right, int bottom) {
  const auto g = shapeGeometry(*this, left, top, right, bottom);
  if (!g) return;
  const auto& [shape, outer, pen, brush, pw] = *g;
  const int64_t h = pw / 2;
  const bool rounded = radiusX > 0 && radiusY > 0;
  // Corner size: ceil(radius / 2) pixels on the pen's middle line, as for rounded pictures.
  const int64_t cx = rounded ? std::min<int64_t>((int64_t{radiusX} + 1) / 2, kCoordLimit) : 0;
  const int64_t cy = rounded ? std::min<int64_t>((int64_t{radiusY} + 1) / 2, kCoordLimit) : 0;
  int64_t kx = std::min((cx > 0 ? cx + h : 0), (outer.right - outer.left) / 2);
  int64_t ky = std::min((cy > 0 ? cy + h : 0), (outer.bottom - outer.top) / 2);
  if (kx == 0 || ky == 0) kx = ky = 0;

  if (pen && brush) {
    fillShapeHard(*this, {shape.left, shape.top, shape.right, shape.bottom, cx, cy}, storedColor(m_brush.color));
  }
  const auto color = storedColor(pen ? m_pen.color : m_brush.color);
  if (pen) {
    fillRect(*this, {outer.left + kx, outer.top, outer.right - kx, outer.top + pw}, color);
    fillRect(*this, {outer.left + kx, outer.bottom - pw, outer.right - kx, outer.bottom}, color);
    fillRect(*this, {outer.left, outer.top + ky, outer.left + pw, outer.bottom - ky}, color);
    fillRect(*this, {outer.right - pw, outer.top + ky, outer.right, outer.bottom - ky}, color);
  } else {
    fillRect(*this, {outer.left + kx, outer.top, outer.right - kx, outer.bottom}, color);
    fillRect(*this, {outer.left, outer.top + ky, outer.left + kx, outer.bottom - ky}, color);
    fillRect(*this, {outer.right - kx, outer.top + ky, outer.right, outer.bottom - ky}, color);
  }
  if (kx == 0) return;
  const TRect64 surface{0, 0, m_width, m_height};
  const auto quarters = cornerQuarters(outer, kx, ky);
  const std::optional<TCoverageMask> mask = cornerMask(quarters, surface, kx, ky, 4 * pw);
  if (!mask) return;
  for (const auto& q : quarters) coverWindow(*this, *mask, q.offsetX, q.offsetY, q.box, color);
}

void TXBitmap::FillColor(uint32_t color, TXByteOrder order) {
  if (isEmpty()) return;
  const std::array<uint8_t, 3> c =
      order == TXByteOrder::ColorRef
          ? storedColor(color)
          : std::array<uint8_t, 3>{static_cast<uint8_t>(color), static_cast<uint8_t>(color >> 8),
                                   static_cast<uint8_t>(color >> 16)};
  uint8_t* first = scanLine(0);
  zek::blend::fillRow(first, m_width, c);
  for (int y = 1; y < m_height; ++y) std::memcpy(scanLine(y), first, static_cast<size_t>(stride()));
}
