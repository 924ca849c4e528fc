// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tres.h"

#include "page/tzipresource.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

TZIPResource block(const std::string& items) { return TZIPResource::fromCompressed(zek::deflateZlib(items)); }

std::string eintrag(const std::string& w, const std::string& b, const std::string& tip = "0") {
  std::string s;
  for (const std::string& z : {w, b, std::string(), std::string(), tip, std::string(), std::string("0"),
                               std::string("2"), std::string("0"), std::string("1")})
    s += z + '\0';
  return s;
}

TEST(TRes, BuiltInPoolHoldsSixHundredDistinctEntries) {
  const TRes pool;
  ASSERT_EQ(pool.Anzahl(), 1200);
  std::set<std::pair<std::string, int>> gesehen;
  std::set<int> klassen, stufen;
  for (int i = 0; i < 600; ++i) {
    const TVokabel& v = pool.Eintrag(i);
    EXPECT_FALSE(v.istLeer()) << v.Vokabel;
    EXPECT_FALSE(v.Deutsch) << v.Vokabel;
    EXPECT_LT(v.Wortart, kWortartAnzahl) << v.Vokabel;
    EXPECT_LT(v.Schwierigkeit, kSchwierigkeitAnzahl) << v.Vokabel;
    EXPECT_EQ(v.Vokabel.find("; "), std::string::npos) << v.Vokabel;
    EXPECT_TRUE(gesehen.insert({v.Vokabel, v.Wortart}).second) << "twice: " << v.Vokabel;
    klassen.insert(v.Wortart);
    stufen.insert(v.Schwierigkeit);
  }
  EXPECT_EQ(klassen.size(), 6u);
  EXPECT_EQ(stufen.size(), 5u);
}

TEST(TRes, EveryWordClassHasFiveWrongAnswersForGermanQuestions) {
  const TRes pool;
  std::map<int, int> deutsche;
  for (int i = 600; i < pool.Anzahl(); ++i) {
    const TVokabel& v = pool.Eintrag(i);
    const TVokabel& englisch = pool.Eintrag(i - 600);
    EXPECT_TRUE(v.Deutsch);
    EXPECT_EQ(v.Vokabel, englisch.Bedeutung1);
    EXPECT_EQ(v.Bedeutung1, englisch.Vokabel);
    EXPECT_EQ(v.Wortart, englisch.Wortart);
    ++deutsche[v.Wortart];
  }
  for (int k = 0; k < kWortartAnzahl; ++k) EXPECT_GE(deutsche[k], 6) << k;
}

TEST(TRes, ReadsUntrimmedWithoutWavRuleAndStopsAtSixHundred) {
  std::string d = eintrag(" a ", ".wav");
  for (int i = 0; i < 700; ++i) d += eintrag("w" + std::to_string(i), "m");
  TZIPResource b = block(d);
  const TRes pool(b);
  EXPECT_EQ(pool.Anzahl(), 1200);  // 600 read, and each the other way round
  EXPECT_EQ(pool.Eintrag(0).Vokabel, " a ");
  EXPECT_EQ(pool.Eintrag(0).Bedeutung1, ".wav");
  EXPECT_EQ(pool.Eintrag(1).Vokabel, "w0");
  EXPECT_EQ(pool.Eintrag(1).Wortart, 2);
  EXPECT_EQ(pool.Eintrag(1).Schwierigkeit, 1);
}

TEST(TRes, CutOrBrokenRecordEndsThePool) {
  const std::string zwei = eintrag("a", "A") + eintrag("b", "B");
  TZIPResource kurz = block(zwei.substr(0, zwei.size() - 2));
  EXPECT_EQ(TRes(kurz).Anzahl(), 2);
  std::string kaputt = eintrag("a", "A") + eintrag("b", "B");
  kaputt.replace(kaputt.rfind("2"), 1, "x");
  TZIPResource k = block(kaputt);
  EXPECT_EQ(TRes(k).Anzahl(), 2);
  TZIPResource leer = TZIPResource::fromCompressed("kein zlib");
  EXPECT_EQ(TRes(leer).Anzahl(), 0);
}

}  // namespace
