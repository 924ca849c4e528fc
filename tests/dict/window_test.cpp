// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/txwb.h"
#include "dict/wordlookup.h"

#include "dict/database.h"
#include "dict/dictfollower.h"
#include "dict/thitsmodel.h"
#include "media/mediacommand.h"
#include "media/tspeech.h"
#include "media/txwavebase.h"
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "tests/common/qtevents.h"
#include "tests/common/testutil.h"
#include "tests/media/mediatestutil.h"
#include "widgets/txcolorbutton.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <functional>

namespace {

using zek::test::TempDir;

std::string W(std::string_view utf8) { return zek::utf8ToCp1252(utf8); }
const std::string kIncomplete = W("Der aktuelle Eintrag ist nicht vollständig!");

void key(QWidget* w, int k, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, text);
  QApplication::sendEvent(w, &release);
}

void typeText(QWidget* w, const QString& text) {
  for (QChar c : text) key(w, c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : Qt::Key_Space, QString(c));
}

QString cell(const TXWb& w, int row, int column) {
  return w.hitsModel()->data(w.hitsModel()->index(row, column), Qt::DisplayRole).toString();
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zek::setMediaService(zek::test::makeNullService(m_clock));
    zek::setMediaCommandObserver([this](std::string_view command, bool) { m_log.emplace_back(command); });
    m_recording = zek::fromPath(zek::test::writeTone(m_dir.path() / "house.wav", 22050, 1, SF_FORMAT_PCM_16, 0.1));
    m_store.append("house", m_recording);
    m_store.append("gone", zek::fromPath(m_dir.path() / "missing.wav"));
    zek::setSpeechStore(&m_store);

    // English-German, sorted; German-English with an entry that shares a word.
    for (const char* w : {"garden", "go", "gone", "hold", "home", "honey", "hope", "horse", "hot", "house", "hunt",
                          "ice", "idle", "iron", "island"})
      m_db.Append(w, "1", W(std::string("Bedeutung von ") + w));
    m_db.SetWord(1, "go");
    m_db.SetKind(1, 2);
    m_db.SetMeaning(1, "gehen; fahren");
    m_db.SetMeaning(9, "Haus");
    m_db.SetGermanEnglish(true);
    m_db.Append("Computer", "1", "computer");
    m_db.Append("Haus", "1", "house; home");
    m_db.Append("gehen", "2", "to go; to walk");
    m_db.SetGermanEnglish(false);
    m_db.First();
    m_window = std::make_unique<TXWb>(m_db);
  }
  void TearDown() override {
    m_window.reset();
    zek::setSpeechStore(nullptr);
    zek::setMediaCommandObserver(nullptr);
    zek::setMediaService(nullptr);
  }
  TXWb& w() { return *m_window; }
  std::vector<std::string> take() { return std::exchange(m_log, {}); }

  zek::test::TManualClock m_clock;
  TempDir m_dir{"zek-wb"};
  zek::ScriptedDialogs m_dialogs;
  TXWaveBase m_store;
  std::string m_recording;
  std::vector<std::string> m_log;
  TXDatabase m_db;
  std::unique_ptr<TXWb> m_window;
};

