// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

// A message box drawn with the X server's own text and line primitives, for screens of 256
// colours or fewer: Qt cannot paint there, so its message box stays black. The text is
// Windows-1252 with "\r" or "\n" line breaks. Blocks until the learner presses a key, clicks
// "OK" or closes the box. False, with nothing shown, when the program does not run on such
// an X screen.
bool showPlainXMessage(std::string_view text);
