#include "platform/files.h"

#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <sys/wait.h>
#include <vector>
#include <unistd.h>

namespace {

TEST(Files, NamesMapSeparatorsAndCase) {
  zek::test::TempDir dir;
  dir.write("Vokabeln (E)/Grundwortschatz/Familie.ASC", "x");
  const std::string base = zek::fromPath(dir.path());
  EXPECT_TRUE(zek::fileExists(base + "\\vokabeln (e)\\GRUNDWORTSCHATZ\\familie.asc"));
  EXPECT_TRUE(zek::directoryExists(base + "/Vokabeln (E)/grundwortschatz/"));
  EXPECT_FALSE(zek::fileExists(base + "/Vokabeln (E)/grundwortschatz"));
  EXPECT_FALSE(zek::fileExists(base + "/nichts/familie.asc"));
  EXPECT_EQ(zek::resolveName(base + "/VOKABELN (E)/grundwortschatz/familie.asc"),
            dir.path() / "Vokabeln (E)/Grundwortschatz/Familie.ASC");
  // Names that do not exist stay as written, so they can be created.
  EXPECT_EQ(zek::resolveName(base + "/Vokabeln (E)/Neu.asc"), dir.path() / "Vokabeln (E)/Neu.asc");
}

TEST(Files, NameParts) {
  EXPECT_EQ(zek::withTrailingSeparator("C:\\zek"), "C:/zek/");
  EXPECT_EQ(zek::withTrailingSeparator("/a/"), "/a/");
  EXPECT_EQ(zek::withTrailingSeparator(""), "");
  EXPECT_EQ(zek::directoryPart("a\\b/c.txt"), "a/b/");
  EXPECT_EQ(zek::directoryPart("c.txt"), "");
  EXPECT_EQ(zek::fileNamePart("a\\b/c.txt"), "c.txt");
  EXPECT_EQ(zek::extensionLower("a.b/Bild.JPG"), ".jpg");
  EXPECT_EQ(zek::extensionLower("a.b/Bild"), "");
}

TEST(Files, AtomicWriteReplacesWholeFile) {
  zek::test::TempDir dir;
  const auto p = dir.path() / "x" / "y.bin";
  ASSERT_TRUE(zek::writeFileAtomic(p, std::string(100000, 'a')));
  ASSERT_TRUE(zek::writeFileAtomic(p, "short"));
  EXPECT_EQ(zek::readFile(p), "short");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(p.parent_path()), {}), 1);
}

// A process that has ended, for a PID nobody uses now.
pid_t endedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

TEST(Files, TheNextSaveRemovesTemporaryFilesOfEndedWriters) {
  zek::test::TempDir dir;
  const std::string gone = std::to_string(endedProcess());
  const std::string self = std::to_string(::getpid());
  const std::vector<std::string> names = {"a.asc.tmp" + gone + "_12345", "b.zek.tmp" + gone + "_7",
                                         "a.asc.tmp" + self + "_1", "a.asc.tmp1_2", "notes.tmp",
                                         "x.tmp" + gone + "_", "x.tmp" + gone + "_1a"};
  for (const std::string& name : names)
    dir.write(name, "left over");
  ASSERT_TRUE(zek::writeFileAtomic(dir.path() / "a.asc", "new"));
  std::set<std::string> left;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) left.insert(e.path().filename().string());
  // Init and this process still run; names not of our pattern are not ours.
  EXPECT_EQ(left, (std::set<std::string>{"a.asc", "a.asc.tmp" + self + "_1", "a.asc.tmp1_2", "notes.tmp",
                                         "x.tmp" + gone + "_", "x.tmp" + gone + "_1a"}));
}

// Saves killed at random moments never leave a broken target, and the next save leaves
// no temporary file behind.
TEST(Files, SavesKilledHalfWayLeaveNothingAfterTheNextSave) {
  zek::test::TempDir dir;
  const auto target = dir.path() / "big.asc";
  const std::string oldData(4u << 20, 'o'), newData(6u << 20, 'n');
  ASSERT_TRUE(zek::writeFileAtomic(target, oldData));
  std::mt19937 random(7);
  int killedWhileWriting = 0;
  for (int run = 0; run < 12; ++run) {
    const pid_t child = ::fork();
    if (child == 0) {
      for (;;) zek::writeFileAtomic(target, newData);
    }
    ::usleep(std::uniform_int_distribution<useconds_t>(0, 60000)(random));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
      if (e.path() != target) ++killedWhileWriting;
    const auto size = std::filesystem::file_size(target);
    EXPECT_TRUE(size == oldData.size() || size == newData.size()) << size;
  }
  ASSERT_TRUE(zek::writeFileAtomic(target, oldData));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  EXPECT_EQ(zek::readFile(target), oldData);
  // The child does nothing but save, so most kills land inside a write and leave its file.
  EXPECT_GT(killedWhileWriting, 0);
  RecordProperty("killedWhileWriting", killedWhileWriting);
}

