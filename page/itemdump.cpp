// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/itemdump.h"

#include <cstdio>

namespace {

void quoted(std::string& out, std::string_view text) {
  out.push_back('"');
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (u < 32 || u == 127) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", u);
      out += buf;
    } else {
      out.push_back(c);
    }
  }
  out.push_back('"');
}

const char* alignName(TAlign a) {
  switch (a) {
    case TAlign::Left: return "left";
    case TAlign::Center: return "center";
    case TAlign::Right: return "right";
    case TAlign::Justify: return "justify";
  }
  return "left";
}

std::string number(long long n) { return std::to_string(n); }
std::string orNone(long long n) { return n < 0 ? "-" : number(n); }

std::string coordsText(const TCoords& c) {
  std::string out;
  for (int i = 0; i < 4; ++i) {
    if (i) out.push_back(',');
    out += c.has(i) ? number(c.v[i]) : "_";
  }
  return out;
}

void style(std::string& out, const TPageModel& page, const TTextStyle& s) {
  out += " | b=" + number(s.bold) + " i=" + number(s.italic) + " u=" + number(s.underline);
  out += " align=";
  out += alignName(s.align);
  out += " face=";
  quoted(out, page.faceName(s));
  out += " size=" + number(s.size) + " color=" + colorText(s.color);
  out += " bgcolor=" + (s.noBackground ? std::string("-") : colorText(s.bgColor));
  out += " link=" + orNone(s.link);
  out += " widget=";
  if (s.widgetKind == TWidgetKind::Gap) out += "gap" + number(s.widget);
  else if (s.widgetKind == TWidgetKind::Drag) out += "drag" + number(s.widget);
  else out += "-";
  out += " group=" + orNone(s.group) + " pre=" + number(s.pre);
}

std::string joined(const std::vector<std::string>& parts) {
  std::string out;
  for (const auto& p : parts) {
    if (!out.empty()) out.push_back(' ');
    quoted(out, p);
  }
  return out;
}

}  // namespace

std::string colorText(TColor color) {
  if (color == kColorPageText) return "text";
  if (color == kColorPageLink) return "link";
  char buf[16];
  if ((color & 0xFF000000u) == kColorPaletteFlag) {
    std::snprintf(buf, sizeof buf, "i%u", unsigned(color & 255));
  } else {
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", unsigned(color & 255), unsigned((color >> 8) & 255),
                  unsigned((color >> 16) & 255));
  }
  return buf;
}

std::string dumpItem(const TPageModel& page, const TPageItem& item) {
  std::string out;
  switch (item.kind) {
    case TItemKind::Word:
      out = "word ";
      quoted(out, page.itemText(item));
      if (item.tab > 0) out += " tab=" + number(item.tab) + "%";
      if (item.tab < 0) out += " tab=" + number(-item.tab) + "px";
      break;
    case TItemKind::Space: out = "space"; break;
    case TItemKind::LineBreak: out = "br"; break;
    case TItemKind::Paragraph: out = "p"; break;
    case TItemKind::BoxStart: out = "box " + number(item.index); break;
    case TItemKind::Picture: {
      const bool known = item.index >= 0 && std::size_t(item.index) < page.images.size();
      out = "img " + number(known ? page.images[std::size_t(item.index)].picture : -1);
      break;
    }
  }
  style(out, page, item.style);
  return out;
}

std::string dumpItems(const TPageModel& page) {
  std::string out = "title ";
  quoted(out, page.title);
  out.push_back('\n');
  for (const TPageItem& item : page.items) out += dumpItem(page, item) + "\n";
  return out;
}

