// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>

#include <array>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTableView;
class THitsModel;
class TSettingsStore;
class TXDatabase;
class tXColorButton;

// The dictionary window: search, browse and edit either half of the one dictionary. A
// resizable tool window made once at start-up; closing it only hides it. It is the
// database's only listener and passes every change on to the editor's follower
// (dict/dictfollower.h). Destroy() at program end saves the dictionary.
class TXWb : public QMainWindow {
  Q_OBJECT
 public:
  enum TPanel { pnSuchen = 0, pnBlaettern = 1, pnBearbeiten = 2 };

  explicit TXWb(TXDatabase& db, QWidget* parent = nullptr);
  ~TXWb() override;

  TXDatabase& database() const { return m_db; }

  // The program end: SaveAll (asking when something changed), the saved names into the
  // settings, "close wb". The database stays with its owner, who frees it afterwards.
  void Destroy(TSettingsStore& store);

  // Panels.
  void showPanel(TPanel panel);
  TPanel panel() const { return m_panel; }

  // Actions, as the buttons and menu items run them.
  void SuchenClick();
  void RichtungClick();
  void ErsterClick();
  void VorigerClick();
  void NaechsterClick();
  void LetzterClick();
  void NeuClick();
  void LoeschenClick();
  void SprachausgabeClick();
  void AllesLoeschenClick();
  void GridRowSelected(int row);
  void GridRowDoubleClicked(int row);
  void MemoDoubleClicked();
  // The browse panel at `word` in the given half (0 English-German, 1 German-English).
  void ShowWord(const std::string& word, int half);

  // Field updates after a change of the database.
  void DatabaseChanged();
  // True when a recording of the current English word exists; sets the speech button.
  bool UpdateSpeechButton();
  // The column rule for a grid `w` pixels wide.
  static std::array<int, 4> columnWidths(int w);

  // Widgets, for tests.
  tXColorButton* tabButton(TPanel p) const { return m_tabs[p]; }
  tXColorButton* directionButton() const { return m_richtung; }
  tXColorButton* shortDirectionButton() const { return m_richtungKurz; }
  tXColorButton* speechButton() const { return m_sprache; }
  tXColorButton* navButton(int i) const { return m_nav[static_cast<std::size_t>(i)]; }  // first..delete
  QWidget* panelWidget(TPanel p) const { return m_panels[p]; }
  QLineEdit* searchEdit() const { return m_suchEdit; }
  QLineEdit* keywordEdit() const { return m_stichwort; }
  QLineEdit* wordEdit() const { return m_wort; }
  QPlainTextEdit* meaningMemo() const { return m_bedeutung; }
  QComboBox* kindBox() const { return m_wortart; }
  QRadioButton* englishItem() const { return m_englisch; }
  QRadioButton* germanItem() const { return m_deutsch; }
  QCheckBox* wholeWordsBox() const { return m_ganzeWoerter; }
  QLabel* resultLabel() const { return m_ergebnis; }
  QTableView* grid() const { return m_grid; }
  THitsModel* hitsModel() const { return m_model; }
  QWidget* resultArea() const { return m_resultArea; }
  QAction* action(const char* caption) const;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void buildTopBar(QWidget* client);
  void buildSearchPanel();
  void buildBrowsePanel();
  void buildEditPanel();
  void buildResultArea(QWidget* client);
  void buildMenu();
  void showHits();
  // "Meinten Sie …?" with the headwords of `half` nearest to `word`, after the hit count
  // or instead of it.
  void offerSuggestions(int half, const std::string& word, bool afterCount);
  QString suggestionLine(int count) const;
  // Fits the suggestions into the result line's width (again after a resize).
  void fitSuggestions();
  void layoutResultArea();
  void navigate(void (TXDatabase::*move)());
  void wordEdited(const QString& text);
  void meaningEdited();
  void entryToTypeInto();
  void keywordEdited(const QString& text);

  TXDatabase& m_db;
  TPanel m_panel = pnSuchen;
  int m_shownHalf = 0;
  bool m_filling = false;     // the grid is being filled: its selection means nothing
  bool m_zeileGewaehlt = false;  // the mouse press being handled has picked its row already
  QWidget* m_editing = nullptr;  // the field the learner is typing in
  std::string m_speechFile;   // what the speech button plays

  std::array<tXColorButton*, 3> m_tabs{};
  std::array<QWidget*, 3> m_panels{};
  tXColorButton* m_richtung = nullptr;
  tXColorButton* m_richtungKurz = nullptr;
  tXColorButton* m_sprache = nullptr;
  std::array<tXColorButton*, 6> m_nav{};
  QLineEdit* m_suchEdit = nullptr;
  QRadioButton* m_englisch = nullptr;
  QRadioButton* m_deutsch = nullptr;
  QCheckBox* m_ganzeWoerter = nullptr;
  QLineEdit* m_stichwort = nullptr;
  QComboBox* m_wortart = nullptr;
  QLineEdit* m_wort = nullptr;
  QPlainTextEdit* m_bedeutung = nullptr;
  QWidget* m_resultArea = nullptr;
  QLabel* m_ergebnisTitel = nullptr;
  QLabel* m_ergebnis = nullptr;
  QString m_vorschlagVor;                // what the line says before "Meinten Sie"
  std::vector<QString> m_vorschlaege;    // the suggestions offered, nearest first
  QTableView* m_grid = nullptr;
  THitsModel* m_model = nullptr;
};
