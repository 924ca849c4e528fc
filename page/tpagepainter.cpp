// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/tpagepainter.h"

#include "page/tmosaic.h"
#include "page/tpicturelist.h"
#include "page/tqttextmetrics.h"
#include "platform/codec.h"
#include "widgets/txblend.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cstring>

TColor paletteColor(int index) {
  index &= 255;
  // The sixteen standard colours, a 6 x 6 x 6 cube and a grey ramp.
  static constexpr std::array<TColor, 16> kBase = {
      rgbColor(0, 0, 0),       rgbColor(128, 0, 0),   rgbColor(0, 128, 0),   rgbColor(128, 128, 0),
      rgbColor(0, 0, 128),     rgbColor(128, 0, 128), rgbColor(0, 128, 128), rgbColor(192, 192, 192),
      rgbColor(128, 128, 128), rgbColor(255, 0, 0),   rgbColor(0, 255, 0),   rgbColor(255, 255, 0),
      rgbColor(0, 0, 255),     rgbColor(255, 0, 255), rgbColor(0, 255, 255), rgbColor(255, 255, 255)};
  if (index < 16) return kBase[std::size_t(index)];
  if (index < 232) {
    const int i = index - 16;
    const auto level = [](int v) { return v == 0 ? 0 : 55 + 40 * v; };
    return rgbColor(level(i / 36), level(i / 6 % 6), level(i % 6));
  }
  const int g = 8 + 10 * (index - 232);
  return rgbColor(g, g, g);
}

TColor resolveColor(TColor color, const TPageColors& colors) {
  if (color == kColorPageText) return colors.text;
  if (color == kColorPageLink) return colors.link;
  if ((color & 0xFF000000u) == kColorPaletteFlag) return paletteColor(int(color & 255));
  return color & 0xFFFFFFu;
}

QColor toQColor(TColor c) { return QColor(int(c & 255), int((c >> 8) & 255), int((c >> 16) & 255)); }

void copyBits(const TXBitmap& src, int sx, int sy, int w, int h, TXBitmap& dst, int dx, int dy) {
  if (sx < 0) { w += sx; dx -= sx; sx = 0; }
  if (sy < 0) { h += sy; dy -= sy; sy = 0; }
  if (dx < 0) { w += dx; sx -= dx; dx = 0; }
  if (dy < 0) { h += dy; sy -= dy; dy = 0; }
  w = std::min({w, src.width() - sx, dst.width() - dx});
  h = std::min({h, src.height() - sy, dst.height() - dy});
  if (w <= 0 || h <= 0) return;
  for (int y = 0; y < h; ++y)
    std::memcpy(dst.scanLine(dy + y) + dx * 3, src.scanLine(sy + y) + sx * 3, std::size_t(w) * 3);
}

TXBitmap copyRect(const TXBitmap& src, const TRect& r) {
  TXBitmap out(std::max(0, r.w), std::max(0, r.h));
  copyBits(src, r.x, r.y, r.w, r.h, out, 0, 0);
  return out;
}

