// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/htxreader.h"
#include "platform/version.h"
#include "page/itemdump.h"
#include "page/targetpath.h"

#include "platform/messages.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A host that serves includes from memory and refuses the pictures it is told to.
class TestHost : public TSimpleHtxHost {
 public:
  TIncludeStatus readInclude(const std::string& name, std::string& text) override {
    ++m_includeReads;
    if (m_broken.count(name)) return TIncludeStatus::ReadError;
    auto it = m_files.find(name);
    if (it == m_files.end()) return TIncludeStatus::NotFound;
    text = it->second + "\r";
    text.push_back('\0');
    return TIncludeStatus::Ok;
  }
  int addPicture(const std::string& name) override {
    if (name.find("broken") != std::string::npos) return -1;
    return TSimpleHtxHost::addPicture(name);
  }
  std::map<std::string, std::string> m_files;
  std::map<std::string, bool> m_broken;
  int m_includeReads = 0;
};

TPageModel readWith(TSimpleHtxHost& host, std::string_view markup) {
  TPageModel page;
  readHtxPage(page, host, markup);
  return page;
}

TPageModel readPlain(std::string_view markup) {
  TestHost host;
  return readWith(host, markup);
}

// Items in short form: words as their text, "_" for a space, br, p, box<n>, img<n>.
std::string shape(const TPageModel& page) {
  std::string out;
  for (const TPageItem& item : page.items) {
    if (!out.empty()) out.push_back(' ');
    switch (item.kind) {
      case TItemKind::Word: out += page.itemText(item); break;
      case TItemKind::Space: out += "_"; break;
      case TItemKind::LineBreak: out += "br"; break;
      case TItemKind::Paragraph: out += "p"; break;
      case TItemKind::BoxStart: out += "box" + std::to_string(item.index); break;
      case TItemKind::Picture: out += "img" + std::to_string(page.images[item.index].picture); break;
    }
  }
  return out;
}

