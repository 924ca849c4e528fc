// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/txwavebase.h"

#include "platform/appstate.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

std::string name(const fs::path& p) { return zek::fromPath(p); }

TXWaveBase* storeOf(std::initializer_list<TWaveEntry> entries, TXWaveBase& store) {
  for (const TWaveEntry& e : entries) store.append(e.word, e.file);
  return &store;
}

struct FindCase {
  std::vector<TWaveEntry> entries;
  std::string word;
  std::string expected;
};

TEST(WaveBaseFind, EqualWordThenParenthesisThenCommaPrefix) {
  const std::vector<FindCase> cases = {
      {{{"bear", "a.wav"}}, "Bear", "a.wav"},
      {{{"bear (animal)", "b.wav"}}, "bear", "b.wav"},
      {{{"Bear (animal)", "b.wav"}}, "bear", ""},  // the prefix steps compare case-sensitively
      {{{"bear, bore", "c.wav"}}, "bear", "c.wav"},
      {{{"bear, bore", "c.wav"}, {"bear (animal)", "b.wav"}}, "bear", "b.wav"},  // "(" before ","
      {{{"bear (animal)", "b.wav"}, {"BEAR", "a.wav"}}, "bear", "a.wav"},        // equality first
      {{{"bearing", "x.wav"}}, "bear", ""},
      {{{"bear (2)", "2.wav"}, {"bear (1)", "1.wav"}}, "bear", "2.wav"},         // store order, not byte order
      {{{"May", "m1.wav"}, {"may", "m2.wav"}}, "may", "m1.wav"},
      {{{"\xC4pfel", "u.wav"}}, "\xE4pfel", "u.wav"},
      {{{"bear", "a.wav"}}, "", ""},
  };
  for (const FindCase& c : cases) {
    TXWaveBase store;
    for (const TWaveEntry& e : c.entries) store.append(e.word, e.file);
    EXPECT_EQ(store.findRecording(c.word), c.expected) << c.word << " in " << c.entries[0].word;
  }
}

TEST(WaveBaseFind, IndexFollowsChanges) {
  TXWaveBase store;
  store.append("house", "h.wav");
  EXPECT_EQ(store.findRecording("house"), "h.wav");
  store.setCurrentWord("home");
  EXPECT_EQ(store.findRecording("house"), "");
  EXPECT_EQ(store.findRecording("HOME"), "h.wav");
  store.insertBlank();
  store.setCurrentWord("  ice cream ");
  store.setCurrentFile("i.wav");
  EXPECT_EQ(store.currentWord(), "ice cream");
  EXPECT_EQ(store.findRecording("ice cream"), "i.wav");
}

TEST(WaveBaseFiles, CompressedFormIsPairsOfNulTerminatedTextsAtLevelOne) {
  const std::string bytes = TXWaveBase::writeCompressed({{"house", "XE:\\Woerter\\h\\house.wav"}, {"caf\xE9", "/x/c.wav"}});
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x78);
  EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0x01);  // fastest compression
  const auto plain = zek::inflateZlib(bytes);
  ASSERT_TRUE(plain);
  EXPECT_EQ(*plain, std::string("house\0XE:\\Woerter\\h\\house.wav\0caf\xE9\0/x/c.wav\0", 44));
  std::vector<TWaveEntry> back;
  EXPECT_TRUE(TXWaveBase::readCompressed(bytes, back));
  EXPECT_EQ(back, (std::vector<TWaveEntry>{{"house", "XE:\\Woerter\\h\\house.wav"}, {"caf\xE9", "/x/c.wav"}}));
}

TEST(WaveBaseFiles, BrokenCompressedDataKeepsTheCompletePairsBeforeTheBreak) {
  std::vector<TWaveEntry> many;
  for (int i = 0; i < 3000; ++i) many.push_back({"word" + std::to_string(i), "XE:\\w\\" + std::to_string(i * 7919) + ".wav"});
  const std::string bytes = TXWaveBase::writeCompressed(many);
  std::vector<TWaveEntry> back;
  EXPECT_FALSE(TXWaveBase::readCompressed(bytes.substr(0, bytes.size() / 2), back));
  ASSERT_FALSE(back.empty());
  ASSERT_LT(back.size(), many.size());
  for (std::size_t i = 0; i < back.size(); ++i) ASSERT_EQ(back[i], many[i]) << i;

  back.clear();
  EXPECT_FALSE(TXWaveBase::readCompressed("word\r\nfile.wav\r\n", back));  // a text file under a ".zek" name
  EXPECT_TRUE(back.empty());
  // Without its last NUL the final file runs to the end.
  EXPECT_TRUE(TXWaveBase::readCompressed(zek::deflateZlib(std::string("a\0x.wav\0b\0y.wav", 15), 1), back));
  EXPECT_EQ(back, (std::vector<TWaveEntry>{{"a", "x.wav"}, {"b", "y.wav"}}));
}

