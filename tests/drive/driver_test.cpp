#include "app/startup.h"
#include "drive/tdriver.h"
#include "widgets/txmultiplechoice.h"
#include "app/tmain.h"
#include "app/tpagecommand.h"
#include "page/txpage.h"
#include "platform/screensaver.h"
#include "widgets/txcoloredit.h"
#include "tests/app/shellfixture.h"

#include <QApplication>
#include <QTimer>

namespace {

TEST(DriveScript, ReadsEveryAction) {
  const TDriveScript s = parseDriveScript(
      "# start\n"
      "\n"
      "click \"Zur\xC3\xBC" "ck\"\n"
      "  rightclick \"house\"  \r\n"
      "type \"\"\n"
      "type \"say \\\"hi\\\" \\\\ ok\"\n"
      "key F12\n"
      "command \"vokabel[house]-\"\n"
      "wait 250\n"
      "shot out/main.png\n"
      "shot \"a b.png\"\n"
      "expect-text \"Willkommen\"\n"
      "expect-page \"MAIN.htx\"\n"
      "expect-message \"verf\xC3\xBCgbar\"\n"
      "answer retry\n");
  ASSERT_TRUE(s.ok()) << s.error;
  struct Want { TDriveOp op; std::string text; int value; int line; };
  const std::vector<Want> want = {
      {TDriveOp::Click, "Zur\xFC" "ck", 0, 3},
      {TDriveOp::RightClick, "house", 0, 4},
      {TDriveOp::Type, "", 0, 5},
      {TDriveOp::Type, "say \"hi\" \\ ok", 0, 6},
      {TDriveOp::Key, "F12", Qt::Key_F12, 7},
      {TDriveOp::Command, "vokabel[house]-", 0, 8},
      {TDriveOp::Wait, "", 250, 9},
      {TDriveOp::Shot, "out/main.png", 0, 10},
      {TDriveOp::Shot, "a b.png", 0, 11},
      {TDriveOp::ExpectText, "Willkommen", 0, 12},
      {TDriveOp::ExpectPage, "MAIN.htx", 0, 13},
      {TDriveOp::ExpectMessage, "verf\xFCgbar", 0, 14},
      {TDriveOp::Answer, "retry", mb::IdRetry, 15},
  };
  ASSERT_EQ(s.actions.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(s.actions[i].source);
    EXPECT_EQ(s.actions[i].op, want[i].op);
    EXPECT_EQ(s.actions[i].text, want[i].text);
    EXPECT_EQ(s.actions[i].value, want[i].value);
    EXPECT_EQ(s.actions[i].line, want[i].line);
  }
  EXPECT_EQ(s.actions[1].source, "rightclick \"house\"");
}

TEST(DriveScript, ReadsTheWindowVerbs) {
  const TDriveScript s = parseDriveScript(
      "click-at 12,345\n"
      "drag \"the house\" to 300,40\n"
      "field \"Suchen nach:\"\n"
      "set \"Anzahl\" \"\"\n"
      "set \"Richtung\" \"Deutsch \\\"A\\\"\"\n"
      "menu \"Datei/Speichern\"\n"
      "close\n"
      "start \"vegas\"\n"
      "choose-file \"libs/neu.asc\"\n"
      "choose-file cancel\n"
      "expect-window \"Auswertung\"\n"
      "expect-state \"Aufnahme starten\" disabled\n"
      "expect-media \"play satz from 0\"\n"
      "expect-setting \"Sprachlabor\" \"Thema\" \"17\"\n"
      "expect-file \"e_w.zek\"\n"
      "expect-running yes\n"
      "expect-running no\n"
      "expect-done\n"
      "key PageDown\n");
  ASSERT_TRUE(s.ok()) << s.error << " line " << s.errorLine;
  ASSERT_EQ(s.actions.size(), 19u);
  const auto& a = s.actions;
  EXPECT_EQ(a[0].op, TDriveOp::ClickAt);
  EXPECT_EQ(QPoint(a[0].x, a[0].y), QPoint(12, 345));
  EXPECT_EQ(a[1].op, TDriveOp::Drag);
  EXPECT_EQ(a[1].text, "the house");
  EXPECT_EQ(QPoint(a[1].x, a[1].y), QPoint(300, 40));
  EXPECT_EQ(a[2].op, TDriveOp::Field);
  EXPECT_EQ(a[3].op, TDriveOp::Set);
  EXPECT_EQ(a[3].text2, "");
  EXPECT_EQ(a[4].text2, "Deutsch \"A\"");
  EXPECT_EQ(a[5].op, TDriveOp::Menu);
  EXPECT_EQ(a[5].text, "Datei/Speichern");
  EXPECT_EQ(a[6].op, TDriveOp::Close);
  EXPECT_EQ(a[7].op, TDriveOp::Start);
  EXPECT_EQ(a[8].op, TDriveOp::ChooseFile);
  EXPECT_EQ(a[8].text, "libs/neu.asc");
  EXPECT_EQ(a[8].value, 0);
  EXPECT_EQ(a[9].value, 1);
  EXPECT_EQ(a[10].op, TDriveOp::ExpectWindow);
  EXPECT_EQ(a[11].op, TDriveOp::ExpectState);
  EXPECT_EQ(a[11].value, int(TDriveState::Disabled));
  EXPECT_EQ(a[12].op, TDriveOp::ExpectMedia);
  EXPECT_EQ(a[13].op, TDriveOp::ExpectSetting);
  EXPECT_EQ(a[13].text2, "Thema");
  EXPECT_EQ(a[13].text3, "17");
  EXPECT_EQ(a[14].op, TDriveOp::ExpectFile);
  EXPECT_EQ(a[15].value, 1);
  EXPECT_EQ(a[16].value, 0);
  EXPECT_EQ(a[17].op, TDriveOp::ExpectDone);
  EXPECT_EQ(a[18].value, int(Qt::Key_PageDown));
}

TEST(DriveScript, RefusesBadWindowVerbs) {
  for (const char* bad : {"click-at 12", "click-at a,b", "click-at -1,5", "drag \"x\" 1,2", "drag \"x\" to",
                          "drag \"\" to 1,2", "set \"a\"", "set \"a\" b", "menu", "close now", "start vegas",
                          "choose-file", "choose-file \"\"", "expect-state \"a\" blue", "expect-state \"a\"",
                          "expect-setting \"k\" \"n\"", "expect-setting \"k\" \"\" \"v\"", "expect-running maybe",
                          "expect-done now", "expect-file", "field \"\""}) {
    const TDriveScript s = parseDriveScript(bad);
    EXPECT_FALSE(s.ok()) << bad;
    EXPECT_EQ(s.errorLine, 1) << bad;
  }
}

TEST(DriveScript, NamesTheFirstBadLine) {
  struct Case { const char* script; int line; };
  for (const Case c : {Case{"click Beenden", 1}, Case{"click \"Beenden", 1}, Case{"click \"a\" b", 1},
                       Case{"expect-page \"\"", 1}, Case{"wait -5", 1}, Case{"wait 5s", 1},
                       Case{"key Enter", 1}, Case{"answer maybe", 1}, Case{"#x\n\nklick \"a\"", 3},
                       Case{"type \"\xE2\x82\xAC\"\nshot", 2}, Case{"type \"\xE4\xB8\xAD\"", 1}, Case{"shot", 1}}) {
    const TDriveScript s = parseDriveScript(c.script);
    EXPECT_FALSE(s.ok()) << c.script;
    EXPECT_EQ(s.errorLine, c.line) << c.script;
    EXPECT_TRUE(s.actions.empty());
  }
}

class Driver : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    // The shipped pages of the assembled installation.
    Dirs().PageBase = zek::fromPath(zek::test::distDir()) + "/ZEK_E/";
    Dirs().ProgramDir = zek::fromPath(zek::test::distDir()) + "/";
  }
  void TearDown() override {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (qobject_cast<TMain*>(w)) w->deleteLater();
    }
    ShellFixture::TearDown();
  }
  // Runs the script in the application's own loop, as the program does: the exit code
  // of the loop (the driver's, or 0 when the program ended itself).
  int run(const std::string& script, TDriver** out = nullptr) {
    TDriveScript s = parseDriveScript(script);
    EXPECT_TRUE(s.ok()) << s.error;
    m_driver = std::make_unique<TDriver>(std::move(s), "test.drive");
    if (out) *out = m_driver.get();
    TMain* main = createTMain();
    main->show();
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(30000);
    m_driver->start();
    const int code = QCoreApplication::exec();
    m_driver->halt();
    return code;
  }
  std::unique_ptr<TDriver> m_driver;
};

