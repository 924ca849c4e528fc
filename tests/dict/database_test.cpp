// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/database.h"

#include "dict/startup.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using zek::test::TempDir;

namespace {

std::string W(std::string_view utf8) { return zek::utf8ToCp1252(utf8); }

struct Row {
  const char* word;
  int kind;
  const char* meaning;
};

void fill(TXDatabase& db, std::initializer_list<Row> rows) {
  for (const Row& r : rows) db.Append(W(r.word), std::to_string(r.kind), W(r.meaning));
}

std::vector<std::string> words(const TXDatabase& db) {
  std::vector<std::string> out;
  for (int i = 0; i < db.Count(); ++i) out.push_back(zek::cp1252ToUtf8(db.GetWord(i)));
  return out;
}

std::string records(std::initializer_list<std::string_view> fields) {
  std::string out;
  for (std::string_view f : fields) {
    out.append(f);
    out.push_back('\0');
  }
  return out;
}

TEST(DictFile, RecordLayoutIsWordKindMeaningEachEndedByZero) {
  TXDatabase db;
  db.Append("go", "2", "gehen");
  EXPECT_EQ(db.Records(0), std::string("go\0" "2\0" "gehen\0", 11));
}

TEST(DictFile, WrittenFileIsOneZlibStreamThatReadsBack) {
  TempDir dir;
  TXDatabase db;
  fill(db, {{"go", 2, "gehen"}, {"house", 1, "Haus (n)"}, {"Äpfel", 1, "apples"}});
  const std::string name = zek::fromPath(dir.path() / "e_d.zek");
  ASSERT_TRUE(db.WriteHalf(0, name));
  const auto bytes = zek::readFile(dir.path() / "e_d.zek");
  ASSERT_TRUE(bytes);
  EXPECT_EQ(zek::inflateZlib(*bytes), db.Records(0));
  TXDatabase again;
  EXPECT_TRUE(again.LoadFromFile(name));
  EXPECT_EQ(again.Records(0), db.Records(0));
  EXPECT_FALSE(again.Modified(0));
  EXPECT_EQ(again.FileName(0), name);
}

TEST(DictFile, ReaderHandlesOddRecords) {
  struct Case {
    std::string data;
    std::vector<std::tuple<std::string, int, std::string>> entries;
  } cases[] = {
      {records({"a", "0", "x", "b", "9", "y", "c", "6", "z"}), {{"a", 1, "x"}, {"b", 1, "y"}, {"c", 6, "z"}}},
      {records({" go ", "2", " gehen "}), {{"go", 2, "gehen"}}},
      {std::string("word"), {{"word", 1, ""}}},                    // no zero bytes at all
      {std::string("go\0" "2\0" "geh", 9), {{"go", 2, "geh"}}},     // meaning without its zero
      {std::string("go\0" "2", 4), {{"go", 2, ""}}},                // cut inside the record
      {std::string("go\0", 3), {{"go", 1, ""}}},
      {std::string("a\0" "1\0" "b\0" "x", 7), {{"a", 1, "b"}}},     // one byte left: not a record
      {std::string("x\0", 2), {{"x", 1, ""}}},                      // two bytes are one
      {std::string(), {}},
  };
  for (const Case& c : cases) {
    zek::ScriptedDialogs dialogs;
    TXDatabase db;
    EXPECT_TRUE(db.AddLoaded(TXDatabase::ParseCompressed(zek::deflateZlib(c.data, 1))));
    ASSERT_EQ(db.Count(), static_cast<int>(c.entries.size())) << testing::PrintToString(c.data);
    for (int i = 0; i < db.Count(); ++i) {
      EXPECT_EQ(db.GetWord(i), std::get<0>(c.entries[i]));
      EXPECT_EQ(db.GetKind(i), std::get<1>(c.entries[i]));
      EXPECT_EQ(db.GetMeaning(i), std::get<2>(c.entries[i]));
    }
    EXPECT_TRUE(dialogs.messages().empty());
  }
}

TEST(DictFile, BrokenFileReportsAndKeepsTheHalf) {
  TempDir dir;
  const std::string packed = zek::deflateZlib(records({"go", "2", "gehen", "see", "2", "sehen"}), 1);
  const std::string variants[] = {packed.substr(0, packed.size() / 2), packed.substr(0, packed.size() - 1),
                                  "not a zlib stream at all", ""};
  for (const std::string& bytes : variants) {
    const auto path = dir.write("bad.zek", bytes);
    zek::ScriptedDialogs dialogs;
    TXDatabase db;
    db.Append("keep", "1", "behalten");
    int changes = 0;
    db.OnChange = [&](TXDatabase&) { ++changes; };
    EXPECT_FALSE(db.LoadFromFile(zek::fromPath(path)));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, W("Fehler beim Laden des Wörterbuchs!"));
    EXPECT_EQ(dialogs.messages()[0].flags, mb::IconStop);
    EXPECT_EQ(words(db), std::vector<std::string>{"keep"});
    EXPECT_EQ(changes, 1);
  }
}

