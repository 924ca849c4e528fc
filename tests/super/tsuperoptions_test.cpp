// SPDX-License-Identifier: GPL-3.0-or-later
#include "super/tsuperoptions.h"

#include "media/mediacommand.h"
#include "platform/appstate.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "platform/tclock.h"
#include "super/collectfiles.h"
#include "super/tsuperalternation.h"
#include "vocab/tbibliothek.h"
#include "tests/common/dirsscope.h"
#include "tests/common/testutil.h"
#include "tests/media/mediatestutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

namespace fs = std::filesystem;
const std::string kKey = "SOFTWARE\\ZEK\\zek englisch\\Super";

class SuperOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override { setZufallSeed(7); }
  std::unique_ptr<TCdDrive> makeDrive() { return std::make_unique<zek::test::TFakeCdDrive>(m_tracks, 5); }
  // n empty ".mp3" files in the program's music folder (names only matter to the scan).
  void makeMp3(int n) {
    for (int i = 0; i < n; ++i) m_dir.write("MP3/piece" + std::to_string(i) + ".mp3", "");
  }

  zek::test::TempDir m_dir{"zek-super"};
  TSettingsStore m_store{m_dir.path() / "settings.ini"};
  zek::test::TManualClock m_clock;
  zek::ScriptedDialogs m_dialogs;
  std::vector<bool> m_tracks{false, true, true};
  std::vector<std::string> m_log;
  zek::test::TDirsScope m_dirs{m_dir.path()};
  zek::test::TMediaScope m_media{zek::test::makeNullService(m_clock, [this] { return makeDrive(); }), m_log};
};

TEST_F(SuperOptionsTest, StoredIntegersAreClampedToTheirRanges) {
  struct Case { TSuperValue v; int stored, used; };
  const Case cases[] = {
      {TSuperValue::Madness, 15, 10},        {TSuperValue::Schritte, 5, 20},
      {TSuperValue::Faktor, 401, 400},       {TSuperValue::TechnoSpeed, -30, -25},
      {TSuperValue::TechnoSpeed, -3, -3},    {TSuperValue::DDTextDelay, 0, 1000},
      {TSuperValue::Modus, 4, 1},            {TSuperValue::TechnoFrameDelay, 240001, 240000},
      // What the settings dialog can store survives the next load: its longest frame delay
      // (4:0 min) and its longest background interval ("20 Minuten").
      {TSuperValue::TechnoFrameDelay, 240000, 240000}, {TSuperValue::DDBGRDelay, 1200, 1200},
      {TSuperValue::DDBGRDelay, 1201, 1200},
  };
  for (const Case& c : cases) {
    m_store.writeInteger(kKey, superValueInfo(c.v).name, c.stored);
    TSuperOptions o(&m_store);
    EXPECT_EQ(o.value(c.v), c.used) << superValueInfo(c.v).name << "=" << c.stored;
    EXPECT_FALSE(o.modified());
  }
}

TEST_F(SuperOptionsTest, EveryStyleStartsWithAWordWhereverTheLastOneStopped) {
  TBibliothek bib;
  for (const char* w : {"apple", "pear"}) {
    TVokabel v;
    v.Vokabel = w;
    v.Bedeutung1 = std::string("der ") + w;
    bib.Hinzufuegen(v);
  }
  TSuperOptions options(&m_store);
  {
    TSuperAlternation techno(bib, options);
    EXPECT_EQ(techno.nextText().text.front(), '*');  // a word, then the run was stopped
  }
  TSuperAlternation seventies(bib, options);
  const std::string word = seventies.nextText().text, meaning = seventies.nextText().text;
  ASSERT_FALSE(word.empty());
  EXPECT_EQ(word.front(), '*');
  EXPECT_EQ(meaning, "der " + word.substr(1));  // the pair belongs together
}

