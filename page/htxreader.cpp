// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/htxreader.h"

#include "page/htxscanner.h"
#include "page/pagefile.h"
#include "page/targetpath.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/version.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <algorithm>
#include <array>

namespace {

using S = THtxScanner;

constexpr int kMaxAliasSteps = 16;  // colour aliases may refer to each other in a cycle
constexpr std::size_t kMaxFaceLength = 40;
constexpr const char* kCourier = "Courier New";

enum class TTag {
  Unknown, Ignored, Title, EndTitle, If, Else, EndIf, B, EndB, I, EndI, U, EndU, Em, EndEm, Inv, EndInv, Clear, Tt,
  EndTt, Pre, EndPre, P, Br, Center, EndCenter, Right, Block, W, EndW, Hr, Font, EndFont, A, EndA, Box, Body, Img,
  Map, Area, Colors, Alias, Include, Edit, Multiple, Button, Klotz, Satz
};

struct TTagName {
  std::string_view name;
  TTag tag;
};

constexpr std::array kTags = {
    TTagName{"HTML", TTag::Ignored},   TTagName{"/HTML", TTag::Ignored},   TTagName{"/P", TTag::Ignored},
    TTagName{"/MAP", TTag::Ignored},   TTagName{"XSTYLE", TTag::Ignored},  TTagName{"TITLE", TTag::Title},
    TTagName{"/TITLE", TTag::EndTitle}, TTagName{"IF", TTag::If},          TTagName{"ELSE", TTag::Else},
    TTagName{"/IF", TTag::EndIf},      TTagName{"B", TTag::B},             TTagName{"STRONG", TTag::B},
    TTagName{"/B", TTag::EndB},        TTagName{"/STRONG", TTag::EndB},    TTagName{"I", TTag::I},
    TTagName{"CITE", TTag::I},         TTagName{"/I", TTag::EndI},         TTagName{"/CITE", TTag::EndI},
    TTagName{"U", TTag::U},            TTagName{"/U", TTag::EndU},         TTagName{"EM", TTag::Em},
    TTagName{"/EM", TTag::EndEm},      TTagName{"INV", TTag::Inv},         TTagName{"/INV", TTag::EndInv},
    TTagName{"CLEAR", TTag::Clear},    TTagName{"TT", TTag::Tt},           TTagName{"/TT", TTag::EndTt},
    TTagName{"PRE", TTag::Pre},        TTagName{"/PRE", TTag::EndPre},     TTagName{"P", TTag::P},
    TTagName{"BR", TTag::Br},          TTagName{"CENTER", TTag::Center},   TTagName{"/CENTER", TTag::EndCenter},
    TTagName{"RIGHT", TTag::Right},    TTagName{"BLOCK", TTag::Block},     TTagName{"W", TTag::W},
    TTagName{"/W", TTag::EndW},        TTagName{"HR", TTag::Hr},           TTagName{"FONT", TTag::Font},
    TTagName{"/FONT", TTag::EndFont},  TTagName{"A", TTag::A},             TTagName{"/A", TTag::EndA},
    TTagName{"BOX", TTag::Box},        TTagName{"BODY", TTag::Body},       TTagName{"IMG", TTag::Img},
    TTagName{"MAP", TTag::Map},        TTagName{"AREA", TTag::Area},       TTagName{"COLORS", TTag::Colors},
    TTagName{"ALIAS", TTag::Alias},    TTagName{"INCLUDE", TTag::Include}, TTagName{"EDIT", TTag::Edit},
    TTagName{"MULTIPLE", TTag::Multiple}, TTagName{"BUTTON", TTag::Button}, TTagName{"KLOTZ", TTag::Klotz},
    TTagName{"SATZ", TTag::Satz},
};

TTag lookupTag(std::string_view upperName) {
  for (const auto& t : kTags)
    if (t.name == upperName) return t.tag;
  return TTag::Unknown;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "#RRGGBB" without the "#"; unreadable hexadecimal is pure blue.
TColor hexColor(std::string_view hex) {
  if (hex.empty() || hex.size() > 8) return rgbColor(0, 0, 255);
  std::uint32_t v = 0;
  for (char c : hex) {
    const int d = hexDigit(c);
    if (d < 0) return rgbColor(0, 0, 255);
    v = (v << 4) | std::uint32_t(d);
  }
  return rgbColor(int(v >> 16), int(v >> 8), int(v));
}

TCoords parseCoords(std::string_view value) {
  TCoords c;
  value = S::trim(S::unquote(S::trim(value)));
  for (int i = 0; i < 4; ++i) {
    const std::size_t comma = value.find(',');
    const std::string_view piece = value.substr(0, comma);
    constexpr int kUnset = INT32_MIN;
    const int n = S::parseInt(piece, -100000, 100000, kUnset);
    if (n != kUnset) {
      c.v[i] = n;
      c.given |= std::uint8_t(1u << i);
    }
    if (comma == std::string_view::npos) break;
    value.remove_prefix(comma + 1);
  }
  return c;
}

// "a,b" as two integers; a missing or unreadable one keeps its value.
void parsePair(std::string_view value, int low, int high, int& a, int& b) {
  value = S::unquote(S::trim(value));
  const std::size_t comma = value.find(',');
  a = S::parseInt(value.substr(0, comma), low, high, a);
  if (comma != std::string_view::npos) b = S::parseInt(value.substr(comma + 1), low, high, b);
}

// A character entity's name (between "&" and ";").
char entity(std::string_view name) {
  if (equalsUpper(name, "LT")) return '<';
  if (equalsUpper(name, "GT")) return '>';
  if (equalsUpper(name, "AMP")) return '&';
  if (equalsUpper(name, "QUOT")) return '"';
  if (equalsUpper(name, "NIL")) return char(255);
  if (name.size() > 1 && name[0] == '#') {
    const int code = S::parseInt(name.substr(1), -1, 256, -1);
    if (code >= 1 && code <= 255 && std::all_of(name.begin() + 1, name.end(), isDigit)) return char(code);
  }
  return '*';
}

// Resolves the placeholders of a colour against the page colours read so far.
TColor concrete(TColor c, const TPageColors& colors) {
  if (c == kColorPageText) return colors.text;
  if (c == kColorPageLink) return colors.link;
  return c;
}

bool isStructural(TItemKind k) {
  return k == TItemKind::Space || k == TItemKind::LineBreak || k == TItemKind::Paragraph || k == TItemKind::BoxStart;
}

// Field and choice values written by the trainers carry learner text: a double quote, ">",
// "|" or "&" in it comes as "&quot;", "&gt;", "&#124;", "&amp;" ("&lt;" too). Other "&" stay.
std::string decodeValue(std::string_view v) {
  static constexpr std::array<std::pair<std::string_view, char>, 5> kNames = {
      {{"&quot;", '"'}, {"&gt;", '>'}, {"&lt;", '<'}, {"&#124;", '|'}, {"&amp;", '&'}}};
  std::string out;
  out.reserve(v.size());
  for (std::size_t i = 0; i < v.size(); ++i) {
    bool done = false;
    if (v[i] == '&') {
      for (const auto& [name, c] : kNames) {
        if (v.substr(i, name.size()) == name) {
          out.push_back(c);
          i += name.size() - 1;
          done = true;
          break;
        }
      }
    }
    if (!done) out.push_back(v[i]);
  }
  return out;
}

std::vector<std::string> decodeEach(std::vector<std::string> values) {
  for (std::string& v : values) v = decodeValue(v);
  return values;
}

// lsg and help, required and in this order, then tip, reaction and the flag tolerant.
bool readField(S& sc, TFieldRecord& field) {
  if (sc.expectOneOf({"LSG"}) < 0) return false;
  // Decoded first: "&gt;" ends in ";", and no solution holds a semicolon of its own.
  field.solutions = S::split(decodeValue(sc.readValue()), "; ");
  if (sc.expectOneOf({"HELP"}) < 0) return false;
  field.help = decodeValue(sc.readValue());
  while (true) {
    const int a = sc.expectOneOf({"TIP", "REACTION", "TOLERANT"});
    if (a < 0) return true;
    if (a == 0) field.tip = decodeValue(sc.readValue());
    else if (a == 1) field.reaction = std::string(sc.readValue());
    else field.tolerant = true;
  }
}

}  // namespace

// ---- host defaults

TIncludeStatus THtxHost::readInclude(const std::string& resolvedName, std::string& text) {
  TPageFile file = readPageFile(zek::toPath(resolvedName));
  if (file.status == TPageFileStatus::NotFound) return TIncludeStatus::NotFound;
  if (!file.ok()) return TIncludeStatus::ReadError;
  text = std::move(file.text);
  return TIncludeStatus::Ok;
}

bool THtxHost::fontInstalled(std::string_view face) const {
  // The faces the content uses are always there through their metric-compatible stand-ins.
  static constexpr std::array kAlways = {"Arial", "Times New Roman", "Courier New", "Verdana", "Comic Sans MS"};
  for (const char* f : kAlways)
    if (zek::equalsNoCase(face, f)) return true;
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return false;
  return QFontDatabase::hasFamily(zek::toQString(face));
}

bool THtxHost::hasCondition(std::string_view) const { return false; }

int TSimpleHtxHost::addPicture(const std::string& name) {
  for (std::size_t i = 0; i < m_pictures.size(); ++i)
    if (zek::equalsNoCase(m_pictures[i], name)) return int(i);
  m_pictures.push_back(name);
  return int(m_pictures.size() - 1);
}

// ---- reader

THtxReader::THtxReader(TPageModel& page, THtxHost& host, std::uint32_t seed)
    : m_page(page), m_host(host), m_random(seed == 0 ? 1 : seed) {
  m_fontSlot = m_ttSlot = m_preSlot = m_hSlot = m_emSlot = m_aSlot = m_style;
}

void THtxReader::read(std::string_view text) {
  if (m_includeStack.empty()) {
    const std::string self = m_host.pageOnShow();
    if (!self.empty()) m_includeStack.push_back(self);
  }
  readText(text, 0);
  if (m_titleOpen) finishTitle();
}

void THtxReader::readText(std::string_view text, int depth) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    if (budgetSpent()) return;
    const char c = text[i];
    if (c == '<' && !(i + 1 < n && text[i + 1] == '<')) {
      // No quoting: the first ">" ends the tag.
      std::size_t end = text.find('>', i + 1);
      if (end == std::string_view::npos) end = n;
      if (m_titleOpen) finishTitle();
      tag(text.substr(i + 1, end - i - 1), depth);
      i = end + 1;
      continue;
    }
    if (m_titleOpen) {
      if (c == '<') {  // "<<" inside the title
        m_titleText.push_back('<');
        i += 2;
        continue;
      }
      const std::size_t end = std::min(text.find('<', i), n);
      // Cap what a runaway title can take; the rest is hidden anyway.
      if (m_titleText.size() < 4096) m_titleText.append(text.substr(i, std::min(end - i, 4096 - m_titleText.size())));
      i = end;
      continue;
    }
    if (c == '<') {
      i = readWord(text, i + 1, true);
    } else if (S::isBlank(c) && !m_style.pre) {
      whitespace();
      ++i;
    } else {
      i = readWord(text, i, false);
    }
  }
}

