// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/txbitmap.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>
#include <array>
#include <climits>
#include <cstring>
#include <random>
#include <set>
#include <vector>

#include "widgets/txblend.h"

namespace {

using zek::blend::TKernel;

// --- Reference: the blend table written out pixel by pixel, with floor division spelled out
// (not shifts) so that the arithmetic shifts of the kernels are checked, too.

int floorDiv(int a, int b) {
  int q = a / b;
  if (a % b != 0 && ((a < 0) != (b < 0))) --q;
  return q;
}

int refWeight(int mode, int alpha, int b) {
  switch (mode) {
    case 1: case 3: case 6: case 8: return floorDiv(b * alpha, 256);
    case 2: case 4: case 5: case 7: return floorDiv((255 - b) * alpha, 256);
    default: return alpha;
  }
}

void refEffect(uint8_t* d, const uint8_t* s, int mode, int w, const uint8_t* tint) {
  for (int c = 0; c < 3; ++c) {
    const int dv = d[c];
    int r;
    switch (mode) {
      case 3: case 5: r = dv + floorDiv((255 - dv) * w, 256); break;
      case 4: case 6: r = dv - floorDiv(w * dv, 256); break;
      case 7: case 8: r = dv + floorDiv((tint[c] - dv) * w, 256); break;
      default: r = dv + floorDiv(w * (s[c] - dv), 256); break;
    }
    ASSERT_GE(r, 0);
    ASSERT_LE(r, 255);
    d[c] = static_cast<uint8_t>(r);
  }
}

int normalMode(int mode) { return mode >= 1 && mode <= 8 ? mode : 0; }

std::array<uint8_t, 3> stored(uint32_t colorRef) {
  return {uint8_t(colorRef >> 16), uint8_t(colorRef >> 8), uint8_t(colorRef)};
}

void refDrawBlended(TXBitmap& dst, int x, int y, int mode, const TXBitmap& pic, int alpha, uint32_t tint) {
  mode = normalMode(mode);
  const auto t = stored(tint);
  for (int row = 0; row < pic.height(); ++row) {
    for (int col = 0; col < pic.width(); ++col) {
      const long long tx = static_cast<long long>(x) + col, ty = static_cast<long long>(y) + row;
      if (tx < 0 || ty < 0 || tx >= dst.width() || ty >= dst.height()) continue;
      uint8_t* d = dst.scanLine(static_cast<int>(ty)) + 3 * tx;
      const uint8_t* s = pic.scanLine(row) + 3 * col;
      if (mode == 0 && alpha == 255) {
        std::memcpy(d, s, 3);
        continue;
      }
      const int b = (s[0] + s[1] + s[2]) / 3;
      refEffect(d, s, mode, refWeight(mode, alpha, b), t.data());
    }
  }
}

// Sub-pixel (i, j) of a rounded rectangle of w × h sub-pixels with corner semi-axes a, b:
// its centre must lie inside, measured from the nearest corner centre (doubled coordinates).
bool refInside(long long i, long long j, long long w, long long h, long long a, long long b) {
  if (i < 0 || j < 0 || i >= w || j >= h) return false;
  if (a == 0 || b == 0) return true;
  const long long x = 2 * i + 1, y = 2 * j + 1;
  const long long dx = x - std::clamp(x, 2 * a, 2 * w - 2 * a);
  const long long dy = y - std::clamp(y, 2 * b, 2 * h - 2 * b);
  return static_cast<__int128>(dx * dx) * b * b + static_cast<__int128>(dy * dy) * a * a <=
         static_cast<__int128>(4) * a * a * b * b;
}

struct RoundRef {
  long long left, top, w, h, a, b;  // sub-pixels
  bool inside(long long i, long long j) const { return refInside(i - left, j - top, w, h, a, b); }
};

// Coverage of target pixel (x, y): set sub-pixels of outer that are not in inner.
int refCoverage(int x, int y, const RoundRef& outer, const RoundRef* inner) {
  int c = 0;
  for (int j = 4 * y; j < 4 * y + 4; ++j) {
    for (int i = 4 * x; i < 4 * x + 4; ++i) {
      if (outer.inside(i, j) && !(inner && inner->inside(i, j))) ++c;
    }
  }
  return c;
}

void refDrawRounded(TXBitmap& dst, int x, int y, const TXBitmap& pic, int mode, int rx, int ry, int bottom, int right,
                    int alpha, uint32_t tint) {
  mode = normalMode(mode);
  const auto t = stored(tint);
  const long long w = right - x, h = bottom - y;
  long long kx = std::min<long long>((rx + 1) / 2, w / 2), ky = std::min<long long>((ry + 1) / 2, h / 2);
  if (kx == 0 || ky == 0) kx = ky = 0;
  const RoundRef shape{0, 0, 4 * w, 4 * h, 4 * kx, 4 * ky};
  for (int row = 0; row < std::min<long long>(pic.height(), h); ++row) {
    for (int col = 0; col < std::min<long long>(pic.width(), w); ++col) {
      const long long tx = x + col, ty = y + row;
      if (tx < 0 || ty < 0 || tx >= dst.width() || ty >= dst.height()) continue;
      const int c = refCoverage(col, row, shape, nullptr);
      uint8_t* d = dst.scanLine(static_cast<int>(ty)) + 3 * tx;
      const uint8_t* s = pic.scanLine(row) + 3 * col;
      const int b = (s[0] + s[1] + s[2]) / 3;
      int wgt;
      switch (mode) {
        case 1: case 3: case 6: case 8: wgt = c * b / 16; break;
        case 2: case 4: case 5: case 7: wgt = c * (255 - b) / 16; break;
        default: wgt = c * 16; break;
      }
      if (wgt != 0) wgt = wgt * alpha / 256;
      refEffect(d, s, mode, wgt, t.data());
    }
  }
}

// d += c × (colour − d) >> 4 for every pixel of the box, coverage from the reference shapes.
void refCover(TXBitmap& dst, long long x0, long long y0, long long x1, long long y1, const RoundRef& outer,
              const RoundRef* inner, uint32_t color) {
  const auto col = stored(color);
  for (long long y = std::max(y0, 0LL); y < std::min<long long>(y1, dst.height()); ++y) {
    for (long long x = std::max(x0, 0LL); x < std::min<long long>(x1, dst.width()); ++x) {
      const int c = refCoverage(static_cast<int>(x), static_cast<int>(y), outer, inner);
      uint8_t* d = dst.scanLine(static_cast<int>(y)) + 3 * x;
      for (int k = 0; k < 3; ++k) d[k] = static_cast<uint8_t>(d[k] + floorDiv(c * (col[k] - d[k]), 16));
    }
  }
}

// Random pixels; a share of them at the extremes 0 and 255, where overflow would show.
TXBitmap randomBitmap(int w, int h, unsigned seed) {
  TXBitmap b(w, h);
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> byte(0, 255), pick(0, 9);
  for (size_t i = 0; i < static_cast<size_t>(b.stride()) * static_cast<size_t>(h); ++i) {
    const int p = pick(rng);
    b.bits()[i] = static_cast<uint8_t>(p == 0 ? 0 : (p == 1 ? 255 : byte(rng)));
  }
  return b;
}

TXBitmap solid(int w, int h, uint32_t color) {
  TXBitmap b(w, h);
  b.FillColor(color);
  return b;
}

bool sameBits(const TXBitmap& a, const TXBitmap& b) {
  return a.width() == b.width() && a.height() == b.height() &&
         std::memcmp(a.bits(), b.bits(), static_cast<size_t>(a.stride()) * static_cast<size_t>(a.height())) == 0;
}

std::vector<TKernel> kernels() {
  std::vector<TKernel> k{TKernel::Scalar};
  for (TKernel v : {TKernel::Avx2, TKernel::Avx512}) {
    if (zek::blend::kernelAvailable(v)) k.push_back(v);
  }
  return k;
}

const char* kernelName(TKernel k) {
  switch (k) {
    case TKernel::Avx2: return "avx2";
    case TKernel::Avx512: return "avx512";
    case TKernel::Scalar: break;
  }
  return "scalar";
}

class KernelGuard {
 public:
  explicit KernelGuard(TKernel k) { zek::blend::forceKernel(k); }
  ~KernelGuard() { zek::blend::resetKernel(); }
};

constexpr int kModes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 100, 255, -1};
constexpr int kAlphas[] = {0, 1, 127, 128, 200, 254, 255};