// With speech on, each text asks for its file in its own language: the word of an English
// entry and the meaning of a German one are English.
TEST_F(SuperOptionsTest, TheAlternationAsksForEachTextInItsLanguage) {
  TBibliothek bib;
  TVokabel englisch;
  englisch.Vokabel = "apple";
  englisch.Bedeutung1 = "der Apfel";
  TVokabel deutsch;
  deutsch.Vokabel = "die Birne";
  deutsch.Bedeutung1 = "pear";
  deutsch.Deutsch = true;
  bib.Hinzufuegen(englisch);
  bib.Hinzufuegen(deutsch);
  m_store.writeInteger(kKey, "Sprachausgabe", 1);
  TSuperOptions options(&m_store);
  TSuperAlternation texte(bib, options);
  std::vector<std::pair<std::string, TWortSprache>> gefragt;
  texte.recording = [&](const std::string& text, TWortSprache sprache) {
    gefragt.emplace_back(text, sprache);
    return "/w/" + text + ".wav";
  };
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(texte.nextText().file.empty());
  const std::vector<std::pair<std::string, TWortSprache>> erwartet = {{"apple", TWortSprache::Englisch},
                                                                     {"der Apfel", TWortSprache::Deutsch},
                                                                     {"die Birne", TWortSprache::Deutsch},
                                                                     {"pear", TWortSprache::Englisch}};
  EXPECT_EQ(gefragt, erwartet);
}

TEST_F(SuperOptionsTest, DefaultsWithoutAKey) {
  TSuperOptions o(&m_store);
  EXPECT_EQ(o.storedForm(TSuperValue::Schritte), "200");
  EXPECT_EQ(o.storedForm(TSuperValue::Madness), "9");
  EXPECT_EQ(o.storedForm(TSuperValue::CarsonBGRColor), "FFFFFF");
  EXPECT_EQ(o.storedForm(TSuperValue::TechnoBMPColor), "990099");
  EXPECT_EQ(o.storedForm(TSuperValue::TechnoFading), "1");
  EXPECT_EQ(o.text(TSuperValue::Schrift), "Arial");
  // No music folder in the program directory: no music.
  EXPECT_EQ(o.value(TSuperValue::Musik), kMusikNone);
  EXPECT_EQ(o.mp3Dir(), "");
}

TEST_F(SuperOptionsTest, ColoursKeepTheirTwoByteOrders) {
  m_store.writeString(kKey, "CarsonBGRColor", "0000FF");   // platform order: red
  m_store.writeString(kKey, "TechnoTextColor", "FF0000");  // red first: red
  {
    TSuperOptions o(&m_store);
    EXPECT_EQ(o.value(TSuperValue::CarsonBGRColor), 0x0000FF);
    EXPECT_EQ(o.value(TSuperValue::TechnoTextColor), 0x0000FF);
    o.setValue(TSuperValue::TechnoBGRColor, 0x00FF00 | 0x10);  // green, a little red
  }
  EXPECT_EQ(m_store.readString(kKey, "TechnoBGRColor"), "10FF00");
  EXPECT_EQ(m_store.readString(kKey, "CarsonBGRColor"), "0000FF");
  EXPECT_EQ(m_store.readString(kKey, "TechnoTextColor"), "FF0000");
}

TEST_F(SuperOptionsTest, AnUnreadableColourResetsItsGroup) {
  m_store.writeString(kKey, "CarsonBGRColor", "123456");
  m_store.writeString(kKey, "CarsonTXTColor", "zz");
  m_store.writeString(kKey, "TechnoTextColor", "0000FF");
  TSuperOptions o(&m_store);
  EXPECT_EQ(o.storedForm(TSuperValue::CarsonBGRColor), "FFFFFF");
  EXPECT_EQ(o.storedForm(TSuperValue::CarsonTXTColor), "000000");
  EXPECT_EQ(o.storedForm(TSuperValue::TechnoTextColor), "0000FF");
}

TEST_F(SuperOptionsTest, SavedOnDestructionOnlyWhenChanged) {
  { TSuperOptions o(&m_store); }
  EXPECT_FALSE(m_store.keyExists(kKey));
  {
    TSuperOptions o(&m_store);
    o.setValue(TSuperValue::Faktor, 100);  // unchanged
    EXPECT_FALSE(o.modified());
    o.setValue(TSuperValue::Faktor, 900);
    EXPECT_TRUE(o.modified());
    o.setValue(TSuperValue::OhneHintergrund, 1);
    o.setText(TSuperValue::Schrift, "Georgia");
  }
  EXPECT_EQ(m_store.readInteger(kKey, "Faktor"), 400);
  EXPECT_EQ(m_store.readBool(kKey, "OhneHintergrund"), true);
  EXPECT_EQ(m_store.readString(kKey, "Schrift"), "Georgia");
  TSuperOptions again(&m_store);
  EXPECT_EQ(again.value(TSuperValue::Faktor), 400);
  EXPECT_EQ(again.value(TSuperValue::OhneHintergrund), 1);
}