TEST_F(Driver, WalksThroughTheShippedPagesAndEndsTheProgram) {
  TDriver* driver = nullptr;
  registerTrainerMakers(true);
  installMainWindowFactory();  // "home" brings a new main window
  const int code = run(
      "expect-page \"main.htx\"\n"
      "expect-text \"Willkommen!\"\n"
      "click \"Beenden\"\n"
      "expect-page \"BYE.HTX\"\n"
      "expect-text \"Auf Wiedersehen!\"\n"
      "click \"Zur\xC3\xBC" "ck zum Hauptmen\xC3\xBC\"\n"
      "expect-page \"main.htx\"\n"
      "click \"Optionen\"\n"
      "expect-window \"zek englisch - Einstellungen f\xC3\xBCr den Vokabeltrainer\"\n"
      "click \"home\"\n"
      "expect-page \"main.htx\"\n"
      "command \"s2,gws\"\n"
      "wait 20\n"
      "click \"Beenden\"\n"
      "click \"Programm beenden\"\n",
      &driver);
  // "end" on the farewell page ends the program without a question, before the script's end.
  EXPECT_EQ(code, 0);
  EXPECT_FALSE(driver->finished());
  EXPECT_EQ(driver->nextLine(), 0);
  EXPECT_EQ(dispatchState().quizPreset, 1);
  EXPECT_EQ(appObjects().verben, nullptr);
  dispatchState() = TDispatchState{};
  registerTrainerMakers(false);
}

