// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/tclock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <random>

std::int64_t TSteadyClock::nowMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void TEventPump::waitUntil(std::int64_t untilMs, const std::function<bool()>& stop) {
  for (;;) {
    if (stop && stop()) return;
    const std::int64_t rest = untilMs - m_clock.nowMs();
    if (rest <= 0) return;
    // Sleeps in the event loop until an event comes or the timer wakes it: no busy spinning
    // (the overload with a time limit drops WaitForMoreEvents and would spin).
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(int(std::min<std::int64_t>(rest, 50)));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
}

void TEventPump::processPending() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void TManualPump::waitUntil(std::int64_t untilMs, const std::function<bool()>& stop) {
  for (;;) {
    if (hook) hook(m_clock.nowMs());
    if (stop && stop()) return;
    if (m_clock.nowMs() >= untilMs) return;
    m_clock.advanceMs(std::min(m_step, untilMs - m_clock.nowMs()));
  }
}

namespace {
std::mt19937& generator() {
  static std::mt19937 g(std::random_device{}());
  return g;
}
}  // namespace

int zufall(int n) {
  if (n <= 0) return 0;
  return std::uniform_int_distribution<int>(0, n - 1)(generator());
}

void setZufallSeed(unsigned seed) { generator().seed(seed); }

void reseedZufall() {
  const char* seed = std::getenv("ZEK_SEED");
  setZufallSeed(seed && *seed ? unsigned(std::strtoul(seed, nullptr, 10)) : std::random_device{}());
}
