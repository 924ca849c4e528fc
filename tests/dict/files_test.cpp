// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/collation.h"
#include "dict/database.h"
#include "dict/dingconvert.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "tests/common/testutil.h"

#include <QCollator>
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <random>

using zek::test::TempDir;

namespace {

std::string W(std::string_view utf8) { return zek::utf8ToCp1252(utf8); }

// ---- saving ----

struct SaveFixture : testing::Test {
  TempDir dir;
  zek::ScriptedDialogs dialogs;
  TXDatabase db;
  std::string name0, name1;

  void SetUp() override {
    TXDatabase source;
    source.Append("go", "2", "gehen");
    name0 = zek::fromPath(dir.path() / "e_d.zek");
    name1 = zek::fromPath(dir.path() / "d_e.zek");
    ASSERT_TRUE(source.WriteHalf(0, name0));
    ASSERT_TRUE(source.WriteHalf(1, name1));
    db.SetGermanEnglish(true);
    db.LoadFromFile(name1);
    db.SetGermanEnglish(false);
    db.LoadFromFile(name0);
  }
  int countIn(const std::string& name) {
    TXDatabase probe;
    probe.LoadFromFile(name);
    return probe.Count();
  }
};

TEST_F(SaveFixture, NothingChangedAsksNothing) {
  db.SaveAll();
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(SaveFixture, NoKeepsTheFiles) {
  db.Append("see", "2", "sehen");
  dialogs.answer(mb::IdNo);
  db.SaveAll();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].flags, mb::YesNo | mb::IconQuestion);
  EXPECT_EQ(countIn(name0), 1);
}

TEST_F(SaveFixture, YesSavesOnlyTheChangedHalf) {
  db.Append("see", "2", "sehen");
  dialogs.answer(mb::IdYes);
  db.SaveAll();
  EXPECT_EQ(dialogs.texts(),
            (std::vector<std::string>{
                W("Das Wörterbuch wurde verändert. Sollen diese Veränderungen gespeichert werden?"),
                W("Das Wörterbuch Englisch-Deutsch wurde erfolgreich gespeichert.")}));
  EXPECT_EQ(countIn(name0), 2);
  EXPECT_EQ(db.SavedName(0), name0);
  EXPECT_EQ(db.SavedName(1), "");
  EXPECT_EQ(db.Half(), 1);
  EXPECT_TRUE(db.Modified(0));  // saving leaves the flag
}

TEST_F(SaveFixture, ReadOnlyFileIsWrittenAnyway) {
  std::filesystem::permissions(dir.path() / "e_d.zek", std::filesystem::perms::owner_read,
                               std::filesystem::perm_options::replace);
  db.Append("see", "2", "sehen");
  dialogs.answer(mb::IdYes);
  db.SaveAll();
  EXPECT_EQ(countIn(name0), 2);
}

TEST_F(SaveFixture, FailedWriteOffersAnotherPlace) {
  // The name points below a plain file: the write fails.
  const auto blocker = dir.write("blocker", "x");
  db.Append("see", "2", "sehen");
  db.SetGermanEnglish(true);
  db.Clear();
  db.LoadFromFile(zek::fromPath(blocker / "d_e.zek"));  // remembers the name, reports the failure
  dialogs.clear();
  db.Append("sehen", "2", "to see");
  dialogs.answer(mb::IdYes);                                       // save?
  dialogs.answer(mb::IdOk);                                        // half 0 saved
  dialogs.answer(mb::IdYes);                                       // half 1 failed: elsewhere?
  dialogs.chooseFile(zek::fromPath(dir.path() / "elsewhere"));     // no extension: ".zek" is added
  db.SaveAll();
  ASSERT_EQ(dialogs.fileDialogs().size(), 1u) << testing::PrintToString(dialogs.texts());
  EXPECT_EQ(dialogs.fileDialogs()[0].title, W("Wörterbuch Deutsch-Englisch speichern"));
  EXPECT_EQ(dialogs.fileDialogs()[0].fileName, "d_e.zek");
  EXPECT_EQ(dialogs.fileDialogs()[0].filter, W("ZEK Wörterbücher (*.zek)|*.zek"));
  const std::vector<std::string> texts = dialogs.texts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[2], W("Das Wörterbuch Deutsch-Englisch konnte nicht gespeichert werden. \r"
                        "Soll es an einem anderen Ort gespeichert werden?\r\r"
                        "Achtung: Bei Nein gehen alle Veränderungen verloren."));
  EXPECT_EQ(texts[3], W("Das Wörterbuch Deutsch-Englisch wurde erfolgreich gespeichert."));
  const std::string saved = zek::fromPath(dir.path() / "elsewhere.zek");
  EXPECT_EQ(db.SavedName(1), saved);
  EXPECT_EQ(db.FileName(1), saved);
  EXPECT_EQ(countIn(saved), 1);
  EXPECT_EQ(countIn(name0), 2);
}

