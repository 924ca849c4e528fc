#include "platform/settingsstore.h"

#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
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

namespace {

// Sets or unsets environment variables for one test and puts them back afterwards.
class TEnvironment {
 public:
  explicit TEnvironment(std::initializer_list<const char*> names) {
    for (const char* n : names) {
      const char* v = std::getenv(n);
      m_saved.emplace_back(n, v ? std::optional<std::string>(v) : std::nullopt);
    }
  }
  ~TEnvironment() {
    for (const auto& [n, v] : m_saved) {
      if (v) ::setenv(n.c_str(), v->c_str(), 1);
      else ::unsetenv(n.c_str());
    }
  }
  static void set(const char* name, const char* value) {
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

}  // namespace

TEST(SettingsStore, FileLocationInOrderOfPrecedence) {
  const TEnvironment env{"ZEK_SETTINGS", "XDG_CONFIG_HOME", "HOME"};
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
    TEnvironment::set("ZEK_SETTINGS", c.zek);
    TEnvironment::set("XDG_CONFIG_HOME", c.xdg);
    TEnvironment::set("HOME", c.home);
    EXPECT_EQ(TSettingsStore::defaultFile(), c.expected) << c.expected;
  }
}