TEST_F(WindowTest, StartsOnTheSearchPanelWithTheTextsInPlace) {
  EXPECT_EQ(w().windowTitle(), "zek englisch");
  EXPECT_EQ(w().panel(), TXWb::pnSuchen);
  EXPECT_FALSE(w().tabButton(TXWb::pnSuchen)->isEnabled());
  EXPECT_TRUE(w().tabButton(TXWb::pnBlaettern)->isEnabled());
  EXPECT_EQ(w().directionButton()->Caption(), "Englisch-Deutsch");
  EXPECT_EQ(w().shortDirectionButton()->Caption(), "Englisch-D");
  EXPECT_TRUE(w().englishItem()->isChecked());
  ASSERT_EQ(w().kindBox()->count(), 6);
  EXPECT_EQ(w().kindBox()->itemText(3), "Kleines Wort");
  EXPECT_EQ(w().kindBox()->itemText(5), "Rw. ohne Verb");
  const char* headers[] = {"Nr.", "  Vokabel", "  Bedeutung(en)", "  Wortart"};
  for (int c = 0; c < 4; ++c) EXPECT_EQ(w().hitsModel()->headerData(c, Qt::Horizontal, Qt::DisplayRole), headers[c]);
  EXPECT_EQ(w().hitsModel()->rowCount(), 1);  // one empty row before any search

  // The file menu, with import and export present but hidden.
  const QList<QAction*> items = w().menuBar()->actions().front()->menu()->actions();
  QStringList shown;
  for (QAction* a : items)
    if (!a->isSeparator() && a->isVisible()) shown << a->text();
  EXPECT_EQ(shown, QStringList({"Sortieren", "Kontrollieren", QString::fromUtf8("Doppelte Einträge suchen"),
                                QString::fromUtf8("Alle Einträge löschen!"), QString::fromUtf8("&Schließen")}));
  ASSERT_NE(w().action("Importieren..."), nullptr);
  EXPECT_FALSE(w().action("Importieren...")->isVisible());
  EXPECT_FALSE(w().action("Exportieren...")->isVisible());
  EXPECT_EQ(w().action("Sortieren")->shortcut(), QKeySequence("Ctrl+S"));
  EXPECT_EQ(w().action("Kontrollieren")->shortcut(), QKeySequence("Ctrl+K"));
}

TEST_F(WindowTest, TabButtonsShowOnePanelAndDisableThemselves) {
  w().show();
  for (TXWb::TPanel p : {TXWb::pnBlaettern, TXWb::pnBearbeiten, TXWb::pnSuchen}) {
    zek::test::click(w().tabButton(p), {10, 10});
    for (TXWb::TPanel q : {TXWb::pnSuchen, TXWb::pnBlaettern, TXWb::pnBearbeiten}) {
      EXPECT_EQ(w().panelWidget(q)->isVisible(), p == q);
      EXPECT_EQ(w().tabButton(q)->isEnabled(), p != q);
    }
  }
  zek::test::click(w().tabButton(TXWb::pnBearbeiten), {10, 10});
  EXPECT_EQ(w().focusWidget(), w().wordEdit());
}

TEST_F(WindowTest, ResizingFollowsTheColumnRule) {
  w().show();
  struct Case {
    int client, grid;
    std::array<int, 4> columns;
  };
  for (const Case c : {Case{592, 338, {20, 100, 141, 57}}, Case{1016, 762, {20, 277, 388, 57}}}) {
    w().resize(c.client, w().height());
    QApplication::processEvents();
    EXPECT_EQ(w().resultArea()->width(), c.client - 240);
    EXPECT_EQ(w().grid()->width(), c.grid);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(w().grid()->columnWidth(k), c.columns[static_cast<std::size_t>(k)]);
  }
  // Width is bounded, height fixed.
  w().resize(300, 900);
  EXPECT_EQ(w().width(), 592);
  EXPECT_EQ(w().height(), w().menuBar()->sizeHint().height() + 269);
}

TEST_F(WindowTest, SearchLooksAtTheGermanSideOfTheCurrentHalf) {
  struct Case {
    bool germanEnglish, german;
    const char* text;
    int hits;
    const char* firstWord;
  };
  const Case cases[] = {
      {false, true, "Haus", 1, "house"},   // German term in English-German: the meanings
      {false, false, "ho", 7, "hold"},     // English term: the words
      {true, true, "Haus", 1, "Haus"},     // German term in German-English: the words
      {true, false, "go", 1, "gehen"},     // English term there: the meanings
  };
  for (const Case& c : cases) {
    m_db.SetGermanEnglish(c.germanEnglish);
    (c.german ? w().germanItem() : w().englishItem())->setChecked(true);
    w().searchEdit()->setText(c.text);
    key(w().searchEdit(), Qt::Key_Return);  // Enter searches
    EXPECT_EQ(w().resultLabel()->text(), QString::number(c.hits) + QString::fromUtf8(" Einträge gefunden."))
        << c.text;
    EXPECT_EQ(w().hitsModel()->rowCount(), c.hits);
    EXPECT_EQ(cell(w(), 0, 0), "1");
    EXPECT_EQ(cell(w(), 0, 1), c.firstWord);
  }
}