TEST(DictFile, OversizedStreamIsRefused) {
  // A small file that inflates to more than a dictionary half may hold.
  const std::string bomb = zek::deflateZlib(std::string(300u << 20, 'a'), 1);
  EXPECT_FALSE(TXDatabase::ParseCompressed(bomb).ok());
}

TEST(DictFile, ExtensionDecidesTheForm) {
  TempDir dir;
  const auto text = dir.write("list.txt", "go\r\n2\r\ngehen\r\nhouse\n\n Haus \nlast\n7");
  zek::ScriptedDialogs dialogs;
  TXDatabase db;
  ASSERT_TRUE(db.LoadFromFile(zek::fromPath(text)));
  ASSERT_EQ(db.Count(), 3);
  EXPECT_EQ(db.GetWord(0), "go");
  EXPECT_EQ(db.GetKind(0), 2);
  EXPECT_EQ(db.GetMeaning(1), "Haus");
  EXPECT_EQ(db.GetKind(1), 1);
  EXPECT_EQ(db.GetWord(2), "last");
  EXPECT_EQ(db.GetKind(2), 1);  // 7 is no kind
  EXPECT_EQ(db.GetMeaning(2), "");
  // The extension is compared exactly: ".ZEK" is a text file.
  const auto upper = dir.write("x.ZEK", "a\n3\nb\n");
  TXDatabase other;
  ASSERT_TRUE(other.LoadFromFile(zek::fromPath(upper)));
  EXPECT_EQ(other.GetKind(0), 3);
}

TEST(DictDatabase, DirectionAndCursorReset) {
  TXDatabase db;
  int changes = 0;
  db.OnChange = [&](TXDatabase& sender) {
    EXPECT_EQ(&sender, &db);
    ++changes;
  };
  fill(db, {{"a", 1, "x"}, {"b", 1, "y"}, {"c", 1, "z"}});
  db.Last();
  EXPECT_EQ(db.Current(), 2);
  EXPECT_EQ(db.DirectionName(), "Englisch-Deutsch");
  EXPECT_EQ(db.DirectionShortName(), "Englisch-D");
  db.SetGermanEnglish(true);
  EXPECT_TRUE(db.IsGermanEnglish());
  EXPECT_EQ(db.DirectionName(), "Deutsch-Englisch");
  EXPECT_EQ(db.DirectionShortName(), "Deutsch-E");
  EXPECT_EQ(db.Count(), 0);
  db.SetGermanEnglish(false);
  EXPECT_EQ(db.Current(), 2);  // each half keeps its cursor
  EXPECT_EQ(changes, 3);
}

TEST(DictDatabase, IndexArgumentsAndNeighbours) {
  TXDatabase db;
  fill(db, {{"a", 2, "x"}, {"b", 3, "y"}, {"c", 4, "z"}});
  db.Next();
  EXPECT_EQ(db.GetWord(-1), "b");
  EXPECT_EQ(db.GetWord(-2), "a");
  EXPECT_EQ(db.GetWord(-3), "c");
  EXPECT_EQ(db.GetKind(-1), 3);
  EXPECT_EQ(db.GetWord(3), "");
  EXPECT_EQ(db.GetKind(3), 1);
  db.First();
  EXPECT_EQ(db.GetWord(-2), "");
  db.Last();
  EXPECT_EQ(db.GetWord(-3), "");
  db.SetWord(7, "ignored");
  db.SetKind(-1, 9);
  EXPECT_EQ(db.GetKind(-1), 1);
  EXPECT_EQ(db.Count(), 3);
}

