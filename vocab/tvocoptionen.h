// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/thandover.h"
#include "vocab/tzuletztliste.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QMenuBar;
class QSlider;
class TBibliothek;
class TVocEinstellungen;
class TXCustomCheckBox;
class TXListBox;
class tXColorButton;
class tXRadioGroup;

// "Vokabeltrainer - Einstellungen": the hub of the vocabulary trainer. It shows the loaded
// library, edits the quiz settings and checks them after every change, runs the file
// functions and starts the quiz, the editor and the print functions. It takes the main
// window's place while open.
class TVocOptionen : public TTrainerWindow {
  Q_OBJECT
 public:
  // The windows this one hands over to that live above the trainer: a maker returning
  // nullptr (or none) means the window is not built yet.
  struct TWege {
    std::function<QWidget*()> editor;
    // The learning memory: its settings were changed (open or close it), and its progress window.
    std::function<void()> lernspeicherGeaendert;
    std::function<void(QWidget*)> lernfortschritt;
  };

  TVocOptionen(TBibliothek& bib, TVocEinstellungen& einstellungen, TWege wege = {}, QWidget* parent = nullptr);
  ~TVocOptionen() override;

  // Rebuilds lists and labels from the library, then checks.
  void Aktualisieren();
  // Takes the range from the lists, counts the active entries and shows whether a quiz is
  // possible. True when it is.
  bool Pruefen();

  // File functions; each returns false when it was cancelled or failed.
  bool Oeffnen();
  bool Hinzufuegen();
  // Text (tab, comma or semicolon) and KVTML files from and to other vocabulary programs.
  bool Importieren();
  bool Exportieren();
  bool ZuletztOeffnen(int slot);
  bool Speichern();
  bool SpeichernUnter();
  bool Neu();
  void Info();
  void Sortieren();
  void Mischen();
  void DoppelteEntfernen();
  // Start functions.
  void Abfragen();
  void Superlearning(int stil);
  void Editor();
  void Home();
  void OnlineHilfe();

  // Widgets, for tests and the driver.
  tXRadioGroup* Modus() const { return m_modus; }
  tXRadioGroup* Richtung() const { return m_richtung; }
  TXCustomCheckBox* Stufe(int i) const { return m_stufen[static_cast<std::size_t>(i)]; }
  TXCustomCheckBox* Redewendungen() const { return m_redewendungen; }
  TXCustomCheckBox* Kontext() const { return m_kontext; }
  QComboBox* Von() const { return m_von; }
  QComboBox* Bis() const { return m_bis; }
  QSlider* ProRunde() const { return m_proRunde; }
  QSlider* MultipleChoice() const { return m_mc; }
  TXListBox* Liste() const { return m_liste; }
  QLabel* NameLabel() const { return m_name; }
  QLabel* AktivLabel() const { return m_aktiv; }
  QLabel* Ampel() const { return m_ampel; }
  QLabel* FaelligLabel() const { return m_faellig; }
  QAction* ZuletztAktion(int slot) const { return m_zuletztAktionen[static_cast<std::size_t>(slot)]; }
  QAction* OnlineHilfeAktion() const { return m_onlineHilfe; }
  QAction* GrosszuegigAktion() const { return m_grosszuegig; }
  tXColorButton* StartKnopf(const std::string& caption) const;

 protected:
  bool FormCloseQuery() override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  void aufbauen();
  void menueAufbauen();
  void zuletztLesen();
  void zuletztMerken();
  void proRundeAnpassen();
  void vonBisGewaehlt();
  void einstellungAendern(const std::function<void()>& aendern);
  // The editor's save question before the library is replaced; false: keep it.
  bool aenderungenSichern();
  bool speichernNach(const std::string& pfad);
  void nachLaden();
  void verlassen();
  // The learning memory's row: switch, due count with its review button, retention.
  void lernspeicherAufbauen();
  void lernspeicherZeigen();
  void Wiederholen();

  TBibliothek& m_bib;
  TVocEinstellungen& m_e;
  TWege m_wege;
  TZuletztListe m_zuletzt;
  std::vector<int> m_indizes;  // library index of each list item
  bool m_fuellt = false;

  QMenuBar* m_menu = nullptr;
  tXRadioGroup *m_modus = nullptr, *m_richtung = nullptr;
  std::array<TXCustomCheckBox*, 5> m_stufen{};
  TXCustomCheckBox *m_redewendungen = nullptr, *m_kontext = nullptr;
  QComboBox *m_von = nullptr, *m_bis = nullptr;
  QSlider *m_proRunde = nullptr, *m_mc = nullptr;
  QLabel *m_proRundeText = nullptr, *m_proRundeZahl = nullptr, *m_mcZahl = nullptr, *m_tippZahl = nullptr;
  TXListBox* m_liste = nullptr;
  QLabel *m_name = nullptr, *m_aktiv = nullptr, *m_ampel = nullptr;
  std::vector<tXColorButton*> m_startKnoepfe;
  std::array<QAction*, TZuletztListe::kAnzahl> m_zuletztAktionen{};
  QAction* m_onlineHilfe = nullptr;
  QAction* m_grosszuegig = nullptr;
  TXCustomCheckBox* m_lernAn = nullptr;
  QLabel *m_faellig = nullptr, *m_behaltenText = nullptr;
  QSlider* m_behalten = nullptr;
  std::vector<QWidget*> m_lernTeile;  // shown only while the memory is on
};