TEST_F(WindowTest, WholeWordsAndNoHits) {
  m_db.SetMeaning(5, "Honig; [ugs.] Schatz");
  w().germanItem()->setChecked(true);
  w().wholeWordsBox()->setChecked(true);
  w().searchEdit()->setText("Hon");
  w().SuchenClick();
  EXPECT_EQ(w().resultLabel()->text(), QString::fromUtf8("0 Einträge gefunden."));
  EXPECT_EQ(w().hitsModel()->rowCount(), 1);
  for (int c = 0; c < 4; ++c) EXPECT_EQ(cell(w(), 0, c), "");
  w().searchEdit()->setText("Schatz");
  w().SuchenClick();
  EXPECT_EQ(w().hitsModel()->rowCount(), 1);
  EXPECT_EQ(cell(w(), 0, 1), "honey");
  EXPECT_EQ(cell(w(), 0, 3), "Nomen");
}

// The "Meinten Sie" line has one row above the grid: whatever the window's width, it shows
// whole suggestions, the nearest first, and as many as fit; the hint names all of them.
TEST(WindowSuggestions, TheLineFitsItsWidthWithWholeSuggestions) {
  zek::ScriptedDialogs dialogs;
  TXDatabase db;
  for (const char* w : {"constriction", "construction", "constructions", "constructive", "contraction"})
    db.Append(w, "1", "Haushalt");
  TXWb window(db);
  window.show();
  const QFontMetrics metrics(window.resultLabel()->font());
  struct Case {
    const char* typed;
    bool search;  // search panel (after the hit count) or browse panel
  };
  for (const Case c : {Case{"constrction", true}, Case{"constrction", false}}) {
    std::vector<int> shownAt;
    for (const int client : {592, 700, 1016}) {
      window.resize(client, window.height());
      QApplication::processEvents();
      if (c.search) {
        window.searchEdit()->setText(c.typed);
        window.SuchenClick();
      } else {
        window.keywordEdit()->clear();
        typeText(window.keywordEdit(), c.typed);
      }
      // The hit count stays unless not even the nearest suggestion would fit beside it.
      const QString count = QString::fromUtf8(c.search ? "0 Einträge gefunden. " : "");
      const QString prefix = QString::fromUtf8("Meinten Sie ");
      QString line = window.resultLabel()->text();
      EXPECT_LE(metrics.horizontalAdvance(line), window.resultLabel()->width()) << client << ": " << line.toStdString();
      if (line.startsWith(count)) line = line.mid(count.size());
      else EXPECT_LT(client, 1016) << line.toStdString();
      QString all = window.resultLabel()->toolTip();
      ASSERT_TRUE(all.startsWith(count + prefix)) << all.toStdString();
      all = all.mid(count.size());
      ASSERT_TRUE(line.startsWith(prefix) && line.endsWith("?")) << line.toStdString();
      const QStringList offered = all.mid(prefix.size()).chopped(1).split(", ");
      const QStringList shown = line.mid(prefix.size()).chopped(1).split(", ");
      ASSERT_GE(offered.size(), 3) << all.toStdString();
      EXPECT_EQ(shown, offered.mid(0, shown.size())) << line.toStdString();
      shownAt.push_back(static_cast<int>(shown.size()));
    }
    // Narrow shows fewer than all; widening the window brings the others back.
    EXPECT_LT(shownAt.front(), shownAt.back());
    window.resize(1016, window.height());
    QApplication::processEvents();
    window.resize(592, window.height());
    QApplication::processEvents();
    EXPECT_EQ(window.resultLabel()->text().count(", ") + 1, shownAt.front());
  }
}

TEST_F(WindowTest, BrowsingKeepsNineNeighboursWithTheNearestSelected) {
  w().show();
  zek::test::click(w().tabButton(TXWb::pnBlaettern), {10, 10});
  w().keywordEdit()->setFocus();
  typeText(w().keywordEdit(), "ho");
  EXPECT_EQ(w().panel(), TXWb::pnBlaettern);  // the programmatic selection does not jump
  EXPECT_EQ(m_db.GetWord(-1), "hold");
  EXPECT_EQ(w().hitsModel()->rowCount(), 9);
  const int row = w().grid()->currentIndex().row();
  EXPECT_EQ(row, m_db.HitPos());
  EXPECT_EQ(cell(w(), row, 1), "hold");
  typeText(w().keywordEdit(), "u");  // "hou"
  EXPECT_EQ(cell(w(), w().grid()->currentIndex().row(), 1), "house");
  EXPECT_EQ(w().keywordEdit()->text(), "hou");
}

