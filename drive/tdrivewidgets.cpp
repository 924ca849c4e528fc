#include "drive/tdrivewidgets.h"

#include "app/tbackdrop.h"
#include "app/tmain.h"
#include "drive/tdrivecells.h"
#include "page/txpage.h"
#include "platform/codec.h"
#include "platform/thandover.h"
#include "widgets/txbutton.h"
#include "widgets/txcheckbox.h"
#include "widgets/txcolorbutton.h"
#include "widgets/txcoloredit.h"
#include "widgets/txlabel.h"
#include "widgets/txlistbox.h"
#include "widgets/txradiogroup.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTextEdit>

#include <algorithm>
#include <charconv>
#include <climits>

namespace {

constexpr int kItemViewCells = 5000;  // cells of an item view looked at, so a huge grid stays quick

std::string cp(const QString& s) { return zek::fromQString(s); }

void addUnique(std::vector<std::string>& names, std::string name) {
  if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
}

// The own text of a widget: caption, button text, label text.
std::string ownText(const QWidget* w) {
  if (auto* b = qobject_cast<const tXColorButton*>(w)) return b->Caption();
  if (auto* c = qobject_cast<const TXCustomCheckBox*>(w)) return c->Caption();
  if (auto* l = qobject_cast<const TXLabel*>(w)) return l->Caption();
  if (auto* b = qobject_cast<const QAbstractButton*>(w)) return cp(b->text());
  if (auto* l = qobject_cast<const QLabel*>(w)) return cp(l->text());
  if (auto* g = qobject_cast<const QGroupBox*>(w)) return cp(g->title());
  return {};
}

bool isInput(const QWidget* w) {
  if (qobject_cast<const QLineEdit*>(w)) {
    // The line edit inside a spin box or combo box belongs to it.
    const QWidget* p = w->parentWidget();
    return !(qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QComboBox*>(p));
  }
  if (qobject_cast<const QAbstractSlider*>(w)) return !qobject_cast<const QScrollBar*>(w);
  return qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
         qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w) ||
         qobject_cast<const tXColorEdit*>(w);
}

std::vector<QWidget*> descendants(QWidget* window) {
  std::vector<QWidget*> out{window};
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isWindow()) out.push_back(w);
  }
  return out;
}

QRect inWindow(const QWidget* w, const QWidget* window) {
  return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
}

void addTarget(std::vector<TDriveTarget>& out, QWidget* w, const std::string& text, std::function<QPoint()> locate) {
  if (!text.empty()) out.push_back({text, w, std::move(locate)});
}

// One target per name of the widget, clicked in its middle.
void addNamed(std::vector<TDriveTarget>& out, QWidget* w) {
  for (const std::string& name : widgetNames(w)) addTarget(out, w, name, [w] { return w->rect().center(); });
}

void addItemView(std::vector<TDriveTarget>& out, QAbstractItemView* view) {
  const QAbstractItemModel* model = view->model();
  if (!model) return;
  const QModelIndex root = view->rootIndex();
  const int rows = model->rowCount(root), columns = std::max(model->columnCount(root), 1);
  int seen = 0;
  for (int r = 0; r < rows && seen < kItemViewCells; ++r) {
    for (int c = 0; c < columns && seen < kItemViewCells; ++c, ++seen) {
      const QModelIndex index = model->index(r, c, root);
      const std::string text = cp(model->data(index, Qt::DisplayRole).toString());
      const QPersistentModelIndex keep(index);
      addTarget(out, view->viewport(), text, [view, keep] {
        view->scrollTo(keep);
        return view->visualRect(keep).center();
      });
    }
  }
}

bool parseInt(const std::string& s, int& value) {
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && end == s.data() + s.size();
}

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

std::string joined(const std::vector<std::string>& texts) {
  std::string out;
  for (const std::string& t : texts) {
    if (t.empty()) continue;
    if (!out.empty()) out += ", ";
    out += quoted(t);
    if (out.size() > 400) return out + ", ...";
  }
  return out.empty() ? "keine" : out;
}

void typeInto(QWidget* w, const std::string& cp1252) {
  const QPointer<QWidget> guard(w);
  for (const QChar c : zek::toQString(cp1252)) {
    if (!guard) return;
    driveKeyPress(w, driveKeyForChar(c), QString(c));
  }
}

