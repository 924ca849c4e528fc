// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/mediacommand.h"
#include "page/txpage.h"
#include "platform/appstate.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "tests/common/testutil.h"
#include "tests/common/wavebytes.h"
#include "widgets/txcoloredit.h"
#include "widgets/txmultiplechoice.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

using Strings = std::vector<std::string>;

// A mono 16-bit WAV of silence.
std::string silentWav(int ms) { return zek::test::silentWave(8000, 16, std::uint32_t(8000 * ms / 1000)); }

struct NavigationTest : ::testing::Test {
  zek::ScriptedDialogs dialogs;
  zek::test::TempDir dir{"zek-nav"};
  TXPage page;
  Strings commands;
  int terminated = 0;

  void SetUp() override {
    page.resize(800, 572);
    page.OnCommand = [this](TXPage*, const std::string& c) { commands.push_back(c); };
    TXPage::setTerminator([this] { ++terminated; });
    TXPage::setSoundCloser(nullptr);
  }
  void TearDown() override {
    TXPage::setTerminator([] { QCoreApplication::exit(0); });
    TXPage::setSoundCloser([] { sendPageMediaCommand("close welle", true); });
  }
  std::string path(const std::string& relative) const { return zek::fromPath(dir.path() / relative); }
  // Page files are stored compressed, as the installation has them.
  std::string write(const std::string& relative, const std::string& text) const {
    const std::string ext = zek::extensionLower(relative);
    return zek::fromPath(dir.write(relative, ext == ".htx" || ext == ".hzek" ? zek::deflateZlib(text) : text));
  }
  std::string words() const {
    std::string s;
    for (const TPageItem& it : page.Model().items)
      if (it.kind == TItemKind::Word) s += std::string(page.Model().itemText(it)) + " ";
    return s;
  }
  std::string fileName() const { return zek::fileNamePart(page.XFile()); }
};

TEST_F(NavigationTest, PageLinksPushTheHistoryAndMinusGoesBack) {
  write("hzek/a.htx", "Seite A <a href=\"b.htx\">weiter</a>");
  write("hzek/b.htx", "Seite B <a href=\"sub/c.htx\">tiefer</a>");
  write("hzek/sub/c.htx", "Seite C <a href=\"../a.htx\">oben</a> <a href=\"-\">zur\xFC" "ck</a>");
  page.setXFile(path("hzek/a.htx"));
  page.Follow("b.htx", {});
  page.Follow("sub/c.htx", {});
  EXPECT_EQ(words(), "Seite C oben zur\xFC" "ck ");
  EXPECT_EQ(page.XPath(), path("hzek/sub") + "/");
  EXPECT_EQ(page.History(), (Strings{path("hzek/a.htx"), path("hzek/b.htx")}));

  page.Follow("-", {});
  EXPECT_EQ(fileName(), "b.htx");
  page.Follow("-", {});
  EXPECT_EQ(fileName(), "a.htx");
  EXPECT_TRUE(page.History().empty());
  // Back with nothing left clears the page.
  page.Follow("-", {});
  EXPECT_TRUE(page.Model().items.empty());
  EXPECT_EQ(page.XFile(), "");

  // A page that cannot be found keeps the page and leaves no history entry.
  page.setXFile(path("hzek/a.htx"));
  page.Follow("fehlt.htx", {});
  EXPECT_EQ(fileName(), "a.htx");
  EXPECT_TRUE(page.History().empty());
  ASSERT_EQ(dialogs.texts(), (Strings{"Die Datei \"fehlt.htx\" wurde nicht gefunden!"}));

  // Extensions compare exactly; anything else does nothing.
  page.Follow("B.HTX", {});
  page.Follow("b.txt", {});
  EXPECT_EQ(fileName(), "a.htx");
}