TEST_F(WindowTest, AWordRightClickedOnAPageOpensTheBrowsePanelInTheHalfThatHoldsIt) {
  struct Case {
    const char* clicked;
    int half;
    const char* current;  // the entry the cursor lands on
    bool found;
  };
  const Case cases[] = {
      {"house", 0, "house", true},  {"House", 0, "house", true},  // a capital at a sentence start
      {"Haus", 1, "Haus", true},  // only the German half has it
      {"hou", 0, "house", false},   // unknown: the nearest entry of the English half
  };
  for (const Case& c : cases) {
    m_db.SetGermanEnglish(false);
    const zek::TWordLookup where = zek::findWordForLookup(m_db, c.clicked);
    EXPECT_EQ(where.found, c.found) << c.clicked;
    EXPECT_EQ(m_db.Half(), 0) << "the lookup leaves the half as it was";
    zek::showWordInDictionary(w(), c.clicked);
    EXPECT_TRUE(w().isVisible());
    EXPECT_EQ(w().panel(), TXWb::pnBlaettern) << c.clicked;
    EXPECT_EQ(m_db.Half(), c.half) << c.clicked;
    EXPECT_EQ(m_db.GetWord(-1), c.current) << c.clicked;
    EXPECT_EQ(zek::fromQString(w().keywordEdit()->text()), where.word) << c.clicked;
  }
}

TEST_F(WindowTest, PickingAGridRowGoesToTheEntryAndTheEditPanel) {
  w().show();
  w().searchEdit()->setText("ho");
  w().SuchenClick();
  w().grid()->selectRow(2);  // as the learner's click selects it
  EXPECT_EQ(m_db.GetWord(-1), "honey");
  EXPECT_EQ(w().panel(), TXWb::pnBearbeiten);
  EXPECT_EQ(w().wordEdit()->text(), "honey");
  EXPECT_EQ(w().meaningMemo()->toPlainText(), "Bedeutung von honey");
}

// Entries that share a word, even word and meaning, are told apart by the row picked:
// editing or deleting must act on that entry and no other.
TEST_F(WindowTest, PickingARowMakesExactlyItsEntryCurrent) {
  m_db.Append("go", "1", "Bedeutung von go");  // the noun, away from the verb "go" (entry 1)
  m_db.Append("go", "2", "gehen; fahren");     // the verb again, with the same meaning
  w().show();
  w().searchEdit()->setText("go");
  w().SuchenClick();
  for (int row = 0; row < w().hitsModel()->rowCount(); ++row) {
    const int entry = w().hitsModel()->entryOfRow(row);
    w().grid()->selectRow(row);
    EXPECT_EQ(m_db.Current(), entry) << row;
  }
  w().grid()->selectRow(w().hitsModel()->rowCount() - 1);
  const int picked = m_db.Current();
  m_dialogs.answer(mb::IdYes);
  w().LoeschenClick();
  EXPECT_EQ(m_db.Count(), 16);
  EXPECT_EQ(m_db.GetWord(1), "go");  // the first verb stays
  EXPECT_EQ(m_db.GetKind(1), 2);
  EXPECT_NE(m_db.GetWord(picked), "go");
}

// Typing into a half whose last entry was deleted makes a new entry of what was typed.
TEST_F(WindowTest, TypingIntoAnEmptyHalfMakesItsFirstEntry) {
  m_db.SetGermanEnglish(true);
  m_db.Clear();
  w().show();
  w().showPanel(TXWb::pnBearbeiten);
  w().wordEdit()->setFocus();
  typeText(w().wordEdit(), "Kiwi");
  w().meaningMemo()->setFocus();
  typeText(w().meaningMemo(), "kiwi");
  EXPECT_EQ(m_db.Count(), 1);
  EXPECT_EQ(m_db.GetWord(0), "Kiwi");
  EXPECT_EQ(m_db.GetMeaning(0), "kiwi");
  EXPECT_EQ(w().wordEdit()->text(), "Kiwi");
  EXPECT_TRUE(m_db.Modified(1));
}

