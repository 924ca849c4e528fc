// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"
#include "app/tappobjects.h"
#include "app/tshortcuts.h"
#include "app/tmain.h"
#include "page/txpage.h"
#include "dict/database.h"
#include "media/tspeech.h"
#include "media/txwavebase.h"

#include "platform/appstate.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "tests/common/testutil.h"

#include <gtest/gtest.h>

namespace {

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    TSettingsStore::setGlobalFile(m_tmp.path() / "settings.ini");
    appState() = TAppState{};
    TMachineProbe probe;
    probe.executable = m_tmp.path() / "prog" / "zek-englisch";
    probe.removableRoots = [] { return std::vector<std::string>{}; };
    probe.driveOf = [this](const std::string&) { return zek::fromPath(m_tmp.path()) + "/drive/"; };
    probe.isCdrom = [](const std::string&) { return false; };
    setMachineProbe(probe);
    setDisplayOverride(TDisplayInfo{32, 1024, 768});
    setenv("XDG_DATA_HOME", (m_tmp.path() / "share").c_str(), 1);
    setenv("HOME", m_tmp.path().c_str(), 1);
  }
  void TearDown() override {
    // No window, database or background load of this test may reach into the next one.
    {
      zek::ScriptedDialogs quiet;
      appObjects().freeDictionaryWindow();
    }
    setMachineProbe(TMachineProbe::real());
    setDisplayOverride(std::nullopt);
    appState() = TAppState{};
  }
  void install() {
    m_tmp.write("prog/wave/ZEK_E", "");
    m_tmp.mkdir("prog/Vokabeln (E)/Grundwortschatz");
    m_tmp.write("prog/ZEK_E/hzek/main.htx", "x");
  }
  zek::test::TempDir m_tmp;
};

// The files are read in the background; the database has them, and a broken file its
// message, as soon as anything asks for the dictionary.
TEST_F(Startup, DictionaryFilesJoinTheDatabaseWhenFirstNeeded) {
  install();
  TXDatabase source;
  source.Append("go", "2", "gehen");
  source.Append("house", "1", "Haus");
  ASSERT_TRUE(source.WriteHalf(0, zek::fromPath(m_tmp.path()) + "/prog/e_d.zek"));
  m_tmp.write("prog/d_e.zek", "no zlib stream");
  zek::ScriptedDialogs dialogs;
  ASSERT_TRUE(startupChecks({}));
  TXDatabase& db = appObjects().dictionary();
  EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Fehler beim Laden des W\xF6rterbuchs!"}));
  EXPECT_FALSE(db.IsGermanEnglish());
  EXPECT_EQ(db.Count(), 2);
  EXPECT_EQ(db.GetWord(1), "house");
  db.SetGermanEnglish(true);
  EXPECT_EQ(db.Count(), 0);
  EXPECT_EQ(&appObjects().dictionary(), &db);  // joined once
  EXPECT_EQ(dialogs.texts().size(), 1u);
  appObjects().freeDictionaryWindow();
}

TEST_F(Startup, EightBitDisplayWritesItsRefusalWhereItCanBeRead) {
  install();
  setDisplayOverride(TDisplayInfo{8, 1024, 768});
  zek::ScriptedDialogs dialogs;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(startupChecks({}));
  const std::string err = testing::internal::GetCapturedStderr();
  // No box that could not be painted, and no false word about a missing CD-ROM.
  EXPECT_TRUE(dialogs.texts().empty());
  EXPECT_NE(err.find("Nicht genug Farben!\n"), std::string::npos) << err;
  EXPECT_EQ(err.find("CD-ROM"), std::string::npos) << err;
}

TEST_F(Startup, SmallScreenShowsOnlyTheResolutionMessage) {
  install();
  setDisplayOverride(TDisplayInfo{32, 800, 599});
  zek::ScriptedDialogs dialogs;
  EXPECT_FALSE(startupChecks({}));
  ASSERT_EQ(dialogs.texts(), (std::vector<std::string>{kMsgResolutionTooLow}));
  EXPECT_EQ(dialogs.messages()[0].flags, 16);
  EXPECT_EQ(std::string(kMsgResolutionTooLow).find("Systemsteuerung"), std::string::npos);
}

