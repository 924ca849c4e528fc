#pragma once

#include <QDialog>

#include <array>

class QRadioButton;
class tWaveRec;

// "Aufnahme-Einstellungen": resolution, sample rate and channels of the recorder.
// Opening drops any unsaved take; OK applies the format and stores it.
class TRecSetup : public QDialog {
  Q_OBJECT
 public:
  explicit TRecSetup(QWidget* parent = nullptr);

  // Opens the dialog modally (page command "recsetup", the lab's menu).
  static int run(QWidget* parent = nullptr);

  int bitsIndex() const;
  int rateIndex() const;
  int channelsIndex() const;

 private:
  void bOKClick();

  tWaveRec& m_rec;
  std::array<QRadioButton*, 2> m_bits{};
  std::array<QRadioButton*, 3> m_rates{};
  std::array<QRadioButton*, 2> m_channels{};
};
