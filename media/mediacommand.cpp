// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/mediacommand.h"

#include "media/tmediaservice.h"

#include "platform/messages.h"

#include <QCoreApplication>

namespace {

constexpr std::size_t kReplyBuffer = 256;  // characters, the terminating NUL included

// The command layer's statics are never destroyed: a static QApplication's post routine and
// objects that close their aliases at exit may still reach them after static destruction began.
std::unique_ptr<TMediaService>& serviceSlot() {
  static auto* const service = new std::unique_ptr<TMediaService>();
  return *service;
}

// What fits the reply buffer, up to its first NUL.
std::string bounded(std::string text) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  if (text.size() > kReplyBuffer - 1) text.resize(kReplyBuffer - 1);
  return text;
}

std::vector<std::string>& commandLog() {
  static auto* const log = new std::vector<std::string>();
  return *log;
}

std::size_t g_commandCount = 0;

zek::MediaCommandObserver& observerSlot() {
  static auto* const observer = new zek::MediaCommandObserver();
  return *observer;
}

std::string send(std::string_view command, bool quiet, bool withCommand) {
  ++g_commandCount;
  constexpr std::size_t kLogLimit = 4096;
  auto& log = commandLog();
  if (log.size() >= kLogLimit) log.erase(log.begin(), log.begin() + kLogLimit / 2);
  log.emplace_back(command);
  if (const auto& observer = observerSlot()) observer(command, quiet);
  const TMediaReply reply = zek::mediaService().execute(command);
  if (!reply.failed()) return bounded(reply.text);
  const int code = static_cast<int>(reply.error);
  if (!quiet) {
    std::string text = bounded(mediaErrorText(code));
    if (withCommand) {
      text += " - ";
      text += command;
    }
    showMessage(text, mb::Ok | mb::IconStop);
  }
  return "Error" + std::to_string(code);
}

}  // namespace

std::string sendMediaCommand(std::string_view command, bool quiet) { return send(command, quiet, true); }

std::string sendPageMediaCommand(std::string_view command, bool quiet) { return send(command, quiet, false); }

namespace zek {

const std::vector<std::string>& mediaCommandLog() { return commandLog(); }
std::size_t mediaCommandCount() { return g_commandCount; }

TMediaService& mediaService() {
  auto& slot = serviceSlot();
  if (!slot) {
    // Sound devices must close while Qt is still there, not in static destruction.
    static const bool hooked = [] {
      qAddPostRoutine([] { serviceSlot().reset(); });
      return true;
    }();
    (void)hooked;
    slot = std::make_unique<TMediaService>();
  }
  return *slot;
}

void setMediaService(std::unique_ptr<TMediaService> service) { serviceSlot() = std::move(service); }

void setMediaCommandObserver(MediaCommandObserver observer) { observerSlot() = std::move(observer); }

void holdMediaStatics() {
  (void)serviceSlot();
  (void)commandLog();
  (void)observerSlot();
}

}  // namespace zek
