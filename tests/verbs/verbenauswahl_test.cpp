// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/appstate.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "platform/thandover.h"
#include "tests/common/qtevents.h"
#include "tests/common/testutil.h"
#include "verbs/t_e_verbenauswahl.h"
#include "verbs/tverben.h"
#include "widgets/txcheckbox.h"
#include "widgets/txcolorbutton.h"
#include "widgets/txlistbox.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct Auswahl : ::testing::Test {
  zek::test::TempDir dir{"zek-verbauswahl"};
  TSettingsStore store{dir.path() / "settings.ini"};
  zek::ScriptedDialogs dialogs;
  TVerben verben{store};
  int mainWindows = 0;
  std::vector<QPointer<QWidget>> made;

  Auswahl() {
    appState().StartPage.clear();
    appState().PendingCommand.clear();
    setMainWindowFactory([this]() -> QWidget* {
      ++mainWindows;
      made.emplace_back(new QWidget);
      return made.back();
    });
  }
  ~Auswahl() override {
    setMainWindowFactory(nullptr);
    QApplication::processEvents();
    for (auto& w : made) delete w.data();
  }
  int counter(const T_E_VerbenAuswahl& w) const { return w.Zaehler()->text().toInt(); }
  std::string stored(const char* name) const {
    return store.readString(TVerben::kSchluessel, name).value_or("(none)");
  }
};

TEST_F(Auswahl, OpensWithThePreset) {
  verben.voreinstellung(1);
  T_E_VerbenAuswahl w(verben);
  EXPECT_EQ(counter(w), 12);
  EXPECT_EQ(w.formMaske(), "-+-+");
  EXPECT_TRUE(w.FormBox(1)->Checked());
  EXPECT_TRUE(w.FormBox(3)->Checked());
  ASSERT_EQ(w.Liste()->Items().size(), 120u);
  EXPECT_EQ(w.Liste()->Items()[0], "$arise");
  EXPECT_EQ(w.Liste()->Items()[2], "\xA7" "be");
  EXPECT_EQ(w.Liste()->visibleRows(), 15);  // 375 pixels of 25-pixel rows
  EXPECT_EQ(w.verbMaske(), verben.VerbMaske());
}

TEST_F(Auswahl, AShortStoredMaskShowsTheRestOff) {
  store.writeString(TVerben::kSchluessel, "Verben", "+-+");
  verben.ladeAuswahl();
  T_E_VerbenAuswahl w(verben);
  EXPECT_EQ(counter(w), 2);
  EXPECT_EQ(w.verbMaske(), "+-+" + std::string(117, '-'));
}

TEST_F(Auswahl, ClicksSwitchVerbsAndTheCounterFollows) {
  T_E_VerbenAuswahl w(verben);
  EXPECT_EQ(counter(w), 120);
  zek::test::click(w.Liste(), QPoint(60, 30));  // second row: "awake"
  EXPECT_EQ(counter(w), 119);
  EXPECT_EQ(w.verbMaske()[1], '-');
  zek::test::click(w.AlleAus(), QPoint(10, 10));
  EXPECT_EQ(counter(w), 0);
  zek::test::click(w.AlleAn(), QPoint(10, 10));
  EXPECT_EQ(counter(w), 120);
  EXPECT_EQ(w.verbMaske(), std::string(120, '+'));
  zek::test::click(w.FormBox(0), QPoint(5, 10));
  EXPECT_EQ(w.formMaske(), "-+++");
}

TEST_F(Auswahl, NothingSelectedIsRefusedButSaved) {
  auto* w = new T_E_VerbenAuswahl(verben);
  QPointer<T_E_VerbenAuswahl> alive(w);
  w->AlleAusClick();
  w->AbfrageClick();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text, "Bei diesen Einstellungen ist eine Abfrage unm\xF6glich!");
  EXPECT_EQ(dialogs.messages()[0].flags, mb::IconExclamation);
  EXPECT_EQ(stored("Verben"), std::string(120, '-'));
  QApplication::processEvents();
  EXPECT_TRUE(alive);  // the window stays
  EXPECT_EQ(mainWindows, 0);

  // No form is refused the same way.
  w->AlleAnClick();
  for (int i = 0; i < 4; ++i) w->FormBox(i)->setChecked(false);
  w->AbfrageClick();
  EXPECT_EQ(dialogs.messages().size(), 2u);
  EXPECT_EQ(stored("Zeiten"), "----");
  delete w;
}

