#pragma once

#include "platform/messages.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <chrono>
#include <functional>
#include <optional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QWidget;
class TXPage;

// The end-to-end driver: `zek-englisch --drive SCRIPT` runs the program and works through
// a script of learner actions, one a line:
//   click "<text>"        left click on a link, page button or choice cell, or in the trainer
//                         window or modal dialog in front: a button (caption or tool tip), check
//                         box, radio item, tab, list line, item view cell or self-drawn cell
//   click-at X,Y          left click at window coordinates of the window in front
//   drag "<text>" to X,Y  presses on the drag block or sentence part showing the text, moves in
//                         4-pixel steps and releases at X,Y (page coordinates)
//   rightclick "<word>"   right click on a word
//   type "<text>"         keys with text to the focused widget (else the first input field)
//   key <name>            Return F12 Left Right Up Down Home End Backspace Delete Escape Tab
//                         PageUp PageDown Space
//   field "<name>"        focuses the input field with that label, hint or name
//   set "<name>" "<value>"  sets a line edit, memo, combo box item, slider or spin box
//   menu "<Menu/Item>"    an item of the window's menu bar, or of its context menu
//   close                 closes the window in front as its title-bar button does
//   command "<command>"   a page command, as a link "§command" would run it
//   start "<command>"     the same from a posted event; the script goes on at once
//   wait <ms>             runs the event loop that long
//   today <YYYY-MM-DD>    the learning memory's "today" from now on (ZEK_TODAY)
//   shot <file.png>       picture of the window in front
//   answer <yes|no|ok|cancel|retry>   the answer to the next message box
//   choose-file "<path>" | choose-file cancel   the answer to the next file dialog
//   expect-text "<text>"  the text is on the page on show or in the windows' labels, captions,
//                         field texts and list lines
//   expect-page "<name>"  the file name of the page on show, without regard to case
//   expect-window "<title>"  a window with that title is on show
//   expect-state "<name>" on|off|enabled|disabled|visible|hidden|checked|unchecked
//   expect-message "<t>"  a message box with the text came up since the last such check
//   expect-command "<c>"  the page command reached the main window since the last such check
//   expect-media "<c>"    the media command was sent since the last such check (case and
//                         repeated blanks ignored; a part of the command is enough)
//   expect-setting "<key>" "<name>" "<value>"  the settings store holds the value now (a key
//                         without "SOFTWARE\" is below "SOFTWARE\ZEK\zek englisch\")
//   expect-file "<path>"  the file exists and is not empty
//   expect-running yes|no a presentation or game runs
//   expect-done           every exercise of the page on show is solved
// Blank lines and lines starting with "#" are skipped. Texts are UTF-8 inside double quotes
// (\" and \\ escape); they match captions with "&" removed and list lines without their
// marker, without regard to case. Every step runs from a timer, so a modal dialog that a
// step opens takes the next lines. The first failing line ends the run with exit code 1.

enum class TDriveOp { Click, ClickAt, Drag, RightClick, Type, Key, Field, Set, Menu, Close, Command, Start, Wait, Shot,
                      Answer, ChooseFile, ExpectText, ExpectPage, ExpectFocus, ExpectWindow, ExpectState, ExpectMessage,
                      ExpectCommand, ExpectMedia, ExpectSetting, ExpectFile, ExpectRunning, ExpectDone, Today };

enum class TDriveState { On, Off, Enabled, Disabled, Visible, Hidden, Checked, Unchecked };

struct TDriveAction {
  TDriveOp op = TDriveOp::Wait;
  std::string text;  // Windows-1252 for texts; file names (UTF-8) for shot, choose-file, expect-file; the key name
  std::string text2, text3;  // set: the value; expect-setting: name and value
  int value = 0;     // wait: ms; key: Qt key code; answer: mb::Id...; expect-state: TDriveState;
                     // expect-running: 1 yes, 0 no; choose-file: 1 cancel
  int x = 0, y = 0;  // click-at, drag
  int line = 0;      // 1-based
  std::string source;  // the line as written
};