TEST(DictDatabase, TextFormReadsOnlyThePieceItIsGiven) {
  const std::string whole = "go\r\n2\r\ngehen\r\nhouse\r\n1\r\nHaus; Heim\r\ntree\r\n1\r\nBaum\r\n";
  const std::string_view all(whole);
  const struct {
    std::size_t length;
    int count;
    const char* lastMeaning;
  } cases[] = {
      {all.find("Haus") + 2, 2, "Ha"},  // cut inside the meaning
      {all.find("tree"), 2, "Haus; Heim"},
      {all.find("\r\n1\r\nBaum"), 3, ""},  // the word of the last group only
  };
  for (const auto& c : cases) {
    TXDatabase db;
    ASSERT_TRUE(db.AddLoaded(TXDatabase::ParseText(std::string(all.substr(0, c.length)))));
    ASSERT_EQ(db.Count(), c.count) << c.length;
    EXPECT_EQ(db.GetMeaning(c.count - 1), c.lastMeaning) << c.length;
  }
}

TEST(DictDatabase, EditedWordsAndMeaningsAreStoredTrimmed) {
  TXDatabase db;
  fill(db, {{"a", 1, "x"}});
  db.SetWord(0, "  blank \t");
  db.SetMeaning(0, "\tleer;  frei  ");
  EXPECT_EQ(db.GetWord(0), "blank");
  EXPECT_EQ(db.GetMeaning(0), "leer;  frei");
}

TEST(DictDatabase, CursorMovesAndNotifications) {
  TXDatabase db;
  int changes = 0;
  db.OnChange = [&](TXDatabase&) { ++changes; };
  fill(db, {{"a", 1, "x"}, {"b", 1, "y"}});
  db.Prior();  // at 0: no move, no notification
  EXPECT_EQ(changes, 0);
  db.Next();
  db.Next();  // at the last entry
  EXPECT_EQ(db.Current(), 1);
  EXPECT_EQ(changes, 1);
  db.First();
  EXPECT_EQ(changes, 2);
}

TEST(DictDatabase, DeletingMovesTheCursorBack) {
  TXDatabase db;
  fill(db, {{"a", 1, "x"}, {"b", 1, "y"}, {"c", 1, "z"}});
  db.Last();
  db.DeleteCurrent();
  EXPECT_EQ(db.Current(), 1);
  EXPECT_EQ(db.GetWord(-1), "b");
  TXDatabase one;
  one.Append("only", "1", "einzig");
  one.DeleteCurrent();
  EXPECT_EQ(one.Count(), 0);
  EXPECT_EQ(one.Current(), 0);
  one.DeleteCurrent();  // nothing left: nothing happens
  EXPECT_EQ(one.Count(), 0);
}

TEST(DictDatabase, InsertEmptyAndIsComplete) {
  zek::ScriptedDialogs dialogs;
  TXDatabase db;
  EXPECT_FALSE(db.IsComplete());
  fill(db, {{"a", 1, "x"}, {"b", 1, "y"}});
  db.Next();
  EXPECT_TRUE(db.IsComplete());
  db.InsertEmpty();
  EXPECT_EQ(db.Count(), 3);
  EXPECT_EQ(db.Current(), 1);
  EXPECT_EQ(db.GetWord(2), "b");
  EXPECT_FALSE(db.IsComplete());
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>(2, W("Der aktuelle Eintrag ist nicht vollständig!")));
  EXPECT_TRUE(db.Modified(0));
}

TEST(DictDatabase, AppendTrimsAndParsesTheKind) {
  TXDatabase db;
  db.Append("  to go \t", " 2 ", " gehen ");
  db.Append("x", "abc", "y");
  db.Append("x", "0", "y");
  db.Append("x", "6", "y");
  EXPECT_EQ(db.GetWord(0), "to go");
  EXPECT_EQ(db.GetMeaning(0), "gehen");
  EXPECT_EQ(db.GetKind(0), 2);
  EXPECT_EQ(db.GetKind(1), 1);
  EXPECT_EQ(db.GetKind(2), 1);
  EXPECT_EQ(db.GetKind(3), 6);
}

