// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/htxreader.h"
#include "page/tmosaic.h"
#include "page/tpagelayout.h"
#include "page/tqttextmetrics.h"
#include "platform/codec.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <map>

// Fixed metrics at size 3: a character 8 px wide, ascent 12, descent 4 (em 16).
// The page's own text box starts at x 16 and is 768 px wide; the first line at y 16.
namespace {

struct Laid {
  TPageModel page;
  TSimpleHtxHost host;
  TPageLayout layout;
  std::map<std::string, TSize> pictures;

  explicit Laid(const std::string& markup, std::map<std::string, TSize> sizes = {}) : pictures(std::move(sizes)) {
    readHtxPage(page, host, markup);
    TFixedTextMetrics metrics;
    layout = layoutPage(page, metrics, [this](int i) {
      if (i < 0 || std::size_t(i) >= host.m_pictures.size()) return TSize{};
      auto it = pictures.find(host.m_pictures[std::size_t(i)]);
      return it == pictures.end() ? TSize{} : it->second;
    });
  }
  // The n-th word with this text.
  const TPageItem& word(std::string_view text, int n = 0) const {
    for (const TPageItem& it : page.items)
      if (it.kind == TItemKind::Word && page.itemText(it) == text && n-- == 0) return it;
    ADD_FAILURE() << "no word " << text;
    return page.items.front();
  }
  const TPageItem& picture(int n = 0) const {
    for (const TPageItem& it : page.items)
      if (it.kind == TItemKind::Picture && n-- == 0) return it;
    ADD_FAILURE() << "no picture";
    return page.items.front();
  }
};

struct Pos {
  int x, y;
};

void expectAt(const Laid& l, std::string_view word, Pos p, int n = 0) {
  const TPageItem& it = l.word(word, n);
  EXPECT_EQ(it.x, p.x) << word;
  EXPECT_EQ(it.y, p.y) << word;
}

}  // namespace

TEST(PageLayout, FirstLineStartsAtSixteenOnThePageBox) {
  Laid l("ab cd");
  expectAt(l, "ab", {16, 28});
  expectAt(l, "cd", {40, 28});
  EXPECT_EQ(l.word("cd").width, 16);
  EXPECT_EQ(l.layout.contentHeight, 32);
}

TEST(PageLayout, WordsWrapInsideTheBoxAndTheBoxGrows) {
  Laid l("<box coords=40,100,100>aaaa bbbb cccc");
  expectAt(l, "aaaa", {40, 112});
  expectAt(l, "bbbb", {80, 112});
  expectAt(l, "cccc", {40, 128});
  // The space before the word that did not fit ends the first line and is not drawn.
  ASSERT_EQ(l.page.items[4].kind, TItemKind::Space);
  EXPECT_TRUE(l.layout.hiddenSpace[4]);
  EXPECT_FALSE(l.layout.hiddenSpace[2]);
  EXPECT_EQ(l.layout.boxes[0], (TRect{40, 100, 100, 36}));  // top to running y plus 4
}

TEST(PageLayout, GrowingBoxKeepsTwentyWithoutText) {
  Laid l("<box coords=40,100,720><box coords=0,300,100,50>x");
  EXPECT_EQ(l.layout.boxes[0].h, 20);
  EXPECT_EQ(l.layout.boxes[1].h, 50);
}

TEST(PageLayout, PageRelativeWidthsOfBoxes) {
  Laid l("<box coords=40,40,-40>x");
  EXPECT_EQ(l.layout.boxes[0].w, 720);
}

TEST(PageLayout, Alignments) {
  struct Case {
    const char* markup;
    int x;
  } cases[] = {
      {"<box coords=0,0,100>ab", 0},
      {"<box coords=0,0,100 align=center>ab", 42},
      {"<box coords=0,0,101 align=center>ab", 42},  // half the free width, toward zero
      {"<box coords=0,0,100 align=right>ab", 84},
      {"<box coords=0,0,100><center>ab</center>", 42},
      {"<box coords=0,0,100><right>ab", 84},
  };
  for (const Case& c : cases) {
    Laid l(c.markup);
    EXPECT_EQ(l.word("ab").x, c.x) << c.markup;
  }
}

TEST(PageLayout, CentredLineIgnoresItsTrailingSpace) {
  Laid l("<box coords=0,0,100 align=center>aaaa bbbb cccc");
  // "aaaa bbbb" is 72 wide without the space that ends the line.
  expectAt(l, "aaaa", {14, 12});
}