TEST_F(SaveFixture, CancelledDialogRetriesAndNoGivesUp) {
  db.Append("see", "2", "sehen");
  std::filesystem::remove(dir.path() / "e_d.zek");
  std::filesystem::create_directory(dir.path() / "e_d.zek");  // a directory cannot be replaced by a file
  dialogs.answer(mb::IdYes);
  dialogs.answer(mb::IdYes);
  dialogs.chooseFile(std::nullopt);  // cancelled: the old name again, which fails again
  dialogs.answer(mb::IdNo);
  db.SaveAll();
  EXPECT_EQ(dialogs.fileDialogs().size(), 1u);
  EXPECT_EQ(dialogs.messages().size(), 3u);
  EXPECT_EQ(db.SavedName(0), "");
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "e_d.zek"));
}

// ---- text export and import ----

TEST(DictText, ExportWritesFourFilesAndImportReadsThemBack) {
  TempDir dir;
  zek::ScriptedDialogs dialogs;
  TXDatabase db;
  db.Append("go", "2", "gehen; laufen");
  db.Append(W("Äpfel"), "1", "apples");
  db.SetGermanEnglish(true);
  db.Append("gehen", "2", "to go");
  dialogs.chooseFile(zek::fromPath(dir.path() / "my.dir" / "wb_.txt"));
  std::filesystem::create_directory(dir.path() / "my.dir");
  db.ExportText();
  ASSERT_EQ(dialogs.fileDialogs().size(), 1u);
  EXPECT_EQ(dialogs.fileDialogs()[0].fileName, "wb_.txt");
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Dateien wurden exportiert."});
  EXPECT_EQ(db.Half(), 1);
  const auto d = dir.path() / "my.dir";
  EXPECT_EQ(zek::readFile(d / "wb_1a.txt"), "2\tgo\r\n1\t" + W("Äpfel") + "\r\n");
  EXPECT_EQ(zek::readFile(d / "wb_1b.txt"), "gehen; laufen\r\napples\r\n");
  EXPECT_EQ(zek::readFile(d / "wb_2a.txt"), "2\tgehen\r\n");
  EXPECT_EQ(zek::readFile(d / "wb_2b.txt"), "to go\r\n");

  TXDatabase back;
  dialogs.clear();
  dialogs.chooseFile(zek::fromPath(d / "wb_2b.txt"));
  dialogs.answer(mb::IdOk);
  back.ImportText();
  EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{W("Importieren des Wörterbuchs löscht das aktuelle!"),
                                                       "Dateien wurden importiert."}));
  EXPECT_EQ(back.Half(), 1);
  EXPECT_EQ(back.Records(0), db.Records(0));
  EXPECT_EQ(back.Records(1), db.Records(1));
  EXPECT_TRUE(back.Modified(0));
}