TEST(DictDatabase, SortUsesGermanOrderWithoutCase) {
  TXDatabase db;
  fill(db, {{"Zug", 1, ""}, {"arm", 1, ""}, {"Äpfel", 1, ""}, {"apfel", 1, ""}, {"Bär", 1, ""}, {"bar", 1, ""},
            {"Abend", 1, ""}, {"Straße", 1, ""}, {"strasse", 1, ""}, {"a cappella", 1, ""}});
  db.GotoEntry("Zug", "");
  db.Sort();
  const std::vector<std::string> got = words(db);
  const std::vector<std::string> expected = {"a cappella", "Abend", "apfel", "Äpfel", "arm",
                                             "bar",        "Bär",   "strasse", "Straße", "Zug"};
  EXPECT_EQ(got, expected);
  EXPECT_EQ(db.GetWord(-1), "Zug");  // the cursor stays on its entry
  EXPECT_TRUE(db.IsSorted());
}

TEST(DictDatabase, FindWordOnASortedHalf) {
  TXDatabase db;
  fill(db, {{"bank", 1, "Bank"}, {"bank", 2, "einzahlen"}, {"Bank", 3, "x"}, {"go", 1, "Gang"}, {"go", 2, "gehen"},
            {"house", 1, "Haus"}});
  db.Sort();
  const int bank = db.FindWord("bank", -1);
  EXPECT_EQ(zek::lowerCase(db.GetWord(bank)), "bank");
  EXPECT_EQ(db.FindWord("BANK", -1), bank);  // without regard to case
  EXPECT_EQ(db.GetKind(db.FindWord("go", 2)), 2);
  EXPECT_EQ(db.GetMeaning(db.FindWord("go", 2)), "gehen");
  EXPECT_EQ(db.FindWord("goat", -1), db.FindWord("house", -1));  // the next word
  EXPECT_EQ(db.FindWord("zebra", 1), db.Count() - 1);  // after every entry: the last
  EXPECT_EQ(db.FindWord("", 1), -1);
  EXPECT_EQ(db.FindWord("go", 3), db.FindWord("go", -1));  // no such kind: the first match
  TXDatabase empty;
  EXPECT_EQ(empty.FindWord("go", 1), -1);
}

TEST(DictDatabase, FindWordOnAnUnsortedHalfWalksFromTheStart) {
  TXDatabase db;
  fill(db, {{"m", 1, ""}, {"b", 1, ""}, {"z", 1, ""}, {"c", 1, ""}});
  EXPECT_FALSE(db.IsSorted());
  EXPECT_EQ(db.FindWord("c", -1), 0);  // "m" is the first word not before "c"
  EXPECT_EQ(db.FindWord("n", -1), 2);
  EXPECT_EQ(db.FindWord("zz", -1), 3);
}

// Loading leaves the order to be learned later; whatever a half was loaded from (one file
// or two, in order or not), look-ups then find as the walk from the start would.
TEST(DictDatabase, LoadedHalvesAreFoundInTheirOrder) {
  struct Case {
    std::vector<std::vector<std::string_view>> files;  // words of each file loaded, in turn
    bool sorted;
    std::string_view look;
    int found;
  };
  const Case cases[] = {
      {{{"apple", "go", "house"}}, true, "goat", 2},
      {{{"house", "apple", "go"}}, false, "goat", 0},  // "house" is the first not before "goat"
      {{{"house", "apple", "go"}}, false, "zebra", 2},
      {{{"apple", "go"}, {"house", "zebra"}}, true, "hat", 2},  // the second file continues the first
      {{{"go", "zebra"}, {"apple", "house"}}, false, "hat", 1},
      {{{"go", "apple"}, {"house", "zebra"}}, false, "bee", 0},  // out of order before, so after too
  };
  TempDir dir;
  for (const Case& c : cases) {
    zek::ScriptedDialogs dialogs;
    TXDatabase db;
    for (std::size_t f = 0; f < c.files.size(); ++f) {
      std::string data;
      for (std::string_view w : c.files[f]) data += std::string(w) + '\0' + "1" + '\0' + "x" + '\0';
      const auto path = dir.write("half" + std::to_string(f) + ".zek", zek::deflateZlib(data, 1));
      ASSERT_TRUE(db.LoadFromFile(zek::fromPath(path)));
    }
    if (&c == &cases[2]) db.LearnOrder();  // at an idle moment, or with the first look-up
    EXPECT_EQ(db.FindWord(c.look, -1), c.found) << c.look;
    EXPECT_EQ(db.IsSorted(), c.sorted) << c.look;
  }
}

