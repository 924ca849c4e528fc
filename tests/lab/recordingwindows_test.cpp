// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/mediacommand.h"
#include "media/taudiobackend.h"
#include "media/tmediaservice.h"
#include "media/tspeech.h"
#include "media/twaverec.h"
#include "media/txwavebase.h"
#include "lab/trecsetup.h"
#include "lab/twavedb.h"
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "tests/common/testutil.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class FixedClock final : public TMediaClock {
 public:
  std::chrono::microseconds now() const override { return std::chrono::microseconds(1'000'000); }
};

void typeInto(QLineEdit* box, const std::string& text) {
  box->setFocus();
  for (const char c : text) {
    const QString s = zek::toQString(std::string(1, c));
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, s);
    QApplication::sendEvent(box, &press);
  }
}

QToolButton* buttonWithHint(QWidget* w, const std::string& hint) {
  for (QToolButton* b : w->findChildren<QToolButton*>()) {
    if (b->toolTip() == zek::toQString(hint)) return b;
  }
  return nullptr;
}

// Pictures of the windows for a look by eye, when ZEK_SHOT_DIR names a folder.
void shoot(QWidget& w, const char* name) {
  if (const char* dir = std::getenv("ZEK_SHOT_DIR")) w.grab().save(QString(dir) + "/" + name);
}

class RecordingWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    TMediaService::TOptions options;
    options.backend = makeNullAudioBackend(m_clock);
    zek::setMediaService(std::make_unique<TMediaService>(std::move(options)));
    zek::setMediaCommandObserver([this](std::string_view c, bool) { m_log.emplace_back(c); });
    m_saved = Dirs();
    Dirs().SoundDir = zek::fromPath(m_dir.path()) + "/wave/";
    m_dir.write("wave/Woerter/h/house.wav", "RIFF");
    m_store.append("apple", "XE:\\Woerter\\a\\apple.wav");
    m_store.append("house", "XE:\\Woerter\\h\\house.wav");
    m_store.append("pear", "/nowhere/pear.wav");
    zek::setSpeechStore(&m_store);
    TSettingsStore::global().deleteKey(settingsKey("\\Aufnahme"));
  }
  void TearDown() override {
    zek::freeWaveRec();
    zek::setSpeechStore(nullptr);
    zek::setMediaCommandObserver(nullptr);
    zek::setMediaService(nullptr);
    Dirs() = m_saved;
  }
  FixedClock m_clock;
  zek::test::TempDir m_dir{"zek-recwin"};
  zek::ScriptedDialogs m_dialogs;
  TDirectorySet m_saved;
  TXWaveBase m_store;
  std::vector<std::string> m_log;
};

TEST_F(RecordingWindows, WaveDbShowsTheCurrentEntryAndFollowsTheStore) {
  TWaveDB w(m_store);
  w.show();
  EXPECT_EQ(w.size(), QSize(328, 145));
  EXPECT_EQ(w.windowTitle(), zek::toQString("Verwaltung der Sprachaufnahmen"));
  EXPECT_EQ(w.wordBox()->text(), "apple");
  EXPECT_EQ(w.counter()->text(), zek::toQString("3 Eintr\xE4ge"));
  EXPECT_FALSE(w.playButton()->isVisibleTo(&w));  // apple.wav does not exist
  typeInto(w.searchBox(), "ho");
  EXPECT_EQ(w.wordBox()->text(), "house");
  EXPECT_EQ(w.fileBox()->text(), "XE:\\Woerter\\h\\house.wav");
  EXPECT_TRUE(w.playButton()->isVisibleTo(&w));
  shoot(w, "wavedb.png");

  m_log.clear();
  w.playButton()->click();
  ASSERT_EQ(m_log.size(), 2u);  // the stand-in file is no wave: open fails, nothing plays
  EXPECT_EQ(m_log[0], "close satz");
  EXPECT_EQ(m_log[1], "open \"" + zek::fromPath(m_dir.path()) + "/wave/Woerter/h/house.wav\" type waveaudio alias satz");
  m_dialogs.clear();

  buttonWithHint(&w, "Zum letzten Eintrag")->click();
  EXPECT_EQ(w.wordBox()->text(), "pear");
  w.playButton()->click();  // hidden, but a click must not reach a missing file
  ASSERT_EQ(m_dialogs.messages().size(), 1u);
  EXPECT_EQ(m_dialogs.messages()[0].text,
            "/nowhere/pear.wav konnte nicht gefunden werden. Stellen Sie\nsicher, da\xDF die CD-ROM eingelegt ist "
            "und der korrekte Pfad eingestellt ist.");
}