TEST(DictText, ImportProblems) {
  TempDir dir;
  zek::ScriptedDialogs dialogs;
  TXDatabase db;
  db.Append("keep", "1", "x");
  dir.write("wb_1a.txt", "1\ta\r\n");
  dir.write("wb_1b.txt", "x\r\n");
  dir.write("wb_2a.txt", "1\ta\r\n");
  dialogs.chooseFile(zek::fromPath(dir.path() / "wb_1a.txt"));
  db.ImportText();  // 2b is missing
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Zu importierende Dateien wurden nicht gefunden!"});
  EXPECT_EQ(db.Count(), 1);

  dir.write("wb_2b.txt", "y\r\nz\r\n");
  dir.write("wb_1a.txt", "1\ta\r\nbad line\r\n2\tc\r\n");
  dir.write("wb_1b.txt", "x\r\nq\r\nr\r\n");
  dialogs.clear();
  dialogs.chooseFile(zek::fromPath(dir.path() / "wb_1a.txt"));
  dialogs.answer(mb::IdCancel);
  db.ImportText();  // cancelled: nothing changes
  EXPECT_EQ(db.Count(), 1);
  dialogs.clear();
  dialogs.chooseFile(zek::fromPath(dir.path() / "wb_1a.txt"));
  dialogs.answer(mb::IdOk);
  db.ImportText();
  ASSERT_EQ(dialogs.texts().size(), 3u);
  EXPECT_EQ(dialogs.texts()[1], "Fehler beim Import");
  db.SetGermanEnglish(false);
  EXPECT_EQ(db.Count(), 1);  // stopped at the bad line
  db.SetGermanEnglish(true);
  EXPECT_EQ(db.Count(), 1);  // in step until the shorter file ends
}

// ---- collation ----

TEST(DictCollation, FastPathAgreesWithTheCollator) {
  QCollator collator(QLocale(QLocale::German, QLocale::Germany));
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  const char* samples[] = {"a",      "A",       "ab",     "a b",    "abc",   "Abc",   "abcd",  "b",     "ba",
                           "a-b",    "a'b",     "Ä",      "äb",     "ß",     "ss",    "Zz",    "z z",   "zebra",
                           "Zebra ", "go",      "go-cart", "going", "go go", "gogo",  "to go", "To Go", "",
                           "1a",     "a1",      "(go)",   "x.y",    "xy",    "x y z", "xyz",   "é",     "e"};
  auto sign = [](int r) { return r < 0 ? -1 : (r > 0 ? 1 : 0); };
  for (const char* a : samples) {
    for (const char* b : samples) {
      const int expected = sign(collator.compare(QString::fromUtf8(a), QString::fromUtf8(b)));
      EXPECT_EQ(zek::compareWords(W(a), W(b)), expected) << a << " <> " << b;
    }
  }
}

// Every other pair of a word alphabet with the characters that collate specially
// (umlauts, sharp s, accents, punctuation, digits, soft hyphen, control characters): the
// fast path must never decide differently from the collator, whatever follows or precedes
// the first difference.
TEST(DictCollation, FastPathAgreesOnEveryCharacterContext) {
  QCollator collator(QLocale(QLocale::German, QLocale::Germany));
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  auto sign = [](int r) { return r < 0 ? -1 : (r > 0 ? 1 : 0); };
  auto viaCollator = [&](const std::string& a, const std::string& b) {
    return sign(collator.compare(QString::fromStdString(zek::cp1252ToUtf8(a)),
                                 QString::fromStdString(zek::cp1252ToUtf8(b))));
  };
  std::string plain = " 09-/.'(),!&+<=>?@[]_`{|}~$%*;:\"#\\^" + W("äÄáÀçéÈëñöÔüÛýÿŸšŽ");
  for (char c = 'a'; c <= 'z'; ++c) plain += {c, static_cast<char>(c - 32)};
  const std::string others = W("mzA Z5aäÄâoÖuü-/'.");
  int checked = 0;
  for (int code = 1; code < 256; ++code) {
    const std::string c(1, static_cast<char>(code));
    for (const char x : plain) {
      for (const char y : others) {
        // c as the shared prefix, and c following the first difference.
        for (const auto& [a, b] : {std::pair{c + x, c + y}, std::pair{c + x + "q", c + y}, std::pair{x + c, std::string(1, y)},
                                   std::pair{std::string(1, x) + "b" + c, std::string(1, y) + "b"}}) {
          ASSERT_EQ(zek::compareWords(a, b), viaCollator(a, b)) << zek::cp1252ToUtf8(a) << " <> " << zek::cp1252ToUtf8(b);
          ++checked;
        }
      }
    }
  }
  // Random words over a small alphabet, so that long shared prefixes are common.
  const std::string alphabet = W("aAbBeE zZ-'.(1ÄäöÖüßéÈàÅæøœ9") + "\xAD\x01";
  std::mt19937 rng(7);
  auto randomWord = [&] {
    std::string w;
    const int n = static_cast<int>(rng() % 6);
    for (int i = 0; i < n; ++i) w += alphabet[rng() % alphabet.size()];
    return w;
  };
  for (int k = 0; k < 20000; ++k) {
    const std::string a = randomWord(), b = randomWord();
    ASSERT_EQ(zek::compareWords(a, b), viaCollator(a, b)) << zek::cp1252ToUtf8(a) << " <> " << zek::cp1252ToUtf8(b);
  }
  // Longer words of the fast path's own letters, where accents and case differ before or
  // after the first primary difference.
  const std::string letters = W("aAäÄàeEéÉoOöÖuüÜ 09-/.'()");
  for (int k = 0; k < 20000; ++k) {
    std::string a, b;
    const int n = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < n; ++i) {
      a += letters[rng() % letters.size()];
      b += rng() % 3 ? a.back() : letters[rng() % letters.size()];
    }
    if (rng() % 4 == 0) b += letters[rng() % letters.size()];
    ASSERT_EQ(zek::compareWords(a, b), viaCollator(a, b)) << zek::cp1252ToUtf8(a) << " <> " << zek::cp1252ToUtf8(b);
  }
  EXPECT_GT(checked, 100000);
}

