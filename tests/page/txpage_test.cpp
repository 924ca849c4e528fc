// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/mediacommand.h"
#include "page/htxreader.h"
#include "page/thtmlstream.h"
#include "page/txpage.h"
#include "platform/appstate.h"
#include "platform/builtinresources.h"
#include "widgets/txcolorbutton.h"
#include "widgets/txcoloredit.h"
#include "widgets/txmultiplechoice.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "tests/common/tallymemory.h"
#include "tests/common/testutil.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

void waitMs(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

void moveMouse(TXPage& page, QPoint pos) {
  QMouseEvent e(QEvent::MouseMove, QPointF(pos), page.mapToGlobal(QPointF(pos)), Qt::NoButton, Qt::NoButton,
                Qt::NoModifier);
  QCoreApplication::sendEvent(&page, &e);
}

void click(TXPage& page, QPoint pos) {
  const QPointF global = page.mapToGlobal(QPointF(pos));
  QMouseEvent down(QEvent::MouseButtonPress, QPointF(pos), global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent up(QEvent::MouseButtonRelease, QPointF(pos), global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&page, &down);
  QCoreApplication::sendEvent(&page, &up);
}

QPoint centreOf(const TXPage& page, int area) {
  const TRect& r = page.Layout().areas.at(std::size_t(area)).rect;
  return QPoint(r.x + r.w / 2, r.y + r.h / 2 - page.ScrollY());
}

std::string longPage(int lines) {
  std::string s;
  for (int i = 0; i < lines; ++i) s += "Line number " + std::to_string(i) + "<br>";
  return s;
}

struct PageViewTest : ::testing::Test {
  zek::ScriptedDialogs dialogs;
  TXPage page;
  void SetUp() override { page.resize(800, 572); }
};

}  // namespace

TEST_F(PageViewTest, ScrollBarOnlyForPagesLongerThanTheView) {
  page.ShowHTML("A short page.");
  EXPECT_FALSE(page.ScrollBarShown());
  EXPECT_EQ(page.ViewWidth(), 800);

  page.ShowHTML(longPage(60));
  ASSERT_TRUE(page.ScrollBarShown());
  EXPECT_EQ(page.ViewWidth(), 784);
  const QScrollBar* bar = page.ScrollBar();
  EXPECT_EQ(bar->maximum(), page.ContentHeight() - 572 + 16);
  EXPECT_EQ(bar->singleStep(), 5);
  EXPECT_EQ(bar->pageStep(), 556);
  EXPECT_EQ(bar->geometry(), QRect(784, 0, 16, 572));

  // Scrolling copies the visible part from the page picture at the new offset.
  page.ScrollTo(100);
  EXPECT_EQ(page.ScrollY(), 100);
  EXPECT_EQ(page.VisibleImage(), page.Buffer().view().copy(0, 100, 784, 572));
  page.ScrollTo(1 << 20);
  EXPECT_EQ(page.ScrollY(), bar->maximum());
  EXPECT_EQ(page.Buffer().height(), bar->maximum() + 572);
}

TEST_F(PageViewTest, HintAfterHalfASecondAndClickFollowsTheTargetBeforeTheAt) {
  std::vector<std::string> commands;
  page.OnCommand = [&](TXPage*, const std::string& c) { commands.push_back(c); };
  page.ShowHTML("<a href=\"\xA7[vocaus]@Auswertung\">Ergebnis</a>");
  ASSERT_EQ(page.Layout().areas.size(), 1u);
  moveMouse(page, centreOf(page, 0));
  EXPECT_EQ(page.HoverLink(), 0);
  EXPECT_FALSE(page.HintShown());
  waitMs(300);
  EXPECT_FALSE(page.HintShown());
  waitMs(350);
  EXPECT_TRUE(page.HintShown());
  EXPECT_EQ(page.HintText(), "Auswertung");
  click(page, centreOf(page, 0));
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0], "vocaus");
  EXPECT_FALSE(page.MouseLocked());
}