TEST(PageLayout, JustifySpreadsEveryLineOverItsSpaces) {
  Laid l("<box coords=0,0,100 align=b>aa bb cc<p>dd ee");
  // 64 px of text, 36 free over two spaces.
  expectAt(l, "aa", {0, 12});
  expectAt(l, "bb", {42, 12});
  expectAt(l, "cc", {84, 12});
  // The last line of a paragraph is spread too: one space takes all 68 free pixels.
  expectAt(l, "dd", {0, 44});
  expectAt(l, "ee", {84, 44});
}

TEST(PageLayout, JustifyHandsOutTheRemainderToTheLaterSpaces) {
  Laid l("<box coords=0,0,101 align=b>aa bb cc");
  expectAt(l, "bb", {42, 12});  // 37 free: 18 ...
  expectAt(l, "cc", {85, 12});  // ... then 19
}

TEST(PageLayout, JustifyLeavesSpacesAfterATabAlone) {
  Laid l("<box coords=0,0,200><block>aa bb<X-150>cc dd");
  // The tab sets left alignment for what follows, as the markup does; the line stays as filled.
  expectAt(l, "cc", {150, 12});
  expectAt(l, "dd", {174, 12});
}

TEST(PageLayout, Tabs) {
  struct Case {
    const char* markup;
    int x;
  } cases[] = {
      {"<box coords=0,0,200>a<X5>b", 100},    // five tenths
      {"<box coords=0,0,200>a<X25>b", 50},    // percent
      {"<box coords=0,0,200>a<X-30>b", 30},   // pixels
      {"<box coords=0,0,200>abcdefgh<X1>b", 64},  // already past the tab: follows directly
      {"<box coords=10,0,200>a<X-30>b", 40},
  };
  for (const Case& c : cases) {
    Laid l(c.markup);
    EXPECT_EQ(l.word("b").x, c.x) << c.markup;
  }
}

TEST(PageLayout, ATabThatDoesNotFitStartsTheNextLineAtTheTab) {
  Laid l("<box coords=0,0,100>aaaaaaaa<X-60>bbbbb");
  expectAt(l, "bbbbb", {60, 28});
}

TEST(PageLayout, LineSpacing) {
  struct Case {
    const char* markup;
    int first, second;
  } cases[] = {
      {"ab<br>cd", 28, 44},
      {"<font linespace=5>ab<br>cd", 28, 49},   // 5 more below each line
      {"<font linespace=-30>ab<br>cd", 36, 66},  // fixed pitch 30: two thirds above the baseline
      {"<font linespace=-31>ab<br>cd", 36, 67},
  };
  for (const Case& c : cases) {
    Laid l(c.markup);
    EXPECT_EQ(l.word("ab").y, c.first) << c.markup;
    EXPECT_EQ(l.word("cd").y, c.second) << c.markup;
  }
}

TEST(PageLayout, ParagraphAddsTheHeightOfItsLine) {
  Laid l("ab<p>cd");
  expectAt(l, "cd", {16, 60});
  Laid big("<font size=7>A</font><p>cd");
  // Size 7: ascent 36, descent 12; the line is 48 high, and so is the gap.
  EXPECT_EQ(big.word("A").y, 52);
  EXPECT_EQ(big.word("cd").y, 16 + 48 + 48 + 12);
}

TEST(PageLayout, EmptyLineBreaksTakeTheirFontsHeight) {
  Laid l("ab<br><br>cd");
  expectAt(l, "cd", {16, 60});
}

TEST(PageLayout, BoxBelowAndBesideTheTextBefore) {
  Laid below("ab<br><box coords=0,-1,100>cd");
  expectAt(below, "cd", {0, 44});
  EXPECT_EQ(below.layout.boxes[0].y, 32);

  Laid beside("ab<box coords=300,-2,100>cd");
  expectAt(beside, "cd", {300, 28});
  EXPECT_EQ(beside.layout.boxes[0].y, 16);

  // A line break and a paragraph before the box are dropped by the reader, so the box's
  // first line still shares the baseline of the last line.
  Laid dropped("xx<p>ab<br><p><box coords=300,-2,100>cd");
  EXPECT_EQ(dropped.word("cd").y, dropped.word("ab").y);
}

TEST(PageLayout, BoxYSetsTheRunningYAndContentHeightIsTheLargest) {
  Laid l("<box coords=0,300,100>ab<box coords=0,100,100>cd");
  expectAt(l, "ab", {0, 312});
  expectAt(l, "cd", {0, 112});
  EXPECT_EQ(l.layout.contentHeight, 316);
}

