// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QToolButton;
class TXWaveBase;

// "Verwaltung der Sprachaufnahmen": browses and edits the word-to-recording store. While
// it is open it is the store's change listener.
class TWaveDB : public QDialog {
  Q_OBJECT
 public:
  explicit TWaveDB(TXWaveBase& store, QWidget* parent = nullptr);
  ~TWaveDB() override;

  // Opens the window modally over the speaking operations' store (page command
  // "wavebase"); with a word, its recording `file` is entered first (the editor).
  static int run(QWidget* parent = nullptr, const std::string& word = {}, const std::string& file = {});

  QLineEdit* searchBox() const { return m_search; }
  QLineEdit* wordBox() const { return m_word; }
  QLineEdit* fileBox() const { return m_file; }
  QToolButton* playButton() const { return m_play; }
  QLabel* counter() const { return m_counter; }

 private:
  void showCurrent();
  void wordEdited(const QString& text);
  void fileEdited(const QString& text);
  void navigate(void (TXWaveBase::*move)());
  void bAddClick();
  void bDeleteClick();
  void bBrowseClick();
  void bPlayClick();
  QToolButton* makeButton(const char* hint, QRect place, const QIcon& icon);

  TXWaveBase& m_store;
  QLineEdit* m_search = nullptr;
  QLineEdit* m_word = nullptr;
  QLineEdit* m_file = nullptr;
  QToolButton* m_play = nullptr;
  QLabel* m_counter = nullptr;
  bool m_showing = false;  // showCurrent is writing the boxes
};