std::vector<QAction*> menuActions(const std::vector<QAction*>& roots, bool deep) {
  std::vector<QAction*> out;
  std::vector<QAction*> todo = roots;
  for (std::size_t i = 0; i < todo.size() && todo.size() < 10000; ++i) {
    QAction* a = todo[i];
    if (!a || a->isSeparator()) continue;
    out.push_back(a);
    if (deep && a->menu()) {
      const QList<QAction*> items = a->menu()->actions();
      todo.insert(todo.end(), items.begin(), items.end());
    }
  }
  return out;
}

QAction* matchAction(const std::vector<QAction*>& actions, const std::string& text) {
  const std::string key = driveKey(text);
  for (QAction* a : actions) {
    if (driveKey(cp(a->text())) == key) return a;
  }
  for (QAction* a : actions) {
    if (driveKey(cp(a->text())).find(key) != std::string::npos) return a;
  }
  return nullptr;
}

std::vector<std::string> actionTexts(const std::vector<QAction*>& actions) {
  std::vector<std::string> out;
  for (QAction* a : actions) addUnique(out, cp(a->text()));
  return out;
}

}  // namespace

std::string driveKey(std::string_view cp1252) {
  std::string out;
  out.reserve(cp1252.size());
  for (std::size_t i = 0; i < cp1252.size(); ++i) {
    if (cp1252[i] == '&') {
      if (i + 1 < cp1252.size() && cp1252[i + 1] == '&') out.push_back('&'), ++i;
      continue;
    }
    out.push_back(char(zek::lowerCp1252(static_cast<unsigned char>(cp1252[i]))));
  }
  return out;
}

std::string driveListKey(std::string_view cp1252) {
  if (!cp1252.empty() && (cp1252.front() == '\xA7' || cp1252.front() == '$')) cp1252.remove_prefix(1);
  return driveKey(cp1252);
}

void driveMouse(QWidget* w, QPoint pos, Qt::MouseButton button) {
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

void driveDrag(QWidget* w, QPoint from, QPoint to, int step) {
  const QPointer<QWidget> target(w);
  const auto send = [&](QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
    return !target.isNull();
  };
  if (!send(QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton)) return;
  if (!send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton)) return;
  const QPoint d = to - from;
  const int steps = std::max(1, (std::max(std::abs(d.x()), std::abs(d.y())) + step - 1) / std::max(step, 1));
  for (int i = 1; i <= steps; ++i) {
    const QPoint p = from + QPoint(d.x() * i / steps, d.y() * i / steps);
    if (!send(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton)) return;
    QCoreApplication::processEvents();
    if (!target) return;
  }
  send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

void driveKeyPress(QWidget* w, int key, const QString& text) {
  const QPointer<QWidget> target(w);
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
  if (!target) return;
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &release);
}

int driveKeyForChar(QChar c) {
  const char16_t u = c.toUpper().unicode();
  if (u >= 'A' && u <= 'Z') return Qt::Key_A + (u - 'A');
  if (u >= '0' && u <= '9') return Qt::Key_0 + (u - '0');
  if (u == ' ') return Qt::Key_Space;
  return Qt::Key_unknown;
}

std::vector<QWidget*> driveWindows() {
  std::vector<QWidget*> out;
  const auto add = [&](QWidget* w) {
    if (!w || !w->isVisible() || qobject_cast<QMenu*>(w) || qobject_cast<TBackdrop*>(w)) return;
    if (std::find(out.begin(), out.end(), w) == out.end()) out.push_back(w);
  };
  add(QApplication::activeModalWidget());
  const QWidgetList tops = QApplication::topLevelWidgets();
  for (QWidget* w : tops) {
    if (qobject_cast<QDialog*>(w) && w->isModal()) add(w);
  }
  add(QApplication::activeWindow());
  for (QWidget* w : tops) {
    if (qobject_cast<QDialog*>(w) || w->windowType() == Qt::Tool) add(w);
  }
  if (TMain* main = currentMain()) add(main);
  for (QWidget* w : tops) {
    if (qobject_cast<TTrainerWindow*>(w)) add(w);
  }
  for (QWidget* w : tops) add(w);
  return out;
}

std::vector<std::string> widgetNames(const QWidget* w) {
  std::vector<std::string> names;
  addUnique(names, ownText(w));
  addUnique(names, cp(w->toolTip()));
  if (!w->objectName().startsWith(QLatin1String("qt_"))) addUnique(names, cp(w->objectName()));
  addUnique(names, cp(w->accessibleName()));
  if (auto* e = qobject_cast<const QLineEdit*>(w)) addUnique(names, cp(e->placeholderText()));
  if (auto* e = qobject_cast<const QTextEdit*>(w)) addUnique(names, cp(e->placeholderText()));
  if (auto* e = qobject_cast<const QPlainTextEdit*>(w)) addUnique(names, cp(e->placeholderText()));
  return names;
}