TEST(Files, InflateIsBoundedAndRejectsBrokenStreams) {
  const std::string big(1 << 20, 'z');
  const std::string packed = zek::deflateZlib(big);
  EXPECT_EQ(zek::inflateZlib(packed), big);
  EXPECT_FALSE(zek::inflateZlib(packed, 1000).has_value());
  EXPECT_FALSE(zek::inflateZlib(packed.substr(0, packed.size() / 2)).has_value());
  EXPECT_FALSE(zek::inflateZlib("not a zlib stream").has_value());
  EXPECT_FALSE(zek::inflateZlib("").has_value());
  EXPECT_EQ(zek::inflateZlib(zek::deflateZlib("")), "");
}

TEST(Files, InflateTellsTooLargeFromBroken) {
  const std::string packed = zek::deflateZlib(std::string(100000, 'z'));
  const std::string cut = packed.substr(0, packed.size() - 8);
  struct Case {
    std::string_view bytes;
    std::size_t limit;
    zek::TInflateStatus status;
  } cases[] = {
      {packed, 100000, zek::TInflateStatus::Ok},
      {packed, 99999, zek::TInflateStatus::TooLarge},
      {cut, 1000, zek::TInflateStatus::TooLarge},  // the bound is reached before the break
      {cut, 200000, zek::TInflateStatus::Broken},
      {"not a zlib stream", 1000, zek::TInflateStatus::Broken},
  };
  for (const Case& c : cases) {
    std::string out = "old";
    EXPECT_EQ(zek::inflateZlibInto(c.bytes, c.limit, out), c.status) << c.limit;
    EXPECT_EQ(out.size(), c.status == zek::TInflateStatus::Ok ? 100000u : 0u);
  }
}

TEST(Files, TheLearnersFolders) {
  const zek::test::TEnvironment env{"XDG_DATA_HOME", "XDG_CONFIG_HOME", "HOME"};
  const std::filesystem::path tmp = std::filesystem::temp_directory_path();
  const struct {
    const char* xdgData;
    const char* xdgConfig;
    const char* home;
    std::filesystem::path data, config;
  } cases[] = {
      {"/d", "/c", "/h", "/d/zek-englisch", "/c/zek-englisch"},
      {"", nullptr, "/h", "/h/.local/share/zek-englisch", "/h/.config/zek-englisch"},
      {nullptr, "/c", "", tmp / "zek-englisch", "/c/zek-englisch"},
      {nullptr, nullptr, nullptr, tmp / "zek-englisch", tmp / "zek-englisch"},
  };
  for (const auto& c : cases) {
    zek::test::TEnvironment::set("XDG_DATA_HOME", c.xdgData);
    zek::test::TEnvironment::set("XDG_CONFIG_HOME", c.xdgConfig);
    zek::test::TEnvironment::set("HOME", c.home);
    EXPECT_EQ(zek::learnerDataDir(), c.data) << c.data;
    EXPECT_EQ(zek::learnerConfigDir(), c.config) << c.config;
  }
}

TEST(Files, AnEmptyOverrideCountsAsUnset) {
  const zek::test::TEnvironment env{"ZEK_FILES_TEST"};
  zek::test::TEnvironment::set("ZEK_FILES_TEST", nullptr);
  EXPECT_EQ(zek::pathFromEnv("ZEK_FILES_TEST", "/fallback"), "/fallback");
  zek::test::TEnvironment::set("ZEK_FILES_TEST", "");
  EXPECT_EQ(zek::pathFromEnv("ZEK_FILES_TEST", "/fallback"), "/fallback");
  zek::test::TEnvironment::set("ZEK_FILES_TEST", "/set");
  EXPECT_EQ(zek::pathFromEnv("ZEK_FILES_TEST", "/fallback"), "/set");
}

}  // namespace