struct TDriveScript {
  std::vector<TDriveAction> actions;
  std::string error;  // the first fault, empty when the script is good
  int errorLine = 0;
  bool ok() const { return error.empty(); }
};

TDriveScript parseDriveScript(std::string_view utf8Text);

// Where a learner's click lands: a widget and a position in it.
struct TDriveSpot {
  QWidget* widget = nullptr;
  QPoint pos;
};

// Finding things on a page (Windows-1252 texts). A link's text is the text of its words
// (and pictures' ALT texts) joined with blanks; an exact match wins over a part.
std::vector<std::string> clickableTexts(const TXPage& page);
// Scrolls the page when the link lies outside the visible part. An exact match (without regard
// to case) wins over a part; `partial` false looks only for exact ones.
bool findClickSpot(TXPage& page, const std::string& text, TDriveSpot& spot, bool partial = true);
bool findWordSpot(TXPage& page, const std::string& word, TDriveSpot& spot);
// The words of the page as one text, blanks between them, plus field texts and captions.
std::string pageText(const TXPage& page);

// The window the learner sees: the visible main window, else a visible trainer window.
QWidget* driveWindow();
TXPage* drivePage();
// The page of a window: the main window's, else a visible page view inside it.
TXPage* pageOf(QWidget* window);

class TDriver : public QObject {
  Q_OBJECT
 public:
  TDriver(TDriveScript script, std::string scriptName);
  ~TDriver() override;

  // Works through the script from the event loop; at the end or the first failure
  // `onFinished` gets the exit code (default: QCoreApplication::exit).
  void start();
  std::function<void(int code)> onFinished;

  // One action (wait excepted) at once; the reason it failed, "" when it worked.
  std::string perform(const TDriveAction& action);
  // Lets posted events and deferred work run.
  static void settle();

  // No further step runs (the program or the test loop ended).
  void halt() { m_halted = true; }
  bool finished() const { return m_finished; }
  int nextLine() const;
  zek::ScriptedDialogs& dialogs() { return *m_dialogs; }
  // Writes the message boxes not written yet to stderr (they were answered by the script).
  void reportNewMessages();

 private:
  void step();
  bool pageBusy() const;
  void arm();
  void postStep();
  // Where keys go: the field a step focused, the focused widget, the first open field of
  // the page, else the page or the window in front.
  QWidget* keyTarget(const std::vector<QWidget*>& windows, TXPage* page);
  void finish(int code);

  TDriveScript m_script;
  std::string m_name;
  std::unique_ptr<zek::ScriptedDialogs> m_dialogs;
  static constexpr int kWatchMs = 10;
  static constexpr std::chrono::milliseconds kNestedStepDelay{20};
  static constexpr int kBusyPollMs = 5;
  static constexpr std::chrono::seconds kBusyLimit{10};
  // The step that is due next: posted, or waiting for the step on the way to finish.
  unsigned m_stepToken = 0, m_pendingToken = 0;
  std::chrono::steady_clock::time_point m_pendingSince;
  // Since when the next step waits for a page that is still loading or running a command.
  std::optional<std::chrono::steady_clock::time_point> m_pageBusySince;
  int m_pendingLevel = 0;  // the event loop level it was due at
  std::size_t m_next = 0;
  std::size_t m_reported = 0;  // messages written to stderr
  std::size_t m_checked = 0;   // messages an expect-message has looked at
  std::size_t m_commandsChecked = 0;  // page commands an expect-command has looked at
  std::size_t m_mediaChecked = 0;     // media commands (by number) an expect-media has looked at
  QPointer<QWidget> m_field;          // the field a `field` or `set` step focused
  bool m_finished = false;
  bool m_halted = false;
};

// Reads the script file; nullptr (with the reason on stderr) when it cannot be used.
std::unique_ptr<TDriver> loadDriver(const std::string& scriptFile);

// `zek-englisch --drive SCRIPT ARGS...`: the program's run with the learner's actions from the
// script. Its dialogs answer every message box, also those of the start-up checks. The exit
// code: the program's, 1 at the first failing line, 2 when the script cannot be used.
int runDriven(const std::vector<std::string>& args);