TEST_F(Driver, StopsAtTheFirstFailedExpectation) {
  TDriver* driver = nullptr;
  const int code = run(
      "click \"Beenden\"\n"
      "expect-page \"main.htx\"\n"
      "click \"Beenden\"\n",
      &driver);
  EXPECT_EQ(code, 1);
  EXPECT_EQ(driver->nextLine(), 3);  // line 2 failed, line 3 never ran
}

TEST_F(Driver, FindsLinksByTheirWordsAndPrefersAnExactMatch) {
  page("links.htx",
       "<html><a href=\"a.htx\">Programm beenden</a> <a href=\"b.htx\">beenden</a> <a href=\"c.htx\">Neu</a></html>");
  Dirs().PageBase = zek::fromPath(m_tmp.path()) + "/ZEK_E/";
  TXPage page;
  page.resize(800, 572);
  page.setXFile(Dirs().PageBase + "hzek/links.htx");
  EXPECT_EQ(clickableTexts(page), (std::vector<std::string>{"Programm beenden", "beenden", "Neu"}));
  TDriveSpot exact, part, none;
  ASSERT_TRUE(findClickSpot(page, "beenden", exact));
  ASSERT_TRUE(findClickSpot(page, "ramm", part));
  EXPECT_FALSE(findClickSpot(page, "Alt", none));
  const int second = page.Layout().areaAt(exact.pos.x(), exact.pos.y() + page.ScrollY());
  const int first = page.Layout().areaAt(part.pos.x(), part.pos.y() + page.ScrollY());
  ASSERT_GE(second, 0);
  ASSERT_GE(first, 0);
  EXPECT_EQ(page.Layout().areas[std::size_t(second)].link, 1);
  EXPECT_EQ(page.Layout().areas[std::size_t(first)].link, 0);
  EXPECT_NE(pageText(page).find("Programm beenden beenden Neu"), std::string::npos);
}

}  // namespace

