// SPDX-License-Identifier: GPL-3.0-or-later
#include "super/tsupersettingsdialog.h"

#include "media/mediacommand.h"
#include "page/txpage.h"
#include "platform/tclock.h"
#include "platform/appstate.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "super/tsuperoptions.h"
#include "tests/common/dirsscope.h"
#include "tests/common/testutil.h"
#include "tests/media/mediatestutil.h"

#include <gtest/gtest.h>

#include <sndfile.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QApplication>
#include <QKeyEvent>

namespace {

namespace fs = std::filesystem;
const std::string kKey = "SOFTWARE\\ZEK\\zek englisch\\Super";

class SuperDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    setZufallSeed(3);
  }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }
  template <class T>
  static T* find(TSuperSettingsDialog& d, const char* name) {
    T* w = d.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  bool makeMp3s(int n) {
    const fs::path wav = zek::test::writeTone(m_dir.path() / "tone.wav", 22050, 1, SF_FORMAT_PCM_16, 1.0);
    fs::create_directories(m_dir.path() / "MP3");
    for (int i = 0; i < n; ++i)
      if (!zek::test::run("lame --quiet -b 64 '" + wav.string() + "' '" + (m_dir.path() / "MP3" / ("p" + std::to_string(i))).string() +
                          ".mp3'"))
        return false;
    return true;
  }

  zek::test::TempDir m_dir{"zek-superdialog"};
  TSettingsStore m_store{m_dir.path() / "settings.ini"};
  zek::test::TManualClock m_clock;
  zek::ScriptedDialogs m_dialogs;
  std::vector<std::string> m_log;
  zek::test::TDirsScope m_dirs{m_dir.path()};
  zek::test::TMediaScope m_media{zek::test::makeNullService(m_clock), m_log};
};

TEST_F(SuperDialogTest, StoredValuesShowAndSurviveOkUntouched) {
  m_store.writeInteger(kKey, "DDBGRDelay", 300);
  m_store.writeInteger(kKey, "Schritte", 1000);      // beyond the slider's 500
  m_store.writeInteger(kKey, "TechnoSpeed", -25);    // below the slider's -23
  m_store.writeInteger(kKey, "DDCharDelay", 400);    // beyond the slider's 100
  m_store.writeInteger(kKey, "TechnoFrameDelay", 4500);  // between two slider steps
  m_store.writeInteger(kKey, "Modus", 1);
  TSuperOptions o(&m_store);
  TSuperSettingsDialog d(o);
  EXPECT_EQ(d.tabs()->currentIndex(), TSuperSettingsDialog::Abgedreht);
  EXPECT_EQ(find<QComboBox>(d, "ddInterval")->currentText(), "5 Minuten");
  EXPECT_TRUE(find<QCheckBox>(d, "ddAuto")->isChecked());
  EXPECT_EQ(find<QComboBox>(d, "technoTextDelay")->currentText(), "3,0");
  EXPECT_EQ(find<QLabel>(d, "status")->text(), "0 MP3-Dateien");
  EXPECT_TRUE(d.applyAndClose());
  EXPECT_EQ(o.value(TSuperValue::Schritte), 1000);
  EXPECT_EQ(o.value(TSuperValue::TechnoSpeed), -25);
  EXPECT_EQ(o.value(TSuperValue::DDCharDelay), 400);
  EXPECT_EQ(o.value(TSuperValue::TechnoFrameDelay), 4500);
  EXPECT_EQ(o.value(TSuperValue::DDBGRDelay), 300);
  EXPECT_EQ(o.value(TSuperValue::TechnoTextDelay), 3000);
}

TEST_F(SuperDialogTest, MovedControlsAreStoredAndTwentyMinutesSurvivesTheNextLoad) {
  {
    TSuperOptions o(&m_store);
    TSuperSettingsDialog d(o);
    find<QComboBox>(d, "ddInterval")->setCurrentText("20 Minuten");
    find<QSlider>(d, "technoFrameDelay")->setValue(188);
    EXPECT_TRUE(find<QRadioButton>(d, "hardCut")->isChecked());  // moving the delay chooses the cut
    find<QSlider>(d, "schritte")->setValue(300);
    find<QComboBox>(d, "technoTextDelay")->setEditText("2.5");  // the other separator
    m_dialogs.chooseColor(0x0000FF);
    find<TColorField>(d, "technoBgr")->click();
    EXPECT_TRUE(d.applyAndClose());
    EXPECT_EQ(m_dialogs.colorDialogs(), std::vector<std::uint32_t>{0});
  }
  TSuperOptions again(&m_store);
  EXPECT_EQ(again.value(TSuperValue::DDBGRDelay), 1200);
  EXPECT_EQ(again.value(TSuperValue::TechnoFrameDelay), 240000);
  EXPECT_EQ(again.value(TSuperValue::TechnoFading), 0);
  EXPECT_EQ(again.value(TSuperValue::Schritte), 300);
  EXPECT_EQ(again.value(TSuperValue::TechnoTextDelay), 2500);
  EXPECT_EQ(again.storedForm(TSuperValue::TechnoBGRColor), "FF0000");  // stored red first
}

TEST_F(SuperDialogTest, FrameDelayLabelFollowsTheSlider) {
  TSuperOptions o(&m_store);
  TSuperSettingsDialog d(o);
  QSlider* s = find<QSlider>(d, "technoFrameDelay");
  QLabel* label = nullptr;
  for (QLabel* l : s->parentWidget()->findChildren<QLabel*>())
    if (l->geometry().top() == s->geometry().top() + 4) label = l;
  ASSERT_NE(label, nullptr);
  struct Case { int pos; const char* text; };
  for (const Case& c : {Case{49, "980 ms"}, Case{91, "5,5 s"}, Case{188, "4:0 min"}}) {
    s->setValue(c.pos);
    EXPECT_EQ(label->text(), c.text);
  }
}

