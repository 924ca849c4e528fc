#include "app/tdriver.h"

#include "app/tmain.h"
#include "page/txpage.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/thandover.h"
#include "widgets/txcoloredit.h"
#include "widgets/txcolorbutton.h"
#include "widgets/txmultiplechoice.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>

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
    {"click", TDriveOp::Click},           {"rightclick", TDriveOp::RightClick},
    {"type", TDriveOp::Type},             {"key", TDriveOp::Key},
    {"command", TDriveOp::Command},       {"wait", TDriveOp::Wait},
    {"shot", TDriveOp::Shot},             {"expect-text", TDriveOp::ExpectText},
    {"expect-page", TDriveOp::ExpectPage}, {"expect-message", TDriveOp::ExpectMessage},
    {"expect-command", TDriveOp::ExpectCommand},
    {"answer", TDriveOp::Answer},
};

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// A double-quoted argument with \" and \\; the rest of the line must be empty.
bool readQuoted(std::string_view arg, std::string& out, std::string& error) {
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
  if (!trim(arg.substr(i + 1)).empty()) {
    error = "nach dem Text darf nichts mehr stehen";
    return false;
  }
  return true;
}

bool parseLine(std::string_view line, TDriveAction& a, std::string& error) {
  const std::size_t blank = line.find_first_of(" \t");
  const std::string_view word = line.substr(0, blank);
  const std::string_view arg = blank == std::string_view::npos ? std::string_view() : trim(line.substr(blank));
  const auto op = std::find_if(std::begin(kOps), std::end(kOps), [&](const TOpName& o) { return word == o.name; });
  if (op == std::end(kOps)) {
    error = "unbekannte Aktion \"" + zek::utf8ToCp1252(word) + "\"";
    return false;
  }
  a.op = op->op;
  switch (a.op) {
    case TDriveOp::Click:
    case TDriveOp::RightClick:
    case TDriveOp::Type:
    case TDriveOp::Command:
    case TDriveOp::ExpectText:
    case TDriveOp::ExpectPage:
    case TDriveOp::ExpectMessage:
    case TDriveOp::ExpectCommand: {
      std::string utf8;
      if (!readQuoted(arg, utf8, error)) return false;
      const auto cp1252 = zek::utf8ToCp1252Strict(utf8);
      if (!cp1252) {
        error = "der Text enth\xE4lt Zeichen ohne Windows-1252-Code";
        return false;
      }
      if (cp1252->empty() && a.op != TDriveOp::Type) {
        error = "leerer Text";
        return false;
      }
      a.text = *cp1252;
      return true;
    }
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

void sendMouse(QWidget* w, QPoint pos, Qt::MouseButton button) {
  const QPointer<QWidget> target(w);
  const QPointF local(pos), global(w->mapToGlobal(pos));
  QMouseEvent move(QEvent::MouseMove, local, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &move);
  if (!target) return;
  QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  if (!target) return;
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &release);
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

// Where keys go: the focused widget of the window (an input field, a list), else the first
// visible input field, else the page.
QWidget* keyTarget(QWidget* window, TXPage* page) {
  QWidget* focus = QApplication::focusWidget();
  if (focus && window && focus != page && focus != window && window->isAncestorOf(focus)) return focus;
  if (page) {
    for (TPageEdit* f : page->Fields()) {
      if (f && f->isVisible() && !f->ReadOnly()) {
        f->setFocus(Qt::OtherFocusReason);
        return f;
      }
    }
  }
  return page ? static_cast<QWidget*>(page) : window;
}

void sendKey(QWidget* w, int key, const QString& text) {
  const QPointer<QWidget> target(w);
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
  if (!target) return;
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &release);
}

int keyForChar(QChar c) {
  const char16_t u = c.toUpper().unicode();
  if (u >= 'A' && u <= 'Z') return Qt::Key_A + (u - 'A');
  if (u >= '0' && u <= '9') return Qt::Key_0 + (u - '0');
  if (u == ' ') return Qt::Key_Space;
  return Qt::Key_unknown;
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

bool findClickSpot(TXPage& page, const std::string& text, TDriveSpot& spot) {
  const std::vector<TCandidate> all = candidates(page);
  auto found = std::find_if(all.begin(), all.end(), [&](const TCandidate& c) { return c.text == text; });
  if (found == all.end()) {
    found = std::find_if(all.begin(), all.end(), [&](const TCandidate& c) { return c.text.find(text) != std::string::npos; });
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

QWidget* driveWindow() {
  if (TMain* main = currentMain()) return main;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (qobject_cast<TTrainerWindow*>(w) && w->isVisible()) return w;
  }
  return nullptr;
}

TXPage* drivePage() {
  if (TMain* main = currentMain()) return main->XPage();
  QWidget* w = driveWindow();
  return w ? w->findChild<TXPage*>() : nullptr;
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
  QTimer::singleShot(0, this, [this] { step(); });
}

void TDriver::step() {
  if (m_halted) return;
  settle();
  reportNewMessages();
  if (m_next >= m_script.actions.size()) {
    finish(0);
    return;
  }
  // A learner waits out a toast: the page takes no input while it runs.
  if (TXPage* page = drivePage(); page && page->ToastRunning()) {
    QTimer::singleShot(20, this, [this] { step(); });
    return;
  }
  const TDriveAction& a = m_script.actions[m_next++];
  if (a.op == TDriveOp::Wait) {
    QTimer::singleShot(a.value, this, [this] { step(); });
    return;
  }
  const std::string error = perform(a);
  if (!error.empty()) {
    reportNewMessages();
    std::cerr << m_name << ":" << a.line << ": " << a.source << "\n  " << zek::cp1252ToUtf8(error) << std::endl;
    finish(1);
    return;
  }
  QTimer::singleShot(0, this, [this] { step(); });
}

void TDriver::finish(int code) {
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

std::string TDriver::perform(const TDriveAction& a) {
  QWidget* window = driveWindow();
  TXPage* page = drivePage();
  const auto needPage = [&]() -> std::string {
    return page ? std::string() : std::string("kein Fenster mit einer Seite zu sehen");
  };
  switch (a.op) {
    case TDriveOp::Wait:
      return {};
    case TDriveOp::Answer:
      m_dialogs->answer(a.value);
      return {};
    case TDriveOp::Click:
    case TDriveOp::RightClick: {
      if (auto e = needPage(); !e.empty()) return e;
      if (page->MouseLocked()) return "die Seite nimmt gerade keine Mausklicks an";
      TDriveSpot spot;
      const bool right = a.op == TDriveOp::RightClick;
      if (right ? !findWordSpot(*page, a.text, spot) : !findClickSpot(*page, a.text, spot)) {
        if (right) return "kein Wort " + inQuotes(a.text) + " auf der Seite";
        return "nichts zum Anklicken mit dem Text " + inQuotes(a.text) + "; vorhanden: " + listing(clickableTexts(*page));
      }
      sendMouse(spot.widget, spot.pos, right ? Qt::RightButton : Qt::LeftButton);
      return {};
    }
    case TDriveOp::Type: {
      if (!window) return "kein Fenster zu sehen";
      QWidget* target = keyTarget(window, page);
      const QString text = zek::toQString(a.text);
      const QPointer<QWidget> guard(target);
      for (const QChar c : text) {
        if (!guard) return "das Eingabefeld verschwand beim Tippen";
        sendKey(target, keyForChar(c), QString(c));
      }
      return {};
    }
    case TDriveOp::Key: {
      if (!window) return "kein Fenster zu sehen";
      const TKeyName* k = keyByCode(a.value);
      sendKey(keyTarget(window, page), a.value, QString::fromLatin1(k ? k->text : ""));
      return {};
    }
    case TDriveOp::Command: {
      if (auto e = needPage(); !e.empty()) return e;
      // "§" + command carries any text, also one with "]" (answers like "vokabel[house]-").
      const std::string link = a.text.front() == '[' ? "\xA7[" + a.text + "]" : "\xA7" + a.text;
      page->Follow(link, QRect());
      return {};
    }
    case TDriveOp::Shot: {
      if (!window) return "kein Fenster zu sehen";
      if (!window->grab().save(QString::fromUtf8(a.text.c_str()), "PNG")) {
        return "das Bild " + zek::utf8ToCp1252(a.text) + " lie\xDF sich nicht schreiben";
      }
      return {};
    }
    case TDriveOp::ExpectText: {
      if (auto e = needPage(); !e.empty()) return e;
      const std::string text = pageText(*page);
      if (text.find(a.text) != std::string::npos) return {};
      std::string shown = text.size() > 300 ? text.substr(0, 300) + " ..." : text;
      return "der Text " + inQuotes(a.text) + " steht nicht auf der Seite " +
             inQuotes(zek::fileNamePart(page->XFile())) + "; sie zeigt: " + inQuotes(shown);
    }
    case TDriveOp::ExpectPage: {
      if (auto e = needPage(); !e.empty()) return e;
      const std::string shown = zek::fileNamePart(page->XFile());
      if (zek::equalsNoCase(shown, a.text)) return {};
      return "die Seite " + inQuotes(shown) + " ist zu sehen, nicht " + inQuotes(a.text);
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