TEST(DictDatabase, ANewOrRenamedWordMovesToItsPlace) {
  TXDatabase db;
  for (const char* w : {"Apfel", "Baum", "gehen", "Haus", "laufen", "Stra\xDF" "e", "Tisch"}) db.Append(w, "1", "x");
  ASSERT_TRUE(db.IsSorted());
  db.GotoEntry("gehen", "x");
  db.InsertEmpty();  // before "gehen", as the window's "Neuen Eintrag erzeugen" does
  for (const char* teil : {"Z", "Ze", "Zekwort"}) db.SetWord(-1, teil);  // typed letter by letter
  db.SetMeaning(-1, "zek word");
  EXPECT_EQ(db.GetWord(-1), "Zekwort");
  EXPECT_EQ(db.GetMeaning(-1), "zek word");
  EXPECT_EQ(db.Current(), db.Count() - 1);
  EXPECT_TRUE(db.IsSorted());
  struct Fall {
    const char* wort;
    const char* gefunden;
  } faelle[] = {{"Haus", "Haus"}, {"gehen", "gehen"}, {"Zekwort", "Zekwort"}, {"Tisch", "Tisch"}, {"Ha", "Haus"}};
  for (const Fall& f : faelle) {
    db.LookUp(f.wort, -1);
    EXPECT_EQ(db.GetWord(-1), f.gefunden) << f.wort;
  }
  // Renamed towards the front; the hits of the last look-up follow their entries.
  db.LookUp("Tisch", -1);
  const std::vector<int> vorher = db.Hits();
  db.SetWord(-1, "Ast");
  EXPECT_EQ(db.Current(), 1);
  EXPECT_TRUE(db.IsSorted());
  for (int hit : db.Hits()) EXPECT_NE(db.GetWord(hit), "");
  EXPECT_EQ(std::count(db.Hits().begin(), db.Hits().end(), 1), 1);
  EXPECT_EQ(db.Hits().size(), vorher.size());
  db.LookUp("Baum", -1);
  EXPECT_EQ(db.GetWord(-1), "Baum");
}

TEST(DictDatabase, LookUpFillsTheNeighbourhood) {
  TXDatabase db;
  for (char c = 'a'; c < 'a' + 20; ++c) db.Append(std::string(1, c), "1", "x");
  struct {
    const char* word;
    int current, first, last;
  } cases[] = {{"a", 0, 0, 8}, {"t", 19, 11, 19}, {"b", 1, 0, 8}, {"c", 2, 1, 9}, {"k", 10, 9, 17}, {"", 0, 0, 8}};
  for (const auto& c : cases) {
    db.Last();
    db.LookUp(c.word, -1);
    EXPECT_EQ(db.Current(), c.current) << c.word;
    ASSERT_EQ(db.Hits().size(), static_cast<std::size_t>(c.last - c.first + 1)) << c.word;
    EXPECT_EQ(db.Hits().front(), c.first);
    EXPECT_EQ(db.Hits().back(), c.last);
    EXPECT_EQ(db.HitPos(), c.current - c.first);
  }
  TXDatabase empty;
  int changes = 0;
  empty.OnChange = [&](TXDatabase&) { ++changes; };
  empty.LookUp("a", -1);
  EXPECT_EQ(changes, 0);
}

TEST(DictDatabase, SearchWholeWords) {
  TXDatabase db;
  fill(db, {{"to go", 2, "gehen"}, {"go-cart", 1, "Seifenkiste"}, {"going", 1, "Gehen"}, {"ago", 4, "vor"},
            {"(go)", 1, "x"}, {"let's go!", 5, "y"}, {"go go", 1, "z"}, {"gogo go", 1, "z"}});
  db.Search("go", false, true);
  std::vector<std::string> found;
  for (int i : db.Hits()) found.push_back(db.GetWord(i));
  EXPECT_EQ(found, (std::vector<std::string>{"to go", "go-cart", "(go)", "let's go!", "go go", "gogo go"}));
  db.Search("go", false, false);
  EXPECT_EQ(db.Hits().size(), 8u);
  db.Search("", false, false);
  EXPECT_TRUE(db.Hits().empty());
  // German text in the English-German half is searched in the meanings, without regard to case.
  db.Search("gehen", true, true);
  ASSERT_EQ(db.Hits().size(), 2u);
  EXPECT_EQ(db.GetWord(db.Hits()[0]), "to go");
  EXPECT_EQ(db.GetWord(db.Hits()[1]), "going");
}