TEST_F(WindowTest, AHalfSwitchEmptiesTheGridSoNoRowPointsIntoTheOtherHalf) {
  w().show();
  w().germanItem()->setChecked(true);
  w().searchEdit()->setText("Haus");
  w().SuchenClick();
  ASSERT_EQ(w().hitsModel()->hitCount(), 1);
  m_db.Last();
  const int before = m_db.Current();
  zek::test::click(w().directionButton(), {10, 10});
  EXPECT_TRUE(m_db.IsGermanEnglish());
  EXPECT_EQ(w().directionButton()->Caption(), "Deutsch-Englisch");
  EXPECT_EQ(w().shortDirectionButton()->Caption(), "Deutsch-E");
  EXPECT_EQ(w().resultLabel()->text(), "");
  EXPECT_EQ(w().hitsModel()->rowCount(), 1);
  EXPECT_EQ(cell(w(), 0, 1), "");
  const int germanCurrent = m_db.Current();
  w().GridRowSelected(0);
  EXPECT_EQ(m_db.Current(), germanCurrent);
  zek::test::click(w().shortDirectionButton(), {10, 10});
  EXPECT_FALSE(m_db.IsGermanEnglish());
  EXPECT_EQ(m_db.Current(), before);
}

TEST_F(WindowTest, FieldsFollowTheCursorAndEditsWriteBack) {
  m_db.GotoEntry("go", "gehen; fahren");
  EXPECT_EQ(w().wordEdit()->text(), "go");
  EXPECT_EQ(w().meaningMemo()->toPlainText(), "gehen; fahren");
  EXPECT_EQ(w().kindBox()->currentIndex(), 1);
  w().kindBox()->activated(2);
  EXPECT_EQ(m_db.GetKind(-1), 3);
  EXPECT_TRUE(m_db.Modified(0));

  int followed = 0;
  std::string followedWord;
  zek::setDictionaryFollower([&](TXDatabase& db) {
    ++followed;
    followedWord = db.GetWord(-1);
  });
  m_db.Next();
  zek::setDictionaryFollower(nullptr);
  EXPECT_EQ(followed, 1);
  EXPECT_EQ(followedWord, "gone");
}

TEST_F(WindowTest, TypingInsideTheWordAndTheMeaningKeepsTextAndCaret) {
  w().show();
  m_db.GotoEntry("house", "Haus");
  zek::test::click(w().tabButton(TXWb::pnBearbeiten), {10, 10});
  QLineEdit* word = w().wordEdit();
  word->setCursorPosition(2);
  typeText(word, "x");
  EXPECT_EQ(word->text(), "hoxuse");
  EXPECT_EQ(word->cursorPosition(), 3);
  typeText(word, "y");
  EXPECT_EQ(m_db.GetWord(-1), "hoxyuse");
  EXPECT_EQ(word->cursorPosition(), 4);

  QPlainTextEdit* memo = w().meaningMemo();
  QTextCursor c = memo->textCursor();
  c.setPosition(1);
  memo->setTextCursor(c);
  memo->setFocus();
  typeText(memo, "x");
  typeText(memo, "y");
  EXPECT_EQ(memo->toPlainText(), "Hxyaus");
  EXPECT_EQ(m_db.GetMeaning(-1), "Hxyaus");
  EXPECT_EQ(memo->textCursor().position(), 3);
  key(memo, Qt::Key_Return, "\r");  // the meaning stays one line
  EXPECT_EQ(memo->blockCount(), 1);

  // A character Windows-1252 has no code for is refused where it was typed.
  word->setCursorPosition(1);
  key(word, Qt::Key_unknown, QString(QChar(0x0416)));
  EXPECT_EQ(word->text(), "hoxyuse");
  EXPECT_EQ(m_db.GetWord(-1), "hoxyuse");
}