TEST(PageLayout, PictureAscentsByAlignment) {
  struct Case {
    const char* markup;
    int ascent, lineBaseline;
  } cases[] = {
      {"a<img src=p.bmp>", 60, 76},
      {"a<img src=p.bmp align=top>", 60, 76},
      {"a<img src=p.bmp align=middle>", 30, 46},
      {"a<img src=p.bmp align=x>", 40, 28},  // free: takes room, does not raise the line
      {"a<img src=p.bmp base=10>", 10, 28},
      {"a<img src=p.bmp scale=50%>", 30, 46},
  };
  for (const Case& c : cases) {
    Laid l(c.markup, {{"p.bmp", {90, 60}}});
    EXPECT_EQ(l.picture().ascent, c.ascent) << c.markup;
    EXPECT_EQ(l.word("a").y, c.lineBaseline) << c.markup;
  }
  Laid scaled("<img src=p.bmp scale=50%>", {{"p.bmp", {90, 60}}});
  EXPECT_EQ(scaled.picture().width, 45);
}

TEST(PageLayout, CentredAndRightPicturesMoveToTheirBoxEdge) {
  Laid c("<box coords=100,0,400>a <img src=p.bmp align=c>", {{"p.bmp", {100, 20}}});
  EXPECT_EQ(c.picture().x, 250);
  Laid r("<box coords=100,0,400><img src=p.bmp align=r> a", {{"p.bmp", {100, 20}}});
  EXPECT_EQ(r.picture().x, 400);
  expectAt(r, "a", {208, 20});  // the word keeps its place after the picture's room
}

TEST(PageLayout, LinkAreasPerWordWithSequenceNumbers) {
  Laid l("<a href=\"x.htx\" flash=#ff0000>one two</a> <a href=\"y.htx\">three</a>");
  ASSERT_EQ(l.layout.areas.size(), 3u);
  EXPECT_EQ(l.layout.areas[0].link, 0);
  EXPECT_EQ(l.layout.areas[0].seq, 0);
  EXPECT_EQ(l.layout.areas[1].seq, 1);
  EXPECT_TRUE(l.layout.areas[1].images);
  EXPECT_EQ(l.layout.areas[2].link, 1);
  EXPECT_FALSE(l.layout.areas[2].images);
  EXPECT_EQ(l.layout.areas[0].rect, (TRect{16, 16, 24, 16}));
  EXPECT_EQ(l.layout.areaAt(50, 20), 1);
  EXPECT_EQ(l.layout.areaAt(10, 20), -1);
}

TEST(PageLayout, ClicksBetweenALinksWordsAndOnAButtonShapeCount) {
  Laid l("<a href=\"x.htx\">one two</a> <a href=\"y.htx\">three</a>");
  // "one" 16..40, space, "two" 48..72, space (no link), "three" 80..120; the line 16..32.
  struct Case { int x, y, area; };
  const Case line[] = {{44, 20, 0}, {44, 31, 0}, {44, 32, -1}, {76, 20, -1}, {100, 17, 2}, {121, 20, -1}};
  for (const Case& c : line) EXPECT_EQ(l.layout.areaAt(c.x, c.y), c.area) << c.x << "," << c.y;

  // A drawn box holding only one link is that link's button; with other words in it, it is not.
  Laid button("<box coords=100,100,200,50 color=#ff0000><box coords=100,110,200 align=m><a href=\"go.htx\">Go</a>"
              "<box coords=400,100,200,50 color=#ff0000><box coords=400,110,200 align=m>Please <a href=\"go.htx\">go</a>");
  EXPECT_EQ(button.layout.areaAt(105, 145), 0);
  EXPECT_EQ(button.layout.areaAt(299, 100), 0);
  EXPECT_EQ(button.layout.areaAt(300, 120), -1);
  EXPECT_EQ(button.layout.areaAt(405, 145), -1);
}

TEST(PageLayout, HintOnlyLinksGetOneUnderlinePerLine) {
  Laid l("<box coords=0,0,100><a href=\"@Hinweis\">aaaa bbbb cccc</a>");
  ASSERT_EQ(l.layout.underlines.size(), 2u);
  EXPECT_EQ(l.layout.underlines[0].x1, 0);
  EXPECT_EQ(l.layout.underlines[0].x2, 72);
  EXPECT_EQ(l.layout.underlines[0].y, 14);
  EXPECT_EQ(l.layout.underlines[1].x2, 32);
}

TEST(PageLayout, MapRectanglesBecomeLinkAreas) {
  Laid l("<map name=m><area shape=rect coords=\"5,6,10,12\" href=\"a.htx\"><img src=p.bmp usemap=m>",
         {{"p.bmp", {50, 40}}});
  ASSERT_EQ(l.layout.areas.size(), 1u);
  EXPECT_EQ(l.layout.areas[0].rect, (TRect{21, 22, 10, 12}));
  EXPECT_EQ(l.page.links[std::size_t(l.layout.areas[0].link)].name, "a.htx");
}

