#include "platform/settingsstore.h"

#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

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
