#pragma once

#include <QWidget>

#include <memory>
#include <string>

class TBackdrop;
class TXPage;
class TMainActions;

// The borderless 800 x 572 main window; its page view shows the pages.
class TMain : public QWidget {
  Q_OBJECT
 public:
  explicit TMain(QWidget* parent = nullptr);
  ~TMain() override;

  // Name of the page on show (file name part), "" when none.
  const std::string& pageOnShow() const { return m_pageOnShow; }
  void setPageOnShow(std::string name) { m_pageOnShow = std::move(name); }

  void setBackdrop(TBackdrop* backdrop) { m_backdrop = backdrop; }
  TBackdrop* backdrop() const { return m_backdrop; }

  // Places the window as at creation: centred, except on a screen exactly 800 pixels wide.
  void placeOnScreen();

  TXPage* XPage() const { return m_xpage; }

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  std::string m_pageOnShow;
  TBackdrop* m_backdrop = nullptr;
  TXPage* m_xpage = nullptr;
  std::unique_ptr<TMainActions> m_actions;
};

// The orderly exit. Returns false when the learner chose to stay.
bool Beenden(TMain* main);