// "key=value" pieces of a dumped style, quotes kept together.
std::vector<std::string> styleFields(const std::string& line) {
  std::vector<std::string> fields;
  const std::string style = line.substr(line.find(" | ") + 3);
  std::string current;
  bool inQuote = false;
  for (char c : style) {
    if (c == '"') inQuote = !inQuote;
    if (c == ' ' && !inQuote) {
      fields.push_back(current);
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  fields.push_back(current);
  return fields;
}

// The style fields of the last item that differ from a plain page's.
std::string styleChange(const TPageModel& page) {
  if (page.items.empty()) return "<no items>";
  const TPageModel plain = readPlain("x");
  const auto base = styleFields(dumpItem(plain, plain.items[0]));
  const auto got = styleFields(dumpItem(page, page.items.back()));
  std::string out;
  for (std::size_t i = 0; i < got.size() && i < base.size(); ++i) {
    if (got[i] == base[i]) continue;
    if (!out.empty()) out.push_back(' ');
    out += got[i];
  }
  return out;
}

struct Case {
  const char* markup;
  const char* expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << '"' << c.markup << '"'; }

class Lexical : public testing::TestWithParam<Case> {};

TEST_P(Lexical, ItemsAsWritten) { EXPECT_EQ(shape(readPlain(GetParam().markup)), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Reader, Lexical,
    testing::Values(Case{"Hallo  \r\nWelt", "Hallo _ Welt"}, Case{"<BR> Welt", "br Welt"},
                    Case{"x << y", "x _ < _ y"}, Case{"<<b>", "<b>"}, Case{"AT&amp;T", "AT&T"},
                    Case{"&#65;", "A"}, Case{"R&D", "R"}, Case{"R&D und", "R _ und"},
                    Case{"&lt;&gt;&quot;", "<>\""}, Case{"&foo;x", "*x"}, Case{"&#300;&#x;", "**"},
                    Case{"&nil;", "\xFF"}, Case{"  \r\n a", "a"}, Case{"a <p> b", "a _ p b"},
                    Case{"a <box> b", "a _ box0 b"}, Case{"a   <b> b", "a _ b"}, Case{"a<b>b", "a b"},
                    Case{"<!-- Kommentar --> a", "a"}, Case{"<gibtsnicht foo=1>a", "a"}, Case{"a > b", "a _ > _ b"},
                    Case{"a <b", "a _"}, Case{"<pre>a  b\r\n c</pre> d", "a  b\r c _ d"},
Case{"\xE4pfel s\xFC\xDF", "\xE4pfel _ s\xFC\xDF"},
                    Case{"<title>Seite &amp; Mehr</title>x", "x"}, Case{"<br><p>", "br p"}));

TEST(Reader, TheVersionEntityIsTheProgramsVersion) {
  // The about page shows the version of the build it runs in.
  const std::string version = zek::programVersion();
  ASSERT_FALSE(version.empty());
  EXPECT_EQ(shape(readPlain("Version &version;")), "Version _ " + version);
  EXPECT_EQ(shape(readPlain("&VERSION;.")), version + ".");
}

class Styles : public testing::TestWithParam<Case> {};

TEST_P(Styles, LastItemStyle) { EXPECT_EQ(styleChange(readPlain(GetParam().markup)), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Reader, Styles,
    testing::Values(
        Case{"<font size=+3>x", "size=6"}, Case{"<font size=-3>x", "size=0"},
        Case{"<font size=5 color=#ff0000>x", "size=5 color=#FF0000"}, Case{"<font size=\"4\">x", "size=4"},
        Case{"<font size=999>x", "size=720"}, Case{"<font size=abc>x", ""}, Case{"<font size=7>x</font>y", ""},
        // Restores what was before the tag, not what its first attribute left.
        Case{"<font size=5 color=#ff0000 face=\"Courier New\">a</font>x", ""},
        Case{"<font face=\"Gibtsnicht, Verdana\">x", "face=\"Verdana\""}, Case{"<font face=\"Gibtsnicht\">x", ""},
        Case{"<font bcolor=#00ff00>x", "bgcolor=#00FF00"}, Case{"<font bcolor=#00ff00>a<font bcolor=off>x", ""},
        Case{"<font color=#0>x", "color=#000000"}, Case{"<font color=#zz>x", "color=#0000FF"},
        Case{"<font color=i5>x", "color=i5"}, Case{"<font color=iq>x", "color=i128"},
        Case{"<font color=nirgends>x", "color=#FFFFFF"}, Case{"<font color=\"\">x", "color=#FFFFFF"},
        Case{"<colors eins=zwei zwei=#123456><font color=EINS>x", "color=#123456"},
        Case{"<colors a=b b=a><font color=a>x", "color=#FFFFFF"},
        Case{"<font size=5 color=#ff0000 id=H>a<+h>x", "size=5 color=#FF0000"},
        Case{"<font size=5 id=H>x", ""},
        Case{"<b><i><u>x", "b=1 i=1 u=1"}, Case{"<strong><cite>a</strong></cite>x", ""},
        Case{"<em>x", "b=1 i=1"}, Case{"<b><em>a</em>x", ""}, Case{"<h1>x", "b=1 size=6"},
        Case{"<h6>x", "b=1 size=1"}, Case{"<i><h2>a</h2>x", "i=1"}, Case{"<h7>x", ""}, Case{"<hx>x", ""},
        Case{"<tt>x", "face=\"Courier New\" size=2"}, Case{"<tt>a</tt>x", ""},
        Case{"<pre>x", "face=\"Courier New\" size=2 pre=1"}, Case{"<font size=5><pre>a</pre>x", "size=5"},
        Case{"<center>x", "align=center"}, Case{"<center>a</center>x", ""}, Case{"<right>x", "align=right"},
        Case{"<block>x", "align=justify"}, Case{"<center><x5>x", ""},
        Case{"<inv>x", "color=#FFFFFF bgcolor=#000000"}, Case{"<inv>a</inv>x", ""}, Case{"<inv>a<font color=#ff0000></inv>x", "color=#000000"},
        Case{"<font color=#ffffff bcolor=#ffffff><inv>x", "color=#FFFFFF bgcolor=#000000"},
        Case{"<inv>a<clear>x", "color=#FFFFFF"}, Case{"<a href=\"b.htx\">x", "u=1 color=link link=0"},
        Case{"<a href=\"b.htx\" flash=#ff0000>x", "color=link link=0"},
        Case{"<a href=\"@Ein Hinweis\">x", "link=0"}, Case{"<b><a href=\"b.htx\">a</a>x", "b=1"},
        Case{"<a href=\"#nirgends\">x", ""}, Case{"<a name=oben>x", ""},
        Case{"<body gap=#ff0000><a gap lsg=\"a\" help=\"_\">x", "color=#FF0000 widget=gap0"},
        Case{"<a drag>x", "widget=drag0"}, Case{"<a drag>a</a>x", ""}, Case{"<w>a</w>x", ""},
        Case{"<box align=m>x", "align=center"}, Case{"<box align=B>x", "align=justify"}, Case{"<box>x", ""},
        Case{"<IF cdrom><b></IF>x", ""}, Case{"<title><b></title>x", ""}));

TEST(Reader, DumpLineFormat) {
  const TPageModel page = readPlain("<box coords=1,2,3><a href=\"x.htx\"><b>Wort</b></a><img src=\"a.gif\">");
  ASSERT_EQ(page.items.size(), 3u);
  EXPECT_EQ(dumpItems(page),
            "title \"ohne Titel\"\n"
            "box 0 | b=0 i=0 u=0 align=left face=\"Arial\" size=3 color=text bgcolor=- link=- widget=- group=- "
            "pre=0\n"
            "word \"Wort\" | b=1 i=0 u=1 align=left face=\"Arial\" size=3 color=link bgcolor=- link=0 widget=- "
            "group=- pre=0\n"
            "img 0 | b=0 i=0 u=0 align=left face=\"Arial\" size=3 color=text bgcolor=- link=- widget=- group=- "
            "pre=0\n");
}

TEST(Reader, Conditions) {
  struct Row {
    const char* markup;
    const char* conditions;
    bool exercise;
    const char* expected;
  };
  const Row rows[] = {
      {"<IF cdrom>A<ELSE>B</IF>", "cdrom", false, "A"},
      {"<IF cdrom>A<ELSE>B</IF>", "", false, "B"},
      {"<if   CDROM >A<else>B</if>", "cdrom", false, "A"},
      {"<IF e>A</IF> C", "", false, "C"},
      {"<IF #ex>A<ELSE>B</IF>", "", true, "A"},
      {"<IF #ex>A<ELSE>B</IF>", "", false, "B"},
      {"<alias #next=\"ex\"><IF #next>A<ELSE>B</IF>", "", false, "A"},
      {"<alias #next=\"\"><IF #next>A<ELSE>B</IF>", "", false, "B"},
      {"<IF #next>A<ELSE>B</IF>", "", false, "B"},
      {"<ELSE>A</IF>B", "", false, "A B"},  // an ELSE outside a section does nothing
      {"<IF x><br><box><title>T</title>A</IF>B", "", false, "B"},
      {"<IF x>A<IF y>B</IF>C", "y", false, "C"},  // sections do not nest
  };
  for (const Row& r : rows) {
    TestHost host;
    host.m_exerciseMode = r.exercise;
    if (*r.conditions) host.m_conditions.add(r.conditions);
    EXPECT_EQ(shape(readWith(host, r.markup)), r.expected) << r.markup << " with [" << r.conditions << "]";
  }
}

TEST(Reader, TitleIsTheTextUpToTheNextTag) {
  EXPECT_EQ(readPlain("<title>  Meine\r\n Seite </title>x").title, "Meine  Seite");
  EXPECT_EQ(readPlain("<title>A<b>B</title>x").title, "A");
  EXPECT_EQ(readPlain("x").title, "ohne Titel");
  EXPECT_EQ(readPlain("<title></title>x").title, "ohne Titel");
  EXPECT_EQ(readPlain("<title>a << b</title>x").title, "a < b");
  const TPageModel p = readPlain("<title>A<b>B</title>x");
  EXPECT_EQ(shape(p), "x");
  EXPECT_EQ(styleChange(p), "");  // tags inside the title are hidden
}

TEST(Reader, StaysInsideThePieceItIsGiven) {
  // Pieces of a longer buffer, without a terminator: nothing after the piece may show up.
  const std::string buffer = "Hallo <b>Welt</b> und <title>Titel</title>mehr a<<b";
  const std::string_view all(buffer);
  const struct {
    std::size_t length;
    const char* shape;
  } cases[] = {
      {12, "Hallo _ Wel"},         // cut inside a word
      {8, "Hallo _"},              // cut inside a tag: its ">" lies beyond the piece
      {17, "Hallo _ Welt"},
      {all.find("<title>") + 9, "Hallo _ Welt _ und _"},
      {all.size() - 2, "Hallo _ Welt _ und _ mehr _ a"},  // "<" at the end of the piece
  };
  for (const auto& c : cases) {
    const TPageModel page = readPlain(all.substr(0, c.length));
    EXPECT_EQ(shape(page), c.shape) << all.substr(0, c.length);
    for (const TPageItem& it : page.items)
      EXPECT_LE(std::size_t(it.textOffset) + it.textLength, page.text.size());
  }
  EXPECT_EQ(readPlain(all.substr(0, all.find("<title>") + 9)).title, "Ti");
}

TEST(Reader, Tabs) {
  const TPageModel page = readPlain("<x5>a<X25>b<x-30>c<x0>d<x100>e<xa>f<x1>g");
  std::vector<int> tabs;
  for (const auto& item : page.items) tabs.push_back(item.tab);
  EXPECT_EQ(tabs, (std::vector<int>{50, 25, -30, 0, 100, 0, 10}));
}

TEST(Reader, WordGroupsDifferFromTheirNeighbour) {
  TPageModel page = readPlain(std::string(200, ' ') + [] {
    std::string s;
    for (int i = 0; i < 200; ++i) s += "<w>a</w>";
    return s;
  }());
  ASSERT_EQ(page.items.size(), 200u);
  for (std::size_t i = 1; i < page.items.size(); ++i) {
    EXPECT_GE(page.items[i].style.group, 0);
    EXPECT_LE(page.items[i].style.group, 99);
    EXPECT_NE(page.items[i].style.group, page.items[i - 1].style.group);
  }
}

TEST(Reader, NamedStyleMissingShowsTheTag) {
  zek::ScriptedDialogs dialogs;
  const TPageModel page = readPlain("<font size=5 id=h><+h>x");  // defined lower-case, looked up upper-case
  EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"KEIN + gefunden! +h"}));
  EXPECT_EQ(styleChange(page), "");
}

TEST(Reader, TextEndsAtItsTerminator) {
  EXPECT_EQ(shape(readPlain(std::string_view("a\0b", 3))), "a");
}

TEST(Reader, NamedStyleTrackingAndLineSpacing) {
  // Tracking always comes along; line spacing only when the current one is off.
  const TPageModel a = readPlain("<font tracking=3 linespace=-20 id=T>a<font linespace=4><+T>x");
  EXPECT_EQ(a.items.back().style.tracking, 3);
  EXPECT_EQ(a.items.back().style.lineSpacing, 4);
  EXPECT_EQ(a.items.front().style.tracking, 0);  // ID took them away from the current style
  const TPageModel b = readPlain("<font tracking=3 linespace=-20 id=T><+T>x");
  EXPECT_EQ(b.items.back().style.lineSpacing, -20);
}

TEST(Reader, LastNamedStyleWins) {
  EXPECT_EQ(styleChange(readPlain("<font size=5 id=S><font size=6 id=S><+S>x")), "size=6");
}

TEST(Reader, Links) {
  TestHost host;
  host.m_xpath = "/cd/hzek/";
  host.m_pageOnShow = "/cd/hzek/main.htx";
  const TPageModel page = readWith(
      host,
      "<alias #weiter=\"seite2.htx\" #leer=\"\"><a href=\"MAIN.htx\">a</a> <a href=\"#weiter\" return>b</a> "
      "<a href=\"#leer\">c</a> <a href=\"@Nur ein Hinweis\">d</a> <a hot=\"Ein Pop-up\">e</a> "
      "<a href=\"\xA7[vocaus]@Auswertung\" flash=flashcol>f</a> <a href=\"\">g</a>");
  ASSERT_EQ(page.links.size(), 5u);
  EXPECT_EQ(page.links[0].name, "seite2.htx");
  EXPECT_EQ(page.links[1].name, "%@Nur ein Hinweis");
  EXPECT_EQ(page.links[1].kind, TLinkKind::HintOnly);
  EXPECT_EQ(page.links[2].name, "@Ein Pop-up");
  EXPECT_EQ(page.links[2].kind, TLinkKind::HotSpot);
  EXPECT_EQ(page.links[3].name, "\xA7[vocaus]@Auswertung");
  EXPECT_EQ(page.links[4].name, "");
  EXPECT_EQ(page.returnLink, "seite2.htx");
  std::vector<int> linkOfWord;
  for (const auto& item : page.items)
    if (item.kind == TItemKind::Word) linkOfWord.push_back(item.style.link);
  EXPECT_EQ(linkOfWord, (std::vector<int>{-1, 0, -1, 1, 2, 3, 4}));
  // The undefined flash alias is white; a flash link is not underlined.
  const TTextStyle& f = page.items[page.items.size() - 3].style;
  EXPECT_TRUE(f.flashing);
  EXPECT_EQ(f.flashColor, kColorWhite);
  EXPECT_FALSE(f.underline);
}

TEST(Reader, GapsEditsAndDragSlots) {
  const TPageModel page = readPlain(
      "<body gap=#0000ff><a gap lsg=\"house; home\" help=\"h____\" reaction=\"vokabel\">the house</a> "
      "<a gap help=\"x\" lsg=\"y\">z</a> <a drag>the  dog</a> "
      "<edit coords=250,250,300,32 lsg=\"go\" help=\"__\" tip=\"Tipp\" reaction=\"verb\">"
      "<edit lsg=\"go\" help=\"__\">");
  ASSERT_EQ(page.fields.size(), 2u);
  const TFieldRecord& gap = page.fields[0];
  EXPECT_TRUE(gap.inFlow);
  EXPECT_EQ(gap.solutions, (std::vector<std::string>{"house", "home"}));
  EXPECT_EQ(gap.help, "h____");
  EXPECT_EQ(gap.tip, "Hilfe mit F12!");
  EXPECT_EQ(gap.reaction, "vokabel");
  EXPECT_EQ(page.items[0].style.color, rgbColor(0, 0, 255));
  const TFieldRecord& edit = page.fields[1];
  EXPECT_FALSE(edit.inFlow);
  EXPECT_EQ(edit.coords.v[2], 300);
  EXPECT_EQ(edit.tip, "Tipp");
  EXPECT_EQ(edit.reaction, "verb");
  EXPECT_EQ(edit.style.color, rgbColor(0, 0, 255));
  ASSERT_EQ(page.dragSlots.size(), 1u);
  EXPECT_EQ(page.dragSlots[0].text, "the dog");
}

TEST(Reader, TolerantIsAFlagAfterTheOtherFieldAttributes) {
  const TPageModel page = readPlain(
      "<a gap lsg=\"I'm sorry.\" help=\"*\" reaction=\"lab\" tolerant>x</a>"
      "<a gap lsg=\"go\" help=\"*\" TOLERANT tip=\"Tipp\">y</a>"
      "<edit coords=250,250,300,32 lsg=\"go\" help=\"__\" reaction=\"verb2\" tolerant>"
      "<edit coords=250,250,300,32 lsg=\"go\" help=\"__\" reaction=\"verb2\">");
  ASSERT_EQ(page.fields.size(), 4u);
  const bool expected[] = {true, true, true, false};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(page.fields[i].tolerant, expected[i]) << i;
  // The flag does not swallow what follows it.
  EXPECT_EQ(page.fields[1].tip, "Tipp");
  EXPECT_EQ(page.fields[2].reaction, "verb2");
}

TEST(Reader, Boxes) {
  const TPageModel page = readPlain(
      "<box coords=40,40,-40>a<box coords=\" 10 , 20 , 300 , 50 \" shape=roundrect offset=5 color=#ff0000 "
      "bcolor=#00ff00 bwidth=2 radius=12 top dest>b<box coords=0,x,0 shape=ellipse radius=x offset=9999>"
      "<box coords=0,0,100,100 dir=\"gfx/\" lomo=\"a.jpg|b.jpg\" zone2=1,2,3,4 speed=100>");
  ASSERT_EQ(page.boxes.size(), 4u);
  const TBoxRecord& a = page.boxes[0];
  EXPECT_EQ(TCoords::extent(a.coords.get(2, 0), 800), 720);
  EXPECT_FALSE(a.coords.has(3));  // grows with its text
  EXPECT_FALSE(a.filled);
  const TBoxRecord& b = page.boxes[1];
  EXPECT_EQ(b.coords.v[0], 10);
  EXPECT_EQ(b.coords.v[3], 50);
  EXPECT_EQ(b.shape, TBoxShape::RoundRect);
  EXPECT_EQ(b.offset, 5);
  EXPECT_TRUE(b.filled);
  EXPECT_EQ(b.fillColor, rgbColor(255, 0, 0));
  EXPECT_EQ(b.borderColor, rgbColor(0, 255, 0));
  EXPECT_EQ(b.borderWidth, 2);
  EXPECT_EQ(b.radius, 12);
  EXPECT_TRUE(b.top && b.dest);
  const TBoxRecord& c = page.boxes[2];
  EXPECT_FALSE(c.coords.has(1));
  EXPECT_TRUE(c.coords.has(2));
  EXPECT_EQ(c.shape, TBoxShape::Ellipse);
  EXPECT_EQ(c.radius, 30);
  EXPECT_EQ(c.offset, 500);
  EXPECT_EQ(page.boxes[3].mosaic, (std::vector<std::string>{"gfx/a.jpg", "gfx/b.jpg"}));
  EXPECT_EQ(page.boxes[3].speed, 100);
  EXPECT_EQ(page.boxes[3].zone2.given, 15);
  EXPECT_EQ(shape(page), "box0 a box1 b box2 box3");
  EXPECT_EQ(page.items[2].style.box, 1);
}

TEST(Reader, BoxBesideTheLastLineDropsTheLineBreak) {
  EXPECT_EQ(shape(readPlain("a<br><p><box coords=0,-2,100>")), "a p box0");
  EXPECT_EQ(shape(readPlain("a<p><br><box coords=0,-2,100>")), "a p box0");
  EXPECT_EQ(shape(readPlain("a<br><br><box coords=0,-2,100>")), "a br br box0");
  EXPECT_EQ(shape(readPlain("a<br><p><box coords=0,-1,100>")), "a br p box0");
}

TEST(Reader, Pictures) {
  TestHost host;
  zek::ScriptedDialogs dialogs;
  const TPageModel page = readWith(
      host,
      "<img src=\"a.gif\"><img src=\"b.jpg\" scale=50% align=middle usemap=\"karte\" flash=\"b2.jpg\" base=7 "
      "radius=4 alpha=50 mode=3 alt=\"Ein Bild\" color=#ff0000><img src=\"A.GIF\" scale=50 transparent=55 "
      "color=#00ff00><img src=\"c.gif\" fcolor=#0000ff mode=2><img src=\"broken.gif\"><img scale=5%>");
  EXPECT_EQ(shape(page), "img0 img1 img0 img3");
  EXPECT_EQ(host.m_pictures, (std::vector<std::string>{"a.gif", "b.jpg", "b2.jpg", "c.gif"}));
  const TImageRecord& b = page.images[1];
  EXPECT_EQ(b.scale, 50);
  EXPECT_EQ(b.align, TImageAlign::Middle);
  EXPECT_EQ(b.map, "karte");
  EXPECT_EQ(b.flashPicture, 2);
  EXPECT_TRUE(b.baseGiven);
  EXPECT_EQ(b.base, 7);
  EXPECT_EQ(b.radius, 4);
  EXPECT_EQ(b.alpha, 128);
  EXPECT_EQ(b.mode, 3);  // a tint keeps a mode already set
  EXPECT_EQ(b.alt, "Ein Bild");
  EXPECT_EQ(b.tint, rgbColor(255, 0, 0));
  const TImageRecord& a2 = page.images[2];
  EXPECT_EQ(a2.scale, 100);  // no "%"
  EXPECT_EQ(a2.alpha, 200);
  EXPECT_EQ(a2.mode, 7);
  EXPECT_EQ(a2.align, TImageAlign::Bottom);
  EXPECT_FALSE(page.images[0].baseGiven);
  EXPECT_EQ(page.images[3].mode, 2);  // in the order written
  EXPECT_EQ(page.images[3].hoverTint, rgbColor(0, 0, 255));
}

TEST(Reader, BodyColoursAndWait) {
  const TPageModel plain = readPlain("x");
  EXPECT_EQ(dumpRecords(plain).substr(0, dumpRecords(plain).find('\n')),
            "colors bg=#FFFFFF text=#000000 link=#008000 gap=#FFFFFF klotz=#C0C0C0 kbgr=#00FF00 mchan=#FF0000 "
            "mchaus=#808080");
  EXPECT_EQ(plain.drag.row, 350);
  const TPageModel page = readPlain(
      "<body bgcolor=#000080 text=#ffff00 link=i7 gap=#010203 klotz=#111111 kbgr=#222222 mchan=#333333 "
      "mchaus=#444444 background=\"bg.jpg\" wait=\"3000, next.htx\">");
  EXPECT_EQ(page.colors.background, rgbColor(0, 0, 128));
  EXPECT_EQ(page.colors.text, rgbColor(255, 255, 0));
  EXPECT_EQ(page.colors.link, kColorPaletteFlag | 7);
  EXPECT_EQ(page.colors.gap, rgbColor(1, 2, 3));
  EXPECT_EQ(page.colors.block, rgbColor(17, 17, 17));
  EXPECT_EQ(page.colors.blockBackground, rgbColor(34, 34, 34));
  EXPECT_EQ(page.colors.choiceActive, rgbColor(51, 51, 51));
  EXPECT_EQ(page.colors.choiceInactive, rgbColor(68, 68, 68));
  EXPECT_EQ(page.background, "bg.jpg");
  EXPECT_EQ(page.waitMs, 3000);
  EXPECT_EQ(page.waitTarget, "next.htx");
}

TEST(Reader, MapsAndAreas) {
  const TPageModel page = readPlain(
      "<area shape=rect coords=1,1,1,1 href=\"vor.htx\"><map name=\"karte\"><area shape=RECT coords=\"0,0,50,20\" "
      "href=\"a.htx\"><area shape=circle coords=1,2,3 href=\"b.htx\"><area href=\"c.htx\" coords=5,6,7,8 "
      "shape=rect></map>");
  ASSERT_EQ(page.maps.size(), 1u);
  EXPECT_EQ(page.maps[0].name, "karte");
  ASSERT_EQ(page.maps[0].areas.size(), 2u);
  EXPECT_EQ(page.maps[0].areas[0].w, 50);
  EXPECT_EQ(page.maps[0].areas[0].href, "a.htx");
  EXPECT_EQ(page.maps[0].areas[1].x, 5);
}

TEST(Reader, WidgetRecords) {
  TestHost host;
  const TPageModel page = readWith(
      host,
      "<alias #pos=\"150,192,250,50\"><font size=5><MULTIPLE Coords=#pos DIM=3,2 TXT=\"house|mouse|tree\" "
      "reaction=vokabel><multiple color=#ff0000,#00ff00 dim=4>"
      "<button coords=10,20,100,30 caption=\"Weiter geht's\" href=\"\xA7[vokabelweiter]\" color=#c0c0c0>"
      "<klotz falsch=\"cat/mouse\" y=400 nr=5 left=50><klotz nr=6 width=90 right=2000>"
      "<satz teile=\"I/am/here\" coords=100,300,600,30><satz teile=\"a/b\" coords=0,300,600,30>"
      "<satz coords=100,300,600,30>");
  ASSERT_TRUE(page.multiple);
  const TMultipleRecord& m = *page.multiple;
  EXPECT_EQ(m.coords.v[0], 150);
  EXPECT_EQ(m.coords.v[3], 50);
  EXPECT_EQ(m.rows, 4);
  EXPECT_EQ(m.cols, 2);
  EXPECT_EQ(m.items, (std::vector<std::string>{"house", "mouse", "tree"}));
  EXPECT_EQ(m.reaction, "vokabel");
  EXPECT_EQ(m.inactive, rgbColor(255, 0, 0));
  EXPECT_EQ(m.active, rgbColor(0, 255, 0));
  EXPECT_EQ(m.style.size, 5);
  ASSERT_EQ(page.buttons.size(), 1u);
  EXPECT_EQ(page.buttons[0].caption, "Weiter geht's");
  EXPECT_EQ(page.buttons[0].href, "\xA7[vokabelweiter]");
  EXPECT_EQ(page.buttons[0].color, rgbColor(192, 192, 192));
  EXPECT_EQ(page.drag.decoys, (std::vector<std::string>{"cat", "mouse"}));
  EXPECT_EQ(page.drag.row, 400);
  EXPECT_EQ(page.drag.perRow, 6);
  EXPECT_EQ(page.drag.blockWidth, 90);  // WIDTH after NR wins
  EXPECT_EQ(page.drag.left, 50);
  EXPECT_EQ(page.drag.right, 1000);
  ASSERT_EQ(page.sentences.size(), 1u);
  EXPECT_EQ(page.sentences[0].parts, (std::vector<std::string>{"I", "am", "here"}));
  EXPECT_EQ(page.sentences[0].style.size, 5);
}

TEST(Reader, GridsThatWouldNeedAHugePictureAreRefused) {
  const struct {
    const char* markup;
    bool kept;
  } cases[] = {
      {"<multiple coords=0,40,120,40 dim=100,10>", true},   // 1200 x 4000
      {"<multiple coords=0,40,120,40 dim=500,500>", false},  // 60000 x 20000
      {"<multiple dim=1000,1000>", false},
      {"<multiple coords=0,0,5,5 dim=800,1>", true},  // cells are raised to 120 x 40: 120 x 32000
      {"<multiple coords=0,0,5,5 dim=820,1>", false},  // 32800 high
      {"<multiple coords=0,0,100000,40 dim=2,1>", false},
      {"<multiple dim=2,2><multiple dim=400,400>", false},  // the later tag adds to the same grid
  };
  for (const auto& c : cases) {
    TestHost host;
    host.m_pageOnShow = "/cd/hzek/gitter.htx";
    zek::ScriptedDialogs dialogs;
    const TPageModel page = readWith(host, c.markup);
    EXPECT_EQ(page.multiple.has_value(), c.kept) << c.markup;
    if (c.kept) {
      EXPECT_TRUE(dialogs.texts().empty()) << c.markup;
    } else {
      EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{
                                     "Die Seite \"gitter.htx\" ist besch\xE4" "digt und kann nicht angezeigt werden."}))
          << c.markup;
    }
  }
}

