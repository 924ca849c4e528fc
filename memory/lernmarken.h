// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

class TLernspeicher;

// The learning memory in page files. A page marks its places with comments, so it reads the
// same where nothing fills them in:
//   <!--heute-faellig:vokabel-->  becomes "Heute fällig: 12" (also "verb") with the memory on
//   <!--lernspeicher--> ... <!--/lernspeicher-->  what only makes sense with the memory on;
//                                  with it off the whole part goes
void lernMarkenErsetzen(std::string& text, TLernspeicher& speicher);
