// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/messages.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdlib>
#include <filesystem>
#include <memory>

// The one application object of a benchmark program: off-screen unless told otherwise, and
// every message box answered with its default, so nothing waits for a learner.
inline QApplication& benchApp() {
  static int argc = 1;
  static char name[] = "bench";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QApplication> instance = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    auto a = std::make_unique<QApplication>(argc, argv);
    zek::setMessageAnswerer([](const TMessageRequest& r) { return zek::defaultAnswer(r.flags); });
    return a;
  }();
  return *instance;
}

// The assembled installation: $ZEK_DIST_DIR, else dist/ beside the benchmark folder.
inline std::filesystem::path benchDistDir() {
  if (const char* d = std::getenv("ZEK_DIST_DIR")) return d;
  return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / ".." / "dist";
}
