#pragma once

#include "app/tpagecommand.h"

class TMain;

// The command table's actions over the main window and the trainer objects. Rows whose
// trainer window or quiz does not exist yet say so in a message instead of doing nothing.
class TMainActions : public TCommandActions {
 public:
  explicit TMainActions(TMain& main) : m_main(main) {}

  bool verbTrainerExists() const override;
  void processPendingMessages() override;

  void goSprachlabor() override { notYet("Das Sprachlabor"); }
  void stopPresentation() override {}
  void goEditor() override { notYet("Der Vokabel-Editor"); }
  void wbZeigen() override { notYet("Das W\xF6rterbuch-Fenster"); }
  void recSetup() override { notYet("Die Aufnahme-Einstellungen"); }
  void waveBase() override { notYet("Die Aufnahmen-Verwaltung"); }
  void goVocEin() override { notYet("Die Vokabeltrainer-Optionen"); }
  void goVerbEinstellungen() override { notYet("Die Verbauswahl"); }
  bool verbTrainerReady() const override { return false; }
  void startVerbRound() override { notYet("Der Verbtrainer"); }
  void vocAus() override { notYet("Die Auswertung"); }
  void verbWeiter() override {}
  void verbAnswer(const std::string&) override {}
  void vokabelWeiter() override {}
  void vokabelAnswer(const std::string&) override {}
  void verbPreset(int) override {}
  bool go() override;
  void vegas() override { notYet("Das Bingo-Spiel"); }
  void goAbfrage() override { notYet("Die Vokabelabfrage"); }
  void goSuper() override { notYet("Superlearning"); }
  void superOpts() override { notYet("Die Superlearning-Einstellungen"); }
  void openUrl(const std::string& url) override;
  void seekCd() override;
  void beenden() override;

 private:
  static void notYet(const char* what);
  TMain& m_main;
};
