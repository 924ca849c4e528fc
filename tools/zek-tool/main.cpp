// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/zek-tool/command.h"

#include "platform/codec.h"
#include "platform/messages.h"
#include "platform/version.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <iostream>

std::vector<TToolCommand>& toolCommands() {
  static std::vector<TToolCommand> commands;
  return commands;
}

void printText(const std::string& cp1252) { std::cout << zek::cp1252ToUtf8(cp1252); }

void reportMessagesOnStderr() {
  zek::setMessageAnswerer([](const TMessageRequest& r) {
    std::cerr << "message: " << zek::cp1252ToUtf8(r.text) << "\n";
    return zek::defaultAnswer(r.flags);
  });
}

namespace {
int usage() {
  auto commands = toolCommands();
  std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  std::cerr << "zek-tool: the command-line companion of zek englisch\n\nUsage:\n";
  for (const auto& c : commands) std::cerr << "  zek-tool " << c.usage << "\n      " << c.help << "\n";
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::string(argv[1]) == "help" || std::string(argv[1]) == "--help") return usage();
  if (std::string(argv[1]) == "--version") {
    std::cout << "zek englisch " << zek::programVersion() << "\n";
    return 0;
  }
  const std::string name = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  for (const auto& c : toolCommands()) {
    if (c.name == name) {
      try {
        return c.run(args);
      } catch (const std::exception& e) {
        std::cerr << "zek-tool " << name << ": " << e.what() << "\n";
        return 1;
      }
    }
  }
  std::cerr << "zek-tool: unknown command \"" << name << "\"\n";
  return usage();
}