TEST_F(PageViewTest, HintClosesWhenTheMouseLeavesAndAfterItsTime) {
  page.hintDelayMs = 20;
  page.hintShowMs = 100;
  page.ShowHTML("<a href=\"@Ein Hinweis\">Wort</a> und mehr Text");
  moveMouse(page, centreOf(page, 0));
  waitMs(60);
  EXPECT_TRUE(page.HintShown());
  waitMs(120);
  EXPECT_FALSE(page.HintShown());
  moveMouse(page, centreOf(page, 0) + QPoint(0, 200));
  moveMouse(page, centreOf(page, 0));
  waitMs(60);
  EXPECT_TRUE(page.HintShown());
  moveMouse(page, QPoint(700, 500));
  EXPECT_FALSE(page.HintShown());
  EXPECT_EQ(page.HoverLink(), -1);
}

TEST_F(PageViewTest, FlashLinksSwitchToTheirHighlightedPictureAndBack) {
  page.ShowHTML("<body bgcolor=#FFFFFF><a href=\"a.htx\" flash=#FF0000><font size=7>Rot</font></a>");
  const TRect r = page.Layout().areas.at(0).rect;
  const QImage before = page.Buffer().view().copy(r.x, r.y, r.w, r.h);
  const auto redPixels = [&] {
    int n = 0;
    const QImage now = page.Buffer().view().copy(r.x, r.y, r.w, r.h);
    for (int y = 0; y < now.height(); ++y)
      for (int x = 0; x < now.width(); ++x)
        if (now.pixelColor(x, y) == QColor(255, 0, 0)) ++n;
    return n;
  };
  EXPECT_EQ(redPixels(), 0);
  moveMouse(page, centreOf(page, 0));
  EXPECT_GT(redPixels(), 50);
  moveMouse(page, QPoint(700, 500));
  EXPECT_EQ(page.Buffer().view().copy(r.x, r.y, r.w, r.h), before);
}

TEST_F(PageViewTest, AnkerChangeSkipsHintOnlyAreas) {
  std::vector<std::string> targets;
  page.OnAnkerChange = [&](TXPage*, const std::string& t) { targets.push_back(t); };
  page.ShowHTML("<a href=\"next.htx@weiter\">eins</a> <a href=\"@nur ein Hinweis\">zwei</a>");
  moveMouse(page, centreOf(page, 0));
  moveMouse(page, centreOf(page, 1));
  moveMouse(page, QPoint(700, 500));
  EXPECT_EQ(targets, (std::vector<std::string>{"next.htx", ""}));
}

TEST_F(PageViewTest, LockedMouseIsIgnored) {
  page.ShowHTML("<a href=\"a.htx\">Link</a>");
  page.LockMouse();
  moveMouse(page, centreOf(page, 0));
  EXPECT_EQ(page.HoverLink(), -1);
  page.UnlockMouse();
  moveMouse(page, centreOf(page, 0));
  EXPECT_EQ(page.HoverLink(), 0);
}

TEST_F(PageViewTest, PaintsBackgroundBoxesBlocksAndKeepsGapsEmpty) {
  page.ShowHTML(
      "<body bgcolor=#102030 klotz=#C0C0C0>"
      "<box coords=100,100,50,40 color=#00FF00 bcolor=#0000FF bwidth=2>"
      "<box coords=300,100,300>Put <a drag>here</a> and <a gap lsg=\"x\" help=\"y\">hidden</a>.");
  const TXBitmap& b = page.Buffer();
  EXPECT_EQ(b.pixel(5, 500), rgbColor(0x10, 0x20, 0x30));
  EXPECT_EQ(b.pixel(100, 100), rgbColor(0, 0, 255));   // border
  EXPECT_EQ(b.pixel(150, 140), rgbColor(0, 0, 255));   // inclusive far corner
  EXPECT_EQ(b.pixel(151, 141), rgbColor(0x10, 0x20, 0x30));
  EXPECT_EQ(b.pixel(120, 120), rgbColor(0, 255, 0));   // fill
  const TRect slot = page.Layout().dragSlots.at(0);
  EXPECT_EQ(b.pixel(slot.x + slot.w / 2, slot.y + slot.h / 2), rgbColor(192, 192, 192));
  const TRect gap = page.Layout().fields.at(0);
  for (int x = gap.x; x < gap.right(); ++x)
    for (int y = gap.y; y < gap.bottom(); ++y) ASSERT_EQ(b.pixel(x, y), rgbColor(0x10, 0x20, 0x30));
  ASSERT_EQ(page.Fields().size(), 1u);
  EXPECT_EQ(page.Fields()[0]->geometry(), QRect(gap.x, gap.y, gap.w, gap.h));
}

