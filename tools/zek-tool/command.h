// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

// Each subcommand lives in its own file and registers itself here.
struct TToolCommand {
  std::string name;
  std::string usage;  // "pack SRC DEST"
  std::string help;   // one line
  std::function<int(const std::vector<std::string>& args)> run;
};

std::vector<TToolCommand>& toolCommands();

struct TToolCommandRegistrar {
  explicit TToolCommandRegistrar(TToolCommand command) { toolCommands().push_back(std::move(command)); }
};

class TXDatabase;

// Loads both halves of the installation's dictionary (beside zek-tool), or of the one in
// `dir` when that is not empty; throws when they do not load.
void woerterbuchLaden(TXDatabase& db, const std::string& dir);

// Prints a Windows-1252 text as UTF-8.
void printText(const std::string& cp1252);

// Messages the code under a command would show are printed on stderr and answered by default.
void reportMessagesOnStderr();

// The application object a command needs, unless one exists already (then nullptr). Fonts
// and widgets use the offscreen platform unless another is set, so no display is needed.
template <class App>
std::unique_ptr<App> toolApplication() {
  if (QCoreApplication::instance()) return nullptr;
  if constexpr (!std::is_same_v<App, QCoreApplication>) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  static int argc = 1;
  static char name[] = "zek-tool";
  static char* argv[] = {name, nullptr};
  return std::make_unique<App>(argc, argv);
}
