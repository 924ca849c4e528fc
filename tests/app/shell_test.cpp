// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"
#include "app/tbackdrop.h"
#include "app/tmain.h"
#include "app/tmainactions.h"
#include "app/tpagecommand.h"
#include "app/ttrainerwindows.h"
#include "dict/database.h"
#include "page/txpage.h"
#include "platform/messages.h"
#include "platform/screensaver.h"
#include "tests/app/shellfixture.h"
#include "vocab/tvoceditor.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>

#include <stdexcept>

namespace {

const char* const kMain = "<html><body>Willkommen <a href=\"\xA7[end]\">Ende</a></html>";
const char* const kMissing =
    "Eine Datei konnte nicht gefunden werden!\nBitte \xFC" "berpr\xFC" "fen Sie, ob die CD-ROM eingelegt ist!";

class MainWindow : public ShellFixture {};

TEST_F(MainWindow, AsksForTheDiscUntilTheStartPageIsThere) {
  std::vector<TMessageRequest> asked;
  zek::setMessageAnswerer([&](const TMessageRequest& r) {
    asked.push_back(r);
    page("main.htx", kMain);  // the learner inserts the disc, then chooses Retry
    return mb::IdRetry;
  });
  TMain main;
  main.show();
  zek::setMessageAnswerer(nullptr);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].text, kMissing);
  EXPECT_EQ(asked[0].title, "zek englisch");
  EXPECT_EQ(asked[0].flags, mb::RetryCancel | mb::IconStop);
  EXPECT_EQ(main.pageOnShow(), "main.htx");
  EXPECT_TRUE(main.XPage()->OnCommand != nullptr);
}

TEST_F(MainWindow, CancelClosesTheWindowAndEndsTheProgram) {
  zek::ScriptedDialogs dialogs;
  dialogs.answer(mb::IdRetry);
  dialogs.answer(mb::IdCancel);
  TMain main;
  main.show();
  EXPECT_EQ(dialogs.messages().size(), 2u);  // Retry asks again while the page is missing
  EXPECT_TRUE(main.XPage()->OnCommand == nullptr);
  EXPECT_EQ(main.pageOnShow(), "");
  flushDeletes();
  EXPECT_FALSE(main.isVisible());
  EXPECT_EQ(appObjects().verben, nullptr);  // the orderly exit ran, without its question
  EXPECT_EQ(dialogs.messages().size(), 2u);
}

TEST_F(MainWindow, ShowsTheStartPageOnceAndEmptiesIt) {
  page("main.htx", kMain);
  page("verben.htx", "<html>Verben</html>");
  appState().StartPage = "verben.htx";
  zek::ScriptedDialogs dialogs;
  TMain main;
  main.show();
  EXPECT_EQ(main.pageOnShow(), "verben.htx");
  EXPECT_EQ(appState().StartPage, "");
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(MainWindow, RunsThePendingCommandAfterTheShow) {
  page("main.htx", kMain);
  appState().PendingCommand = "thema07,gws";
  appState().BackdropColor = 0xC0C0C0;
  dispatchState() = TDispatchState{};
  TMain main;
  main.show();
  // Nothing runs inside the show itself; the page waits in the backdrop colour.
  EXPECT_EQ(dispatchState().labTopic, 0);
  EXPECT_EQ(main.XPage()->ColorBGR(), 0xC0C0C0u);
  EXPECT_EQ(main.pageOnShow(), "");
  QCoreApplication::sendPostedEvents(&main);
  EXPECT_EQ(dispatchState().labTopic, 7);
  EXPECT_EQ(dispatchState().collection, "Grundwortschatz/");
  EXPECT_EQ(appState().PendingCommand, "");
  EXPECT_EQ(main.XPage()->XPath(), Dirs().PageBase + "hzek/");
  dispatchState() = TDispatchState{};
}

TEST_F(MainWindow, PageLinksReachTheDispatcher) {
  page("main.htx", kMain);
  zek::ScriptedDialogs dialogs;
  TMain main;
  main.show();
  main.XPage()->Follow("\xA7[#note,end]", QRect());
  ASSERT_EQ(dialogs.texts(), (std::vector<std::string>{"Programm wirklich verlassen?"}));
  // An unreadable number ends the command text without a box; the program goes on.
  const std::size_t logged = pageCommandLog().size();
  for (const char* bad : {"\xA7[smx,end]", "\xA7[sm,end]", "\xA7[themaab,end]"}) main.XPage()->Follow(bad, QRect());
  EXPECT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(pageCommandLog().size(), logged + 3);
  EXPECT_TRUE(main.isVisible());
}

TEST_F(MainWindow, EndAsksAgainOnceTheGoodbyePageIsCleared) {
  page("main.htx", kMain);
  page("bye.htx", "Auf Wiedersehen");
  zek::ScriptedDialogs dialogs;
  TMain main;
  main.show();
  main.XPage()->setXFile(Dirs().PageBase + "hzek/bye.htx");  // as a reaction loads it: no history entry
  EXPECT_EQ(main.pageOnShow(), "bye.htx");
  main.XPage()->Follow("-", QRect());  // an empty history clears the page
  EXPECT_EQ(main.pageOnShow(), "");
  main.XPage()->Follow("\xA7[end]", QRect());
  EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Programm wirklich verlassen?"}));
  EXPECT_TRUE(main.isVisible());
}

TEST_F(MainWindow, RefusesTheScreenSaverOnlyDuringAPresentation) {
  TMain main;
  struct Case { int code; bool running; bool passed; };
  for (const Case c : {Case{0xF140, false, true}, Case{0xF140, true, false}, Case{0xF060, true, true}}) {
    appState().PresentationRunning = c.running;
    EXPECT_EQ(main.systemCommand(c.code), c.passed) << std::hex << c.code << " running " << c.running;
  }
  appState().PresentationRunning = false;
  try {
    TPresentationScope scope;
    EXPECT_TRUE(appState().PresentationRunning);
    EXPECT_FALSE(main.systemCommand(TMain::kScreenSaveCommand));
    throw std::runtime_error("presentation failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_FALSE(appState().PresentationRunning);  // also after a failing presentation
}

TEST_F(MainWindow, DesktopItemTogglesTheBackdrop) {
  TBackdrop backdrop;
  TMain main;
  main.setBackdrop(&backdrop);
  main.mDesktopClick();
  EXPECT_TRUE(backdrop.isVisible());
  main.mDesktopClick();
  EXPECT_FALSE(backdrop.isVisible());
}

TEST_F(MainWindow, PresentationsTakeClicksAndTheirFailuresAreIgnored) {
  page("main.htx", kMain);
  TMain main;
  main.show();
  int bingo = 0, techno = 0;
  main.OnBingoClick = [&] {
    ++bingo;
    throw std::runtime_error("lost");
  };
  main.OnTechnoClick = [&] { ++techno; };
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(400, 500), QPointF(400, 500), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(main.XPage(), &release);
  EXPECT_EQ(bingo, 1);
  main.FormClick();
  EXPECT_EQ(techno, 1);
}

// ---- hand-over

class DummyTrainer : public TTrainerWindow {
 public:
  DummyTrainer() { resize(640, 480); }
  static inline int made = 0;
};

class HandOver : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    page("main.htx", kMain);
    page("vokabeln.htx", "<html>Vokabeln</html>");
    installMainWindowFactory();
    DummyTrainer::made = 0;
    registerTrainerWindow(TTrainerKind::VocEin, [] {
      ++DummyTrainer::made;
      return new DummyTrainer;
    });
  }
  void TearDown() override {
    registerTrainerWindow(TTrainerKind::VocEin, nullptr);
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (qobject_cast<TMain*>(w) || qobject_cast<TTrainerWindow*>(w)) w->deleteLater();
    }
    ShellFixture::TearDown();
  }
  // The visible trainer window, or nullptr.
  static DummyTrainer* trainer() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* t = dynamic_cast<DummyTrainer*>(w); t && t->isVisible()) return t;
    }
    return nullptr;
  }
};

