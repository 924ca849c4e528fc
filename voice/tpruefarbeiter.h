// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/tspracherkennung.h"
#include "voice/tstimmkurve.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The lab's work that must not hold up the window: reading a take and the model sentence into
// contours, and the recognition check. One thread; the recogniser is loaded there on the first
// check and kept. Results are handed to the callbacks on the worker thread.
class TPruefArbeiter {
 public:
  // `saetze`: every sentence the lab may ask about (the recogniser's dictionary is cut to them).
  explicit TPruefArbeiter(std::vector<std::string> saetze);
  ~TPruefArbeiter();  // finishes the job in hand, drops the rest
  TPruefArbeiter(const TPruefArbeiter&) = delete;
  TPruefArbeiter& operator=(const TPruefArbeiter&) = delete;

  enum class TErgebnis { Erkannt, NichtErkannt, NichtPruefbar, KeineErkennung };
  struct TPruefung {
    TErgebnis ergebnis = TErgebnis::NichtPruefbar;
    double abstand = 0;
    std::string fehler;  // KeineErkennung: why
  };

  void kurven(std::string modellDatei, std::string aufnahmeDatei,
              std::function<void(TStimmKurve modell, TStimmKurve lerner)> fertig);
  void pruefe(std::string aufnahmeDatei, std::string satz, std::function<void(TPruefung)> fertig);

  // The check itself, for callers with their own thread (tests, benchmarks).
  static TPruefung pruefeSignal(TSpracherkennung& erkennung, const TSignal& aufnahme, const std::string& satz,
                                double schwelle = kErkanntBis);

 private:
  void lauf();
  void einreihen(std::function<void()> job);

  std::vector<std::string> m_saetze;
  std::unique_ptr<TSpracherkennung> m_erkennung;  // worker thread only
  std::string m_ladeFehler;
  std::mutex m_mutex;
  std::condition_variable m_wach;
  std::deque<std::function<void()>> m_jobs;
  bool m_ende = false;
  std::thread m_thread;
};
