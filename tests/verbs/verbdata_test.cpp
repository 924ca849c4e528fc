// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/tzipresource.h"
#include "platform/files.h"
#include "verbs/tverbliste.h"
#include "verbs/verbpresets.h"

#include <gtest/gtest.h>

namespace {

TZIPResource block(const std::vector<std::string>& items) {
  std::string data;
  for (const auto& i : items) data += i + '\0';
  return TZIPResource::fromCompressed(zek::deflateZlib(data));
}

TEST(VerbListe, GroupsOfFourInBlockOrder) {
  auto b = block({"sein", "be", "was; were", "been", "gehen", "go", "went", "gone", "machen", "make"});
  TVerbListe liste;
  liste.laden(b);
  ASSERT_EQ(liste.size(), 3u);
  EXPECT_EQ(liste[0].bedeutung, "sein");
  EXPECT_EQ(liste[0].infinitiv, "be");
  EXPECT_EQ(liste[0].past, "was; were");
  EXPECT_EQ(liste[0].participle, "been");
  EXPECT_EQ(liste[1].participle, "gone");
  EXPECT_EQ(liste[2].infinitiv, "make");  // an incomplete last group keeps what it has
  EXPECT_EQ(liste[2].past, "");
  EXPECT_EQ(liste.indexOf("go"), 1);
  EXPECT_EQ(liste.indexOf("run"), -1);
}

TEST(VerbListe, BuiltInTable) {
  TVerbListe liste;
  liste.ladenEingebaut();
  ASSERT_EQ(liste.size(), 120u);
  EXPECT_EQ(liste[0].infinitiv, "arise");
  EXPECT_EQ(liste[119].infinitiv, "write");
  for (std::size_t i = 0; i < liste.size(); ++i) {
    const TVerb& v = liste[i];
    EXPECT_FALSE(v.past.empty() || v.participle.empty() || v.bedeutung.empty()) << v.infinitiv;
    if (i > 0) {
      EXPECT_LT(liste[i - 1].infinitiv, v.infinitiv);
    }
  }
  struct Forms {
    const char* inf;
    const char* past;
    const char* participle;
  };
  const Forms spot[] = {{"be", "was; were", "been"},     {"bear", "bore", "born(e)"},
                        {"get", "got", "got; gotten [AmE]"}, {"lie", "lay", "lain"},
                        {"can", "could", "been able to [Ersatzform]"}, {"understand", "understood", "understood"}};
  for (const Forms& f : spot) {
    const int i = liste.indexOf(f.inf);
    ASSERT_GE(i, 0) << f.inf;
    EXPECT_EQ(liste[i].past, f.past);
    EXPECT_EQ(liste[i].participle, f.participle);
  }
}

TEST(VerbPresets, MasksOverTheBuiltInList) {
  TVerbListe liste;
  liste.ladenEingebaut();
  struct Case {
    int preset;
    std::size_t verben;
    const char* formen;
  };
  const Case cases[] = {{1, 12, "-+-+"}, {2, 28, "++-+"}, {3, 81, "++++"}, {4, 120, "++++"}};
  for (const Case& c : cases) {
    const auto a = verbPreset(c.preset, liste);
    ASSERT_TRUE(a) << c.preset;
    ASSERT_EQ(a->verben.size(), 120u);
    EXPECT_EQ(static_cast<std::size_t>(std::count(a->verben.begin(), a->verben.end(), '+')), c.verben) << c.preset;
    EXPECT_EQ(a->formen, c.formen);
    for (std::string_view inf : verbPresetVerben(c.preset)) {
      const int i = liste.indexOf(inf);
      ASSERT_GE(i, 0) << inf;
      EXPECT_EQ(a->verben[i], '+') << inf;
    }
  }
  const auto a = verbPreset(1, liste);
  EXPECT_EQ(a->verben[liste.indexOf("arise")], '-');
  EXPECT_EQ(a->verben[liste.indexOf("speak")], '+');
  EXPECT_FALSE(verbPreset(0, liste));
  EXPECT_FALSE(verbPreset(5, liste));
}

TEST(VerbPresets, MaskNormalisation) {
  const std::pair<std::string, std::string> verbMasks[] = {{"", "+++++"}, {"+-", "+----"}, {"-+-+-+-", "-+-+-+-"}};
  for (const auto& [in, out] : verbMasks) EXPECT_EQ(normalisierteVerbMaske(in, 5), out) << in;
  const std::pair<std::string, std::string> formMasks[] = {{"", "++++"}, {"+", "+---"}, {"-+-+x", "-+-+"}};
  for (const auto& [in, out] : formMasks) EXPECT_EQ(normalisierteFormMaske(in), out) << in;
}

}  // namespace