// --- DrawBlended

TEST(TXBitmapBlend, EveryModeMatchesTheTableOnRandomPictures) {
  struct Placement {
    int x, y, pw, ph;
  };
  // Surface 100 × 60; pictures inside, over every edge, larger than the surface, outside.
  const Placement placements[] = {{0, 0, 77, 41},    {5, 11, 64, 33},   {-7, -3, 70, 20},  {60, 40, 77, 41},
                                  {-30, -20, 160, 100}, {100, 0, 10, 10}, {0, 60, 10, 10},  {-77, 5, 77, 41},
                                  {3, -41, 77, 41},  {99, 59, 5, 5},    {13, 7, 1, 1},     {2, 2, 33, 3}};
  for (TKernel k : kernels()) {
    KernelGuard guard(k);
    unsigned seed = 1;
    for (int mode : kModes) {
      for (int alpha : kAlphas) {
        for (const auto& p : placements) {
          SCOPED_TRACE(testing::Message() << kernelName(k) << " mode " << mode << " alpha " << alpha << " at " << p.x
                                          << "," << p.y << " size " << p.pw << "x" << p.ph);
          TXBitmap surface = randomBitmap(100, 60, ++seed);
          const TXBitmap pic = randomBitmap(p.pw, p.ph, ++seed);
          TXBitmap expected = surface;
          surface.setXAlpha(alpha);
          surface.setXColor(0x3380F0);
          surface.DrawBlended(p.x, p.y, mode, pic);
          refDrawBlended(expected, p.x, p.y, mode, pic, alpha, 0x3380F0);
          ASSERT_TRUE(sameBits(surface, expected));
        }
      }
    }
  }
}

