#include "platform/settingsstore.h"

#include "platform/codec.h"
#include "platform/files.h"

#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr const char* kKey = "SOFTWARE\\ZEK\\zek englisch\\Vokabeln";

TEST(SettingsStore, TypedValuesSurviveReload) {
  zek::test::TempDir dir;
  const auto file = dir.path() / "sub" / "settings.ini";
  {
    TSettingsStore store(file);
    EXPECT_TRUE(store.writeString(kKey, "Pfad", "C:\\Vokabeln\\\xE4rger\r\nzwei=%"));
    EXPECT_TRUE(store.writeInteger(kKey, "Modus", -3));
    EXPECT_TRUE(store.writeInteger(kKey, "Farbe", static_cast<int>(0x808080u)));
    EXPECT_TRUE(store.writeBool(kKey, "An", true));
  }
  TSettingsStore store(file);
  EXPECT_EQ(store.readString(kKey, "Pfad"), "C:\\Vokabeln\\\xE4rger\r\nzwei=%");
  EXPECT_EQ(store.readInteger(kKey, "Modus"), -3);
  EXPECT_EQ(store.readInteger(kKey, "Farbe"), 8421504);
  EXPECT_EQ(store.readBool(kKey, "An"), true);
}

TEST(SettingsStore, NamesIgnoreCaseAndSeparators) {
  zek::test::TempDir dir;
  TSettingsStore store(dir.path() / "s.ini");
  store.writeInteger("SOFTWARE\\ZEK\\zek englisch\\", "Hintergrund", 5);
  EXPECT_EQ(store.readInteger("software/zek/ZEK ENGLISCH", "HINTERGRUND"), 5);
  EXPECT_TRUE(store.keyExists("Software\\Zek"));  // parents of a written key exist
  EXPECT_FALSE(store.keyExists("Software\\Zek\\zek englisch\\Verzeichnisse"));
  EXPECT_FALSE(store.keyExists("Software\\Ze"));
  store.writeString("SOFTWARE\\ZEK\\zek englisch", "hintergrund", "x");
  EXPECT_EQ(store.valueNames("SOFTWARE\\ZEK\\zek englisch").size(), 1u);
}

TEST(SettingsStore, WrongTypeOrMissingValueReadsAsNothing) {
  zek::test::TempDir dir;
  TSettingsStore store(dir.path() / "s.ini");
  store.writeString(kKey, "Text", "12");
  store.writeInteger(kKey, "Zahl", 2);
  EXPECT_FALSE(store.readInteger(kKey, "Text").has_value());
  EXPECT_FALSE(store.readString(kKey, "Zahl").has_value());
  EXPECT_EQ(store.readBool(kKey, "Zahl"), true);
  EXPECT_FALSE(store.readString(kKey, "Fehlt").has_value());
  EXPECT_FALSE(store.readString("SOFTWARE\\Nirgends", "Text").has_value());
}

TEST(SettingsStore, DamagedLinesAreSkipped) {
  zek::test::TempDir dir;
  const auto file = dir.write("s.ini",
                              "garbage before a section\n[K]\na=int:12x\nb=int:7\nc\n=str:x\nd=float:1\n"
                              "e=str:ok\r\n[broken\nf=str:lost\n");
  TSettingsStore store(file);
  EXPECT_FALSE(store.readInteger("K", "a").has_value());
  EXPECT_EQ(store.readInteger("K", "b"), 7);
  EXPECT_FALSE(store.readString("K", "d").has_value());
  EXPECT_EQ(store.readString("K", "e"), "ok");
  EXPECT_FALSE(store.readString("K", "f").has_value());
}

TEST(SettingsStore, FailedWriteKeepsTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
  zek::test::TempDir dir;
  const auto sub = dir.mkdir("ro");
  TSettingsStore store(sub / "s.ini");
  ASSERT_TRUE(store.writeInteger("K", "a", 1));
  chmod(sub.c_str(), 0555);
  EXPECT_FALSE(store.writeInteger("K", "a", 2));
  chmod(sub.c_str(), 0755);
  TSettingsStore reread(sub / "s.ini");
  EXPECT_EQ(reread.readInteger("K", "a"), 1);
}

