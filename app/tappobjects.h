// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

class TXDatabase;
class TBibliothek;
class TVocEinstellungen;
class TRes;
class TVerben;
class TAbfrageAnzeige;
class TXWaveBase;
class TXWb;
class TLernDatenbank;
namespace zek {
class TDictionaryLoad;
}

// The process-wide trainer objects the shell owns from start-up to the orderly exit.
struct TAppObjects {
  std::unique_ptr<TXDatabase> database;
  std::unique_ptr<TBibliothek> bibliothek;
  std::unique_ptr<TVocEinstellungen> einstellungen;
  std::unique_ptr<TRes> res;
  std::unique_ptr<TVerben> verben;
  std::unique_ptr<TAbfrageAnzeige> abfrageAnzeige;  // where the quiz shows its pages
  std::unique_ptr<TXWaveBase> waveBase;  // the word-to-recording store
  TXWb* dictionaryWindow = nullptr;      // parentless: it outlives every main window
  // The dictionary files being read since start-up; they join the database on first need.
  std::unique_ptr<zek::TDictionaryLoad> dictionaryLoad;
  std::unique_ptr<TLernDatenbank> lernDatenbank;  // the learning memory while it is switched on

  TAppObjects();
  ~TAppObjects();
  // Creates the library, its settings, the answer pool and the verb trainer if missing.
  void createTrainers();
  // Frees them in the exit order: verbs, library, settings, pool.
  void freeTrainers();
  // A new store loaded from `file` (nothing for an empty name), used by the speaking operations.
  void loadWaveBase(const std::string& file);
  // Frees the store (it remembers where it was saved) and the recorder.
  void freeWaveBase();
  // Start-up: an empty database, and both dictionary files read in the background.
  void startDictionaryLoad(const std::string& dictFile1, const std::string& dictFile2);
  // The database with the files of startDictionaryLoad added (waits for them if need be).
  TXDatabase& dictionary();
  // The hidden dictionary window over the database (loaded as start-up does if missing).
  void createDictionaryWindow();
  // Program end: the window saves the dictionary (asking while the event loop still
  // runs), is destroyed, and the database with it.
  void freeDictionaryWindow();
  // The learning memory as its settings say: opened and installed for the trainers, or
  // closed (switched off). Called at start-up and when the options change.
  void lernspeicherAnwenden();
};

TAppObjects& appObjects();