TEST(TXBitmapBlend, LongRowsMatchTheTableForEveryTintAndWidth) {
  // Widths around the 32-pixel vector blocks, several tint colours.
  for (TKernel k : kernels()) {
    KernelGuard guard(k);
    for (int w : {31, 32, 33, 63, 64, 65, 96, 129, 800}) {
      for (uint32_t tint : {0x000000u, 0xFFFFFFu, 0x0000FFu, 0x12AB7Fu}) {
        for (int mode = 0; mode <= 8; ++mode) {
          SCOPED_TRACE(testing::Message() << kernelName(k) << " width " << w << " tint " << tint << " mode " << mode);
          TXBitmap surface = randomBitmap(w, 3, w * 7 + mode);
          const TXBitmap pic = randomBitmap(w, 3, w * 13 + mode);
          TXBitmap expected = surface;
          surface.setXAlpha(201);
          surface.setXColor(tint);
          surface.DrawBlended(0, 0, mode, pic);
          refDrawBlended(expected, 0, 0, mode, pic, 201, tint);
          ASSERT_TRUE(sameBits(surface, expected));
        }
      }
    }
  }
}

TEST(TXBitmapBlend, EveryRowRestMatchesTheTable) {
  // Pictures 1 to 70 pixels wide inside a wider surface, so that rows are apart in memory and
  // every rest after the vector blocks (32 or 64 pixels) occurs, alone and after a block.
  for (TKernel k : kernels()) {
    KernelGuard guard(k);
    for (int w = 1; w <= 70; ++w) {
      for (int mode = 0; mode <= 8; ++mode) {
        for (int alpha : {1, 200, 255}) {
          SCOPED_TRACE(testing::Message() << kernelName(k) << " width " << w << " mode " << mode << " alpha " << alpha);
          TXBitmap surface = randomBitmap(75, 4, w * 31 + mode);
          const TXBitmap pic = randomBitmap(w, 3, w * 17 + mode);
          TXBitmap expected = surface;
          surface.setXAlpha(alpha);
          surface.setXColor(0x5A10E0);
          surface.DrawBlended(3, 1, mode, pic);
          refDrawBlended(expected, 3, 1, mode, pic, alpha, 0x5A10E0);
          ASSERT_TRUE(sameBits(surface, expected));
        }
      }
    }
  }
}

TEST(TXBitmapBlend, KnownValues) {
  struct Case {
    const char* what;
    int mode, alpha;
    uint32_t target, source, tint, expected;
  };
  const Case cases[] = {
      // Half and half: 100 + 128·100 >> 8 = 150; 255 + (128·(−255) >> 8) = 255 − 128 = 127.
      {"alpha 128 up", 0, 128, 0x646464, 0xC8C8C8, 0, 0x969696},
      {"alpha 128 down", 0, 128, 0xFFFFFF, 0x000000, 0, 0x7F7F7F},
      {"alpha 0", 0, 0, 0x123456, 0xFFFFFF, 0, 0x123456},
      {"alpha 255 copies", 0, 255, 0x000000, 0xFFFFFF, 0, 0xFFFFFF},
      // The shift of a negative difference rounds down: 1·(−255) >> 8 = −1.
      {"arithmetic shift", 0, 1, 0xFFFFFF, 0x000000, 0, 0xFEFEFE},
      {"positive truncates", 0, 1, 0x000000, 0xFFFFFF, 0, 0x000000},
      {"mode 9 is mode 0", 9, 128, 0xFFFFFF, 0x000000, 0, 0x7F7F7F},
      // Tint with a white picture changes nothing; a black one tints with weight 254.
      {"tint white picture", 7, 255, 0x204060, 0xFFFFFF, 0xFF0000, 0x204060},
      {"tint black picture up", 7, 255, 0x000000, 0x000000, 0xFFFFFF, 0xFDFDFD},
      {"tint black picture down", 7, 255, 0xFFFFFF, 0x000000, 0x000000, 0x010101},
      {"mode 8 white picture", 8, 255, 0x000000, 0xFFFFFF, 0x0000FF, 0x0000FD},
      // Lighten with a white picture: 0 + 255·254 >> 8 = 253; darken: 255 − (254·255 >> 8) = 2.
      {"lighten", 3, 255, 0x000000, 0xFFFFFF, 0, 0xFDFDFD},
      {"darken", 4, 255, 0xFFFFFF, 0x000000, 0, 0x020202},
      {"lighten dark picture", 5, 255, 0x000000, 0x000000, 0, 0xFDFDFD},
      {"darken bright picture", 6, 255, 0xFFFFFF, 0xFFFFFF, 0, 0x020202},
      {"bright mix of black", 1, 255, 0x808080, 0x000000, 0, 0x808080},
      {"dark mix of black", 2, 255, 0xFFFFFF, 0x000000, 0, 0x010101},
  };
  for (TKernel k : kernels()) {
    KernelGuard guard(k);
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << kernelName(k) << ": " << c.what);
      // 40 pixels, so that the vector kernels see the case as well as the scalar tail.
      TXBitmap surface = solid(40, 2, c.target);
      surface.setXAlpha(c.alpha);
      surface.setXColor(c.tint);
      surface.DrawBlended(0, 0, c.mode, solid(40, 2, c.source));
      for (int x : {0, 20, 39}) EXPECT_EQ(surface.pixel(x, 1), c.expected) << "x " << x;
    }
  }
}