TEST_F(SuperDialogTest, CdMusicAndSpeechLetGoOfEachOther) {
  TSuperOptions o(&m_store);
  TSuperSettingsDialog d(o);
  find<QCheckBox>(d, "sprachausgabe")->setChecked(true);
  find<QRadioButton>(d, "musikCd")->setChecked(true);
  EXPECT_FALSE(find<QCheckBox>(d, "sprachausgabe")->isChecked());
  find<QCheckBox>(d, "sprachausgabe")->setChecked(true);
  EXPECT_TRUE(find<QRadioButton>(d, "musikKeine")->isChecked());
}

TEST_F(SuperDialogTest, AMissingMusicFolderKeepsTheDialogOpen) {
  TSuperOptions o(&m_store);
  TSuperSettingsDialog d(o);
  find<QLineEdit>(d, "mp3Dir")->setText("/no/such/folder/");
  EXPECT_FALSE(d.applyAndClose());
  ASSERT_FALSE(m_dialogs.texts().empty());
  EXPECT_EQ(m_dialogs.texts().front(), "MP3 : Das Verzeichnis \"/no/such/folder/\" existiert nicht!");
}

TEST_F(SuperDialogTest, TestenPlaysStopsAndClosesAnEndedPieceFirst) {
  if (!makeMp3s(2)) GTEST_SKIP() << "lame missing";
  TSuperOptions o(&m_store);
  TSuperSettingsDialog d(o);
  QPushButton* test = find<QPushButton>(d, "testen");
  ASSERT_TRUE(test->isEnabled());
  d.testMusic();
  EXPECT_EQ(test->text(), "Stop");
  EXPECT_EQ(find<QLabel>(d, "status")->text(), "Es sollte nun Musik zu h\u00F6ren sein.");
  m_log.clear();
  d.testMusic();  // playing: stop
  EXPECT_EQ(test->text(), "Testen");
  EXPECT_EQ(m_log, (std::vector<std::string>{"Status MP3 mode", "stop mp3", "close mp3"}));
  d.testMusic();
  m_clock.advanceMs(1500);  // the piece ends by itself
  m_log.clear();
  d.testMusic();
  // The alias of the ended piece is closed before the next open, which therefore works.
  ASSERT_GE(m_log.size(), 4u);
  EXPECT_EQ(m_log[0], "Status MP3 mode");
  EXPECT_EQ(m_log[1], "close mp3");
  EXPECT_EQ(m_log[2].rfind("open ", 0), 0u);
  EXPECT_EQ(sendMediaCommand("status mp3 mode", true), "playing");
  d.cancel();
}

TEST_F(SuperDialogTest, EscapeAndTheTitleBarCloseStopTheTestMusic) {
  if (!makeMp3s(1)) GTEST_SKIP() << "lame missing";
  TSuperOptions o(&m_store);
  for (const bool escape : {true, false}) {
    TSuperSettingsDialog d(o);
    d.show();
    d.testMusic();
    ASSERT_EQ(sendMediaCommand("status mp3 mode", true), "playing");
    if (escape) {
      QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(&d, &esc);
    } else {
      d.close();
    }
    EXPECT_FALSE(d.isVisible());
    EXPECT_NE(sendMediaCommand("status mp3 mode", true), "playing") << (escape ? "Escape" : "close");
  }
}

TEST_F(SuperDialogTest, TheTabsFitTheDialogAndTheLetterDelayStartsAtItsStoredMinimum) {
  TSuperOptions o(&m_store);
  TSuperSettingsDialog d(o);
  d.show();
  const QTabBar* bar = d.tabs()->tabBar();
  const QRect last = bar->tabRect(bar->count() - 1);
  EXPECT_LE(bar->mapTo(&d, last.topRight()).x(), d.width()) << "the last tab lies beyond the dialog";
  EXPECT_LE(last.right(), bar->width());
  QSlider* letters = find<QSlider>(d, "ddCharDelay");
  letters->setValue(0);
  // The slider cannot show a delay the options would not store.
  EXPECT_EQ(letters->value(), 10);
  EXPECT_TRUE(d.applyAndClose());
  EXPECT_EQ(o.value(TSuperValue::DDCharDelay), 10);
}

TEST_F(SuperDialogTest, ResetRestoresTheDefaultsIntoTheControls) {
  m_store.writeInteger(kKey, "Madness", 2);
  TSuperOptions o(&m_store);
  TSuperSettingsDialog d(o);
  EXPECT_EQ(find<QSlider>(d, "madness")->value(), 2);
  d.reset();
  EXPECT_EQ(find<QSlider>(d, "madness")->value(), 9);
  EXPECT_TRUE(o.modified());
}

TEST_F(SuperDialogTest, PreviewShowsThePreviewPictureOfTheFolder) {
  TSuperOptions o(&m_store);
  TSuperSettingsDialog d(o);
  QImage pic(160, 100, QImage::Format_RGB32);
  pic.fill(QColor(0, 200, 0));
  fs::create_directories(m_dir.path() / "pics");
  ASSERT_TRUE(pic.save(QString::fromStdString((m_dir.path() / "pics" / "vorschau.jpg").string()), "JPEG"));
  find<QLineEdit>(d, "technoPhotoDir")->setText(QString::fromStdString((m_dir.path() / "pics").string()));
  find<QSlider>(d, "technoTransparenz")->setValue(0);
  find<QSlider>(d, "technoRand")->setValue(0);
  d.redrawPreview();
  const QImage shown = d.preview()->VisibleImage();
  const QColor c = shown.pixelColor(10, 10);
  EXPECT_GT(c.green(), 150);
  EXPECT_LT(c.red(), 60);
}

}  // namespace
