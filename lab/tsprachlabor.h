// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lab/tthemenliste.h"
#include "platform/thandover.h"

#include <QImage>
#include <QTimer>

#include <functional>
#include <random>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class TAussprache;
class tXColorButton;
class tXColorEdit;

// "Sprachlabor": drills the built-in sentences by topic. The learner sees the German
// sentence, types the English one into a field with a letter pattern, hears it spoken
// (alias "satz"), records himself and plays the take back. Stands in for the main window
// while open; closing stores the topic under "...\Sprachlabor" as "Thema", frees the
// recorder and hands back.
class TSprachlabor : public TTrainerWindow {
  Q_OBJECT
 public:
  // `themaAnfrage`: the topic the page commands asked for; -1 the one saved at the last
  // close. An index outside the topics gives topic 0.
  explicit TSprachlabor(int themaAnfrage, QWidget* parent = nullptr);
  ~TSprachlabor() override;

  static constexpr int kRecordMs = 100;  // polling while recording
  static constexpr int kPlayMs = 25;     // polling while playing
  static constexpr int kMaxMs = 9999;    // a take stops past this position

  const TThemenListe& Themen() const { return m_themen; }
  // The current sentence (an empty one in a topic without sentences).
  const TSatz& Satz() const;

  QLabel* ThemaLabel() const { return m_themaLabel; }
  QLabel* DeutschLabel() const { return m_deutsch; }
  QLabel* LoesungLabel() const { return m_loesung; }
  QLabel* MeldungLabel() const { return m_meldung; }
  tXColorEdit* Eingabe() const { return m_eingabe; }
  tXColorButton* Aufnahme() const { return m_aufnahme; }
  tXColorButton* Abspielen() const { return m_abspielen; }
  tXColorButton* Vorlesen() const { return m_vorlesen; }
  tXColorButton* Weiter() const { return m_weiter; }
  tXColorButton* Home() const { return m_home; }
  QMenu* Menu() const { return m_menu; }
  QAction* Diktieren() const { return m_diktieren; }
  QAction* Uebersetzung() const { return m_uebersetzung; }
  QAction* Grosszuegig() const { return m_grosszuegig; }
  tXColorButton* EigeneRichtig() const { return m_eigeneRichtig; }
  QAction* Zuruecknehmen() const { return m_zuruecknehmen; }
  // Everything the field accepts for the current sentence: the table's answers and the
  // learner's own.
  std::vector<std::string> loesungen() const;
  QAction* ThemaItem(int index) const { return m_themaItems.at(static_cast<std::size_t>(index)); }
  const QTimer& Timer() const { return m_timer; }
  TAussprache* Aussprache() const { return m_aussprache; }

  // The random source of the sentence picks, 0..n-1 (tests set it).
  void setZufall(std::function<int(int)> drawBelow) { m_zufall = std::move(drawBelow); }

  // What the learner's actions run.
  void WeiterClick();
  void VorlesenClick();
  void ThemaClick(int index);
  void AufnahmeEinstellungenClick();
  void HomeClick();
  void AufnahmeAn();
  void AufnahmeAus();
  void AbspielenAn();
  void AbspielenAus();
  void TimerTick();
  // "Meine Antwort war richtig": the refused answer counts and is kept for the learner.
  void EigeneRichtigClick();
  // The menu item: the learner's own answers to the current sentence no longer count.
  void EigeneZuruecknehmenClick();

  void naechsterSatz();
  void zeigeSatz();

 protected:
  bool FormCloseQuery() override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void bauen();
  void bauMenu();
  void setHinweis(QWidget* w, const char* hint);
  // Both buttons off and usable (play only once a take exists), the timer stopped.
  void ruhe(bool aufnahmeDa);
  // Tells the learning memory how the current sentence was answered.
  void merken(bool richtig, int versuche);
  // The end of a session: with the memory on, its right and wrong answers beside the trend.
  void sitzungsBilanz();
  // The steps of closing that do not hand over; once only.
  void schliessen();
  void fokusAufEingabe();
  std::string schluessel() const;  // the current sentence's key among the own answers
  std::vector<std::string> eigene() const;

  TThemenListe m_themen;
  std::mt19937 m_rng;
  std::function<int(int)> m_zufall;
  QImage m_bild;
  QImage m_aufnahmeGesperrt, m_abspielenGesperrt;
  QLabel* m_themaLabel = nullptr;
  QLabel* m_deutsch = nullptr;
  QLabel* m_loesung = nullptr;
  QLabel* m_meldung = nullptr;
  tXColorEdit* m_eingabe = nullptr;
  tXColorButton* m_aufnahme = nullptr;
  tXColorButton* m_abspielen = nullptr;
  tXColorButton* m_vorlesen = nullptr;
  tXColorButton* m_weiter = nullptr;
  tXColorButton* m_home = nullptr;
  QMenu* m_menu = nullptr;
  QAction* m_diktieren = nullptr;
  QAction* m_uebersetzung = nullptr;
  QAction* m_grosszuegig = nullptr;
  QAction* m_zuruecknehmen = nullptr;
  tXColorButton* m_eigeneRichtig = nullptr;
  std::string m_verworfen;  // the answer the field refused last
  std::vector<QAction*> m_themaItems;
  TAussprache* m_aussprache = nullptr;
  QTimer m_timer;
  bool m_imTick = false;
  bool m_geschlossen = false;
};
