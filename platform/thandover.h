// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <functional>
#include <string>

// The main window and the trainer windows take each other's place: the window that
// hands over puts the next one at its own left and top, shows it and releases itself.
// Only one of them is open at a time; the dictionary window and modal dialogs open beside.

// Places `to` at the left and top of `from`, shows it, then hides `from` and deletes it
// once control returns to the event loop. Without `from` `to` is just shown.
void handOver(QWidget* from, QWidget* to);

// What a closing trainer window creates: a new main window (installed by the shell at
// start-up; trainers know no main window). It may return nullptr (nothing to show).
using TMainWindowFactory = std::function<QWidget*()>;
void setMainWindowFactory(TMainWindowFactory factory);
QWidget* createMainWindow();

// The classic (0) and crazy (1) presentation windows, which the trainer windows start and which
// give their place back to `returnTo` ("Opts", "Editor" or "Main") at `returnPos`. Installed by
// the shell; nullptr when there is none.
using TPresentationMaker = std::function<QWidget*(int mode, const std::string& returnTo, QPoint returnPos)>;
void setPresentationMaker(TPresentationMaker maker);
QWidget* makePresentation(int mode, const std::string& returnTo, QPoint returnPos);

// The superlearning settings dialog, which the trainer windows open from their menus; installed
// by the shell. False when there is none.
using TSuperSettingsOpener = std::function<void(QWidget* parent)>;
void setSuperSettingsOpener(TSuperSettingsOpener opener);
bool openSuperSettingsDialog(QWidget* parent);

// Base of the windows that take the main window's place (trainer options, editor, verb
// selection, language lab, classic and crazy presentations). Closing one hands over to a
// new main window, which shows `StartPage` or runs `PendingCommand` (set them before
// closing, or use the two helpers).
class TTrainerWindow : public QWidget {
  Q_OBJECT
 public:
  explicit TTrainerWindow(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::FramelessWindowHint);

  // Closes and lets the new main window show `page` (relative to the page directory).
  void closeShowing(const std::string& page);
  // Closes and lets the new main window run `command` once it is shown.
  void closeRunning(const std::string& command);

 protected:
  // False keeps the window open (unsaved changes the learner wants to keep editing).
  virtual bool FormCloseQuery() { return true; }
  void closeEvent(QCloseEvent* e) override;

 private:
  bool m_handedOver = false;
};