TEST(SettingsStore, WriteFailsWhenTheFileCannotBeCreated) {
  zek::test::TempDir dir;
  dir.write("file", "x");
  TSettingsStore store(dir.path() / "file" / "s.ini");  // parent is a file
  EXPECT_FALSE(store.writeInteger("K", "a", 1));
}

}  // namespace

TEST(SettingsStore, FileLocationInOrderOfPrecedence) {
  const zek::test::TEnvironment env{"ZEK_SETTINGS", "XDG_CONFIG_HOME", "HOME"};
  const struct {
    const char* zek;
    const char* xdg;
    const char* home;
    std::filesystem::path expected;
  } cases[] = {
      {"/a/s.ini", "/x", "/h", "/a/s.ini"},
      {"", "/x", "/h", "/x/zek-englisch/settings.ini"},
      {nullptr, "", "/h", "/h/.config/zek-englisch/settings.ini"},
      {nullptr, nullptr, nullptr, std::filesystem::temp_directory_path() / "zek-englisch" / "settings.ini"},
  };
  for (const auto& c : cases) {
    zek::test::TEnvironment::set("ZEK_SETTINGS", c.zek);
    zek::test::TEnvironment::set("XDG_CONFIG_HOME", c.xdg);
    zek::test::TEnvironment::set("HOME", c.home);
    EXPECT_EQ(TSettingsStore::defaultFile(), c.expected) << c.expected;
  }
}

// The program's own path may hold any character the file system allows; it is kept as the
// file system spells it, and the Windows-1252 view of it shows "?" where a code is missing.
TEST(SettingsStore, PathsKeepCharactersOutsideWindows1252) {
  zek::test::TempDir dir;
  const auto file = dir.path() / "s.ini";
  const struct {
    std::string native;
    std::string cp1252;
  } cases[] = {
      {"/home/l/\xC3\x9C" "bungen/\xE6\x97\xA5\xE6\x9C\xAC/a b\"c%d$/zek-englisch",
       "/home/l/\xDC" "bungen/?\?/a b\"c%d$/zek-englisch"},
      {"/opt/zwei\nZeilen\t=[;]/x", "/opt/zwei\nZeilen\t=[;]/x"},
      {"/mnt/\xFF\xE4kaputt/%41", "/mnt/?\?kaputt/%41"},  // not UTF-8: bytes kept as they are
  };
  {
    TSettingsStore store(file);
    for (size_t i = 0; i < std::size(cases); ++i) {
      ASSERT_TRUE(store.writePath(kKey, "P" + std::to_string(i), std::filesystem::path(cases[i].native)));
    }
  }
  const auto text = zek::readFile(file);
  ASSERT_TRUE(text);
  EXPECT_TRUE(zek::isUtf8(*text));
  EXPECT_NE(text->find("P0=path:/home/l/\xC3\x9C" "bungen/\xE6\x97\xA5\xE6\x9C\xAC/a b\"c%25d$/zek-englisch\n"),
            std::string::npos);
  TSettingsStore store(file);
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::string name = "P" + std::to_string(i);
    EXPECT_EQ(store.readPath(kKey, name), std::filesystem::path(cases[i].native)) << name;
    EXPECT_EQ(store.readString(kKey, name), cases[i].cp1252) << name;
  }
}

// Files written before paths had their own kind hold them as texts; they read as paths.
TEST(SettingsStore, StoredTextReadsAsPath) {
  zek::test::TempDir dir;
  const auto file = dir.write("s.ini", "[K]\nProgramm=str:/opt/\xC3\xA4rger/zek-englisch\nZahl=int:3\n");
  TSettingsStore store(file);
  EXPECT_EQ(store.readPath("K", "Programm"), std::filesystem::path("/opt/\xC3\xA4rger/zek-englisch"));
  EXPECT_FALSE(store.readPath("K", "Zahl").has_value());
  EXPECT_FALSE(store.readPath("K", "Fehlt").has_value());
}
