#include "drive/tdriver.h"

#include "app/startup.h"
#include "app/tmain.h"
#include "drive/tdrivecells.h"
#include "drive/tdrivewidgets.h"
#include "media/mediacommand.h"
#include "page/txpage.h"
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/settingsstore.h"
#include "platform/thandover.h"
#include "widgets/txcheckbox.h"
#include "widgets/txcolorbutton.h"
#include "widgets/txcoloredit.h"
#include "widgets/txmultiplechoice.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>

namespace {

// ---- parsing

struct TKeyName {
  const char* name;
  int key;
  const char* text;
};

constexpr TKeyName kKeys[] = {
    {"Return", Qt::Key_Return, "\r"}, {"F12", Qt::Key_F12, ""},         {"Left", Qt::Key_Left, ""},
    {"Right", Qt::Key_Right, ""},     {"Up", Qt::Key_Up, ""},           {"Down", Qt::Key_Down, ""},
    {"Home", Qt::Key_Home, ""},       {"End", Qt::Key_End, ""},         {"Backspace", Qt::Key_Backspace, "\b"},
    {"Delete", Qt::Key_Delete, "\x7f"}, {"Escape", Qt::Key_Escape, "\x1b"}, {"Tab", Qt::Key_Tab, "\t"},
    {"PageUp", Qt::Key_PageUp, ""},   {"PageDown", Qt::Key_PageDown, ""}, {"Space", Qt::Key_Space, " "},
    {"Shift+Tab", Qt::Key_Backtab, ""}, {"1", Qt::Key_1, "1"}, {"2", Qt::Key_2, "2"}, {"3", Qt::Key_3, "3"},
    {"4", Qt::Key_4, "4"}, {"5", Qt::Key_5, "5"}, {"6", Qt::Key_6, "6"}, {"7", Qt::Key_7, "7"}, {"8", Qt::Key_8, "8"}, {"9", Qt::Key_9, "9"},
};

const TKeyName* keyByName(std::string_view name) {
  for (const TKeyName& k : kKeys) {
    if (name == k.name) return &k;
  }
  return nullptr;
}

const TKeyName* keyByCode(int key) {
  for (const TKeyName& k : kKeys) {
    if (key == k.key) return &k;
  }
  return nullptr;
}

struct TOpName {
  const char* name;
  TDriveOp op;
};

constexpr TOpName kOps[] = {
    {"click", TDriveOp::Click},             {"click-at", TDriveOp::ClickAt},
    {"drag", TDriveOp::Drag},               {"rightclick", TDriveOp::RightClick},
    {"type", TDriveOp::Type},               {"key", TDriveOp::Key},
    {"field", TDriveOp::Field},             {"set", TDriveOp::Set},
    {"menu", TDriveOp::Menu},               {"close", TDriveOp::Close},
    {"command", TDriveOp::Command},         {"start", TDriveOp::Start},
    {"wait", TDriveOp::Wait},               {"shot", TDriveOp::Shot},
    {"answer", TDriveOp::Answer},           {"choose-file", TDriveOp::ChooseFile},
    {"expect-text", TDriveOp::ExpectText},  {"expect-page", TDriveOp::ExpectPage},
    {"expect-focus", TDriveOp::ExpectFocus},
    {"expect-window", TDriveOp::ExpectWindow}, {"expect-state", TDriveOp::ExpectState},
    {"expect-message", TDriveOp::ExpectMessage}, {"expect-command", TDriveOp::ExpectCommand},
    {"expect-media", TDriveOp::ExpectMedia}, {"expect-setting", TDriveOp::ExpectSetting},
    {"expect-file", TDriveOp::ExpectFile},  {"expect-running", TDriveOp::ExpectRunning},
    {"expect-done", TDriveOp::ExpectDone},  {"today", TDriveOp::Today},
};

struct TStateName {
  const char* name;
  TDriveState state;
};

constexpr TStateName kStates[] = {
    {"on", TDriveState::On},           {"off", TDriveState::Off},         {"enabled", TDriveState::Enabled},
    {"disabled", TDriveState::Disabled}, {"visible", TDriveState::Visible}, {"hidden", TDriveState::Hidden},
    {"checked", TDriveState::Checked}, {"unchecked", TDriveState::Unchecked},
};

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// A double-quoted text with \" and \\ at the start of `arg`, which keeps what follows it.
bool readQuotedHead(std::string_view& arg, std::string& out, std::string& error) {
  if (arg.empty() || arg.front() != '"') {
    error = "Text in Anf\xFChrungszeichen erwartet";
    return false;
  }
  out.clear();
  std::size_t i = 1;
  for (; i < arg.size() && arg[i] != '"'; ++i) {
    if (arg[i] == '\\' && i + 1 < arg.size() && (arg[i + 1] == '"' || arg[i + 1] == '\\')) ++i;
    out.push_back(arg[i]);
  }
  if (i >= arg.size()) {
    error = "schlie\xDF" "endes Anf\xFChrungszeichen fehlt";
    return false;
  }
  arg = trim(arg.substr(i + 1));
  return true;
}

bool nothingMore(std::string_view rest, std::string& error) {
  if (rest.empty()) return true;
  error = "nach dem Text darf nichts mehr stehen";
  return false;
}

// A double-quoted argument; the rest of the line must be empty.
bool readQuoted(std::string_view arg, std::string& out, std::string& error) {
  return readQuotedHead(arg, out, error) && nothingMore(arg, error);
}

// A quoted UTF-8 text at the start of `arg` as Windows-1252.
bool readText(std::string_view& arg, std::string& out, std::string& error, bool mayBeEmpty) {
  std::string utf8;
  if (!readQuotedHead(arg, utf8, error)) return false;
  const auto cp1252 = zek::utf8ToCp1252Strict(utf8);
  if (!cp1252) {
    error = "der Text enth\xE4lt Zeichen ohne Windows-1252-Code";
    return false;
  }
  if (cp1252->empty() && !mayBeEmpty) {
    error = "leerer Text";
    return false;
  }
  out = *cp1252;
  return true;
}

// "X,Y" with non-negative whole numbers.
bool readPoint(std::string_view arg, int& x, int& y, std::string& error) {
  const std::size_t comma = arg.find(',');
  const auto number = [](std::string_view t, int& v) {
    t = trim(t);
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    return !t.empty() && ec == std::errc() && end == t.data() + t.size() && v >= 0 && v <= 100000;
  };
  if (comma == std::string_view::npos || !number(arg.substr(0, comma), x) || !number(arg.substr(comma + 1), y)) {
    error = "Position X,Y erwartet";
    return false;
  }
  return true;
}

bool parseLine(std::string_view line, TDriveAction& a, std::string& error) {
  const std::size_t blank = line.find_first_of(" \t");
  const std::string_view word = line.substr(0, blank);
  std::string_view arg = blank == std::string_view::npos ? std::string_view() : trim(line.substr(blank));
  const auto op = std::find_if(std::begin(kOps), std::end(kOps), [&](const TOpName& o) { return word == o.name; });
  if (op == std::end(kOps)) {
    error = "unbekannte Aktion \"" + zek::utf8ToCp1252(word) + "\"";
    return false;
  }
  a.op = op->op;
  switch (a.op) {
    case TDriveOp::Click:
    case TDriveOp::RightClick:
    case TDriveOp::Field:
    case TDriveOp::Menu:
    case TDriveOp::Command:
    case TDriveOp::Start:
    case TDriveOp::ExpectText:
    case TDriveOp::ExpectPage:
    case TDriveOp::ExpectFocus:
    case TDriveOp::ExpectWindow:
    case TDriveOp::ExpectMessage:
    case TDriveOp::ExpectCommand:
    case TDriveOp::ExpectMedia:
      return readText(arg, a.text, error, false) && nothingMore(arg, error);
    case TDriveOp::Type:
      return readText(arg, a.text, error, true) && nothingMore(arg, error);
    case TDriveOp::Set:
      return readText(arg, a.text, error, false) && readText(arg, a.text2, error, true) && nothingMore(arg, error);
    case TDriveOp::ExpectSetting:
      return readText(arg, a.text, error, false) && readText(arg, a.text2, error, false) &&
             readText(arg, a.text3, error, true) && nothingMore(arg, error);
    case TDriveOp::ClickAt:
      return readPoint(arg, a.x, a.y, error);
    case TDriveOp::Drag: {
      if (!readText(arg, a.text, error, false)) return false;
      if (arg.substr(0, 2) != "to" || (arg.size() > 2 && arg[2] != ' ' && arg[2] != '\t')) {
        error = "\"to X,Y\" erwartet";
        return false;
      }
      return readPoint(trim(arg.substr(2)), a.x, a.y, error);
    }
    case TDriveOp::ExpectState: {
      if (!readText(arg, a.text, error, false)) return false;
      for (const TStateName& st : kStates) {
        if (arg == st.name) {
          a.text2 = st.name;
          a.value = static_cast<int>(st.state);
          return true;
        }
      }
      error = "Zustand on, off, enabled, disabled, visible, hidden, checked oder unchecked erwartet";
      return false;
    }
    case TDriveOp::ExpectRunning:
      if (arg == "yes" || arg == "no") {
        a.value = arg == "yes";
        return true;
      }
      error = "yes oder no erwartet";
      return false;
    case TDriveOp::Close:
    case TDriveOp::ExpectDone:
      if (arg.empty()) return true;
      error = "diese Aktion nimmt keinen Wert";
      return false;
    case TDriveOp::ChooseFile:
      if (arg == "cancel") {
        a.value = 1;
        return true;
      }
      [[fallthrough]];
    case TDriveOp::ExpectFile:
      if (!readQuoted(arg, a.text, error)) return false;
      if (a.text.empty()) {
        error = "Dateiname fehlt";
        return false;
      }
      return true;
    case TDriveOp::Key: {
      const TKeyName* k = keyByName(arg);
      if (!k) {
        error = "unbekannte Taste \"" + zek::utf8ToCp1252(arg) + "\"";
        return false;
      }
      a.text = k->name;
      a.value = k->key;
      return true;
    }
    case TDriveOp::Today:
      if (arg.size() != 10 || arg[4] != '-' || arg[7] != '-') {
        error = "Datum als JJJJ-MM-TT erwartet";
        return false;
      }
      a.text = std::string(arg);
      return true;
    case TDriveOp::Wait: {
      int ms = -1;
      const auto [end, ec] = std::from_chars(arg.data(), arg.data() + arg.size(), ms);
      if (ec != std::errc() || end != arg.data() + arg.size() || ms < 0 || ms > 600000) {
        error = "Wartezeit in Millisekunden (0 bis 600000) erwartet";
        return false;
      }
      a.value = ms;
      return true;
    }
    case TDriveOp::Shot: {
      std::string file(arg);
      if (!arg.empty() && arg.front() == '"' && !readQuoted(arg, file, error)) return false;
      if (file.empty()) {
        error = "Dateiname fehlt";
        return false;
      }
      a.text = file;
      return true;
    }
    case TDriveOp::Answer: {
      struct Answer { const char* name; int id; };
      constexpr Answer answers[] = {{"yes", mb::IdYes}, {"no", mb::IdNo}, {"ok", mb::IdOk},
                                    {"cancel", mb::IdCancel}, {"retry", mb::IdRetry}};
      for (const Answer& ans : answers) {
        if (arg == ans.name) {
          a.text = ans.name;
          a.value = ans.id;
          return true;
        }
      }
      error = "Antwort yes, no, ok, cancel oder retry erwartet";
      return false;
    }
  }
  return false;
}

// ---- finding

struct TCandidate {
  std::string text;
  QWidget* widget = nullptr;
  QPoint pos;     // in the widget; for page links in page coordinates
  bool pageLink = false;
};

std::vector<TCandidate> candidates(const TXPage& page) {
  std::vector<TCandidate> out;
  const TPageModel& model = page.Model();
  const TPageLayout& layout = page.Layout();
  // Links in page order, each with the text of all its areas.
  std::vector<int> order;
  std::vector<std::string> texts(model.links.size());
  std::vector<TRect> first(model.links.size());
  for (const TLinkArea& area : layout.areas) {
    if (area.link < 0 || std::size_t(area.link) >= model.links.size()) continue;
    std::string& t = texts[std::size_t(area.link)];
    const bool fresh = std::find(order.begin(), order.end(), area.link) == order.end();
    if (fresh) {
      order.push_back(area.link);
      first[std::size_t(area.link)] = area.rect;
    }
    if (area.item < 0 || std::size_t(area.item) >= model.items.size()) continue;
    const TPageItem& item = model.items[std::size_t(area.item)];
    std::string piece;
    if (item.kind == TItemKind::Word && item.style.widgetKind != TWidgetKind::Gap) {
      piece = std::string(model.itemText(item));
    } else if (item.kind == TItemKind::Picture && item.index >= 0 && std::size_t(item.index) < model.images.size()) {
      piece = model.images[std::size_t(item.index)].alt;
    }
    if (piece.empty()) continue;
    if (!t.empty()) t += ' ';
    t += piece;
  }
  for (const int link : order) {
    const TRect& r = first[std::size_t(link)];
    out.push_back({texts[std::size_t(link)], const_cast<TXPage*>(&page), QPoint(r.x + r.w / 2, r.y + r.h / 2), true});
  }
  for (tXColorButton* b : page.Buttons()) {
    if (b && b->isVisible()) out.push_back({b->Caption(), b, b->rect().center(), false});
  }
  if (TXMultipleChoice* m = page.MultipleChoice(); m && m->isVisible()) {
    const int rows = std::max(m->Zeilen(), 1);
    for (int i = 0; i < int(m->Items().size()); ++i) {
      const QPoint centre((i / rows) * m->CellWidth() + m->CellWidth() / 2, (i % rows) * m->CellHeight() + m->CellHeight() / 2);
      out.push_back({m->cellText(i), m, centre, false});
    }
  }
  return out;
}

// Page position → view position, scrolling the page when it lies outside the visible part.
QPoint intoView(TXPage& page, QPoint pagePos) {
  if (pagePos.y() < page.ScrollY() || pagePos.y() >= page.ScrollY() + page.height()) {
    page.ScrollTo(std::max(0, pagePos.y() - page.height() / 2));
  }
  return QPoint(pagePos.x(), pagePos.y() - page.ScrollY());
}

// Diagnostics are Windows-1252 like every text inside; they become UTF-8 on stderr.
std::string inQuotes(const std::string& cp1252) { return "\"" + cp1252 + "\""; }

std::string listing(const std::vector<std::string>& texts) {
  std::string out;
  for (const std::string& t : texts) {
    if (t.empty()) continue;
    if (!out.empty()) out += ", ";
    out += inQuotes(t);
    if (out.size() > 400) {
      out += ", ...";
      break;
    }
  }
  return out.empty() ? "keine" : out;
}

}  // namespace