TEST_F(PageViewTest, ShowStreamAppendsCarriageReturnAndTerminator) {
  page.ShowStream(nullptr);
  THTMLStream empty;
  page.ShowStream(&empty);
  EXPECT_TRUE(page.Model().items.empty());

  THTMLStream s;
  s << "<title>Frage</title>" << "What is " << "<b>Haus</b>?";
  page.ShowStream(&s);
  EXPECT_EQ(s.data().substr(s.size() - 2), std::string("\r\0", 2));
  EXPECT_EQ(page.Title(), "Frage");
  EXPECT_EQ(page.Model().items.size(), 7u);  // What, space, is, space, Haus, ?, and the carriage return's space

  THTMLStream crEnded;
  crEnded << "x\r";
  page.ShowStream(&crEnded);
  EXPECT_EQ(crEnded.data(), std::string("x\r\0", 3));
}

TEST_F(PageViewTest, FullStreamGivesAWarningAndLeavesThePage) {
  page.ShowHTML("<title>Alt</title>Old page");
  THTMLStream s(8);
  ASSERT_TRUE(s.Write("New page"));
  page.ShowStream(&s);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].flags, mb::IconExclamation);
  EXPECT_EQ(page.Title(), "Alt");
}

TEST_F(PageViewTest, ClearingResetsColoursTitleAndClosesTheSound) {
  int closed = 0;
  TXPage::setSoundCloser([&] { ++closed; });
  page.ShowHTML("<title>Seite</title><body bgcolor=#000000 text=#FFFFFF link=#FFD700>x");
  EXPECT_EQ(page.ColorBGR(), rgbColor(0, 0, 0));
  page.Clear();
  EXPECT_EQ(page.ColorBGR(), rgbColor(255, 255, 255));
  EXPECT_EQ(page.ColorTXT(), rgbColor(0, 0, 0));
  EXPECT_EQ(page.Model().colors.link, rgbColor(0, 128, 0));
  EXPECT_EQ(page.Title(), "ohne Titel");
  EXPECT_GE(closed, 2);
  TXPage::setSoundCloser([] { sendPageMediaCommand("close welle", true); });
}

TEST_F(PageViewTest, ConditionsChooseTheText) {
  page.setCondition("cdrom", true);
  page.ShowHTML("<IF cdrom>A<ELSE>B</IF>");
  ASSERT_EQ(page.Model().items.size(), 1u);
  EXPECT_EQ(page.Model().itemText(page.Model().items[0]), "A");
  page.setCondition("CDROM", false);
  page.ShowHTML("<IF cdrom>A<ELSE>B</IF>");
  EXPECT_EQ(page.Model().itemText(page.Model().items[0]), "B");
}

TEST_F(PageViewTest, MissingPageDirectoryIsTheProgramDirectory) {
  Dirs().ProgramDir = "/tmp/";
  page.setXPath("/no/such/dir/");
  EXPECT_EQ(page.XPath(), "/tmp/");
}

