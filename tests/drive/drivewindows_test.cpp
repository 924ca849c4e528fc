#include "drive/tdriver.h"
#include "drive/tdrivewidgets.h"
#include "page/txpage.h"
#include "platform/appstate.h"
#include "platform/screensaver.h"
#include "platform/settingsstore.h"
#include "drive/tdrivecells.h"
#include "platform/thandover.h"
#include "media/mediacommand.h"
#include "tests/common/testutil.h"
#include "widgets/txbutton.h"
#include "widgets/txcheckbox.h"
#include "widgets/txcolorbutton.h"
#include "widgets/txlistbox.h"
#include "widgets/txradiogroup.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>

namespace {

// A self-drawn widget with two named cells.
class TCellStrip : public QWidget, public TDriveCells {
 public:
  using QWidget::QWidget;
  std::vector<TDriveCell> driveCells() const override { return {{"links", QRect(0, 0, 50, 20)}, {"rechts", QRect(50, 0, 50, 20)}}; }
  std::vector<QPoint> presses;

 protected:
  void mousePressEvent(QMouseEvent* e) override { presses.push_back(e->position().toPoint()); }
};

// Records a drag: the press, every move with the button held, the release.
class TDragPad : public QWidget, public TDriveCells {
 public:
  using QWidget::QWidget;
  std::vector<TDriveCell> driveCells() const override { return {{"Klotz", QRect(0, 0, 40, 20)}}; }
  QPoint pressed{-1, -1}, released{-1, -1};
  std::vector<QPoint> moves;

 protected:
  void mousePressEvent(QMouseEvent* e) override { pressed = e->position().toPoint(); }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (e->buttons() & Qt::LeftButton) moves.push_back(e->position().toPoint());
  }
  void mouseReleaseEvent(QMouseEvent* e) override { released = e->position().toPoint(); }
};

// A trainer window with one widget of each kind the driver reaches, and a modal dialog.
class TTestTrainer : public TTrainerWindow {
 public:
  TTestTrainer() {
    setWindowTitle(QStringLiteral("Testtrainer"));
    resize(500, 400);
    auto* bar = new QMenuBar(this);
    QMenu* datei = bar->addMenu(QStringLiteral("&Datei"));
    speichern = datei->addAction(QStringLiteral("&Speichern"));
    QObject::connect(speichern, &QAction::triggered, [this] { ++saved; });
    QAction* gesperrt = datei->addAction(QStringLiteral("Drucken"));
    gesperrt->setEnabled(false);
    QMenu* ansicht = bar->addMenu(QStringLiteral("&Ansicht"));
    diktieren = ansicht->addAction(QStringLiteral("Diktieren"));
    diktieren->setCheckable(true);

    weiter = button("&Weiter", 10, 30);
    weiter->OnClick = [this](tXColorButton*) { ++weiterClicks; };
    aufnahme = button("", 100, 30);
    aufnahme->setToolTip(QStringLiteral("Aufnahme starten"));
    aufnahme->setOnOff(true);
    aus = button("Aus", 190, 30);
    aus->setEnabled(false);
    home = new tXButton(this);
    home->setToolTip(QStringLiteral("home"));
    home->setGeometry(280, 30, 40, 24);
    home->OnClick = [this](tXButton*) { ++homeClicks; };
    versteckt = button("versteckt", 330, 30);
    versteckt->hide();

    check = new tXCheckBox(this);
    check->setCaption("Beispiel zeigen");
    check->setGeometry(10, 60, 150, 16);
    radio = new tXRadioGroup(this);
    radio->setItems({"Deutsch", "Englisch"});
    radio->setBounds(170, 60, 240, 20);
    list = new TXListBox(this);
    std::vector<std::string> lines;
    for (int i = 0; i < 30; ++i) lines.push_back((i % 2 ? "$house" : "\xA7Haus") + std::to_string(i));
    list->setItems(lines);
    list->setBounds(10, 90, 150, 100);
    list->OnChange = [this](TXListBox* l) { picked = l->Text(); };
    cells = new TCellStrip(this);
    cells->setGeometry(170, 90, 100, 20);

    auto* label = new QLabel(QStringLiteral("Suchen nach:"), this);
    label->setGeometry(10, 200, 90, 20);
    edit = new QLineEdit(this);
    edit->setGeometry(110, 200, 150, 20);
    QObject::connect(edit, &QLineEdit::textEdited, [this] { ++edits; });
    combo = new QComboBox(this);
    combo->setObjectName(QStringLiteral("Richtung"));
    combo->addItems({QStringLiteral("Englisch-Deutsch"), QStringLiteral("Deutsch-Englisch")});
    combo->setGeometry(10, 230, 150, 20);
    QObject::connect(combo, &QComboBox::activated, [this](int i) { activated = i; });
    spin = new QSpinBox(this);
    spin->setToolTip(QStringLiteral("Anzahl"));
    spin->setGeometry(170, 230, 60, 20);
    slider = new QSlider(Qt::Horizontal, this);
    slider->setAccessibleName(QStringLiteral("Tempo"));
    slider->setRange(0, 100);
    slider->setGeometry(240, 230, 100, 20);
    QObject::connect(slider, &QSlider::sliderMoved, [this](int v) { moved = v; });
    tabs = new QTabBar(this);
    tabs->addTab(QStringLiteral("&Suchen"));
    tabs->addTab(QStringLiteral("Bearbeiten"));
    tabs->setGeometry(10, 260, 250, 24);
    auto* open = new QPushButton(QStringLiteral("Auswertung..."), this);
    open->setGeometry(10, 300, 120, 24);
    QObject::connect(open, &QPushButton::clicked, [this] { openDialog(); });
  }

