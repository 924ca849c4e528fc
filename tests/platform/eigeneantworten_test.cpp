// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/eigeneantworten.h"
#include "platform/files.h"
#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using Liste = std::vector<std::string>;

TEST(EigeneAntworten, KeptPerTrainerAndKeyAcrossReading) {
  zek::test::TempDir dir("zek-eigene");
  const auto file = dir.path() / "share" / "zek-englisch" / "eigene-antworten.txt";
  {
    TEigeneAntworten a(file);  // the folder does not exist yet
    EXPECT_TRUE(a.alle().empty());
    EXPECT_TRUE(a.hinzufuegen("lab", "0407", "I've a fever."));
    EXPECT_TRUE(a.hinzufuegen("lab", "0407", "I've a fever."));  // once only
    EXPECT_TRUE(a.hinzufuegen("lab", "0407", "Fieber\xE4"));      // Windows-1252 in memory
    EXPECT_TRUE(a.hinzufuegen("vokabel", "0407", "other trainer"));
  }
  TEigeneAntworten b(file);
  EXPECT_EQ(b.antworten("lab", "0407"), (Liste{"I've a fever.", "Fieber\xE4"}));
  EXPECT_EQ(b.antworten("vokabel", "0407"), Liste{"other trainer"});
  EXPECT_TRUE(b.antworten("lab", "0408").empty());
  // UTF-8 in the file, one answer a line.
  EXPECT_NE(zek::readFile(file)->find("lab\t0407\tFieber\xC3\xA4\n"), std::string::npos);

  EXPECT_TRUE(b.entfernen("lab", "0407", "I've a fever."));
  EXPECT_TRUE(b.entfernen("lab", "0407", "never there"));
  EXPECT_EQ(TEigeneAntworten(file).antworten("lab", "0407"), Liste{"Fieber\xE4"});
}

TEST(EigeneAntworten, DamagedLinesAndBadAnswers) {
  zek::test::TempDir dir("zek-eigene");
  const auto file = dir.write("a.txt", "lab\t0001\tHello.\r\nkaputt\n\t\t\nlab\t0002\nlab\t0003\tHi.");
  TEigeneAntworten a(file);
  ASSERT_EQ(a.alle().size(), 2u);  // the damaged lines are skipped, the rest is usable
  EXPECT_EQ(a.antworten("lab", "0001"), Liste{"Hello."});
  // Nothing that would break the file's lines, and no empty answer.
  EXPECT_FALSE(a.hinzufuegen("lab", "0001", ""));
  EXPECT_FALSE(a.hinzufuegen("lab", "0001", "two\nlines"));
  EXPECT_FALSE(a.hinzufuegen("lab", "00\t01", "x"));
}

TEST(EigeneAntworten, AFileThatCannotBeWrittenLosesNothing) {
  zek::test::TempDir dir("zek-eigene");
  dir.write("blocked", "a file where the folder should be");
  TEigeneAntworten a(dir.path() / "blocked" / "eigene-antworten.txt");
  EXPECT_FALSE(a.hinzufuegen("lab", "0001", "Hello."));
  EXPECT_TRUE(a.alle().empty());  // not kept as if it had been saved
}

TEST(EigeneAntworten, TheLearnersFolder) {
  const char* old = std::getenv("ZEK_ANSWERS");
  const std::string saved = old ? old : "";
  const char* oldXdg = std::getenv("XDG_DATA_HOME");
  const std::string savedXdg = oldXdg ? oldXdg : "";
  unsetenv("ZEK_ANSWERS");
  setenv("XDG_DATA_HOME", "/tmp/zek-daten", 1);
  EXPECT_EQ(TEigeneAntworten::defaultFile(), std::filesystem::path("/tmp/zek-daten/zek-englisch/eigene-antworten.txt"));
  setenv("ZEK_ANSWERS", "/tmp/x.txt", 1);
  EXPECT_EQ(TEigeneAntworten::defaultFile(), std::filesystem::path("/tmp/x.txt"));
  if (old) setenv("ZEK_ANSWERS", saved.c_str(), 1);
  else unsetenv("ZEK_ANSWERS");
  if (oldXdg) setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
  else unsetenv("XDG_DATA_HOME");
}

}  // namespace