bool THtxReader::budgetSpent() {
  if (m_overBudget) return true;
  const TPageModel& p = m_page;
  const std::size_t records = p.items.size() + p.links.size() + p.fields.size() + p.dragSlots.size() +
                              p.boxes.size() + p.images.size() + p.maps.size() + m_areas + p.buttons.size() +
                              p.sentences.size() + p.styles.size() + p.colorAliases.size() + p.linkAliases.size();
  m_overBudget = records > kMaxRecords || p.text.size() > kMaxTextBytes;
  return m_overBudget;
}

void THtxReader::whitespace() {
  if (m_condHidden || m_titleHidden) return;
  if (m_page.items.empty() || isStructural(m_page.items.back().kind)) return;
  addItem(TItemKind::Space);
}

std::size_t THtxReader::readWord(std::string_view text, std::size_t pos, bool literalLess) {
  const bool hidden = m_condHidden || m_titleHidden;
  const bool pre = m_style.pre;
  const auto wordChar = [&](char ch) { return ch != '<' && (pre || !S::isBlank(ch)); };
  std::string& out = m_page.text;
  const std::size_t start = out.size();
  std::size_t i = pos;
  const std::size_t n = text.size();
  if (literalLess) {
    out.push_back('<');
    ++i;
  }
  while (i < n && wordChar(text[i])) {
    const char ch = text[i];
    if (ch == '&') {
      std::size_t k = i + 1;
      while (k < n && wordChar(text[k]) && text[k] != ';') ++k;
      if (k < n && text[k] == ';') {
        const std::string_view name = text.substr(i + 1, k - i - 1);
        // The program's own version, for the about page.
        if (equalsUpper(name, "VERSION")) out += zek::programVersion();
        else out.push_back(entity(name));
        i = k + 1;
        continue;
      }
      // A "&" with no ";" after it ends the word; the rest of the run is dropped.
      i = k;
      break;
    }
    if (ch != '\n') out.push_back(ch);
    ++i;
  }
  const std::size_t length = out.size() - start;
  if (hidden || length == 0 || start > UINT32_MAX) {
    out.resize(start);
    return i;
  }
  addItem(TItemKind::Word);
  TPageItem& item = m_page.items.back();
  item.textOffset = std::uint32_t(start);
  item.textLength = std::uint32_t(length);
  item.tab = m_pendingTab;
  m_pendingTab = 0;
  if (m_style.widgetKind == TWidgetKind::Drag && m_style.widget >= 0 &&
      std::size_t(m_style.widget) < m_page.dragSlots.size()) {
    std::string& slot = m_page.dragSlots[std::size_t(m_style.widget)].text;
    if (!slot.empty()) slot.push_back(' ');
    slot.append(out, start, length);
  }
  return i;
}