TEST(TXBitmapBlend, XAlphaIsClampedAndXColorKeepsItsBytes) {
  TXBitmap b;
  EXPECT_EQ(b.XAlpha(), 255);
  EXPECT_EQ(b.XColor(), 0u);
  b.setXAlpha(300);
  EXPECT_EQ(b.XAlpha(), 255);
  b.setXAlpha(-5);
  EXPECT_EQ(b.XAlpha(), 0);
  b.setXColor(0xFF123456);
  EXPECT_EQ(b.XColor(), 0x123456u);
}

TEST(TXBitmapBlend, DrawingOntoItselfUsesTheOldPixels) {
  TXBitmap surface = randomBitmap(50, 30, 5);
  TXBitmap expected = surface;
  const TXBitmap copy = surface;
  surface.setXAlpha(150);
  expected.setXAlpha(150);
  surface.DrawBlended(3, 2, 1, surface);
  expected.DrawBlended(3, 2, 1, copy);
  EXPECT_TRUE(sameBits(surface, expected));
}

TEST(TXBitmapBlend, FarAwayOffsetsAndEmptyPicturesChangeNothing) {
  TXBitmap surface = randomBitmap(20, 20, 9);
  const TXBitmap before = surface;
  const TXBitmap pic = randomBitmap(10, 10, 10);
  surface.setXAlpha(100);
  surface.DrawBlended(INT_MAX, INT_MIN, 0, pic);
  surface.DrawBlended(INT_MIN, INT_MAX, 3, pic);
  surface.DrawBlended(INT_MAX - 5, 0, 0, pic);
  surface.DrawBlended(0, 0, 0, TXBitmap());
  surface.DrawRounded(INT_MAX - 5, INT_MAX - 5, pic, 0, 10, 10, INT_MAX, INT_MAX);
  surface.DrawRounded(INT_MIN, INT_MIN, pic, 0, 10, 10, INT_MIN + 8, INT_MIN + 8);
  EXPECT_TRUE(sameBits(surface, before));
  TXBitmap empty;
  empty.DrawBlended(0, 0, 0, pic);
  empty.SmoothEllipse(0, 0, 10, 10);
  empty.FillColor(0xFFFFFF);
  EXPECT_TRUE(empty.isEmpty());
}

// --- DrawRounded

