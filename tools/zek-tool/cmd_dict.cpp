// SPDX-License-Identifier: GPL-3.0-or-later
// Dictionary subcommands: build the two dictionary files from the free word list, and
// show what a dictionary file holds.
#include "tools/zek-tool/command.h"

#include "dict/database.h"
#include "dict/dingconvert.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <stdexcept>

namespace {

constexpr const char* kFromDingUsage =
    "dict-from-ding SOURCE OUTDIR [--frequencies COUNTS] [--core WORDS] [--core-en TSV] [--core-de TSV]";

int dictFromDing(const std::vector<std::string>& args) {
  if (args.size() < 2) throw std::runtime_error("usage: " + std::string(kFromDingUsage));
  const auto start = std::chrono::steady_clock::now();
  const std::optional<std::string> source = zek::readFile(args[0]);
  if (!source) throw std::runtime_error("cannot read " + args[0]);
  // Freeing its millions of small texts would take a good part of the run: the converter
  // lives until the process ends.
  static TDingConverter& converter = *new TDingConverter;
  for (std::size_t i = 2; i < args.size(); i += 2) {
    const std::string& option = args[i];
    if (i + 1 >= args.size() ||
        (option != "--frequencies" && option != "--core" && option != "--core-en" && option != "--core-de"))
      throw std::runtime_error("usage: " + std::string(kFromDingUsage));
    const std::optional<std::string> text = zek::readFile(args[i + 1]);
    if (!text) throw std::runtime_error("cannot read " + args[i + 1]);
    if (option == "--frequencies") converter.addFrequencies(*text);
    else if (option == "--core") converter.addCoreText(*text);
    else converter.addCoreMeanings(*text, option == "--core-de");
  }
  converter.addText(*source);
  zek::ScriptedDialogs quiet;  // no boxes from a command-line tool
  TXDatabase db;
  converter.fill(db);
  const std::string dir = zek::withTrailingSeparator(args[1]);
  const char* names[2] = {"e_d.zek", "d_e.zek"};
  for (int half = 0; half < 2; ++half) {
    if (!db.WriteHalf(half, dir + names[half])) throw std::runtime_error("cannot write " + dir + names[half]);
  }
  const auto& st = converter.stats();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  db.SetGermanEnglish(false);
  const int english = db.Count();
  db.SetGermanEnglish(true);
  std::printf("dict-from-ding: %zu lines (%zu skipped), %d English-German and %d German-English entries\n",
              st.lines, st.skippedLines, english, db.Count());
  std::printf("  %zu pairs merged into existing headwords, %zu filed under the bare word, %zu plural forms, "
              "%zu headwords and %zu meanings left out, %zu offensive meanings marked, %.1f s\n",
              st.merged, st.folded, st.pluralForms, st.skippedWords, st.droppedMeanings, st.offensive, seconds);
  return 0;
}

int dictInfo(const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2) throw std::runtime_error("usage: dict-info FILE [N]");
  const int shown = args.size() == 2 ? std::stoi(args[1]) : 10;
  zek::ScriptedDialogs dialogs;
  TXDatabase db;
  if (!db.LoadFromFile(args[0])) {
    for (const std::string& text : dialogs.texts()) {
      printText(text);
      std::cout << "\n";
    }
    return 1;
  }
  int kinds[7] = {};
  std::size_t bytes = 0;
  for (int i = 0; i < db.Count(); ++i) {
    ++kinds[db.GetKind(i)];
    bytes += db.WordView(i).size() + db.MeaningView(i).size();
  }
  std::cout << args[0] << ": " << db.Count() << " entries, " << bytes << " bytes of text, "
            << (db.IsSorted() ? "sorted" : "not sorted") << "\n";
  for (int k = 1; k <= 6; ++k) {
    std::cout << "  " << k << " ";
    printText(TXDatabase::KindName(k));
    std::cout << ": " << kinds[k] << "\n";
  }
  for (int i = 0; i < db.Count() && i < shown; ++i) {
    std::cout << "  " << i << "\t";
    printText(db.GetWord(i));
    std::cout << "\t" << db.GetKind(i) << "\t";
    printText(db.GetMeaning(i));
    std::cout << "\n";
  }
  return 0;
}

TToolCommandRegistrar fromDing({"dict-from-ding", kFromDingUsage,
                                "convert the German :: English word list into OUTDIR/e_d.zek and OUTDIR/d_e.zek, "
                                "ranking English meanings by the word counts in COUNTS (word TAB count) and the translations of the "
                                "everyday word list WORDS (same format as SOURCE) early and the core meanings of the TSV lists "
                                "(headword TAB kind TAB meaning; meaning) before all others",
                                dictFromDing});
TToolCommandRegistrar info({"dict-info", "dict-info FILE [N]",
                            "entry count, word-kind counts and the first N (10) entries of a dictionary file", dictInfo});

}  // namespace