TEST_F(NavigationTest, CommandsHelpAliasesAndNotes) {
  write("hzek/main.htx", "Start");
  std::vector<std::pair<std::string, std::string>> help;
  page.OnRightClick = [&](TXPage*, const QRect&, const std::string& t) { help.emplace_back("page", t); };
  page.ShowHTML("<alias lab=\"\xA7[lab,stop]\">x");

  page.Follow("\xA7[lab,stop]", {});
  page.Follow("\xA7" "simple", {});
  page.Follow("#lab", {});
  page.Follow("#undefined", {});
  EXPECT_EQ(commands, (Strings{"lab,stop", "simple", "lab,stop"}));

  // A command and then a page; an unclosed bracket makes the rest the command.
  commands.clear();
  page.setXPath(path("hzek"));
  page.Follow("\xA7[editor]main.htx", {});
  page.Follow("\xA7[offen", {});
  EXPECT_EQ(commands, (Strings{"editor", "offen"}));
  EXPECT_EQ(fileName(), "main.htx");
  EXPECT_EQ(page.History().size(), 1u);

  // A throwing host leaves the page usable.
  page.OnCommand = [](TXPage*, const std::string&) { throw std::runtime_error("kaputt"); };
  page.Follow("\xA7[x]", {});
  EXPECT_FALSE(page.MouseLocked());

  page.Follow("?house", {});
  EXPECT_EQ(help, (std::vector<std::pair<std::string, std::string>>{{"page", "house"}}));

  // A child page hands help requests to its parent page.
  TXPage child(&page);
  child.setHTMLChild(true);
  child.Follow("?mouse", {});
  EXPECT_EQ(help.back(), (std::pair<std::string, std::string>{"page", "mouse"}));

  // "@" shows the note; the same link again closes it.
  page.Follow("@Ein Hinweis", QRect(100, 100, 40, 12));
  const QWidget* note = nullptr;
  for (QObject* o : page.children())
    if (o->inherits("TXLabel")) note = static_cast<QWidget*>(o);
  ASSERT_NE(note, nullptr);
  EXPECT_FALSE(note->isHidden());
  page.Follow("@Ein Hinweis", QRect(100, 100, 40, 12));
  EXPECT_TRUE(note->isHidden());

  page.Follow("end", {});
  EXPECT_EQ(terminated, 0);
  page.Follow("END", {});
  EXPECT_EQ(terminated, 1);
}

TEST_F(NavigationTest, ExerciseLinkSetsPickedExercisesWithoutRepeats) {
  std::string zek = "ZEK!07<html><body>Aufgabe: ";
  for (int i = 0; i < 5; ++i) zek += "<EX>Nummer" + std::to_string(i) + " ";
  zek += "</EX><a href=\"#next\">noch eine</a> <a href=\"+\">fertig</a></html>";
  write("hzek/uebung.zek", zek);
  write("hzek/ende.htx", "Geschafft");
  page.setXFile(write("hzek/start.htx", "<alias geschafft=ende.htx>Start"));
  int draws = 0;
  page.exerciseRandom = [&](int n) {
    EXPECT_EQ(n, 5);
    return (draws++ * 2) % n;  // 0, 2, 4, 1, 3, ... with repeats tried first below
  };

  page.Follow("EX PICK=3 FILE=uebung.zek WEITER=#geschafft", {});
  EXPECT_EQ(fileName(), "uebung.zek");
  EXPECT_EQ(page.ContinueTarget(), "ende.htx");
  EXPECT_EQ(page.ExerciseCount(), 5u);
  std::set<std::string> seen;
  for (int shown = 1; shown <= 3; ++shown) {
    const std::string w = words();
    seen.insert(w);
    bool hasNext = false;
    for (const TLinkRecord& l : page.Model().links) hasNext = hasNext || l.name == "ex";
    EXPECT_EQ(hasNext, shown < 3) << w;
    EXPECT_EQ(page.ExerciseCounter(), 3 - shown);
    if (hasNext) page.Follow("#next", {});
  }
  EXPECT_EQ(seen.size(), 3u);
  EXPECT_EQ(page.ShownExercises(), (std::vector<int>{0, 2, 4}));

  page.Follow("+", {});
  EXPECT_EQ(words(), "Geschafft ");
  page.Follow("-", {});
  EXPECT_EQ(fileName(), "start.htx");
}

TEST_F(NavigationTest, ExerciseDrawSkipsTheLastShownAndStartsAgainWhenAllWereShown) {
  std::string zek = "ZEK!02";
  for (int i = 0; i < 3; ++i) zek += "<EX>E" + std::to_string(i);
  zek += "</EX>";
  write("hzek/drei.zek", zek);
  std::vector<int> draws{1, 1, 1, 0, 0, 2, 1};
  std::size_t next = 0;
  page.exerciseRandom = [&](int) { return next < draws.size() ? draws[next++] : 0; };
  page.setXPath(path("hzek"));
  // No PICK: the counter comes from the file's two digits.
  page.Follow("EX FILE=drei.zek", {});
  EXPECT_EQ(page.ExerciseCounter(), 1);
  page.Follow("EX", {});
  page.Follow("ex", {});
  EXPECT_EQ(page.ShownExercises(), (std::vector<int>{1, 0, 2}));
  // All three were shown: the list starts again rather than drawing for ever.
  page.Follow("EX", {});
  EXPECT_EQ(page.ShownExercises(), (std::vector<int>{1}));
  EXPECT_EQ(words(), "E1 ");
}