// Words that share a long beginning: the equal bytes are skipped in blocks, so the first
// difference may fall on any position inside a block or in the tail after the last one.
TEST(DictCollation, LongSharedBeginningsAgreeWithCollator) {
  QCollator collator(QLocale(QLocale::German, QLocale::Germany));
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  auto viaCollator = [&](const std::string& a, const std::string& b) {
    const int r = collator.compare(QString::fromStdString(zek::cp1252ToUtf8(a)),
                                   QString::fromStdString(zek::cp1252ToUtf8(b)));
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
  };
  const std::string letters = W("aAäÄeEéoOöuüÜß 09-.'") + "\xAD";
  std::mt19937 rng(11);
  for (int k = 0; k < 20000; ++k) {
    std::string shared;
    const int n = static_cast<int>(rng() % 26);
    for (int i = 0; i < n; ++i) shared += letters[rng() % letters.size()];
    std::string a = shared, b = shared;
    const int tailA = static_cast<int>(rng() % 4), tailB = static_cast<int>(rng() % 4);
    for (int i = 0; i < tailA; ++i) a += letters[rng() % letters.size()];
    for (int i = 0; i < tailB; ++i) b += letters[rng() % letters.size()];
    ASSERT_EQ(zek::compareWords(a, b), viaCollator(a, b)) << zek::cp1252ToUtf8(a) << " <> " << zek::cp1252ToUtf8(b);
  }
  // Case and accent differences inside the shared block, a primary one after it.
  EXPECT_LT(zek::compareWords(W("Ablaufdatumsanzeige a"), W("ablaufdatumsanzeige b")), 0);
  EXPECT_GT(zek::compareWords(W("Ablaufdätumsanzeige b"), W("ablaufdatumsanzeige a")), 0);
  EXPECT_EQ(zek::compareWords(W("ABLAUFDATUMSANZEIGEN"), W("ablaufdatumsanzeigen")), 0);
}

// ---- file format: plain zlib streams both ways ----

std::string zlibInflate(const std::string& packed, std::size_t size) {
  std::string out(size, '\0');
  uLongf have = size;
  if (uncompress(reinterpret_cast<Bytef*>(out.data()), &have, reinterpret_cast<const Bytef*>(packed.data()),
                 packed.size()) != Z_OK)
    return "(broken)";
  out.resize(have);
  return out;
}

std::string zlibDeflate(const std::string& data, int level) {
  uLongf size = compressBound(data.size());
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()), data.size(),
            level);
  out.resize(size);
  return out;
}