void THtxReader::finishTitle() {
  m_titleOpen = false;
  std::string title;
  title.reserve(m_titleText.size());
  for (char c : m_titleText) {
    if (c == '\n') continue;
    title.push_back(S::isBlank(c) ? ' ' : c);
  }
  const std::string_view trimmed = S::trim(title);
  if (!trimmed.empty()) m_page.title = std::string(trimmed);
  m_titleText.clear();
}

void THtxReader::addItem(TItemKind kind, std::int32_t index) {
  TPageItem& item = m_page.items.emplace_back();
  item.kind = kind;
  item.index = index;
  item.style = m_style;
}

void THtxReader::tag(std::string_view text, int depth) {
  if (text.empty() || text.front() == '!') return;
  std::size_t nameEnd = 0;
  while (nameEnd < text.size() && !S::isBlank(text[nameEnd])) ++nameEnd;
  const std::string_view rawName = text.substr(0, nameEnd);
  const std::string_view attrs = text.substr(nameEnd);

  // Tag names are short; longer ones can only be named styles.
  char upperBuf[16];
  std::string upperLong;
  std::string_view upper;
  if (rawName.size() < sizeof upperBuf) {
    for (std::size_t i = 0; i < rawName.size(); ++i) upperBuf[i] = char(zek::upperCp1252((unsigned char)rawName[i]));
    upper = std::string_view(upperBuf, rawName.size());
  } else {
    upperLong = zek::upperCase(rawName);
    upper = upperLong;
  }

  const TTag t = lookupTag(upper);
  if (m_condHidden || m_titleHidden) {
    if (t == TTag::EndIf) {
      m_ifOpen = false;
      m_condHidden = false;
    } else if (t == TTag::Else) {
      if (m_ifOpen) m_condHidden = !m_ifHidden;
    } else if (t == TTag::EndTitle) {
      m_titleHidden = false;
    }
    return;
  }

  if (t == TTag::Unknown) {
    if (upper.size() > 1 && upper[0] == '+') {
      namedStyle(text, upper.substr(1));
    } else if (upper.size() > 1 && upper[0] == 'X') {
      tabTag(upper.substr(1));
    } else if (upper.size() == 2 && upper[0] == 'H' && upper[1] >= '1' && upper[1] <= '6') {
      m_hSlot = m_style;
      m_style.size = std::int16_t(7 - (upper[1] - '0'));
      m_style.bold = true;
    } else if (upper.size() == 3 && upper[0] == '/' && upper[1] == 'H' && upper[2] >= '1' && upper[2] <= '6') {
      m_style.size = m_hSlot.size;
      m_style.bold = m_hSlot.bold;
      m_style.italic = m_hSlot.italic;
      m_style.underline = m_hSlot.underline;
    }
    return;
  }

  switch (t) {
    case TTag::Unknown:
    case TTag::Ignored:
    case TTag::Hr:  // reads a size and draws nothing
    case TTag::EndTitle:
      break;
    case TTag::Title:
      m_titleOpen = true;
      m_titleHidden = true;
      m_titleText.clear();
      break;
    case TTag::If: ifTag(attrs); break;
    case TTag::Else:
      if (m_ifOpen) m_condHidden = !m_ifHidden;
      break;
    case TTag::EndIf:
      m_ifOpen = false;
      m_condHidden = false;
      break;
    case TTag::B: m_style.bold = true; break;
    case TTag::EndB: m_style.bold = false; break;
    case TTag::I: m_style.italic = true; break;
    case TTag::EndI: m_style.italic = false; break;
    case TTag::U: m_style.underline = true; break;
    case TTag::EndU: m_style.underline = false; break;
    case TTag::Em:
      m_emSlot = m_style;
      m_style.bold = m_style.italic = true;
      break;
    case TTag::EndEm: m_style.bold = m_style.italic = false; break;
    case TTag::Inv: {
      m_invBefore = m_style;
      const TColor text = concrete(m_style.color, m_page.colors);
      const TColor back = concrete(m_style.bgColor, m_page.colors);
      m_style.color = back;
      m_style.bgColor = text;
      if (text == back && text == kColorWhite) m_style.bgColor = kColorBlack;
      else if (text == back && text == kColorBlack) m_style.bgColor = kColorWhite;
      m_style.noBackground = false;
      m_invOpen = true;
      m_invColor = m_style.color;
      m_invBgColor = m_style.bgColor;
      break;
    }
    case TTag::EndInv:
      // Back to the very colours before INV (the page's text colour stays a reference) when
      // nothing changed them in between; otherwise swap.
      if (m_invOpen && m_style.color == m_invColor && m_style.bgColor == m_invBgColor) {
        m_style.color = m_invBefore.color;
        m_style.bgColor = m_invBefore.bgColor;
      } else {
        std::swap(m_style.color, m_style.bgColor);
      }
      m_invOpen = false;
      m_style.noBackground = true;
      break;
    case TTag::Clear: m_style.noBackground = true; break;
    case TTag::Tt:
      m_ttSlot = m_style;
      m_style.face = m_page.internFace(kCourier);
      m_style.size = std::int16_t(m_style.size - 1);
      break;
    case TTag::EndTt:
      m_style.size = std::int16_t(m_style.size + 1);
      m_style.face = m_ttSlot.face;
      break;
    case TTag::Pre:
      m_preSlot = m_style;
      m_style.face = m_page.internFace(kCourier);
      m_style.size = 2;
      m_style.pre = true;
      break;
    case TTag::EndPre:
      m_style.face = m_preSlot.face;
      m_style.size = m_preSlot.size;
      m_style.pre = false;
      break;
    case TTag::P: addItem(TItemKind::Paragraph); break;
    case TTag::Br: addItem(TItemKind::LineBreak); break;
    case TTag::Center: m_style.align = TAlign::Center; break;
    case TTag::EndCenter: m_style.align = TAlign::Left; break;
    case TTag::Right: m_style.align = TAlign::Right; break;
    case TTag::Block: m_style.align = TAlign::Justify; break;
    case TTag::W: wordGroup(); break;
    case TTag::EndW: m_style.group = -1; break;
    case TTag::Font: fontTag(attrs); break;
    case TTag::EndFont:
      m_style.size = m_fontSlot.size;
      m_style.color = m_fontSlot.color;
      m_style.face = m_fontSlot.face;
      break;
    case TTag::A: anchorTag(attrs); break;
    case TTag::EndA: endAnchor(); break;
    case TTag::Box: boxTag(attrs); break;
    case TTag::Body: bodyTag(attrs); break;
    case TTag::Img: imgTag(attrs); break;
    case TTag::Map: mapTag(attrs); break;
    case TTag::Area: areaTag(attrs); break;
    case TTag::Colors: colorsTag(attrs); break;
    case TTag::Alias: aliasTag(attrs); break;
    case TTag::Include: includeTag(attrs, depth); break;
    case TTag::Edit: editTag(attrs); break;
    case TTag::Multiple: multipleTag(attrs); break;
    case TTag::Button: buttonTag(attrs); break;
    case TTag::Klotz: klotzTag(attrs); break;
    case TTag::Satz: satzTag(attrs); break;
  }
}

