// SPDX-License-Identifier: GPL-3.0-or-later
// The converter's ranking and the lookups that forgive, on small hand-made source lines.
#include "dict/database.h"
#include "dict/dingconvert.h"
#include "dict/meaningtext.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>

namespace {

std::string W(std::string_view utf8) { return zek::utf8ToCp1252(utf8); }

std::vector<std::string_view> split(std::string_view text, std::string_view sep) {
  std::vector<std::string_view> parts;
  for (std::size_t pos = 0;;) {
    const std::size_t end = text.find(sep, pos);
    parts.push_back(text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
    if (end == std::string_view::npos) return parts;
    pos = end + sep.size();
  }
}

// The meanings of the first entry of `word` in a half, as the browse shows them.
std::string meaning(TXDatabase& db, int half, std::string_view word) {
  const std::vector<int> entries = db.EntriesOf(half, W(word));
  if (entries.empty()) return "(none)";
  db.SetGermanEnglish(half == 1);
  return zek::cp1252ToUtf8(std::string(db.MeaningView(entries.front())));
}

struct Converted {
  zek::ScriptedDialogs quiet;
  TDingConverter converter;
  TXDatabase db;
  explicit Converted(std::string_view source, std::string_view counts = {}, std::string_view core = {}) {
    converter.addFrequencies(counts);
    converter.addCoreText(core);
    converter.addText(source);
    converter.fill(db);
  }
};

TEST(DictRanking, PartsPairByPositionAndSynonymsKeepTheirOwnPart) {
  Converted c(
      "Hausaufgabe {f}; Schularbeit {f} | Hausaufgaben {pl}; Schulaufgaben {pl} | seine Hausaufgaben machen :: "
      "assignment | homework <home work> | to do one's homework\n"
      "Blödmann {m}; Koffer {m} [pej.] | Blödmänner {pl}; Koffer {pl} :: dumbass; charlie [pej.] | dumbasses; charlies\n"
      "Reisekoffer {m}; Koffer {m} | Reisekoffer {pl}; Koffer {pl} :: suitcase | suitcases\n");
  // The uncountable noun of a plural part is a word of its own; its plural is not.
  EXPECT_EQ(meaning(c.db, 0, "homework"), "Hausaufgaben (pl); Schulaufgaben (pl)");
  EXPECT_EQ(meaning(c.db, 0, "assignment"), "Hausaufgabe (f); Schularbeit (f)");
  EXPECT_EQ(meaning(c.db, 0, "assignments"), "(none)");
  EXPECT_EQ(meaning(c.db, 0, "do one's homework"), "seine Hausaufgaben machen");  // idioms are filed without "to"
  // "Koffer" takes the translations of each line it is in, the insults last and marked.
  EXPECT_EQ(meaning(c.db, 1, "Koffer"), "suitcase; [abwertend] dumbass; [abwertend] charlie");
  EXPECT_EQ(meaning(c.db, 0, "suitcase"), "Reisekoffer (m); Koffer (m)");
}

TEST(DictRanking, LabelsAndFrequencyOrderTheMeanings) {
  Converted c(
      "Nonne {f}; Ordensschwester {f} [relig.] :: nun; sister\n"
      "Schwester {f} [soc.] :: sister\n"
      "Abflachung {f} [techn.] :: flat\n"
      "Wohnung {f} :: flat [Br.]; apartment [Am.]\n"
      "Kumpel {m} [ugs.]; Freund {m} :: mate [Br.] [coll.]; friend\n"
      "Gesöff {n} [slang]; Getränk {n} :: drink\n",
      "sister\t9000\nnun\t300\nfriend\t30000\nmate\t2000\n");
  // The plain, first translation of a line before the one a word shares with others.
  EXPECT_EQ(meaning(c.db, 0, "sister"), "[soc.] Schwester (f); Nonne (f); [relig.] Ordensschwester (f)");
  // General before subject-labelled; regional after neutral.
  EXPECT_EQ(meaning(c.db, 0, "flat"), "[Br.] Wohnung (f); [techn.] Abflachung (f)");
  EXPECT_EQ(meaning(c.db, 1, "Wohnung"), "[Br.] flat; [Am.] apartment");
  // Neutral before colloquial and slang, frequent before rare.
  EXPECT_EQ(meaning(c.db, 0, "friend"), "Freund (m); [ugs.] Kumpel (m)");
  EXPECT_EQ(meaning(c.db, 0, "drink"), "Getränk (n); [slang] Gesöff (n)");
  EXPECT_EQ(meaning(c.db, 1, "Kumpel"), "friend; [ugs., Br., coll.] mate");
}

TEST(DictRanking, OffensiveMeaningsComeLastAndSaySo) {
  Converted c(
      "Trottel {m}; Depp {m} :: dumbass; idiot\n"
      "Weib {n} [pej.] :: woman\n"
      "Frau {f}; Weib {n} [pej.] :: woman\n"
      "Mist {m} {vulg.} [agr.] :: dung; shit [vulg.]\n"
      "Mist {m} [agr.] :: manure\n"
      "Schwester {f} [soc.] :: sister\n"
      "Königin {f} :: queen\n"
      "Schwuchtel {f}; Schwester {f}; Warmer {m} [slang] :: poofter; queen; fairy [slang]\n");
  // A word on the list of insults is one without a label, too.
  EXPECT_EQ(meaning(c.db, 1, "Trottel"), "idiot; [abwertend] dumbass");
  // A pejorative headword makes each of its meanings pejorative; its synonyms stay neutral.
  EXPECT_EQ(meaning(c.db, 1, "Weib"), "[abwertend] woman");
  EXPECT_EQ(meaning(c.db, 0, "woman"), "Frau (f); [abwertend] Weib (n)");
  EXPECT_EQ(meaning(c.db, 1, "Mist"), "[agr.] manure; [agr.] dung; [vulg.] shit");
  // A slang group with a slur in it is all slurs, though only its last word carries the label.
  EXPECT_EQ(meaning(c.db, 1, "Schwester"),
            "[soc.] sister; [abwertend] poofter; [abwertend] queen; [slang, abwertend] fairy");
  EXPECT_EQ(meaning(c.db, 0, "queen"),
            "K\xC3\xB6nigin (f); [abwertend] Schwuchtel (f); [abwertend] Schwester (f); [slang, abwertend] Warmer (m)");
  EXPECT_GT(c.converter.stats().offensive, 0u);
}

// The forms of a verb lead from German to English, but an English form spelt like the
// infinitive adds nothing to the verb's entry.
TEST(DictRanking, VerbFormsSpeltLikeTheInfinitiveStayOutOfItsEntry) {
  Converted c(
      "stecken {vt} | steckend | gesteckt | steckte :: to put | putting | put | put\n"
      "etw. hinnehmen; etw. in Kauf nehmen {vt} | hinnehmend | hingenommen :: to put up with sth. | putting up with | put up with\n"
      "gehen {vi} | gehend | gegangen | ging :: to go | going | gone | went\n"
      "Wurf {m} :: put\n");
  EXPECT_EQ(meaning(c.db, 0, "put"), "stecken");
  EXPECT_EQ(meaning(c.db, 0, "put up with sth."), "etw. hinnehmen; etw. in Kauf nehmen");
  EXPECT_EQ(meaning(c.db, 0, "put up with"), "(none)");
  EXPECT_EQ(meaning(c.db, 0, "went"), "ging");
  EXPECT_EQ(meaning(c.db, 1, "gesteckt"), "put");
  EXPECT_EQ(meaning(c.db, 1, "hingenommen"), "put up with");
}

// The irregular forms in braces are headwords of their own that say whose forms they are.
TEST(DictRanking, IrregularFormsLeadToTheVerb) {
  Converted c(
      "gehen {vi} | gehend | gegangen :: to go {went; gone} | going | gone\n"
      "weitermachen {vi} :: to keep on {kept; kept}\n"
      "halten {vt} :: to keep {kept; kept}\n"
      "schwellen {vi} :: to swell {swelled; swollen, swelled}\n"
      "setzen {vt} :: to put {put; put}\n"
      "fahren {vi} :: to go {went; gone}\n"
      "etw. kaufen {vt} :: to buy sth. {bought; bought}\n");
  // Said once, in front of the first meaning, whichever line it comes from.
  EXPECT_EQ(meaning(c.db, 0, "went"), "[Past Tense von go] gehen; fahren");
  EXPECT_EQ(meaning(c.db, 0, "bought"), "[Past Tense und Past Participle von buy] etw. kaufen");
  EXPECT_EQ(meaning(c.db, 0, "kept").rfind("[Past Tense und Past Participle von keep] ", 0), 0u) << meaning(c.db, 0, "kept");
  EXPECT_EQ(meaning(c.db, 0, "swollen"), "[Past Participle von swell] schwellen");
  EXPECT_EQ(meaning(c.db, 0, "swelled"), "[Past Tense und Past Participle von swell] schwellen");
  EXPECT_EQ(meaning(c.db, 0, "go"), "gehen; fahren");
  EXPECT_EQ(meaning(c.db, 0, "put"), "setzen");
}

TEST(DictRanking, ObjectsAndAbbreviationsFoldIntoTheBareHeadword) {
  Converted c(
      "Stunde {f} /Std./ | Stunden {pl} :: hour /h/ /hr/ | hours\n"
      "etw. bekommen {vt} :: to get sth.\n"
      "jdn./etw. holen {vt} :: to fetch sb./sth.\n"
      "etw. aufgeben {vt} :: to give sth. up\n"
      "jdm. etw. übel nehmen {vt} :: to hold sth. against sb.\n"
      "tanken {vi} :: to get petrol\n");
  EXPECT_EQ(meaning(c.db, 0, "hour"), "Stunde (f)");
  EXPECT_EQ(meaning(c.db, 1, "Stunde"), "hour");
  EXPECT_EQ(meaning(c.db, 0, "get"), "etw. bekommen");
  EXPECT_EQ(meaning(c.db, 0, "fetch"), "jdn./etw. holen");
  EXPECT_EQ(meaning(c.db, 1, "holen"), "to fetch sb./sth.");
  EXPECT_EQ(meaning(c.db, 0, "give up"), "etw. aufgeben");
  // A phrase stays a phrase: without its objects it is no word a learner looks up.
  EXPECT_EQ(meaning(c.db, 1, "übel nehmen"), "(none)");
  EXPECT_EQ(meaning(c.db, 0, "get petrol"), "tanken");
  EXPECT_EQ(c.db.GetKind(c.db.EntriesOf(0, "get").front()), 2);
}

TEST(DictRanking, TheEverydayListComesFirstAndKindsKeepTheirOrder) {
  Converted c(
      "Ruinenhügel {m} [archäol.] :: tell\n"
      "Drehung {f} :: turn\n"
      "drehen {vt} :: to turn\n"
      "etw. verraten {vt} :: to tell sth.\n"
      "erzählen {vt} :: to tell\n",
      {}, "erzählen {vt}; sagen {vt} :: to tell\n");
  const std::vector<int> tell = c.db.EntriesOf(0, "tell");
  ASSERT_EQ(tell.size(), 2u);
  c.db.SetGermanEnglish(false);
  EXPECT_EQ(c.db.GetKind(tell[0]), 2);  // the verb, whose best meaning is the better one
  EXPECT_EQ(zek::cp1252ToUtf8(c.db.GetMeaning(tell[0])), "erzählen; sagen; etw. verraten");
}

TEST(DictRanking, CoreMeaningsGoFirstInTheirOrderAndKind) {
  zek::ScriptedDialogs quiet;
  TDingConverter converter;
  converter.addCoreMeanings(
      "# headword, kind, meanings\n"
      "tell\tverb\tsagen; erzählen; mitteilen\n"
      "turn\tverb\tdrehen\n"
      "light\tadj\thell; leicht\n"
      "light\tnoun\tLicht\n"
      "woman\tnoun\tWeib; Frau\n"
      "sister\tother\tSchwester\n"
      "broken line without kind\n"
      "flat\tthing\tWohnung\n",
      false);
  converter.addCoreMeanings("bekommen\tverb\tget; receive\nSchwester\tnoun\tsister\n", true);
  const char* source =
      "Ruinenhügel {m} [archäol.] :: tell\n"
      "Drehung {f} :: turn\n"
      "drehen {vt} :: to turn\n"
      "erzählen {vt} :: to tell\n"
      "sagen {vt}; mitsagen {vt} :: to say; to tell\n"
      "Leuchte {f}; Licht {n} :: light\n"
      "leicht {adj}; hell {adj} :: light\n"
      "Frau {f}; Weib {n} [pej.] :: woman\n"
      "Nonne {f}; Ordensschwester {f} :: sister; nun\n"
      "Schwester {f} [med.] :: nurse; sister\n"
      "Abflachung {f} :: flat\n"
      "Wohnung {f} :: flat [Br.]\n"
      "etw. erhalten {vt}; etw. bekommen {vt} :: to receive sth.; to get sth.\n";
  converter.addText(source);
  TXDatabase db;
  converter.fill(db);
  const Converted plain(source);
  // The listed order for the listed kind; what the source does not give stays out.
  EXPECT_EQ(meaning(db, 0, "tell"), "sagen; erzählen; mitsagen");
  const std::vector<int> tell = db.EntriesOf(0, "tell");
  ASSERT_EQ(tell.size(), 2u);
  db.SetGermanEnglish(false);
  EXPECT_EQ(zek::cp1252ToUtf8(db.GetMeaning(tell[1])), "[archäol.] Ruinenhügel (m)");
  // An entry with core meanings goes before the headword's entries without.
  const std::vector<int> turn = db.EntriesOf(0, "turn"), plainTurn = plain.db.EntriesOf(0, "turn");
  ASSERT_EQ(turn.size(), 2u);
  ASSERT_EQ(plainTurn.size(), 2u);
  EXPECT_EQ(plain.db.GetKind(plainTurn[0]), 1);
  EXPECT_EQ(db.GetKind(turn[0]), 2);
  // Each kind its own line; among entries with lines, the order they have without the lists.
  const std::vector<int> light = db.EntriesOf(0, "light");
  ASSERT_EQ(light.size(), 2u);
  const std::vector<int> plainLight = plain.db.EntriesOf(0, "light");
  ASSERT_EQ(plainLight.size(), 2u);
  for (std::size_t k = 0; k < 2; ++k) {
    const int kind = db.GetKind(light[k]);
    EXPECT_EQ(kind, plain.db.GetKind(plainLight[k]));
    EXPECT_EQ(zek::cp1252ToUtf8(db.GetMeaning(light[k])), kind == 3 ? "hell; leicht" : "Licht (n); Leuchte (f)");
  }
  // An offensive meaning stays last even when listed.
  EXPECT_EQ(meaning(db, 0, "woman"), "Frau (f); [abwertend] Weib (n)");
  // A kind the source has no entry of: the line serves the headword's entries.
  EXPECT_EQ(split(meaning(db, 0, "sister"), "; ").front(), "[med.] Schwester (f)");
  // An unknown kind is no core line.
  EXPECT_EQ(meaning(db, 0, "flat"), "Abflachung (f); [Br.] Wohnung (f)");
  // English meanings match without "to" and without their objects.
  EXPECT_EQ(meaning(db, 1, "bekommen"), "to get sth.; to receive sth.");
  EXPECT_EQ(meaning(db, 1, "Schwester"), "sister; [med.] nurse");
}

TEST(DictLookup, FoldsCaseAccentsSharpSAndGender) {
  zek::ScriptedDialogs quiet;
  TXDatabase db;
  db.SetGermanEnglish(true);
  for (const auto& [w, m] : std::vector<std::pair<std::string, std::string>>{
           {"Straße (f)", "street"}, {"Strass (n)", "paste"}, {"schon", "already"}, {"schön", "beautiful"},
           {"Mädchen (n)", "girl"}, {"Haus (n)", "house"}, {"zu Hause", "at home"}, {"Pause (f)", "break"},
           {"Hausaufgabe (f)", "homework"}})
    db.Append(W(w), "1", W(m));
  db.Sort();
  auto first = [&](std::string_view word) {
    const std::vector<int> e = db.EntriesOf(1, W(word));
    return e.empty() ? std::string("(none)") : zek::cp1252ToUtf8(db.GetMeaning(e.front()));
  };
  const std::pair<const char*, const char*> cases[] = {
      {"Strasse", "street"}, {"STRASSE", "street"}, {"straße", "street"}, {"Straße (f)", "street"},
      {"schön", "beautiful"}, {"schon", "already"}, {"schoen", "beautiful"}, {"Maedchen", "girl"},
      {"madchen", "girl"}, {"Hause", "(none)"}, {"Stras", "(none)"},
  };
  for (const auto& [word, expected] : cases) EXPECT_EQ(first(word), expected) << word;
  // Browse lands on the folded word and says whether it met it.
  db.LookUp(W("strasse"), -1);
  EXPECT_EQ(db.GetWord(), W("Straße (f)"));
  EXPECT_TRUE(db.LookUpMatched());
  db.LookUp(W("Stra"), -1);
  EXPECT_TRUE(db.LookUpMatched());  // still typing
  db.LookUp(W("Hause"), -1);
  EXPECT_FALSE(db.LookUpMatched());
  // A miss: the word without its ending, phrases with it, then near spellings.
  EXPECT_EQ(db.Suggestions(1, W("Hause"), 3), (std::vector<std::string>{"Haus", "zu Hause", "Pause"}));
  EXPECT_EQ(db.Suggestions(1, W("Mätchen"), 5), (std::vector<std::string>{W("Mädchen")}));
  EXPECT_TRUE(db.Suggestions(1, W("xylophon"), 5).empty());
}

TEST(DictLookup, SearchFoldsCaseUmlautsAndSharpS) {
  TXDatabase db;
  db.Append("street", "1", W("Straße (f)"));
  db.Append("road", "1", W("Landstrasse (f)"));
  db.Append("girl", "1", W("Mädchen (n)"));
  for (const auto& [text, whole, hits] : std::vector<std::tuple<std::string, bool, std::size_t>>{
           {"strasse", false, 2}, {"STRASSE", true, 1}, {W("straße"), false, 2}, {"madchen", true, 1}}) {
    db.Search(text, true, whole);
    EXPECT_EQ(db.Hits().size(), hits) << text;
  }
}

TEST(DictMeaningText, BareFormsAndDistance) {
  EXPECT_EQ(zek::bareMeaning(W("[ugs.] Straße (f)")), W("Straße"));
  EXPECT_EQ(zek::bareMeaning("[a] [b] house"), "house");
  EXPECT_EQ(zek::bareMeaning("Kinder (pl)"), "Kinder");
  EXPECT_EQ(zek::bareMeaning("Europe (continent)"), "Europe (continent)");  // a real comment stays
  EXPECT_EQ(zek::bareMeanings(W("Haus (n); [arch.] Gebäude (n);  Heim")), W("Haus; Gebäude; Heim"));
  EXPECT_EQ(zek::editDistance("hause", "house", 2), 1);
  EXPECT_EQ(zek::editDistance("huose", "house", 2), 1);  // two letters swapped
  EXPECT_EQ(zek::editDistance("hs", "house", 2), 3);
}

// Loads both halves of the installation's dictionary; false when it is not assembled.
bool loadInstalled(TXDatabase& db) {
  const std::string ed = zek::fromPath(zek::test::distDir() / "ZEK_E" / "e_d.zek");
  const std::string de = zek::fromPath(zek::test::distDir() / "ZEK_E" / "d_e.zek");
  if (!zek::fileExists(ed) || !zek::fileExists(de)) return false;
  db.SetGermanEnglish(true);
  EXPECT_TRUE(db.LoadFromFile(de));
  db.SetGermanEnglish(false);
  EXPECT_TRUE(db.LoadFromFile(ed));
  return true;
}

// Words of the shipped collections: the collection's meaning among the first three shown.
TEST(DictRanking, InstalledDictionaryHasTheCollectionsMeanings) {
  zek::ScriptedDialogs quiet;
  TXDatabase db;
  if (!loadInstalled(db)) GTEST_SKIP() << "installation not assembled";
  const auto rows = zek::readFile(zek::test::sourceDir() / "tests" / "dict" / "data" / "learner-lookups.tsv");
  ASSERT_TRUE(rows);
  int checked = 0;
  for (std::string_view line : split(*rows, "\n")) {
    if (line.empty() || line.front() == '#') continue;
    const std::vector<std::string_view> fields = split(line, "\t");
    ASSERT_EQ(fields.size(), 3u) << line;
    const int half = fields[0] == "de" ? 1 : 0;
    const std::vector<int> entries = db.EntriesOf(half, W(fields[1]));
    ASSERT_FALSE(entries.empty()) << fields[1];
    db.SetGermanEnglish(half == 1);
    const std::string shown(db.MeaningView(entries.front()));
    std::vector<std::string> firstThree;
    for (std::string_view m : split(shown, "; ")) {
      if (firstThree.size() == 3) break;
      firstThree.push_back(zek::comparisonForm(m));
    }
    bool found = false;
    for (std::string_view a : split(fields[2], "|"))
      found = found || std::find(firstThree.begin(), firstThree.end(), zek::comparisonForm(W(a))) != firstThree.end();
    EXPECT_TRUE(found) << fields[1] << ": " << zek::cp1252ToUtf8(shown.substr(0, 200));
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

// The dictionary of the installation, on a panel of everyday words.
TEST(DictRanking, InstalledDictionaryPutsCommonMeaningsFirst) {
  zek::ScriptedDialogs quiet;
  TXDatabase db;
  if (!loadInstalled(db)) GTEST_SKIP() << "installation not assembled";
  const auto panel = zek::readFile(zek::test::sourceDir() / "tests" / "dict" / "data" / "common-words.tsv");
  ASSERT_TRUE(panel);
  int words = 0, good = 0;
  std::string misses, offensive;
  for (std::string_view line : split(*panel, "\n")) {
    if (line.empty() || line.front() == '#') continue;
    const std::vector<std::string_view> fields = split(line, "\t");
    ASSERT_EQ(fields.size(), 3u) << line;
    const int half = fields[0] == "de" ? 1 : 0;
    const std::string word = W(fields[1]);
    std::vector<std::string> accepted;
    for (std::string_view a : split(fields[2], "|")) accepted.push_back(zek::comparisonForm(W(a)));
    ++words;
    const std::vector<int> entries = db.EntriesOf(half, word);
    if (entries.empty()) {
      misses += " " + word;
      continue;
    }
    db.SetGermanEnglish(half == 1);
    const std::string shown(db.MeaningView(entries.front()));
    std::vector<std::string> firstTwo;
    for (std::string_view m : split(shown, "; ")) {
      if (firstTwo.size() == 2) break;
      firstTwo.push_back(zek::comparisonForm(m));
    }
    const bool hit = std::any_of(accepted.begin(), accepted.end(), [&](const std::string& a) {
      return std::find(firstTwo.begin(), firstTwo.end(), a) != firstTwo.end();
    });
    if (hit) ++good;
    else misses += " " + word;
    const std::string_view first = split(shown, "; ").front();
    const std::string_view label = first.rfind("[", 0) == 0 ? first.substr(0, first.find(']')) : std::string_view();
    if (label.find("abwertend") != std::string_view::npos || label.find("vulg.") != std::string_view::npos)
      offensive += " " + word;
  }
  EXPECT_EQ(words, 100);
  EXPECT_GE(good * 100, 90 * words) << "missed:" << zek::cp1252ToUtf8(misses);
  EXPECT_EQ(offensive, "") << "offensive meaning first";
}

}  // namespace