TEST(PageLayout, GapFieldsTakeTheirWordsRectangle) {
  Laid l("We <a gap lsg=\"took\" help=\"t__k\">took</a> it. <edit coords=10,200,100,30 lsg=\"x\" help=\"y\">");
  ASSERT_EQ(l.layout.fields.size(), 2u);
  // Widened so that the solution, a blank and 4 pixels fit: 5 characters of 8 pixels + 5;
  // one pixel higher and two lower than the word, for the help pattern's underscores.
  EXPECT_EQ(l.layout.fields[0], (TRect{40, 15, 45, 19}));
  EXPECT_EQ(l.layout.fields[1], (TRect{10, 200, 100, 30}));
  // The words after the gap move with it.
  EXPECT_EQ(l.page.items[4].x, 40 + 45 + 8);

  // Gaps already wide enough, and gaps of several words, keep their words' widths.
  Laid wide("<a gap lsg=\"on\" help=\"*\">__________</a> <a gap lsg=\"send for\" help=\"*\">send for</a>");
  EXPECT_EQ(wide.layout.fields[0].w, 80);
  EXPECT_EQ(wide.layout.fields[1].w, 9 * 8 + 5);
}

TEST(PageLayout, AGapOfSeveralWordsWrapsWhole) {
  // A box 160 pixels (20 characters) wide: "Don't forget to" fills 15, the gap needs 17 more.
  Laid l("<box coords=0,0,160>Don't forget to <a gap lsg=\"take your medicine\" help=\"*\">take your medicine</a> now.");
  ASSERT_EQ(l.layout.fields.size(), 1u);
  const TRect field = l.layout.fields[0];
  EXPECT_EQ(field.x, 0);
  EXPECT_LE(field.h, 20) << "the field spans more than one line";
  EXPECT_EQ(l.word("take").y, l.word("medicine").y);
  EXPECT_GT(l.word("take").y, l.word("forget").y);
}

TEST(PageLayout, WidgetRectangles) {
  Laid l("<multiple coords=100,200,150,40 dim=2,3 txt=\"a|b|c|d|e|f\"><button coords=10,500,120,30 caption=\"OK\">");
  EXPECT_EQ(l.layout.multiple, (TRect{100, 200, 450, 80}));
  ASSERT_EQ(l.layout.buttons.size(), 1u);
  EXPECT_EQ(l.layout.buttons[0], (TRect{10, 500, 120, 30}));
}

TEST(PageLayout, RightClickText) {
  Laid l("(Hello), <W>Tower of London</W> AT&amp;T! tea<b>pot</b>.");
  const auto textAt = [&](std::string_view word) {
    const TPageItem& it = l.word(word);
    return rightClickText(l.page, l.layout, l.layout.wordAt(it.x + 1, it.y - 1));
  };
  EXPECT_EQ(textAt("(Hello),"), "Hello");
  EXPECT_EQ(textAt("of"), "Tower of London");
  EXPECT_EQ(textAt("AT&T!"), "AT&T");
  EXPECT_EQ(textAt("pot"), "teapot");  // pieces touching on one line form one word

  // Inside a W group too: the touching pieces join, the words of the group get blanks.
  Laid g("<w>to <b>g</b>o (on)</w> <w>ice-<i>cream</i></w>");
  const auto groupAt = [&](std::string_view word) {
    const TPageItem& it = g.word(word);
    return rightClickText(g.page, g.layout, g.layout.wordAt(it.x + 1, it.y - 1));
  };
  EXPECT_EQ(groupAt("g"), "to go on");
  EXPECT_EQ(groupAt("o"), "to go on");
  EXPECT_EQ(groupAt("cream"), "ice-cream");
}

TEST(PageLayout, DumpShowsEveryPlacedItem) {
  Laid l("<box coords=0,0,100>ab cd");
  EXPECT_EQ(dumpLayout(l.page, l.layout),
            "box 0 0 0 100 20\n"
            "word \"ab\" 0 12 16 12 4\n"
            "space 16 12 8\n"
            "word \"cd\" 24 12 16 12 4\n"
            "height 16\n");
}

// ---- real fonts