TEST_F(Startup, MissingContentEndsTheProgram) {
  zek::ScriptedDialogs dialogs;
  EXPECT_FALSE(startupChecks({}));
  EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{kMsgCannotStart}));
}

TEST_F(Startup, CompleteInstallationStartsQuietly) {
  install();
  TSettingsStore::global().writeString("SOFTWARE\\ZEK\\zek englisch", "Online-Hilfe", "aus");
  zek::ScriptedDialogs dialogs;
  EXPECT_TRUE(startupChecks({}));
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_TRUE(appState().OnlineHelp);  // only "AUS" switches hints off
  EXPECT_EQ(Dirs().PageBase, zek::fromPath(m_tmp.path()) + "/prog/ZEK_E/");
  EXPECT_NE(appObjects().database, nullptr);  // made even without dictionary files
  TSettingsStore::global().writeString("SOFTWARE\\ZEK\\zek englisch", "Online-Hilfe", "AUS");
  EXPECT_TRUE(startupChecks({}));
  EXPECT_FALSE(appState().OnlineHelp);
}

TEST_F(Startup, RegisterCreatesDesktopEntries) {
  install();
  zek::ScriptedDialogs dialogs;
  dialogs.answer(mb::IdNo);
  EXPECT_TRUE(startupChecks({"register"}));
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].flags, 36);
  const auto menuEntry = m_tmp.path() / "share" / "applications" / "zek-englisch.desktop";
  ASSERT_TRUE(std::filesystem::exists(menuEntry));
  const auto text = zek::readFile(menuEntry);
  EXPECT_NE(text->find("Exec=\"" + zek::fromPath(m_tmp.path()) + "/prog/zek-englisch\""), std::string::npos);
  EXPECT_NE(text->find("Name=zek englisch"), std::string::npos);
}

TEST_F(Startup, ExitFromByePageAsksNothing) {
  zek::ScriptedDialogs dialogs;
  TMain main;
  main.setPageOnShow("Bye.htx");
  EXPECT_TRUE(Beenden(&main));
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(TSettingsStore::global().readString("SOFTWARE\\ZEK\\zek englisch", "Online-Hilfe"), "AN");

  main.setPageOnShow("main.htx");
  EXPECT_FALSE(Beenden(&main));  // unscripted question: No
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text, "Programm wirklich verlassen?");
  EXPECT_EQ(dialogs.messages()[0].flags, 36);
}

TEST_F(Startup, RecordingsStoreComesFromDatenbank3AndIsSavedAtExit) {
  install();
  // Without a store file the store starts empty and nothing is said.
  zek::ScriptedDialogs dialogs;
  ASSERT_TRUE(startupChecks({}));
  EXPECT_TRUE(dialogs.messages().empty());
  ASSERT_NE(appObjects().waveBase, nullptr);
  EXPECT_EQ(zek::speechStore(), appObjects().waveBase.get());
  EXPECT_EQ(appObjects().waveBase->count(), 0);

  m_tmp.write("prog/e_w.zek", TXWaveBase::writeCompressed({{"house", "XE:\\Woerter\\h\\house.wav"}}));
  const std::string mine = zek::fromPath(m_tmp.write("mine/meine.zek", TXWaveBase::writeCompressed({{"tree", "/t.wav"}})));
  TSettingsStore::global().writeString("SOFTWARE\\ZEK\\zek englisch\\Verzeichnisse", "Datenbank3", mine);
  ASSERT_TRUE(startupChecks({}));
  EXPECT_EQ(findRecording("tree"), "/t.wav");
  EXPECT_EQ(findRecording("house"), "");

  // A change is offered for saving once; saved elsewhere, the next start loads that file.
  appObjects().waveBase->registerRecording("garden", "/g.wav");
  const std::string elsewhere = zek::fromPath(m_tmp.path() / "elsewhere");
  std::filesystem::remove(mine);
  m_tmp.mkdir("mine/meine.zek");  // the old place cannot be written any more
  dialogs.answer(mb::IdYes);
  dialogs.answer(mb::IdYes);
  dialogs.answer(mb::IdYes);
  dialogs.chooseFile(elsewhere);
  TMain main;
  main.setPageOnShow("main.htx");
  EXPECT_TRUE(Beenden(&main));
  EXPECT_EQ(appObjects().waveBase, nullptr);
  EXPECT_EQ(zek::speechStore(), nullptr);
  ASSERT_EQ(dialogs.messages().size(), 4u);
  EXPECT_EQ(dialogs.messages()[3].text, "Die Datenbank f\xFCr die Sprachaufnahmen wurde erfolgreich gespeichert.");
  EXPECT_EQ(TSettingsStore::global().readString("SOFTWARE\\ZEK\\zek englisch\\Verzeichnisse", "Datenbank3"),
            elsewhere + ".zek");
  ASSERT_TRUE(startupChecks({}));
  EXPECT_EQ(findRecording("garden"), "/g.wav");
  EXPECT_EQ(findRecording("tree"), "/t.wav");
  appObjects().freeWaveBase();
}