TColor THtxReader::color(std::string_view value) const {
  std::string_view v = S::trim(S::unquote(S::trim(value)));
  for (int step = 0; step < kMaxAliasSteps; ++step) {
    if (v.empty()) return kColorWhite;
    if (v.front() == '#') return hexColor(v.substr(1));
    if (v.front() == 'i' || v.front() == 'I') return kColorPaletteFlag | TColor(S::parseInt(v.substr(1), 0, 255, 128));
    const std::string* alias = m_page.colorAlias(v);
    if (alias == nullptr) return kColorWhite;
    v = S::trim(S::unquote(S::trim(*alias)));
  }
  return kColorWhite;
}

void THtxReader::setFace(std::string_view list) {
  for (const std::string& piece : S::split(list, ",")) {
    std::string_view face = S::trim(piece);
    if (face.size() > kMaxFaceLength) face = face.substr(0, kMaxFaceLength);
    if (!face.empty() && m_host.fontInstalled(face)) {
      m_style.face = m_page.internFace(face);
      return;
    }
  }
}

void THtxReader::fontTag(std::string_view attrs) {
  const TTextStyle before = m_style;
  bool saved = false;
  // One save per tag, so that /FONT returns to what was there before the tag.
  const auto save = [&] {
    if (!saved) m_fontSlot = m_style;
    saved = true;
  };
  S sc(attrs);
  while (true) {
    const int a = sc.expectOneOf({"SIZE", "COLOR", "FACE", "TRACKING", "LINESPACE", "BCOLOR", "ID"});
    if (a < 0) break;
    const std::string_view v = sc.readValue();
    switch (a) {
      case 0: {
        save();
        const std::string_view n = S::trim(S::unquote(S::trim(v)));
        const bool relative = !n.empty() && (n.front() == '+' || n.front() == '-');
        if (relative) {
          const int delta = S::parseInt(n, -720, 720, 0);
          m_style.size = std::int16_t(std::clamp(m_style.size + delta, 0, 720));
        } else {
          m_style.size = std::int16_t(S::parseInt(n, 0, 720, 3));
        }
        break;
      }
      case 1:
        save();
        m_style.color = color(v);
        break;
      case 2:
        save();
        setFace(v);
        break;
      case 3: m_style.tracking = std::int16_t(S::parseInt(v, -500, 500, 0)); break;
      case 4: m_style.lineSpacing = std::int16_t(S::parseInt(v, -500, 500, 0)); break;
      case 5:
        save();
        if (equalsUpper(S::trim(v), "OFF")) {
          m_style.noBackground = true;
        } else {
          m_style.bgColor = color(v);
          m_style.noBackground = false;
        }
        break;
      case 6:
        m_page.styles.push_back({std::string(S::trim(v)), m_style});
        m_style = before;
        break;
    }
  }
}