TEST_F(WindowTest, NavigationWantsACompleteEntry) {
  m_db.SetGermanEnglish(true);
  m_db.Clear();
  for (int i = 0; i < 4; ++i) {
    m_dialogs.clear();
    zek::test::click(w().navButton(i), {5, 5});
    ASSERT_EQ(m_dialogs.texts(), std::vector<std::string>{kIncomplete}) << i;
  }
  m_dialogs.clear();
  w().show();
  w().showPanel(TXWb::pnBearbeiten);
  w().kindBox()->setFocus();
  zek::test::click(w().navButton(4), {5, 5});  // new: an empty half takes its first entry
  EXPECT_TRUE(m_dialogs.texts().empty());
  EXPECT_EQ(m_db.Count(), 1);
  EXPECT_EQ(w().focusWidget(), w().wordEdit());
  typeText(w().wordEdit(), "kiwi");
  EXPECT_EQ(m_db.GetWord(0), "kiwi");
  EXPECT_TRUE(m_db.Modified(1));

  m_db.SetGermanEnglish(false);
  m_dialogs.clear();
  m_db.First();
  w().NaechsterClick();
  w().NaechsterClick();
  EXPECT_EQ(m_db.GetWord(-1), "gone");
  w().LetzterClick();
  EXPECT_EQ(m_db.GetWord(-1), "island");
  w().VorigerClick();
  EXPECT_EQ(m_db.GetWord(-1), "iron");
  w().ErsterClick();
  EXPECT_EQ(m_db.GetWord(-1), "garden");
  w().NeuClick();
  EXPECT_EQ(m_db.Count(), 16);
  EXPECT_EQ(w().wordEdit()->text(), "");
  EXPECT_TRUE(m_dialogs.texts().empty());
}

TEST_F(WindowTest, DeletingAsksAndClearingEmptiesOnlyTheCurrentHalf) {
  m_db.GotoEntry("hot", "Bedeutung von hot");
  m_dialogs.answer(mb::IdNo);
  w().LoeschenClick();
  EXPECT_EQ(m_dialogs.texts(), std::vector<std::string>{W("Eintrag des Wörterbuchs wirklich löschen?")});
  EXPECT_EQ(m_db.Count(), 15);
  m_dialogs.answer(mb::IdYes);
  w().LoeschenClick();
  EXPECT_EQ(m_db.Count(), 14);
  EXPECT_EQ(m_db.GetWord(-1), "house");

  m_dialogs.clear();
  m_dialogs.answer(mb::IdNo);
  w().action(W("Alle Einträge löschen!").c_str())->trigger();
  EXPECT_EQ(m_db.Count(), 14);
  m_dialogs.answer(mb::IdYes);
  w().action(W("Alle Einträge löschen!").c_str())->trigger();
  ASSERT_EQ(m_dialogs.messages().size(), 2u);
  EXPECT_EQ(m_dialogs.messages()[1].text, W("Wirklich alle Einträge löschen???"));
  EXPECT_EQ(m_dialogs.messages()[1].flags, mb::YesNo | mb::IconExclamation);
  EXPECT_EQ(m_db.Count(), 0);
  m_db.SetGermanEnglish(true);
  EXPECT_EQ(m_db.Count(), 3);
}

TEST_F(WindowTest, CheckMovesToTheFaultyEntryOnTheEditPanel) {
  m_db.SetMeaning(12, "Leerlauf,frei");
  m_db.First();
  w().action("Kontrollieren")->trigger();
  EXPECT_EQ(m_db.Current(), 12);
  EXPECT_EQ(w().panel(), TXWb::pnBearbeiten);
  EXPECT_EQ(w().wordEdit()->text(), "idle");
}

TEST_F(WindowTest, SpeechButtonShowsOnlyForAnEnglishWordWithARecording) {
  w().show();
  m_db.GotoEntry("house", "Haus");
  EXPECT_TRUE(w().speechButton()->isVisibleTo(w().panelWidget(TXWb::pnBearbeiten)));
  m_db.Prior();  // "hot": none
  EXPECT_FALSE(w().speechButton()->isVisibleTo(w().panelWidget(TXWb::pnBearbeiten)));
  m_db.GotoEntry("gone", "Bedeutung von gone");  // named, but the file is missing
  EXPECT_FALSE(w().speechButton()->isVisibleTo(w().panelWidget(TXWb::pnBearbeiten)));

  m_db.GotoEntry("house", "Haus");
  take();
  w().SprachausgabeClick();
  EXPECT_EQ(take(), (std::vector<std::string>{"close wb", "open \"" + m_recording + "\" type waveaudio alias wb",
                                              "play wb from 0"}));

  // German-English: hidden, also for a word that has a recording.
  m_db.SetGermanEnglish(true);
  m_db.Append("house", "1", "Haus");
  m_db.Last();
  EXPECT_FALSE(w().speechButton()->isVisibleTo(w().panelWidget(TXWb::pnBearbeiten)));
  m_db.SetGermanEnglish(false);
  EXPECT_TRUE(w().speechButton()->isVisibleTo(w().panelWidget(TXWb::pnBearbeiten)));

  // The cursor moved while the window was hidden: showing it again sets the button right.
  w().hide();
  m_db.First();
  w().show();
  EXPECT_FALSE(w().speechButton()->isVisibleTo(w().panelWidget(TXWb::pnBearbeiten)));
}

