// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/appstate.h"

#include "platform/files.h"
#include "platform/settingsstore.h"
#include "tests/common/testutil.h"

#include <gtest/gtest.h>

namespace {

const std::string kDirsKey = "SOFTWARE\\ZEK\\zek englisch\\Verzeichnisse";

// A machine with a program directory and fake removable media, and an empty settings file.
class Resolution : public ::testing::Test {
 protected:
  void SetUp() override {
    TSettingsStore::setGlobalFile(m_tmp.path() / "settings.ini");
    appState() = TAppState{};
    m_program = base() + "prog/";
    m_tmp.mkdir("prog");
    TMachineProbe probe;
    probe.executable = zek::toPath(m_program + "zek-englisch");
    probe.removableRoots = [this] { return m_media; };
    probe.driveOf = [this](const std::string&) { return base() + "drive/"; };
    probe.isCdrom = [this](const std::string&) { return m_onCdrom; };
    setMachineProbe(probe);
  }
  void TearDown() override {
    setMachineProbe(TMachineProbe::real());
    appState() = TAppState{};
  }
  std::string base() const { return zek::fromPath(m_tmp.path()) + "/"; }
  // A complete content medium below `rel`.
  std::string makeMedium(const std::string& rel) {
    m_tmp.write(rel + "/wave/ZEK_E", "");
    m_tmp.mkdir(rel + "/Vokabeln (E)/Grundwortschatz");
    m_tmp.write(rel + "/ZEK_E/hzek/main.htx", "x");
    m_tmp.write(rel + "/ZEK_E/e_d.zek", "x");
    return base() + rel + "/";
  }
  TSettingsStore& store() { return TSettingsStore::global(); }