TEST_F(NavigationTest, ExerciseLinkErrors) {
  write("hzek/leer.zek", "ZEK!03 nur Text");
  write("hzek/falsch.zek", "ZEX!03<EX>a</EX>");
  page.setXFile(write("hzek/start.htx", "Start"));
  page.Follow("EXPICK=3", {});
  page.Follow("EX PICK=3", {});
  page.Follow("EX PICK=2 FILE=leer.zek", {});
  page.Follow("EX FILE=falsch.zek", {});
  EXPECT_EQ(dialogs.texts(), (Strings{"EX nicht gefunden", "FILE= nicht gefunden",
                                      "0 Aufgaben stehen zur Verf\xFCgung!", "Falsches Format (ID)"}));
  EXPECT_EQ(fileName(), "start.htx");
  EXPECT_TRUE(page.History().empty());
  EXPECT_EQ(page.ContinueTarget(), "");
}

TEST_F(NavigationTest, AFailedExerciseLinkLeavesThePageItsFileAndTheHistory) {
  write("hzek/zwei.zek", "ZEK!05<EX>Eins<EX>Zwei</EX> <a href=\"gut.htx\">gut</a>");
  write("hzek/gut.htx", "Gut");
  write("hzek/sub/leer.zek", "ZEK!03 nur Text");
  write("hzek/sub/falsch.zek", "ZEX!03<EX>a</EX>");
  page.setXFile(write("hzek/start.htx", "<alias fertig=gut.htx>Start"));
  int draw = 0;
  page.exerciseRandom = [&](int n) { return draw++ % n; };
  page.Follow("EX PICK=2 FILE=zwei.zek WEITER=#fertig", {});
  ASSERT_EQ(words(), "Eins gut ");
  const std::string xpath = page.XPath(), xfile = page.XFile();
  const Strings history = page.History();
  for (const char* link : {"EX PICK=7 FILE=sub/leer.zek WEITER=x.htx", "EX PICK=7 FILE=sub/falsch.zek WEITER=x.htx",
                           "EX PICK=7 WEITER=x.htx", "sub/leer.zek"}) {
    page.Follow(link, {});
    EXPECT_EQ(page.XFile(), xfile) << link;
    EXPECT_EQ(page.XPath(), xpath) << link;
    EXPECT_EQ(page.History(), history) << link;
    EXPECT_EQ(page.ExerciseCounter(), 1) << link;
    EXPECT_EQ(page.ContinueTarget(), "gut.htx") << link;
    EXPECT_EQ(page.ShownExercises(), (std::vector<int>{0})) << link;
    EXPECT_EQ(words(), "Eins gut ") << link;
  }
  EXPECT_EQ(dialogs.texts(), (Strings{"0 Aufgaben stehen zur Verf\xFCgung!", "Falsches Format (ID)",
                                      "FILE= nicht gefunden", "0 Aufgaben stehen zur Verf\xFCgung!"}));
  // The exercise goes on as before, and its relative links still resolve.
  page.Follow("EX", {});
  EXPECT_EQ(words(), "Zwei gut ");
  page.Follow("gut.htx", {});
  EXPECT_EQ(words(), "Gut ");
  page.Follow("-", {});
  page.Follow("-", {});
  EXPECT_EQ(fileName(), "start.htx");
}

TEST_F(NavigationTest, AGeneratedPageLinksBackToTheLastFilePageAndIncludesIt) {
  const std::string menu = write("hzek/menu.htx", "<a href=\"menu.htx\">sich selbst</a> Men\xFC");
  page.setXFile(menu);
  EXPECT_TRUE(page.Layout().areas.empty());  // a file page drops its link to itself
  page.ShowHTML("<a href=\"menu.htx\">Zur\xFC" "ck</a> <include href=\"menu.htx\">");
  EXPECT_TRUE(dialogs.texts().empty());
  ASSERT_FALSE(page.Layout().areas.empty());
  EXPECT_EQ(page.Model().links[std::size_t(page.Layout().areas[0].link)].name, "menu.htx");
  EXPECT_NE(words().find("Men\xFC"), std::string::npos);
  page.Follow("menu.htx", {});
  EXPECT_EQ(fileName(), "menu.htx");
}

