// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The content of one page as the htx reader leaves it and the layout takes it: items with
// a copy of their style, boxes, picture references, links, maps and the plain records of
// the widgets the page view creates. No widget types here.

// 0x00BBGGRR. Values above 24 bits are not colours but references resolved at paint time.
using TColor = std::uint32_t;
constexpr TColor kColorWhite = 0xFFFFFF;
constexpr TColor kColorBlack = 0x000000;
constexpr TColor kColorPaletteFlag = 0x01000000;  // | index: an entry of the 256-colour palette
constexpr TColor kColorPageText = 0x80000001;     // the page's text colour (ColorTXT)
constexpr TColor kColorPageLink = 0x80000002;     // the page's link colour

constexpr TColor rgbColor(int r, int g, int b) {
  return TColor(r & 255) | (TColor(g & 255) << 8) | (TColor(b & 255) << 16);
}

enum class TAlign : std::uint8_t { Left = 0, Center = 1, Right = 2, Justify = 3 };
enum class TWidgetKind : std::uint8_t { None, Gap, Drag };

// The current text style; copied into every item, so it stays small and trivially copyable.
struct TTextStyle {
  TColor color = kColorPageText;
  TColor bgColor = kColorWhite;
  TColor flashColor = kColorBlack;
  std::int16_t size = 3;
  std::int16_t tracking = 0;
  std::int16_t lineSpacing = 0;
  std::uint16_t face = 0;  // index into TPageModel::faces
  std::int32_t link = -1;  // index into TPageModel::links, -1 none
  std::int32_t widget = -1;  // index into fields (Gap) or dragSlots (Drag)
  std::int32_t box = -1;     // current box, -1 the page itself
  std::int16_t group = -1;   // word group of <W>, -1 none
  TAlign align = TAlign::Left;
  TWidgetKind widgetKind = TWidgetKind::None;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool noBackground = true;
  bool linkColor = false;  // drawn in the page's link colour
  bool flashing = false;   // a FLASH link: flashColor while hovered
  bool pre = false;
};

enum class TItemKind : std::uint8_t { Word = 0, Space = 1, LineBreak = 2, Paragraph = 3, BoxStart = 4, Picture = 5 };

struct TPageItem {
  TItemKind kind = TItemKind::Word;
  // Tab of the next word: > 0 percent of the box width, < 0 pixels from the box edge, 0 none.
  std::int16_t tab = 0;
  std::int32_t index = -1;  // BoxStart: box number; Picture: image record
  std::uint32_t textOffset = 0;  // words: bytes in TPageModel::text
  std::uint32_t textLength = 0;
  TTextStyle style;
  // Filled by the layout.
  int x = 0, y = 0, width = 0, height = 0, ascent = 0, descent = 0;
};

// x,y,w,h as written; an item that is missing or unreadable is not given.
struct TCoords {
  int v[4] = {0, 0, 0, 0};
  std::uint8_t given = 0;  // bit i: v[i] was given
  bool has(int i) const { return (given >> i) & 1; }
  int get(int i, int fallback) const { return has(i) ? v[i] : fallback; }
  // A width or height of 0 or less counts from the page size: full size plus twice the value.
  static int extent(int value, int pageExtent) { return value > 0 ? value : pageExtent + 2 * value; }
};

enum class TBoxShape : std::uint8_t { Rect, RoundRect, Ellipse, Random };

struct TBoxRecord {
  TCoords coords;  // x,y,w[,h]; without h the box grows with its text
  TBoxShape shape = TBoxShape::Rect;
  int offset = 0;
  bool filled = false;
  TColor fillColor = kColorWhite;
  TColor borderColor = kColorBlack;
  int borderWidth = 0;
  int radius = 30;
  bool top = false;   // drawn after the pictures
  bool dest = false;  // drop destination of the block exercise
  std::vector<std::string> mosaic;  // running mosaic pictures, DIR already in front
  TCoords zone2;
  int speed = 500;
};

enum class TImageAlign : char {
  Bottom = 'B', Center = 'C', Middle = 'M', Right = 'R', Top = 'T', Free = 'X', Left = 'L'
};

struct TImageRecord {
  int picture = -1;       // index in the page's picture list
  int flashPicture = -1;  // shown while hovered, -1 none
  int scale = 100;        // percent
  TImageAlign align = TImageAlign::Bottom;
  int base = 0;
  bool baseGiven = false;
  int radius = 0;
  int alpha = 255;
  int mode = 0;
  TColor tint = kColorBlack;
  std::optional<TColor> hoverTint;
  std::string map;  // USEMAP
  std::string alt;
};

enum class TLinkKind : std::uint8_t { Target, HintOnly, HotSpot };

// A link area's name: target or target@hint ("%@..." for hint-only areas, "@text" for hot spots).
struct TLinkRecord {
  std::string name;
  TLinkKind kind = TLinkKind::Target;
};

struct TMapArea {
  int x = 0, y = 0, w = 0, h = 0;
  std::string href;
};

