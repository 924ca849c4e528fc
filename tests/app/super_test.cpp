// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tmain.h"
#include "app/tmainactions.h"
#include "app/tpagecommand.h"
#include "page/txpage.h"
#include "platform/messages.h"
#include "platform/tclock.h"
#include "super/tlongrun.h"
#include "super/tsuperfade.h"
#include "tests/app/shellfixture.h"
#include "tests/vocab/vocabfixtures.h"
#include "vocab/vokabeldatei.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace {

const char* const kNoLibrary = "Noch keine Bibliothek geladen! Was wollen Sie denn lernen??" "?!";

class SuperShell : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    dispatchState() = TDispatchState{};
    vocabularyShell({"apple", "pear", "plum"});
    installMainWindowFactory();
  }
  void TearDown() override {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (qobject_cast<TMain*>(w) || qobject_cast<TTrainerWindow*>(w)) w->deleteLater();
    dispatchState() = TDispatchState{};
    ShellFixture::TearDown();
  }
  static void runEventsFor(int ms, const std::function<bool()>& until = nullptr) {
    TEventPump pump;
    pump.waitFor(ms, until);
  }
  template <class W>
  static W* visible() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* t = qobject_cast<W*>(w); t && t->isVisible()) return t;
    return nullptr;
  }
};

TEST_F(SuperShell, NothingStartsWithoutALibrary) {
  zek::ScriptedDialogs dialogs;
  TMain main;
  main.show();
  for (const char* command : {"vegas", "klassisch,super"}) {
    dialogs.clear();
    main.runPageCommand(command);
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{kNoLibrary}) << command;
    EXPECT_FALSE(appState().PresentationRunning);
    EXPECT_EQ(visible<TSuperFade>(), nullptr);
    EXPECT_EQ(main.pageOnShow(), "main.htx");
  }
}

TEST_F(SuperShell, TheClassicPresentationTakesThePlaceAndGivesItBack) {
  zek::ScriptedDialogs dialogs;
  QPointer<TMain> main = createTMain();
  main->show();
  main->runPageCommand("gws,klassisch,go");
  flushDeletes();
  EXPECT_TRUE(main.isNull());
  TSuperFade* fade = visible<TSuperFade>();
  ASSERT_NE(fade, nullptr);
  EXPECT_TRUE(appState().PresentationRunning);
  EXPECT_TRUE(fade->isFullScreen());
  EXPECT_EQ(fade->cursor().shape(), Qt::BlankCursor);
  runEventsFor(250);
  EXPECT_GE(fade->engine().step(), 0);
  // A close from outside ends the run; the next quiet tick hands back.
  fade->close();
  EXPECT_TRUE(fade->isVisible());
  runEventsFor(2500, [] { return visible<TSuperFade>() == nullptr; });
  flushDeletes();
  EXPECT_EQ(visible<TSuperFade>(), nullptr);
  TMain* back = visible<TMain>();
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->pageOnShow(), "vokabeln.htx");
  EXPECT_FALSE(appState().PresentationRunning);
  EXPECT_TRUE(dialogs.texts().empty());
}

// A run that only waits for its stop.
class TWaitingRun final : public TLongRun {
 public:
  void run() override {
    TEventPump pump;
    if (onStart) onStart();
    pump.waitFor(10000, [this] { return stopped; });
    ranToEnd = true;
  }
  void stop() override { stopped = true; }
  std::function<void()> onStart;
  bool stopped = false, ranToEnd = false;
};

TEST_F(SuperShell, ClosingTheMainWindowDuringARunStopsItFirstAndAsksAfterwards) {
  zek::ScriptedDialogs dialogs;
  dialogs.answer(mb::IdNo);
  TMain main;
  main.show();
  TWaitingRun run;
  run.onStart = [&] {
    EXPECT_TRUE(appState().PresentationRunning);
    QTimer::singleShot(0, &main, [&] { main.close(); });
  };
  main.actions().runLongRun(run);
  EXPECT_TRUE(run.stopped);
  EXPECT_TRUE(run.ranToEnd);
  EXPECT_TRUE(dialogs.texts().empty());  // nothing asked while the run used the trainers
  EXPECT_TRUE(main.isVisible());
  runEventsFor(50);
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Programm wirklich verlassen?"});
  EXPECT_TRUE(main.isVisible());  // "No": the program goes on
}

TEST_F(SuperShell, StopReachesTheRunningGame) {
  TMain main;
  main.show();
  TWaitingRun run;
  run.onStart = [&] { main.runPageCommand("stop"); };
  main.actions().runLongRun(run);
  EXPECT_TRUE(run.stopped);
  EXPECT_FALSE(appState().PresentationRunning);
}

}  // namespace
