// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/tpagelayout.h"

#include "platform/codec.h"
#include "widgets/answercheck.h"

#include <algorithm>

TRect TRect::united(const TRect& o) const {
  if (empty()) return o;
  if (o.empty()) return *this;
  const int l = std::min(x, o.x), t = std::min(y, o.y);
  return {l, t, std::max(right(), o.right()) - l, std::max(bottom(), o.bottom()) - t};
}

int TPageLayout::areaAt(int px, int py) const {
  for (std::size_t i = 0; i < areas.size(); ++i)
    if (areas[i].rect.contains(px, py)) return int(i);
  for (const THitRun& run : hitRuns)
    if (run.rect.contains(px, py)) return run.area;
  return -1;
}

int TPageLayout::wordAt(int px, int py) const {
  for (std::size_t i = 0; i < words.size(); ++i)
    if (words[i].rect.contains(px, py)) return int(i);
  return -1;
}

namespace {

bool isAll255(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return (unsigned char)c == 255; });
}

class TLayouter {
 public:
  TLayouter(TPageModel& page, const TTextMetrics& metrics, const TPictureSizeFn& pictureSize, int pageWidth,
            int pageHeight)
      : m_page(page), m_metrics(metrics), m_pictureSize(pictureSize), m_pageWidth(pageWidth), m_pageHeight(pageHeight) {}

  TPageLayout run() {
    auto& items = m_page.items;
    m_out.boxes.resize(m_page.boxes.size());
    m_out.hiddenSpace.assign(items.size(), 0);
    m_out.fields.resize(m_page.fields.size());
    m_out.dragSlots.resize(m_page.dragSlots.size());
    m_seq.assign(m_page.links.size(), 0);
    m_boxX = kPageMargin;
    m_boxW = std::max(0, m_pageWidth - 2 * kPageMargin);
    measure();
    for (std::size_t i = 0; i < items.size(); ++i) {
      TPageItem& it = items[i];
      switch (it.kind) {
        case TItemKind::BoxStart:
          closeLine();
          finishBox();
          startBox(it.index);
          it.x = m_boxX;
          it.y = m_y;
          break;
        case TItemKind::LineBreak:
        case TItemKind::Paragraph:
          it.x = m_rel;
          m_line.push_back(int(i));
          closeLine();
          if (it.kind == TItemKind::Paragraph) advance(m_lastLineHeight);
          break;
        case TItemKind::Space:
          if (m_line.empty()) {
            // Nothing to separate at the start of a line.
            it.x = m_boxX;
            it.y = m_y;
            m_out.hiddenSpace[i] = 1;
            break;
          }
          it.x = m_rel;
          m_rel += it.width;
          m_line.push_back(int(i));
          break;
        case TItemKind::Word:
        case TItemKind::Picture: {
          int tabX = -1;
          if (it.tab > 0) tabX = m_boxW * it.tab / 100;
          else if (it.tab < 0) tabX = -it.tab;
          int x = m_rel;
          if (tabX >= 0 && x < tabX) x = tabX;
          if (!m_line.empty() && x + it.width > m_boxW) {
            // A gap of several words goes to the next line whole: its field is one line high.
            const std::vector<int> carried = gapTail(it);
            m_line.resize(m_line.size() - carried.size());
            closeLine();
            x = tabX >= 0 ? tabX : 0;
            if (!carried.empty()) {
              m_rel = 0;
              for (const int c : carried) {
                items[std::size_t(c)].x = m_rel;
                m_rel += items[std::size_t(c)].width;
                m_line.push_back(c);
              }
              x = m_rel;
            }
          }
          if (tabX >= 0 && m_firstTab < 0) m_firstTab = int(m_line.size());
          it.x = x;
          m_rel = x + it.width;
          m_line.push_back(int(i));
          break;
        }
      }
    }
    closeLine();
    finishBox();
    growGapFields();
    placeFixedWidgets();
    addButtonRuns();
    m_out.contentHeight = m_maxY;
    return std::move(m_out);
  }

