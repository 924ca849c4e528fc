#include "app/tmain.h"

#include "app/tappobjects.h"
#include "media/txwavebase.h"
#include "app/tbackdrop.h"
#include "app/tmainactions.h"
#include "page/txpage.h"
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/screensaver.h"
#include "platform/thandover.h"
#include "verbs/tverben.h"
#include "verbs/txpageverbseite.h"
#include "vocab/tbibliothek.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include <stdexcept>

namespace {

const char* const kMsgStartPageMissing =
    "Eine Datei konnte nicht gefunden werden!\nBitte \xFC" "berpr\xFC" "fen Sie, ob die CD-ROM eingelegt ist!";

TBackdrop*& sharedBackdrop() {
  static TBackdrop* backdrop = nullptr;
  return backdrop;
}

}  // namespace

QEvent::Type TMain::RunPendingCommandEvent() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType(QEvent::User + 1066));
  return type;
}

void TMain::setSharedBackdrop(TBackdrop* backdrop) { sharedBackdrop() = backdrop; }

// FormCreate: the window and its page view; the trainer objects outlive every main window.
TMain::TMain(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint) {
  setWindowTitle("zek englisch");
  setFixedSize(800, 572);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);
  m_backdrop = sharedBackdrop();

  appObjects().createTrainers();
  m_xpage = new TXPage(this);
  m_xpage->setGeometry(0, 0, 800, 572);
  m_xpage->setHTMLChild(false);
  m_xpage->setColorTXT(kColorBlack);
  m_xpage->setSonderzeichen("");
  m_xpage->OnFileChange = [this](TXPage* page) { setPageOnShow(zek::fileNamePart(page->XFile())); };
  m_xpage->OnClick = [this](TXPage*) { XPageClick(); };
  m_xpage->OnRightClick = [this](TXPage*, const QRect&, const std::string& word) { m_actions->lookUpWord(word); };
  m_xpage->Bedingung().add("e");
  if (!Dirs().SoundDir.empty()) m_xpage->Bedingung().add("cdrom");
  if (appObjects().bibliothek) appObjects().bibliothek->setSeite(m_xpage);
  if (appObjects().verben) appObjects().verben->setSeite(std::make_unique<TXPageVerbSeite>(m_xpage));
  // No presentation runs while a main window is being made.
  setPresentationRunning(false);
  m_actions = std::make_unique<TMainActions>(*this);
  placeOnScreen();
}

TMain::~TMain() {
  // The library must not keep drawing on a page that goes with this window.
  if (appObjects().bibliothek && appObjects().bibliothek->Seite() == m_xpage) appObjects().bibliothek->setSeite(nullptr);
}

void TMain::placeOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen || screen->geometry().width() == 800) return;
  const QRect g = screen->geometry();
  move(g.x() + (g.width() - width()) / 2, g.y() + (g.height() - height()) / 2);
}

void TMain::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  // Restoring a minimised window is no new show.
  if (!e->spontaneous()) FormShow();
}

void TMain::FormShow() {
  const std::string mainPage = Dirs().PageBase + "hzek/main.htx";
  while (!zek::fileExists(mainPage)) {
    if (showMessage(kMsgStartPageMissing, mb::RetryCancel | mb::IconStop) != mb::IdRetry) {
      // After the show has finished: closing from inside it would leave a half-shown window.
      QMetaObject::invokeMethod(this, [this] { leaveWithoutQuestion(); }, Qt::QueuedConnection);
      return;
    }
  }
  m_xpage->OnCommand = [this](TXPage*, const std::string& command) { runPageCommand(command); };
  if (!appState().PendingCommand.empty()) {
    m_xpage->setColorBGR(static_cast<TColor>(appState().BackdropColor));
    QCoreApplication::postEvent(this, new QEvent(RunPendingCommandEvent()));
  } else if (!appState().StartPage.empty()) {
    const std::string page = appState().StartPage;
    appState().StartPage.clear();
    m_xpage->setXFile(Dirs().PageBase + "hzek/" + page);
  } else {
    m_xpage->setXFile(mainPage);
  }
}

