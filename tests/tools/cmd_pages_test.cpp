// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/pagefile.h"
#include "page/tzipresource.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

int tool(const std::string& args) {
  return std::system((zek::test::zekToolCommand(args) + " 2>/dev/null").c_str());
}

std::string quoted(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

TEST(ZekTool, PackAndUnpackRoundTrip) {
  zek::test::TempDir dir;
  const std::string text = "<title>Gr\xFC\xDF" "e</title>\r\n<p>Hallo";  // Windows-1252, no final CR
  const auto src = dir.write("seite.txt", text);
  ASSERT_EQ(tool("pack " + quoted(src) + " " + quoted(dir.path() / "seite.htx")), 0);
  const TPageFile page = readPageFile(dir.path() / "seite.htx");
  ASSERT_TRUE(page.ok());
  EXPECT_EQ(page.text, text + std::string("\r\0", 2));

  ASSERT_EQ(tool("unpack " + quoted(dir.path() / "seite.htx") + " " + quoted(dir.path() / "out.txt")), 0);
  EXPECT_EQ(zek::readFile(dir.path() / "out.txt"), text + "\r");  // the reader's CR, not its terminator

  dir.write("kaputt.htx", "not a zlib stream");
  EXPECT_NE(tool("unpack " + quoted(dir.path() / "kaputt.htx") + " " + quoted(dir.path() / "x.txt")), 0);
  EXPECT_FALSE(zek::fileExists(zek::fromPath(dir.path() / "x.txt")));
  EXPECT_NE(tool("pack " + quoted(dir.path() / "fehlt.txt") + " " + quoted(dir.path() / "y.htx")), 0);
}

TEST(ZekTool, BlockPrintsOneItemALine) {
  zek::test::TempDir dir;
  const auto out = dir.path() / "block2.txt";
  ASSERT_EQ(tool("block 2 > " + quoted(out)), 0);
  // The same items as the block reader gives the program, one a line, in UTF-8.
  TZIPResource block(2);
  std::string expected;
  while (!block.endReached()) expected += zek::cp1252ToUtf8(block.readLine()) + "\n";
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(zek::readFile(out).value_or(""), expected);
  EXPECT_NE(tool("block 99"), 0);
  EXPECT_NE(tool("block zwei"), 0);
}

}  // namespace