TEST_F(HandOver, TrainerTakesThePlaceAndANewMainComesBackWithTheStartPage) {
  zek::ScriptedDialogs dialogs;
  QPointer<TMain> main = createTMain();
  main->move(37, 21);
  main->show();
  main->runPageCommand("vocein");
  DummyTrainer* t = trainer();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->pos(), QPoint(37, 21));
  EXPECT_FALSE(main->isVisible());
  EXPECT_EQ(currentMain(), nullptr);
  flushDeletes();
  EXPECT_TRUE(main.isNull());  // released

  QPointer<DummyTrainer> closing = t;
  t->move(50, 60);
  t->closeShowing("vokabeln.htx");
  TMain* next = currentMain();
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->pos(), QPoint(50, 60));
  EXPECT_EQ(next->pageOnShow(), "vokabeln.htx");
  EXPECT_EQ(appState().StartPage, "");
  flushDeletes();
  EXPECT_TRUE(closing.isNull());
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(HandOver, NewMainRunsThePendingCommand) {
  zek::ScriptedDialogs dialogs;
  dispatchState() = TDispatchState{};
  TMain* main = createTMain();
  main->show();
  main->runPageCommand("vocein");
  DummyTrainer* t = trainer();
  ASSERT_NE(t, nullptr);
  t->closeRunning("thema03,vocein");
  TMain* next = currentMain();
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(dispatchState().labTopic, 0);
  QCoreApplication::sendPostedEvents(next);
  EXPECT_EQ(dispatchState().labTopic, 3);
  // The pending "vocein" handed over again: one window at a time.
  EXPECT_FALSE(next->isVisible());
  EXPECT_NE(trainer(), nullptr);
  EXPECT_EQ(DummyTrainer::made, 2);
  dispatchState() = TDispatchState{};
}

// The program's own makers: "editor" brings up the vocabulary editor in the main
// window's place, and closing an unmodified library brings the main window back.
TEST_F(HandOver, EditorTakesThePlaceAndClosingItBringsTheMainBack) {
  zek::ScriptedDialogs dialogs;
  registerTrainerMakers(true);
  if (!appObjects().database) appObjects().database = std::make_unique<TXDatabase>();
  TMain* main = createTMain();
  main->move(37, 21);
  main->show();
  main->runPageCommand("editor");
  TVocEditor* editor = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* e = qobject_cast<TVocEditor*>(w); e && e->isVisible()) editor = e;
  }
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->windowTitle(), "zek englisch - Vokabeleditor");
  EXPECT_EQ(editor->pos(), QPoint(37, 21));
  EXPECT_FALSE(main->isVisible());
  EXPECT_TRUE(dialogs.messages().empty()) << dialogs.texts().front();

  EXPECT_TRUE(editor->close());
  TMain* next = currentMain();
  ASSERT_NE(next, nullptr);
  EXPECT_TRUE(next->isVisible());
  EXPECT_TRUE(dialogs.messages().empty());
  registerTrainerMakers(false);
  appObjects().freeDictionaryWindow();
}

}  // namespace