TEST(TXBitmapRounded, MatchesTheCoverageMaskAndWeightRules) {
  struct Case {
    int x, y, pw, ph, rx, ry, right, bottom;
  };
  // Surface 90 × 70.
  const Case cases[] = {
      {10, 8, 60, 50, 30, 30, 70, 58},     // area equals the picture
      {10, 8, 60, 50, 7, 12, 60, 50},      // area smaller than the picture, uneven radii
      {10, 8, 40, 30, 20, 20, 80, 60},     // area larger than the picture: lower corners never drawn
      {-15, -12, 60, 50, 30, 30, 45, 38},  // clipped at the top and left, through the corners
      {50, 40, 60, 50, 30, 30, 110, 90},   // clipped at the right and bottom
      {-20, -20, 130, 110, 40, 40, 110, 90},  // larger than the surface on every side
      {5, 5, 21, 13, 200, 200, 26, 18},    // radius larger than the area (clamped), odd sizes
      {5, 5, 30, 30, 1, 1, 35, 35},        // the smallest corners
      {5, 5, 30, 30, 31, 5, 35, 35},
      {3, 4, 1, 9, 9, 9, 4, 13},           // one pixel wide
      {5, -40, 30, 50, 20, 20, 35, 10},    // only rows of the lower corners visible
      {5, 60, 30, 50, 20, 20, 35, 110},    // only rows of the upper corners visible
      {0, 0, 90, 70, 16, 10, 90, 70},      // the whole surface: the rows between the corners in one go
  };
  for (TKernel k : kernels()) {
    KernelGuard guard(k);
    unsigned seed = 100;
    for (const auto& c : cases) {
      for (int mode : {0, 1, 2, 3, 4, 5, 6, 7, 8, 42}) {
        for (int alpha : {255, 128, 1}) {
          SCOPED_TRACE(testing::Message() << kernelName(k) << " mode " << mode << " alpha " << alpha << " at " << c.x
                                          << "," << c.y << " radius " << c.rx << "," << c.ry);
          TXBitmap surface = randomBitmap(90, 70, ++seed);
          const TXBitmap pic = randomBitmap(c.pw, c.ph, ++seed);
          TXBitmap expected = surface;
          surface.setXAlpha(alpha);
          surface.setXColor(0xC02040);
          surface.DrawRounded(c.x, c.y, pic, mode, c.rx, c.ry, c.bottom, c.right);
          refDrawRounded(expected, c.x, c.y, pic, mode, c.rx, c.ry, c.bottom, c.right, alpha, 0xC02040);
          ASSERT_TRUE(sameBits(surface, expected));
        }
      }
    }
  }
}

TEST(TXBitmapRounded, RadiusZeroIsDrawBlended) {
  for (int mode : {0, 3, 7}) {
    for (int alpha : {255, 128}) {
      for (auto [rx, ry] : {std::pair{0, 0}, std::pair{0, 20}, std::pair{20, 0}, std::pair{-4, -4}}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode << " alpha " << alpha << " radius " << rx << "," << ry);
        TXBitmap a = randomBitmap(60, 40, 77), b = a;
        const TXBitmap pic = randomBitmap(50, 30, 78);
        a.setXAlpha(alpha);
        b.setXAlpha(alpha);
        a.DrawRounded(-5, 4, pic, mode, rx, ry, 10, 10);
        b.DrawBlended(-5, 4, mode, pic);
        EXPECT_TRUE(sameBits(a, b));
      }
    }
  }
}

TEST(TXBitmapRounded, CornersAreSmoothAndTheInsideIsThePicture) {
  TXBitmap surface = solid(100, 100, 0x000000);
  surface.setXAlpha(255);
  surface.DrawRounded(0, 0, solid(100, 100, 0xFFFFFF), 0, 60, 60, 100, 100);
  EXPECT_EQ(surface.pixel(0, 0), 0x000000u);
  EXPECT_EQ(surface.pixel(99, 99), 0x000000u);
  // Full coverage at opacity 255: weight 16·16·255 >> 8 = 255, so 0 + 255·255 >> 8 = 254.
  EXPECT_EQ(surface.pixel(50, 50), 0xFEFEFEu);
  EXPECT_EQ(surface.pixel(50, 0), 0xFEFEFEu);
  std::set<uint32_t> shades;
  for (int i = 0; i < 30; ++i) {
    for (int j = 0; j < 30; ++j) shades.insert(surface.pixel(i, j) & 0xFF);
  }
  EXPECT_GE(shades.size(), 10u);  // many steps of coverage along the curve
}

// --- Smooth shapes

TXPen noPen() { return {0, 0, TXPenStyle::Solid}; }

TEST(TXBitmapShapes, EdgePixelsTakeTheFifteenIntermediateShades) {
  for (bool roundRect : {false, true}) {
    SCOPED_TRACE(roundRect ? "round rect" : "ellipse");
    TXBitmap surface = solid(200, 200, 0x000000);
    surface.setPen(noPen());
    surface.setBrush({0xFFFFFF, TXBrushStyle::Solid});
    if (roundRect) {
      surface.SmoothRoundRect(20, 30, 150, 99, 180, 170);
    } else {
      surface.SmoothEllipse(20, 30, 180, 170);
    }
    std::set<int> levels;
    for (int y = 0; y < 200; ++y) {
      for (int x = 0; x < 200; ++x) {
        const uint32_t p = surface.pixel(x, y);
        const int v = static_cast<int>(p & 0xFF);
        ASSERT_EQ(p, static_cast<uint32_t>(v * 0x010101)) << x << "," << y;
        levels.insert(v);
      }
    }
    std::set<int> expected;
    for (int c = 0; c <= 16; ++c) expected.insert(c * 255 >> 4);
    EXPECT_EQ(levels, expected);
    EXPECT_EQ(surface.pixel(100, 100), 0xFFFFFFu);
    EXPECT_EQ(surface.pixel(21, 31), 0x000000u);
    EXPECT_EQ(surface.pixel(19, 100), 0x000000u);
  }
}

