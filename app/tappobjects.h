#pragma once

#include <memory>

class TXDatabase;
class TBibliothek;
class TVocEinstellungen;
class TRes;
class TVerben;
class TAbfrageAnzeige;

// The process-wide trainer objects the shell owns from start-up to the orderly exit.
struct TAppObjects {
  std::unique_ptr<TXDatabase> database;
  std::unique_ptr<TBibliothek> bibliothek;
  std::unique_ptr<TVocEinstellungen> einstellungen;
  std::unique_ptr<TRes> res;
  std::unique_ptr<TVerben> verben;
  std::unique_ptr<TAbfrageAnzeige> abfrageAnzeige;  // where the quiz shows its pages

  TAppObjects();
  ~TAppObjects();
  // Creates the library, its settings, the answer pool and the verb trainer if missing.
  void createTrainers();
  // Frees them in the exit order: verbs, library, settings, pool.
  void freeTrainers();
};

TAppObjects& appObjects();
