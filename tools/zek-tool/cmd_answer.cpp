// check-answer: what the input field does with one Enter, computed by the field's own checking.
#include "tools/zek-tool/command.h"

#include "platform/codec.h"
#include "widgets/answercheck.h"

#include <iostream>

namespace {

int checkAnswer(const std::vector<std::string>& args) {
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
  const answercheck::Result r = answercheck::check(text, solutions, attempts + 1, tolerant);
  switch (r.outcome) {
    case answercheck::Outcome::Right: std::cout << (r.tolerant ? "right-tolerant - -\n" : "right - -\n"); break;
    case answercheck::Outcome::FinallyWrong: std::cout << "final - -\n"; break;
    case answercheck::Outcome::TryAgain: std::cout << "again - -\n"; break;
    case answercheck::Outcome::AlmostRight: {
      const std::string& s = solutions[std::size_t(r.solutionIndex)];
      std::cout << "almost " << answercheck::almostRightColours(text, r.skeleton) << " "
                << answercheck::firstDifference(text, s) << "\n";
      break;
    }
  }
  return 0;
}

TToolCommandRegistrar reg({"check-answer", "check-answer [--tolerant] [--attempts N] TEXT SOLUTION...",
                           "checks a typed answer as the input field does on Enter (N tries already made): "
                           "outcome (right, final, again, almost; right-tolerant when only the tolerant rule "
                           "accepts), colours (1 = red) and caret position",
                           checkAnswer});

}  // namespace