TEST(DictDatabase, SearchGermanInTheGermanHalfSearchesWords) {
  TXDatabase db;
  db.SetGermanEnglish(true);
  fill(db, {{"Haus (n)", 1, "house"}, {"Hausaufgabe (f)", 1, "homework"}});
  db.Search("Haus", true, true);
  ASSERT_EQ(db.Hits().size(), 1u);
  EXPECT_EQ(db.Hits()[0], 0);
  db.Search("house", false, true);
  EXPECT_EQ(db.Hits().size(), 1u);
}

TEST(DictDatabase, GotoEntry) {
  TXDatabase db;
  fill(db, {{"a", 1, "x"}, {"go", 1, "Gang"}, {"go", 2, "gehen"}, {"z", 1, "y"}});
  int changes = 0;
  db.OnChange = [&](TXDatabase&) { ++changes; };
  db.GotoEntry("go", "gehen");
  EXPECT_EQ(db.Current(), 2);
  db.GotoEntry("go", "gehen");  // already there
  db.GotoEntry("missing", "x");
  db.GotoEntry("", "x");
  EXPECT_EQ(changes, 1);
  db.GotoEntry("go", "nothing like it");  // the first entry of the word
  EXPECT_EQ(db.Current(), 1);
}

TEST(DictDatabase, CheckFindsBadSeparators) {
  struct {
    const char* meaning;
    const char* message;  // nullptr: passes
  } cases[] = {
      {"gehen; laufen", nullptr},
      {"[ugs., selten] gehen", nullptr},
      {"gehen;", nullptr},
      {"gehen;laufen", "Ein Leerzeichen fehlt nach einem Semikolon!"},
      {"gehen ;laufen", "Ein Leerzeichen fehlt nach einem Semikolon!"},
      {"gehen ; laufen", "Ein Leerzeichen fehlt nach einem Semikolon!"},
      {"gehen, laufen", "Verdächtiges Komma in der Bedeutung entdeckt!"},
      {"[a] b, c", "Verdächtiges Komma in der Bedeutung entdeckt!"},
      {"[offen, b", nullptr},
  };
  for (const auto& c : cases) {
    zek::ScriptedDialogs dialogs;
    TXDatabase db;
    fill(db, {{"ok", 1, "fine"}, {"word", 1, c.meaning}, {"more", 1, "x, y"}});
    db.Check();
    if (!c.message) {
      // Only the last entry, whose comma is always found, stops the check.
      EXPECT_EQ(db.Current(), 2) << c.meaning;
      continue;
    }
    ASSERT_EQ(dialogs.texts().size(), 1u) << c.meaning;
    EXPECT_EQ(dialogs.texts()[0], W(c.message)) << c.meaning;
    EXPECT_EQ(db.Current(), 1) << c.meaning;
  }
  zek::ScriptedDialogs dialogs;
  TXDatabase db;
  fill(db, {{"a", 1, "x, y"}, {"b", 1, "fine"}});
  db.Next();  // the check starts at the cursor
  db.Check();
  EXPECT_TRUE(dialogs.texts().empty());
  EXPECT_EQ(db.Current(), 1);
}

TEST(DictDatabase, RemoveDuplicates) {
  zek::ScriptedDialogs dialogs;
  TXDatabase db;
  fill(db, {{"a", 1, "x"}, {"a", 1, "x"}, {"a", 1, "x"}, {"a", 2, "x"}, {"b", 1, "y"}, {"b", 1, "z"}, {"c", 1, "w"},
            {"c", 1, "w"}});
  db.Last();
  db.RemoveDuplicates();
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{W("2 Einträge wurden automatisch entfernt.")});
  EXPECT_EQ(db.Count(), 6);  // the walk stopped at b/y - b/z, so c/w stays twice
  EXPECT_EQ(db.Current(), 3);
  EXPECT_EQ(db.GetMeaning(-1), "z");
  EXPECT_TRUE(db.Modified(0));

  zek::ScriptedDialogs again;
  TXDatabase clean;
  fill(clean, {{"a", 1, "x"}, {"b", 1, "y"}});
  clean.AddLoaded(TXDatabase::ParseCompressed(zek::deflateZlib(clean.Records(0), 1)));  // also not modified
  TXDatabase fresh;
  fresh.AddLoaded(TXDatabase::ParseCompressed(zek::deflateZlib(records({"a", "1", "x", "b", "1", "y"}), 1)));
  fresh.RemoveDuplicates();
  EXPECT_EQ(again.texts(), std::vector<std::string>{W("0 Einträge wurden automatisch entfernt.")});
  EXPECT_FALSE(fresh.Modified(0));
}