TEST(PageFonts, SizesOneToSevenArePointsAtNinetySixDpi) {
  const int expected[] = {11, 13, 16, 19, 24, 32, 48};
  for (int size = 1; size <= 7; ++size) EXPECT_EQ(emPixelsOfSize(size), expected[size - 1]) << size;
  EXPECT_EQ(emPixelsOfSize(0), 11);   // 0 or less counts as 1
  EXPECT_EQ(emPixelsOfSize(-4), 11);
  EXPECT_EQ(emPixelsOfSize(8), 0);    // a cell height
}

TEST(PageFonts, RealMetricsFollowTheSizes) {
  TQtTextMetrics m;
  TTextStyle s;
  s.size = 7;
  EXPECT_EQ(m.font("Arial", s).pixelSize(), 48);
  EXPECT_EQ(m.font("Arial", s).family(), "Liberation Sans");
  s.size = 210;
  const TTextExtent e = m.textExtent("Arial", s, "H");
  EXPECT_NEAR(e.ascent + e.descent, 210, 3);  // a cell height in pixels
  s.size = 3;
  const int plain = m.textExtent("Arial", s, "abcd").width;
  s.tracking = 3;
  EXPECT_EQ(m.textExtent("Arial", s, "abcd").width, plain + 12);
  EXPECT_EQ(TQtTextMetrics::familyFor("Times New Roman"), "Liberation Serif");
  EXPECT_EQ(TQtTextMetrics::familyFor("Courier New"), "Liberation Mono");
}

// Words drawn from cached glyphs give the pixels of QPainter::drawText, and cached widths
// the advances measured afresh, for every face, style and kind of text pages show.
TEST(PageFonts, CachedGlyphsAndWidthsMatchQtText) {
  TQtTextMetrics m;
  struct Style {
    int size, tracking;
    bool bold, italic, underline;
  } styles[] = {{1, 0, false, false, false}, {3, 0, false, false, false}, {3, 2, false, false, false},
                {4, 0, true, false, false},  {5, 0, false, true, true},   {7, -1, true, true, false},
                {40, 0, false, false, true}};
  const char* faces[] = {"Arial", "Times New Roman", "Courier New", "Comic Sans MS"};
  const char* words[] = {"Hello,", "Stra\xDF" "e", "\xDC" "bung", "office", "\x84" "Tee\x93", "W.A.V.", "A"};
  for (const char* face : faces) {
    for (const Style& st : styles) {
      TTextStyle s;
      s.size = std::int16_t(st.size);
      s.tracking = std::int16_t(st.tracking);
      s.bold = st.bold;
      s.italic = st.italic;
      s.underline = st.underline;
      for (const char* word : words) {
        const TTextExtent e = m.textExtent(face, s, word);
        QImage plain(e.width + 40, e.ascent + e.descent + 20, QImage::Format_BGR888);
        plain.fill(Qt::white);
        QImage cached = plain;
        const QPoint origin(7, 5 + e.ascent);
        {
          QPainter p(&plain);
          p.setFont(m.font(face, s));
          p.setPen(QColor(20, 40, 200));
          p.drawText(origin, zek::toQString(word));
        }
        for (int round = 0; round < 2; ++round) {  // laid out, then from the cache
          QImage out = cached;
          QPainter p(&out);
          p.setPen(QColor(20, 40, 200));
          m.drawText(p, origin, face, s, word);
          p.end();
          EXPECT_TRUE(out == plain) << face << " size " << st.size << " " << word << " round " << round;
        }
        EXPECT_EQ(m.textExtent(face, s, word).width, m.metrics(face, s).horizontalAdvance(zek::toQString(word)))
            << face << " " << word;
      }
    }
  }
}

// ---- mosaic

TEST(PageMosaic, CellsOfAnArea) {
  struct Case {
    TRect area;
    std::size_t cells;
    int firstHeight;
  } cases[] = {
      {{0, 0, 240, 80}, 8, 40},   // 4 columns of 2 stacked cells
      {{0, 0, 250, 80}, 0, 0},    // width not a whole multiple
      {{0, 0, 60, 50}, 2, 25},    // 1 cell high: halved once
      {{0, 0, 60, 130}, 4, 32},   // 3: halved twice
      {{0, 0, 60, 290}, 8, 36},   // 7: three times
      {{0, 0, 60, 90}, 0, 0},     // 2 and a bit: no cells
      {{0, 0, 60, 30}, 0, 0},     // lower than a cell
  };
  for (const Case& c : cases) {
    const auto cells = TMosaic::cellsOf(c.area, {60, 40});
    EXPECT_EQ(cells.size(), c.cells) << c.area.w << "x" << c.area.h;
    if (!cells.empty()) {
      EXPECT_EQ(cells.front().h, c.firstHeight);
    }
  }
}