TDriveScript parseDriveScript(std::string_view utf8Text) {
  TDriveScript script;
  if (utf8Text.substr(0, 3) == "\xEF\xBB\xBF") utf8Text.remove_prefix(3);
  std::size_t pos = 0;
  for (int number = 1; pos <= utf8Text.size(); ++number) {
    std::size_t nl = utf8Text.find('\n', pos);
    if (nl == std::string_view::npos) nl = utf8Text.size();
    const std::string_view line = trim(utf8Text.substr(pos, nl - pos));
    pos = nl + 1;
    if (line.empty() || line.front() == '#') continue;
    TDriveAction a;
    a.line = number;
    a.source = std::string(line);
    std::string error;
    if (!parseLine(line, a, error)) {
      script.error = error;
      script.errorLine = number;
      script.actions.clear();
      return script;
    }
    script.actions.push_back(std::move(a));
  }
  return script;
}

std::vector<std::string> clickableTexts(const TXPage& page) {
  std::vector<std::string> out;
  for (const TCandidate& c : candidates(page)) out.push_back(c.text);
  return out;
}

bool findClickSpot(TXPage& page, const std::string& text, TDriveSpot& spot, bool partial) {
  const std::vector<TCandidate> all = candidates(page);
  const std::string key = driveKey(text);
  auto found = std::find_if(all.begin(), all.end(), [&](const TCandidate& c) { return c.text == text; });
  if (found == all.end()) {
    found = std::find_if(all.begin(), all.end(), [&](const TCandidate& c) { return driveKey(c.text) == key; });
  }
  if (found == all.end() && partial) {
    found = std::find_if(all.begin(), all.end(),
                         [&](const TCandidate& c) { return driveKey(c.text).find(key) != std::string::npos; });
  }
  if (found == all.end()) return false;
  spot.widget = found->widget;
  spot.pos = found->pageLink ? intoView(page, found->pos) : found->pos;
  if (!found->pageLink && spot.widget && spot.widget->parentWidget() == &page) {
    // A widget on the page scrolls into view as a learner would scroll to it.
    const QRect g = spot.widget->geometry();
    if (g.top() < 0 || g.bottom() >= page.height()) page.ScrollTo(page.ScrollY() + g.top() - (page.height() - g.height()) / 2);
  }
  return true;
}

