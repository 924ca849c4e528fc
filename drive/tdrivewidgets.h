#pragma once

#include <QPoint>
#include <QString>
#include <Qt>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QWidget;

// How the script driver finds things in trainer windows and dialogs. Texts are
// Windows-1252; they match captions with "&" removed and list lines without their
// "§"/"$" marker, without regard to case.

// The text as it is compared: accelerator "&" removed ("&&" keeps one), lower case.
std::string driveKey(std::string_view cp1252);
// The same for a list line: a leading "§" or "$" marker is dropped first.
std::string driveListKey(std::string_view cp1252);

// Input as a learner gives it, sent to the widget: move, press and release; a drag in
// steps of `step` pixels with the button held; a key press and release.
void driveMouse(QWidget* w, QPoint pos, Qt::MouseButton button);
void driveDrag(QWidget* w, QPoint from, QPoint to, int step);
void driveKeyPress(QWidget* w, int key, const QString& text);
int driveKeyForChar(QChar c);

// The windows a script acts on, front first: the modal dialog, the active window, other
// visible dialogs and tool windows, then the main or trainer window.
std::vector<QWidget*> driveWindows();

// Something a learner clicks: a button, check box, radio cell, tab, list line, item view
// cell or a self-drawn widget's cell. `locate` scrolls it into view and gives the point.
struct TDriveTarget {
  std::string text;  // as shown (Windows-1252)
  QWidget* widget = nullptr;
  std::function<QPoint()> locate;
};
std::vector<TDriveTarget> clickTargets(QWidget* window);
// Exact (case-insensitive) before a part of the text; nullptr when nothing matches.
const TDriveTarget* bestTarget(const std::vector<TDriveTarget>& targets, const std::string& text);

// The names a widget answers to: its caption (or text), tool tip, object name,
// accessible name and place-holder text.
std::vector<std::string> widgetNames(const QWidget* w);

// An input widget (line edit, text edit, spin box, combo box, slider, the system's own
// input field) by its label, hint or name; also hidden ones when `hidden`.
QWidget* findInput(const std::vector<QWidget*>& windows, const std::string& name);
std::vector<std::string> inputNames(const std::vector<QWidget*>& windows);
// Sets the value as the learner would, so the widget's own signals fire; "" or the reason.
std::string setInput(QWidget* input, const std::string& value);

// A widget (visible ones first) or a menu action by caption, hint or name.
QWidget* findWidget(const std::vector<QWidget*>& windows, const std::string& name);
QAction* findAction(QWidget* window, const std::string& name);

// "Menu/Item" in the window's menu bar, or an item of its context menus when it has no bar.
// nullptr with the reason in `error`.
QAction* findMenuItem(QWidget* window, const std::string& path, std::string& error);

// Labels, captions, field texts, list lines and item view cells of a window, blank separated.
std::string windowText(QWidget* window);
