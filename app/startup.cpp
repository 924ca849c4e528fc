// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include "app/tappobjects.h"
#include "app/tbackdrop.h"
#include "dict/database.h"
#include "dict/startup.h"
#include "media/recordingwindows.h"
#include "lab/trecsetup.h"
#include "lab/tsprachlabor.h"
#include "memory/tlernfortschritt.h"
#include "memory/tlernspeicher.h"
#include "lab/twavedb.h"
#include "app/tmain.h"
#include "app/tmainactions.h"
#include "page/txpage.h"
#include "app/tpagecommand.h"
#include "app/tshortcuts.h"
#include "app/ttrainerwindows.h"
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/display.h"
#include "platform/messages.h"
#include "platform/thandover.h"
#include "platform/xplainmessage.h"
#include "verbs/t_e_verbenauswahl.h"
#include "vocab/tvoceditor.h"
#include "vocab/tvocoptionen.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <memory>
#include <time.h>

const char* const kMsgTooFewColours =
    "Nicht genug Farben!\r\r*zek englisch ben\xF6tigt mehr als 256 Farben bei einer Aufl\xF6sung\rvon (mindestens) "
    "800 x 600 Pixel. Bitte \xE4ndern Sie die Farben\rauf High Color (16 Bit) oder True-Color (24 bzw. 32 Bit)."
    "\r\rTipp:\rFarbtiefe und Aufl\xF6sung stellen Sie in den Bildschirm-Einstellungen\rIhrer Arbeitsumgebung ein.";
const char* const kMsgResolutionTooLow =
    "Zu geringe Aufl\xF6sung!\r\r*zek englisch ben\xF6tigt eine Aufl\xF6sung von 800 x 600 Pixel\rbei mehr als 256 "
    "Farben (High Color oder True Color).\rBitte \xE4ndern Sie die Aufl\xF6sung auf 800 x 600 Pixel\roder mehr.\r\rTipp:\rDie Aufl\xF6sung stellen Sie in "
    "den Bildschirm-Einstellungen\rIhrer Arbeitsumgebung ein.";
const char* const kMsgCannotStart =
    "*zek englisch kann nicht gestartet werden!\n\nBitte legen Sie die CD-ROM ein oder\ninstallieren Sie das "
    "Programm komplett.";

namespace {

// The first paint of the start page: then the dictionary window is made (from the event
// loop, once the paint is through). With ZEK_STARTUP_TIMING set, one line on stderr with
// the monotonic clock and the process's CPU time in nanoseconds at that moment, for the
// start-up benchmark.
class TFirstPaint : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() != QEvent::Paint) return false;
    watched->removeEventFilter(this);
    watched->event(e);
    if (const char* timing = std::getenv("ZEK_STARTUP_TIMING"); timing && *timing) {
      timespec now{}, cpu{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
      std::cerr << "zek-startup-painted " << now.tv_sec * 1000000000LL + now.tv_nsec << " "
                << cpu.tv_sec * 1000000000LL + cpu.tv_nsec << std::endl;
    }
    QTimer::singleShot(0, [] { appObjects().createDictionaryWindow(); });
    deleteLater();
    return true;
  }
};

}  // namespace

bool startupChecks(const std::vector<std::string>& args) {
  QCoreApplication::setApplicationName("zek englisch");
  std::srand(static_cast<unsigned>(std::time(nullptr)));

  const TDisplayInfo display = displayInfo();
  // A refused display is the one reason given: the content was never looked for, so no
  // message about a missing CD-ROM follows.
  if (display.depth <= 8) {
    // Qt paints nothing at this depth, a message box neither: the refusal goes to stderr, and
    // on an X screen the server draws it itself.
    std::string text = zek::cp1252ToUtf8(kMsgTooFewColours);
    std::replace(text.begin(), text.end(), '\r', '\n');
    std::cerr << text << std::endl;
    showPlainXMessage(kMsgTooFewColours);
    return false;
  }
  if (display.width < 800 || display.height < 600) {
    showMessage(kMsgResolutionTooLow, mb::IconStop);
    return false;
  }
  resolveDirectories();
  if (Dirs().PageBase.empty() || Dirs().VocabBase.empty()) {
    showMessage(kMsgCannotStart, mb::IconStop);
    return false;
  }

  // The dictionary is read while the start page is made and painted; it joins the
  // database when the dictionary window is made right after the first paint, or earlier
  // when something needs it.
  appObjects().startDictionaryLoad(Dirs().DictFile1, Dirs().DictFile2);
  appObjects().loadWaveBase(Dirs().DictFile3);

  appState().OnlineHelp = readSettingString("", "Online-Hilfe", "AN") != "AUS";

  if (!args.empty() && args[0] == "register") {
    const std::filesystem::path exe = machineProbe().executable;
    if (showMessage("Soll eine Verkn\xFCpfung mit zek englisch auf dem Desktop erzeugt werden?",
                    mb::YesNo | mb::IconQuestion) == mb::IdYes) {
      createShortcut(exe, "zek englisch", 0);
    }
    createShortcut(exe, "zek englisch", 4);
  }
  return true;
}