TEST_F(NavigationTest, SoundLinksPlayThroughWelleAndMissingOnesAreSilent) {
  write("hzek/klang.wav", silentWav(3000));
  page.setXPath(path("hzek"));
  page.Follow("fehlt.wav", {});
  EXPECT_TRUE(dialogs.messages().empty());
  page.Follow("klang.wav", {});
  EXPECT_EQ(sendMediaCommand("status welle mode", true), "playing");
  EXPECT_TRUE(page.History().empty());
  sendMediaCommand("close welle", true);
}

TEST_F(NavigationTest, BadLinkReportsTheFirstMissingTarget) {
  write("hzek/da.htx", "da");
  Strings bad;
  page.OnBadLink = [&](TXPage*, const std::string& t) { bad.push_back(t); };
  page.setXFile(write("hzek/a.htx", "<alias da=da.htx><a href=\"#da\">a</a> "
                                    "<a href=\"\xA7[lab]da.htx\">b</a> <a href=\"\xA7[lab]\">c</a> "
                                    "<a href=\"-\">d</a> <a href=\"weg.htx@Hinweis\">e</a>"));
  page.setXFile(write("hzek/b.htx", "<a href=\"da.htx\">x</a> <a href=\"\">leer</a> <a href=\"weg.htx\">y</a>"));
  page.setXFile(path("hzek/da.htx"));
  EXPECT_EQ(bad, (Strings{"weg.htx", "(leeres Ziel)", ""}));
}

TEST_F(NavigationTest, HotSpotsOpenTheNoteAndASecondPressClosesIt) {
  page.ShowHTML("<a hot=\"Der Tower ist eine Burg.\">Tower</a> of London");
  ASSERT_EQ(page.Layout().areas.size(), 1u);
  const TRect r = page.Layout().areas[0].rect;
  const QPoint at(r.x + r.w / 2, r.y + r.h / 2);
  const auto press = [&](QPoint p) {
    QMouseEvent down(QEvent::MouseButtonPress, QPointF(p), page.mapToGlobal(QPointF(p)), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&page, &down);
  };
  const auto note = [&]() -> QWidget* {
    for (QObject* o : page.children())
      if (o->inherits("TXLabel")) return static_cast<QWidget*>(o);
    return nullptr;
  };
  press(at);
  ASSERT_NE(note(), nullptr);
  EXPECT_FALSE(note()->isHidden());
  press(at);
  EXPECT_TRUE(note()->isHidden());
  press(at);
  EXPECT_FALSE(note()->isHidden());
  press(QPoint(600, 400));  // elsewhere
  EXPECT_TRUE(note()->isHidden());
  EXPECT_TRUE(commands.empty());
}

struct ReactionTest : NavigationTest {
  TPageEdit* field(std::size_t i) { return page.Fields().at(i); }
  void type(tXColorEdit* f, const std::string& text) {
    for (char c : text) f->typeChar(c);
    f->pressEnter();
  }
};