TEST_F(SuperOptionsTest, CdMusicAndSpeechExcludeEachOther) {
  TSuperOptions o(&m_store);
  o.setSprachausgabe(1);
  o.setMusik(kMusikCd);
  EXPECT_EQ(o.value(TSuperValue::Musik), kMusikCd);
  EXPECT_EQ(o.value(TSuperValue::Sprachausgabe), 0);
  o.setSprachausgabe(1);
  EXPECT_EQ(o.value(TSuperValue::Musik), kMusikNone);
  EXPECT_EQ(o.value(TSuperValue::Sprachausgabe), 1);
  // MP3 music needs files.
  o.setMusik(kMusikMp3);
  EXPECT_EQ(o.value(TSuperValue::Musik), kMusikNone);
}

TEST_F(SuperOptionsTest, SpeechNeedsTheContentMedium) {
  m_store.writeInteger(kKey, "Sprachausgabe", 1);
  EXPECT_EQ(TSuperOptions(&m_store).value(TSuperValue::Sprachausgabe), 1);
  Dirs().ContentRoot.clear();
  EXPECT_EQ(TSuperOptions(&m_store).value(TSuperValue::Sprachausgabe), 0);
}

TEST_F(SuperOptionsTest, StoredMusicWithoutMp3Files) {
  m_store.writeInteger(kKey, "Musik", kMusikCd);
  EXPECT_EQ(TSuperOptions(&m_store).value(TSuperValue::Musik), kMusikCd);
  m_store.writeInteger(kKey, "Musik", kMusikMp3);
  EXPECT_EQ(TSuperOptions(&m_store).value(TSuperValue::Musik), kMusikNone);
  makeMp3(1);
  TSuperOptions o(&m_store);
  EXPECT_EQ(o.value(TSuperValue::Musik), kMusikMp3);
  EXPECT_EQ(o.mp3Dir(), Dirs().ProgramDir + "MP3/");
}

TEST_F(SuperOptionsTest, AMissingMusicFolderIsReportedAndChangesStaySaved) {
  makeMp3(2);
  {
    TSuperOptions o(&m_store);
    o.setValue(TSuperValue::Madness, 3);
    o.setMp3Dir(Dirs().ProgramDir + "nowhere");
    ASSERT_EQ(m_dialogs.messages().size(), 1u);
    EXPECT_EQ(m_dialogs.messages()[0].text, "MP3 : Das Verzeichnis \"" + Dirs().ProgramDir + "nowhere\" existiert nicht!");
    EXPECT_EQ(m_dialogs.messages()[0].flags, 16);
    EXPECT_EQ(o.mp3Dir(), "");
    EXPECT_TRUE(o.mp3Files().empty());
    EXPECT_TRUE(o.modified());
  }
  EXPECT_EQ(m_store.readInteger(kKey, "Madness"), 3);
}

TEST_F(SuperOptionsTest, ChangingTheMusicFolderRescansIt) {
  m_dir.write("own/a.MP3", "");
  m_dir.write("own/deeper/b.mp3", "");
  m_dir.write("own/c.wav", "");
  TSuperOptions o(&m_store);
  o.setMp3Dir(zek::fromPath(m_dir.path() / "own"));
  EXPECT_EQ(o.mp3Dir(), zek::fromPath(m_dir.path() / "own") + "/");
  EXPECT_EQ(o.mp3Files().size(), 2u);
  o.setMusik(kMusikMp3);
  EXPECT_EQ(o.value(TSuperValue::Musik), kMusikMp3);
  EXPECT_TRUE(m_dialogs.messages().empty());
}

TEST_F(SuperOptionsTest, TechnoPictureFolderMessages) {
  m_dir.write("pics/deep/a.jpg", "");
  m_dir.write("shots/a.BMP", "");
  TSuperOptions o(&m_store);
  const std::string pics = zek::fromPath(m_dir.path() / "pics");
  o.setTechnoPhotoDir(pics);
  o.setTechnoPhotoDir(zek::fromPath(m_dir.path() / "shots"));
  o.setTechnoPhotoDir(pics + "x");
  o.setTechnoPhotoDir("");
  const std::vector<std::string> expected = {
      "Superlearning : Das Verzeichnis \"" + pics + "/\" enth\xE4lt keine Bilder (JPG oder BMP)!",
      "Superlearning : Das Verzeichnis \"" + pics + "x/\" existiert nicht!",
      "Der Techno-Modus ben\xF6tigt ein Verzeichnis mit Bildern (JPG oder BMP)!",
  };
  EXPECT_EQ(m_dialogs.texts(), expected);
}

