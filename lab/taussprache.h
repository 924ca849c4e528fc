// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/tpruefarbeiter.h"

#include <QObject>

#include <memory>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QWidget;
class TStimmBild;
class tXColorButton;

// The lab's look at the learner's own take: after each recording the model's and the
// learner's voice are drawn one above the other (over the picture), and with "Aussprache
// prüfen" switched on (kept under "...\Sprachlabor") a button checks the take against the
// sentence. Reading, contours and the check run in a worker thread; the window never waits.
class TAussprache : public QObject {
  Q_OBJECT
 public:
  // `saetze`: every English sentence of the lab (the recogniser's dictionary).
  TAussprache(QWidget* labor, QMenu* menu, std::vector<std::string> saetze);
  ~TAussprache() override;

  // A sentence is shown: the picture comes back, the last take and message go.
  void neuerSatz(const std::string& englisch, const std::string& datei);
  void aufnahmeBeginnt();
  // The take has ended: it is saved beside the other temporary files and drawn.
  void aufnahmeFertig();
  void pruefen();
  // Stops the worker (waits for the job in hand) and removes the take's file; once only.
  void beenden();

  QAction* Menuepunkt() const { return m_menuepunkt; }
  tXColorButton* Knopf() const { return m_knopf; }
  QLabel* Meldung() const { return m_meldung; }
  TStimmBild* Bild() const { return m_bild; }
  // A job for the worker is out (tests wait for it to come back).
  bool beschaeftigt() const { return m_offen > 0; }

 private:
  void knopfZustand();
  void zeige(const std::string& text);

  std::unique_ptr<TPruefArbeiter> m_arbeiter;
  std::string m_aufnahmeDatei;
  std::string m_satz, m_modellDatei;
  bool m_aufnahmeDa = false;
  bool m_prueft = false;
  int m_take = 0;
  int m_offen = 0;
  QAction* m_menuepunkt = nullptr;
  tXColorButton* m_knopf = nullptr;
  QLabel* m_meldung = nullptr;
  TStimmBild* m_bild = nullptr;
};
