// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// One text of a presentation and the recording that speaks it (empty when speech is off).
struct TSuperText {
  std::string text, file;
};

// Where the page styles take their texts from: word, meaning, next word, ...
class TSuperTextSource {
 public:
  virtual ~TSuperTextSource() = default;
  virtual TSuperText nextText() = 0;
};
