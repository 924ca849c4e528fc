// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "super/tsuperfade.h"
#include "super/tsupertext.h"

#include <functional>
#include <string>

class TBibliothek;
class TSuperOptions;

// Where the word-and-meaning alternation of the page styles stands; kept with the options so
// that it goes on across styles.
struct TSuperAlternationState {
  TVocOrder order;
  int index = -1;
  bool meaning = false;  // the next text is the meaning of `index`
};

// Word ("*" + the word with "to "), meaning, next word, ... over the trainer range and order;
// with speech on each text comes with its recording.
class TSuperAlternation final : public TSuperTextSource {
 public:
  TSuperAlternation(TBibliothek& bibliothek, TSuperOptions& options);
  TSuperText nextText() override;
  // The file that speaks a text; spokenFileFor by default (an English word without a recording
  // is spoken at run time meanwhile).
  std::function<std::string(const std::string&, TWortSprache)> recording;

 private:
  TBibliothek& m_bib;
  TSuperOptions& m_options;
};