 private:
  void measure() {
    for (TPageItem& it : m_page.items) {
      const std::string_view face = m_page.faceName(it.style);
      TTextExtent e;
      switch (it.kind) {
        case TItemKind::Word: e = m_metrics.textExtent(face, it.style, m_page.itemText(it)); break;
        case TItemKind::Space: e = m_metrics.textExtent(face, it.style, " "); break;
        case TItemKind::LineBreak:
        case TItemKind::Paragraph: e = m_metrics.textExtent(face, it.style, {}); break;
        case TItemKind::BoxStart: break;
        case TItemKind::Picture: {
          if (it.index < 0 || std::size_t(it.index) >= m_page.images.size()) break;
          const TImageRecord& img = m_page.images[std::size_t(it.index)];
          const TSize s = m_pictureSize ? m_pictureSize(img.picture) : TSize{};
          const int w = int(std::int64_t(s.w) * img.scale / 100), h = int(std::int64_t(s.h) * img.scale / 100);
          e.width = w;
          if (img.baseGiven) e.ascent = img.base;
          else if (img.align == TImageAlign::Middle) e.ascent = h / 2;
          else if (img.align == TImageAlign::Free) e.ascent = h * 2 / 3;
          else e.ascent = h;
          e.descent = h - e.ascent;
          break;
        }
      }
      it.width = e.width;
      it.ascent = e.ascent;
      it.descent = e.descent;
      it.height = e.ascent + e.descent;
    }
    widenGaps();
  }

  // A field refuses a character once its text, a blank and 4 pixels fill it, so a gap only
  // as wide as its words could not take its own solution, nor its help pattern while the
  // learner fills it in: the last word makes room for the widest of them.
  void widenGaps() {
    const std::size_t n = m_page.fields.size();
    if (n == 0) return;
    std::vector<int> width(n, 0), last(n, -1);
    for (std::size_t i = 0; i < m_page.items.size(); ++i) {
      const TPageItem& it = m_page.items[i];
      const TTextStyle& st = it.style;
      if (st.widgetKind != TWidgetKind::Gap || st.widget < 0 || std::size_t(st.widget) >= n) continue;
      if (it.kind != TItemKind::Word && it.kind != TItemKind::Space) continue;
      width[std::size_t(st.widget)] += it.width;
      if (it.kind == TItemKind::Word) last[std::size_t(st.widget)] = int(i);
    }
    for (std::size_t f = 0; f < n; ++f) {
      if (last[f] < 0 || !m_page.fields[f].inFlow) continue;
      TPageItem& word = m_page.items[std::size_t(last[f])];
      const std::string_view face = m_page.faceName(word.style);
      const auto extent = [&](std::string_view text) { return m_metrics.textExtent(face, word.style, text).width; };
      int needed = 0;
      for (const std::string& text : fieldTexts(m_page.fields[f], extent)) needed = std::max(needed, extent(text + " ") + 5);
      if (needed > width[f]) word.width += needed - width[f];
    }
  }

  // A gap field is as high as its words, so the underscores of a help pattern, which sit on
  // the words' bottom edge, would fall on the field's frame: one pixel more above and two
  // below keep them inside, and the field's centred text stays on its line.
  void growGapFields() {
    for (std::size_t i = 0; i < m_out.fields.size(); ++i) {
      TRect& r = m_out.fields[i];
      if (!m_page.fields[i].inFlow || r.empty()) continue;
      r.y -= 1;
      r.h += 3;
    }
  }

  // The widest texts a gap field must hold: each solution, and its help pattern with every
  // placeholder replaced by the widest letter of the solutions (or kept, if that is wider).
  template <typename Extent>
  static std::vector<std::string> fieldTexts(const TFieldRecord& field, const Extent& extent) {
    std::vector<std::string> texts = field.solutions;
    if (field.help.empty()) return texts;
    // With every letter masked: the random letters a real mask keeps come from the solution anyway.
    const std::string first = field.solutions.empty() ? std::string() : field.solutions.front();
    std::string pattern = field.help == "*" ? answercheck::helpMask(first, [] { return 0; }) : field.help;
    char widest = 0;
    int widestWidth = 0;
    for (const std::string& s : field.solutions) {
      for (char c : s) {
        const int w = extent(std::string_view(&c, 1));
        if (w > widestWidth) {
          widest = c;
          widestWidth = w;
        }
      }
    }
    for (char& c : pattern) {
      if ((c == '_' || c == '.') && widest && extent(std::string_view(&c, 1)) < widestWidth) c = widest;
    }
    texts.push_back(pattern);
    return texts;
  }

