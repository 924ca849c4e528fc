// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <optional>

class QCheckBox;
class QLabel;
class QSlider;

// "Zufällig erzeugen": the parameters of a random library drawn from the dictionary.
class TZufall : public QDialog {
  Q_OBJECT
 public:
  struct TWerte {
    int groesse = 40;         // 40 .. 800 entries
    int englisch = 50;        // percent of English entries
    bool redewendungen = true;
    bool sortieren = true;
  };

  explicit TZufall(QWidget* parent = nullptr);

  TWerte Werte() const;
  // Modal; nothing when the learner cancelled.
  static std::optional<TWerte> fragen(QWidget* parent);

 private:
  void anzeigen();

  QSlider* m_groesse = nullptr;
  QSlider* m_englisch = nullptr;
  QLabel* m_groesseZahl = nullptr;
  QLabel* m_englischZahl = nullptr;
  QLabel* m_deutschZahl = nullptr;
  QCheckBox* m_redewendungen = nullptr;
  QCheckBox* m_sortieren = nullptr;
};
