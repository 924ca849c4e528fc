// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/codec.h"

#include <gtest/gtest.h>

namespace {

TEST(Codec, HighBytesMapAsWindowsDoes) {
  struct Case { unsigned char byte; char32_t cp; };
  const Case cases[] = {{128, 0x20AC}, {140, 0x0152}, {156, 0x0153}, {0x8A, 0x0160}, {0x9F, 0x0178},
                        {0x85, 0x2026}, {0x96, 0x2013}, {0x93, 0x201C}, {0x81, 0x0081}, {0xE4, 0x00E4}};
  for (const auto& c : cases) {
    EXPECT_EQ(zek::cp1252ToUnicode(c.byte), c.cp) << int(c.byte);
    ASSERT_TRUE(zek::unicodeToCp1252(c.cp).has_value());
    EXPECT_EQ(*zek::unicodeToCp1252(c.cp), c.byte);
  }
}

TEST(Codec, EveryByteRoundTripsThroughUtf8AndQString) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(zek::utf8ToCp1252(zek::cp1252ToUtf8(all)), all);
  EXPECT_EQ(zek::fromQString(zek::toQString(all)), all);
}

TEST(Codec, CharactersWithoutCodeAreRefusedOrReplaced) {
  EXPECT_FALSE(zek::unicodeToCp1252(0x0100).has_value());
  EXPECT_FALSE(zek::fromQStringStrict(QString::fromUtf8("Łódź")).has_value());
  EXPECT_EQ(zek::fromQString(QString::fromUtf8("aŁb")), "a?b");
  EXPECT_EQ(zek::utf8ToCp1252("\xC3"), "?");  // truncated sequence
  EXPECT_EQ(*zek::utf8ToCp1252Strict("Stra\xC3\x9F" "e \xE2\x82\xAC"), "Stra\xDF" "e \x80");
}

TEST(Codec, CaseMappingCoversLatinLetters) {
  EXPECT_EQ(zek::upperCase("\xE4\xF6\xFC\x9C\xDF abc"), "\xC4\xD6\xDC\x8C\xDF ABC");
  EXPECT_EQ(zek::lowerCase("\xC4\xD6\xDC\x8C\x9F"), "\xE4\xF6\xFC\x9C\xFF");
  EXPECT_TRUE(zek::equalsNoCase("Bild.JPG", "bild.jpg"));
  EXPECT_FALSE(zek::equalsNoCase("a", "ab"));
  // × and ÷ are not letters.
  EXPECT_EQ(zek::upperCp1252(0xF7), 0xF7);
  EXPECT_EQ(zek::lowerCp1252(0xD7), 0xD7);
}

}  // namespace