std::vector<TDriveTarget> clickTargets(QWidget* window) {
  std::vector<TDriveTarget> out;
  for (QWidget* w : descendants(window)) {
    if (!w->isVisible() || qobject_cast<TXPage*>(w)) continue;
    if (const auto* cells = dynamic_cast<const TDriveCells*>(w)) {
      for (const TDriveCell& cell : cells->driveCells()) {
        const QRect r = cell.rect;
        addTarget(out, w, cell.text, [r] { return r.center(); });
      }
    }
    if (auto* radio = qobject_cast<tXRadioGroup*>(w)) {
      const TXGrid grid{radio->Spalten(), radio->Zeilen(), radio->CellWidth(), radio->CellHeight()};
      for (int i = 0; i < int(radio->Items().size()); ++i) {
        const QPoint centre(grid.column(i) * grid.cellWidth + grid.cellWidth / 2, grid.row(i) * grid.cellHeight + grid.cellHeight / 2);
        addTarget(out, w, radio->cellText(i), [centre] { return centre; });
      }
    } else if (auto* list = qobject_cast<TXListBox*>(w)) {
      for (int i = 0; i < int(list->Items().size()); ++i) {
        std::string line = list->Items()[std::size_t(i)];
        if (!line.empty() && (line.front() == '\xA7' || line.front() == '$')) line.erase(0, 1);
        addTarget(out, w, line, [list, i] {
          if (i < list->Topline() || i >= list->Topline() + list->visibleRows()) list->setTopline(i);
          return QPoint(std::min(list->width() / 2, 40), (i - list->Topline()) * list->ItemHeight() + list->ItemHeight() / 2);
        });
      }
    } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
      for (int i = 0; i < tabs->count(); ++i) {
        addTarget(out, w, cp(tabs->tabText(i)), [tabs, i] { return tabs->tabRect(i).center(); });
      }
    } else if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
      addItemView(out, view);
    } else if (qobject_cast<tXColorButton*>(w) || qobject_cast<TXCustomCheckBox*>(w) || qobject_cast<tXButton*>(w) ||
               qobject_cast<QAbstractButton*>(w)) {
      addNamed(out, w);
    }
  }
  return out;
}

const TDriveTarget* bestTarget(const std::vector<TDriveTarget>& targets, const std::string& text) {
  const std::string key = driveListKey(text);
  const std::string plain = driveKey(text);
  for (const TDriveTarget& t : targets) {
    if (t.text == text) return &t;
  }
  for (const TDriveTarget& t : targets) {
    if (driveKey(t.text) == plain || driveKey(t.text) == key) return &t;
  }
  for (const TDriveTarget& t : targets) {
    if (driveKey(t.text).find(key) != std::string::npos) return &t;
  }
  return nullptr;
}

