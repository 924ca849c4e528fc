// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/common/testutil.h"

#include "platform/settingsstore.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

// One QApplication for the whole test run, on the offscreen platform, with a settings
// file and data folder of its own so that no test touches the learner's files.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("ZEK_AUDIO", "null", 0);
    m_dir = zek::test::makeTempDir("zek-test-settings");
    const auto file = m_dir / "settings.ini";
    setenv("ZEK_SETTINGS", file.c_str(), 1);
    setenv("ZEK_ANSWERS", (m_dir / "eigene-antworten.txt").c_str(), 1);  // nor his own answers
    // Words spoken at run time land in the data folder: a test's own too.
    setenv("XDG_DATA_HOME", (m_dir / "share").c_str(), 1);
    TSettingsStore::setGlobalFile(file);
    static int argc = 1;
    static char name[] = "zek-test";
    static char* argv[] = {name, nullptr};
    m_app = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override {
    m_app.reset();
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
  }

 private:
  std::unique_ptr<QApplication> m_app;
  std::filesystem::path m_dir;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new QtEnvironment);
  return RUN_ALL_TESTS();
}