bool findWordSpot(TXPage& page, const std::string& word, TDriveSpot& spot) {
  const TPageLayout& layout = page.Layout();
  int best = -1;
  for (int i = 0; i < int(layout.words.size()) && best < 0; ++i) {
    if (rightClickText(page.Model(), layout, i) == word) best = i;
  }
  for (int i = 0; i < int(layout.words.size()) && best < 0; ++i) {
    const int item = layout.words[std::size_t(i)].item;
    if (item >= 0 && std::size_t(item) < page.Model().items.size() &&
        page.Model().itemText(page.Model().items[std::size_t(item)]).find(word) != std::string_view::npos) {
      best = i;
    }
  }
  if (best < 0) return false;
  const TRect& r = layout.words[std::size_t(best)].rect;
  spot.widget = &page;
  spot.pos = intoView(page, QPoint(r.x + r.w / 2, r.y + r.h / 2));
  return true;
}

std::string pageText(const TXPage& page) {
  const TPageModel& model = page.Model();
  std::string out;
  const auto blank = [&] {
    if (!out.empty() && out.back() != ' ') out += ' ';
  };
  for (const TPageItem& item : model.items) {
    if (item.kind == TItemKind::Word) {
      // A gap's words are its solution, hidden under the input field.
      if (item.style.widgetKind != TWidgetKind::Gap) out += model.itemText(item);
    } else if (item.kind != TItemKind::Picture) {
      blank();
    }
  }
  for (TPageEdit* f : page.Fields()) {
    if (f && !f->Text().empty()) {
      blank();
      out += f->Text();
    }
  }
  for (const TCandidate& c : candidates(page)) {
    if (c.pageLink || c.text.empty()) continue;
    blank();
    out += c.text;
  }
  return out;
}