QWidget* findInput(const std::vector<QWidget*>& windows, const std::string& name) {
  const std::string key = driveKey(name);
  struct Found {
    QWidget* w = nullptr;
    int rank = INT_MAX;
  };
  Found best;
  const auto offer = [&](QWidget* w, int rank) {
    if (!w->isVisible()) rank += 1'000'000;  // a hidden field only when nothing visible matches
    if (rank < best.rank) best = {w, rank};
  };
  for (QWidget* window : windows) {
    const std::vector<QWidget*> all = descendants(window);
    std::vector<QWidget*> inputs;
    for (QWidget* w : all) {
      if (isInput(w)) inputs.push_back(w);
    }
    for (QWidget* w : inputs) {
      for (const std::string& n : widgetNames(w)) {
        if (driveKey(n) == key) offer(w, 0);
        else if (driveKey(n).find(key) != std::string::npos) offer(w, 500'000);
      }
    }
    // A label names the field it is the buddy of, else the nearest one to its right or below.
    for (QWidget* l : all) {
      const std::string text = driveKey(ownText(l));
      if (text.empty() || !(qobject_cast<QLabel*>(l) || qobject_cast<TXLabel*>(l)) || isInput(l)) continue;
      const bool exact = text == key;
      if (!exact && text.find(key) == std::string::npos) continue;
      const int base = exact ? 10 : 600'000;
      if (auto* ql = qobject_cast<QLabel*>(l); ql && ql->buddy() && isInput(ql->buddy())) {
        offer(ql->buddy(), base);
        continue;
      }
      const QRect lr = inWindow(l, window);
      for (QWidget* w : inputs) {
        const QRect r = inWindow(w, window);
        int distance = -1;
        if (r.left() >= lr.left() && r.top() <= lr.bottom() && r.bottom() >= lr.top()) {
          distance = std::max(0, r.left() - lr.right());
        } else if (r.top() >= lr.top() && r.left() < lr.right() + 40 && r.right() > lr.left() - 40) {
          distance = 2000 + std::max(0, r.top() - lr.bottom());
        }
        if (distance >= 0) offer(w, base + 1 + distance);
      }
    }
  }
  return best.w;
}

std::vector<std::string> inputNames(const std::vector<QWidget*>& windows) {
  std::vector<std::string> out;
  for (QWidget* window : windows) {
    for (QWidget* w : descendants(window)) {
      if (!isInput(w) || !w->isVisible()) continue;
      const std::vector<std::string> names = widgetNames(w);
      addUnique(out, names.empty() ? std::string(w->metaObject()->className()) : names.front());
    }
  }
  return out;
}

std::string setInput(QWidget* input, const std::string& value) {
  if (!input->isEnabled()) return "das Feld ist gesperrt";
  if (auto* combo = qobject_cast<QComboBox*>(input)) {
    std::vector<std::string> items;
    for (int i = 0; i < combo->count(); ++i) {
      items.push_back(cp(combo->itemText(i)));
      if (driveKey(items.back()) != driveKey(value)) continue;
      combo->setCurrentIndex(i);
      emit combo->activated(i);
      emit combo->textActivated(combo->itemText(i));
      return {};
    }
    if (!combo->isEditable()) return "kein Eintrag " + quoted(value) + "; vorhanden: " + joined(items);
    combo->setEditText(zek::toQString(value));
    return {};
  }
  if (auto* spin = qobject_cast<QSpinBox*>(input)) {
    int v = 0;
    if (!parseInt(value, v)) return "ganze Zahl erwartet, nicht " + quoted(value);
    spin->setValue(v);
    emit spin->editingFinished();
    return {};
  }
  if (auto* spin = qobject_cast<QDoubleSpinBox*>(input)) {
    std::string text = value;
    std::replace(text.begin(), text.end(), ',', '.');
    bool ok = false;
    const double v = QString::fromStdString(text).toDouble(&ok);
    if (!ok) return "Zahl erwartet, nicht " + quoted(value);
    spin->setValue(v);
    emit spin->editingFinished();
    return {};
  }
  if (auto* slider = qobject_cast<QAbstractSlider*>(input)) {
    int v = 0;
    if (!parseInt(value, v)) return "ganze Zahl erwartet, nicht " + quoted(value);
    // Pressed, moved, released: the signals of a learner's drag.
    slider->setSliderDown(true);
    slider->setSliderPosition(v);
    slider->setSliderDown(false);
    return {};
  }
  if (auto* edit = qobject_cast<QLineEdit*>(input)) {
    if (edit->isReadOnly()) return "das Feld nimmt keine Eingabe an";
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    if (value.empty()) driveKeyPress(edit, Qt::Key_Backspace, QStringLiteral("\b"));
    else typeInto(edit, value);
    return {};
  }
  if (auto* edit = qobject_cast<QTextEdit*>(input)) {
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    edit->insertPlainText(zek::toQString(value));
    return {};
  }
  if (auto* edit = qobject_cast<QPlainTextEdit*>(input)) {
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    edit->insertPlainText(zek::toQString(value));
    return {};
  }
  if (auto* edit = qobject_cast<tXColorEdit*>(input)) {
    if (edit->ReadOnly()) return "das Feld nimmt keine Eingabe an";
    edit->setFocus(Qt::OtherFocusReason);
    // Emptied with the keys a learner uses, then typed.
    edit->setCursorPos(int(edit->Text().size()));
    for (std::size_t i = edit->Text().size(); i > 0; --i) driveKeyPress(edit, Qt::Key_Backspace, QStringLiteral("\b"));
    typeInto(edit, value);
    return {};
  }
  return "dieses Feld l\xE4\xDFt sich nicht setzen";
}

QWidget* findWidget(const std::vector<QWidget*>& windows, const std::string& name) {
  const std::string key = driveListKey(name);
  QWidget* part = nullptr;
  QWidget* hidden = nullptr;
  for (QWidget* window : windows) {
    for (QWidget* w : descendants(window)) {
      for (const std::string& n : widgetNames(w)) {
        const std::string k = driveKey(n);
        if (k == key || k == driveKey(name)) {
          if (w->isVisible()) return w;
          if (!hidden) hidden = w;
        } else if (!part && w->isVisible() && k.find(key) != std::string::npos) {
          part = w;
        }
      }
    }
  }
  // Hidden widgets are looked for in every window, so "hidden" can be checked.
  if (!hidden) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      for (QWidget* w : descendants(top)) {
        for (const std::string& n : widgetNames(w)) {
          if (driveKey(n) == key) return w;
        }
      }
    }
  }
  return hidden ? hidden : part;
}