// A small file that inflates to NUL bytes made a pair of every two: millions of entries
// and gigabytes, until start-up died. Such a file gives nothing, quickly.
TEST(WaveBaseFiles, BombsAreRefusedWhole) {
  std::vector<TWaveEntry> back{{"kept", "k.wav"}};
  EXPECT_FALSE(TXWaveBase::readCompressed(zek::deflateZlib(std::string(64u << 20, '\0'), 1), back));
  EXPECT_EQ(back, (std::vector<TWaveEntry>{{"kept", "k.wav"}}));
  std::string pairs;
  for (int i = 0; i < 1100000; ++i) pairs += std::string("w\0f.wav\0", 8);
  EXPECT_FALSE(TXWaveBase::readCompressed(zek::deflateZlib(pairs, 1), back));
  EXPECT_FALSE(TXWaveBase::readText(std::string(2200000, '\n'), back));
  EXPECT_EQ(back.size(), 1u);
}

TEST(WaveBaseFiles, TextFormReadsLinePairsAndDropsAnOddLastLine) {
  std::vector<TWaveEntry> back;
  TXWaveBase::readText(" apple \r\nXE:\\a.wav\r\npear\npear.wav\nlonely\r\n", back);
  EXPECT_EQ(back, (std::vector<TWaveEntry>{{"apple", "XE:\\a.wav"}, {"pear", "pear.wav"}}));
}

class WaveBaseStore : public ::testing::Test {
 protected:
  zek::test::TempDir m_dir{"zek-wavebase"};
  zek::ScriptedDialogs m_dialogs;
};

TEST_F(WaveBaseStore, FormFollowsTheNameAsWritten) {
  const std::string compressed = name(m_dir.write("e_w.zek", TXWaveBase::writeCompressed({{"one", "1.wav"}})));
  const std::string upper = name(m_dir.write("e_w.ZEK", "two\r\n2.wav\r\n"));
  TXWaveBase store;
  store.loadStore(compressed);
  store.loadStore(upper);  // read as text: the extension test is case-sensitive
  EXPECT_TRUE(m_dialogs.messages().empty());
  EXPECT_EQ(store.entries(), (std::vector<TWaveEntry>{{"one", "1.wav"}, {"two", "2.wav"}}));
  EXPECT_FALSE(store.modified());
  EXPECT_EQ(store.fileName(), upper);

  // Saved under a text-form name, the store comes back whole.
  store.setCurrentFile("1b.wav");
  ASSERT_TRUE(store.saveStore(upper));
  TXWaveBase again;
  again.loadStore(upper);
  EXPECT_EQ(again.entries(), store.entries());
  ASSERT_TRUE(store.saveStore(compressed));
  EXPECT_TRUE(zek::inflateZlib(*zek::readFile(compressed)).has_value());
}

TEST_F(WaveBaseStore, UnreadableFileSaysSoAndKeepsWhatWasRead) {
  std::vector<TWaveEntry> many;
  for (int i = 0; i < 2000; ++i) many.push_back({"w" + std::to_string(i), std::to_string(i * 104729) + ".wav"});
  const std::string full = TXWaveBase::writeCompressed(many);
  const std::string broken = name(m_dir.write("broken.zek", full.substr(0, full.size() - 40)));
  TXWaveBase store;
  store.loadStore(broken);
  ASSERT_EQ(m_dialogs.messages().size(), 1u);
  EXPECT_EQ(m_dialogs.messages()[0].text, "Fehler beim Laden von " + broken + "!");
  EXPECT_EQ(m_dialogs.messages()[0].flags, mb::IconStop);
  EXPECT_GT(store.count(), 0);
  EXPECT_EQ(store.brokenFile(), broken);

  m_dialogs.clear();
  TXWaveBase missing;
  missing.loadStore(name(m_dir.path() / "missing.txt"));
  EXPECT_EQ(m_dialogs.messages().size(), 1u);
  m_dialogs.clear();
  TXWaveBase none;
  none.loadStore("");
  EXPECT_TRUE(m_dialogs.messages().empty());
  EXPECT_EQ(none.count(), 0);
}