TEST_F(RecordingWindows, WaveDbPlaysNoFileWhoseNameHoldsAQuote) {
  // A store in the text form can name any file; this one exists.
  const std::string zitat = zek::fromPath(m_dir.write("q\"uote.wav", "RIFF"));
  m_store.append("quote", zitat);
  TWaveDB w(m_store);
  w.show();
  typeInto(w.searchBox(), "quo");
  ASSERT_EQ(w.wordBox()->text(), "quote");
  m_log.clear();
  w.playButton()->click();
  EXPECT_TRUE(m_log.empty()) << m_log.front();
  ASSERT_EQ(m_dialogs.messages().size(), 1u);
  EXPECT_EQ(m_dialogs.messages()[0].text, "Der Dateiname darf weder \" noch > enthalten.");
}

TEST_F(RecordingWindows, WaveDbAddsAnEntryAndKeepsBlanksWhileTyping) {
  TWaveDB w(m_store);
  w.show();
  buttonWithHint(&w, "Neuen Eintrag erzeugen")->click();
  EXPECT_EQ(m_store.count(), 4);
  EXPECT_EQ(w.fileBox()->text(), ".wav");
  EXPECT_EQ(w.counter()->text(), zek::toQString("4 Eintr\xE4ge"));
  typeInto(w.wordBox(), "ice cream");
  EXPECT_EQ(w.wordBox()->text(), "ice cream");
  EXPECT_EQ(m_store.currentWord(), "ice cream");

  // Leaving an entry without a word is refused.
  buttonWithHint(&w, "Neuen Eintrag erzeugen")->click();
  buttonWithHint(&w, "Zum ersten Eintrag")->click();
  ASSERT_EQ(m_dialogs.messages().size(), 1u);
  EXPECT_EQ(m_dialogs.messages()[0].text, "Der aktuelle Eintrag ist nicht vollst\xE4ndig!");
  EXPECT_EQ(m_store.current(), 0);
  EXPECT_EQ(m_store.currentWord(), "");
  EXPECT_TRUE(w.wordBox()->hasFocus() || !QApplication::focusWidget());

  // A quote or ">" cannot go into the file box.
  w.fileBox()->clear();
  typeInto(w.fileBox(), "/a\"b>c.wav");
  EXPECT_EQ(w.fileBox()->text(), "/abc.wav");
  EXPECT_EQ(m_store.currentFile(), "/abc.wav");
  typeInto(w.wordBox(), "tree");
  m_dialogs.chooseFile(zek::fromPath(m_dir.path()) + "/say \"hi\".wav");
  buttonWithHint(&w, "Durchsuchen...")->click();
  ASSERT_EQ(m_dialogs.fileDialogs().size(), 1u);
  EXPECT_EQ(m_dialogs.fileDialogs()[0].filter, "Wave (*.wav)|*.wav");
  EXPECT_EQ(m_dialogs.fileDialogs()[0].fileName, "*.wav");
  EXPECT_EQ(m_store.currentFile(), "/abc.wav");
  m_dialogs.chooseFile(zek::fromPath(m_dir.path()) + "/wave/Woerter/h/house.wav");
  buttonWithHint(&w, "Durchsuchen...")->click();
  EXPECT_EQ(m_store.currentFile(), zek::fromPath(m_dir.path()) + "/wave/Woerter/h/house.wav");
  EXPECT_TRUE(w.playButton()->isVisibleTo(&w));

  buttonWithHint(&w, "Alphabetisch sortieren")->click();
  std::vector<std::string> words;
  for (const TWaveEntry& e : m_store.entries()) words.push_back(e.word);
  EXPECT_EQ(words, (std::vector<std::string>{"apple", "house", "ice cream", "pear", "tree"}));
  EXPECT_EQ(w.wordBox()->text(), "tree");
  shoot(w, "wavedb-new.png");
}

// A word and file typed into an empty store are an entry, and the exit asks to save it.
TEST_F(RecordingWindows, WaveDbTypedIntoAnEmptyStoreKeepsTheEntry) {
  TXWaveBase leer;
  TWaveDB w(leer);
  w.show();
  EXPECT_EQ(w.counter()->text(), zek::toQString("0 Eintr\xE4ge"));
  typeInto(w.wordBox(), "kiwi");
  typeInto(w.fileBox(), "/rec/kiwi.wav");
  ASSERT_EQ(leer.count(), 1);
  EXPECT_EQ(leer.entries()[0], (TWaveEntry{"kiwi", "/rec/kiwi.wav"}));
  EXPECT_TRUE(leer.modified());
  EXPECT_EQ(w.counter()->text(), zek::toQString("1 Eintr\xE4ge"));
  EXPECT_EQ(w.wordBox()->text(), "kiwi");
  m_dialogs.answer(mb::IdNo);
  leer.saveAtExit();
  EXPECT_EQ(m_dialogs.messages().size(), 1u);
}