TEST(TXBitmapShapes, FilledShapesMatchTheMaskReference) {
  struct Case {
    int l, t, r, b, rx, ry;  // rx < 0: ellipse
  };
  const Case cases[] = {{10, 10, 70, 50, -1, -1}, {5, 7, 24, 12, -1, -1},   {-20, -30, 50, 40, -1, -1},
                        {60, 40, 130, 95, -1, -1}, {10, 10, 70, 50, 30, 30}, {10, 10, 71, 49, 17, 9},
                        {-25, 5, 40, 60, 40, 40},  {30, 30, 90, 90, 300, 300}, {10, 10, 40, 20, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.l << "," << c.t << "-" << c.r << "," << c.b << " radius " << c.rx);
    TXBitmap surface = randomBitmap(80, 60, 300);
    TXBitmap expected = surface;
    surface.setPen({0x00FF00, 4, TXPenStyle::Clear});  // a clear pen counts as none
    surface.setBrush({0x3366CC, TXBrushStyle::Solid});
    const long long w = c.r - c.l, h = c.b - c.t;
    if (c.rx < 0) {
      surface.SmoothEllipse(c.l, c.t, c.r, c.b);
      refCover(expected, c.l, c.t, c.r, c.b, {4LL * c.l, 4LL * c.t, 4 * w, 4 * h, 2 * w, 2 * h}, nullptr, 0x3366CC);
    } else {
      surface.SmoothRoundRect(c.l, c.t, c.rx, c.ry, c.r, c.b);
      long long kx = std::min<long long>((c.rx + 1) / 2, w / 2), ky = std::min<long long>((c.ry + 1) / 2, h / 2);
      if (kx == 0 || ky == 0) kx = ky = 0;
      refCover(expected, c.l, c.t, c.r, c.b, {4LL * c.l, 4LL * c.t, 4 * w, 4 * h, 4 * kx, 4 * ky}, nullptr,
               0x3366CC);
    }
    ASSERT_TRUE(sameBits(surface, expected));
  }
}

TEST(TXBitmapShapes, OutlinesMatchTheRingReference) {
  struct Case {
    int l, t, r, b, rx, ry, pen;
  };
  const Case cases[] = {{10, 10, 70, 50, -1, -1, 1},  {10, 10, 70, 50, -1, -1, 4},   {10, 10, 70, 50, -1, -1, 5},
                        {-20, -10, 60, 40, -1, -1, 3}, {30, 20, 36, 26, -1, -1, 9},  {10, 10, 70, 50, 30, 30, 1},
                        {10, 10, 70, 50, 30, 30, 6},  {10, 10, 71, 49, 17, 9, 3},    {-10, -10, 90, 70, 40, 40, 7},
                        {20, 20, 60, 40, 4, 4, 8},    {20, 20, 60, 40, 0, 0, 3},     {12, 12, 20, 20, 12, 12, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.l << "," << c.t << "-" << c.r << "," << c.b << " radius " << c.rx << " pen "
                                    << c.pen);
    TXBitmap surface = randomBitmap(80, 60, 400);
    TXBitmap expected = surface;
    surface.setPen({0x10E0A0, c.pen, TXPenStyle::Solid});
    surface.setBrush({0xFFFFFF, TXBrushStyle::Clear});
    const long long h = c.pen / 2, pw = c.pen;
    const long long ol = c.l - h, ot = c.t - h, ow = c.r - c.l + 2 * h, oh = c.b - c.t + 2 * h;
    long long kx, ky;
    if (c.rx < 0) {
      surface.SmoothEllipse(c.l, c.t, c.r, c.b);
      kx = ow / 2;
      ky = oh / 2;
      const RoundRef outer{4 * ol, 4 * ot, 4 * ow, 4 * oh, 2 * ow, 2 * oh};
      const RoundRef inner{4 * ol + 4 * pw, 4 * ot + 4 * pw, 4 * ow - 8 * pw, 4 * oh - 8 * pw,
                           std::max(0LL, 2 * ow - 4 * pw), std::max(0LL, 2 * oh - 4 * pw)};
      refCover(expected, ol, ot, ol + ow, ot + oh, outer, &inner, 0x10E0A0);
    } else {
      surface.SmoothRoundRect(c.l, c.t, c.rx, c.ry, c.r, c.b);
      kx = c.rx > 0 ? std::min<long long>((c.rx + 1) / 2 + h, ow / 2) : 0;
      ky = c.ry > 0 ? std::min<long long>((c.ry + 1) / 2 + h, oh / 2) : 0;
      if (kx == 0 || ky == 0) kx = ky = 0;
      long long ia = std::max(0LL, 4 * kx - 4 * pw), ib = std::max(0LL, 4 * ky - 4 * pw);
      if (ia == 0 || ib == 0) ia = ib = 0;
      const RoundRef outer{4 * ol, 4 * ot, 4 * ow, 4 * oh, 4 * kx, 4 * ky};
      const RoundRef inner{4 * ol + 4 * pw, 4 * ot + 4 * pw, 4 * ow - 8 * pw, 4 * oh - 8 * pw, ia, ib};
      refCover(expected, ol, ot, ol + ow, ot + oh, outer, &inner, 0x10E0A0);
    }
    ASSERT_TRUE(sameBits(surface, expected));
  }
}