TEST_F(WindowTest, NoSpeechButtonForARecordingWhoseNameHoldsAQuote) {
  const std::string zitat = zek::fromPath(m_dir.write("q\"uote.wav", "RIFF"));
  m_store.append("hunt", zitat);
  w().show();
  m_db.GotoEntry("hunt", "Bedeutung von hunt");
  EXPECT_FALSE(w().speechButton()->isVisibleTo(w().panelWidget(TXWb::pnBearbeiten)));
  take();
  w().SprachausgabeClick();
  EXPECT_TRUE(take().empty());
}

TEST_F(WindowTest, AClickOnTheHighlightedRowPicksItToo) {
  w().show();
  zek::test::click(w().tabButton(TXWb::pnBlaettern), {10, 10});
  w().keywordEdit()->setFocus();
  typeText(w().keywordEdit(), "hou");
  const QModelIndex markiert = w().grid()->currentIndex();
  ASSERT_EQ(cell(w(), markiert.row(), 1), "house");
  ASSERT_EQ(w().panel(), TXWb::pnBlaettern);
  const QRect zeile = w().grid()->visualRect(markiert);
  zek::test::click(w().grid()->viewport(), zeile.center());
  EXPECT_EQ(w().panel(), TXWb::pnBearbeiten);
  EXPECT_EQ(w().wordEdit()->text(), "house");

  // The edit panel has moved on to the next entry; the row still highlighted picks "house" again.
  m_db.Next();
  ASSERT_EQ(w().wordEdit()->text(), "hunt");
  zek::test::click(w().grid()->viewport(), w().grid()->visualRect(w().grid()->currentIndex()).center());
  EXPECT_EQ(w().wordEdit()->text(), "house");
  EXPECT_EQ(m_db.GetWord(-1), "house");
}

TEST_F(WindowTest, DoubleClicksSpeakTheEnglishText) {
  w().searchEdit()->setText("hou");
  w().SuchenClick();
  take();
  w().GridRowDoubleClicked(0);
  EXPECT_EQ(take().back(), "play welle from 0");
  m_db.SetGermanEnglish(true);
  w().germanItem()->setChecked(true);
  w().searchEdit()->setText("Haus");
  w().SuchenClick();
  w().GridRowDoubleClicked(0);  // "house; home": the meaning, its first part
  const std::vector<std::string> log = take();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log[1], "open \"" + m_recording + "\" type waveaudio alias welle");
}