TEST(WaveBaseNavigation, LocateInASortedStore) {
  TXWaveBase store;
  storeOf({{"apple", "a"}, {"kiwi", "k"}, {"pear", "p"}}, store);
  const std::vector<std::pair<std::string, int>> cases = {{"m", 2}, {"z", 2}, {"K", 1}, {"a", 0}, {"", 0}};
  for (const auto& [text, index] : cases) {
    store.last();
    store.locate(text);
    EXPECT_EQ(store.current(), index) << text;
  }
  TXWaveBase empty;
  empty.locate("m");
  EXPECT_EQ(empty.current(), 0);
}

TEST(WaveBaseNavigation, EmptyStoreNeverLeavesTheList) {
  zek::ScriptedDialogs dialogs;
  TXWaveBase store;
  store.last();
  EXPECT_EQ(store.current(), 0);
  store.next();
  EXPECT_EQ(store.current(), 0);
  EXPECT_TRUE(store.currentComplete());
  store.insertBlank();
  ASSERT_EQ(store.count(), 1);
  EXPECT_EQ(store.current(), 0);
  EXPECT_EQ(store.currentFile(), ".wav");
  EXPECT_FALSE(store.currentComplete());
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text, "Der aktuelle Eintrag ist nicht vollst\xE4ndig!");
  store.next();
  store.previous();
  EXPECT_EQ(store.current(), 0);
}

TEST(WaveBaseNavigation, DeletingMovesToTheNewLastEntry) {
  TXWaveBase store;
  storeOf({{"a", "1"}, {"b", "2"}, {"c", "3"}}, store);
  store.last();
  store.deleteCurrent();
  EXPECT_EQ(store.current(), 1);
  EXPECT_EQ(store.currentWord(), "b");
  store.first();
  store.deleteCurrent();
  EXPECT_EQ(store.currentWord(), "b");
  store.deleteCurrent();
  EXPECT_EQ(store.count(), 0);
  EXPECT_EQ(store.current(), 0);
  EXPECT_EQ(store.currentWord(), "");
  store.deleteCurrent();  // nothing left to delete
  store.setCurrentWord("x");  // what is typed into an empty store becomes its entry
  ASSERT_EQ(store.count(), 1);
  EXPECT_EQ(store.entries()[0], (TWaveEntry{"x", ""}));
}

TEST(WaveBaseNavigation, ListenerHearsEveryChangeAndOnlyMoves) {
  TXWaveBase store;
  storeOf({{"a", "1"}, {"b", "2"}}, store);
  int calls = 0;
  int owner = 0;
  store.setChangeListener(&owner, [&] { ++calls; });
  store.previous();  // at the first already: no move, no call
  EXPECT_EQ(calls, 0);
  store.next();
  store.next();
  EXPECT_EQ(calls, 1);
  store.setCurrentWord("B");
  store.sortStore();
  EXPECT_EQ(calls, 3);
  int other = 0;
  store.clearChangeListener(&other);  // not his to clear
  store.first();
  EXPECT_EQ(calls, 4);
  store.clearChangeListener(&owner);
  store.last();
  EXPECT_EQ(calls, 4);
}

TEST(WaveBaseNavigation, SortIsStableAndKeepsTheCurrentEntry) {
  TXWaveBase store;
  storeOf({{"pear", "p"}, {"May", "m1"}, {"\xC4pfel", "ae"}, {"apple", "a"}, {"may", "m2"}, {"Zebra", "z"}}, store);
  store.locate("pear");
  ASSERT_EQ(store.currentWord(), "pear");
  store.sortStore();
  std::vector<std::string> words;
  for (const TWaveEntry& e : store.entries()) words.push_back(e.word);
  EXPECT_EQ(words, (std::vector<std::string>{"\xC4pfel", "apple", "May", "may", "pear", "Zebra"}));
  EXPECT_EQ(store.currentWord(), "pear");
  EXPECT_EQ(store.findRecording("MAY"), "m1");
  EXPECT_TRUE(store.modified());
}