void THtxReader::namedStyle(std::string_view tagText, std::string_view upperName) {
  const TNamedStyle* named = m_page.findStyle(upperName);
  if (named == nullptr) {
    showMessage("KEIN + gefunden! " + std::string(tagText));
    return;
  }
  const TTextStyle& s = named->style;
  m_style.bold = s.bold;
  m_style.italic = s.italic;
  m_style.underline = s.underline;
  m_style.face = s.face;
  m_style.size = s.size;
  m_style.color = s.color;
  m_style.bgColor = s.bgColor;
  m_style.noBackground = s.noBackground;
  m_style.tracking = s.tracking;
  if (m_style.lineSpacing == 0) m_style.lineSpacing = s.lineSpacing;
}

void THtxReader::anchorTag(std::string_view attrs) {
  // Saved at every A, so that /A after an A that made nothing changes nothing.
  m_aSlot = m_style;
  S sc(attrs);
  const int kind = sc.expectOneOf({"HREF", "NAME", "GAP", "HOT", "DRAG"});
  switch (kind) {
    case 0: {
      std::string target(sc.readValue());
      if (!target.empty() && target.front() == '#') {
        const std::string* alias = m_page.linkAlias(target);
        target = alias ? *alias : std::string();
        if (target.empty()) return;
      }
      const std::string self = m_host.pageOnShow();
      if (!self.empty() && samePagePath(resolveTargetPath(target, m_host.xpath()), self)) return;
      if (m_page.links.size() >= INT32_MAX) return;
      const std::size_t afterHref = sc.position();
      if (!target.empty() && target.front() == '@') {
        m_page.links.push_back({"%" + target, TLinkKind::HintOnly});
        m_style.link = std::int32_t(m_page.links.size() - 1);
        return;
      }
      m_page.links.push_back({target, TLinkKind::Target});
      m_style.link = std::int32_t(m_page.links.size() - 1);
      m_style.color = kColorPageLink;
      m_style.linkColor = true;
      if (sc.seek("FLASH")) {
        m_style.flashColor = color(sc.readValue());
        m_style.flashing = true;
      } else {
        m_style.underline = true;
      }
      sc.setPosition(afterHref);
      if (sc.seek("RETURN")) m_page.returnLink = target;
      break;
    }
    case 2: {
      TFieldRecord field;
      if (!readField(sc, field)) return;
      m_style.color = m_page.colors.gap;
      m_style.linkColor = false;
      field.style = m_style;
      m_page.fields.push_back(std::move(field));
      m_style.widget = std::int32_t(m_page.fields.size() - 1);
      m_style.widgetKind = TWidgetKind::Gap;
      break;
    }
    case 3:
      m_page.links.push_back({"@" + std::string(sc.readValue()), TLinkKind::HotSpot});
      m_style.link = std::int32_t(m_page.links.size() - 1);
      break;
    case 4:
      m_page.dragSlots.emplace_back();
      m_style.widget = std::int32_t(m_page.dragSlots.size() - 1);
      m_style.widgetKind = TWidgetKind::Drag;
      break;
    default: break;  // NAME and anything else
  }
}

void THtxReader::endAnchor() {
  m_style.color = m_aSlot.color;
  m_style.bold = m_aSlot.bold;
  m_style.italic = m_aSlot.italic;
  m_style.underline = m_aSlot.underline;
  m_style.linkColor = m_aSlot.linkColor;
  m_style.flashing = m_aSlot.flashing;
  m_style.flashColor = m_aSlot.flashColor;
  m_style.link = -1;
  m_style.widget = -1;
  m_style.widgetKind = TWidgetKind::None;
}