TEST(DictFileFormat, SavedHalfIsAZlibStreamThatZlibReads) {
  TempDir dir;
  TXDatabase db;
  db.Append("go", "2", "gehen");
  db.Append(W("Bär"), "1", W("bear; Bär"));
  for (int i = 0; i < 5000; ++i) db.Append("word" + std::to_string(i), "3", "Wort " + std::to_string(i));
  const std::string name = zek::fromPath(dir.path() / "e_d.zek");
  ASSERT_TRUE(db.WriteHalf(0, name));
  const std::string packed = *zek::readFile(dir.path() / "e_d.zek");
  ASSERT_GE(packed.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(packed[0]), 0x78);
  EXPECT_EQ(static_cast<unsigned char>(packed[1]), 0x01);  // the header zlib writes for level 1
  EXPECT_EQ(zlibInflate(packed, 1u << 20), db.Records(0));
}

TEST(DictFileFormat, ReadsWhatZlibWroteAtEveryLevel) {
  const std::string records = std::string("go\0" "2\0" "gehen\0", 11) + W("Bär") + std::string("\0" "1\0", 3) +
                              W("bear; Bär") + std::string(1, '\0');
  for (int level : {0, 1, 6, 9}) {
    TXDatabase db;
    ASSERT_TRUE(db.AddLoaded(TXDatabase::ParseCompressed(zlibDeflate(records, level)))) << level;
    ASSERT_EQ(db.Count(), 2) << level;
    EXPECT_EQ(db.GetWord(1), W("Bär"));
    EXPECT_EQ(db.GetMeaning(1), W("bear; Bär"));
    EXPECT_EQ(db.Records(0), records) << level;
  }
}

struct StreamCase {
  const char* what;
  std::string bytes;
  bool ok;
  int count;
};

TEST(DictFileFormat, StreamsThatInflateFarOrNotAtAll) {
  // One record repeated compresses a thousandfold, beyond the first guess of the size.
  std::string repeated;
  for (int i = 0; i < 200000; ++i) repeated += std::string("aa\0" "1\0" "bb\0", 8);
  const std::string packed = zlibDeflate(repeated, 9);
  std::string trailing = zlibDeflate(std::string("go\0" "2\0" "gehen\0", 11), 1) + "junk";
  const StreamCase cases[] = {
      {"far beyond the guess", packed, true, 200000},
      {"bytes after the stream", trailing, true, 1},
      {"truncated", packed.substr(0, packed.size() / 2), false, 0},
      {"broken check sum", packed.substr(0, packed.size() - 1) + "x", false, 0},
      {"not zlib", "plain text", false, 0},
      {"empty", "", false, 0},
  };
  zek::ScriptedDialogs quiet;
  for (const StreamCase& c : cases) {
    TXDatabase db;
    EXPECT_EQ(db.AddLoaded(TXDatabase::ParseCompressed(c.bytes)), c.ok) << c.what;
    EXPECT_EQ(db.Count(), c.count) << c.what;
  }
}

// A word set from a view into its own arena survives the arena growing under it.
TEST(DictArena, SettingATextFromItsOwnViewWhileTheArenaGrows) {
  TXDatabase db;
  db.Append(std::string(5000, 'x') + "house", "1", "Haus");
  for (int i = 0; i < 50; ++i) {
    db.SetWord(0, db.WordView(0));
    db.SetMeaning(0, db.MeaningView(0));
  }
  EXPECT_EQ(db.GetWord(0), std::string(5000, 'x') + "house");
  EXPECT_EQ(db.GetMeaning(0), "Haus");
}

// ---- conversion of the free word list ----

