// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace zek::test {

// Delivers one mouse event to a widget, as the window system would.
inline void mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

inline void click(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
  mouse(w, QEvent::MouseButtonPress, at, button, button);
  mouse(w, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}

}  // namespace zek::test
