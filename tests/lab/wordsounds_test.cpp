// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/txwavebase.h"
#include "platform/files.h"
#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

std::string tool() { return (zek::test::distDir() / "zek-tool").string(); }

int runSetup(const fs::path& dist) {
  const fs::path script = zek::test::sourceDir() / "tools/setup.d/word-sounds.sh";
  const std::string cmd = "ZEK_DIST='" + dist.string() + "' ZEK_TOOL='" + tool() + "' ZEK_WORD_SOUNDS_LIMIT=3 bash '" +
                          script.string() + "' >/dev/null";
  return std::system(cmd.c_str());
}

std::string store(const fs::path& dist) { return zek::fromPath(dist / "ZEK_E/e_w.zek"); }

// Three words keep this quick; ./zek run speaks them all.
TEST(WordSounds, SetUpSpeaksWordsIntoTheStoreAndKeepsTheLearnersEntries) {
  if (std::system("command -v espeak-ng >/dev/null 2>&1") != 0) GTEST_SKIP() << "espeak-ng is not installed";
  zek::test::TempDir dist("zek-wordsounds");
  fs::create_directory_symlink(zek::test::distDir() / "Vokabeln (E)", dist.path() / "Vokabeln (E)");
  const std::string own = zek::fromPath(dist.write("mine/tree.wav", "RIFF"));
  {
    TXWaveBase mine;
    mine.append("my tree", own);
    mine.append("old", "XE:\\Woerter\\o\\old_gone.wav");  // made by an earlier set-up: replaced
    ASSERT_TRUE(mine.saveStore(store(dist.path())));
  }
  ASSERT_EQ(runSetup(dist.path()), 0);

  TXWaveBase made;
  made.loadStore(store(dist.path()));
  ASSERT_EQ(made.count(), 4);
  EXPECT_EQ(made.findRecording("my tree"), own);
  EXPECT_EQ(made.findRecording("old"), "");
  std::vector<std::string> spoken;
  fs::path sample;
  for (const TWaveEntry& e : made.entries()) {
    if (e.file.rfind("XE:\\Woerter\\", 0) != 0) continue;
    spoken.push_back(e.word);
    const fs::path wav = dist.path() / "wave" / zek::forwardSlashes(e.file.substr(4));
    sample = wav;
    const auto data = zek::readFile(wav);
    ASSERT_TRUE(data) << wav;
    EXPECT_EQ(data->substr(0, 4), "OggS");  // compressed under the name the store holds
    EXPECT_GT(data->size(), 2000u);  // a spoken word, not an empty header
  }
  ASSERT_EQ(spoken.size(), 3u);
  const std::string words = spoken[0] + " " + spoken[1] + " " + spoken[2];
  const std::string cmd = tool() + " wavebase-info '" + store(dist.path()) + "' '" + spoken[0] + "' '" + spoken[1] +
                          "' '" + spoken[2] + "' >/dev/null";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << words;
  EXPECT_NE(std::system((tool() + " wavebase-info '" + store(dist.path()) + "' xyzzy >/dev/null").c_str()), 0);

  // A second run speaks nothing again.
  const auto stamp = fs::last_write_time(sample);
  ASSERT_EQ(runSetup(dist.path()), 0);
  EXPECT_EQ(fs::last_write_time(sample), stamp);
  TXWaveBase again;
  again.loadStore(store(dist.path()));
  EXPECT_EQ(again.entries(), made.entries());
}

}  // namespace
