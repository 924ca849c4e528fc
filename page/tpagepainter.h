// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/tpagelayout.h"
#include "page/tpagemodel.h"
#include "widgets/txbitmap.h"

#include <QColor>

#include <functional>
#include <random>
#include <utility>
#include <vector>

class TPictureList;
class TPicture;
class TQtTextMetrics;
class TMosaic;

// A colour of the page model as drawn: references to the page's text and link colours
// resolved, palette entries looked up.
TColor resolveColor(TColor color, const TPageColors& colors);
QColor toQColor(TColor color);
// The 256-colour palette of "i" colours.
TColor paletteColor(int index);

// Normal and highlighted pictures of a link area, in the area's rectangle.
struct TAreaImages {
  TXBitmap normal, highlighted;
};

// The page under an animated picture, kept so that its frames can be drawn again.
struct TAnimatedPicture {
  int item = -1;
  int picture = -1;
  TRect rect;
  TXBitmap under;
};

// What one paint leaves besides the page picture, at that paint's scale.
struct TPaintedImages {
  // Per layout area (empty bitmaps for areas without images).
  std::vector<TAreaImages> areaImages;
  std::vector<TAnimatedPicture> animated;
  // Per field record: the gap's text over the page background, shown once the field is done
  // (empty for EDIT fields).
  std::vector<TXBitmap> fieldImages;
};

// Paints a laid-out page into its off-screen picture, in the order background, boxes,
// mosaic, pictures, top boxes, text; then renders the hover images of FLASH and FCOLOR areas.
// Positions are logical pixels; a scale above 1 paints the same page into a picture that many
// times larger (a high-density screen), text and pictures drawn at that size rather than enlarged.
class TPagePainter {
 public:
  TPagePainter(const TPageModel& page, const TPageLayout& layout, const TPictureList& pictures,
               const TQtTextMetrics& fonts)
      : m_page(page), m_layout(layout), m_pictures(pictures), m_fonts(fonts) {}

  TPageColors colors;                       // at paint time (ColorBGR, ColorTXT)
  const TPicture* background = nullptr;     // BODY BACKGROUND
  TMosaic* mosaic = nullptr;
  std::function<int(int picture)> frameOf;  // animation frame of a picture, 0 without

  // The buffer must be the page's size times scale. The mosaic is painted at scale 1 only.
  void paint(TXBitmap& buffer, int scale = 1);

  // Filled by paint at scale 1 and at the larger scale.
  TPaintedImages images, sharpImages;
  TPaintedImages& imagesAt(int scale) { return scale > 1 ? sharpImages : images; }
  // The mosaic's cells as painted at scale 1; a larger scale enlarges them (they change by chance).
  std::vector<std::pair<TRect, TXBitmap>> mosaicCells;

  // Draws the current frame of an animated picture again, with the words over it.
  void redrawAnimated(TXBitmap& buffer, const TAnimatedPicture& a, int scale = 1);

  static void paintBox(TXBitmap& buffer, const TBoxRecord& box, const TRect& rect, const TPageColors& colors,
                       std::minstd_rand& random, int scale = 1);

 private:
  void paintPictures(TXBitmap& buffer);
  void drawPicture(TXBitmap& target, const TPageItem& item, int dx, int dy, int pictureOverride, bool hover);
  void paintText(TXBitmap& buffer, const TRect* only = nullptr);
  void drawWord(QPainter& p, const TPageItem& item, bool flash);
  void paintUnderlines(TXBitmap& buffer);
  void renderFieldImages(const TXBitmap& buffer);
  void renderAreaImages(TXBitmap& buffer, const std::vector<TXBitmap>& underText, const std::vector<TXBitmap>& underPictures);

  const TPageModel& m_page;
  const TPageLayout& m_layout;
  const TPictureList& m_pictures;
  const TQtTextMetrics& m_fonts;
  int m_scale = 1;
};

// Copies rectangle `from` of `src` enlarged smoothly by `scale` into `dst` at (dx, dy).
void enlargeInto(const TXBitmap& src, const TRect& from, TXBitmap& dst, int dx, int dy, int scale);

// Copies a rectangle of `src` (at sx, sy) into `dst` at (dx, dy), clipped to both.
void copyBits(const TXBitmap& src, int sx, int sy, int w, int h, TXBitmap& dst, int dx, int dy);
TXBitmap copyRect(const TXBitmap& src, const TRect& r);
inline TRect scaled(const TRect& r, int scale) { return {r.x * scale, r.y * scale, r.w * scale, r.h * scale}; }
