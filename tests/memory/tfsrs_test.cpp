// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/tfsrs.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TSchritt {
  int tag;
  int bewertung;
  double stabilitaet, schwierigkeit;
  int faellig;
};

struct TFolge {
  const char* name;
  double behalten;
  std::vector<TSchritt> schritte;
};

// Rows printed by data/fsrs_reference.py, a separate implementation of the same formulas.
const std::vector<TFolge> kFolgen = {
    {"first good", 0.90, {{0, 3, 2.306500, 2.118104, 2}}},
    {"wrong then right the same day", 0.90, {{0, 1, 0.212000, 6.413300, 1}, {0, 3, 0.246689, 6.402115, 1}, {1, 3, 2.021477, 6.390941, 3}, {3, 3, 6.451805, 6.379779, 9}}},
    {"good reviews on time, a lapse, relearning", 0.90, {{0, 3, 2.306500, 2.118104, 2}, {2, 3, 10.964332, 2.111214, 13}, {8, 3, 33.219059, 2.104331, 41}, {30, 1, 2.452929, 7.389976, 32}, {31, 3, 4.487857, 7.377814, 35}, {33, 2, 6.676931, 8.244499, 40}}},
    {"hard answers, then easy", 0.90, {{0, 2, 1.293100, 5.112171, 1}, {1, 2, 3.249412, 6.740460, 4}, {3, 4, 11.211687, 5.636501, 14}}},
    {"reviewed long after due", 0.90, {{0, 3, 2.306500, 2.118104, 2}, {60, 3, 45.342371, 2.111214, 105}, {61, 1, 2.481064, 7.392238, 63}}},
    {"higher retention, shorter intervals", 0.95, {{0, 4, 8.295600, 1.000000, 3}, {8, 3, 38.905150, 1.000000, 24}, {20, 3, 83.288506, 1.000000, 54}}},
    {"lower retention", 0.80, {{0, 3, 2.306500, 2.118104, 8}, {3, 3, 13.826904, 2.111214, 49}, {15, 2, 37.021367, 4.748285, 138}}},
};

TEST(TFsrs, ReplaysTheReferenceSequences) {
  for (const TFolge& f : kFolgen) {
    SCOPED_TRACE(f.name);
    const TFsrs fsrs(f.behalten);
    TFsrsZustand z;
    int n = 0;
    for (const TSchritt& s : f.schritte) {
      SCOPED_TRACE(n++);
      z = fsrs.bewerten(z, static_cast<TBewertung>(s.bewertung), s.tag);
      EXPECT_NEAR(z.stabilitaet, s.stabilitaet, 1e-5);
      EXPECT_NEAR(z.schwierigkeit, s.schwierigkeit, 1e-5);
      EXPECT_EQ(z.faellig, s.faellig);
      EXPECT_EQ(z.letzterTag, s.tag);
    }
    EXPECT_EQ(z.wiederholungen, static_cast<int>(f.schritte.size()));
  }
}

TEST(TFsrs, RecallIsTheDesiredRetentionAfterOneInterval) {
  for (double behalten : {0.8, 0.9, 0.95}) {
    const TFsrs fsrs(behalten);
    for (double s : {0.5, 2.3065, 40.0}) EXPECT_NEAR(fsrs.abrufbarkeit(fsrs.intervall(s), s), behalten, 1e-9);
  }
  // At 90 % the interval is the stability itself.
  EXPECT_NEAR(TFsrs(0.9).intervall(12.5), 12.5, 1e-9);
}

TEST(TFsrs, LapsesCountOnlyAfterTheFirstAnswer) {
  const TFsrs fsrs;
  TFsrsZustand z = fsrs.bewerten({}, TBewertung::Nochmal, 10);
  EXPECT_EQ(z.fehler, 0);
  z = fsrs.bewerten(z, TBewertung::Nochmal, 11);
  EXPECT_EQ(z.fehler, 1);
}

TEST(TFsrs, RetentionIsKeptInASensibleRange) {
  TFsrs fsrs(1.5);
  EXPECT_LE(fsrs.behalten(), 0.99);
  fsrs.setBehalten(0.1);
  EXPECT_GE(fsrs.behalten(), 0.7);
}

TEST(TFsrs, OutcomesMapToRatings) {
  EXPECT_EQ(bewertungFuer(false, 1), TBewertung::Nochmal);
  EXPECT_EQ(bewertungFuer(false, 3), TBewertung::Nochmal);
  EXPECT_EQ(bewertungFuer(true, 1), TBewertung::Gut);
  EXPECT_EQ(bewertungFuer(true, 2), TBewertung::Schwer);
}

}  // namespace