TEST_F(PageViewTest, LoadsPageFilesAndReportsMissingOnes) {
  zek::test::TempDir dir("zek-pageview");
  dir.write("hzek/start.html", "<title>Start</title><a href=\"fehlt.htx\">weg</a>");
  std::vector<std::string> bad;
  int changes = 0;
  page.OnBadLink = [&](TXPage*, const std::string& t) { bad.push_back(t); };
  page.OnFileChange = [&](TXPage*) { ++changes; };
  page.setXFile(zek::fromPath(dir.path() / "hzek/start.html"));
  EXPECT_EQ(page.Title(), "Start");
  EXPECT_EQ(page.XPath(), zek::fromPath(dir.path() / "hzek") + "/");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(bad, (std::vector<std::string>{"fehlt.htx"}));

  page.setXFile("nicht-da.html");
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text, "Die Datei \"nicht-da.html\" wurde nicht gefunden!");
  EXPECT_EQ(dialogs.messages()[0].title, "*zek");
  EXPECT_EQ(page.Title(), "Start");  // the page on show stays
}

// A page that would take gigabytes is refused with the "too large" message, and the page
// on show comes back, links and all.
TEST_F(PageViewTest, APageBeyondTheBoundsIsRefusedAndThePageBeforeStays) {
  zek::test::TempDir dir("zek-pageview");
  dir.write("hzek/start.html", "<title>Start</title><a href=\"gross.html\">weiter</a>");
  std::string viel = "<title>Gross</title>";
  for (std::size_t i = 0; i <= THtxReader::kMaxRecords; ++i) viel += "a ";
  dir.write("hzek/gross.html", viel);
  page.setXFile(zek::fromPath(dir.path() / "hzek/start.html"));
  page.setXFile(zek::fromPath(dir.path() / "hzek/gross.html"));
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text, "Die Seite \"gross.html\" ist zu gro\xDF und kann nicht angezeigt werden.");
  EXPECT_EQ(page.Title(), "Start");
  EXPECT_EQ(page.XFile(), zek::fromPath(dir.path() / "hzek/start.html"));
  EXPECT_EQ(page.Model().links.size(), 1u);
}

TEST_F(PageViewTest, AnimatedPicturesAnimate) {
  const std::filesystem::path data = zek::test::sourceDir() / "tests/page/data";
  page.setXPath(zek::fromPath(data));
  page.ShowHTML("<img src=\"e_gfx/blink.gif\">");
  const TPageItem* pic = nullptr;
  for (const TPageItem& it : page.Model().items)
    if (it.kind == TItemKind::Picture) pic = &it;
  ASSERT_NE(pic, nullptr) << (dialogs.texts().empty() ? "" : dialogs.texts()[0]);
  const int x = pic->x + 20, y = pic->y - pic->ascent + 20;
  const std::uint32_t first = page.Buffer().pixel(x, y);
  waitMs(700);
  EXPECT_NE(page.Buffer().pixel(x, y), first);
}

TEST_F(PageViewTest, ToastIgnoresTheMouseAndRestoresThePicture) {
  page.ShowHTML("<a href=\"a.htx\">Link</a>");
  const QImage before = page.VisibleImage();
  bool sawToast = false;
  QTimer::singleShot(60, &page, [&] {
    const QImage frame = page.VisibleImage();
    int black = 0;
    for (int y = 50; y < 522; y += 4)
      for (int x = 80; x < 720; x += 4) black += frame.pixelColor(x, y) == QColor(0, 0, 0);
    sawToast = page.ToastRunning() && black > 15000;
    moveMouse(page, centreOf(page, 0));
  });
  page.ShowToast("Unglaublich!", 200);
  EXPECT_TRUE(sawToast);
  EXPECT_EQ(page.HoverLink(), -1);
  EXPECT_FALSE(page.ToastRunning());
  EXPECT_EQ(page.VisibleImage(), before);
}