TEST(WaveBaseNavigation, RegisteringARecordingReusesAnEqualWord) {
  TXWaveBase store;
  storeOf({{"apple", "a"}, {"House", "old.wav"}}, store);
  store.registerRecording("house ", "/home/me/house.wav");
  EXPECT_EQ(store.count(), 2);
  EXPECT_EQ(store.current(), 1);
  EXPECT_EQ(store.currentFile(), "/home/me/house.wav");
  store.registerRecording("garden", "/home/me/garden.wav");
  EXPECT_EQ(store.count(), 3);
  EXPECT_EQ(store.currentWord(), "garden");
  EXPECT_EQ(store.findRecording("garden"), "/home/me/garden.wav");
}

// A word the program spoke itself is entered without asking the learner to save at the
// end, and the entry on show stays; a change of the learner's own is still saved.
TEST(WaveBaseNavigation, AGeneratedRecordingChangesNothingToSave) {
  TXWaveBase store;
  storeOf({{"apple", "a"}, {"house", "h"}}, store);
  store.last();
  store.registerGenerated("again", "/home/me/Woerter/a/again.wav");
  EXPECT_EQ(store.findRecording("again"), "/home/me/Woerter/a/again.wav");
  EXPECT_EQ(store.currentWord(), "house");
  EXPECT_FALSE(store.modified());
  store.registerRecording("garden", "/home/me/garden.wav");
  store.registerGenerated("zebra", "/home/me/Woerter/z/zebra.wav");
  EXPECT_TRUE(store.modified());
}

class WaveBaseExit : public WaveBaseStore {
 protected:
  std::string storeFile() const { return name(m_dir.path() / "e_w.zek"); }
  void makeChangedStore(TXWaveBase& store) {
    m_dir.write("e_w.zek", TXWaveBase::writeCompressed({{"pear", "p.wav"}, {"apple", "a.wav"}}));
    store.loadStore(storeFile());
    store.registerRecording("kiwi", "k.wav");
  }
  std::string datenbank3() const {
    return TSettingsStore::global().readString(settingsKey("\\Verzeichnisse"), "Datenbank3").value_or("");
  }
  void TearDown() override { TSettingsStore::global().deleteValue(settingsKey("\\Verzeichnisse"), "Datenbank3"); }
  zek::test::TempDir m_xdg{"zek-wavebase-data"};
};

TEST_F(WaveBaseExit, NothingAskedWhenUnchangedAndNothingWrittenOnNo) {
  {
    TXWaveBase store;
    m_dir.write("e_w.zek", TXWaveBase::writeCompressed({{"pear", "p.wav"}}));
    store.loadStore(storeFile());
    store.saveAtExit();
    EXPECT_TRUE(m_dialogs.messages().empty());
    store.registerRecording("kiwi", "k.wav");
    m_dialogs.answer(mb::IdNo);
    store.saveAtExit();
    ASSERT_EQ(m_dialogs.messages().size(), 1u);
    EXPECT_EQ(m_dialogs.messages()[0].flags, mb::YesNo | mb::IconQuestion);
    EXPECT_EQ(m_dialogs.messages()[0].text,
              "Die Datenbank f\xFCr die Sprachaufnahmen wurde ver\xE4ndert.\nSollen diese Ver\xE4nderungen "
              "gespeichert werden?");
  }
  TXWaveBase back;
  back.loadStore(storeFile());
  EXPECT_EQ(back.count(), 1);
  EXPECT_EQ(datenbank3(), "");
}

TEST_F(WaveBaseExit, SavesSortedInPlaceAndRemembersTheFile) {
  {
    TXWaveBase store;
    makeChangedStore(store);
    m_dialogs.answer(mb::IdYes);
    store.saveAtExit();
    ASSERT_EQ(m_dialogs.messages().size(), 2u);
    EXPECT_EQ(m_dialogs.messages()[1].text, "Die Datenbank f\xFCr die Sprachaufnahmen wurde erfolgreich gespeichert.");
    EXPECT_EQ(store.savedAsPath(), storeFile());
  }
  EXPECT_EQ(datenbank3(), storeFile());
  TXWaveBase back;
  back.loadStore(storeFile());
  ASSERT_EQ(back.count(), 3);
  EXPECT_EQ(back.entries()[0].word, "apple");
  EXPECT_EQ(back.entries()[2].word, "pear");
}