void TMain::customEvent(QEvent* e) {
  if (e->type() != RunPendingCommandEvent()) {
    QWidget::customEvent(e);
    return;
  }
  if (appState().PendingCommand.empty()) return;
  m_xpage->setXPath(Dirs().PageBase + "hzek/");
  // Taken before it runs: the command may hand over to a window that sets the next one.
  const std::string command = appState().PendingCommand;
  appState().PendingCommand.clear();
  runPageCommand(command);
}

static std::vector<std::string>& commandLog() {
  static std::vector<std::string> log;
  return log;
}

const std::vector<std::string>& pageCommandLog() { return commandLog(); }

void TMain::runPageCommand(const std::string& command) {
  // Bounded: a long session keeps only its recent commands.
  if (commandLog().size() >= 1000) commandLog().erase(commandLog().begin(), commandLog().begin() + 500);
  commandLog().push_back(command);
  // A faulty command part (an unreadable number) ends the command text silently, as the
  // page view swallows what a command raises; the page stays.
  try {
    PageCommand(*m_actions, command);
  } catch (const std::exception&) {
  }
}

bool TMain::systemCommand(int code) const {
  return !(code == kScreenSaveCommand && appState().PresentationRunning);
}

void TMain::mDesktopClick() {
  if (!m_backdrop) return;
  if (m_backdrop->isVisible()) {
    m_backdrop->hide();
    return;
  }
  m_backdrop->show();
  raise();
  activateWindow();
}

void TMain::FormClick() {
  if (!OnTechnoClick) return;
  try {
    OnTechnoClick();
  } catch (...) {
    // The presentation goes on as if the click had not been.
  }
}

void TMain::XPageClick() {
  if (!OnBingoClick) return;
  try {
    OnBingoClick();
  } catch (...) {
  }
}

void TMain::mouseReleaseEvent(QMouseEvent* e) {
  FormClick();
  QWidget::mouseReleaseEvent(e);
}

void TMain::closeEvent(QCloseEvent* e) {
  // A run inside a page command uses the trainers: it ends first, then the window closes.
  if (!m_leaving && !QCoreApplication::closingDown() && m_actions->stopRunForExit()) {
    e->ignore();
    return;
  }
  // A close from the window manager takes the same way out as the "end" command.
  if (m_leaving || QCoreApplication::closingDown() || Beenden(this)) {
    e->accept();
  } else {
    e->ignore();
  }
}

void TMain::leaveWithoutQuestion() {
  m_leaving = true;
  leaveProgram(this);
  hide();
}

TMain* createTMain() { return new TMain; }

void installMainWindowFactory() {
  setMainWindowFactory([]() -> QWidget* { return createTMain(); });
}

TMain* currentMain() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* main = qobject_cast<TMain*>(w);
    if (main && main->isVisible()) return main;
  }
  return nullptr;
}

QWidget* learnerWindow() {
  if (TMain* main = currentMain()) return main;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (qobject_cast<TTrainerWindow*>(w) && w->isVisible()) return w;
  }
  return nullptr;
}

bool Beenden(TMain* main) {
  if (!main || !zek::equalsNoCase(main->pageOnShow(), "bye.htx")) {
    if (showMessage("Programm wirklich verlassen?", mb::YesNo | mb::IconQuestion) != mb::IdYes) {
      QCoreApplication::processEvents();
      return false;
    }
  }
  leaveProgram(main);
  return true;
}

void leaveProgram(TMain* main) {
  if (!QCoreApplication::closingDown()) QCoreApplication::processEvents();
  try {
    appObjects().freeTrainers();
    appObjects().freeDictionaryWindow();
    if (appObjects().waveBase) appObjects().waveBase->saveAtExit();
    saveGeneralSettings();
    appObjects().freeWaveBase();
    if (main && main->backdrop() && main->backdrop()->isVisible()) main->backdrop()->hide();
  } catch (...) {
    if (!QCoreApplication::closingDown()) QCoreApplication::processEvents();
  }
  // exit, not quit: quit would first close every window and so ask again.
  QCoreApplication::exit(0);
}
