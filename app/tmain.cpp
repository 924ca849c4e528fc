#include "app/tmain.h"

#include "app/tappobjects.h"
#include "app/tbackdrop.h"
#include "app/tmainactions.h"
#include "page/txpage.h"
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include <stdexcept>

TMain::TMain(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint) {
  setWindowTitle("zek englisch");
  setFixedSize(800, 572);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);
  m_xpage = new TXPage(this);
  m_xpage->setGeometry(0, 0, 800, 572);
  m_xpage->OnFileChange = [this](TXPage* page) { setPageOnShow(zek::fileNamePart(page->XFile())); };
  m_xpage->Bedingung().add("e");
  if (!Dirs().SoundDir.empty()) m_xpage->Bedingung().add("cdrom");
  m_actions = std::make_unique<TMainActions>(*this);
  m_xpage->OnCommand = [this](TXPage*, const std::string& command) {
    // A faulty command part ends the command text with a message; the page stays.
    try {
      PageCommand(*m_actions, command);
    } catch (const std::exception& e) {
      showMessage(e.what(), mb::IconStop);
    }
  };
  if (!Dirs().PageBase.empty()) m_xpage->setXFile(Dirs().PageBase + "hzek/main.htx");
  placeOnScreen();
}

TMain::~TMain() = default;

void TMain::placeOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen || screen->geometry().width() == 800) return;
  const QRect g = screen->geometry();
  move(g.x() + (g.width() - width()) / 2, g.y() + (g.height() - height()) / 2);
}

void TMain::closeEvent(QCloseEvent* e) {
  // A close from the window manager takes the same way out as the "end" command.
  if (QCoreApplication::closingDown() || Beenden(this)) {
    e->accept();
  } else {
    e->ignore();
  }
}

bool Beenden(TMain* main) {
  if (!main || !zek::equalsNoCase(main->pageOnShow(), "bye.htx")) {
    if (showMessage("Programm wirklich verlassen?", mb::YesNo | mb::IconQuestion) != mb::IdYes) {
      QCoreApplication::processEvents();
      return false;
    }
  }
  if (!QCoreApplication::closingDown()) QCoreApplication::processEvents();
  try {
    appObjects().freeTrainers();
    saveGeneralSettings();
    if (main && main->backdrop() && main->backdrop()->isVisible()) main->backdrop()->hide();
  } catch (...) {
    if (!QCoreApplication::closingDown()) QCoreApplication::processEvents();
  }
  QCoreApplication::quit();
  return true;
}
