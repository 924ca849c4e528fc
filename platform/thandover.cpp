// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/thandover.h"

#include "platform/appstate.h"

#include <QCloseEvent>
#include <QCoreApplication>

namespace {

TMainWindowFactory& mainWindowFactory() {
  static TMainWindowFactory factory;
  return factory;
}

TPresentationMaker& presentationMaker() {
  static TPresentationMaker maker;
  return maker;
}

TSuperSettingsOpener& superSettingsOpener() {
  static TSuperSettingsOpener opener;
  return opener;
}

}  // namespace

void handOver(QWidget* from, QWidget* to) {
  if (!to) return;
  if (from) to->move(from->pos());
  to->show();
  to->raise();
  to->activateWindow();
  if (from && from != to) {
    from->hide();
    from->deleteLater();
  }
}

void setMainWindowFactory(TMainWindowFactory factory) { mainWindowFactory() = std::move(factory); }

QWidget* createMainWindow() { return mainWindowFactory() ? mainWindowFactory()() : nullptr; }

void setPresentationMaker(TPresentationMaker maker) { presentationMaker() = std::move(maker); }

QWidget* makePresentation(int mode, const std::string& returnTo, QPoint returnPos) {
  return presentationMaker() ? presentationMaker()(mode, returnTo, returnPos) : nullptr;
}

TTrainerWindow::TTrainerWindow(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags) {
  setWindowTitle("zek englisch");
}

void TTrainerWindow::closeShowing(const std::string& page) {
  appState().StartPage = page;
  appState().PendingCommand.clear();
  close();
}

void TTrainerWindow::closeRunning(const std::string& command) {
  appState().PendingCommand = command;
  close();
}

void TTrainerWindow::closeEvent(QCloseEvent* e) {
  if (m_handedOver) {
    e->accept();
    return;
  }
  // While the program ends nothing takes the window's place.
  if (QCoreApplication::closingDown()) {
    e->accept();
    return;
  }
  if (!FormCloseQuery()) {
    e->ignore();
    return;
  }
  e->accept();
  m_handedOver = true;
  if (QWidget* next = createMainWindow()) {
    handOver(this, next);
  } else {
    deleteLater();
  }
}

void setSuperSettingsOpener(TSuperSettingsOpener opener) { superSettingsOpener() = std::move(opener); }

bool openSuperSettingsDialog(QWidget* parent) {
  if (!superSettingsOpener()) return false;
  superSettingsOpener()(parent);
  return true;
}