  zek::test::TempDir m_tmp;
  std::string m_program;
  std::vector<std::string> m_media;
  bool m_onCdrom = false;
};

TEST_F(Resolution, CompleteInstallationWithoutContentRoot) {
  m_tmp.write("prog/hzek/main.htx", "x");
  m_tmp.mkdir("prog/Vokabeln (E)/Grundwortschatz");
  m_tmp.write("prog/d_e.zek", "x");
  resolveDirectories();
  EXPECT_EQ(Dirs().ProgramDir, m_program);
  EXPECT_EQ(Dirs().ContentRoot, "");
  EXPECT_EQ(Dirs().SoundDir, "");
  EXPECT_EQ(Dirs().VocabBase, m_program + "Vokabeln (E)/");
  EXPECT_EQ(Dirs().PageBase, m_program);
  EXPECT_EQ(Dirs().UserVocabDir, Dirs().VocabBase);
  EXPECT_EQ(Dirs().DictFile1, "");
  EXPECT_EQ(Dirs().DictFile2, m_program + "d_e.zek");
  EXPECT_EQ(store().readString(kDirsKey, "Programm"), m_program + "zek-englisch");
}

TEST_F(Resolution, RemovableMediumIsFoundAndStored) {
  m_media = {base() + "media/usb/", makeMedium("media/cd")};
  resolveDirectories();
  EXPECT_EQ(Dirs().ContentRoot, base() + "media/cd/");
  EXPECT_EQ(Dirs().SoundDir, base() + "media/cd/wave/");
  EXPECT_EQ(Dirs().PageBase, base() + "media/cd/ZEK_E/");
  EXPECT_EQ(Dirs().VocabBase, base() + "media/cd/Vokabeln (E)/");
  EXPECT_EQ(Dirs().DictFile1, base() + "media/cd/ZEK_E/e_d.zek");
  EXPECT_EQ(store().readString(kDirsKey, "CD-Laufwerk"), base() + "media/cd/");
}

TEST_F(Resolution, StaleStoredMediumIsReplacedAndRewritten) {
  store().writeString(kDirsKey, "CD-Laufwerk", base() + "gone/");
  m_media = {makeMedium("media/new")};
  resolveDirectories();
  EXPECT_EQ(Dirs().ContentRoot, base() + "media/new/");
  EXPECT_EQ(store().readString(kDirsKey, "CD-Laufwerk"), base() + "media/new/");
}

TEST_F(Resolution, StoredSettingsAreUsedWhenValid) {
  const std::string medium = makeMedium("media/cd");
  m_tmp.mkdir("mine");
  m_tmp.write("dict/eigen.zek", "x");
  store().writeString(kDirsKey, "CD-Laufwerk", medium);
  store().writeString(kDirsKey, "Vokabel-Dateien", base() + "mine/liste.asc");
  store().writeString(kDirsKey, "Datenbank1", base() + "dict/eigen.zek");
  store().writeString(kDirsKey, "HZEK", base() + "nowhere/");
  resolveDirectories();
  EXPECT_EQ(Dirs().ContentRoot, medium);
  EXPECT_EQ(Dirs().UserVocabDir, base() + "mine/");
  EXPECT_EQ(Dirs().DictFile1, base() + "dict/eigen.zek");
  EXPECT_EQ(Dirs().PageBase, medium + "ZEK_E/");  // the stored HZEK has no pages
}

TEST_F(Resolution, ProgramOnCdromDoesNotWriteItsPath) {
  m_onCdrom = true;
  resolveDirectories();
  EXPECT_FALSE(store().readString(kDirsKey, "Programm").has_value());
  EXPECT_EQ(Dirs().VocabBase, "");
}

TEST_F(Resolution, NothingFoundLeavesBasesEmpty) {
  resolveDirectories();
  EXPECT_EQ(Dirs().ContentRoot, "");
  EXPECT_EQ(Dirs().VocabBase, "");
  EXPECT_EQ(Dirs().PageBase, "");
}

TEST_F(Resolution, VocabularyOnTheProgramDrive) {
  m_tmp.mkdir("drive/Vokabeln (E)/Grundwortschatz");
  m_tmp.write("prog/hzek/main.htx", "x");
  resolveDirectories();
  EXPECT_EQ(Dirs().VocabBase, base() + "drive/Vokabeln (E)/");
  EXPECT_EQ(Dirs().PageBase, m_program);
}

TEST_F(Resolution, SettingsReadAndWrite) {
  EXPECT_EQ(readSettingString("", "Online-Hilfe", "AN"), "AN");
  store().writeString("SOFTWARE\\ZEK\\zek englisch", "Online-Hilfe", "");
  EXPECT_EQ(readSettingString("", "Online-Hilfe", "AN"), "AN");  // empty gives the default
  store().writeString("SOFTWARE\\ZEK\\zek englisch", "Hintergrund", "rot");
  EXPECT_EQ(readSettingInteger("", "Hintergrund", 8421504), 8421504);  // wrong type gives the default
  appState().OnlineHelp = false;
  appState().BackdropColor = 0xC0C0C0;
  saveGeneralSettings();
  EXPECT_EQ(readSettingString("", "Online-Hilfe"), "AUS");
  EXPECT_EQ(readSettingInteger("", "Hintergrund", 0), 0xC0C0C0);
  Dirs().UserVocabDir = "";
  Dirs().ContentRoot = "/cd/";
  saveDirectorySettings(3);
  EXPECT_FALSE(store().readString(kDirsKey, "Vokabel-Dateien").has_value());
  EXPECT_EQ(store().readString(kDirsKey, "CD-Laufwerk"), "/cd/");
}

// "Programm" names the program as the file system spells it, also where Windows-1252
// has no code for a character; a stored value that already names it stays untouched.
TEST_F(Resolution, ProgramPathOutsideWindows1252IsStoredAsItIs) {
  const std::string dir = "\xC3\x9C" "bungen/\xE6\x97\xA5\xE6\x9C\xAC/a b\"c%d$";
  const std::filesystem::path program = m_tmp.path() / dir / "zek-englisch";
  m_tmp.write(dir + "/hzek/main.htx", "x");
  m_tmp.mkdir(dir + "/Vokabeln (E)/Grundwortschatz");
  TMachineProbe probe = machineProbe();
  probe.executable = program;
  setMachineProbe(probe);
  const struct {
    const char* stored;  // line in the settings file before the start, or nullptr
    bool rewritten;
  } cases[] = {
      {nullptr, true},
      {"Programm=str:@BASE@\xC3\x9C" "bungen/?\?/a b\"c%25d$/zek-englisch", true},  // an older build's "?"
      {"Programm=path:@BASE@\xC3\x9C" "bungen/\xE6\x97\xA5\xE6\x9C\xAC/a b\"c%25d$/zek-englisch", false},
  };
  for (const auto& c : cases) {
    std::string before = "[SOFTWARE\\ZEK\\zek englisch\\Verzeichnisse]\n";
    if (c.stored) {
      std::string line = c.stored;
      line.replace(line.find("@BASE@"), 6, m_tmp.path().string() + "/");
      before += line + "\n";
    }
    m_tmp.write("settings.ini", before);
    store().reload();
    appState() = TAppState{};
    resolveDirectories();
    EXPECT_EQ(store().readPath(kDirsKey, "Programm"), program);
    EXPECT_EQ(*zek::readFile(m_tmp.path() / "settings.ini") == before, !c.rewritten) << before;
    // Inside the program names stay Windows-1252; the look-up still finds the pages.
    EXPECT_EQ(Dirs().ProgramDir, base() + "\xDC" "bungen/?\?/a b\"c%d$/");
    EXPECT_EQ(Dirs().PageBase, Dirs().ProgramDir);
  }
}

}  // namespace
