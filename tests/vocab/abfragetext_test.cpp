#include "vocab/abfragetext.h"

#include <gtest/gtest.h>

namespace {

using Liste = std::vector<std::string>;

struct TErweiterung {
  const char* prefix;
  const char* text;
  Liste erwartet;
};

TEST(Erweitern, VariantenInIhrerReihenfolge) {
  const TErweiterung faelle[] = {
      {"(to) ", "look (after/for)", {"to look after", "to look for", "look after", "look for", "to look", "look"}},
      {"(to) ", "send for", {"send for", "to send for"}},
      {"", "Wuchs [biol.]", {"Wuchs"}},
      {"", "[ugs.] Kumpel", {"Kumpel"}},
      {"", "(sich) freuen", {"freuen", "sich freuen"}},
      {"", "Haus; Geb\xE4ude", {"Haus", "Geb\xE4ude"}},
      {"", "Bank; Bank", {"Bank"}},
      {"", "Zug (Bahn/Schach)", {"Zug Bahn", "Zug Schach", "Zug"}},
      {"", "(a) b (c) d", {"a b c d", "b c d", "a b d", "b d"}},
      {"", "give (sb.) up (sth.)", {"give sb. up sth.", "give up sth.", "give sb. up", "give up"}},
      // The "/" before the optional part must not split it.
      {"", "either/or (this/that)", {"either/or this", "either/or that", "either/or"}},
      {"", "to go (on) (x/y)", {"to go on x", "to go on y", "to go x", "to go y", "to go on", "to go"}},
      {"", "()", {"()"}},
      {"", "  viel   Gl\xFC" "ck  ", {"viel Gl\xFC" "ck"}},
      // Nothing but a remark: the raw text, since an empty solution can never be typed.
      {"", "[ugs.]", {"[ugs.]"}},
  };
  for (const TErweiterung& f : faelle) EXPECT_EQ(erweitern(f.prefix, f.text), f.erwartet) << f.prefix << f.text;
}

TEST(HinweisMaske, OhneZufall) {
  const std::pair<const char*, const char*> faelle[] = {
      {"", ""},           {"a", "_"},         {"ab", "__"},           {"abc", "a__"},
      {"a.c", "a._"},     {"abcd", "a__d"},   {"it's", "i_'s"},       {"x-ray", "x-__y"},
      {"to look after", "t_ ____ ____r"},     {"Na, so was!", "N_, __ ___!"},
  };
  for (const auto& [antwort, maske] : faelle) EXPECT_EQ(hinweisMaske(antwort, nullptr), maske) << antwort;
}

TEST(HinweisMaske, ZufallZeigtNurAbDemFuenftenZeichenMehr) {
  const std::string antwort = "unbelievable";
  const std::string fest = hinweisMaske(antwort, nullptr);
  int sichtbar = 0;
  for (std::uint32_t seed = 0; seed < 200; ++seed) {
    std::mt19937 zufall(seed);
    const std::string m = hinweisMaske(antwort, &zufall);
    ASSERT_EQ(m.size(), antwort.size());
    for (std::size_t i = 0; i < m.size(); ++i) {
      if (i < 4 || i == m.size() - 1) {
        EXPECT_EQ(m[i], fest[i]);
      } else if (m[i] != '_') {
        EXPECT_EQ(m[i], antwort[i]);
        ++sichtbar;
      }
    }
  }
  // One in five of the 7 random positions over 200 masks: about 280.
  EXPECT_GT(sichtbar, 180);
  EXPECT_LT(sichtbar, 400);
}

TEST(KontextStrecke, ErsterOeffnerLetzterSchliesser) {
  struct Fall {
    const char* satz;
    bool gefunden;
    const char *vorher, *innen, *nachher;
  };
  const Fall faelle[] = {
      {"I (*) every day.", true, "I ", "*", " every day."},
      {"He [gave (it)] up [now].", true, "He ", "gave (it)] up [now", "."},
      {"Sie (sagte) (nichts).", true, "Sie ", "sagte) (nichts", "."},
      {"No brackets.", false, "", "", ""},
      {"He )run( fast.", false, "", "", ""},
      {"Ends open (", false, "", "", ""},
      {"(", false, "", "", ""},
      {"", false, "", "", ""},
  };
  for (const Fall& f : faelle) {
    const TKontextStrecke k = kontextStrecke(f.satz);
    EXPECT_EQ(k.gefunden, f.gefunden) << f.satz;
    if (!f.gefunden) continue;
    EXPECT_EQ(k.vorher, f.vorher) << f.satz;
    EXPECT_EQ(k.innen, f.innen) << f.satz;
    EXPECT_EQ(k.nachher, f.nachher) << f.satz;
  }
}

TEST(GedruckterSatz, LoesungOhneKlammernUndSternAlsWort) {
  struct Fall {
    const char* satz;
    const char* wort;
    const char* gedruckt;
  } faelle[] = {
      {"Ich habe ein Fahrrad [*].", "bekommen", "Ich habe ein Fahrrad bekommen."},
      {"Two [*s] in a row.", "house", "Two houses in a row."},
      {"I (*) every day.", "run", "I run every day."},
      {"I live here [since; for] years.", "seit", "I live here since years."},
      {"Turn [on (the)] light.", "x", "Turn on light."},
      {"No stretch here.", "x", "No stretch here."},
      {"", "x", ""},
  };
  for (const Fall& f : faelle) EXPECT_EQ(gedruckterSatz(f.satz, f.wort), f.gedruckt) << f.satz;
}

TEST(Markup, LernertextWirdMaskiert) {
  EXPECT_EQ(markupText("a<b> & \"c\"|"), "a&lt;b&gt; &amp; \"c\"|");
  EXPECT_EQ(markupWert("a<b> & \"c\"|"), "a<b&gt; &amp; &quot;c&quot;&#124;");
}

}  // namespace