struct TMapRecord {
  std::string name;
  std::vector<TMapArea> areas;
};

// An input field: a gap in the text flow (A GAP) or placed by EDIT.
struct TFieldRecord {
  bool inFlow = true;
  TCoords coords;  // EDIT only
  std::vector<std::string> solutions;
  std::string help;
  std::string tip = "Hilfe mit F12!";
  std::string reaction;
  bool tolerant = false;  // TOLERANT: the tolerant rule on top of the exact check
  TTextStyle style;  // EDIT: the style at the tag, in the gap colour
};

// A slot of the block exercise: the words of one A DRAG.
struct TDragSlot {
  std::string text;
};

struct TDragSettings {
  std::vector<std::string> decoys;  // KLOTZ FALSCH
  int row = 350;                    // Y
  int perRow = 4;                   // NR
  int blockWidth = 120;
  int left = -1;   // -1: automatic
  int right = -1;  // -1: automatic
};

// The one multiple-choice grid of a page; a second tag changes only what it gives.
// The tallest page picture the page view paints; longer pages are cut.
constexpr int kMaxPagePictureHeight = 32768;

struct TMultipleRecord {
  TCoords coords;  // x,y,cell width,cell height
  int rows = 1;
  int cols = 1;
  std::optional<TColor> inactive, active;
  std::vector<std::string> items;  // right answer first
  std::string reaction;
  TTextStyle style;

  // The grid's picture as the widget will make it (cells of at least 120 x 40, two rows).
  std::int64_t pictureWidth() const;
  std::int64_t pictureHeight() const;
  // No larger than the tallest page picture of a page 1024 pixels wide, so a page cannot
  // ask for gigabytes with a few digits.
  bool pictureFits() const;
};

struct TButtonRecord {
  TCoords coords;
  std::string caption;
  std::string href;
  std::optional<TColor> color;
  TTextStyle style;
};

struct TSatzRecord {
  TCoords coords;
  std::vector<std::string> parts;
  TTextStyle style;
};

struct TPageColors {
  TColor background = rgbColor(255, 255, 255);
  TColor text = rgbColor(0, 0, 0);
  TColor link = rgbColor(0, 128, 0);
  TColor gap = rgbColor(255, 255, 255);
  TColor block = rgbColor(192, 192, 192);
  TColor blockBackground = rgbColor(0, 255, 0);
  TColor choiceActive = rgbColor(255, 0, 0);
  TColor choiceInactive = rgbColor(128, 128, 128);
};

struct TNamedStyle {
  std::string name;  // as looked up: upper-case
  TTextStyle style;
};

struct TNamedValue {
  std::string name;  // lower-case
  std::string value;
};

class TPageModel {
 public:
  TPageModel();

  std::string title = "ohne Titel";
  std::vector<TPageItem> items;
  std::string text;  // bytes of all words, referenced by the items
  std::vector<std::string> faces;  // interned face names; 0 is the default face
  std::vector<TBoxRecord> boxes;
  std::vector<TImageRecord> images;
  std::vector<TLinkRecord> links;
  std::vector<TMapRecord> maps;
  std::vector<TFieldRecord> fields;
  std::vector<TDragSlot> dragSlots;
  TDragSettings drag;
  std::optional<TMultipleRecord> multiple;
  std::vector<TButtonRecord> buttons;
  std::vector<TSatzRecord> sentences;
  TPageColors colors;
  std::string background;  // BODY BACKGROUND, below the page directory
  int waitMs = 0;          // BODY WAIT
  std::string waitTarget;
  std::string returnLink;  // A ... RETURN
  std::vector<TNamedValue> colorAliases;
  std::vector<TNamedValue> linkAliases;
  std::vector<TNamedStyle> styles;

  void clear();

  std::string_view itemText(const TPageItem& item) const {
    return std::string_view(text).substr(item.textOffset, item.textLength);
  }
  const std::string& faceName(const TTextStyle& style) const { return faces[style.face < faces.size() ? style.face : 0]; }
  // Index of `face`, added when new; 0 (the default) when the table is full.
  std::uint16_t internFace(std::string_view face);

  // Link alias "#name" (without regard to case), or nothing when undefined.
  const std::string* linkAlias(std::string_view name) const;
  void setLinkAlias(std::string_view name, std::string_view value);
  const std::string* colorAlias(std::string_view name) const;
  void setColorAlias(std::string_view name, std::string_view value);
  // Last definition of the named style, or nullptr.
  const TNamedStyle* findStyle(std::string_view upperName) const;
};

inline constexpr const char* kDefaultFace = "Arial";

// The page's conditions (`Bedingung`): names compared without regard to case.
class TBedingung {
 public:
  void add(std::string_view name);
  void remove(std::string_view name);
  bool contains(std::string_view name) const;
  const std::vector<std::string>& names() const { return m_names; }

 private:
  std::vector<std::string> m_names;
};