TEST_F(RecordingWindows, WaveDbDeletesOnlyUnlessTheAnswerIsNo) {
  {
    TWaveDB w(m_store);
    QToolButton* del = buttonWithHint(&w, "Aktuellen Eintrag l\xF6schen");
    m_dialogs.answer(mb::IdNo);
    del->click();
    EXPECT_EQ(m_store.count(), 3);
    ASSERT_EQ(m_dialogs.messages().size(), 1u);
    EXPECT_EQ(m_dialogs.messages()[0].text, "Diesen Eintrag wirklich l\xF6schen?");
    m_dialogs.answer(mb::IdYes);
    del->click();
    EXPECT_EQ(m_store.count(), 2);
    EXPECT_EQ(w.wordBox()->text(), "house");
  }
  // Closed, the window hears nothing more.
  m_store.first();
  SUCCEED();
}

TEST_F(RecordingWindows, WaveDbEntersTheEditorsRecording) {
  m_dialogs.answer(mb::IdOk);
  TXWaveBase* store = zek::speechStore();
  QTimer::singleShot(0, [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* db = qobject_cast<TWaveDB*>(w)) {
        EXPECT_EQ(db->wordBox()->text(), "garden");
        db->reject();
      }
    }
  });
  TWaveDB::run(nullptr, "garden", "/home/me/garden.wav");
  EXPECT_EQ(store->findRecording("Garden"), "/home/me/garden.wav");
}

struct SetupCase {
  int bits, rate, channels;
  int bitsIndex, rateIndex, channelsIndex;
};

TEST_F(RecordingWindows, RecSetupShowsTheStoredFormat) {
  const std::vector<SetupCase> cases = {
      {16, 22050, 2, 1, 1, 1}, {8, 8000, 1, 0, 2, 0}, {12, 11025, 5, 0, 0, 0}, {16, 44100, 1, 1, 2, 0}};
  for (const SetupCase& c : cases) {
    zek::freeWaveRec();
    TSettingsStore& s = TSettingsStore::global();
    s.writeInteger(settingsKey("\\Aufnahme"), "Bits", c.bits);
    s.writeInteger(settingsKey("\\Aufnahme"), "Rate", c.rate);
    s.writeInteger(settingsKey("\\Aufnahme"), "Kan\xE4le", c.channels);
    TRecSetup d;
    EXPECT_EQ(d.bitsIndex(), c.bitsIndex) << c.bits;
    EXPECT_EQ(d.rateIndex(), c.rateIndex) << c.rate;
    EXPECT_EQ(d.channelsIndex(), c.channelsIndex) << c.channels;
  }
}

TEST_F(RecordingWindows, RecSetupOkStoresAndAppliesCancelChangesNothing) {
  m_log.clear();
  {
    TRecSetup d;
    EXPECT_EQ(d.size(), QSize(313, 185));
    EXPECT_EQ(d.windowTitle(), zek::toQString("Aufnahme-Einstellungen"));
    d.show();
    shoot(d, "recsetup.png");
    EXPECT_EQ(m_log, (std::vector<std::string>{"open new type waveaudio alias test", "close test",
                                                "open new type waveaudio alias test"}));
    for (QRadioButton* r : d.findChildren<QRadioButton*>()) {
      if (r->text() == "16 Bit" || r->text() == "22 kHz" || r->text() == "Stereo") r->click();
    }
    for (QPushButton* b : d.findChildren<QPushButton*>()) {
      if (b->text() == "&Abbrechen") b->click();
    }
    EXPECT_FALSE(TSettingsStore::global().valueExists(settingsKey("\\Aufnahme"), "Bits"));
  }
  m_log.clear();
  TRecSetup d;
  for (QRadioButton* r : d.findChildren<QRadioButton*>()) {
    if (r->text() == "16 Bit" || r->text() == "22 kHz" || r->text() == "Stereo") r->click();
  }
  for (QPushButton* b : d.findChildren<QPushButton*>()) {
    if (b->text() == "&OK") b->click();
  }
  EXPECT_EQ(d.result(), QDialog::Accepted);
  ASSERT_FALSE(m_log.empty());
  EXPECT_EQ(m_log.back(), "set test bitspersample 16 channels 2 alignment 4 samplespersec 22050 bytespersec 88200");
  EXPECT_EQ(readSettingInteger("\\Aufnahme", "Bits", 0), 16);
  EXPECT_EQ(readSettingInteger("\\Aufnahme", "Rate", 0), 22050);
  EXPECT_EQ(readSettingInteger("\\Aufnahme", "Kan\xE4le", 0), 2);
}

}  // namespace