TEST(TXBitmapShapes, PenAndBrushTogether) {
  for (bool roundRect : {false, true}) {
    SCOPED_TRACE(roundRect ? "round rect" : "ellipse");
    TXBitmap surface = solid(100, 80, 0x000000);
    surface.setPen({0x0000FF, 4, TXPenStyle::Solid});
    surface.setBrush({0x00FF00, TXBrushStyle::Solid});
    if (roundRect) {
      surface.SmoothRoundRect(10, 10, 30, 30, 90, 70);
    } else {
      surface.SmoothEllipse(10, 10, 90, 70);
    }
    EXPECT_EQ(surface.pixel(50, 40), 0x00FF00u);  // inside: brush
    EXPECT_EQ(surface.pixel(50, 10), 0x0000FFu);  // on the outline: pen
    EXPECT_EQ(surface.pixel(10, 40), 0x0000FFu);
    EXPECT_EQ(surface.pixel(50, 6), 0x000000u);   // beyond half the pen width: untouched
    EXPECT_EQ(surface.pixel(1, 1), 0x000000u);
    // From the middle of the outline inwards the pixels lie between pen and brush: the brush
    // fill lies under the inner edge, so the black background never shows through.
    for (int y = 10; y < 40; ++y) {
      const uint32_t p = surface.pixel(50, y);
      EXPECT_EQ(p & 0xFF0000u, 0u) << y;
      EXPECT_GE(((p >> 8) & 0xFF) + (p & 0xFF), 250u) << y << ": " << std::hex << p;
    }
  }
}

TEST(TXBitmapShapes, NoPenAndClearBrushDrawNothing) {
  const TXPen pens[] = {{0xFF, 0, TXPenStyle::Solid}, {0xFF, 5, TXPenStyle::Clear}, {0xFF, -3, TXPenStyle::Solid}};
  for (const auto& pen : pens) {
    TXBitmap surface = randomBitmap(40, 40, 3);
    const TXBitmap before = surface;
    surface.setPen(pen);
    surface.setBrush({0xFFFFFF, TXBrushStyle::Clear});
    surface.SmoothEllipse(5, 5, 35, 35);
    surface.SmoothRoundRect(5, 5, 10, 10, 35, 35);
    EXPECT_TRUE(sameBits(surface, before));
  }
}

TEST(TXBitmapShapes, HugeAndReversedShapesStayInBounds) {
  TXBitmap surface = solid(50, 40, 0);
  surface.setPen({0xFFFFFF, 3, TXPenStyle::Solid});
  surface.setBrush({0x808080, TXBrushStyle::Solid});
  surface.SmoothEllipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  surface.SmoothRoundRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MAX);
  surface.SmoothRoundRect(-100000, -5, 10000, 10000, 100000, 30);
  EXPECT_EQ(surface.pixel(25, 20), 0x808080u);
  // Reversed corners draw the same shape as ordered ones.
  TXBitmap a = solid(50, 40, 0), b = a;
  a.SmoothEllipse(40, 30, 5, 4);
  b.SmoothEllipse(5, 4, 40, 30);
  EXPECT_TRUE(sameBits(a, b));
}

// --- Filling, conversion, view

TEST(TXBitmapPixels, FillColorInBothByteOrders) {
  TXBitmap b(7, 3);
  b.FillColor(0x112233);
  EXPECT_EQ(b.pixel(6, 2), 0x112233u);
  EXPECT_EQ(b.bits()[0], 0x11);  // blue first
  EXPECT_EQ(b.bits()[2], 0x33);
  b.FillColor(0x112233, TXByteOrder::Bgr);
  EXPECT_EQ(b.bits()[0], 0x33);
  EXPECT_EQ(b.pixel(3, 1), 0x332211u);
}

