#include "app/tdriver.h"
#include "app/tmain.h"
#include "app/ttrainerwindows.h"
#include "page/txpage.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "tests/app/shellfixture.h"
#include "verbs/t_e_verbenauswahl.h"
#include "verbs/tverben.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>

namespace {

// The verb trainer through the main window: the dispatcher's commands, the hand-over to the
// selection window and back with the command that starts a round.
class VerbTrainer : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    TSettingsStore::global().deleteKey(TVerben::kSchluessel);
    page("main.htx", "<html>Start</html>");
    page("verben.htx", "<html>Verbtrainer</html>");
    page("verbabfrage.htx", "<title>Verbtrainer</title><font size=3 id=D><font size=4 id=H>");
    installMainWindowFactory();
    registerTrainerWindow(TTrainerKind::VerbEinstellungen, []() -> QWidget* {
      return new T_E_VerbenAuswahl(*appObjects().verben);
    });
  }
  void TearDown() override {
    registerTrainerWindow(TTrainerKind::VerbEinstellungen, nullptr);
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (qobject_cast<TMain*>(w) || qobject_cast<TTrainerWindow*>(w)) w->deleteLater();
    }
    TSettingsStore::global().deleteKey(TVerben::kSchluessel);
    ShellFixture::TearDown();
  }
  static T_E_VerbenAuswahl* selection() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* s = qobject_cast<T_E_VerbenAuswahl*>(w); s && s->isVisible()) return s;
    }
    return nullptr;
  }
  static std::string shown() { return currentMain() ? pageText(*currentMain()->XPage()) : "(no main window)"; }
};

TEST_F(VerbTrainer, PresetRoundAnswersAndSelectionWindow) {
  zek::ScriptedDialogs dialogs;
  TMain* main = createTMain();
  main->show();
  main->runPageCommand("vt1,verb");
  EXPECT_NE(shown().find("1 / 10"), std::string::npos) << shown();
  EXPECT_NE(shown().find("Gesucht: Past Tense"), std::string::npos) << shown();
  // The page's field answers through the dispatcher.
  main->runPageCommand("verb2#1+");
  EXPECT_NE(shown().find("100%"), std::string::npos) << shown();
  EXPECT_NE(shown().find("Gesucht: Bedeutung(en)"), std::string::npos) << shown();
  EXPECT_FALSE(TSettingsStore::global().keyExists(TVerben::kSchluessel));  // presets store nothing

  main->runPageCommand("verbmanuell");
  flushDeletes();
  T_E_VerbenAuswahl* w = selection();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Zaehler()->text(), "12");
  EXPECT_EQ(w->formMaske(), "-+-+");
  w->AlleAusClick();
  w->AbfrageClick();
  ASSERT_EQ(dialogs.texts(), std::vector<std::string>{"Bei diesen Einstellungen ist eine Abfrage unm\xF6glich!"});
  EXPECT_EQ(selection(), w);

  w->AlleAnClick();
  w->AbfrageClick();
  flushDeletes();
  EXPECT_EQ(selection(), nullptr);
  ASSERT_NE(currentMain(), nullptr);
  QCoreApplication::sendPostedEvents();  // the new main window runs "verb"
  EXPECT_NE(shown().find("1 / 10"), std::string::npos) << shown();
  EXPECT_EQ(TSettingsStore::global().readString(TVerben::kSchluessel, "Verben").value_or(""), std::string(120, '+'));
}

TEST_F(VerbTrainer, VerbWithNothingToAskOpensTheSelection) {
  zek::ScriptedDialogs dialogs;
  TMain* main = createTMain();
  main->show();
  appObjects().verben->setFormAuswahl("----");
  main->runPageCommand("verb");
  flushDeletes();
  T_E_VerbenAuswahl* w = selection();
  ASSERT_NE(w, nullptr);
  w->AbbrechenClick();
  flushDeletes();
  ASSERT_NE(currentMain(), nullptr);
  EXPECT_EQ(currentMain()->pageOnShow(), "verben.htx");
  EXPECT_TRUE(dialogs.messages().empty());
}

}  // namespace