namespace {

class DriverOwnPages : public Driver {
 protected:
  void SetUp() override {
    Driver::SetUp();
    Dirs().PageBase = zek::fromPath(m_tmp.path()) + "/ZEK_E/";
    page("main.htx", "<html>Start</html>");
  }
};

TEST_F(DriverOwnPages, TypesIntoTheFieldAndFindsItsText) {
  page("gap.htx", "<html>Das Haus: <a gap lsg=\"house\" help=\"\">wwwwwwwwwwww</a>.</html>");
  appState().StartPage = "gap.htx";
  const int code = run(
      "expect-page \"gap.htx\"\n"
      "type \"hse\"\n"
      "key Left\n"
      "key Left\n"
      "type \"ou\"\n"
      "key Backspace\n"
      "type \"u\"\n"
      "expect-text \"house\"\n"
      "rightclick \"Haus\"\n"
      "expect-text \"Das Haus:\"\n");
  EXPECT_EQ(code, 0);
  ASSERT_EQ(drivePage()->Fields().size(), 1u);
  EXPECT_EQ(drivePage()->Fields()[0]->Text(), "house");
}

TEST_F(DriverOwnPages, AnswersChoiceGridsWithAndWithoutAReaction) {
  const std::string grid = "<multiple coords=100,200,150,40 dim=2,2 txt=\"house|mouse|horse|hose\"";
  page("mit.htx", "<html>Was hei\xDF t Haus?" + grid + " reaction=vokabel><a href=\"mit2.htx\">weiter</a></html>");
  page("mit2.htx", "<html>Noch einmal:" + grid + " reaction=vokabel><a href=\"ohne.htx\">weiter</a></html>");
  page("ohne.htx", "<html>Ohne Reaktion:" + grid + "></html>");
  appState().StartPage = "mit.htx";
  const int code = run(
      "click \"mouse\"\n"
      "expect-command \"vokabel[mouse]-\"\n"
      "click \"weiter\"\n"
      "click \"house\"\n"
      "expect-command \"vokabel+\"\n"
      "click \"weiter\"\n"
      "expect-page \"ohne.htx\"\n"
      "click \"hose\"\n"
      "expect-command \"vokabel+\"\n");
  // The last grid has no reaction: no command, the toast and then the right cell marked.
  EXPECT_EQ(code, 1);
  ASSERT_NE(drivePage(), nullptr);
  TXMultipleChoice* choice = drivePage()->MultipleChoice();
  ASSERT_NE(choice, nullptr);
  EXPECT_EQ(choice->Highlight(), choice->Lsg());
  EXPECT_EQ(choice->cellText(choice->Lsg()), "house");
  EXPECT_FALSE(choice->isHidden());
}

TEST(ScreenSaverGuard, DoesNothingWithoutASessionBus) {
  const std::string address = std::getenv("DBUS_SESSION_BUS_ADDRESS") ? std::getenv("DBUS_SESSION_BUS_ADDRESS") : "";
  const std::string runtime = std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
  zek::test::TempDir empty("zek-runtime");
  unsetenv("DBUS_SESSION_BUS_ADDRESS");
  setenv("XDG_RUNTIME_DIR", empty.path().c_str(), 1);
  TScreenSaverGuard guard;
  EXPECT_FALSE(guard.inhibit());
  EXPECT_FALSE(guard.inhibited());
  guard.release();
  if (!address.empty()) setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
  if (runtime.empty()) unsetenv("XDG_RUNTIME_DIR"); else setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
}

}  // namespace