// Exec is read as a string value first (backslash escapes), then split into arguments
// (quotes, with "\" before `"`, "`", "$" and "\"), and "%%" is a literal percent.
// GLib drops entries whose program name holds "%", so such a name goes through env.
TEST(DesktopEntry, ExecQuotesAndEscapesTheProgramName) {
  const struct {
    std::string program;
    std::optional<std::string> exec;
  } cases[] = {
      {"/opt/zek/zek-englisch", R"("/opt/zek/zek-englisch")"},
      {"/home/l/Übungen/日本/a b\"c%d$/zek-englisch", R"(env "/home/l/Übungen/日本/a b\\"c%%d\\$/zek-englisch")"},
      {"/x/back\\slash`tick/p", R"("/x/back\\\\slash\\`tick/p")"},
      {"/x/zwei\nZeilen\tund\rmehr/p", R"("/x/zwei\nZeilen\tund\rmehr/p")"},
      {"/x/'a'~#*?;&|<>()=[]/p", R"("/x/'a'~#*?;&|<>()=[]/p")"},  // reserved, but harmless inside quotes
      {"/x/\xFF/p", std::nullopt},                                // not UTF-8: no entry can name it
  };
  for (const auto& c : cases) EXPECT_EQ(desktopEntryExec(c.program), c.exec) << c.program;
  EXPECT_EQ(desktopEntryString(" a\\b c"), R"(\sa\\b c)");
}

TEST_F(Startup, RegisterNamesTheProgramAsTheFileSystemSpellsIt) {
  const std::string dir = "Übungen/日本/a b\"c%d$";
  m_tmp.write(dir + "/wave/ZEK_E", "");
  m_tmp.mkdir(dir + "/Vokabeln (E)/Grundwortschatz");
  m_tmp.write(dir + "/ZEK_E/hzek/main.htx", "x");
  TMachineProbe probe = machineProbe();
  probe.executable = m_tmp.path() / dir / "zek-englisch";
  setMachineProbe(probe);
  zek::ScriptedDialogs dialogs;
  dialogs.answer(mb::IdNo);
  ASSERT_TRUE(startupChecks({"register"}));
  const auto text = zek::readFile(m_tmp.path() / "share" / "applications" / "zek-englisch.desktop");
  ASSERT_TRUE(text);
  const std::string base = m_tmp.path().string();
  EXPECT_NE(text->find("\nExec=env \"" + base + R"(/Übungen/日本/a b\\"c%%d\\$/zek-englisch")" + "\n"), std::string::npos)
      << *text;
  EXPECT_NE(text->find("\nPath=" + base + "/Übungen/日本/a b\"c%d$\n"), std::string::npos) << *text;
  EXPECT_EQ(TSettingsStore::global().readPath("SOFTWARE\\ZEK\\zek englisch\\Verzeichnisse", "Programm"),
            probe.executable);
}

}  // namespace
