#include "lab/labpruefung.h"
#include "lab/tthemenliste.h"
#include "platform/codec.h"
#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>

namespace {

using answercheck::Outcome;

class LabAntworten : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_themen = new TThemenListe;
    s_themen->ladenEingebaut();
  }
  static void TearDownTestSuite() {
    delete s_themen;
    s_themen = nullptr;
  }
  static Outcome pruefen(int nummer, const std::string& utf8, bool tolerant = true) {
    const TSatz* s = s_themen->satzNummer(nummer);
    if (!s) return Outcome::FinallyWrong;
    return labAntwortPruefen(*s, zek::utf8ToCp1252(utf8), tolerant).outcome;
  }
  // Lines "NNNN<TAB>answer" of a learner set: how many the lab accepts, of how many.
  static std::pair<int, int> angenommen(const std::string& datei) {
    std::ifstream in(zek::test::sourceDir() / "tests" / "lab" / "data" / datei);
    std::string line;
    int n = 0, richtig = 0;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#') continue;
      const auto tab = line.find('\t');
      if (tab == std::string::npos) continue;
      ++n;
      if (pruefen(std::stoi(line.substr(0, tab)), line.substr(tab + 1)) == Outcome::Right) ++richtig;
    }
    return {richtig, n};
  }
  static TThemenListe* s_themen;
};

TThemenListe* LabAntworten::s_themen = nullptr;

// Correct translations a German learner types, written before the variants existed; and
// wrong ones (another word, a lost "not", another tense or person).
TEST_F(LabAntworten, LearnerSetsAreAcceptedAndRefused) {
  const auto [richtig, n] = angenommen("right.tsv");
  const auto [falsch, m] = angenommen("wrong.tsv");
  ASSERT_GE(n, 200);
  ASSERT_GE(m, 100);
  const double accepted = 100.0 * richtig / n, refused = 100.0 * (m - falsch) / m;
  std::cout << "correct learner answers accepted: " << richtig << " of " << n << " (" << accepted << " %)\n"
            << "wrong learner answers refused: " << (m - falsch) << " of " << m << " (" << refused << " %)\n";
  // A teacher accepts every correct translation: the goal is 85 %, and the variants reach it.
  EXPECT_GE(accepted, 85.0);
  EXPECT_GE(refused, 95.0);
}

// Answers the lab accepted once and lost when the second solutions were reworked.
TEST_F(LabAntworten, EarlierAnswersAreAcceptedAgain) {
  const std::pair<int, const char*> cases[] = {
      {407, "I have a temperature."},
      {775, "Excuse me, do you have the time?"},
      {303, "I'd like three postcards, please."},
      {582, "Can I have an extra pillow?"},
      {437, "Do you have a fever?"},
  };
  for (const auto& [nummer, text] : cases) EXPECT_EQ(pruefen(nummer, text), Outcome::Right) << text;
}

TEST_F(LabAntworten, TheTableAndTheRuleTogether) {
  EXPECT_EQ(pruefen(407, "I have a temperature"), Outcome::Right);          // tolerant: no full stop
  EXPECT_NE(pruefen(407, "I have a temperature", false), Outcome::Right);  // strict: it counts
  EXPECT_EQ(pruefen(407, "I have a temperature.", false), Outcome::Right);
  EXPECT_NE(pruefen(407, "I had a fever."), Outcome::Right);
  EXPECT_EQ(pruefen(407, "   "), Outcome::TryAgain);  // an empty Return is no answer
  // The learner's own answers count as well.
  const TSatz& s = *s_themen->satzNummer(407);
  EXPECT_NE(labAntwortPruefen(s, "Fever I have.", true).outcome, Outcome::Right);
  EXPECT_EQ(labAntwortPruefen(s, "Fever I have.", true, {"Fever I have."}).outcome, Outcome::Right);
}

// The variants are compiled in (block 4) for nearly every sentence (a few, such as "Ja." or
// "Vor drei Wochen.", have no correct wording beside their two solutions), and every
// one fits the field.
TEST_F(LabAntworten, VariantsAreCompiledIn) {
  int mitVarianten = 0, saetze = 0;
  for (std::size_t t = 0; t < s_themen->size(); ++t) {
    for (const TSatz& satz : (*s_themen)[t].saetze()) {
      ++saetze;
      if (!satz.varianten.empty()) ++mitVarianten;
      for (const std::string& v : satz.varianten) EXPECT_LE(v.size(), kLabMaxSatzLaenge) << v;
    }
  }
  std::cout << mitVarianten << " of " << saetze << " sentences have variants\n";
  EXPECT_GE(mitVarianten * 100, saetze * 95);
}

}  // namespace
