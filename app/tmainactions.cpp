#include "app/tmainactions.h"

#include "app/tappobjects.h"
#include "app/tmain.h"
#include "lab/trecsetup.h"
#include "lab/twavedb.h"
#include "page/txpage.h"
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/messages.h"
#include "platform/thandover.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

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

void TMainActions::goEditor() {
  // The dictionary window closes first once it exists.
  appState().StartPage.clear();
  openTrainer(TTrainerKind::Editor, "Der Vokabel-Editor");
}

void TMainActions::goVocEin() {
  appState().StartPage.clear();
  openTrainer(TTrainerKind::VocEin, "Die Vokabeltrainer-Optionen", true);
}

void TMainActions::goVerbEinstellungen() { openTrainer(TTrainerKind::VerbEinstellungen, "Die Verbauswahl"); }

void TMainActions::goSprachlabor() { openTrainer(TTrainerKind::Sprachlabor, "Das Sprachlabor"); }

bool TMainActions::go() {
  notYet(dispatchState().requestedMode == 100 ? "Die Vokabelabfrage" : "Superlearning");
  return true;
}

void TMainActions::recSetup() { TRecSetup::run(&m_main); }

void TMainActions::waveBase() { TWaveDB::run(&m_main); }

void TMainActions::openUrl(const std::string& url) {
  QDesktopServices::openUrl(QUrl(zek::toQString(url)));
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
