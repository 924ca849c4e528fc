// SPDX-License-Identifier: GPL-3.0-or-later
// check-answer: what the input field does with one Enter, computed by the field's own checking.
#include "tools/zek-tool/command.h"

#include "lab/labpruefung.h"
#include "lab/tthemenliste.h"
#include "platform/codec.h"
#include "widgets/answercheck.h"

#include <iostream>

namespace {

void printOutcome(const answercheck::Result& r, const std::string& text, const std::vector<std::string>& solutions,
                  bool markTolerant) {
  switch (r.outcome) {
    case answercheck::Outcome::Right:
      std::cout << (r.tolerant && markTolerant ? "right-tolerant - -\n" : "right - -\n");
      break;
    case answercheck::Outcome::FinallyWrong: std::cout << "final - -\n"; break;
    case answercheck::Outcome::TryAgain: std::cout << "again - -\n"; break;
    case answercheck::Outcome::AlmostRight: {
      const std::string& s = solutions[std::size_t(r.solutionIndex)];
      std::cout << "almost " << answercheck::almostRightColours(text, r.skeleton) << " "
                << answercheck::firstDifference(text, s) << "\n";
      break;
    }
  }
}

// --lab N [--tolerant|--strict] TEXT: the lab's first try at sentence N (its sound file
// lab_N), against every answer the lab accepts for it but the learner's own.
int checkLabAnswer(const std::vector<std::string>& args) {
  const char* usage = "usage: check-answer --lab N [--tolerant|--strict] TEXT\n";
  int nummer = -1;
  bool tolerant = true;  // the lab's default
  std::vector<std::string> rest;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--tolerant") {
      tolerant = true;
    } else if (args[i] == "--strict") {
      tolerant = false;
    } else if (i == 1) {
      try {
        std::size_t used = 0;
        nummer = std::stoi(args[i], &used);
        if (used != args[i].size()) nummer = -1;
      } catch (...) {
        nummer = -1;
      }
      if (nummer < 0) {
        std::cerr << "--lab needs the number of a lab sentence\n" << usage;
        return 2;
      }
    } else {
      rest.push_back(args[i]);
    }
  }
  if (nummer < 0 || rest.size() != 1) {
    std::cerr << usage;
    return 2;
  }
  TThemenListe themen;
  themen.ladenEingebaut();
  const TSatz* satz = themen.satzNummer(nummer);
  if (!satz) {
    std::cerr << "no lab sentence " << nummer << " (numbers 0 to " << themen.satzAnzahl() - 1 << ")\n";
    return 2;
  }
  const std::string text = zek::utf8ToCp1252(rest.front());
  const std::vector<std::string> solutions = satz->loesungen();
  const answercheck::Result r = labAntwortPruefen(*satz, text, tolerant);
  printOutcome(r, text, solutions, false);
  return 0;
}

int checkAnswer(const std::vector<std::string>& args) {
  if (!args.empty() && args[0] == "--lab") return checkLabAnswer(args);
  int attempts = 0;
  bool tolerant = false;
  std::size_t i = 0;
  if (i < args.size() && args[i] == "--tolerant") {
    tolerant = true;
    ++i;
  }
  if (i < args.size() && args[i] == "--attempts") {
    if (i + 1 >= args.size()) {
      std::cerr << "--attempts needs a number\n";
      return 2;
    }
    try {
      attempts = std::stoi(args[i + 1]);
    } catch (...) {
      std::cerr << "--attempts needs a number\n";
      return 2;
    }
    i += 2;
  }
  if (!tolerant && i < args.size() && args[i] == "--tolerant") {
    tolerant = true;
    ++i;
  }
  if (args.size() < i + 2) {
    std::cerr << "usage: check-answer [--tolerant] [--attempts N] TEXT SOLUTION...\n";
    return 2;
  }
  const std::string text = zek::utf8ToCp1252(args[i]);
  std::vector<std::string> solutions;
  for (std::size_t k = i + 1; k < args.size(); ++k) solutions.push_back(zek::utf8ToCp1252(args[k]));
  // The field counts this Enter before it checks.
  printOutcome(answercheck::check(text, solutions, attempts + 1, tolerant), text, solutions, true);
  return 0;
}

TToolCommandRegistrar reg({"check-answer",
                           "check-answer [--tolerant] [--attempts N] TEXT SOLUTION... | "
                           "check-answer --lab N [--tolerant|--strict] TEXT",
                           "checks a typed answer as the input field does on Enter (N tries already made): "
                           "outcome (right, final, again, almost; right-tolerant when only the tolerant rule "
                           "accepts), colours (1 = red) and caret position. With --lab: the language lab's first "
                           "try at sentence N (sound file lab_N) against its solution, second solution and "
                           "variants, by default with the tolerant rule (right, almost or again)",
                           checkAnswer});

}  // namespace
