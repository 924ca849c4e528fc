// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"
#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

int runSetup(const fs::path& dist) {
  const fs::path script = zek::test::sourceDir() / "tools/setup.d/lab-sounds.sh";
  const std::string cmd = "ZEK_DIST='" + dist.string() + "' ZEK_TOOL='" + (zek::test::distDir() / "zek-tool").string() +
                          "' ZEK_LAB_SOUNDS_LIMIT=3 bash '" + script.string() + "' >/dev/null";
  return std::system(cmd.c_str());
}

// The set-up speaks only what is missing or changed; three sentences keep this quick.
TEST(LabSounds, SetUpSpeaksMissingAndChangedSentences) {
  if (std::system("command -v espeak-ng >/dev/null 2>&1") != 0) GTEST_SKIP() << "espeak-ng is not installed";
  zek::test::TempDir dist("zek-labsounds");
  ASSERT_EQ(runSetup(dist.path()), 0);
  const fs::path labor = dist.path() / "wave/Labor";
  for (const char* name : {"0/lab_0000.wav", "0/lab_0001.wav", "0/lab_0002.wav"}) {
    const auto data = zek::readFile(labor / name);
    ASSERT_TRUE(data) << name;
    EXPECT_EQ(data->substr(0, 4), "OggS");  // compressed under the name the lesson table holds
    EXPECT_GT(data->size(), 5000u);  // a spoken sentence, not an empty header
  }
  EXPECT_FALSE(fs::exists(labor / "0/lab_0003.wav"));

  // A second run leaves the files alone; a changed checksum or a lost file is made again.
  const auto stamp = fs::last_write_time(labor / "0/lab_0001.wav");
  const fs::path manifest = labor / "manifest.txt";
  auto text = zek::readFile(manifest);
  ASSERT_TRUE(text);
  const size_t line = text->find("0/lab_0000.wav\t");
  ASSERT_NE(line, std::string::npos);
  text->replace(line + 15, 8, "00000000");
  ASSERT_TRUE(zek::writeFileAtomic(manifest, *text));
  fs::remove(labor / "0/lab_0002.wav");
  const auto before = fs::last_write_time(labor / "0/lab_0000.wav");
  ASSERT_EQ(runSetup(dist.path()), 0);
  EXPECT_EQ(fs::last_write_time(labor / "0/lab_0001.wav"), stamp);
  EXPECT_TRUE(fs::exists(labor / "0/lab_0002.wav"));
  EXPECT_NE(fs::last_write_time(labor / "0/lab_0000.wav"), before);
  const auto after = zek::readFile(manifest);
  EXPECT_EQ(after->find("00000000"), std::string::npos);
}

}  // namespace