void enlargeInto(const TXBitmap& src, const TRect& from, TXBitmap& dst, int dx, int dy, int scale) {
  if (from.empty()) return;
  TXBitmap piece = copyRect(src, from);
  TXBitmap big;
  big.assign(piece.view().scaled(from.w * scale, from.h * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  copyBits(big, 0, 0, big.width(), big.height(), dst, dx, dy);
}

namespace {

void fillRect(TXBitmap& b, int x, int y, int w, int h, TColor colour) {
  const int x0 = std::max(0, x), y0 = std::max(0, y);
  const int x1 = std::min(b.width(), x + w), y1 = std::min(b.height(), y + h);
  if (x1 <= x0 || y1 <= y0) return;
  const std::array<std::uint8_t, 3> px = {std::uint8_t(colour >> 16), std::uint8_t(colour >> 8), std::uint8_t(colour)};
  std::uint8_t* first = b.scanLine(y0) + x0 * 3;
  zek::blend::fillRow(first, x1 - x0, px);
  for (int yy = y0 + 1; yy < y1; ++yy) std::memcpy(b.scanLine(yy) + x0 * 3, first, std::size_t(x1 - x0) * 3u);
}

bool isAll255(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return (unsigned char)c == 255; });
}

// A picture frame at the item's size, transparent parts showing what is below: the frame's own
// bitmap when it fits as it is, else `scratch` made up from it. With smoothEdges (a page painted
// for a high-density screen) the edge of the transparent part is blended instead of stepped.
const TXBitmap& framedSource(const TPictureFrame& frame, int w, int h, const TXBitmap& target, int x, int y,
                             TXBitmap& scratch, bool smoothEdges) {
  const TXBitmap& bmp = frame.bitmap;
  const bool sameSize = bmp.width() == w && bmp.height() == h;
  if (sameSize && frame.mask.empty()) return bmp;
  if (smoothEdges && !sameSize && !frame.mask.empty()) {
    // Colour and transparency scaled together, so the edge neither steps nor takes the white
    // that stands in the transparent pixels.
    QImage argb(bmp.width(), bmp.height(), QImage::Format_ARGB32);
    for (int yy = 0; yy < bmp.height(); ++yy) {
      const std::uint8_t* px = bmp.scanLine(yy);
      const std::uint8_t* m = frame.mask.data() + std::size_t(yy) * std::size_t(bmp.width());
      auto* out = reinterpret_cast<QRgb*>(argb.scanLine(yy));
      for (int xx = 0; xx < bmp.width(); ++xx) out[xx] = qRgba(px[3 * xx + 2], px[3 * xx + 1], px[3 * xx], m[xx]);
    }
    scratch = copyRect(target, {x, y, w, h});  // black where the target ends
    QImage view = scratch.view();
    QPainter p(&view);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRect(0, 0, w, h), argb);
    return scratch;
  }
  std::vector<std::uint8_t> scaledMask;
  const std::vector<std::uint8_t>* mask = &frame.mask;
  if (sameSize) {
    scratch = bmp;
  } else {
    TXBitmap copy = bmp;  // view() needs a mutable bitmap
    const QImage scaled = copy.view().scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scratch.assign(scaled);
    if (!frame.mask.empty()) {
      scaledMask.resize(std::size_t(w) * std::size_t(h));
      for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx)
          scaledMask[std::size_t(yy) * std::size_t(w) + std::size_t(xx)] =
              frame.mask[std::size_t(yy * bmp.height() / h) * std::size_t(bmp.width()) + std::size_t(xx * bmp.width() / w)];
    }
    mask = &scaledMask;
  }
  if (!mask->empty()) {
    // Transparent pixels take the target's pixel below, black where the target ends.
    for (int yy = 0; yy < h; ++yy) {
      const std::uint8_t* m = mask->data() + std::size_t(yy) * std::size_t(w);
      std::uint8_t* row = scratch.scanLine(yy);
      const int ty = y + yy;
      const std::uint8_t* below = ty >= 0 && ty < target.height() ? target.scanLine(ty) : nullptr;
      for (int xx = 0; xx < w; ++xx) {
        if (m[xx] >= 128) continue;
        const int tx = x + xx;
        if (below && tx >= 0 && tx < target.width()) std::memcpy(row + 3 * xx, below + 3 * tx, 3);
        else std::memset(row + 3 * xx, 0, 3);
      }
    }
  }
  return scratch;
}

}  // namespace