QWidget* driveWindow() { return learnerWindow(); }

TXPage* pageOf(QWidget* window) {
  if (!window) return nullptr;
  if (auto* main = qobject_cast<TMain*>(window)) return main->XPage();
  for (TXPage* page : window->findChildren<TXPage*>()) {
    if (page->isVisible()) return page;
  }
  return nullptr;
}

TXPage* drivePage() {
  if (TMain* main = currentMain()) return main->XPage();
  return pageOf(driveWindow());
}

TDriver::TDriver(TDriveScript script, std::string scriptName)
    : m_script(std::move(script)), m_name(std::move(scriptName)), m_dialogs(std::make_unique<zek::ScriptedDialogs>()) {
  onFinished = [](int code) { QCoreApplication::exit(code); };
}

TDriver::~TDriver() = default;

int TDriver::nextLine() const {
  return m_next < m_script.actions.size() ? m_script.actions[m_next].line : 0;
}

void TDriver::settle() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

void TDriver::start() {
  // Steps are posted events, so each one runs after what the last one posted. A modal
  // dialog's loop or a game pumping events inside a posted call may not deliver them,
  // so this watch takes the script on inside such a loop.
  auto* watch = new QTimer(this);
  connect(watch, &QTimer::timeout, this, [this] {
    if (!m_pendingToken || std::chrono::steady_clock::now() - m_pendingSince < kNestedStepDelay) return;
    if (QThread::currentThread()->loopLevel() <= m_pendingLevel && !appState().PresentationRunning) return;
    m_pendingToken = 0;
    step();
  });
  watch->start(kWatchMs);
  postStep();
}

void TDriver::arm() {
  m_pendingToken = ++m_stepToken;
  m_pendingSince = std::chrono::steady_clock::now();
  m_pendingLevel = QThread::currentThread()->loopLevel();
}

void TDriver::postStep() {
  arm();
  const unsigned token = m_pendingToken;
  QTimer::singleShot(0, this, [this, token] {
    if (m_pendingToken != token) return;
    m_pendingToken = 0;
    step();
  });
}

bool TDriver::pageBusy() const {
  // The hourglass (a random library being drawn, a print job): a learner waits until it
  // goes, unless a question is in front or a presentation runs (it takes the next lines).
  if (const QCursor* c = QApplication::overrideCursor(); c && c->shape() == Qt::WaitCursor &&
                                                         !QApplication::activeModalWidget() &&
                                                         !appState().PresentationRunning)
    return true;
  TXPage* page = drivePage();
  if (!page) return false;
  if (page->ToastRunning()) return true;
  // A modal window in front and a running presentation take the next lines at once.
  return page->MouseLocked() && !QApplication::activeModalWidget() && !appState().PresentationRunning;
}