TEST(PageCursors, HandAndDragCursorsAreBuiltIn) {
  for (const char* name : {"hand_xpm", "drag1_xpm"}) {
    const std::string_view bytes = namedResource(name);
    ASSERT_FALSE(bytes.empty()) << name;
    QImage image;
    EXPECT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size()))) << name;
    EXPECT_EQ(image.width(), 17) << name;
  }
}

TEST_F(PageViewTest, RightClickGivesTheWordGroupAndTheCursorShowsLinks) {
  std::string got;
  page.OnRightClick = [&](TXPage*, const QRect&, const std::string& text) { got = text; };
  page.ShowHTML("Visit the <W>Tower of London</W>, then <a href=\"x.htx\">go home</a>.");
  const TPageItem* of = nullptr;
  for (const TPageItem& it : page.Model().items)
    if (it.kind == TItemKind::Word && page.Model().itemText(it) == "of") of = &it;
  ASSERT_NE(of, nullptr);
  const QPoint at(of->x + 2, of->y - 2);
  QMouseEvent right(QEvent::MouseButtonPress, QPointF(at), page.mapToGlobal(QPointF(at)), Qt::RightButton,
                    Qt::RightButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&page, &right);
  EXPECT_EQ(got, "Tower of London");

  moveMouse(page, centreOf(page, 0));
  EXPECT_NE(page.cursor().shape(), Qt::ArrowCursor);
  moveMouse(page, QPoint(700, 500));
  EXPECT_EQ(page.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(PageViewTest, ChoiceGridAndButtonsArePlacedFromTheirRecords) {
  std::vector<std::string> commands;
  page.OnCommand = [&](TXPage*, const std::string& c) { commands.push_back(c); };
  page.ShowHTML("<multiple coords=100,200,150,40 dim=2,2 txt=\"house|mouse|horse|hose\" reaction=vokabel>"
                "<button coords=10,500,120,30 caption=\"Weiter\" href=\"\xA7[vokabelweiter]\">");
  ASSERT_NE(page.MultipleChoice(), nullptr);
  EXPECT_EQ(page.MultipleChoice()->geometry(), QRect(100, 200, 300, 80));
  EXPECT_FALSE(page.MultipleChoice()->isHidden());
  ASSERT_EQ(page.Buttons().size(), 1u);
  EXPECT_EQ(page.Buttons()[0]->geometry(), QRect(10, 500, 120, 30));
  ASSERT_TRUE(page.Buttons()[0]->OnClick);
  page.Buttons()[0]->OnClick(page.Buttons()[0]);
  EXPECT_TRUE(commands.empty());  // followed after the button's own event
  QCoreApplication::processEvents();
  EXPECT_EQ(commands, (std::vector<std::string>{"vokabelweiter"}));
  page.Clear();
  EXPECT_EQ(page.MultipleChoice(), nullptr);
  EXPECT_TRUE(page.Buttons().empty());
}

TEST_F(PageViewTest, AFarAwayBoxDoesNotMakeAHugePicture) {
  page.ShowHTML("<box coords=0,100000,100>far away");
  EXPECT_TRUE(page.ScrollBarShown());
  EXPECT_LE(page.Buffer().height(), 32768);
  page.ScrollTo(1 << 30);
  EXPECT_EQ(page.ScrollY() + 572, page.Buffer().height());
}

namespace {

void key(QWidget* w, int k, const QString& text = {}) {
  QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier, text);
  QCoreApplication::sendEvent(w, &e);
}

}  // namespace

TEST_F(PageViewTest, GapsTakeTheirHelpPatternFilledInAndShowItsPlaceholders) {
  // Real fonts: "_" is wider than most letters, so a field only as wide as its solution
  // refused the letters typed over the pattern.
  const struct {
    const char* face;
    int size;
    const char* solution;
  } cases[] = {
      {"Times New Roman", 4, "plays"}, {"Arial", 3, "house"}, {"Arial", 3, "is"},
      {"Arial", 2, "it's"},            {"Verdana", 3, "lilt"}, {"Courier New", 3, "mill"},
  };
  for (const auto& c : cases) {
    const std::string s = c.solution;
    page.ShowHTML(std::string("Text <font face=\"") + c.face + "\" size=" + std::to_string(c.size) +
                  "><a gap lsg=\"" + s + "\" help=\"*\">" + s + "</a></font> and more.<br>Next line.");
    ASSERT_EQ(page.Fields().size(), 1u);
    tXColorEdit* field = page.Fields()[0];
    key(field, Qt::Key_F12);
    const std::string pattern = field->Text();
    ASSERT_EQ(pattern.size(), s.size()) << c.face;

    // Every placeholder shows: an underscore has dark pixels inside the frame, not on it.
    field->setCaret(false);
    const QImage& shown = field->surface();
    const std::size_t us = pattern.find('_');
    ASSERT_NE(us, std::string::npos);
    int dark = 0;
    for (int x = field->CharLeft(int(us) + 1); x < field->CharLeft(int(us) + 2); ++x)
      for (int y = 1; y < shown.height() - 1; ++y) dark += qGray(shown.pixel(x, y)) < 128;
    EXPECT_GT(dark, 0) << c.face << " " << s << ": the placeholder falls on the frame";

    // Filling the pattern in place gives the solution, letter by letter.
    for (std::size_t i = us; i < s.size(); ++i) {
      if (pattern[i] == '_') key(field, 0, QString(QChar(s[i])));
      else key(field, Qt::Key_Right);
    }
    EXPECT_EQ(field->Text(), s) << c.face << " " << c.size << ": pattern " << pattern;
  }
}

TEST_F(PageViewTest, ChoiceGridTakesThePageColoursAndEveryGridIsShuffled) {
  page.ShowHTML("<multiple dim=2,2 txt=\"a|b|c|d\">");
  ASSERT_NE(page.MultipleChoice(), nullptr);
  EXPECT_EQ(page.MultipleChoice()->HighlightColor(), QColor(255, 0, 0));  // MCHAN's default
  page.ShowHTML("<body mchan=#00ff00 mchaus=#0000ff><multiple dim=2,2 color=#ff00ff,#00ffff txt=\"a|b|c|d\">");
  TXMultipleChoice* grid = page.MultipleChoice();
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->HighlightColor(), QColor(0, 255, 0));
  EXPECT_EQ(grid->ActiveColor(), QColor(0, 255, 255));
  EXPECT_EQ(grid->InActiveColor(), QColor(255, 0, 255));
  EXPECT_TRUE(dialogs.texts().empty());

  const struct {
    const char* dim;
    const char* txt;
    bool countMessage;
  } cases[] = {
      {"2,2", "a|b|c", true}, {"2,2", "a|b|c|d|e", true}, {"1,1", "a", true},  // one row becomes two
      {"1,2", "a|b", true},   {"2,2", "a|b|c|d", false},  {"3,1", "a|b|c", false},
  };
  for (const auto& c : cases) {
    dialogs.clear();
    page.ShowHTML(std::string("<multiple dim=") + c.dim + " txt=\"" + c.txt + "\">");
    ASSERT_NE(page.MultipleChoice(), nullptr);
    EXPECT_EQ(dialogs.texts(), c.countMessage ? std::vector<std::string>{"Die Anzahl der Items stimmt nicht (Multiple Choice)."}
                                              : std::vector<std::string>{})
        << c.dim << " " << c.txt;
    EXPECT_EQ(page.MultipleChoice()->cellText(page.MultipleChoice()->Lsg()), "a");
  }
}