void THtxReader::boxTag(std::string_view attrs) {
  TBoxRecord box;
  std::string dir;
  std::vector<std::string> mosaic;
  S sc(attrs);
  while (true) {
    const int a = sc.expectOneOf({"COORDS", "ALIGN", "SHAPE", "OFFSET", "COLOR", "BCOLOR", "BWIDTH", "RADIUS", "DIR",
                                  "LOMO", "ZONE2", "SPEED", "TOP", "DEST"});
    if (a < 0) break;
    if (a == 12) {
      box.top = true;
      continue;
    }
    if (a == 13) {
      box.dest = true;
      continue;
    }
    const std::string_view v = sc.readValue();
    switch (a) {
      case 0: box.coords = parseCoords(v); break;
      case 1: {
        const std::string_view al = S::trim(v);
        if (equalsUpper(al, "CENTER") || equalsUpper(al, "M")) m_style.align = TAlign::Center;
        else if (equalsUpper(al, "RIGHT") || equalsUpper(al, "R")) m_style.align = TAlign::Right;
        else if (equalsUpper(al, "B")) m_style.align = TAlign::Justify;
        else m_style.align = TAlign::Left;
        break;
      }
      case 2: {
        const std::string_view sh = S::trim(v);
        box.shape = equalsUpper(sh, "ROUNDRECT") ? TBoxShape::RoundRect
                    : equalsUpper(sh, "ELLIPSE") ? TBoxShape::Ellipse
                    : equalsUpper(sh, "RANDOM")  ? TBoxShape::Random
                                                 : TBoxShape::Rect;
        break;
      }
      case 3: box.offset = S::parseInt(v, -500, 500, 0); break;
      case 4:
        box.fillColor = color(v);
        box.filled = true;
        break;
      case 5: box.borderColor = color(v); break;
      case 6: box.borderWidth = S::parseInt(v, 0, 500, 0); break;
      case 7: box.radius = S::parseInt(v, 0, 10000, 30); break;
      case 8: dir = std::string(v); break;
      case 9: mosaic = S::split(v, "|"); break;
      case 10: box.zone2 = parseCoords(v); break;
      case 11: box.speed = S::parseInt(v, 0, 60000, 500); break;
    }
  }
  for (const std::string& entry : mosaic)
    if (!S::trim(entry).empty()) box.mosaic.push_back(dir + std::string(S::trim(entry)));

  // A box that starts beside the last line does not want that line broken first.
  auto& items = m_page.items;
  if (box.coords.has(1) && box.coords.v[1] == -2 && items.size() >= 2) {
    const TItemKind k1 = items[items.size() - 2].kind, k2 = items.back().kind;
    if (k1 == TItemKind::LineBreak && k2 == TItemKind::Paragraph) items.erase(items.end() - 2);
    else if (k1 == TItemKind::Paragraph && k2 == TItemKind::LineBreak) items.pop_back();
  }
  m_page.boxes.push_back(std::move(box));
  m_style.box = std::int32_t(m_page.boxes.size() - 1);
  addItem(TItemKind::BoxStart, m_style.box);
}

void THtxReader::bodyTag(std::string_view attrs) {
  TPageColors& c = m_page.colors;
  S sc(attrs);
  while (true) {
    const int a = sc.expectOneOf(
        {"BGCOLOR", "TEXT", "LINK", "GAP", "KLOTZ", "KBGR", "MCHAN", "MCHAUS", "BACKGROUND", "WAIT"});
    if (a < 0) break;
    const std::string_view v = sc.readValue();
    switch (a) {
      case 0: c.background = color(v); break;
      case 1: c.text = color(v); break;
      case 2: c.link = color(v); break;
      case 3: c.gap = color(v); break;
      case 4: c.block = color(v); break;
      case 5: c.blockBackground = color(v); break;
      case 6: c.choiceActive = color(v); break;
      case 7: c.choiceInactive = color(v); break;
      case 8: m_page.background = std::string(S::trim(v)); break;
      case 9: {
        const std::size_t comma = v.find(',');
        m_page.waitMs = S::parseInt(v.substr(0, comma), 0, INT32_MAX, 0);
        m_page.waitTarget = comma == std::string_view::npos ? std::string() : std::string(S::trim(v.substr(comma + 1)));
        break;
      }
    }
  }
}

void THtxReader::imgTag(std::string_view attrs) {
  TImageRecord img;
  std::string src, flash;
  S sc(attrs);
  while (true) {
    const int a = sc.expectOneOf({"SRC", "SCALE", "ALIGN", "USEMAP", "FLASH", "BASE", "RADIUS", "ALPHA", "TRANSPARENT",
                                  "MODE", "ALT", "COLOR", "FCOLOR"});
    if (a < 0) break;
    const std::string_view v = sc.readValue();
    switch (a) {
      case 0: src = std::string(S::trim(v)); break;
      case 1: {
        const std::string_view s = S::trim(v);
        img.scale = (!s.empty() && s.back() == '%') ? S::parseInt(s.substr(0, s.size() - 1), 0, 10000, 100) : 100;
        break;
      }
      case 2: {
        const std::string_view s = S::trim(v);
        const char first = s.empty() ? 'L' : char(zek::upperCp1252((unsigned char)s.front()));
        switch (first) {
          case 'B': img.align = TImageAlign::Bottom; break;
          case 'C': img.align = TImageAlign::Center; break;
          case 'M': img.align = TImageAlign::Middle; break;
          case 'R': img.align = TImageAlign::Right; break;
          case 'T': img.align = TImageAlign::Top; break;
          case 'X': img.align = TImageAlign::Free; break;
          default: img.align = TImageAlign::Left; break;
        }
        break;
      }
      case 3: img.map = std::string(S::trim(v)); break;
      case 4: flash = std::string(S::trim(v)); break;
      case 5:
        img.base = S::parseInt(v, 0, 500, 0);
        img.baseGiven = true;
        break;
      case 6: img.radius = S::parseInt(v, 0, 10000, 0); break;
      case 7: img.alpha = (S::parseInt(v, 0, 100, 100) * 255 + 50) / 100; break;
      case 8: img.alpha = 255 - S::parseInt(v, 0, 255, 0); break;
      case 9: img.mode = S::parseInt(v, 0, 8, 0); break;
      case 10: img.alt = std::string(v); break;
      case 11:
        img.tint = color(v);
        if (img.mode == 0) img.mode = 7;
        break;
      case 12:
        img.hoverTint = color(v);
        img.mode = 7;
        break;
    }
  }
  if (src.empty()) return;
  img.picture = m_host.addPicture(src);
  if (img.picture < 0) return;
  if (!flash.empty()) img.flashPicture = m_host.addPicture(flash);
  m_page.images.push_back(std::move(img));
  addItem(TItemKind::Picture, std::int32_t(m_page.images.size() - 1));
}

void THtxReader::mapTag(std::string_view attrs) {
  S sc(attrs);
  if (sc.expectOneOf({"NAME"}) < 0) return;
  m_page.maps.push_back({std::string(S::trim(sc.readValue())), {}});
}