TEST(Reader, Includes) {
  TestHost host;
  host.m_xpath = "/cd/hzek/";
  host.m_pageOnShow = "/cd/hzek/main.htx";
  host.m_files["/cd/hzek/kopf.htx"] = "<b>Kopf</b>";
  host.m_files["/cd/hzek/sub/a.htx"] = "A <include href=\"/cd/hzek/sub/b.htx\">";
  host.m_files["/cd/hzek/sub/b.htx"] = "B <include href=\"/cd/hzek/sub/a.htx\">";
  host.m_files["/cd/hzek/main.htx"] = "nochmal";
  host.m_broken["/cd/hzek/kaputt.htx"] = true;
  zek::ScriptedDialogs dialogs;
  const TPageModel page = readWith(host,
                                   "<include href=\"kopf.htx\"> x <include href=\"fehlt.htx\"><include "
                                   "href=\"kaputt.htx\"><include><include href=\"sub/a.htx\"><include "
                                   "href=\"main.htx\"> y");
  EXPECT_EQ(shape(page), "Kopf _ x _ A _ B _ y");
  EXPECT_TRUE(page.items[0].style.bold);
  EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"INCLUDE-Datei wurde nicht gefunden /cd/hzek/fehlt.htx!!!",
                                                       "Fehler bei INCLUDE!!!", "Fehler bei INCLUDE <2>!!!",
                                                       "Fehler bei INCLUDE!!!", "Fehler bei INCLUDE!!!"}));
}

