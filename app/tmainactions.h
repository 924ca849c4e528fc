// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/tpagecommand.h"
#include "app/ttrainerwindows.h"

#include <QPoint>

#include <string>

class QWidget;
class TLongRun;
class TMain;

// A classic (0) or crazy (1) presentation window over the loaded library, giving its place back
// to `returnTo` ("Opts", "Editor", else a new main window); nullptr without a library.
QWidget* makeSuperFade(int mode, const std::string& returnTo, QPoint returnPos);
// The superlearning settings dialog, modal over `parent`; the options are stored when it ends.
void openSuperSettings(QWidget* parent);

// The command table's actions over the main window and the trainer objects. Rows whose
// trainer window or quiz does not exist yet say so in a message instead of doing nothing.
class TMainActions : public TCommandActions {
 public:
  explicit TMainActions(TMain& main) : m_main(main) {}

  bool verbTrainerExists() const override;
  void processPendingMessages() override;

  void goSprachlabor() override;
  void stopPresentation() override;
  void goEditor() override;
  void wbZeigen() override;
  void recSetup() override;
  void waveBase() override;
  void goVocEin() override;
  void goVerbEinstellungen() override;
  bool verbTrainerReady() const override;
  void startVerbRound() override;
  void vocAus() override;
  void vokFaellig() override;
  void verbFaellig() override;
  void lernfortschritt() override;
  void verbWeiter() override;
  void verbAnswer(const std::string& text) override;
  void vokabelWeiter() override;
  void vokabelAnswer(const std::string& result) override;
  void verbPreset(int number) override;
  bool go() override;
  void vegas() override;
  void goAbfrage() override;
  void goSuper() override;
  void superOpts() override;
  void openUrl(const std::string& url) override;
  void seekCd() override;
  void beenden() override;
  // A right click on a word of the page: the dictionary window at that word.
  void lookUpWord(const std::string& word);

  // Runs a presentation or game on the main page view to its end (PresentationRunning,
  // arrow cursor, clicks and "stop" routed to it).
  void runLongRun(TLongRun& run);
  // The main window is being closed while something runs: stops it and closes the window
  // again once it has ended. False when nothing runs.
  bool stopRunForExit();

 private:
  // "<what> ist (sind) in dieser Version noch nicht verfügbar."
  static void notYet(const char* what, bool plural = false);
  // Hands the main window over to the trainer's window; says so when there is none yet.
  bool openTrainer(TTrainerKind kind, const char* what, bool plural = false);
  TMain& m_main;
  bool m_exitAfterRun = false;
};
