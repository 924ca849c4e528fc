#pragma once

#include "platform/messages.h"

#include <QObject>
#include <QPoint>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QWidget;
class TXPage;

// The end-to-end driver: `zek-englisch --drive SCRIPT` runs the program and works through
// a script of learner actions, one a line:
//   click "<text>"        left click on a link, button or choice cell showing the text
//   rightclick "<word>"   right click on a word
//   type "<text>"         keys with text to the focused widget (else the first input field)
//   key <name>            Return F12 Left Right Up Down Home End Backspace Delete Escape Tab
//   command "<command>"   a page command, as a link "§command" would run it
//   wait <ms>             runs the event loop that long
//   shot <file.png>       picture of the window on show
//   expect-text "<text>"  the text is on the page on show (words, field texts, captions)
//   expect-page "<name>"  the file name of the page on show, without regard to case
//   expect-message "<t>"  a message box with the text came up since the last such check
//   expect-command "<c>"  the page command reached the main window since the last such check
//   answer <yes|no|ok|cancel|retry>   the answer to the next message box
// Blank lines and lines starting with "#" are skipped. Texts are UTF-8 inside double quotes
// (\" and \\ escape). The first failing line ends the run with exit code 1.

enum class TDriveOp { Click, RightClick, Type, Key, Command, Wait, Shot, ExpectText, ExpectPage, ExpectMessage, ExpectCommand,
                      Answer };

struct TDriveAction {
  TDriveOp op = TDriveOp::Wait;
  std::string text;  // Windows-1252 for texts; the file name (UTF-8) for shot; the key name for key
  int value = 0;     // wait: ms; key: Qt key code; answer: mb::Id...
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
// Scrolls the page when the link lies outside the visible part.
bool findClickSpot(TXPage& page, const std::string& text, TDriveSpot& spot);
bool findWordSpot(TXPage& page, const std::string& word, TDriveSpot& spot);
// The words of the page as one text, blanks between them, plus field texts and captions.
std::string pageText(const TXPage& page);

// The window the learner sees: the visible main window, else a visible trainer window.
QWidget* driveWindow();
TXPage* drivePage();

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
  void finish(int code);

  TDriveScript m_script;
  std::string m_name;
  std::unique_ptr<zek::ScriptedDialogs> m_dialogs;
  std::size_t m_next = 0;
  std::size_t m_reported = 0;  // messages written to stderr
  std::size_t m_checked = 0;   // messages an expect-message has looked at
  std::size_t m_commandsChecked = 0;  // page commands an expect-command has looked at
  bool m_finished = false;
  bool m_halted = false;
};

// Reads the script file; nullptr (with the reason on stderr) when it cannot be used.
std::unique_ptr<TDriver> loadDriver(const std::string& scriptFile);