void TDriver::step() {
  if (m_halted) return;
  settle();
  reportNewMessages();
  if (m_halted) return;
  // A learner waits while the page is busy: building the next page inside a command (a
  // step posted from the command can come due in its processEvents) or showing a toast.
  // After kBusyLimit the step goes on anyway and says what it finds.
  if (pageBusy()) {
    const auto now = std::chrono::steady_clock::now();
    if (!m_pageBusySince) m_pageBusySince = now;
    if (now - *m_pageBusySince < kBusyLimit) {
      arm();
      const unsigned token = m_pendingToken;
      QTimer::singleShot(kBusyPollMs, this, [this, token] {
        if (m_pendingToken != token) return;
        m_pendingToken = 0;
        step();
      });
      return;
    }
  }
  m_pageBusySince.reset();
  if (m_next >= m_script.actions.size()) {
    finish(0);
    return;
  }
  const TDriveAction& a = m_script.actions[m_next++];
  if (a.op == TDriveOp::Wait) {
    // A timer, not a posted event: it also runs inside a nested loop.
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, timer] {
      timer->deleteLater();
      postStep();
    });
    timer->start(a.value);
    return;
  }
  // While the step acts, the watch may take the script on in a loop that the step opens.
  arm();
  const unsigned token = m_pendingToken;
  const std::string error = perform(a);
  if (!error.empty() && !m_halted) {
    m_pendingToken = 0;
    reportNewMessages();
    std::cerr << m_name << ":" << a.line << ": " << a.source << "\n  " << zek::cp1252ToUtf8(error) << std::endl;
    finish(1);
    return;
  }
  if (m_pendingToken == token) postStep();
}

void TDriver::finish(int code) {
  if (m_finished) return;
  m_finished = true;
  m_halted = true;
  if (onFinished) onFinished(code);
}

void TDriver::reportNewMessages() {
  const auto& messages = m_dialogs->messages();
  for (; m_reported < messages.size(); ++m_reported) {
    std::string text = zek::cp1252ToUtf8(messages[m_reported].text);
    std::replace(text.begin(), text.end(), '\r', '\n');
    std::cerr << "  Meldung: " << text << std::endl;
  }
}

