// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tmainactions.h"

#include "app/tappobjects.h"
#include "app/tmain.h"
#include "dict/dictfollower.h"
#include "dict/txwb.h"
#include "dict/wordlookup.h"
#include "lab/trecsetup.h"
#include "lab/twavedb.h"
#include "memory/tlernfortschritt.h"
#include "page/txpage.h"
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/screensaver.h"
#include "platform/tclock.h"
#include "platform/thandover.h"
#include "super/tbingo.h"
#include "super/tlongrun.h"
#include "super/tsuperfade.h"
#include "super/tsuperoptions.h"
#include "super/tpagestyles.h"
#include "super/tsupersettingsdialog.h"
#include "vocab/tbibliothek.h"
#include "vocab/tvoceinstellungen.h"
#include "vocab/tvokabelabfrage.h"
#include "verbs/tverben.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QApplication>
#include <QKeyEvent>
#include <QDesktopServices>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <map>
#include <memory>

bool TMainActions::verbTrainerExists() const { return appObjects().verben != nullptr; }

void TMainActions::processPendingMessages() { QCoreApplication::processEvents(); }

void TMainActions::notYet(const char* what, bool plural) {
  showMessage(std::string(what) + (plural ? " sind" : " ist") + " in dieser Version noch nicht verf\xFCgbar.",
              mb::IconInformation);
}

bool TMainActions::openTrainer(TTrainerKind kind, const char* what, bool plural) {
  QWidget* window = makeTrainerWindow(kind);
  if (!window) {
    notYet(what, plural);
    return false;
  }
  handOver(&m_main, window);
  return true;
}

void TMainActions::wbZeigen() {
  // Asked for before the start page was first painted, the window is made now.
  if (appObjects().database) appObjects().createDictionaryWindow();
  TXWb* wb = appObjects().dictionaryWindow;
  if (!wb) {
    notYet("Das W\xF6rterbuch-Fenster");
    return;
  }
  wb->show();
  wb->raise();
  wb->activateWindow();
}

void TMainActions::lookUpWord(const std::string& word) {
  if (appObjects().database) appObjects().createDictionaryWindow();
  if (TXWb* wb = appObjects().dictionaryWindow) zek::showWordInDictionary(*wb, word);
}

void TMainActions::goEditor() {
  // The dictionary window closes first.
  zek::hideDictionaryWindow();
  appState().StartPage.clear();
  openTrainer(TTrainerKind::Editor, "Der Vokabel-Editor");
}

void TMainActions::goVocEin() {
  appState().StartPage.clear();
  openTrainer(TTrainerKind::VocEin, "Die Vokabeltrainer-Optionen", true);
}

void TMainActions::goVerbEinstellungen() { openTrainer(TTrainerKind::VerbEinstellungen, "Die Verbauswahl"); }

bool TMainActions::verbTrainerReady() const { return appObjects().verben && appObjects().verben->vorbereiten(); }

void TMainActions::startVerbRound() {
  if (appObjects().verben) appObjects().verben->startRunde();
}

void TMainActions::verbWeiter() {
  if (appObjects().verben) appObjects().verben->weiter();
}

void TMainActions::verbAnswer(const std::string& text) {
  if (appObjects().verben) appObjects().verben->antwort(text);
}

void TMainActions::verbPreset(int number) {
  if (appObjects().verben) appObjects().verben->voreinstellung(number);
}

void TMainActions::goSprachlabor() { openTrainer(TTrainerKind::Sprachlabor, "Das Sprachlabor"); }

bool TMainActions::go() {
  TBibliothek* bib = appObjects().bibliothek.get();
  if (!bib || !appObjects().einstellungen) return true;
  if (bib->Veraendert()) {
    const int answer = showMessage(
        "Die aktuelle Bibliothek wurde ver\xE4ndert.\rSollen die Ver\xE4nderungen jetzt gespeichert werden?\r\r"
        "[Die Ver\xE4nderungen sonst verloren]",
        mb::YesNoCancel | mb::IconQuestion);
    if (answer == mb::IdCancel) return false;
    if (answer == mb::IdYes) {
      TFileDialogRequest request;
      request.save = true;
      request.filter = "Vokabel-Bibliotheken (*.asc)|*.asc";
      request.defaultExt = "asc";
      request.directory = Dirs().UserVocabDir;
      const std::string name = zek::fileNamePart(bib->DateiName());
      request.fileName = name.empty() ? "OhneNamen.asc" : name;
      const auto chosen = askFileName(request);
      // A "Ja" that ends without a saved file keeps the changes, as Cancel does.
      if (!chosen) return false;
      const std::string dir = zek::directoryPart(*chosen);
      if (!dir.empty() && dir != Dirs().UserVocabDir) {
        Dirs().UserVocabDir = dir;
        saveDirectorySettings(1);
      }
      if (!bib->Speichern(*chosen)) return false;
    }
  }
  bib->ZufallsAuswahl(Dirs().VocabBase + dispatchState().collection);
  TVocEinstellungen& settings = *appObjects().einstellungen;
  settings.Voreinstellung(dispatchState().quizPreset);  // the range: all of it, as it grows
  if (dispatchState().requestedMode == 100) {
    goAbfrage();
  } else {
    goSuper();
  }
  return true;
}