TEST(Reader, IncludesAreBounded) {
  // A file that includes two others many levels deep must not multiply without end.
  TestHost host;
  for (int i = 0; i < 40; ++i)
    host.m_files["/f" + std::to_string(i)] =
        "w<include href=\"/f" + std::to_string(i + 1) + "\"><include href=\"/f" + std::to_string(i + 1) + "\">";
  zek::ScriptedDialogs dialogs;
  const TPageModel page = readWith(host, "<include href=\"/f0\">");
  EXPECT_LE(host.m_includeReads, THtxReader::kMaxIncludes + 1);
  EXPECT_LE(page.items.size(), 2 * std::size_t(THtxReader::kMaxIncludes + 1));
  EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Fehler bei INCLUDE!!!"}));
}

// Small files that inflate to millions of words, or include a large page hundreds of
// times, took gigabytes: reading stops at the page's bounds and the page is refused.
TEST(Reader, PagesAreBoundedInRecordsAndText) {
  std::string words;
  for (std::size_t i = 0; i < THtxReader::kMaxRecords; ++i) words += "a ";
  std::string areas = "<map name=m>";
  for (std::size_t i = 0; i <= THtxReader::kMaxRecords; ++i) areas += "<area shape=rect coords=1,1,2,2 href=x>";
  TestHost host;
  host.m_files["/w.htx"] = std::string(1u << 20, 'w') + " ";
  std::string wide;
  for (int i = 0; i < 10; ++i) wide += "<include href=\"/w.htx\">";
  const std::string faelle[] = {words, areas, wide};
  for (const std::string& text : faelle) {
    TPageModel page;
    THtxReader reader(page, host);
    reader.read(text);
    EXPECT_TRUE(reader.overBudget());
    EXPECT_LE(page.items.size(), THtxReader::kMaxRecords + 1);
    EXPECT_LE(page.text.size(), THtxReader::kMaxTextBytes + (1u << 20) + 1);
  }
  TPageModel page;
  THtxReader reader(page, host);
  reader.read(words.substr(0, words.size() / 4));
  EXPECT_FALSE(reader.overBudget());
}

