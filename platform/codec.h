// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

// Windows-1252 is the text of every file the system reads and writes; inside the
// program a text is a std::string of those bytes, one byte per character.
namespace zek {

// Unicode code point of a Windows-1252 byte. The five bytes that Windows leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value.
char32_t cp1252ToUnicode(unsigned char byte);

// Windows-1252 byte of a code point, or nothing when it has none.
std::optional<unsigned char> unicodeToCp1252(char32_t codePoint);

QString toQString(std::string_view cp1252);
// Characters without a Windows-1252 code become `replacement`.
std::string fromQString(const QString& text, char replacement = '?');
// Strict variant for learner input: nothing when any character has no code.
std::optional<std::string> fromQStringStrict(const QString& text);

std::string utf8ToCp1252(std::string_view utf8, char replacement = '?');
std::optional<std::string> utf8ToCp1252Strict(std::string_view utf8);
std::string cp1252ToUtf8(std::string_view cp1252);
// Well-formed UTF-8: no overlong forms, surrogates or values past U+10FFFF.
bool isUtf8(std::string_view text);

// Case mapping of single Windows-1252 characters (Latin-1 letters included, ß stays).
unsigned char upperCp1252(unsigned char c);
unsigned char lowerCp1252(unsigned char c);
std::string upperCase(std::string_view cp1252);
std::string lowerCase(std::string_view cp1252);
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace zek