  // The words (and the blanks between them) at the end of the line that belong to the same
  // gap as `next`; nothing when that gap fills the whole line anyway.
  std::vector<int> gapTail(const TPageItem& next) const {
    const TTextStyle& st = next.style;
    if (next.kind != TItemKind::Word || st.widget < 0 || st.widgetKind != TWidgetKind::Gap) return {};
    const auto sameGap = [&](const TPageItem& it) {
      return it.style.widget == st.widget && it.style.widgetKind == TWidgetKind::Gap;
    };
    std::size_t k = m_line.size();
    while (k > 0) {
      const TPageItem& it = m_page.items[std::size_t(m_line[k - 1])];
      if (it.kind == TItemKind::Word && sameGap(it)) --k;
      else if (it.kind == TItemKind::Space && k >= 2 && sameGap(m_page.items[std::size_t(m_line[k - 2])])) --k;
      else break;
    }
    if (k == 0 || k == m_line.size()) return {};
    return std::vector<int>(m_line.begin() + std::ptrdiff_t(k), m_line.end());
  }

  const TImageRecord* image(const TPageItem& it) const {
    if (it.kind != TItemKind::Picture || it.index < 0 || std::size_t(it.index) >= m_page.images.size()) return nullptr;
    return &m_page.images[std::size_t(it.index)];
  }

  void advance(int dy) {
    m_y += dy;
    m_maxY = std::max(m_maxY, m_y);
  }

  void startBox(int index) {
    m_boxIndex = -1;
    if (index < 0 || std::size_t(index) >= m_page.boxes.size()) return;
    const TBoxRecord& box = m_page.boxes[std::size_t(index)];
    m_boxIndex = index;
    m_boxX = box.coords.get(0, 0);
    m_boxW = TCoords::extent(box.coords.get(2, 0), m_pageWidth);
    const int y = box.coords.get(1, -1);
    if (y >= 0) {
      m_y = y;
      m_boxTop = y;
    } else if (y == -2 && m_hasLine) {
      m_boxTop = m_lastLineTop;
      m_sameBaseline = true;
    } else {
      m_boxTop = m_y;
    }
    m_maxY = std::max(m_maxY, m_y);
    m_boxGrows = !box.coords.has(3);
    const int h = m_boxGrows ? 20 : TCoords::extent(box.coords.v[3], m_pageHeight);
    m_out.boxes[std::size_t(index)] = {m_boxX, m_boxTop, m_boxW, h};
  }

  void finishBox() {
    if (m_boxIndex < 0) return;
    if (m_boxGrows) m_out.boxes[std::size_t(m_boxIndex)].h = std::max(20, m_y - m_boxTop + 4);
    m_boxIndex = -1;
  }

  void closeLine() {
    if (m_line.empty()) return;
    auto& items = m_page.items;
    // Trailing spaces (before the break that closes the line, if any) are not drawn.
    int end = int(m_line.size());
    int lastContent = -1;
    for (int k = end - 1; k >= 0; --k) {
      const TItemKind kind = items[std::size_t(m_line[std::size_t(k)])].kind;
      if (kind == TItemKind::Word || kind == TItemKind::Picture) {
        lastContent = k;
        break;
      }
    }
    for (int k = lastContent + 1; k < end; ++k) {
      const int idx = m_line[std::size_t(k)];
      if (items[std::size_t(idx)].kind == TItemKind::Space) m_out.hiddenSpace[std::size_t(idx)] = 1;
    }
    const TPageItem& last = items[std::size_t(m_line[std::size_t(lastContent >= 0 ? lastContent : end - 1)])];
    int contentWidth = 0;
    if (lastContent >= 0) {
      const TPageItem& lc = items[std::size_t(m_line[std::size_t(lastContent)])];
      contentWidth = lc.x + lc.width;
    }
    int maxA = 0, maxD = 0;
    for (int idx : m_line) {
      const TPageItem& it = items[std::size_t(idx)];
      const TImageRecord* img = image(it);
      if (img && img->align == TImageAlign::Free) continue;
      maxA = std::max(maxA, it.ascent);
      maxD = std::max(maxD, it.descent);
    }
    const int s = last.style.lineSpacing;
    const int pitch = -s;
    int top = m_y, baseline;
    if (m_sameBaseline) {
      top = m_lastLineTop;
      baseline = m_lastBaseline;
    } else {
      baseline = s >= 0 ? m_y + maxA : m_y + pitch * 2 / 3;
    }
    m_sameBaseline = false;
    const int newY = s >= 0 ? baseline + maxD + s : baseline + (pitch - pitch * 2 / 3);

    const int free = m_boxW - contentWidth;
    int shift = 0;
    switch (last.style.align) {
      case TAlign::Left: break;
      case TAlign::Center: shift = free / 2; break;
      case TAlign::Right: shift = free; break;
      case TAlign::Justify: break;
    }
    if (last.style.align == TAlign::Justify && free > 0 && lastContent > 0) {
      const int stop = m_firstTab >= 0 ? std::min(m_firstTab, lastContent) : lastContent;
      int spaces = 0;
      for (int k = 1; k < stop; ++k)
        if (items[std::size_t(m_line[std::size_t(k)])].kind == TItemKind::Space) ++spaces;
      int remaining = free, acc = 0;
      for (int k = 0; k < int(m_line.size()); ++k) {
        TPageItem& it = items[std::size_t(m_line[std::size_t(k)])];
        it.x += acc;
        if (k >= 1 && k < stop && it.kind == TItemKind::Space && spaces > 0) {
          const int add = remaining / spaces;
          it.width += add;
          acc += add;
          remaining -= add;
          --spaces;
        }
      }
    }
    for (int idx : m_line) {
      TPageItem& it = items[std::size_t(idx)];
      it.x += m_boxX + shift;
      it.y = baseline;
      if (const TImageRecord* img = image(it)) {
        if (img->align == TImageAlign::Center) it.x = m_boxX + (m_boxW - it.width) / 2;
        else if (img->align == TImageAlign::Right) it.x = m_boxX + m_boxW - it.width;
      }
    }
    placeCarried(top, newY);
    m_lastBaseline = baseline;
    m_lastLineTop = top;
    m_lastLineHeight = newY - top;
    m_hasLine = true;
    m_y = newY;
    m_maxY = std::max(m_maxY, m_y);
    m_line.clear();
    m_rel = 0;
    m_firstTab = -1;
  }