namespace {

// The windows a learner can reach now: only the modal dialog while one is open.
std::vector<QWidget*> reachableWindows() {
  std::vector<QWidget*> windows = driveWindows();
  if (QWidget* modal = QApplication::activeModalWidget(); modal && !windows.empty() && windows.front() == modal) {
    windows.resize(1);
  }
  return windows;
}

std::string titles(const std::vector<QWidget*>& windows) {
  std::vector<std::string> out;
  for (QWidget* w : windows) out.push_back(zek::fromQString(w->windowTitle()));
  return listing(out);
}

// Lower case with runs of blanks as one, as media commands are compared.
std::string mediaKey(std::string_view command) {
  std::string out;
  for (const char c : command) {
    if (c == ' ' || c == '\t') {
      if (!out.empty() && out.back() != ' ') out += ' ';
      continue;
    }
    out.push_back(char(zek::lowerCp1252(static_cast<unsigned char>(c))));
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string stateName(bool on, TDriveState want) {
  switch (want) {
    case TDriveState::On:
    case TDriveState::Off: return on ? "on" : "off";
    case TDriveState::Checked:
    case TDriveState::Unchecked: return on ? "checked" : "unchecked";
    case TDriveState::Enabled:
    case TDriveState::Disabled: return on ? "enabled" : "disabled";
    case TDriveState::Visible:
    case TDriveState::Hidden: return on ? "visible" : "hidden";
  }
  return {};
}

// The on/off state of a button, check box or check item; nothing when it has none.
std::optional<bool> switchState(QWidget* w) {
  if (auto* b = qobject_cast<tXColorButton*>(w)) return b->IsOn();
  if (auto* c = qobject_cast<TXCustomCheckBox*>(w)) return c->Checked();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->isChecked();
  return std::nullopt;
}

}  // namespace

QWidget* TDriver::keyTarget(const std::vector<QWidget*>& windows, TXPage* page) {
  const auto reachable = [&](QWidget* w) {
    if (!w || !w->isVisible()) return false;
    return std::find(windows.begin(), windows.end(), w->window()) != windows.end();
  };
  if (reachable(m_field)) return m_field;
  QWidget* focus = QApplication::focusWidget();
  // The page itself takes the keys once Tab has given one of its links the focus.
  if (reachable(focus) && (focus != page || page->FocusLink() >= 0) && !focus->isWindow()) return focus;
  if (page) {
    for (TPageEdit* f : page->Fields()) {
      if (f && f->isVisible() && !f->ReadOnly()) {
        f->setFocus(Qt::OtherFocusReason);
        return f;
      }
    }
    return page;
  }
  return windows.empty() ? nullptr : windows.front();
}

std::string TDriver::perform(const TDriveAction& a) {
  const std::vector<QWidget*> windows = reachableWindows();
  QWidget* front = windows.empty() ? nullptr : windows.front();
  TXPage* page = drivePage();
  if (front && !qobject_cast<TMain*>(front)) {
    if (TXPage* own = pageOf(front)) page = own;
    else if (QApplication::activeModalWidget() == front) page = nullptr;
  }
  const auto needPage = [&]() -> std::string {
    return page ? std::string() : std::string("kein Fenster mit einer Seite zu sehen");
  };
  const auto needWindow = [&]() -> std::string { return front ? std::string() : std::string("kein Fenster zu sehen"); };
  switch (a.op) {
    case TDriveOp::Wait:
      return {};
    case TDriveOp::Today:
      setenv("ZEK_TODAY", a.text.c_str(), 1);
      return {};
    case TDriveOp::Answer:
      m_dialogs->answer(a.value);
      return {};
    case TDriveOp::ChooseFile: {
      if (a.value == 1) {
        m_dialogs->chooseFile(std::nullopt);
        return {};
      }
      const std::filesystem::path file = std::filesystem::absolute(std::filesystem::path(a.text));
      m_dialogs->chooseFile(zek::fromPath(file));
      return {};
    }
    case TDriveOp::Click: {
      if (auto e = needWindow(); !e.empty()) return e;
      // Exact texts in every reachable window before parts of texts; the page of a window first.
      std::vector<std::string> offered;
      for (const bool partial : {false, true}) {
        for (QWidget* window : windows) {
          TXPage* own = pageOf(window);
          TDriveSpot spot;
          if (own && own->isVisible() && findClickSpot(*own, a.text, spot, partial)) {
            if (own->MouseLocked()) return "die Seite nimmt gerade keine Mausklicks an";
            driveMouse(spot.widget, spot.pos, Qt::LeftButton);
            return {};
          }
          const std::vector<TDriveTarget> targets = clickTargets(window);
          const TDriveTarget* t = bestTarget(targets, a.text);
          if (t && !partial && driveListKey(t->text) != driveListKey(a.text) && driveKey(t->text) != driveKey(a.text)) {
            t = nullptr;
          }
          if (t) {
            if (!t->widget->isEnabled()) return inQuotes(t->text) + " ist gesperrt";
            const QPoint pos = t->locate();
            driveMouse(t->widget, pos, Qt::LeftButton);
            return {};
          }
          if (partial) {
            if (own && own->isVisible()) {
              for (std::string& text : clickableTexts(*own)) offered.push_back(std::move(text));
            }
            for (const TDriveTarget& target : targets) offered.push_back(target.text);
          }
        }
      }
      return "nichts zum Anklicken mit dem Text " + inQuotes(a.text) + "; vorhanden: " + listing(offered);
    }
    case TDriveOp::RightClick: {
      if (auto e = needPage(); !e.empty()) return e;
      if (page->MouseLocked()) return "die Seite nimmt gerade keine Mausklicks an";
      TDriveSpot spot;
      if (!findWordSpot(*page, a.text, spot)) return "kein Wort " + inQuotes(a.text) + " auf der Seite";
      driveMouse(spot.widget, spot.pos, Qt::RightButton);
      return {};
    }
    case TDriveOp::ClickAt: {
      if (auto e = needWindow(); !e.empty()) return e;
      if (a.x >= front->width() || a.y >= front->height()) {
        return "die Stelle liegt au\xDF" "erhalb des Fensters (" + std::to_string(front->width()) + " x " +
               std::to_string(front->height()) + ")";
      }
      QWidget* target = front->childAt(a.x, a.y);
      if (!target) target = front;
      driveMouse(target, target->mapFrom(front, QPoint(a.x, a.y)), Qt::LeftButton);
      return {};
    }
    case TDriveOp::Drag: {
      if (auto e = needPage(); !e.empty()) return e;
      if (page->MouseLocked()) return "die Seite nimmt gerade keine Mausklicks an";
      // The self-drawn parts of the page and its children first, then the page's words.
      TDriveSpot spot;
      std::vector<TDriveTarget> parts;
      if (const auto* cells = dynamic_cast<const TDriveCells*>(page)) {
        for (const TDriveCell& cell : cells->driveCells()) {
          const QRect r = cell.rect;
          parts.push_back({cell.text, page, [r] { return r.center(); }});
        }
      }
      for (TDriveTarget& t : clickTargets(page)) parts.push_back(std::move(t));
      if (const TDriveTarget* t = bestTarget(parts, a.text)) {
        spot.widget = t->widget;
        spot.pos = t->locate();
      } else if (!findWordSpot(*page, a.text, spot)) {
        std::vector<std::string> offered;
        for (const TDriveTarget& t : parts) offered.push_back(t.text);
        return "nichts zum Ziehen mit dem Text " + inQuotes(a.text) + "; vorhanden: " + listing(offered);
      }
      const QPoint to = spot.widget->mapFrom(page, QPoint(a.x, a.y - page->ScrollY()));
      driveDrag(spot.widget, spot.pos, to, 4);
      return {};
    }
    case TDriveOp::Type: {
      if (auto e = needWindow(); !e.empty()) return e;
      QWidget* target = keyTarget(windows, page);
      const QString text = zek::toQString(a.text);
      const QPointer<QWidget> guard(target);
      for (const QChar c : text) {
        if (!guard) return "das Eingabefeld verschwand beim Tippen";
        driveKeyPress(target, driveKeyForChar(c), QString(c));
      }
      return {};
    }
    case TDriveOp::Key: {
      if (auto e = needWindow(); !e.empty()) return e;
      const TKeyName* k = keyByCode(a.value);
      driveKeyPress(keyTarget(windows, page), a.value, QString::fromLatin1(k ? k->text : ""));
      return {};
    }
    case TDriveOp::Field:
    case TDriveOp::Set: {
      QWidget* input = findInput(windows, a.text);
      if (!input) return "kein Eingabefeld " + inQuotes(a.text) + "; vorhanden: " + listing(inputNames(windows));
      if (!input->isVisible()) return "das Eingabefeld " + inQuotes(a.text) + " ist nicht zu sehen";
      input->window()->activateWindow();
      input->setFocus(Qt::OtherFocusReason);
      m_field = input;
      return a.op == TDriveOp::Set ? setInput(input, a.text2) : std::string();
    }
    case TDriveOp::Menu: {
      if (auto e = needWindow(); !e.empty()) return e;
      std::string error;
      QAction* item = findMenuItem(front, a.text, error);
      if (!item) return error;
      if (!item->isEnabled()) return "der Men\xFCpunkt " + inQuotes(a.text) + " ist gesperrt";
      item->trigger();
      return {};
    }
    case TDriveOp::Close:
      if (auto e = needWindow(); !e.empty()) return e;
      front->close();
      return {};
    case TDriveOp::Command:
    case TDriveOp::Start: {
      if (auto e = needPage(); !e.empty()) return e;
      // "§" + command carries any text, also one with "]" (answers like "vokabel[house]-").
      const std::string link = a.text.front() == '[' ? "\xA7[" + a.text + "]" : "\xA7" + a.text;
      if (a.op == TDriveOp::Command) {
        page->Follow(link, QRect());
        return {};
      }
      const QPointer<TXPage> target(page);
      QTimer::singleShot(0, page, [target, link] {
        if (target) target->Follow(link, QRect());
      });
      return {};
    }
    case TDriveOp::Shot: {
      if (auto e = needWindow(); !e.empty()) return e;
      if (!front->grab().save(QString::fromUtf8(a.text.c_str()), "PNG")) {
        return "das Bild " + zek::utf8ToCp1252(a.text) + " lie\xDF sich nicht schreiben";
      }
      return {};
    }
    case TDriveOp::ExpectText: {
      std::string text = page ? pageText(*page) : std::string();
      for (QWidget* w : driveWindows()) {
        if (!text.empty()) text += ' ';
        text += windowText(w);
      }
      if (driveKey(text).find(driveKey(a.text)) != std::string::npos) return {};
      std::string shown = text.size() > 300 ? text.substr(0, 300) + " ..." : text;
      if (!page) return "der Text " + inQuotes(a.text) + " ist nicht zu sehen; zu sehen ist: " + inQuotes(shown);
      return "der Text " + inQuotes(a.text) + " steht nicht auf der Seite " +
             inQuotes(zek::fileNamePart(page->XFile())) + "; sie zeigt: " + inQuotes(shown);
    }
    case TDriveOp::ExpectPage: {
      if (auto e = needPage(); !e.empty()) return e;
      const std::string shown = zek::fileNamePart(page->XFile());
      if (zek::equalsNoCase(shown, a.text)) return {};
      return "die Seite " + inQuotes(shown) + " ist zu sehen, nicht " + inQuotes(a.text);
    }
    case TDriveOp::ExpectFocus: {
      // The link Tab went to (its words), or the input field that has the keyboard.
      if (auto e = needPage(); !e.empty()) return e;
      std::string focused;
      if (page->FocusLink() >= 0 && page->hasFocus()) {
        for (const TLinkArea& area : page->Layout().areas) {
          if (area.link != page->FocusLink() || area.item < 0) continue;
          const TPageItem& item = page->Model().items[std::size_t(area.item)];
          if (item.kind != TItemKind::Word) continue;
          if (!focused.empty()) focused += ' ';
          focused += page->Model().itemText(item);
        }
      } else if (QWidget* f = QApplication::focusWidget()) {
        focused = zek::fromQString(f->toolTip());
        if (focused.empty()) focused = zek::fromQString(f->objectName());
      }
      if (driveKey(focused).find(driveKey(a.text)) != std::string::npos) return {};
      return "den Fokus hat " + inQuotes(focused) + ", nicht " + inQuotes(a.text);
    }
    case TDriveOp::ExpectWindow: {
      const std::vector<QWidget*> shown = driveWindows();
      for (QWidget* w : shown) {
        if (driveKey(zek::fromQString(w->windowTitle())) == driveKey(a.text)) return {};
      }
      return "kein Fenster " + inQuotes(a.text) + "; zu sehen: " + titles(shown);
    }
    case TDriveOp::ExpectState: {
      const auto want = static_cast<TDriveState>(a.value);
      const bool positive = want == TDriveState::On || want == TDriveState::Enabled || want == TDriveState::Visible ||
                            want == TDriveState::Checked;
      std::optional<bool> actual;
      const std::vector<QWidget*> all = driveWindows();
      if (QWidget* w = findWidget(all, a.text)) {
        switch (want) {
          case TDriveState::Enabled:
          case TDriveState::Disabled: actual = w->isEnabled(); break;
          case TDriveState::Visible:
          case TDriveState::Hidden: actual = w->isVisible(); break;
          default:
            actual = switchState(w);
            if (!actual) return inQuotes(a.text) + " hat keinen Zustand an/aus";
        }
      } else {
        QAction* item = nullptr;
        for (QWidget* window : all) {
          if ((item = findAction(window, a.text))) break;
        }
        if (!item) return "nichts mit dem Namen " + inQuotes(a.text) + " zu finden";
        switch (want) {
          case TDriveState::Enabled:
          case TDriveState::Disabled: actual = item->isEnabled(); break;
          case TDriveState::Visible:
          case TDriveState::Hidden: actual = item->isVisible(); break;
          default: actual = item->isChecked();
        }
      }
      if (*actual == positive) return {};
      return inQuotes(a.text) + " ist " + stateName(*actual, want) + ", nicht " + a.text2;
    }
    case TDriveOp::ExpectMessage: {
      const auto& messages = m_dialogs->messages();
      for (std::size_t i = m_checked; i < messages.size(); ++i) {
        if (messages[i].text.find(a.text) != std::string::npos) {
          m_checked = i + 1;
          return {};
        }
      }
      std::vector<std::string> seen;
      for (std::size_t i = m_checked; i < messages.size(); ++i) seen.push_back(messages[i].text);
      return "keine Meldung mit " + inQuotes(a.text) + "; seit der letzten Pr\xFC" "fung: " + listing(seen);
    }
    case TDriveOp::ExpectCommand: {
      const std::vector<std::string>& log = pageCommandLog();
      if (m_commandsChecked > log.size()) m_commandsChecked = 0;
      for (std::size_t i = m_commandsChecked; i < log.size(); ++i) {
        if (log[i] == a.text) {
          m_commandsChecked = i + 1;
          return {};
        }
      }
      const std::vector<std::string> seen(log.begin() + std::ptrdiff_t(m_commandsChecked), log.end());
      return "kein Seitenbefehl " + inQuotes(a.text) + "; seit der letzten Pr\xFC" "fung: " + listing(seen);
    }
    case TDriveOp::ExpectMedia: {
      const std::vector<std::string>& log = zek::mediaCommandLog();
      const std::size_t first = zek::mediaCommandCount() - log.size();  // number of log[0]
      const std::string want = mediaKey(a.text);
      std::vector<std::string> seen;
      for (std::size_t n = std::max(m_mediaChecked, first); n < first + log.size(); ++n) {
        const std::string got = mediaKey(log[n - first]);
        if (got == want || got.find(want) != std::string::npos) {
          m_mediaChecked = n + 1;
          return {};
        }
        seen.push_back(log[n - first]);
      }
      return "kein Medienbefehl " + inQuotes(a.text) + "; seit der letzten Pr\xFC" "fung: " + listing(seen);
    }
    case TDriveOp::ExpectSetting: {
      std::string key = a.text;
      if (!zek::equalsNoCase(key.substr(0, 9), "SOFTWARE\\")) key = "SOFTWARE\\ZEK\\zek englisch\\" + key;
      const TSettingsStore& store = TSettingsStore::global();
      std::string value;
      if (const auto text = store.readString(key, a.text2)) {
        value = *text;
      } else if (zek::equalsNoCase(a.text3, "true") || zek::equalsNoCase(a.text3, "false")) {
        if (const auto b = store.readBool(key, a.text2)) value = *b ? "true" : "false";
      } else if (const auto n = store.readInteger(key, a.text2)) {
        value = std::to_string(*n);
      }
      if (!store.valueExists(key, a.text2)) return "der Wert " + inQuotes(a.text2) + " fehlt unter " + inQuotes(key);
      if (value == a.text3 || (!value.empty() && zek::equalsNoCase(value, a.text3) &&
                               (zek::equalsNoCase(value, "true") || zek::equalsNoCase(value, "false")))) {
        return {};
      }
      return inQuotes(key) + " " + inQuotes(a.text2) + " ist " + inQuotes(value) + ", nicht " + inQuotes(a.text3);
    }
    case TDriveOp::ExpectFile: {
      std::error_code ec;
      const std::filesystem::path file(a.text);
      const auto size = std::filesystem::file_size(file, ec);
      if (ec) return "die Datei " + inQuotes(zek::utf8ToCp1252(a.text)) + " gibt es nicht";
      if (size == 0) return "die Datei " + inQuotes(zek::utf8ToCp1252(a.text)) + " ist leer";
      return {};
    }
    case TDriveOp::ExpectRunning:
      if (appState().PresentationRunning == (a.value == 1)) return {};
      return appState().PresentationRunning ? "es l\xE4uft eine Vorf\xFChrung" : "es l\xE4uft keine Vorf\xFChrung";
    case TDriveOp::ExpectDone:
      if (auto e = needPage(); !e.empty()) return e;
      if (page->ExerciseDone()) return {};
      return "die Aufgaben der Seite " + inQuotes(zek::fileNamePart(page->XFile())) + " sind nicht alle gel\xF6st";
  }
  return "unbekannte Aktion";
}

std::unique_ptr<TDriver> loadDriver(const std::string& scriptFile) {
  const auto text = zek::readFile(std::filesystem::path(scriptFile), 16u << 20);
  if (!text) {
    std::cerr << "zek-englisch --drive: " << scriptFile << " kann nicht gelesen werden" << std::endl;
    return nullptr;
  }
  TDriveScript script = parseDriveScript(*text);
  if (!script.ok()) {
    std::cerr << scriptFile << ":" << script.errorLine << ": " << zek::cp1252ToUtf8(script.error) << std::endl;
    return nullptr;
  }
  return std::make_unique<TDriver>(std::move(script), scriptFile);
}

int runDriven(const std::vector<std::string>& args) {
  if (args.size() < 2) {
    std::cerr << "Aufruf: zek-englisch --drive SKRIPT" << std::endl;
    return 2;
  }
  std::unique_ptr<TDriver> driver = loadDriver(args[1]);
  if (!driver) return 2;
  TRunObserver observer;
  observer.refused = [&driver] { driver->reportNewMessages(); };
  observer.shown = [&driver] { driver->start(); };
  observer.ended = [&driver] {
    driver->halt();
    if (!driver->finished() && driver->nextLine() != 0) {
      std::cerr << "zek-englisch --drive: das Programm endete vor Zeile " << driver->nextLine() << std::endl;
    }
  };
  return runProgram(std::vector<std::string>(args.begin() + 2, args.end()), observer);
}