// With the run-time voice, every English word can be spoken; German never goes to it.
TEST_F(WindowTest, TheRunTimeVoiceSpeaksEnglishWordsWithoutARecordingOnly) {
  std::vector<std::string> asked;
  zek::setMissingWordSpeaker([&](const std::string& word, bool play) {
    if (play) asked.push_back(word);
    return std::string();
  });
  const auto sichtbar = [&] { return w().speechButton()->isVisibleTo(w().panelWidget(TXWb::pnBearbeiten)); };
  w().show();
  struct Fall {
    const char* was;
    bool germanEnglish;
    const char* word;
    const char* meaning;
    std::function<void()> call;
    std::vector<std::string> asked;
  };
  const std::vector<Fall> faelle = {
      {"speech button, English word", false, "hot", "Bedeutung von hot", [&] { w().SprachausgabeClick(); }, {"hot"}},
      {"speech button, a recording", false, "house", "Haus", [&] { w().SprachausgabeClick(); }, {}},
      {"speech button, German half", true, "Computer", "computer", [&] { w().SprachausgabeClick(); }, {}},
      {"memo, German meanings", false, "hot", "Bedeutung von hot", [&] { w().MemoDoubleClicked(); }, {}},
      {"memo, English meanings", true, "Computer", "computer", [&] { w().MemoDoubleClicked(); }, {"computer"}},
  };
  for (const Fall& f : faelle) {
    m_db.SetGermanEnglish(f.germanEnglish);
    m_db.GotoEntry(f.word, W(f.meaning));
    ASSERT_EQ(m_db.GetWord(-1), f.word) << f.was;
    asked.clear();
    f.call();
    EXPECT_EQ(asked, f.asked) << f.was;
  }
  m_db.SetGermanEnglish(false);
  m_db.GotoEntry("hot", "Bedeutung von hot");
  EXPECT_TRUE(sichtbar());
  m_db.GotoEntry("gone", "Bedeutung von gone");  // an entry waits for its medium
  EXPECT_FALSE(sichtbar());

  // The grid's English side.
  w().searchEdit()->setText("hun");
  w().SuchenClick();
  asked.clear();
  w().GridRowDoubleClicked(0);
  EXPECT_EQ(asked, std::vector<std::string>{"hunt"});
  zek::setMissingWordSpeaker(nullptr);
  m_db.GotoEntry("hot", "Bedeutung von hot");
  EXPECT_FALSE(sichtbar());
}

TEST_F(WindowTest, ClosingHidesAndDestroySavesAndRemembersTheNames) {
  w().show();
  w().close();
  EXPECT_FALSE(w().isVisible());
  EXPECT_EQ(m_db.Count(), 15);

  const std::string file = zek::fromPath(m_dir.path() / "e_d.zek");
  ASSERT_TRUE(m_db.WriteHalf(0, file));
  TXDatabase db;
  db.LoadFromFile(file);
  auto window = std::make_unique<TXWb>(db);
  db.SetWord(0, "yard");
  TSettingsStore store(m_dir.path() / "settings.ini");
  m_dialogs.answer(mb::IdYes);
  take();
  window->Destroy(store);
  ASSERT_GE(m_dialogs.texts().size(), 2u);
  EXPECT_EQ(m_dialogs.texts()[0],
            W("Das Wörterbuch wurde verändert. Sollen diese Veränderungen gespeichert werden?"));
  EXPECT_EQ(m_dialogs.texts()[1], W("Das Wörterbuch Englisch-Deutsch wurde erfolgreich gespeichert."));
  EXPECT_EQ(store.readString("SOFTWARE\\ZEK\\zek englisch\\Verzeichnisse", "Datenbank1"), file);
  EXPECT_FALSE(store.valueExists("SOFTWARE\\ZEK\\zek englisch\\Verzeichnisse", "Datenbank2"));
  EXPECT_EQ(take(), std::vector<std::string>{"close wb"});
  window.reset();
  TXDatabase again;
  again.LoadFromFile(file);
  // The renamed entry took its place in the order before it was saved.
  EXPECT_EQ(again.GetWord(again.Count() - 1), "yard");
  EXPECT_EQ(again.GetWord(0), "go");
}

}  // namespace

// The grid keeps each cell's shaped line; what it paints must be what the standard
// cells paint, elided meanings and the selected row included, also from the kept lines.
TEST_F(WindowTest, GridPaintsAsTheStandardCellsFromKeptLines) {
  m_db.SetMeaning(7, W("Pferd; Ross; Gaul; Reittier; Sägebock; Turnpferd; Bock; Heroin (Slang); Kavallerie"));
  w().show();
  w().showPanel(TXWb::pnBlaettern);
  typeText(w().keywordEdit(), "hor");
  QTableView* grid = w().grid();
  ASSERT_GT(w().hitsModel()->hitCount(), 3);
  ASSERT_TRUE(grid->currentIndex().isValid());
  const QImage first = grid->grab().toImage();
  const QImage kept = grid->grab().toImage();
  QAbstractItemDelegate* ours = grid->itemDelegate();
  auto* standard = new QStyledItemDelegate(grid);
  grid->setItemDelegate(standard);
  const QImage plain = grid->grab().toImage();
  grid->setItemDelegate(ours);
  EXPECT_TRUE(first == plain);
  EXPECT_TRUE(kept == plain);
}