TEST_F(SuperOptionsTest, MusicOrderRepeatsOneFileAndSpreadsFour) {
  makeMp3(1);
  {
    TSuperOptions o(&m_store);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(o.nextMp3(), 0);
  }
  makeMp3(4);
  TSuperOptions o(&m_store);
  ASSERT_EQ(o.mp3Files().size(), 4u);
  std::vector<int> order;
  for (int i = 0; i < 400; ++i) order.push_back(o.nextMp3());
  for (std::size_t i = 2; i < order.size(); ++i) {
    EXPECT_NE(order[i], order[i - 1]);
    EXPECT_NE(order[i], order[i - 2]);
  }
  EXPECT_EQ(std::set<int>(order.begin(), order.end()).size(), 4u);
}

TEST_F(SuperOptionsTest, CdMusicPlaysOnlyAnAudioSecondTrack) {
  m_store.writeInteger(kKey, "Musik", kMusikCd);
  {
    TSuperOptions o(&m_store);
    o.musicStart();
    EXPECT_EQ(m_log, (std::vector<std::string>{"open cdaudio alias cd", "status cd type track 2",
                                               "set cd time format tmsf", "play cd"}));
    m_log.clear();
    o.musicStop();
    EXPECT_EQ(m_log, (std::vector<std::string>{"stop cd", "close cd"}));
  }
  m_log.clear();
  m_tracks = {false, false};
  TSuperOptions o(&m_store);
  o.musicStart();
  EXPECT_EQ(m_log, (std::vector<std::string>{"open cdaudio alias cd", "status cd type track 2"}));
}

TEST_F(SuperOptionsTest, Mp3MusicGoesOnWithTheNextFileWhenOneEnds) {
  const fs::path wav = zek::test::writeTone(m_dir.path() / "tone.wav", 22050, 1, SF_FORMAT_PCM_16, 1.0);
  fs::create_directories(m_dir.path() / "MP3");
  for (const char* name : {"a", "b"})
    if (!zek::test::run("lame --quiet -b 64 '" + wav.string() + "' '" + (m_dir.path() / "MP3" / name).string() + ".mp3'"))
      GTEST_SKIP() << "lame missing";
  TSuperOptions o(&m_store);
  ASSERT_EQ(o.value(TSuperValue::Musik), kMusikMp3);
  o.musicStart();
  ASSERT_EQ(m_log.size(), 2u);
  const std::string first = m_log[0];
  EXPECT_EQ(m_log[1], "play mp3");
  m_log.clear();
  o.musicPoll();
  EXPECT_EQ(m_log, std::vector<std::string>{"status mp3 mode"});  // still playing
  m_log.clear();
  m_clock.advanceMs(1500);
  o.musicPoll();
  ASSERT_EQ(m_log.size(), 4u);
  EXPECT_EQ(m_log[1], "close mp3");
  EXPECT_NE(m_log[2], first);  // two files: the other one next
  EXPECT_EQ(m_log[3], "play mp3");
}

TEST(CollectFiles, CountsDirectMatchesAndListsAllBelow) {
  zek::test::TempDir dir("zek-collect");
  dir.write("a.jpg", "");
  dir.write("b.BMP", "");
  dir.write("c.png", "");
  dir.write("sub/d.jpg", "");
  dir.write("sub/deeper/e.bmp", "");
  std::vector<std::string> list;
  EXPECT_EQ(collectFiles(zek::fromPath(dir.path()), &list, ".jpg", ".bmp"), 2);
  EXPECT_EQ(list.size(), 4u);
  EXPECT_EQ(collectFiles(zek::fromPath(dir.path() / "sub"), nullptr, ".jpg"), 1);
  EXPECT_EQ(collectFiles(zek::fromPath(dir.path() / "none"), &list, ".jpg"), 0);
  fs::create_directory_symlink(dir.path(), dir.path() / "sub/loop");
  list.clear();
  EXPECT_EQ(collectFiles(zek::fromPath(dir.path()), &list, ".jpg", ".bmp"), 2);
  EXPECT_EQ(list.size(), 4u);
}

}  // namespace
