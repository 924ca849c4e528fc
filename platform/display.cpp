// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/display.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
std::optional<TDisplayInfo>& displayOverride() {
  static std::optional<TDisplayInfo> info;
  return info;
}
}  // namespace

TDisplayInfo displayInfo() {
  if (displayOverride()) return *displayOverride();
  TDisplayInfo info;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    info.depth = screen->depth();
    info.width = screen->geometry().width();
    info.height = screen->geometry().height();
  }
  return info;
}

void setDisplayOverride(std::optional<TDisplayInfo> info) { displayOverride() = info; }