void TPagePainter::paintBox(TXBitmap& buffer, const TBoxRecord& box, const TRect& rect, const TPageColors& colors,
                            std::minstd_rand& random, int scale) {
  if (!box.filled && box.borderWidth <= 0) return;
  const int o = box.offset;
  // The outline spans (x - o, y - o) to (x + w + o, y + h + o) inclusive.
  const int left = rect.x - o, top = rect.y - o, right = rect.x + rect.w + o + 1, bottom = rect.y + rect.h + o + 1;
  if (right <= left || bottom <= top) return;
  const TColor fill = resolveColor(box.fillColor, colors);
  const TColor border = resolveColor(box.borderColor, colors);
  const int bw = box.borderWidth;
  const int s = std::max(1, scale);
  const auto fillLogical = [&](int x, int y, int w, int h, TColor colour) {
    fillRect(buffer, x * s, y * s, w * s, h * s, colour);
  };
  switch (box.shape) {
    case TBoxShape::Rect:
      if (box.filled) fillLogical(left, top, right - left, bottom - top, fill);
      if (bw > 0) {
        fillLogical(left, top, right - left, bw, border);
        fillLogical(left, bottom - bw, right - left, bw, border);
        fillLogical(left, top, bw, bottom - top, border);
        fillLogical(right - bw, top, bw, bottom - top, border);
      }
      break;
    case TBoxShape::RoundRect:
    case TBoxShape::Ellipse: {
      buffer.setBrush({fill, box.filled ? TXBrushStyle::Solid : TXBrushStyle::Clear});
      buffer.setPen({border, bw * s, bw > 0 ? TXPenStyle::Solid : TXPenStyle::Clear});
      if (box.shape == TBoxShape::Ellipse) buffer.SmoothEllipse(left * s, top * s, right * s, bottom * s);
      else buffer.SmoothRoundRect(left * s, top * s, box.radius * s, box.radius * s, right * s, bottom * s);
      buffer.setPen({});
      buffer.setBrush({});
      break;
    }
    case TBoxShape::Random: {
      const int r = std::max(1, box.radius);
      const TColor colour = box.filled ? fill : border;
      int y = top;
      while (y < bottom) {
        const int band = int(random() % std::uint32_t(r));
        fillLogical(left, y, right - left, std::min(band, bottom - y), colour);
        y += band + int(random() % std::uint32_t(r));
        if (band == 0) ++y;  // two empty draws in a row still move on
      }
      break;
    }
  }
}

void TPagePainter::paint(TXBitmap& buffer, int scale) {
  m_scale = std::max(1, scale);
  const int s = m_scale;
  TPaintedImages& out = imagesAt(s);
  out.areaImages.assign(m_layout.areas.size(), {});
  out.animated.clear();
  buffer.FillColor(resolveColor(colors.background, colors));
  if (background && background->width() > 0 && background->height() > 0) {
    TXBitmap larger;
    if (s > 1) {
      TXBitmap copy = background->bitmap();  // view() needs a mutable bitmap
      larger.assign(copy.view().scaled(copy.width() * s, copy.height() * s, Qt::IgnoreAspectRatio,
                                       Qt::SmoothTransformation));
    }
    const TXBitmap& bg = s > 1 ? larger : background->bitmap();
    if (bg.width() > buffer.width() && bg.height() > buffer.height()) {
      copyBits(bg, 0, 0, bg.width(), bg.height(), buffer, 0, 0);
    } else {
      for (int y = 0; y < buffer.height(); y += bg.height())
        for (int x = 0; x < buffer.width(); x += bg.width()) copyBits(bg, 0, 0, bg.width(), bg.height(), buffer, x, y);
    }
  }
  std::minstd_rand random(12345);
  for (std::size_t i = 0; i < m_page.boxes.size() && i < m_layout.boxes.size(); ++i)
    if (!m_page.boxes[i].top) paintBox(buffer, m_page.boxes[i], m_layout.boxes[i], colors, random, s);
  if (mosaic && s == 1) {
    mosaic->paintAll(buffer);
    mosaicCells.clear();
    for (const TRect& c : mosaic->cells()) mosaicCells.emplace_back(c, copyRect(buffer, c));
  } else if (mosaic) {
    for (const auto& [cell, picture] : mosaicCells)
      enlargeInto(picture, {0, 0, cell.w, cell.h}, buffer, cell.x * s, cell.y * s, s);
  }

  std::vector<TXBitmap> underPictures(m_layout.areas.size());
  for (std::size_t i = 0; i < m_layout.areas.size(); ++i) {
    const TLinkArea& a = m_layout.areas[i];
    if (a.images && a.item >= 0 && m_page.items[std::size_t(a.item)].kind == TItemKind::Picture)
      underPictures[i] = copyRect(buffer, scaled(a.rect, s));
  }
  paintPictures(buffer);
  for (std::size_t i = 0; i < m_page.boxes.size() && i < m_layout.boxes.size(); ++i)
    if (m_page.boxes[i].top) paintBox(buffer, m_page.boxes[i], m_layout.boxes[i], colors, random, s);

  std::vector<TXBitmap> underText(m_layout.areas.size());
  for (std::size_t i = 0; i < m_layout.areas.size(); ++i) {
    const TLinkArea& a = m_layout.areas[i];
    if (a.images && a.item >= 0 && m_page.items[std::size_t(a.item)].kind == TItemKind::Word)
      underText[i] = copyRect(buffer, scaled(a.rect, s));
  }
  paintText(buffer);
  paintUnderlines(buffer);
  renderAreaImages(buffer, underText, underPictures);
  renderFieldImages(buffer);
}