std::string dumpRecords(const TPageModel& page, int pageWidth, int pageHeight) {
  static const char* shapes[] = {"rect", "roundrect", "ellipse", "random"};
  std::string out;
  const TPageColors& c = page.colors;
  out += "colors bg=" + colorText(c.background) + " text=" + colorText(c.text) + " link=" + colorText(c.link) +
         " gap=" + colorText(c.gap) + " klotz=" + colorText(c.block) + " kbgr=" + colorText(c.blockBackground) +
         " mchan=" + colorText(c.choiceActive) + " mchaus=" + colorText(c.choiceInactive) + "\n";
  if (!page.background.empty() || page.waitMs || !page.waitTarget.empty()) {
    out += "body background=";
    quoted(out, page.background);
    out += " wait=" + number(page.waitMs) + " target=";
    quoted(out, page.waitTarget);
    out += "\n";
  }
  if (!page.returnLink.empty()) {
    out += "return ";
    quoted(out, page.returnLink);
    out += "\n";
  }
  for (std::size_t i = 0; i < page.boxes.size(); ++i) {
    const TBoxRecord& b = page.boxes[i];
    out += "box " + number(long(i)) + " coords=" + coordsText(b.coords) + " shape=" + shapes[int(b.shape)] +
           " offset=" + number(b.offset) + " fill=" + (b.filled ? colorText(b.fillColor) : "-") +
           " border=" + colorText(b.borderColor) + " bwidth=" + number(b.borderWidth) +
           " radius=" + number(b.radius) + " top=" + number(b.top) + " dest=" + number(b.dest) +
           " width=" + number(TCoords::extent(b.coords.get(2, 0), pageWidth)) +
           " height=" + (b.coords.has(3) ? number(TCoords::extent(b.coords.v[3], pageHeight)) : "grow");
    if (!b.mosaic.empty())
      out += " lomo=" + joined(b.mosaic) + " zone2=" + coordsText(b.zone2) + " speed=" + number(b.speed);
    out += "\n";
  }
  for (std::size_t i = 0; i < page.images.size(); ++i) {
    const TImageRecord& m = page.images[i];
    out += "image " + number(long(i)) + " picture=" + number(m.picture) + " flash=" + orNone(m.flashPicture) +
           " scale=" + number(m.scale) + " align=" + std::string(1, char(m.align)) +
           " base=" + (m.baseGiven ? number(m.base) : "-") + " radius=" + number(m.radius) +
           " alpha=" + number(m.alpha) + " mode=" + number(m.mode) + " tint=" + colorText(m.tint) +
           " ftint=" + (m.hoverTint ? colorText(*m.hoverTint) : "-") + " map=";
    quoted(out, m.map);
    out += " alt=";
    quoted(out, m.alt);
    out += "\n";
  }
  static const char* linkKinds[] = {"target", "hint", "hot"};
  for (std::size_t i = 0; i < page.links.size(); ++i) {
    out += "link " + number(long(i)) + " " + linkKinds[int(page.links[i].kind)] + " ";
    quoted(out, page.links[i].name);
    out += "\n";
  }
  for (const TMapRecord& m : page.maps) {
    out += "map ";
    quoted(out, m.name);
    for (const TMapArea& a : m.areas) {
      out += " [" + number(a.x) + "," + number(a.y) + "," + number(a.w) + "," + number(a.h) + " ";
      quoted(out, a.href);
      out += "]";
    }
    out += "\n";
  }
  for (std::size_t i = 0; i < page.fields.size(); ++i) {
    const TFieldRecord& f = page.fields[i];
    out += "field " + number(long(i)) + (f.inFlow ? " gap" : " edit coords=" + coordsText(f.coords)) + " lsg=" +
           joined(f.solutions) + " help=";
    quoted(out, f.help);
    out += " tip=";
    quoted(out, f.tip);
    out += " reaction=";
    quoted(out, f.reaction);
    if (f.tolerant) out += " tolerant";
    out += "\n";
  }
  for (std::size_t i = 0; i < page.dragSlots.size(); ++i) {
    out += "drag " + number(long(i)) + " ";
    quoted(out, page.dragSlots[i].text);
    out += "\n";
  }
  const TDragSettings& d = page.drag;
  out += "klotz y=" + number(d.row) + " nr=" + number(d.perRow) + " width=" + number(d.blockWidth) +
         " left=" + number(d.left) + " right=" + number(d.right);
  if (!d.decoys.empty()) out += " falsch=" + joined(d.decoys);
  out += "\n";
  if (page.multiple) {
    const TMultipleRecord& m = *page.multiple;
    out += "multiple coords=" + coordsText(m.coords) + " dim=" + number(m.rows) + "," + number(m.cols) +
           " color=" + (m.inactive ? colorText(*m.inactive) : "-") + "," + (m.active ? colorText(*m.active) : "-") +
           " txt=" + joined(m.items) + " reaction=";
    quoted(out, m.reaction);
    out += "\n";
  }
  for (const TButtonRecord& b : page.buttons) {
    out += "button coords=" + coordsText(b.coords) + " caption=";
    quoted(out, b.caption);
    out += " href=";
    quoted(out, b.href);
    out += " color=" + (b.color ? colorText(*b.color) : "-") + "\n";
  }
  for (const TSatzRecord& s : page.sentences) out += "satz coords=" + coordsText(s.coords) + " teile=" + joined(s.parts) + "\n";
  return out;
}