TEST_F(Auswahl, AbfrageSavesAndStartsARound) {
  auto* w = new T_E_VerbenAuswahl(verben);
  w->show();
  QPointer<T_E_VerbenAuswahl> alive(w);
  w->AlleAusClick();
  zek::test::click(w->Liste(), QPoint(60, 10));  // "arise"
  w->FormBox(0)->setChecked(false);
  w->AbfrageClick();
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(stored("Verben"), "+" + std::string(119, '-'));
  EXPECT_EQ(stored("Zeiten"), "-+++");
  EXPECT_EQ(verben.VerbMaske(), stored("Verben"));
  EXPECT_EQ(appState().PendingCommand, "verb");
  EXPECT_EQ(mainWindows, 1);
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(alive);
}

TEST_F(Auswahl, AbbrechenKeepsEverything) {
  verben.voreinstellung(2);
  verben.speichereAuswahl();
  const std::string before = store.serialize();
  const std::string mask = verben.VerbMaske();
  auto* w = new T_E_VerbenAuswahl(verben);
  w->show();
  w->AlleAnClick();
  w->FormBox(2)->setChecked(true);
  w->AbbrechenClick();
  EXPECT_EQ(store.serialize(), before);
  EXPECT_EQ(verben.VerbMaske(), mask);
  EXPECT_EQ(verben.FormMaske(), "++-+");
  EXPECT_EQ(appState().StartPage, "verben.htx");
  EXPECT_EQ(mainWindows, 1);
  appState().StartPage.clear();

  // A close from the window manager goes the same way.
  auto* w2 = new T_E_VerbenAuswahl(verben);
  w2->show();
  w2->close();
  EXPECT_EQ(appState().StartPage, "verben.htx");
  EXPECT_EQ(mainWindows, 2);
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(Auswahl, TolerantBoxIsSavedByAbfrageOnlyAndIsNoForm) {
  const auto storedSwitch = [this] {
    return store.readBool("SOFTWARE\\ZEK\\zek englisch", "Gro\xDFz\xFCgig (Verben)");
  };
  verben.voreinstellung(1);
  auto* w = new T_E_VerbenAuswahl(verben);
  w->show();
  EXPECT_FALSE(w->GrosszuegigBox()->Checked());
  w->GrosszuegigBox()->setChecked(true);
  w->AbbrechenClick();
  EXPECT_FALSE(verben.Grosszuegig());
  EXPECT_FALSE(storedSwitch().has_value());
  appState().StartPage.clear();

  auto* w2 = new T_E_VerbenAuswahl(verben);
  w2->show();
  w2->GrosszuegigBox()->setChecked(true);
  w2->AbfrageClick();
  EXPECT_TRUE(verben.Grosszuegig());
  EXPECT_EQ(storedSwitch(), true);
  EXPECT_EQ(stored("Zeiten"), "-+-+");  // the box is not a fifth form
  appState().PendingCommand.clear();

  // The next window shows what was saved.
  T_E_VerbenAuswahl w3(verben);
  EXPECT_TRUE(w3.GrosszuegigBox()->Checked());
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(Auswahl, Looks) {
  verben.voreinstellung(1);
  T_E_VerbenAuswahl w(verben);
  const QImage img = w.grab().toImage();
  ASSERT_EQ(img.size(), QSize(800, 572));
  EXPECT_EQ(img.pixelColor(10, 10), QColor(64, 190, 239));   // left panel
  EXPECT_EQ(img.pixelColor(700, 10), QColor(255, 204, 51));  // window
  EXPECT_EQ(img.pixelColor(20, 560), QColor(0, 0, 0));       // bottom bar
  EXPECT_EQ(img.pixelColor(300, 90), QColor(153, 255, 51));  // list background
  if (const char* out = std::getenv("ZEK_SHOT_DIR")) img.save(QString(out) + "/verbenauswahl.png");
}

}  // namespace
