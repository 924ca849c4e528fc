// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/tspeech.h"
#include "platform/thandover.h"
#include "vocab/tvoceditorkern.h"

#include <QTimer>

#include <memory>

class QAction;
class QComboBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QToolButton;
class TXListBox;

// "zek englisch - Vokabeleditor": the library entry by entry beside the dictionary. A thin
// window over TVocEditorKern; the checks of the "Spezial" menu run over the same core.
class TVocEditor : public TTrainerWindow {
  Q_OBJECT
 public:
  TVocEditor(TBibliothek& bib, TXDatabase& db, QWidget* parent = nullptr);
  ~TVocEditor() override;

  TVocEditorKern& Kern() { return m_kern; }
  TXListBox* Liste() const { return m_liste; }
  QLineEdit* WortFeld() const { return m_wort; }
  QPlainTextEdit* BedeutungFeld(int welche) const { return m_bed[welche]; }
  QLineEdit* KontextFeld(int welche) const { return m_kon[welche]; }
  QComboBox* WortartListe() const { return m_wortart; }
  QLineEdit* WbWortFeld() const { return m_wbWort; }
  QPlainTextEdit* WbBedeutungFeld() const { return m_wbBed; }
  QToolButton* RichtungKnopf() const { return m_richtung; }
  QAction* Aktion(const char* text) const;

  // The clipboard operations on the focused field, and the special characters.
  void ausschneiden();
  void kopieren();
  void einfuegen();
  void loeschen();
  void zeichenEinfuegen(const std::string& zeichen);

  void aufnahmeKlick(bool an);
  void abspielenKlick(bool an);
  void speichernKlick();
  void timerTick();
  void abfragen();
  // The four superlearning buttons: 0 classic, 1 crazy, 2 Techno, 3 Seventies.
  void superlearning(int style, QWidget* knopf);
  void einstellungenOeffnen();

 protected:
  bool FormCloseQuery() override;
  bool eventFilter(QObject* o, QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  void aufbauen();
  void menues();
  void zeigen();
  void woerterbuchZeigen();
  void kontrolleSetzen(bool an);
  bool verlassenErlaubt();
  void pruefung(void (*lauf)(TEditorZugriff&));
  void zufall();
  void nichtVerfuegbar(const char* was);
  void flaggenZeigen();
  // The language of a field's text, for speaking it.
  TWortSprache spracheVon(const QWidget* feld);

  TVocEditorKern m_kern;
  bool m_zeigt = false;
  bool m_ohneFrage = false;
  bool m_listeSetzt = false;
  TXListBox* m_liste = nullptr;
  QLabel *m_position = nullptr, *m_groesse = nullptr, *m_name = nullptr;
  QLineEdit* m_wort = nullptr;
  QPlainTextEdit* m_bed[2]{};
  QLineEdit* m_kon[2]{};
  QCheckBox* m_tip[2]{};
  QComboBox *m_wortart = nullptr, *m_schwierigkeit = nullptr;
  QToolButton *m_flaggeOben = nullptr, *m_flaggeUnten = nullptr;
  QLineEdit* m_wbWort = nullptr;
  QPlainTextEdit* m_wbBed = nullptr;
  QComboBox* m_wbArt = nullptr;
  QToolButton* m_richtung = nullptr;
  QToolButton *m_aufnahme = nullptr, *m_abspielen = nullptr, *m_speichern = nullptr;
  QToolButton* m_abfragen = nullptr;
  QTimer m_timer;
  QAction* m_aKontrolle = nullptr;
  QAction* m_zuletzt[4]{};
  QAction *m_aStaendig = nullptr, *m_aMc = nullptr, *m_aNeue = nullptr, *m_aHilfe = nullptr;
  std::vector<QAction*> m_aktionen;
};