TEST(ExerciseFile, Layout) {
  const TExerciseFile f = parseExerciseFile("ZEK!03 \r\n<h1>Kopf</h1><EX>eins<ex>zwei<EX>drei</EX><p>Fuss\r");
  ASSERT_TRUE(f.ok);
  EXPECT_EQ(f.count, 3);
  EXPECT_EQ(f.prefix, "<h1>Kopf</h1>");
  EXPECT_EQ(f.exercises, (std::vector<std::string>{"eins", "zwei", "drei"}));
  EXPECT_EQ(f.suffix, "<p>Fuss\r");
  EXPECT_EQ(f.exerciseText(1), "<h1>Kopf</h1>zwei<p>Fuss\r");
  EXPECT_EQ(parseExerciseFile("ZEK!xx<EX>a").count, -1);
  EXPECT_EQ(parseExerciseFile("ZEK!05 nur Text").exercises.size(), 0u);

  zek::ScriptedDialogs dialogs;
  EXPECT_FALSE(readExerciseFileOrReport("ZEK?01<EX>a</EX>").ok);
  EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Falsches Format (ID)"}));
}

TEST(TargetPath, Resolve) {
  const struct {
    const char* target;
    const char* expected;
  } rows[] = {
      {"", ""},
      {"seite.htx", "/cd/hzek/seite.htx"},
      {"unter\\seite.htx", "/cd/hzek/unter/seite.htx"},
      {"*bild.gif", "*/cd/hzek/bild.gif"},
      {"Hinweis@seite.htx", "/cd/hzek/seite.htx"},
      {"ex pick=3 file=aufg.zek weiter=#w", "/cd/hzek/aufg.zek"},
      {"ex pick=3", ""},
      {"..\\..\\oben.htx", "/oben.htx"},
      {"../x/../y.htx", "/cd/x/../y.htx"},
      {"\\wurzel.htx", "/cd/hzek/wurzel.htx"},
      {"/abs/seite.htx", "/abs/seite.htx"},
      {"C:\\zek\\a.htx", "C:/zek/a.htx"},
  };
  for (const auto& r : rows) EXPECT_EQ(resolveTargetPath(r.target, "/cd/hzek/"), r.expected) << r.target;
  EXPECT_TRUE(samePagePath("/CD/hzek\\Main.htx", "/cd/hzek/main.HTX"));
}

}  // namespace