QAction* findAction(QWidget* window, const std::string& name) {
  std::vector<QAction*> all;
  for (QAction* a : window->findChildren<QAction*>()) all.push_back(a);
  for (QAction* a : window->actions()) all.push_back(a);
  return matchAction(menuActions(all, false), name);
}

QAction* findMenuItem(QWidget* window, const std::string& path, std::string& error) {
  std::vector<std::string> parts;
  for (std::size_t start = 0;;) {
    const std::size_t slash = path.find('/', start);
    parts.push_back(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  std::vector<QAction*> roots;
  if (auto* bar = window->findChild<QMenuBar*>()) {
    for (QAction* a : bar->actions()) roots.push_back(a);
  } else {
    // Context menus: the window's pop-up menus and the actions of widgets that show theirs.
    for (QMenu* m : window->findChildren<QMenu*>()) {
      if (qobject_cast<QMenu*>(m->parent())) continue;  // a sub-menu, reached through its parent
      for (QAction* a : m->actions()) roots.push_back(a);
    }
    for (QWidget* w : descendants(window)) {
      if (w->contextMenuPolicy() != Qt::ActionsContextMenu) continue;
      for (QAction* a : w->actions()) roots.push_back(a);
    }
  }
  if (roots.empty()) {
    error = "das Fenster hat kein Men\xFC";
    return nullptr;
  }
  std::vector<QAction*> level = menuActions(roots, false);
  QAction* found = nullptr;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    found = matchAction(level, parts[i]);
    if (!found && parts.size() == 1) found = matchAction(menuActions(roots, true), parts[i]);
    if (!found) {
      error = "kein Men\xFCpunkt " + quoted(parts[i]) + "; vorhanden: " + joined(actionTexts(level));
      return nullptr;
    }
    if (i + 1 == parts.size()) break;
    QMenu* menu = found->menu();
    if (!menu) {
      error = quoted(parts[i]) + " hat kein Untermen\xFC";
      return nullptr;
    }
    emit menu->aboutToShow();
    const QList<QAction*> items = menu->actions();
    level = menuActions(std::vector<QAction*>(items.begin(), items.end()), false);
  }
  return found;
}

std::string windowText(QWidget* window) {
  std::string out = cp(window->windowTitle());
  const auto add = [&](const std::string& t) {
    if (t.empty()) return;
    if (!out.empty()) out += ' ';
    out += t;
  };
  for (QWidget* w : descendants(window)) {
    if (!w->isVisible()) continue;
    add(ownText(w));
    if (const auto* cells = dynamic_cast<const TDriveCells*>(w)) {
      for (const TDriveCell& cell : cells->driveCells()) add(cell.text);
    }
    if (auto* e = qobject_cast<QLineEdit*>(w)) add(cp(e->text()));
    else if (auto* e = qobject_cast<QTextEdit*>(w)) add(cp(e->toPlainText()));
    else if (auto* e = qobject_cast<QPlainTextEdit*>(w)) add(cp(e->toPlainText()));
    else if (auto* c = qobject_cast<QComboBox*>(w)) add(cp(c->currentText()));
    else if (auto* s = qobject_cast<QAbstractSpinBox*>(w)) add(cp(s->text()));
    else if (auto* e = qobject_cast<tXColorEdit*>(w)) add(e->Text());
    else if (auto* r = qobject_cast<tXRadioGroup*>(w)) {
      for (int i = 0; i < int(r->Items().size()); ++i) add(r->cellText(i));
    } else if (auto* l = qobject_cast<TXListBox*>(w)) {
      for (const std::string& line : l->Items()) add(line.empty() || (line.front() != '\xA7' && line.front() != '$') ? line : line.substr(1));
    } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
      for (int i = 0; i < tabs->count(); ++i) add(cp(tabs->tabText(i)));
    } else if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
      std::vector<TDriveTarget> cells;
      addItemView(cells, view);
      for (const TDriveTarget& t : cells) add(t.text);
    }
  }
  return out;
}