void registerTrainerMakers(bool on) {
  if (!on) {
    for (TTrainerKind k : {TTrainerKind::VerbEinstellungen, TTrainerKind::Editor, TTrainerKind::VocEin,
                           TTrainerKind::Sprachlabor})
      registerTrainerWindow(k, nullptr);
    setPresentationMaker(nullptr);
    setSuperSettingsOpener(nullptr);
    return;
  }
  setPresentationMaker(makeSuperFade);
  setSuperSettingsOpener(openSuperSettings);
  registerTrainerWindow(TTrainerKind::VerbEinstellungen, []() -> QWidget* {
    return appObjects().verben ? new T_E_VerbenAuswahl(*appObjects().verben) : nullptr;
  });
  registerTrainerWindow(TTrainerKind::Editor, []() -> QWidget* {
    TAppObjects& o = appObjects();
    if (!o.bibliothek || !o.database) return nullptr;
    o.createDictionaryWindow();  // it saves what the editor changes in the dictionary
    return new TVocEditor(*o.bibliothek, o.dictionary());
  });
  registerTrainerWindow(TTrainerKind::VocEin, []() -> QWidget* {
    TAppObjects& o = appObjects();
    if (!o.bibliothek || !o.einstellungen) return nullptr;
    TVocOptionen::TWege wege;
    wege.editor = [] { return makeTrainerWindow(TTrainerKind::Editor); };
    wege.lernspeicherGeaendert = [] { appObjects().lernspeicherAnwenden(); };
    wege.lernfortschritt = [](QWidget* parent) {
      if (appObjects().lernDatenbank) TLernfortschritt::zeigen(*appObjects().lernDatenbank, parent);
    };
    return new TVocOptionen(*o.bibliothek, *o.einstellungen, std::move(wege));
  });
  registerTrainerWindow(TTrainerKind::Sprachlabor,
                        []() -> QWidget* { return new TSprachlabor(dispatchState().labTopic); });
}

int runProgram(const std::vector<std::string>& args, const TRunObserver& observer) {
  if (!startupChecks(args)) {
    if (observer.refused) observer.refused();
    return 1;
  }
  appState().BackdropColor = readSettingInteger("", "Hintergrund", 8421504);
  appObjects().lernspeicherAnwenden();
  // The application title "*zek englisch" has no place of its own here: as Qt's display
  // name it would be appended to every window title ("zek englisch — *zek englisch").

  // Windows go by hand-over (deleteLater), so nothing here owns them; what is left at
  // the end is deleted below.
  auto* main = createTMain();
  if (main->XPage()) main->XPage()->installEventFilter(new TFirstPaint(main->XPage()));
  appState().PendingCommand.clear();
  appState().StartPage.clear();

  auto* backdrop = new TBackdrop;
  backdrop->setColor(appState().BackdropColor);
  TMain::setSharedBackdrop(backdrop);
  main->setBackdrop(backdrop);
  installMainWindowFactory();
  registerTrainerMakers(true);
  zek::setRecordingWindows({[] { TRecSetup::run(QApplication::activeWindow()); },
                            [](const std::string& word, const std::string& file) {
                              TWaveDB::run(QApplication::activeWindow(), word, file);
                            }});
  QObject::connect(backdrop, &TBackdrop::clickedThrough, backdrop, [backdrop] {
    QWidget* front = QApplication::activeWindow();
    if (!front || front == backdrop) front = learnerWindow();
    if (!front) return;
    front->raise();
    front->activateWindow();
  });
  const TDisplayInfo display = displayInfo();
  if (TBackdrop::wanted(display.width, display.height)) backdrop->show();
  main->show();
  main->raise();
  main->activateWindow();

  if (observer.shown) observer.shown();
  const int code = QApplication::exec();
  if (observer.ended) observer.ended();

  // Normally the orderly exit has destroyed it already; an end by another way still saves.
  appObjects().freeDictionaryWindow();
  std::vector<QPointer<QWidget>> windows;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->parentWidget()) windows.emplace_back(w);
  }
  for (const QPointer<QWidget>& w : windows) delete w.data();
  TMain::setSharedBackdrop(nullptr);
  setMainWindowFactory(nullptr);
  registerTrainerMakers(false);
  zek::setRecordingWindows({});
  setLernspeicher(nullptr);
  appObjects().lernDatenbank.reset();
  return code;
}