  void placeCarried(int lineTop, int lineBottom) {
    auto& items = m_page.items;
    int runLink = -1;
    // The run of one link's words on this line, for clicks between and around them.
    THitRun hit;
    int hitLink = -1;
    const auto closeHit = [&] {
      if (hitLink >= 0 && lineBottom > lineTop) {
        hit.rect = {hit.rect.x, lineTop, hit.rect.w, lineBottom - lineTop};
        m_out.hitRuns.push_back(hit);
      }
      hitLink = -1;
    };
    for (int idx : m_line) {
      const TPageItem& it = items[std::size_t(idx)];
      const bool content = it.kind == TItemKind::Word || it.kind == TItemKind::Picture;
      if (!content) continue;
      const TRect r = itemRect(it);
      const TTextStyle& st = it.style;
      if (it.kind == TItemKind::Word && st.widget >= 0) {
        if (st.widgetKind == TWidgetKind::Gap && std::size_t(st.widget) < m_out.fields.size())
          m_out.fields[std::size_t(st.widget)] = m_out.fields[std::size_t(st.widget)].united(r);
        else if (st.widgetKind == TWidgetKind::Drag && std::size_t(st.widget) < m_out.dragSlots.size())
          m_out.dragSlots[std::size_t(st.widget)] = m_out.dragSlots[std::size_t(st.widget)].united(r);
      }
      const TImageRecord* img = image(it);
      if (img && !img->map.empty()) addMapAreas(*img, r);
      if (st.link >= 0 && std::size_t(st.link) < m_seq.size()) {
        TLinkArea a;
        a.link = st.link;
        a.seq = m_seq[std::size_t(st.link)]++;
        a.rect = r;
        a.item = idx;
        a.images = img ? (img->flashPicture >= 0 || img->hoverTint.has_value()) : st.flashing;
        m_out.areas.push_back(a);
        if (hitLink == st.link) {
          hit.rect = hit.rect.united(r);
        } else {
          closeHit();
          hitLink = st.link;
          hit = {r, int(m_out.areas.size() - 1)};
        }
        if (it.kind == TItemKind::Word && m_page.links[std::size_t(st.link)].kind == TLinkKind::HintOnly) {
          if (runLink == st.link && !m_out.underlines.empty()) {
            m_out.underlines.back().x2 = r.right();
          } else {
            m_out.underlines.push_back({r.x, r.right(), it.y + 2, idx});
          }
          runLink = st.link;
        } else {
          runLink = -1;
        }
      } else {
        runLink = -1;
        closeHit();
      }
      if (it.kind == TItemKind::Word && !isAll255(m_page.itemText(it))) {
        const bool newGroup = st.group < 0 || st.group != m_lastGroup;
        m_out.words.push_back({r, idx, newGroup});
        m_lastGroup = st.group;
      } else if (img && !img->alt.empty()) {
        m_out.words.push_back({r, idx, true});
        m_lastGroup = -1;
      }
    }
    closeHit();
  }

