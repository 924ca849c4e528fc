// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/tpagemodel.h"
#include "page/ttextmetrics.h"

#include <functional>
#include <string>
#include <vector>

// Layout of a read page: fills the x, y (baseline), width, height, ascent and descent of
// every item and collects what painting and the mouse need. Model code: no widgets.

struct TRect {
  int x = 0, y = 0, w = 0, h = 0;
  int right() const { return x + w; }
  int bottom() const { return y + h; }
  bool empty() const { return w <= 0 || h <= 0; }
  bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
  bool intersects(const TRect& o) const { return x < o.right() && o.x < right() && y < o.bottom() && o.y < bottom(); }
  TRect united(const TRect& o) const;
  bool operator==(const TRect&) const = default;
};

struct TSize {
  int w = 0, h = 0;
};

// One rectangle of a link: per placed word or picture, and per map rectangle.
struct TLinkArea {
  int link = -1;  // index into TPageModel::links
  int seq = 0;    // sequence number within the link
  TRect rect;     // page coordinates
  int item = -1;  // the word or picture item; -1 for a map rectangle
  bool images = false;  // has pre-rendered normal and highlighted images (FLASH, FCOLOR)
};

// A drawn word (or a picture with ALT text) for the right click.
struct TWordEntry {
  TRect rect;
  int item = -1;
  bool newGroup = true;  // starts a new lookup phrase
};

// The dotted underline of a hint-only link over the run of its words on one line.
struct TUnderlineRun {
  int x1 = 0, x2 = 0, y = 0;
  int item = -1;  // first word of the run (its colour)
};

// Where a click still counts for a link beyond its words: the run of a link's words on one
// line with the gaps between them, as high as the line; or a drawn box (a button shape) that
// holds nothing but that link.
struct THitRun {
  TRect rect;
  int area = -1;  // the first area of the run
};

struct TPageLayout {
  std::vector<TRect> boxes;      // per box record; grown heights filled in
  std::vector<TLinkArea> areas;  // in page order
  std::vector<THitRun> hitRuns;
  std::vector<TWordEntry> words;
  std::vector<TUnderlineRun> underlines;
  std::vector<char> hiddenSpace;  // per item: a space that ends its line (drawn as character 255)
  std::vector<TRect> fields;      // per field record: the gap's words or the EDIT coordinates
  std::vector<TRect> dragSlots;   // per drag slot: its words
  std::vector<TRect> buttons;     // per button record
  TRect multiple;                 // the whole grid, empty without one
  int contentHeight = 0;

  // First link area at a page position, or -1.
  // The link area under a point: a word or picture first, else the run or button it lies in.
  int areaAt(int x, int y) const;
  int wordAt(int x, int y) const;
};

// The text box of the page itself (outside every BOX).
constexpr int kPageMargin = 16;
constexpr int kFirstLineY = 16;

using TPictureSizeFn = std::function<TSize(int picture)>;

// Lays out `page` on a page of the given size. Pictures are measured through `pictureSize`
// (a picture of size 0 takes no room). Map rectangles add link records to the page.
TPageLayout layoutPage(TPageModel& page, const TTextMetrics& metrics, const TPictureSizeFn& pictureSize,
                       int pageWidth = 800, int pageHeight = 572);

// Rectangle of an item: left, baseline minus ascent, width, ascent plus descent.
inline TRect itemRect(const TPageItem& item) {
  return {item.x, item.y - item.ascent, item.width, item.ascent + item.descent};
}

// One line per placed item and record, for golden tests and `zek-tool layout`:
//   word "<text>" x y w a d   space x y w [hidden]   br|p x y   box <n> x y w h   img <p> x y w a d
// followed by "area", "field", "drag", "button", "multiple" and "height" lines.
std::string dumpLayout(const TPageModel& page, const TPageLayout& layout);

// The text a right click on word-list entry `index` gives: a picture's ALT text; the words
// of its W group joined by blanks; else the pieces drawn touching it on its line joined.
// Closing punctuation is taken off the end and opening brackets and quotes off the start.
std::string rightClickText(const TPageModel& page, const TPageLayout& layout, int index);