TEST_F(WaveBaseExit, FailedSaveOffersAnotherPlace) {
  {
    TXWaveBase store;
    const std::string file = name(m_dir.write("e_w.txt", "pear\r\np.wav\r\n"));
    store.loadStore(file);
    store.registerRecording("kiwi", "k.wav");
    // A folder in the file's place: the save fails, also for root.
    std::filesystem::remove(file);
    m_dir.mkdir("e_w.txt");
    m_dialogs.clear();
    m_dialogs.answer(mb::IdYes);  // save?
    m_dialogs.answer(mb::IdYes);  // somewhere else?
    m_dialogs.chooseFile(name(m_dir.path() / "neu"));
    store.saveAtExit();
    ASSERT_EQ(m_dialogs.fileDialogs().size(), 1u);
    const TFileDialogRequest& dialog = m_dialogs.fileDialogs()[0];
    EXPECT_TRUE(dialog.save);
    EXPECT_EQ(dialog.title, "Datenbank f\xFCr die Sprachaufnahmen speichern");
    EXPECT_EQ(dialog.fileName, "e_w.txt");
    EXPECT_EQ(dialog.directory, name(m_dir.path()) + "/");
    EXPECT_EQ(dialog.filter, "ZEK Datenbank (*.zek)|*.zek");
    ASSERT_EQ(m_dialogs.messages().size(), 3u);
    EXPECT_EQ(m_dialogs.messages()[1].text,
              "Die Datenbank f\xFCr die Sprachaufnahmen konnte nicht gespeichert werden. \nSoll sie an einem anderen "
              "Ort gespeichert werden?\n\nAchtung: Bei Nein gehen alle Ver\xE4nderungen verloren.");
    EXPECT_EQ(store.fileName(), name(m_dir.path() / "neu.zek"));
  }
  EXPECT_EQ(datenbank3(), name(m_dir.path() / "neu.zek"));
  TXWaveBase back;
  back.loadStore(datenbank3());
  EXPECT_EQ(back.count(), 2);
}

TEST_F(WaveBaseExit, NoFileNameProposesOneAndCancelKeepsNothing) {
  const char* was = std::getenv("XDG_DATA_HOME");
  const std::string saved = was ? was : "";
  setenv("XDG_DATA_HOME", m_xdg.path().c_str(), 1);
  TXWaveBase store;
  store.registerRecording("kiwi", "k.wav");
  m_dialogs.answer(mb::IdYes);
  m_dialogs.answer(mb::IdYes);
  m_dialogs.chooseFile(std::nullopt);
  store.saveAtExit();
  ASSERT_EQ(m_dialogs.fileDialogs().size(), 1u);
  EXPECT_EQ(m_dialogs.fileDialogs()[0].fileName, "e_w.zek");
  EXPECT_EQ(m_dialogs.fileDialogs()[0].directory, name(m_xdg.path()) + "/zek-englisch/");
  EXPECT_EQ(store.savedAsPath(), "");
  if (was) setenv("XDG_DATA_HOME", saved.c_str(), 1); else unsetenv("XDG_DATA_HOME");
}

TEST_F(WaveBaseExit, AStoreThatFailedToLoadIsNotOverwrittenUnasked) {
  std::vector<TWaveEntry> many;
  for (int i = 0; i < 2000; ++i) many.push_back({"w" + std::to_string(i), std::to_string(i * 104729) + ".wav"});
  const std::string full = TXWaveBase::writeCompressed(many);
  m_dir.write("e_w.zek", full.substr(0, full.size() / 2));
  const std::string damaged = *zek::readFile(storeFile());
  TXWaveBase store;
  store.loadStore(storeFile());
  store.registerRecording("kiwi", "k.wav");
  m_dialogs.clear();
  m_dialogs.answer(mb::IdYes);
  m_dialogs.answer(mb::IdNo);  // not elsewhere: the changes go, the file stays
  store.saveAtExit();
  EXPECT_EQ(m_dialogs.messages().size(), 2u);
  EXPECT_EQ(*zek::readFile(storeFile()), damaged);
  EXPECT_EQ(store.savedAsPath(), "");
}

TEST_F(WaveBaseExit, ReadOnlyFileIsMadeWritableFirst) {
  const std::string file = name(m_dir.write("ro.zek", TXWaveBase::writeCompressed({{"a", "a.wav"}})));
  ::chmod(file.c_str(), 0444);
  TXWaveBase store;
  store.loadStore(file);
  store.append("b", "b.wav");
  EXPECT_TRUE(store.saveStore(file));
  TXWaveBase back;
  back.loadStore(file);
  EXPECT_EQ(back.count(), 2);
}

}  // namespace