  // A drawn box whose words all belong to one link is that link's button: all of it counts.
  void addButtonRuns() {
    for (std::size_t b = 0; b < m_page.boxes.size() && b < m_out.boxes.size(); ++b) {
      const TBoxRecord& box = m_page.boxes[b];
      if (!box.filled && box.borderWidth <= 0) continue;
      const TRect& r = m_out.boxes[b];
      if (r.empty()) continue;
      const auto inside = [&](const TRect& w) { return r.contains(w.x + w.w / 2, w.y + w.h / 2); };
      int link = -1, first = -1;
      bool one = true;
      for (std::size_t i = 0; i < m_out.areas.size() && one; ++i) {
        const TLinkArea& a = m_out.areas[i];
        if (a.item < 0 || !inside(a.rect)) continue;
        if (link < 0) {
          link = a.link;
          first = int(i);
        } else if (a.link != link) {
          one = false;
        }
      }
      if (!one || link < 0) continue;
      // Plain words inside would belong to something else than a button.
      const bool onlyLink = std::all_of(m_out.words.begin(), m_out.words.end(), [&](const TWordEntry& w) {
        return !inside(w.rect) || m_page.items[std::size_t(w.item)].style.link == link;
      });
      if (onlyLink) m_out.hitRuns.push_back({{r.x, r.y, r.w, r.h}, first});
    }
  }

  void addMapAreas(const TImageRecord& img, const TRect& r) {
    for (const TMapRecord& map : m_page.maps) {
      if (!zek::equalsNoCase(map.name, img.map)) continue;
      for (const TMapArea& a : map.areas) {
        m_page.links.push_back({a.href, TLinkKind::Target});
        m_seq.push_back(1);
        TLinkArea area;
        area.link = int(m_page.links.size() - 1);
        area.rect = {r.x + a.x, r.y + a.y, a.w, a.h};
        m_out.areas.push_back(area);
      }
      break;
    }
  }

  TRect coordsRect(const TCoords& c, int defaultHeight) const {
    return {c.get(0, 0), c.get(1, 0), TCoords::extent(c.get(2, 0), m_pageWidth),
            c.has(3) ? TCoords::extent(c.v[3], m_pageHeight) : defaultHeight};
  }

  void placeFixedWidgets() {
    for (std::size_t i = 0; i < m_page.fields.size(); ++i) {
      const TFieldRecord& f = m_page.fields[i];
      if (f.inFlow) continue;
      const TTextExtent e = m_metrics.textExtent(m_page.faceName(f.style), f.style, {});
      m_out.fields[i] = coordsRect(f.coords, e.ascent + e.descent + 4);
    }
    for (const TButtonRecord& b : m_page.buttons) m_out.buttons.push_back(coordsRect(b.coords, 24));
    if (m_page.multiple) {
      const TMultipleRecord& m = *m_page.multiple;
      const int cw = m.coords.get(2, 120), ch = m.coords.get(3, 40);
      m_out.multiple = {m.coords.get(0, 0), m.coords.get(1, 0), cw * std::max(1, m.cols), ch * std::max(1, m.rows)};
    }
  }

  TPageModel& m_page;
  const TTextMetrics& m_metrics;
  const TPictureSizeFn& m_pictureSize;
  const int m_pageWidth, m_pageHeight;
  TPageLayout m_out;
  std::vector<int> m_seq;
  std::vector<int> m_line;
  int m_rel = 0;
  int m_firstTab = -1;
  int m_y = kFirstLineY, m_maxY = kFirstLineY;
  int m_boxX = 0, m_boxW = 0, m_boxTop = 0, m_boxIndex = -1;
  bool m_boxGrows = false;
  bool m_sameBaseline = false, m_hasLine = false;
  int m_lastBaseline = 0, m_lastLineTop = kFirstLineY, m_lastLineHeight = 0;
  int m_lastGroup = -1;
};

std::string quoted(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out.push_back('\\');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

std::string rectText(const TRect& r) {
  return std::to_string(r.x) + " " + std::to_string(r.y) + " " + std::to_string(r.w) + " " + std::to_string(r.h);
}

}  // namespace

TPageLayout layoutPage(TPageModel& page, const TTextMetrics& metrics, const TPictureSizeFn& pictureSize, int pageWidth,
                       int pageHeight) {
  return TLayouter(page, metrics, pictureSize, pageWidth, pageHeight).run();
}