TEST_F(PageViewTest, ToastIsOnTopAndItsPageTakesNoInput) {
  std::vector<std::string> commands;
  page.OnCommand = [&](TXPage*, const std::string& c) { commands.push_back(c); };
  page.ShowHTML("<a gap lsg=\"x\" help=\"*\">x</a><button coords=100,70,120,30 caption=\"Knopf\" href=\"\xA7[knopf]\">");
  ASSERT_EQ(page.Buttons().size(), 1u);
  tXColorButton* button = page.Buttons()[0];
  tXColorEdit* field = page.Fields().at(0);
  bool covered = false;
  QTimer::singleShot(100, &page, [&] {
    // The button lies inside the toast's black rectangle: the toast must be drawn over it.
    const QImage shown = page.grab().toImage();
    int black = 0;
    for (int y = 75; y < 95; ++y)
      for (int x = 110; x < 210; ++x) black += shown.pixelColor(x, y) == QColor(0, 0, 0);
    covered = black > 1800;
    const QPointF at(10, 10), global = button->mapToGlobal(at);
    QMouseEvent down(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent up(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(button, &down);
    QCoreApplication::sendEvent(button, &up);
    key(field, Qt::Key_Q, "q");
  });
  page.ShowToast("Unglaublich!", 400);
  QCoreApplication::processEvents();
  EXPECT_TRUE(covered);
  EXPECT_TRUE(commands.empty());
  EXPECT_EQ(field->Text(), "");
  // Afterwards the page takes input again.
  key(field, Qt::Key_Q, "q");
  EXPECT_EQ(field->Text(), "q");
}

TEST_F(PageViewTest, OnlyTolerantFieldsTakeALongFormForAContraction) {
  std::vector<std::string> commands;
  page.OnCommand = [&](TXPage*, const std::string& c) { commands.push_back(c); };
  for (const bool tolerant : {true, false}) {
    commands.clear();
    page.ShowHTML(std::string("<edit coords=100,100,300,32 lsg=\"I'm sorry.\" help=\"*\" reaction=\"antwort\"") +
                  (tolerant ? " tolerant>" : ">"));
    ASSERT_EQ(page.Fields().size(), 1u);
    tXColorEdit* field = page.Fields()[0];
    EXPECT_EQ(field->Tolerant(), tolerant);
    field->setText("I am sorry.");
    field->pressEnter();
    QCoreApplication::processEvents();
    if (tolerant) {
      // Right on the first try, and the field then shows the solution as written.
      EXPECT_EQ(commands, std::vector<std::string>{"antwort#1+"});
      EXPECT_EQ(field->Text(), "I'm sorry.");
    } else {
      EXPECT_TRUE(commands.empty());  // a first wrong try: the learner tries again
      EXPECT_FALSE(field->isHidden());
    }
  }
}

// A page of plain fields reports each answer and, when its last field is done, shows the
// round's tally in its note.
TEST_F(PageViewTest, AFinishedPageShowsItsTallyFromTheLearningMemory) {
  zek::test::TallyMemory memory;
  zek::test::TempDir dir("zek-pagetally");
  dir.write("hzek/uebung.html", "<edit coords=100,100,300,32 lsg=\"went\" help=\"*\">"
                                "<edit coords=100,200,300,32 lsg=\"gone\" help=\"*\">");
  page.doneToastMs = 10;
  page.setXFile(zek::fromPath(dir.path() / "hzek/uebung.html"));
  ASSERT_EQ(page.Fields().size(), 2u);
  page.Fields()[0]->setText("went");
  page.Fields()[0]->pressEnter();
  QCoreApplication::processEvents();
  EXPECT_TRUE(page.NoteText().empty()) << "one field is still open";
  for (int i = 0; i < 10 && !page.Fields()[1]->isHidden() && page.NoteText().empty(); ++i) {
    page.Fields()[1]->setText("goed");
    page.Fields()[1]->pressEnter();
    QCoreApplication::processEvents();
  }
  waitMs(50);
  EXPECT_EQ(memory.gegeben, (std::vector<std::string>{"went", "goed"}));
  EXPECT_NE(page.NoteText().find("Diese Seite: 1 richtig, 1 falsch"), std::string::npos) << page.NoteText();
  EXPECT_NE(page.NoteText().find("gone"), std::string::npos) << page.NoteText();
}
