// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class TBibliothek;
class TPump;
class TSuperOptions;
class TXPage;

// A presentation or game that runs inside the page command that started it, drawing on the
// main page view and letting window events run itself (Bingo, Seventies, Techno). The shell
// sets PresentationRunning, the arrow cursor and unlocked page input around run(), routes
// "stop" and the clicks to it, and loads StartPage afterwards (the page styles).
class TLongRun {
 public:
  virtual ~TLongRun() = default;
  virtual void run() = 0;
  // "stop", or the main window closing: run() returns soon after.
  virtual void stop() = 0;
  // A click on the page view.
  virtual void pageClick() {}
  // A click on the main window itself.
  virtual void windowClick() {}
  // Whether a click or any key ends the run; otherwise only Escape does (a game whose
  // clicks are its moves).
  virtual bool clickEnds() const { return true; }
};

// What a page style gets from the shell when "super" starts it.
struct TPageRunEnv {
  TXPage& page;
  TBibliothek& bibliothek;
  TSuperOptions& options;
  TPump& pump;
};