std::string dumpLayout(const TPageModel& page, const TPageLayout& layout) {
  std::string out;
  const auto num = [](int v) { return " " + std::to_string(v); };
  for (std::size_t i = 0; i < page.items.size(); ++i) {
    const TPageItem& it = page.items[i];
    switch (it.kind) {
      case TItemKind::Word:
        out += "word " + quoted(page.itemText(it)) + num(it.x) + num(it.y) + num(it.width) + num(it.ascent) +
               num(it.descent);
        break;
      case TItemKind::Space:
        out += "space" + num(it.x) + num(it.y) + num(it.width);
        if (layout.hiddenSpace[i]) out += " hidden";
        break;
      case TItemKind::LineBreak: out += "br" + num(it.x) + num(it.y); break;
      case TItemKind::Paragraph: out += "p" + num(it.x) + num(it.y); break;
      case TItemKind::BoxStart:
        out += "box " + std::to_string(it.index) + " ";
        if (it.index >= 0 && std::size_t(it.index) < layout.boxes.size())
          out += rectText(layout.boxes[std::size_t(it.index)]);
        break;
      case TItemKind::Picture:
        out += "img " + std::to_string(it.index) + num(it.x) + num(it.y) + num(it.width) + num(it.ascent) +
               num(it.descent);
        break;
    }
    out += "\n";
  }
  for (const TLinkArea& a : layout.areas)
    out += "area " + std::to_string(a.link) + "." + std::to_string(a.seq) + " " + rectText(a.rect) +
           (a.images ? " images" : "") + "\n";
  for (std::size_t i = 0; i < layout.fields.size(); ++i) out += "field " + std::to_string(i) + " " + rectText(layout.fields[i]) + "\n";
  for (std::size_t i = 0; i < layout.dragSlots.size(); ++i)
    out += "drag " + std::to_string(i) + " " + rectText(layout.dragSlots[i]) + "\n";
  for (std::size_t i = 0; i < layout.buttons.size(); ++i)
    out += "button " + std::to_string(i) + " " + rectText(layout.buttons[i]) + "\n";
  if (!layout.multiple.empty()) out += "multiple " + rectText(layout.multiple) + "\n";
  out += "height " + std::to_string(layout.contentHeight) + "\n";
  return out;
}

namespace {

std::string stripWord(std::string_view w) {
  constexpr std::string_view kEnd = ".,;:!?\")]", kStart = "([\"";
  while (!w.empty() && kEnd.find(w.back()) != std::string_view::npos) w.remove_suffix(1);
  while (!w.empty() && kStart.find(w.front()) != std::string_view::npos) w.remove_prefix(1);
  return std::string(w);
}

bool touching(const TWordEntry& a, const TWordEntry& b) {
  return a.rect.y == b.rect.y && a.rect.h == b.rect.h && a.rect.right() == b.rect.x;
}

}  // namespace

std::string rightClickText(const TPageModel& page, const TPageLayout& layout, int index) {
  if (index < 0 || std::size_t(index) >= layout.words.size()) return {};
  const auto& words = layout.words;
  const TPageItem& item = page.items[std::size_t(words[std::size_t(index)].item)];
  if (item.kind == TItemKind::Picture)
    return item.index >= 0 ? page.images[std::size_t(item.index)].alt : std::string();
  const auto text = [&](std::size_t k) { return page.itemText(page.items[std::size_t(words[k].item)]); };
  std::size_t first = std::size_t(index), last = std::size_t(index);
  if (item.style.group >= 0) {
    while (first > 0 && !words[first].newGroup) --first;
    while (last + 1 < words.size() && !words[last + 1].newGroup) ++last;
    // Pieces drawn touching each other are one word of the phrase, as outside a group.
    std::string out, word;
    const auto flush = [&] {
      const std::string w = stripWord(word);
      word.clear();
      if (w.empty()) return;
      if (!out.empty()) out.push_back(' ');
      out += w;
    };
    for (std::size_t k = first; k <= last; ++k) {
      if (k > first && !touching(words[k - 1], words[k])) flush();
      word += text(k);
    }
    flush();
    return out;
  }
  while (first > 0 && touching(words[first - 1], words[first]) &&
         page.items[std::size_t(words[first - 1].item)].kind == TItemKind::Word)
    --first;
  while (last + 1 < words.size() && touching(words[last], words[last + 1]) &&
         page.items[std::size_t(words[last + 1].item)].kind == TItemKind::Word)
    ++last;
  std::string joined;
  for (std::size_t k = first; k <= last; ++k) joined += text(k);
  return stripWord(joined);
}