TEST(DictDatabase, GotoRandomSkipsIdiomsAndEnds) {
  TXDatabase db;
  db.SetRandomSeed(7);
  fill(db, {{"a", 5, "x"}, {"b", 6, "y"}, {"c", 2, "z"}, {"d", 5, "w"}});
  for (int k = 0; k < 50; ++k) {
    db.GotoRandom(false);
    EXPECT_EQ(db.Current(), 2);
  }
  TXDatabase idioms;
  fill(idioms, {{"a", 5, "x"}, {"b", 6, "y"}});
  idioms.GotoRandom(false);  // would draw for ever without a bound
  EXPECT_LT(idioms.Current(), 2);
  TXDatabase empty;
  empty.GotoRandom(true);
  EXPECT_EQ(empty.Current(), 0);
}

TEST(DictDatabase, ClearEmptiesTheCurrentHalfOnly) {
  TXDatabase db;
  db.Append("a", "1", "x");
  db.SetGermanEnglish(true);
  db.Append("b", "1", "y");
  db.Clear();
  EXPECT_EQ(db.Count(), 0);
  db.SetGermanEnglish(false);
  EXPECT_EQ(db.Count(), 1);
}

TEST(DictDatabase, EditsKeepOtherEntriesIntact) {
  // Many edits make the arena compact itself; every entry must read the same afterwards.
  TXDatabase db;
  for (int i = 0; i < 200; ++i) db.Append("w" + std::to_string(i), "1", "m" + std::to_string(i));
  const std::string big(20000, 'x');
  for (int round = 0; round < 120; ++round) db.SetMeaning(5, big + std::to_string(round));
  EXPECT_EQ(db.GetMeaning(5), big + "119");
  EXPECT_EQ(db.GetWord(199), "w199");
  EXPECT_EQ(db.GetMeaning(42), "m42");
  EXPECT_LT(db.MemoryUsed(), 8u << 20);
}

TEST(DictStartup, LoadsGermanEnglishFirstAndLeavesHalfZero) {
  TempDir dir;
  TXDatabase source;
  source.Append("go", "2", "gehen");
  ASSERT_TRUE(source.WriteHalf(0, zek::fromPath(dir.path() / "e_d.zek")));
  source.SetGermanEnglish(true);
  source.Append("gehen", "2", "to go");
  source.Append("Haus (n)", "1", "house");
  ASSERT_TRUE(source.WriteHalf(1, zek::fromPath(dir.path() / "d_e.zek")));

  zek::ScriptedDialogs dialogs;
  TXDatabase db;
  std::vector<int> halves;
  db.OnChange = [&](TXDatabase& d) { halves.push_back(d.Half()); };
  zek::loadDictionaries(db, zek::fromPath(dir.path() / "e_d.zek"), zek::fromPath(dir.path() / "d_e.zek"));
  EXPECT_EQ(db.Half(), 0);
  EXPECT_EQ(db.Count(), 1);
  EXPECT_EQ(halves, (std::vector<int>{1, 1, 0, 0}));
  db.SetGermanEnglish(true);
  EXPECT_EQ(db.Count(), 2);
  EXPECT_FALSE(db.Modified(0));
  EXPECT_FALSE(db.Modified(1));
  EXPECT_TRUE(dialogs.messages().empty());

  // A half whose file start-up could not find stays empty, silently; a broken one says so.
  const auto bad = dir.write("bad.zek", "xx");
  TXDatabase partial;
  zek::loadDictionaries(partial, "", zek::fromPath(bad));
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{W("Fehler beim Laden des Wörterbuchs!")});
  EXPECT_EQ(partial.FileName(0), "");
}

}  // namespace