  void openDialog() {
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Auswertung"));
    auto* text = new QLabel(QStringLiteral("Noch eine Runde???"), &dialog);
    text->setGeometry(10, 10, 200, 20);
    auto* name = new QLineEdit(&dialog);
    name->setObjectName(QStringLiteral("Name"));
    name->setGeometry(10, 40, 200, 20);
    auto* yes = new QPushButton(QStringLiteral("&Ja"), &dialog);
    yes->setGeometry(10, 70, 60, 24);
    QObject::connect(yes, &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.resize(240, 110);
    dialogResult = dialog.exec();
    dialogName = name->text().toStdString();
  }

  tXColorButton* button(const std::string& caption, int x, int y) {
    auto* b = new tXColorButton(this);
    b->setCaption(caption);
    b->setGeometry(x, y, 80, 24);
    return b;
  }

  QAction *speichern, *diktieren;
  tXColorButton *weiter, *aufnahme, *aus, *versteckt;
  tXButton* home;
  tXCheckBox* check;
  tXRadioGroup* radio;
  TXListBox* list;
  TCellStrip* cells;
  QLineEdit* edit;
  QComboBox* combo;
  QSpinBox* spin;
  QSlider* slider;
  QTabBar* tabs;
  int saved = 0, weiterClicks = 0, homeClicks = 0, edits = 0, activated = -1, moved = -1, dialogResult = -1;
  std::string picked, dialogName;
};

// Runs a script in the application's loop: its exit code (99 when it hangs).
int runScript(const std::string& text, int* failedLine = nullptr) {
  TDriveScript script = parseDriveScript(text);
  EXPECT_TRUE(script.ok()) << script.error << " line " << script.errorLine;
  TDriver driver(std::move(script), "test.drive");
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  watchdog.start(30000);
  driver.start();
  const int code = QCoreApplication::exec();
  driver.halt();
  if (failedLine) *failedLine = driver.nextLine();
  return code;
}

class DriveWindows : public ::testing::Test {
 protected:
  void SetUp() override { setMainWindowFactory(nullptr); }
  void TearDown() override {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    appState() = TAppState{};
  }
};

TEST_F(DriveWindows, ReachesEveryKindOfWidgetAndAModalDialog) {
  auto* w = new TTestTrainer;
  w->show();
  const int code = runScript(
      "expect-window \"testtrainer\"\n"
      "click \"Weiter\"\n"
      "click \"home\"\n"
      "expect-state \"Aufnahme starten\" off\n"
      "click \"Aufnahme starten\"\n"
      "expect-state \"Aufnahme starten\" on\n"
      "expect-state \"Aus\" disabled\n"
      "expect-state \"versteckt\" hidden\n"
      "expect-state \"Weiter\" visible\n"
      "click \"beispiel zeigen\"\n"
      "expect-state \"Beispiel zeigen\" checked\n"
      "click \"Englisch\"\n"
      "click \"house25\"\n"
      "click \"rechts\"\n"
      "field \"Suchen nach:\"\n"
      "type \"hous\"\n"
      "set \"Suchen nach:\" \"mouse\"\n"
      "set \"Richtung\" \"deutsch-englisch\"\n"
      "set \"Anzahl\" \"7\"\n"
      "set \"Tempo\" \"30\"\n"
      "click \"Bearbeiten\"\n"
      "menu \"Datei/Speichern\"\n"
      "menu \"Diktieren\"\n"
      "expect-state \"Diktieren\" checked\n"
      "expect-text \"Suchen nach: mouse\"\n"
      "expect-text \"HAUS28\"\n"
      "click \"Auswertung...\"\n"
      "expect-window \"Auswertung\"\n"
      "expect-text \"Noch eine Runde???\"\n"
      "set \"Name\" \"Anna\"\n"
      "click \"Ja\"\n"
      "expect-window \"Testtrainer\"\n");
  EXPECT_EQ(code, 0);
  EXPECT_EQ(w->weiterClicks, 1);
  EXPECT_EQ(w->homeClicks, 1);
  EXPECT_TRUE(w->aufnahme->IsOn());
  EXPECT_TRUE(w->check->Checked());
  EXPECT_EQ(w->radio->Selected(), 1);
  EXPECT_EQ(w->picked, "house25");  // scrolled into view, marker left out
  ASSERT_EQ(w->cells->presses.size(), 1u);
  EXPECT_EQ(w->cells->presses[0], QRect(50, 0, 50, 20).center());
  EXPECT_EQ(w->edit->text(), QStringLiteral("mouse"));
  EXPECT_EQ(w->edits, 9);  // every key a learner typed: 4 + 5
  EXPECT_EQ(w->activated, 1);
  EXPECT_EQ(w->spin->value(), 7);
  EXPECT_EQ(w->moved, 30);
  EXPECT_EQ(w->tabs->currentIndex(), 1);
  EXPECT_EQ(w->saved, 1);
  EXPECT_TRUE(w->diktieren->isChecked());
  EXPECT_EQ(w->dialogResult, int(QDialog::Accepted));
  EXPECT_EQ(w->dialogName, "Anna");
  // Closing a trainer window releases it.
  const QPointer<TTestTrainer> gone(w);
  EXPECT_EQ(runScript("close\n"), 0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(gone.isNull());
}

TEST_F(DriveWindows, ListLinesOfTallerRows) {
  auto* w = new TTestTrainer;
  w->list->setItemHeight(25);
  w->list->setBounds(10, 90, 150, 250);
  w->show();
  EXPECT_EQ(runScript("click \"Haus4\"\nclick \"house7\"\n"), 0);
  EXPECT_EQ(w->picked, "house7");
  EXPECT_EQ(w->list->Selected(), 7);
  delete w;
}

TEST_F(DriveWindows, NamesWhatWentWrong) {
  auto* w = new TTestTrainer;
  w->show();
  struct Case {
    const char* script;
    int line;
  };
  // Each script fails at the given line; the window stays for the next one.
  for (const Case c : {Case{"click \"Aus\"", 1}, Case{"click \"Nirgends\"", 1}, Case{"menu \"Drucken\"", 1},
                       Case{"menu \"Datei/Laden\"", 1}, Case{"set \"Richtung\" \"Latein\"", 1},
                       Case{"set \"Anzahl\" \"viele\"", 1}, Case{"field \"Telefon\"", 1},
                       Case{"expect-state \"Weiter\" hidden", 1}, Case{"expect-state \"Suchen nach:\" on", 1},
                       Case{"expect-window \"Auswertung\"", 1}, Case{"expect-text \"Bingo\"", 1},
                       Case{"click-at 600,10", 1}, Case{"expect-done", 1}}) {
    int line = 0;
    EXPECT_EQ(runScript(c.script, &line), 1) << c.script;
  }
  // Behind a modal dialog nothing can be clicked; the dialog is closed by its title-bar button.
  int line = 0;
  EXPECT_EQ(runScript("click \"Auswertung...\"\nclick \"Weiter\"\n", &line), 1);
  EXPECT_EQ(w->weiterClicks, 0);
  EXPECT_EQ(w->dialogResult, int(QDialog::Rejected));  // the loop ended with the script
  EXPECT_EQ(runScript("click \"Auswertung...\"\nclose\nexpect-window \"Testtrainer\"\nclick \"Weiter\"\n"), 0);
  EXPECT_EQ(w->dialogResult, int(QDialog::Rejected));
  EXPECT_EQ(w->weiterClicks, 1);
  delete w;
}

// A window whose page runs a game for two seconds inside its command, pumping events.
class TGameWindow : public TTrainerWindow {
 public:
  TGameWindow() {
    resize(400, 300);
    page = new TXPage(this);
    page->setGeometry(0, 0, 400, 250);
    page->OnCommand = [this](TXPage*, const std::string& command) {
      if (command != "spiel") return;
      TPresentationScope running;
      QEventLoop loop;
      QTimer::singleShot(2000, &loop, &QEventLoop::quit);
      m_loop = &loop;
      loop.exec();
      m_loop = nullptr;
    };
    pad = new TDragPad(page);
    pad->setGeometry(10, 10, 200, 100);
    stop = new tXColorButton(this);
    stop->setCaption("Stopp");
    stop->setGeometry(10, 260, 80, 24);
    stop->OnClick = [this](tXColorButton*) {
      if (m_loop) {
        stoppedEarly = true;
        m_loop->quit();
      }
    };
  }
  TXPage* page;
  TDragPad* pad;
  tXColorButton* stop;
  bool stoppedEarly = false;

 private:
  QEventLoop* m_loop = nullptr;
};

TEST_F(DriveWindows, StartGoesOnWhileACommandRuns) {
  auto* w = new TGameWindow;
  w->show();
  w->page->ShowHTML("<html>Ein Spiel</html>");
  EXPECT_EQ(runScript("expect-running no\n"
                      "start \"spiel\"\n"
                      "wait 100\n"
                      "expect-running yes\n"
                      "click \"Stopp\"\n"
                      "wait 20\n"
                      "expect-running no\n"),
            0);
  EXPECT_TRUE(w->stoppedEarly);
  delete w;
}

TEST_F(DriveWindows, DragsInFourPixelSteps) {
  auto* w = new TGameWindow;
  w->show();
  w->page->ShowHTML("<html>Bl\xF6" "cke</html>");
  EXPECT_EQ(runScript("drag \"klotz\" to 110,51\n"), 0);
  const QPoint from = QRect(0, 0, 40, 20).center();
  EXPECT_EQ(w->pad->pressed, from);
  // To (100,41) in the pad: 81 pixels across, so 21 moves of at most 4 pixels.
  ASSERT_EQ(w->pad->moves.size(), 21u);
  EXPECT_EQ(w->pad->moves.front(), from + QPoint(81 / 21, 32 / 21));
  EXPECT_EQ(w->pad->moves.back(), QPoint(100, 41));
  EXPECT_EQ(w->pad->released, QPoint(100, 41));
  EXPECT_EQ(runScript("drag \"Stein\" to 1,1\n"), 1);
  delete w;
}

TEST_F(DriveWindows, ChecksMediaSettingsAndFiles) {
  auto* w = new TTestTrainer;
  w->show();
  zek::test::TempDir dir("zek-drive");
  TSettingsStore::setGlobalFile(dir.path() / "settings.ini");
  TSettingsStore::global().writeInteger("SOFTWARE\\ZEK\\zek englisch\\Sprachlabor", "Thema", 17);
  TSettingsStore::global().writeBool("SOFTWARE\\ZEK\\zek englisch\\Aufnahme", "Stereo", true);
  std::ofstream(dir.path() / "take.wav") << "RIFF";
  std::ofstream(dir.path() / "empty.wav");
  sendMediaCommand("close   SATZ", true);
  sendMediaCommand("status satz mode", true);
  const std::string take = (dir.path() / "take.wav").string(), empty = (dir.path() / "empty.wav").string();
  EXPECT_EQ(runScript("expect-setting \"Sprachlabor\" \"Thema\" \"17\"\n"
                      "expect-setting \"SOFTWARE\\\\ZEK\\\\zek englisch\\\\Aufnahme\" \"stereo\" \"true\"\n"
                      "expect-media \"CLOSE  satz\"\n"
                      "expect-media \"satz mode\"\n"
                      "expect-file \"" + take + "\"\n"),
            0);
  // Each check looks only at what came since the last one.
  sendMediaCommand("close satz", true);
  int line = 0;
  EXPECT_EQ(runScript("expect-media \"close satz\"\nexpect-media \"close satz\"\nexpect-media \"close satz\"\n", &line), 1);
  EXPECT_EQ(line, 0);  // the third line failed: two were sent
  for (const std::string& bad : std::vector<std::string>{"expect-setting \"Sprachlabor\" \"Thema\" \"3\"",
                                 "expect-setting \"Sprachlabor\" \"Fehlt\" \"3\"", "expect-file \"" + empty + "\"",
                                 std::string("expect-file \"nirgends.wav\"")}) {
    EXPECT_EQ(runScript(bad), 1) << bad;
  }
  TSettingsStore::setGlobalFile(TSettingsStore::defaultFile());
  delete w;
}

}  // namespace
