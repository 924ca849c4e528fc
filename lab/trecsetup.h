// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <array>

class QComboBox;
class QRadioButton;
class tWaveRec;

// "Aufnahme-Einstellungen": resolution, sample rate and channels of the recorder, and the voice
// that speaks the sentences and words. Opening drops any unsaved take; OK applies the format
// and stores it with the voice.
class TRecSetup : public QDialog {
  Q_OBJECT
 public:
  explicit TRecSetup(QWidget* parent = nullptr);

  // Opens the dialog modally (page command "recsetup", the lab's menu).
  static int run(QWidget* parent = nullptr);

  int bitsIndex() const;
  int rateIndex() const;
  int channelsIndex() const;
  QComboBox* Stimme() const { return m_stimme; }

 private:
  void bOKClick();

  tWaveRec& m_rec;
  std::array<QRadioButton*, 2> m_bits{};
  std::array<QRadioButton*, 3> m_rates{};
  std::array<QRadioButton*, 2> m_channels{};
  QComboBox* m_stimme = nullptr;
};
