// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/htxscanner.h"

#include <gtest/gtest.h>

namespace {

TEST(Scanner, Integers) {
  const struct {
    const char* text;
    int expected;
  } rows[] = {{"8", 8},  {"\"7\"", 7}, {" 5 ", 5},   {"+3", 3},     {"-3", -3}, {"x", 99},
              {"", 99},    {"5%", 99},   {"-", 99},    {"1e3", 99},   {"-50", -10}, {"99999999999999999999999", 10}};
  for (const auto& r : rows) EXPECT_EQ(THtxScanner::parseInt(r.text, -10, 10, 99), r.expected) << r.text;
}

TEST(Scanner, AttributesAndValues) {
  THtxScanner sc(R"( Href = "a b.htx"  FLASH=#ff0000 coords="1, 2" top Lsg="x; y" raw="half)");
  EXPECT_EQ(sc.expectOneOf({"SRC", "HREF"}), 1);
  EXPECT_EQ(sc.readValue(), "a b.htx");  // as written, blanks kept
  EXPECT_EQ(sc.expectOneOf({"SRC"}), -1);  // nothing consumed
  EXPECT_EQ(sc.expectOneOf({"FLASH"}), 0);
  EXPECT_EQ(sc.readValue(), "#ff0000");
  EXPECT_EQ(sc.expectOneOf({"COORDS"}), 0);
  EXPECT_EQ(sc.readValue(), "1, 2");
  EXPECT_EQ(sc.expectOneOf({"TOP"}), 0);
  EXPECT_EQ(sc.readName(), "Lsg");
  EXPECT_EQ(THtxScanner::split(sc.readValue(), "; "), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(sc.readName(), "raw");
  EXPECT_EQ(sc.readValue(), "half");  // an unclosed quote runs to the end
  EXPECT_TRUE(sc.atEnd());
}

TEST(Scanner, SeekFindsWholeAttributeNames) {
  THtxScanner sc(R"(href="flashy.htx" returns=1 flash=rot return)");
  ASSERT_TRUE(sc.seek("FLASH"));
  EXPECT_EQ(sc.readValue(), "rot");
  sc.setPosition(0);
  EXPECT_TRUE(sc.seek("RETURN"));
  EXPECT_TRUE(sc.atEnd());
  THtxScanner none(R"(href="return.htx")");
  EXPECT_FALSE(none.seek("RETURN"));
}

}  // namespace
