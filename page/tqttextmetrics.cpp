// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/tqttextmetrics.h"

#include "platform/codec.h"

#include <QFontInfo>
#include <QPainter>
#include <QTextLayout>

#include <array>
#include <cmath>

namespace {

struct TStandIn {
  const char* face;
  const char* family;
};
// Metric-compatible faces where they exist; Comic Sans would fall back to a calligraphic
// italic through fontconfig, so it gets a plain sans.
constexpr std::array kStandIns = {
    TStandIn{"Arial", "Liberation Sans"},       TStandIn{"Helvetica", "Liberation Sans"},
    TStandIn{"Times New Roman", "Liberation Serif"}, TStandIn{"Times", "Liberation Serif"},
    TStandIn{"Courier New", "Liberation Mono"}, TStandIn{"Courier", "Liberation Mono"},
    TStandIn{"Verdana", "DejaVu Sans"},         TStandIn{"Comic Sans MS", "DejaVu Sans"},
};

constexpr std::size_t kMaxWidths = 50000;
constexpr std::size_t kMaxGlyphTexts = 20000;

}  // namespace

TQtTextMetrics::TQtTextMetrics() = default;
TQtTextMetrics::~TQtTextMetrics() = default;

QString TQtTextMetrics::familyFor(std::string_view face) {
  for (const TStandIn& s : kStandIns)
    if (zek::equalsNoCase(face, s.face)) return QString::fromLatin1(s.family);
  return zek::toQString(face);
}

QFont TQtTextMetrics::pointFont(std::string_view face, int points, bool bold, bool italic) {
  QFont f(familyFor(face));
  f.setPixelSize(pointsToPixels(points));
  f.setBold(bold);
  f.setItalic(italic);
  return f;
}

const TQtTextMetrics::TEntry& TQtTextMetrics::entry(std::string_view face, const TTextStyle& style) const {
  const int size = clampedTextSize(style.size);
  m_key.assign(face);
  m_key.push_back('\0');
  m_key += std::to_string(size);
  m_key.push_back(style.bold ? 'b' : '-');
  m_key.push_back(style.italic ? 'i' : '-');
  m_key.push_back(style.underline ? 'u' : '-');
  m_key += std::to_string(style.tracking);
  if (m_last && m_key == m_lastKey) return *m_last;
  auto it = m_cache.find(m_key);
  if (it == m_cache.end()) {
    QFont f(familyFor(face));
    f.setBold(style.bold);
    f.setItalic(style.italic);
    f.setUnderline(style.underline);
    f.setKerning(false);  // widths add up word by word, as the layout assumes
    const int em = emPixelsOfSize(size);
    if (em > 0) {
      f.setPixelSize(em);
    } else {
      // A cell height: find the em whose ascent plus descent gives it.
      f.setPixelSize(size);
      const QFontMetrics probe(f);
      const int cell = probe.ascent() + probe.descent();
      f.setPixelSize(std::max(1, cell > 0 ? int(std::lround(double(size) * size / cell)) : size));
    }
    if (style.tracking != 0) f.setLetterSpacing(QFont::AbsoluteSpacing, style.tracking);
    auto e = std::make_unique<TEntry>(TEntry{f, QFontMetrics(f), {}, {}});
    it = m_cache.emplace(m_key, std::move(e)).first;
  }
  m_lastKey = m_key;
  m_last = it->second.get();
  return *m_last;
}

const QFont& TQtTextMetrics::font(std::string_view face, const TTextStyle& style) const {
  return entry(face, style).font;
}

const QFontMetrics& TQtTextMetrics::metrics(std::string_view face, const TTextStyle& style) const {
  return entry(face, style).metrics;
}

TTextExtent TQtTextMetrics::textExtent(std::string_view face, const TTextStyle& style, std::string_view text) const {
  const TEntry& e = entry(face, style);
  TTextExtent x;
  x.ascent = e.metrics.ascent();
  x.descent = e.metrics.descent();
  if (text.empty()) return x;
  if (const auto hit = e.widths.find(text); hit != e.widths.end()) {
    x.width = hit->second;
    return x;
  }
  x.width = e.metrics.horizontalAdvance(zek::toQString(text));
  if (e.widths.size() >= kMaxWidths) e.widths.clear();  // a bound for views that run for days
  e.widths.emplace(std::string(text), x.width);
  return x;
}

void TQtTextMetrics::drawText(QPainter& painter, QPoint origin, std::string_view face, const TTextStyle& style,
                              std::string_view text) const {
  if (text.empty()) return;
  const TEntry& e = entry(face, style);
  if (e.font.underline()) {
    // A glyph run draws its underline a pixel longer than drawText does.
    painter.setFont(e.font);
    painter.drawText(origin, zek::toQString(text));
    return;
  }
  auto found = e.glyphs.find(text);
  if (found == e.glyphs.end()) {
    QTextLayout layout(zek::toQString(text), e.font);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e9);  // one line, whatever the width
    layout.endLayout();
    QList<QGlyphRun> runs = layout.glyphRuns();
    // QTextLayout puts the baseline at the line's ascent; the runs are kept relative to it.
    const qreal ascent = line.ascent();
    for (QGlyphRun& run : runs) {
      QList<QPointF> positions = run.positions();
      for (QPointF& pos : positions) pos.ry() -= ascent;
      run.setPositions(positions);
    }
    if (e.glyphs.size() >= kMaxGlyphTexts) e.glyphs.clear();
    found = e.glyphs.emplace(std::string(text), std::move(runs)).first;
  }
  for (const QGlyphRun& run : found->second) painter.drawGlyphRun(QPointF(origin), run);
}
