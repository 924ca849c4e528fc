// SPDX-License-Identifier: GPL-3.0-or-later
// zek-tool media: sends media commands in sequence and prints the replies, so that sound
// can be tried by hand. Two pseudo-commands help: "wait ALIAS" polls the alias until it
// has stopped, "sleep MS" lets time pass.
#include "tools/zek-tool/command.h"

#include "media/mediacommand.h"
#include "media/mediaerror.h"
#include "media/tmediaservice.h"

#include "platform/codec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cstdlib>
#include <iostream>
#include <memory>

namespace {

// Lets Qt's audio callbacks run while the tool waits.
void pump(int ms) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
}

std::string sendAndPrint(const std::string& command) {
  const std::string reply = sendMediaCommand(command, true);
  std::cout << command << " => ";
  if (reply.rfind("Error", 0) == 0) {
    std::cout << reply << " (";
    printText(mediaErrorText(std::atoi(reply.c_str() + 5)));
    std::cout << ")";
  } else {
    printText(reply);
  }
  std::cout << "\n" << std::flush;
  return reply;
}

int runMedia(const std::vector<std::string>& args) {
  double timeout = 600;
  std::vector<std::string> commands;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--null") {
      setenv("ZEK_AUDIO", "null", 1);
    } else if (args[i] == "--timeout" && i + 1 < args.size()) {
      timeout = std::atof(args[++i].c_str());
    } else {
      commands.push_back(zek::utf8ToCp1252(args[i]));
    }
  }
  if (commands.empty()) {
    std::cerr << "zek-tool media: no command given\n";
    return 2;
  }
  const auto app = toolApplication<QCoreApplication>();
  std::cout << "device: " << (std::getenv("ZEK_AUDIO") ? std::getenv("ZEK_AUDIO") : "auto") << "\n";
  int status = 0;
  for (const std::string& command : commands) {
    if (command.rfind("wait ", 0) == 0) {
      const std::string alias = command.substr(5);
      QElapsedTimer timer;
      timer.start();
      std::string mode;
      for (;;) {
        mode = sendMediaCommand("status " + alias + " mode", true);
        if (mode != "playing" && mode != "recording" && mode != "paused") break;
        if (timer.elapsed() > timeout * 1000) {
          mode = "timeout";
          status = 1;
          break;
        }
        pump(50);
      }
      std::cout << command << " => " << mode << " after " << timer.elapsed() << " ms\n" << std::flush;
    } else if (command.rfind("sleep ", 0) == 0) {
      pump(std::atoi(command.c_str() + 6));
      std::cout << command << "\n";
    } else if (sendAndPrint(command).rfind("Error", 0) == 0) {
      status = 1;
    }
    QCoreApplication::processEvents();
  }
  zek::setMediaService(nullptr);  // stop every device before Qt goes
  return status;
}

const TToolCommandRegistrar reg({
    "media",
    "media [--null] [--timeout S] \"COMMAND\"...",
    "send media commands in order and print the replies; \"wait ALIAS\" polls until it stopped, \"sleep MS\" waits",
    runMedia,
});

}  // namespace
