// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lab/tsatzliste.h"
#include "widgets/answercheck.h"

#include <string>
#include <string_view>
#include <vector>

// The lab's check of a typed translation: the first try against every answer the table
// accepts for the sentence (main solution, second solution, variants) and the learner's own
// accepted answers, with the tolerant rule when it is on (the lab's default). The window's
// field and `zek-tool check-answer --lab` both come here.
answercheck::Result labAntwortPruefen(const TSatz& satz, std::string_view text, bool tolerant,
                                      const std::vector<std::string>& eigene = {});
