#include "drive/tdriver.h"
#include "app/tmain.h"
#include "app/tpagecommand.h"
#include "page/txpage.h"
#include "platform/messages.h"
#include "tests/app/shellfixture.h"
#include "tests/vocab/vocabfixtures.h"
#include "vocab/tbibliothek.h"
#include "vocab/tvoceinstellungen.h"
#include "vocab/tvokabelabfrage.h"
#include "vocab/vokabeldatei.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <memory>
#include <optional>

namespace {

class QuizShell : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    dispatchState() = TDispatchState{};
    vocabularyShell({"apple", "pear", "plum", "cherry", "peach", "grape", "lemon", "melon"});
    page("vokab.htx", "<font size=5 id=H><font size=3 id=D><colors flashcol=#FFB000 richtig=#1E3050>");
  }
  void TearDown() override {
    m_main.reset();
    m_dialogs.reset();
    dispatchState() = TDispatchState{};
    ShellFixture::TearDown();
  }
  static std::string text(TMain& main) { return pageText(*main.XPage()); }
  // The main window on show, its message boxes and file dialogs answered by `dialogs()`.
  TMain& shownMain() {
    m_dialogs = std::make_unique<zek::ScriptedDialogs>();
    m_main = std::make_unique<TMain>();
    m_main->show();
    return *m_main;
  }
  zek::ScriptedDialogs& dialogs() { return *m_dialogs; }
  // The library with an entry of the learner's own added and not saved.
  static TBibliothek& changedLibrary() {
    TBibliothek& bib = *appObjects().bibliothek;
    TVokabel eigen;
    eigen.Vokabel = "eigen";
    eigen.Bedeutung1 = "own";
    bib.Hinzufuegen(eigen);
    return bib;
  }

 private:
  std::unique_ptr<zek::ScriptedDialogs> m_dialogs;
  std::unique_ptr<TMain> m_main;
};

TEST_F(QuizShell, GoLoadsTheCollectionAppliesThePresetAndAsks) {
  TMain& main = shownMain();
  main.runPageCommand("s4,gws,abfrage,go");
  for (const std::string& t : dialogs().texts()) ADD_FAILURE() << t;
  TBibliothek& bib = *appObjects().bibliothek;
  EXPECT_EQ(bib.Anzahl(false), 8);
  EXPECT_EQ(appObjects().einstellungen->Bis, -1);  // up to the end, however the library grows
  EXPECT_EQ(bib.BereichBis(), 7);
  EXPECT_EQ(appObjects().einstellungen->ProRunde, 8);  // 12 a round, only 8 entries
  EXPECT_NE(text(main).find("1 / 8"), std::string::npos) << text(main);

  main.runPageCommand("vokabel-");
  EXPECT_NE(text(main).find("Ich bedaure..."), std::string::npos);
  main.runPageCommand("vokabelweiter");
  EXPECT_NE(text(main).find("2 / 8"), std::string::npos);

  // The interim evaluation is the window "Auswertung".
  QString zeile2;
  QTimer schliessen;
  QObject::connect(&schliessen, &QTimer::timeout, [&] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) return;
    for (const QLabel* l : w->findChildren<QLabel*>())
      if (l->text().contains('/')) zeile2 = l->text();
    w->close();
  });
  schliessen.start(10);
  main.runPageCommand("vocaus");
  schliessen.stop();
  EXPECT_EQ(zeile2, "2 / 8");
}

TEST_F(QuizShell, GoOffersToSaveAChangedLibrary) {
  TMain& main = shownMain();
  zek::ScriptedDialogs& dialogs = this->dialogs();
  TBibliothek& bib = changedLibrary();

  dialogs.answer(mb::IdCancel);
  main.runPageCommand("go,gws");
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].flags, mb::YesNoCancel | mb::IconQuestion);
  EXPECT_EQ(dispatchState().collection, "");  // the rest of the text was dropped
  EXPECT_TRUE(bib.Veraendert());

  const std::string ziel = zek::fromPath(m_tmp.path()) + "/Eigene/meine.asc";
  m_tmp.mkdir("Eigene");
  dialogs.clear();
  dialogs.answer(mb::IdYes);
  dialogs.chooseFile(ziel);
  dispatchState().requestedMode = 100;
  dispatchState().collection = "Grundwortschatz/";
  main.runPageCommand("s4,go");
  ASSERT_EQ(dialogs.fileDialogs().size(), 1u);
  EXPECT_EQ(dialogs.fileDialogs()[0].fileName, "OhneNamen.asc");
  EXPECT_EQ(dialogs.fileDialogs()[0].filter, "Vokabel-Bibliotheken (*.asc)|*.asc");
  EXPECT_TRUE(zek::fileExists(ziel));
  EXPECT_EQ(Dirs().UserVocabDir, zek::fromPath(m_tmp.path()) + "/Eigene/");
  EXPECT_EQ(bib.Anzahl(false), 8);
  EXPECT_NE(text(main).find("1 / 8"), std::string::npos);
}

// "Ja" to saving, then no saved file: the learner's entries stay and the rest of the
// command text is dropped, whether the dialog was cancelled or the save failed.
TEST_F(QuizShell, GoKeepsTheLibraryWhenTheSaveDoesNotHappen) {
  TMain& main = shownMain();
  zek::ScriptedDialogs& dialogs = this->dialogs();
  TBibliothek& bib = changedLibrary();
  m_tmp.write("keinordner", "a plain file where a folder is expected");
  const std::string unmoeglich = zek::fromPath(m_tmp.path()) + "/keinordner/meine.asc";
  const int vorher = bib.Anzahl(false);

  for (const std::optional<std::string>& wahl : {std::optional<std::string>{}, std::optional(unmoeglich)}) {
    dialogs.clear();
    dialogs.answer(mb::IdYes);
    dialogs.chooseFile(wahl);
    main.runPageCommand("s4,gws,abfrage,go,vocaus");
    EXPECT_EQ(bib.Anzahl(false), vorher) << wahl.value_or("cancelled");
    EXPECT_EQ(bib.Vokabel(vorher - 1), "eigen");
    EXPECT_TRUE(bib.Veraendert());
    EXPECT_EQ(text(main).find("1 / "), std::string::npos);
    EXPECT_EQ(dialogs.messages().size(), wahl ? 2u : 1u);  // the save failure is reported
  }
}

TEST_F(QuizShell, QuizWithoutLibrarySaysSo) {
  TMain& main = shownMain();
  main.runPageCommand("vabfrage");
  ASSERT_FALSE(dialogs().messages().empty());
  EXPECT_EQ(dialogs().messages()[0].text, "Noch keine Bibliothek geladen! Was soll ich abfragen??" "?!");
  EXPECT_EQ(main.pageOnShow(), "main.htx");
  // Answers without a quiz change nothing.
  main.runPageCommand("vokabel+,vokabelweiter");
  EXPECT_EQ(main.pageOnShow(), "main.htx");
}

}  // namespace