void TPagePainter::renderFieldImages(const TXBitmap& buffer) {
  std::vector<TXBitmap>& fieldImages = imagesAt(m_scale).fieldImages;
  fieldImages.assign(m_layout.fields.size(), {});
  for (std::size_t f = 0; f < m_layout.fields.size() && f < m_page.fields.size(); ++f) {
    const TRect& r = m_layout.fields[f];
    if (r.empty() || !m_page.fields[f].inFlow) continue;
    // The page keeps its background under the field; the gap's words go into this picture.
    TXBitmap& out = fieldImages[f];
    out = copyRect(buffer, scaled(r, m_scale));
    QImage view = out.view();
    QPainter p(&view);
    p.scale(m_scale, m_scale);
    p.translate(-r.x, -r.y);
    for (const TPageItem& it : m_page.items) {
      if (it.kind != TItemKind::Word || it.style.widgetKind != TWidgetKind::Gap || it.style.widget != std::int32_t(f))
        continue;
      if (!it.style.noBackground) {
        const TRect ir = itemRect(it);
        p.fillRect(ir.x, ir.y, ir.w, ir.h, toQColor(resolveColor(it.style.bgColor, colors)));
      }
      drawWord(p, it, false);
    }
  }
}

void TPagePainter::paintPictures(TXBitmap& buffer) {
  for (std::size_t i = 0; i < m_page.items.size(); ++i) {
    const TPageItem& it = m_page.items[i];
    if (it.kind != TItemKind::Picture || it.index < 0 || std::size_t(it.index) >= m_page.images.size()) continue;
    if (it.width <= 0 || it.height <= 0) continue;
    const TImageRecord& img = m_page.images[std::size_t(it.index)];
    const TPicture* pic = m_pictures.picture(img.picture);
    if (pic && pic->isAnimated())
      imagesAt(m_scale).animated.push_back(
          {int(i), img.picture, itemRect(it), copyRect(buffer, scaled(itemRect(it), m_scale))});
    drawPicture(buffer, it, 0, 0, -1, false);
  }
}

void TPagePainter::drawPicture(TXBitmap& target, const TPageItem& item, int dx, int dy, int pictureOverride,
                               bool hover) {
  const TImageRecord& img = m_page.images[std::size_t(item.index)];
  const int index = pictureOverride >= 0 ? pictureOverride : img.picture;
  const TPicture* pic = m_pictures.picture(index);
  if (!pic || pic->frames.empty()) return;
  std::size_t frame = 0;
  if (frameOf && pictureOverride < 0) frame = std::size_t(std::max(0, frameOf(index)));
  if (frame >= pic->frames.size()) frame = 0;
  // Pictures are scaled from their own pixels to the target's size, never enlarged from the page.
  const int s = m_scale;
  const int x = (item.x - dx) * s, y = (item.y - item.ascent - dy) * s, w = item.width * s,
            h = (item.ascent + item.descent) * s;
  if (w <= 0 || h <= 0) return;
  TXBitmap scratch;
  const TXBitmap& src = framedSource(pic->frames[frame], w, h, target, x, y, scratch, s > 1);
  int mode = img.mode;
  TColor tint = resolveColor(img.tint, colors);
  if (img.hoverTint) {
    if (hover) {
      mode = 7;
      tint = resolveColor(*img.hoverTint, colors);
    } else if (img.tint == kColorBlack && mode == 7) {
      mode = 0;  // FCOLOR alone: the picture as it is until hovered
    }
  }
  if (img.radius > 0 || img.alpha < 255 || mode != 0) {
    target.setXAlpha(img.alpha);
    target.setXColor(tint);
    if (img.radius > 0) target.DrawRounded(x, y, src, mode, img.radius * s, img.radius * s, y + h, x + w);
    else target.DrawBlended(x, y, mode, src);
    target.setXAlpha(255);
  } else {
    target.DrawBlended(x, y, 0, src);
  }
}

