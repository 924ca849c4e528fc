#pragma once

#include "vocab/tvokabel.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The field work every exchange format shares: UTF-8 text from a file becomes a Windows-1252
// field of the entry, and a record is skipped for the same reasons in every format.
namespace austausch {

extern const char* const kZuGross;  // the message for a file beyond kAustauschGrenze

std::string zahlText(std::size_t n);

// Control characters are no text, and XML (KVTML) cannot carry them at all; tab stays.
bool istSteuerzeichen(char c);

struct TFeldUmwandlung {
  bool zeilenumbruch = false;
  bool steuerzeichen = false;  // control characters left out
  std::string unkodierbar;  // "U+XXXX" of the first character without a code
  bool zuLang = false;
};

// UTF-8 field → Windows-1252; line breaks become blanks (a library field is one line).
std::optional<std::string> alsFeld(std::string_view utf8, TFeldUmwandlung& u);

// Shared record check: the reason for skipping, in German.
std::optional<std::string> grundFuer(const TFeldUmwandlung& u, const TVokabel& v);

std::string getrimmt(std::string_view cp1252);

// A word class by number, name or card label (German or English); -1 when unknown.
int wortartAusText(const std::string& cp1252);

}  // namespace austausch
