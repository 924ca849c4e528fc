// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"
#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string tool(const std::string& args) { return zek::test::runCommand(zek::test::zekToolCommand(args) + " 2>&1").output; }

TEST(ZekTool, ImportAndExportVocabulary) {
  zek::test::TempDir tmp("zek-tool-austausch");
  const std::string ein = (tmp.path() / "ein.csv").string(), asc = (tmp.path() / "aus.asc").string(),
                    kv = (tmp.path() / "aus.kvtml").string(), wieder = (tmp.path() / "wieder.asc").string();
  ASSERT_TRUE(zek::writeFileAtomic(ein, "Haus;house\n\"Tee\";\"\xE8\x8C\xB6\"\nKatze;cat\n"));
  EXPECT_EQ(tool("import '" + ein + "' -o '" + asc + "' --direction de-en"),
            "entries: 2, skipped: 1\n" + ein + ":2: enth\xC3\xA4lt ein Zeichen ohne Windows-1252-Code (U+8336), "
            "Eintrag nicht \xC3\xBC" "bernommen\n");
  EXPECT_EQ(tool("export '" + asc + "' -o '" + kv + "'"), "entries: 2, skipped: 0\n");
  EXPECT_EQ(tool("import '" + kv + "' -o '" + wieder + "'"), "entries: 2, skipped: 0\n");
  EXPECT_EQ(zek::readFile(wieder), zek::readFile(asc));
  const auto daten = zek::readFile(asc);
  ASSERT_TRUE(daten);
  EXPECT_EQ(daten->substr(0, 12), "Haus\r\nhouse\r");

  // Entries that lose control characters are named.
  const std::string steuer = (tmp.path() / "steuer.asc").string();
  ASSERT_TRUE(zek::writeFileAtomic(steuer, "bell\r\nGlocke\r\n\r\nThe [*] goes ding\x07" "dong.\r\n-1\r\n\r\n0\r\n0\r\n0\r\n0\r\n"));
  const std::string aus = tool("export '" + steuer + "' -o '" + kv + "'");
  EXPECT_NE(aus.find(": note: Eintrag 1: Steuerzeichen in einem Feld entfernt\n"), std::string::npos) << aus;

  // A refused file writes nothing.
  ASSERT_TRUE(zek::writeFileAtomic(kv, "<kvtml version=\"2.0\"><entries>"));
  const std::string nichts = (tmp.path() / "nichts.asc").string();
  EXPECT_NE(tool("import '" + kv + "' -o '" + nichts + "'").find("besch\xC3\xA4" "digt"), std::string::npos);
  EXPECT_FALSE(zek::readFile(nichts));
  EXPECT_NE(tool("import '" + ein + "'").find("usage"), std::string::npos);
}

}  // namespace