void THtxReader::areaTag(std::string_view attrs) {
  bool rect = false;
  TCoords coords;
  std::string href;
  S sc(attrs);
  while (true) {
    const int a = sc.expectOneOf({"SHAPE", "COORDS", "HREF"});
    if (a < 0) break;
    const std::string_view v = sc.readValue();
    if (a == 0) rect = equalsUpper(S::trim(v), "RECT");
    else if (a == 1) coords = parseCoords(v);
    else href = std::string(v);
  }
  if (!rect || m_page.maps.empty()) return;
  ++m_areas;
  m_page.maps.back().areas.push_back({coords.get(0, 0), coords.get(1, 0), coords.get(2, 0), coords.get(3, 0), href});
}

void THtxReader::colorsTag(std::string_view attrs) {
  S sc(attrs);
  while (true) {
    const std::string_view name = sc.readName();
    if (name.empty()) break;
    m_page.setColorAlias(name, S::trim(sc.readValue()));
  }
}

void THtxReader::aliasTag(std::string_view attrs) {
  S sc(attrs);
  while (true) {
    const std::string_view name = sc.readName();
    if (name.empty()) break;
    const std::string_view value = sc.readValue();
    if (name.front() == '#') m_page.setLinkAlias(name, value);
    else m_page.setLinkAlias("#" + std::string(name), value);
  }
}

void THtxReader::ifTag(std::string_view attrs) {
  const std::string_view name = S::trim(attrs);
  bool hidden;
  if (zek::equalsNoCase(name, "#ex")) {
    hidden = !m_host.exerciseMode();
  } else if (!name.empty() && name.front() == '#') {
    const std::string* alias = m_page.linkAlias(name);
    hidden = alias == nullptr || alias->empty();
  } else {
    hidden = !m_host.hasCondition(name);
  }
  m_ifOpen = true;
  m_ifHidden = hidden;
  m_condHidden = hidden;
}

void THtxReader::includeTag(std::string_view attrs, int depth) {
  S sc(attrs);
  if (sc.expectOneOf({"HREF"}) < 0) {
    showMessage("Fehler bei INCLUDE <2>!!!");
    return;
  }
  std::string target(S::trim(sc.readValue()));
  if (!target.empty() && target.front() == '#') {
    const std::string* alias = m_page.linkAlias(target);
    target = alias ? *alias : std::string();
  }
  const std::string name = resolveTargetPath(target, m_host.xpath());
  if (name.empty()) {
    showMessage("Fehler bei INCLUDE <2>!!!");
    return;
  }
  // A file that includes itself, directly or through others, would never end.
  const bool circular = std::any_of(m_includeStack.begin(), m_includeStack.end(),
                                    [&](const std::string& open) { return samePagePath(open, name); });
  if (circular) {
    showMessage("Fehler bei INCLUDE!!!", mb::IconStop);
    return;
  }
  if (depth >= kMaxIncludeDepth || m_includes >= kMaxIncludes) {
    // One box for a page that runs into the bound, not one per tag beyond it.
    if (!m_includeLimitShown) showMessage("Fehler bei INCLUDE!!!", mb::IconStop);
    m_includeLimitShown = true;
    return;
  }
  std::string text;
  const TIncludeStatus status = m_host.readInclude(name, text);
  if (status == TIncludeStatus::NotFound) {
    showMessage("INCLUDE-Datei wurde nicht gefunden " + name + "!!!", mb::IconStop);
    return;
  }
  if (status == TIncludeStatus::Ok && m_includedBytes + text.size() > kMaxIncludedBytes) {
    if (!m_includeLimitShown) showMessage("Fehler bei INCLUDE!!!", mb::IconStop);
    m_includeLimitShown = true;
    return;
  }
  if (status != TIncludeStatus::Ok) {
    showMessage("Fehler bei INCLUDE!!!", mb::IconStop);
    return;
  }
  ++m_includes;
  m_includedBytes += text.size();
  m_includeStack.push_back(name);
  readText(text, depth + 1);
  if (m_titleOpen) finishTitle();
  m_includeStack.pop_back();
}

void THtxReader::editTag(std::string_view attrs) {
  TFieldRecord field;
  field.inFlow = false;
  S sc(attrs);
  if (sc.expectOneOf({"COORDS"}) < 0) return;
  field.coords = parseCoords(sc.readValue());
  if (!readField(sc, field)) return;
  field.style = m_style;
  field.style.color = m_page.colors.gap;
  m_page.fields.push_back(std::move(field));
}

void THtxReader::multipleTag(std::string_view attrs) {
  if (!m_page.multiple) m_page.multiple.emplace();
  TMultipleRecord& grid = *m_page.multiple;
  grid.style = m_style;
  S sc(attrs);
  while (true) {
    const int a = sc.expectOneOf({"COORDS", "DIM", "COLOR", "TXT", "REACTION"});
    if (a < 0) break;
    const std::string_view v = sc.readValue();
    switch (a) {
      case 0: {
        std::string_view coords = S::trim(v);
        if (!coords.empty() && coords.front() == '#') {
          const std::string* alias = m_page.linkAlias(coords);
          coords = alias ? std::string_view(*alias) : std::string_view();
        }
        const TCoords c = parseCoords(coords);
        for (int i = 0; i < 4; ++i)
          if (c.has(i)) {
            grid.coords.v[i] = c.v[i];
            grid.coords.given |= std::uint8_t(1u << i);
          }
        break;
      }
      case 1: parsePair(v, 0, 1000, grid.rows, grid.cols); break;
      case 2: {
        const std::string_view pair = S::unquote(S::trim(v));
        const std::size_t comma = pair.find(',');
        grid.inactive = color(pair.substr(0, comma));
        if (comma != std::string_view::npos) grid.active = color(pair.substr(comma + 1));
        break;
      }
      case 3: grid.items = decodeEach(S::split(v, "|")); break;
      case 4: grid.reaction = std::string(v); break;
    }
  }
  if (!grid.pictureFits()) {
    m_page.multiple.reset();
    const std::string self = zek::fileNamePart(m_host.pageOnShow());
    showMessage(pageFileErrorText(TPageFileStatus::Corrupt, self.empty() ? m_page.title : self), mb::IconStop);
  }
}

