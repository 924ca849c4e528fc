// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/thandover.h"

#include <array>
#include <string>

class QLabel;
class TVerben;
class TXListBox;
class tXCheckBox;
class tXColorButton;

// "Einstellungen für den Verbtrainer": which verbs take part in the verb quiz and which
// forms are asked. It takes the main window's place while open; the trainer keeps the
// selection. "Abfrage" saves it and starts a round, "Abbrechen" goes back to verben.htx.
class T_E_VerbenAuswahl : public TTrainerWindow {
  Q_OBJECT
 public:
  explicit T_E_VerbenAuswahl(TVerben& verben, QWidget* parent = nullptr);

  TXListBox* Liste() const { return m_liste; }
  tXCheckBox* FormBox(int position) const { return m_formen[static_cast<std::size_t>(position)]; }
  tXCheckBox* GrosszuegigBox() const { return m_grosszuegig; }
  tXColorButton* AlleAn() const { return m_alleAn; }
  tXColorButton* AlleAus() const { return m_alleAus; }
  tXColorButton* Abbrechen() const { return m_abbrechen; }
  tXColorButton* Abfrage() const { return m_abfrage; }
  QLabel* Zaehler() const { return m_zaehler; }

  // The masks the window's state stands for ('+' = on).
  std::string verbMaske() const;
  std::string formMaske() const;

  void UpdateVerbCounter();
  void AlleAnClick();
  void AlleAusClick();
  void AbfrageClick();
  void AbbrechenClick();

 protected:
  bool FormCloseQuery() override;
  void paintEvent(QPaintEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void alleSetzen(char marker);

  TVerben& m_verben;
  TXListBox* m_liste = nullptr;
  QLabel* m_zaehler = nullptr;
  std::array<tXCheckBox*, 4> m_formen{};
  tXCheckBox* m_grosszuegig = nullptr;
  tXColorButton *m_alleAn = nullptr, *m_alleAus = nullptr, *m_abbrechen = nullptr, *m_abfrage = nullptr;
};
