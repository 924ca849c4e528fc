#pragma once

#include <QEvent>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TBackdrop;
class TXPage;
class TMainActions;

// The borderless 800 x 572 main window; its page view shows the pages. It is created at
// start-up and again by every trainer window that closes; it releases itself when it hands
// over to a trainer window (platform/thandover.h).
class TMain : public QWidget {
  Q_OBJECT
 public:
  explicit TMain(QWidget* parent = nullptr);
  ~TMain() override;

  // The posted message that runs `PendingCommand` once the window is shown.
  static QEvent::Type RunPendingCommandEvent();
  // The system command that starts the screen saver.
  static constexpr int kScreenSaveCommand = 0xF140;

  // Name of the page on show (file name part), "" when none.
  const std::string& pageOnShow() const { return m_pageOnShow; }
  void setPageOnShow(std::string name) { m_pageOnShow = std::move(name); }

  void setBackdrop(TBackdrop* backdrop) { m_backdrop = backdrop; }
  TBackdrop* backdrop() const { return m_backdrop; }
  // The backdrop every new main window gets (the one the program created at start-up).
  static void setSharedBackdrop(TBackdrop* backdrop);

  // Places the window as at creation: centred, except on a screen exactly 800 pixels wide.
  void placeOnScreen();

  TXPage* XPage() const { return m_xpage; }
  TMainActions& actions() { return *m_actions; }

  // What showing the window does: waits for the start page (Retry/Cancel), connects the
  // page commands and shows StartPage, main.htx or runs PendingCommand. Runs on every show.
  void FormShow();
  // Runs a command text as a page link would, reporting a faulty part in a message.
  void runPageCommand(const std::string& command);
  // False: the system command is refused (the screen saver while a presentation runs).
  bool systemCommand(int code) const;
  // Backdrop on or off; when it comes on the main window is brought to the front.
  void mDesktopClick();

  // Clicks the running presentations take: the Techno style the window's, Bingo the page's.
  // Set by whoever starts them, cleared when they end. Failures in them are ignored.
  std::function<void()> OnTechnoClick, OnBingoClick;
  void FormClick();
  void XPageClick();

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void customEvent(QEvent* e) override;

 private:
  void leaveWithoutQuestion();

  std::string m_pageOnShow;
  TBackdrop* m_backdrop = nullptr;
  TXPage* m_xpage = nullptr;
  std::unique_ptr<TMainActions> m_actions;
  bool m_leaving = false;
};

// A new main window with the shared backdrop, not yet shown. Installed as the window
// that closing trainer windows create (setMainWindowFactory) by installMainWindowFactory.
TMain* createTMain();
void installMainWindowFactory();

// The visible main window, or nullptr (while a trainer window has taken its place).
TMain* currentMain();
// The window the learner sees: the visible main window, else a visible trainer window.
QWidget* learnerWindow();

// Every page command the main windows ran, oldest first (the driver checks answers with it).
const std::vector<std::string>& pageCommandLog();

// The orderly exit. Returns false when the learner chose to stay.
bool Beenden(TMain* main);
// The orderly exit without the question (the start page could not be found).
void leaveProgram(TMain* main);