void TMainActions::goAbfrage() {
  TBibliothek* bib = appObjects().bibliothek.get();
  if (!bib) return;
  // Not ready: the options show what is missing.
  if (!bib->Abfrage().Starten()) goVocEin();
}

void TMainActions::vocAus() {
  if (TBibliothek* bib = appObjects().bibliothek.get()) bib->Abfrage().Zwischenstand();
}

void TMainActions::vokFaellig() {
  if (TBibliothek* bib = appObjects().bibliothek.get()) bib->Abfrage().WiederholungStarten();
}

void TMainActions::verbFaellig() {
  if (appObjects().verben) appObjects().verben->faelligeRunde();
}

void TMainActions::lernfortschritt() {
  if (!appObjects().lernDatenbank) {
    showMessage("Der Lernspeicher ist ausgeschaltet. Sie k\xF6nnen ihn in den Einstellungen f\xFCr den "
                "Vokabeltrainer einschalten.",
                mb::Ok | mb::IconInformation);
    return;
  }
  TLernfortschritt::zeigen(*appObjects().lernDatenbank, &m_main);
}

void TMainActions::vokabelWeiter() {
  if (TBibliothek* bib = appObjects().bibliothek.get()) bib->Abfrage().Weiter();
}

void TMainActions::vokabelAnswer(const std::string& result) {
  if (TBibliothek* bib = appObjects().bibliothek.get()) bib->Abfrage().AntwortZeigen(result);
}
void TMainActions::recSetup() { TRecSetup::run(&m_main); }

void TMainActions::waveBase() { TWaveDB::run(&m_main); }

void TMainActions::openUrl(const std::string& url) {
  if (QDesktopServices::openUrl(QUrl(zek::toQString(url)))) return;
  // Without a browser nothing would happen at all: the learner gets the address instead.
  showMessage("Es konnte kein Webbrowser ge\xF6" "ffnet werden.\r\rDie Adresse lautet:\r" + url, mb::IconInformation);
}

void TMainActions::seekCd() {
  findContentRoot();
  TXPage* page = m_main.XPage();
  if (!page) return;
  if (Dirs().SoundDir.empty()) {
    page->Bedingung().remove("cdrom");
  } else {
    page->Bedingung().add("cdrom");
  }
  const std::string file = page->XFile();
  if (!file.empty()) page->setXFile(file);
}

void TMainActions::beenden() { Beenden(&m_main); }

// ---- superlearning

namespace {

// The game draws into the main page view's buffer and copies what it drew to the screen.
class TPageBingoHost final : public TBingoHost {
 public:
  explicit TPageBingoHost(TXPage& page) : m_page(page) {}
  QImage canvas() override { return m_page.Buffer().view(); }
  void showRect(const QRect& r) override { m_page.repaint(r.translated(0, -m_page.ScrollY())); }
  void loadPage(const std::string& name) override { m_page.setXFile(name); }
  std::string pageDir() const override { return m_page.XPath(); }

 private:
  TXPage& m_page;
};

// The presentation or game running inside a page command now, if any.
TLongRun* g_longRun = nullptr;

// While a run lasts: Escape ends it, and so do a click or any other key on the main window
// unless clicks are the run's moves (Bingo). Dialogs the run opens keep their own keys.
class TRunStopper final : public QObject {
 public:
  TRunStopper(TLongRun& run, QWidget& main) : m_run(run), m_main(main) { qApp->installEventFilter(this); }
  ~TRunStopper() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    const QEvent::Type t = e->type();
    if (t != QEvent::KeyPress && t != QEvent::MouseButtonPress) return false;
    if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != &m_main) return false;
    if (t == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(e)->key();
      const bool modifier = key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
                            key == Qt::Key_Meta || key == Qt::Key_AltGr;
      if (modifier || (key != Qt::Key_Escape && !m_run.clickEnds())) return false;
    } else if (!m_run.clickEnds()) {
      return false;
    }
    m_run.stop();
    return true;
  }

 private:
  TLongRun& m_run;
  QWidget& m_main;
};