TEST_F(ReactionTest, FieldReactionsArePostedWithTheAttempts) {
  page.ShowHTML("<a gap lsg=\"house\" help=\"h****\" reaction=\"vokabel\">house</a> "
                "<a gap lsg=\"mouse\" help=\"m****\" reaction=\"vokabel\">mouse</a>");
  ASSERT_EQ(page.Fields().size(), 2u);
  EXPECT_TRUE(field(0)->hasFocus() || QApplication::focusWidget() == nullptr);
  type(field(0), "xyz");
  type(field(0), "house");
  EXPECT_TRUE(commands.empty());  // delivered after the field's own event
  EXPECT_TRUE(page.ReactionPending());
  QCoreApplication::processEvents();
  EXPECT_EQ(commands, (Strings{"vokabel#2+"}));

  field(1)->pressEnter();  // an empty Return is no try
  QCoreApplication::processEvents();
  EXPECT_EQ(commands, (Strings{"vokabel#2+"}));
  for (int i = 0; i < 5; ++i) {  // the fifth wrong try fails
    field(1)->setText("");
    type(field(1), "xyz");
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(commands, (Strings{"vokabel#2+", "vokabel-"}));
  EXPECT_TRUE(field(0)->isHidden());
  EXPECT_TRUE(field(1)->isHidden());
  // Done fields stay hidden when the page scrolls or is placed again.
  page.ScrollTo(0);
  page.resize(800, 600);
  EXPECT_TRUE(field(0)->isHidden());
}

TEST_F(ReactionTest, ReactionNamingAPageLoadsIt) {
  write("hzek/richtig.htx", "Richtig!");
  write("hzek/falsch.htx", "Falsch!");
  page.setXPath(path("hzek"));
  page.ShowHTML("<a gap lsg=\"cat\" help=\"*\" reaction=\"richtig.htx\">cat</a>");
  type(field(0), "cat");
  QCoreApplication::processEvents();
  EXPECT_EQ(fileName(), "richtig.htx");
  page.ShowHTML("<edit coords=10,10,100,20 lsg=\"cat\" help=\"*\" reaction=\"falsch.htx\">");
  ASSERT_EQ(page.Fields().size(), 1u);
  for (int i = 0; i < 5; ++i) {
    field(0)->setText("");
    type(field(0), "xyz");
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(fileName(), "falsch.htx");
  EXPECT_TRUE(commands.empty());
}

TEST_F(ReactionTest, SolvedGapsLeaveTheirTextAndTheLastOneCheersWhenAllAreDone) {
  page.ShowHTML("<body bgcolor=#000080 gap=#FFFF00>I <a gap lsg=\"am\" help=\"*\">am</a> "
                "<a gap lsg=\"here\" help=\"*\">here</a>.");
  ASSERT_EQ(page.Fields().size(), 2u);
  const TRect r = page.Layout().fields[0];
  const QImage before = page.VisibleImage().copy(r.x, r.y, r.w, r.h);
  type(field(0), "am");
  QCoreApplication::processEvents();
  EXPECT_FALSE(page.ExerciseDone());
  const QImage after = page.VisibleImage().copy(r.x, r.y, r.w, r.h);
  ASSERT_NE(page.FieldPicture(0), nullptr);
  EXPECT_NE(before, after);
  int yellow = 0;
  for (int y = 0; y < after.height(); ++y)
    for (int x = 0; x < after.width(); ++x) yellow += after.pixelColor(x, y) == QColor(255, 255, 0);
  EXPECT_GT(yellow, 3);

  bool toast = false;
  QTimer::singleShot(100, &page, [&] { toast = page.ToastRunning(); });
  QElapsedTimer clock;
  clock.start();
  type(field(1), "here");
  QCoreApplication::processEvents();
  EXPECT_TRUE(page.ExerciseDone());
  EXPECT_TRUE(toast);
  EXPECT_GE(clock.elapsed(), 2000);
  EXPECT_TRUE(commands.empty());
}

TEST_F(ReactionTest, ChoiceAnswersWithAndWithoutAReaction) {
  const auto showGrid = [&](const std::string& reaction) {
    page.ShowHTML("<multiple coords=100,200,150,40 dim=2,2 txt=\"house|mouse|horse|hose\"" + reaction + ">");
    TXMultipleChoice* grid = page.MultipleChoice();
    EXPECT_NE(grid, nullptr);
    return grid;
  };
  const auto cellOf = [](TXMultipleChoice* grid, const std::string& text) {
    for (int i = 0; i < 4; ++i)
      if (grid->cellText(i) == text) return i;
    return -1;
  };
  TXMultipleChoice* grid = showGrid(" reaction=vokabel");
  grid->OnSelect(grid, cellOf(grid, "mouse"), Qt::LeftButton);
  EXPECT_TRUE(grid->isHidden());
  QCoreApplication::processEvents();
  EXPECT_EQ(commands, (Strings{"vokabel[mouse]-"}));
  page.ScrollTo(0);
  page.resize(800, 580);
  EXPECT_TRUE(page.MultipleChoice()->isHidden());  // stays hidden after the answer

  grid = showGrid(" reaction=vokabel");
  grid->OnSelect(grid, cellOf(grid, "house"), Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_EQ(commands.back(), "vokabel+");

  // Without a reaction: a toast, then the right cell is marked and the grid is back.
  grid = showGrid("");
  bool toast = false;
  QTimer::singleShot(100, &page, [&] { toast = page.ToastRunning() && page.MultipleChoice()->isHidden(); });
  grid->OnSelect(grid, cellOf(grid, "horse"), Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_TRUE(toast);
  EXPECT_EQ(grid->Highlight(), grid->Lsg());
  EXPECT_EQ(grid->cellText(grid->Lsg()), "house");
  EXPECT_FALSE(grid->isHidden());
  EXPECT_EQ(commands.size(), 2u);
  // A marked grid takes no second answer.
  grid->OnSelect(grid, cellOf(grid, "house"), Qt::LeftButton);
  EXPECT_FALSE(page.ReactionPending());
}

}  // namespace