void THtxReader::buttonTag(std::string_view attrs) {
  TButtonRecord button;
  button.style = m_style;
  S sc(attrs);
  while (true) {
    const int a = sc.expectOneOf({"COORDS", "CAPTION", "HREF", "COLOR"});
    if (a < 0) break;
    const std::string_view v = sc.readValue();
    switch (a) {
      case 0: button.coords = parseCoords(v); break;
      case 1: button.caption = std::string(v); break;
      case 2: button.href = std::string(v); break;
      case 3: button.color = color(v); break;
    }
  }
  m_page.buttons.push_back(std::move(button));
}

void THtxReader::klotzTag(std::string_view attrs) {
  TDragSettings& d = m_page.drag;
  S sc(attrs);
  // In the order written, so that a WIDTH after NR wins.
  while (true) {
    const int a = sc.expectOneOf({"FALSCH", "Y", "NR", "LEFT", "RIGHT", "WIDTH"});
    if (a < 0) break;
    const std::string_view v = sc.readValue();
    const int rest = m_host.pageWidth() - std::max(d.left, 0);
    switch (a) {
      case 0:
        for (const std::string& decoy : S::split(v, "/"))
          if (!decoy.empty()) d.decoys.push_back(decoy);
        break;
      case 1: d.row = S::parseInt(v, 0, 1000, 350); break;
      case 2:
        d.perRow = S::parseInt(v, 0, 100, 4);
        if (d.perRow == 4) d.blockWidth = 120;
        else if (d.perRow == 5) d.blockWidth = 100;
        else if (d.perRow == 6) d.blockWidth = 80;
        break;
      case 3: d.left = S::parseInt(v, 0, 1000, 80); break;
      case 4: d.right = S::parseInt(v, 0, 1000, rest); break;
      case 5: d.blockWidth = S::parseInt(v, 0, 1000, rest); break;
    }
  }
}

void THtxReader::satzTag(std::string_view attrs) {
  m_emSlot = m_style;
  TSatzRecord satz;
  bool hasParts = false;
  S sc(attrs);
  while (true) {
    const int a = sc.expectOneOf({"TEILE", "COORDS"});
    if (a < 0) break;
    const std::string_view v = sc.readValue();
    if (a == 0) {
      hasParts = !v.empty();
      satz.parts = S::split(v, "/");
    } else {
      satz.coords = parseCoords(v);
    }
  }
  if (!hasParts || satz.coords.get(0, 0) <= 0) return;
  satz.style = m_style;
  m_page.sentences.push_back(std::move(satz));
}

void THtxReader::tabTag(std::string_view digits) {
  const bool negative = !digits.empty() && digits.front() == '-';
  const std::string_view number = negative ? digits.substr(1) : digits;
  if (number.empty() || !std::all_of(number.begin(), number.end(), isDigit)) return;
  const int n = S::parseInt(number, 0, 10000, 0);
  if (negative) m_pendingTab = std::int16_t(-n);
  else if (number.size() == 1) m_pendingTab = std::int16_t(n * 10);
  else m_pendingTab = std::int16_t(std::min(n, 1000));
  m_style.align = TAlign::Left;
}

void THtxReader::wordGroup() {
  // Two groups next to each other must differ, or the lookup would join them.
  std::uniform_int_distribution<int> draw(0, 99);
  int group = draw(m_random);
  while (group == m_lastGroup) group = draw(m_random);
  m_lastGroup = group;
  m_style.group = std::int16_t(group);
}

// ---- exercise files

std::string TExerciseFile::exerciseText(std::size_t index) const {
  if (index >= exercises.size()) return {};
  return prefix + exercises[index] + suffix;
}

TExerciseFile parseExerciseFile(std::string_view text) {
  TExerciseFile file;
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  if (text.size() < 4 || text.substr(0, 4) != "ZEK!") return file;
  file.ok = true;
  if (text.size() >= 6 && isDigit(text[4]) && isDigit(text[5])) file.count = (text[4] - '0') * 10 + (text[5] - '0');
  std::string_view body = text.substr(std::min<std::size_t>(6, text.size()));
  while (!body.empty() && S::isBlank(body.front())) body.remove_prefix(1);
  std::size_t at = findNoCase(body, "<EX>");
  if (at == std::string_view::npos) {
    file.prefix = std::string(body);
    return file;
  }
  file.prefix = std::string(body.substr(0, at));
  body.remove_prefix(at + 4);
  const std::size_t end = findNoCase(body, "</EX>");
  std::string_view exercises = body.substr(0, end);
  if (end != std::string_view::npos) file.suffix = std::string(body.substr(end + 5));
  while (true) {
    at = findNoCase(exercises, "<EX>");
    file.exercises.emplace_back(exercises.substr(0, at));
    if (at == std::string_view::npos) break;
    exercises.remove_prefix(at + 4);
  }
  return file;
}

TExerciseFile readExerciseFileOrReport(std::string_view text) {
  TExerciseFile file = parseExerciseFile(text);
  if (!file.ok) showMessage("Falsches Format (ID)");
  return file;
}

bool readHtxPage(TPageModel& page, THtxHost& host, std::string_view text) {
  page.clear();
  THtxReader reader(page, host);
  reader.read(text);
  return !reader.overBudget();
}