// The styles that run on the main page view, by requested mode; a maker returns nothing when
// the style cannot start (it has said why). Modes without a line here are not built yet.
using TPageStyleMaker = std::function<std::unique_ptr<TLongRun>(const TPageRunEnv&)>;
const std::map<int, TPageStyleMaker>& pageStyles() {
  static const std::map<int, TPageStyleMaker> styles = {
      {2, makeTechnoRun},
      {3, makeSeventiesRun},
  };
  return styles;
}

// The window a classic or crazy presentation gives its place back to.
std::function<QWidget*()> returnWindowMaker(const std::string& name) {
  if (name == "Opts") return [] { return makeTrainerWindow(TTrainerKind::VocEin); };
  if (name == "Editor") return [] { return makeTrainerWindow(TTrainerKind::Editor); };
  return [] { return createMainWindow(); };
}

}  // namespace

QWidget* makeSuperFade(int mode, const std::string& returnTo, QPoint returnPos) {
  TBibliothek* bib = appObjects().bibliothek.get();
  if (!bib || !bib->BibliothekGeladen()) return nullptr;
  TSuperOptions& options = superOptions();
  options.setModus(mode);
  return new TSuperFade(mode, options, *bib, returnWindowMaker(returnTo), returnPos);
}

void openSuperSettings(QWidget* parent) {
  TSuperOptions& options = superOptions();
  {
    TSuperSettingsDialog dialog(options, parent);
    dialog.exec();
  }
  // The dialog's end is where the options are written, whether by OK or by Cancel after
  // changes that were applied at once.
  if (options.modified()) options.save();
}

void TMainActions::superOpts() { openSuperSettings(&m_main); }

void TMainActions::stopPresentation() {
  if (g_longRun) g_longRun->stop();
}

bool TMainActions::stopRunForExit() {
  if (!g_longRun) return false;
  m_exitAfterRun = true;
  g_longRun->stop();
  return true;
}

void TMainActions::runLongRun(TLongRun& run) {
  TXPage* page = m_main.XPage();
  if (g_longRun || !page) return;
  g_longRun = &run;
  m_main.OnBingoClick = [&run] { run.pageClick(); };
  m_main.OnTechnoClick = [&run] { run.windowClick(); };
  QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  // The page view locks its input while a command runs; the run needs clicks and "(ENDE)".
  page->UnlockMouse();
  {
    TPresentationScope running;
    TRunStopper stopper(run, m_main);
    try {
      run.run();
    } catch (...) {
    }
  }
  page->LockMouse();
  QGuiApplication::restoreOverrideCursor();
  m_main.OnBingoClick = nullptr;
  m_main.OnTechnoClick = nullptr;
  g_longRun = nullptr;
  if (m_exitAfterRun) {
    // The window was closed during the run: now that nothing uses the trainers any more it
    // takes its ordinary way out.
    m_exitAfterRun = false;
    QPointer<TMain> main(&m_main);
    QTimer::singleShot(0, &m_main, [main] {
      if (main) main->close();
    });
  }
}

void TMainActions::goSuper() {
  processPendingMessages();
  TBibliothek* bib = appObjects().bibliothek.get();
  TXPage* page = m_main.XPage();
  if (!bib || !page || !bib->BibliothekGeladen()) return;
  TSuperOptions& options = superOptions();
  appState().StartPage = "vokabeln.htx";
  const int mode = dispatchState().requestedMode;
  options.setModus(mode);
  if (mode == 0 || mode == 1) {
    handOver(&m_main, makeSuperFade(mode, dispatchState().returnWindow, m_main.pos()));
    return;
  }
  if (mode == 4) {
    page->setXFile("bingo\\intro.htx");
    return;
  }
  if (mode > 4 || mode < 0) return;
  const auto style = pageStyles().find(mode);
  if (style == pageStyles().end()) {
    notYet("Diese Superlearning-Pr\xE4sentation");
    return;
  }
  TEventPump pump;
  reseedZufall();
  if (std::unique_ptr<TLongRun> run = style->second(TPageRunEnv{*page, *bib, options, pump})) runLongRun(*run);
  const std::string start = appState().StartPage;
  appState().StartPage.clear();
  if (!start.empty()) page->setXFile(Dirs().PageBase + "hzek/" + start);
}

void TMainActions::vegas() {
  TBibliothek* bib = appObjects().bibliothek.get();
  TXPage* page = m_main.XPage();
  if (g_longRun || !page) return;
  // The page that offers the game comes after a library was chosen; a direct "vegas" checks.
  if (!bib || !bib->BibliothekGeladen()) return;
  if (bib->AktivAnzahl() == 0) {
    showMessage("Keine Vokabel(n) aktiv!!!", mb::Ok | mb::IconExclamation);
    return;
  }
  TPageBingoHost host(*page);
  TEventPump pump;
  reseedZufall();
  TBingo game(*bib, host, pump, &superOptions());
  runLongRun(game);
}
