// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/tstimme.h"

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>

// Speaks words that have no recording yet, in a worker thread with the chosen voice, into
// files below `ordner`. The caller is told on the worker thread and hands over to its own.
class TWortSprecher {
 public:
  using TFertig = std::function<void(const std::string& wort, const std::string& datei)>;
  // Makes the synthesiser on the worker thread (the espeak voice runs a process from there).
  using TFabrik = std::function<std::unique_ptr<TSprecher>()>;
  TWortSprecher(std::filesystem::path ordner, TStimmeArt stimme, TFertig fertig);
  TWortSprecher(std::filesystem::path ordner, TFabrik fabrik, TFertig fertig);
  ~TWortSprecher();  // finishes the word in hand, drops the rest
  TWortSprecher(const TWortSprecher&) = delete;
  TWortSprecher& operator=(const TWortSprecher&) = delete;

  // Queues a word (Windows-1252); a word already queued is not queued twice. `fertig` gets
  // the written file, or an empty name when the voice could not speak it. A file that is
  // there already (spoken in an earlier run) is taken as it is.
  void auftrag(const std::string& wort);
  const std::filesystem::path& ordner() const { return m_ordner; }

  // The file a word is spoken into: one folder per first letter, the word made safe for a
  // file name (a store entry carries the real word).
  static std::filesystem::path dateiFuer(const std::filesystem::path& ordner, const std::string& wort);
  // Synthesis, trimming and writing in one (also the benchmark's unit); false on failure.
  static bool sprichInDatei(TSprecher& sprecher, const std::string& wort, const std::filesystem::path& datei);

 private:
  void lauf();

  std::filesystem::path m_ordner;
  TFabrik m_fabrik;
  TFertig m_fertig;
  std::mutex m_mutex;
  std::condition_variable m_wach;
  std::deque<std::string> m_warteschlange;
  std::set<std::string> m_offen;
  bool m_ende = false;
  std::thread m_thread;
};

namespace zek {
// Lets speakWord speak English words without a recording at run time: the file goes into
// Woerter/<voice>/ of the learner's data folder, the store gets the entry on the GUI thread (so
// it is reused; the file is found again next run, so the store need not be saved), and the
// word plays when it was asked to. Called by the app after the
// store exists. The speaker stops, waiting for the word in hand, when it is stopped, when the
// application quits or is destroyed; a word finished after that is dropped.
void startRuntimeWordSpeaker();
// The same with another synthesiser and folder (tests: a slow voice).
void startRuntimeWordSpeaker(std::filesystem::path ordner, TWortSprecher::TFabrik fabrik);
void stopRuntimeWordSpeaker();
// After a change of voice: a running speaker starts again with the new one.
void restartRuntimeWordSpeaker();
}  // namespace zek