void TPagePainter::drawWord(QPainter& p, const TPageItem& it, bool flash) {
  const TTextStyle& st = it.style;
  const std::string_view face = m_page.faceName(st);
  const TColor colour = flash ? resolveColor(st.flashColor, colors) : resolveColor(st.color, colors);
  p.setPen(toQColor(colour));
  m_fonts.drawText(p, QPoint(it.x, it.y), face, st, m_page.itemText(it));
}

void TPagePainter::paintText(TXBitmap& buffer, const TRect* only) {
  QImage view = buffer.view();
  QPainter p(&view);
  p.scale(m_scale, m_scale);
  if (only) p.setClipRect(only->x, only->y, only->w, only->h);
  for (std::size_t i = 0; i < m_page.items.size(); ++i) {
    const TPageItem& it = m_page.items[i];
    if (it.kind != TItemKind::Word && it.kind != TItemKind::Space) continue;
    if (m_layout.hiddenSpace[i]) continue;
    const TRect r = itemRect(it);
    if (only && !r.intersects(*only)) continue;
    const TTextStyle& st = it.style;
    if (st.widgetKind == TWidgetKind::Gap && st.widget >= 0) continue;  // the field shows it
    if (st.widgetKind == TWidgetKind::Drag && st.widget >= 0) {
      if (it.kind == TItemKind::Word) p.fillRect(r.x, r.y, r.w, r.h, toQColor(resolveColor(colors.block, colors)));
      continue;
    }
    if (!st.noBackground) p.fillRect(r.x, r.y, r.w, r.h, toQColor(resolveColor(st.bgColor, colors)));
    if (it.kind == TItemKind::Space) {
      // An underlined run (a link) stays one line across its spaces.
      if (st.underline && it.width > 0) {
        const QFontMetrics& fm = m_fonts.metrics(m_page.faceName(st), st);
        p.fillRect(it.x, it.y + fm.underlinePos(), it.width, std::max(1, fm.lineWidth()),
                   toQColor(resolveColor(st.color, colors)));
      }
      continue;
    }
    if (isAll255(m_page.itemText(it))) continue;
    drawWord(p, it, false);
  }
}

void TPagePainter::paintUnderlines(TXBitmap& buffer) {
  for (const TUnderlineRun& run : m_layout.underlines) {
    const TColor colour = resolveColor(m_page.items[std::size_t(run.item)].style.color, colors);
    for (int x = run.x1; x < run.x2; x += 2) fillRect(buffer, x * m_scale, run.y * m_scale, m_scale, m_scale, colour);
  }
}

void TPagePainter::renderAreaImages(TXBitmap& buffer, const std::vector<TXBitmap>& underText,
                                    const std::vector<TXBitmap>& underPictures) {
  for (std::size_t i = 0; i < m_layout.areas.size(); ++i) {
    const TLinkArea& a = m_layout.areas[i];
    if (!a.images || a.item < 0 || a.rect.empty()) continue;
    const TPageItem& it = m_page.items[std::size_t(a.item)];
    TAreaImages& out = imagesAt(m_scale).areaImages[i];
    out.normal = copyRect(buffer, scaled(a.rect, m_scale));
    if (it.kind == TItemKind::Word) {
      out.highlighted = underText[i];
      QImage view = out.highlighted.view();
      QPainter p(&view);
      p.scale(m_scale, m_scale);
      p.translate(-a.rect.x, -a.rect.y);
      if (!it.style.noBackground) p.fillRect(a.rect.x, a.rect.y, a.rect.w, a.rect.h, toQColor(resolveColor(it.style.bgColor, colors)));
      drawWord(p, it, true);
    } else {
      out.highlighted = underPictures[i];
      const TImageRecord& img = m_page.images[std::size_t(it.index)];
      drawPicture(out.highlighted, it, a.rect.x, a.rect.y, img.flashPicture, img.flashPicture < 0);
    }
  }
}

void TPagePainter::redrawAnimated(TXBitmap& buffer, const TAnimatedPicture& a, int scale) {
  m_scale = std::max(1, scale);
  copyBits(a.under, 0, 0, a.under.width(), a.under.height(), buffer, a.rect.x * m_scale, a.rect.y * m_scale);
  drawPicture(buffer, m_page.items[std::size_t(a.item)], 0, 0, -1, false);
  paintText(buffer, &a.rect);
}
