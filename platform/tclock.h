// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

// Milliseconds on a clock that only moves forward; presentations pace themselves by it,
// tests by a manual one.
class TClock {
 public:
  virtual ~TClock() = default;
  virtual std::int64_t nowMs() const = 0;
};

class TSteadyClock final : public TClock {
 public:
  std::int64_t nowMs() const override;
};

class TManualClock final : public TClock {
 public:
  std::int64_t nowMs() const override { return m_now; }
  void advanceMs(std::int64_t ms) { m_now += ms; }

 private:
  std::int64_t m_now = 0;
};

// Lets window events run until the clock reaches a time or `stop` says so. The real pump
// sleeps in the event loop between events; a test pump moves a manual clock instead.
class TPump {
 public:
  virtual ~TPump() = default;
  virtual const TClock& clock() const = 0;
  // Returns when nowMs() >= untilMs or stop() is true (checked after every batch of events).
  virtual void waitUntil(std::int64_t untilMs, const std::function<bool()>& stop) = 0;
  // Lets pending events run once, without waiting.
  virtual void processPending() = 0;
  void waitFor(std::int64_t ms, const std::function<bool()>& stop) { waitUntil(clock().nowMs() + ms, stop); }
};

class TEventPump final : public TPump {
 public:
  const TClock& clock() const override { return m_clock; }
  void waitUntil(std::int64_t untilMs, const std::function<bool()>& stop) override;
  void processPending() override;

 private:
  TSteadyClock m_clock;
};

// Steps a manual clock by `stepMs` per wait round and calls `hook` at every step, so a test
// can click or stop at a chosen virtual time.
class TManualPump final : public TPump {
 public:
  explicit TManualPump(std::int64_t stepMs = 10) : m_step(stepMs) {}
  const TClock& clock() const override { return m_clock; }
  TManualClock& manualClock() { return m_clock; }
  void waitUntil(std::int64_t untilMs, const std::function<bool()>& stop) override;
  void processPending() override {
    if (hook) hook(m_clock.nowMs());
  }
  std::function<void(std::int64_t nowMs)> hook;

 private:
  TManualClock m_clock;
  std::int64_t m_step;
};

// The one random source of the presentations: 0..n-1, and 0 for n <= 0 (nested draws
// reach random(0)).
int zufall(int n);
void setZufallSeed(unsigned seed);
// A fresh seed for a new presentation; ZEK_SEED makes scripted runs repeatable.
void reseedZufall();
