// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/ttextmetrics.h"

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QList>
#include <QPoint>

class QPainter;

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

// Text metrics over Qt fonts. Faces go through fontconfig; the Windows faces the content
// names map to their metric-compatible stand-ins. Sizes: see ttextmetrics.h; a size above 7
// is a cell height (ascent plus descent) in pixels.
class TQtTextMetrics : public TTextMetrics {
 public:
  TQtTextMetrics();
  ~TQtTextMetrics() override;

  TTextExtent textExtent(std::string_view face, const TTextStyle& style, std::string_view text) const override;

  // The font of a style, with its tracking as letter spacing; cached.
  const QFont& font(std::string_view face, const TTextStyle& style) const;
  const QFontMetrics& metrics(std::string_view face, const TTextStyle& style) const;

  // Draws text in the style's font with its baseline starting at `origin`: the pixels of
  // QPainter::drawText, from glyphs laid out once per font and text (underlined text is
  // drawn by drawText itself).
  void drawText(QPainter& painter, QPoint origin, std::string_view face, const TTextStyle& style,
                std::string_view text) const;

  // The family that stands in for `face` ("Arial" → "Liberation Sans"), else `face` itself.
  static QString familyFor(std::string_view face);
  // A font of the face at `points`, at 96 dpi.
  static QFont pointFont(std::string_view face, int points, bool bold = false, bool italic = false);

 private:
  struct TStringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  struct TEntry {
    QFont font;
    QFontMetrics metrics;
    // Widths of the texts measured so far: pages measure the same words at every load.
    mutable std::unordered_map<std::string, int, TStringHash, std::equal_to<>> widths;
    // Glyph runs of the texts drawn so far, placed for a baseline at y = 0.
    mutable std::unordered_map<std::string, QList<QGlyphRun>, TStringHash, std::equal_to<>> glyphs;
  };
  const TEntry& entry(std::string_view face, const TTextStyle& style) const;
  mutable std::unordered_map<std::string, std::unique_ptr<TEntry>> m_cache;
  mutable std::string m_key;
  mutable const TEntry* m_last = nullptr;
  mutable std::string m_lastKey;
};