TEST(TXBitmapPixels, ConvertsDecodedPicturesOfAnyFormat) {
  QImage rgb32(5, 3, QImage::Format_RGB32);
  rgb32.fill(QColor(10, 20, 30));
  rgb32.setPixel(4, 2, qRgb(200, 100, 50));
  const QImage::Format formats[] = {QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_BGR888,
                                    QImage::Format_RGB16, QImage::Format_ARGB32, QImage::Format_Indexed8};
  for (auto f : formats) {
    SCOPED_TRACE(static_cast<int>(f));
    const QImage src = rgb32.convertToFormat(f);
    const TXBitmap b = TXBitmap::fromImage(src);
    ASSERT_EQ(b.width(), 5);
    ASSERT_EQ(b.height(), 3);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 5; ++x) {
        const QRgb p = src.pixel(x, y);
        EXPECT_EQ(b.pixel(x, y), static_cast<uint32_t>(qRed(p) | qGreen(p) << 8 | qBlue(p) << 16)) << x << "," << y;
      }
    }
  }
  QImage translucent(2, 1, QImage::Format_ARGB32);
  translucent.setPixel(0, 0, qRgba(255, 0, 0, 0));
  translucent.setPixel(1, 0, qRgba(255, 255, 255, 255));
  const TXBitmap t = TXBitmap::fromImage(translucent);
  EXPECT_EQ(t.pixel(0, 0), 0x000000u);
  EXPECT_EQ(t.pixel(1, 0), 0xFFFFFFu);
  EXPECT_TRUE(TXBitmap::fromImage(QImage()).isEmpty());
}

TEST(TXBitmapPixels, RawBuffersWithPaddedRows) {
  const uint8_t rgb[] = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  TXBitmap b;
  b.assignRgb(rgb, 2, 2, 8);
  EXPECT_EQ(b.pixel(0, 0), 0x030201u);
  EXPECT_EQ(b.pixel(1, 1), 0x0C0B0Au);
  b.assignBgr(rgb, 2, 2, 8);
  EXPECT_EQ(b.pixel(0, 0), 0x010203u);
  EXPECT_EQ(b.pixel(1, 1), 0x0A0B0Cu);
  b.assignBgr(rgb, 2, 1);
  EXPECT_EQ(b.pixel(1, 0), 0x040506u);
}

TEST(TXBitmapPixels, ViewSharesThePixelsAndTakesText) {
  // An odd width: rows of 3 × 101 bytes are not 32-bit aligned.
  TXBitmap b = solid(101, 41, 0xFFFFFF);
  QImage view = b.view();
  ASSERT_EQ(view.format(), QImage::Format_BGR888);
  EXPECT_EQ(view.bytesPerLine(), b.stride());
  EXPECT_EQ(view.constBits(), b.bits());

  QImage reference(101, 41, QImage::Format_BGR888);  // Qt's own aligned rows
  reference.fill(Qt::white);
  auto paint = [](QImage& img) {
    QPainter p(&img);
    QFont font("Liberation Sans");
    font.setPixelSize(18);
    p.setFont(font);
    p.setPen(QColor(200, 0, 40));
    p.drawText(QRect(0, 0, 101, 41), Qt::AlignCenter, QStringLiteral("Grüße"));
    p.setRenderHint(QPainter::Antialiasing);
    p.drawEllipse(QRectF(3.5, 2.5, 30, 20));
    QImage overlay(17, 9, QImage::Format_ARGB32_Premultiplied);
    overlay.fill(QColor(0, 90, 0, 120));
    p.drawImage(QPoint(60, 25), overlay);
    p.fillRect(QRect(97, 37, 10, 10), QColor(0, 128, 255));
  };
  paint(view);
  paint(reference);
  ASSERT_EQ(view.constBits(), b.bits()) << "the view must not detach";
  int changed = 0;
  for (int y = 0; y < 41; ++y) {
    for (int x = 0; x < 101; ++x) {
      const QRgb r = reference.pixel(x, y);
      ASSERT_EQ(b.pixel(x, y), static_cast<uint32_t>(qRed(r) | qGreen(r) << 8 | qBlue(r) << 16)) << x << "," << y;
      if (b.pixel(x, y) != 0xFFFFFFu) ++changed;
    }
  }
  EXPECT_GT(changed, 50);
  EXPECT_EQ(b.pixel(100, 40), 0xFF8000u);
  const QImage copy = b.toImage();
  EXPECT_NE(copy.constBits(), b.bits());
  EXPECT_EQ(copy.pixel(100, 40), qRgb(0, 128, 255));
}

}  // namespace
