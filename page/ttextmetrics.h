// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/tpagemodel.h"

#include <string_view>

// How the layout measures text. The real metrics sit on Qt fonts (tqttextmetrics.h); the
// fixed ones below give exact, screen-independent integers for layout tests.

struct TTextExtent {
  int width = 0;
  int ascent = 0;
  int descent = 0;
};

class TTextMetrics {
 public:
  virtual ~TTextMetrics() = default;
  // Extent of `text` (Windows-1252) in the font of `style` with face `face`; the style's
  // tracking is added after every character. An empty text has width 0 and the font's
  // ascent and descent.
  virtual TTextExtent textExtent(std::string_view face, const TTextStyle& style, std::string_view text) const = 0;
};

// Markup sizes 1 to 7 are points; larger sizes are character cell heights in pixels.
constexpr int kSizePoints[7] = {8, 10, 12, 14, 18, 24, 36};
inline int clampedTextSize(int size) { return size <= 0 ? 1 : size; }
// Points at 96 dots per inch, so a page looks the same on every screen: 8 pt = 11 px.
constexpr int pointsToPixels(int points) { return (points * 96 + 36) / 72; }
// The em height in pixels of sizes 1 to 7; 0 for a cell height (size above 7).
inline int emPixelsOfSize(int size) {
  size = clampedTextSize(size);
  return size <= 7 ? pointsToPixels(kSizePoints[size - 1]) : 0;
}

// Fixed metrics: a character is half the em wide (bold one pixel more), the ascent is
// three quarters of the em, the descent the rest. Cell heights are taken as the em.
class TFixedTextMetrics : public TTextMetrics {
 public:
  static int em(const TTextStyle& style) {
    const int px = emPixelsOfSize(style.size);
    return px > 0 ? px : clampedTextSize(style.size);
  }
  static int charWidth(const TTextStyle& style) { return em(style) / 2 + (style.bold ? 1 : 0); }
  static int ascent(const TTextStyle& style) { return em(style) - em(style) / 4; }
  static int descent(const TTextStyle& style) { return em(style) / 4; }

  TTextExtent textExtent(std::string_view, const TTextStyle& style, std::string_view text) const override {
    const int n = int(text.size());
    return {n * (charWidth(style) + style.tracking), ascent(style), descent(style)};
  }
};