TEST(DictConvert, MapsKindsCommentsAndSeparators) {
  TDingConverter converter;
  converter.addText(
      "# comment line\n"
      "Haus {n} [arch.] | Häuser {pl} :: house | houses\n"
      "gehen {vi} | gehend :: to go | going\n"
      "schnell {adj} :: fast; quick, rapid\n"
      "mit {prp; +Dat.} :: with\n"
      "einen Fehler machen :: to make a mistake\n"
      "auf Wiedersehen :: goodbye\n"
      "Aal {m} (auf der Speisekarte) [cook.] :: eel <eal>\n"
      "Bank {f} :: bank\n"
      "Ufer {n} :: bank\n"
      "Łódź {f} :: Lodz\n"
      "kaputt :: broken\n"
      "bad line without separator\n");
  zek::ScriptedDialogs quiet;
  TXDatabase db;
  converter.fill(db);
  EXPECT_EQ(converter.stats().skippedLines, 1u);
  EXPECT_EQ(converter.stats().skippedWords, 1u);  // Ł has no Windows-1252 code
  EXPECT_EQ(converter.stats().pluralForms, 1u);
  auto entry = [&](std::string_view word, int kind) {
    const int i = db.FindWord(W(word), kind);
    EXPECT_EQ(zek::cp1252ToUtf8(db.GetWord(i)), word);
    EXPECT_EQ(db.GetKind(i), kind) << word;
    return zek::cp1252ToUtf8(db.GetMeaning(i));
  };
  EXPECT_EQ(entry("house", 1), "[arch.] Haus (n)");
  EXPECT_EQ(entry("go", 2), "gehen");
  EXPECT_EQ(entry("going", 2), "gehend");
  EXPECT_EQ(entry("fast", 3), "schnell");
  EXPECT_EQ(entry("with", 4), "mit");
  EXPECT_EQ(entry("make a mistake", 5), "einen Fehler machen");  // filed without "to", as looked up
  EXPECT_EQ(entry("goodbye", 6), "auf Wiedersehen");
  EXPECT_EQ(entry("eel", 1), "[auf der Speisekarte, cook.] Aal (m)");
  EXPECT_EQ(entry("bank", 1), "Bank (f); Ufer (n)");  // merged
  EXPECT_EQ(entry("broken", 1), "kaputt");
  db.SetGermanEnglish(true);
  EXPECT_EQ(entry("Haus (n)", 1), "[arch.] house");
  EXPECT_EQ(entry("schnell", 3), "fast; quick; rapid");
  EXPECT_EQ(entry("gehen", 2), "to go");
  EXPECT_TRUE(db.IsSorted());
}

// The installed dictionary (converted at build time) must pass the meaning checks.
TEST(DictConvert, InstalledDictionaryPassesCheck) {
  for (const char* name : {"e_d.zek", "d_e.zek"}) {
    const std::string file = zek::fromPath(zek::test::distDir() / "ZEK_E" / name);
    if (!zek::fileExists(file)) GTEST_SKIP() << "installation not assembled";
    zek::ScriptedDialogs dialogs;
    TXDatabase db;
    ASSERT_TRUE(db.LoadFromFile(file));
    EXPECT_GT(db.Count(), 2000);
    EXPECT_TRUE(db.IsSorted());
    db.Check();
    EXPECT_TRUE(dialogs.texts().empty()) << name << ": " << zek::cp1252ToUtf8(db.GetWord(-1)) << " = "
                                         << zek::cp1252ToUtf8(db.GetMeaning(-1));
  }
}

}  // namespace

namespace {

// The word list the build falls back on without the Debian package.
TEST(DictConvert, FallbackWordListMakesTwoFullHalves) {
  const auto source = zek::readFile(zek::test::sourceDir() / "content" / "dict" / "grundwortschatz.txt");
  ASSERT_TRUE(source);
  TDingConverter converter;
  converter.addText(*source);
  EXPECT_EQ(converter.stats().skippedLines, 0u);
  EXPECT_EQ(converter.stats().skippedWords, 0u);
  zek::ScriptedDialogs dialogs;
  TXDatabase db;
  converter.fill(db);
  for (int half = 0; half < 2; ++half) {
    db.SetGermanEnglish(half == 1);
    EXPECT_GE(db.Count(), 2000);
    db.First();
    db.Check();
    EXPECT_TRUE(dialogs.texts().empty()) << zek::cp1252ToUtf8(db.GetWord(-1));
  }
  db.SetGermanEnglish(false);
  EXPECT_EQ(db.GetMeaning(db.FindWord("go", 2)), "gehen; fahren");
}

}  // namespace
