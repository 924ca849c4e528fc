// SPDX-License-Identifier: GPL-3.0-or-later
// The dictionary database on the full converted dictionary of the installation.
#include "bench/benchapp.h"
#include "platform/codec.h"
#include "dict/database.h"
#include "dict/dingconvert.h"
#include "dict/startup.h"
#include "dict/thitsmodel.h"
#include "dict/txwb.h"
#include "media/tspeech.h"
#include "media/txwavebase.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <QLineEdit>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <unistd.h>

namespace {

std::filesystem::path distDir() {
  if (const char* env = std::getenv("ZEK_DIST_DIR")) return env;
  return std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "dist";
}

std::string dictFile(const char* name) { return zek::fromPath(distDir() / "ZEK_E" / name); }

bool haveFiles(benchmark::State& state) {
  if (zek::fileExists(dictFile("e_d.zek")) && zek::fileExists(dictFile("d_e.zek"))) return true;
  state.SkipWithError("dictionary files missing (build the installation first)");
  return false;
}

// Both halves, loaded once for the read-only benchmarks.
TXDatabase& loaded() {
  static TXDatabase* db = [] {
    benchApp();  // as in the program, the application (and with it the locale) comes first
    auto* d = new TXDatabase;
    zek::ScriptedDialogs quiet;
    zek::loadDictionaries(*d, dictFile("e_d.zek"), dictFile("d_e.zek"));
    return d;
  }();
  return *db;
}

void BM_LoadBothHalves(benchmark::State& state) {
  if (!haveFiles(state)) return;
  zek::ScriptedDialogs quiet;
  std::size_t entries = 0, memory = 0, records = 0;
  for (auto _ : state) {
    TXDatabase db;
    zek::loadDictionaries(db, dictFile("e_d.zek"), dictFile("d_e.zek"));
    entries = db.Count();
    memory = db.MemoryUsed();
    state.PauseTiming();
    records = db.Records(0).size() + db.Records(1).size();
    state.ResumeTiming();
  }
  state.counters["entries_half0"] = static_cast<double>(entries);
  state.counters["memory_MB"] = memory / 1e6;
  state.counters["decompressed_MB"] = records / 1e6;
  state.counters["memory_ratio"] = static_cast<double>(memory) / static_cast<double>(records);
}
BENCHMARK(BM_LoadBothHalves)->Unit(benchmark::kMillisecond)->Iterations(10)->MeasureProcessCPUTime()->UseRealTime();

void BM_SortShuffledHalf(benchmark::State& state) {
  if (!haveFiles(state)) return;
  TXDatabase& src = loaded();
  src.SetGermanEnglish(false);
  std::vector<int> order(src.Count());
  for (int i = 0; i < src.Count(); ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), std::mt19937(42));
  for (auto _ : state) {
    state.PauseTiming();
    TXDatabase db;
    for (int i : order) db.Append(src.WordView(i), std::to_string(src.GetKind(i)), src.MeaningView(i));
    state.ResumeTiming();
    db.Sort();
    benchmark::DoNotOptimize(db.Current());
  }
}
BENCHMARK(BM_SortShuffledHalf)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LookUp(benchmark::State& state) {
  if (!haveFiles(state)) return;
  TXDatabase& db = loaded();
  db.SetGermanEnglish(false);
  db.LookUp("a", -1);  // the first look-up learns that the half is sorted
  const char* words[] = {"house", "go", "zebra", "Abendessen", "take off", "quickly", "the", "xylophone", "mouse"};
  std::size_t k = 0;
  for (auto _ : state) {
    db.LookUp(words[k++ % std::size(words)], 1);
    benchmark::DoNotOptimize(db.Current());
  }
}
BENCHMARK(BM_LookUp)->Unit(benchmark::kMicrosecond);

// The first look-up after a load: straight away (it learns the half's order itself), or
// once the window has learned the order at its first idle moment (argument 1).
void BM_FirstLookUp(benchmark::State& state) {
  if (!haveFiles(state)) return;
  zek::ScriptedDialogs quiet;
  for (auto _ : state) {
    state.PauseTiming();
    TXDatabase db;
    db.LoadFromFile(dictFile("e_d.zek"));
    if (state.range(0) != 0) db.LearnOrder();
    state.ResumeTiming();
    db.LookUp("house", 1);
    benchmark::DoNotOptimize(db.Current());
  }
}
BENCHMARK(BM_FirstLookUp)->ArgName("after_idle")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

// The order check a loaded half leaves to an idle moment (or to its first look-up).
void BM_LearnOrderBothHalves(benchmark::State& state) {
  if (!haveFiles(state)) return;
  zek::ScriptedDialogs quiet;
  for (auto _ : state) {
    state.PauseTiming();
    TXDatabase db;
    zek::loadDictionaries(db, dictFile("e_d.zek"), dictFile("d_e.zek"));
    state.ResumeTiming();
    db.LearnOrder();
    benchmark::DoNotOptimize(db.IsSorted());
  }
}
BENCHMARK(BM_LearnOrderBothHalves)->Unit(benchmark::kMillisecond)->Iterations(5);


void BM_Search(benchmark::State& state) {
  if (!haveFiles(state)) return;
  TXDatabase& db = loaded();
  db.SetGermanEnglish(false);  // the larger half; German text is searched in its meanings
  const bool whole = state.range(0) != 0;
  std::size_t hits = 0;
  for (auto _ : state) {
    db.Search("Haus", true, whole);
    hits = db.Hits().size();
  }
  state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_Search)->Arg(0)->Arg(1)->ArgName("whole")->Unit(benchmark::kMillisecond);

void BM_SearchWords(benchmark::State& state) {
  if (!haveFiles(state)) return;
  TXDatabase& db = loaded();
  db.SetGermanEnglish(false);
  for (auto _ : state) {
    db.Search("go", false, true);
    benchmark::DoNotOptimize(db.Hits().size());
  }
}
BENCHMARK(BM_SearchWords)->Unit(benchmark::kMillisecond);

void BM_RemoveDuplicates(benchmark::State& state) {
  if (!haveFiles(state)) return;
  zek::ScriptedDialogs quiet;
  for (auto _ : state) {
    state.PauseTiming();
    TXDatabase db;
    db.LoadFromFile(dictFile("e_d.zek"));
    state.ResumeTiming();
    db.RemoveDuplicates();
  }
}
BENCHMARK(BM_RemoveDuplicates)->Unit(benchmark::kMillisecond)->Iterations(5);

// The parts of saving one half: the records, then their compression.
void BM_RecordsOfHalf(benchmark::State& state) {
  if (!haveFiles(state)) return;
  TXDatabase& db = loaded();
  for (auto _ : state) benchmark::DoNotOptimize(db.Records(0).size());
}
BENCHMARK(BM_RecordsOfHalf)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_CompressHalf(benchmark::State& state) {
  if (!haveFiles(state)) return;
  const std::string records = loaded().Records(0);
  for (auto _ : state) benchmark::DoNotOptimize(zek::deflateZlib(records, 1).size());
  state.counters["MB_per_s"] = benchmark::Counter(static_cast<double>(records.size()) * state.iterations() / 1e6,
                                                  benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CompressHalf)->Unit(benchmark::kMillisecond)->Iterations(5);

// Reading one half from memory: inflating, parsing into the arena, the order check.
void BM_ParseHalf(benchmark::State& state) {
  if (!haveFiles(state)) return;
  const std::string bytes = *zek::readFile(zek::toPath(dictFile("e_d.zek")));
  for (auto _ : state) benchmark::DoNotOptimize(TXDatabase::ParseCompressed(bytes).count());
}
BENCHMARK(BM_ParseHalf)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_SaveAll(benchmark::State& state) {
  if (!haveFiles(state)) return;
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("zek-bench-dict-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  for (const char* name : {"e_d.zek", "d_e.zek"})
    std::filesystem::copy_file(dictFile(name), dir / name, std::filesystem::copy_options::overwrite_existing);
  for (auto _ : state) {
    state.PauseTiming();
    zek::ScriptedDialogs dialogs;
    TXDatabase db;
    zek::loadDictionaries(db, zek::fromPath(dir / "e_d.zek"), zek::fromPath(dir / "d_e.zek"));
    db.SetKind(0, 2);
    db.SetGermanEnglish(true);
    db.SetKind(0, 2);
    dialogs.answer(mb::IdYes);
    state.ResumeTiming();
    db.SaveAll();
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SaveAll)->Unit(benchmark::kMillisecond)->Iterations(3)->MeasureProcessCPUTime()->UseRealTime();

// The build's conversion of the full German-English word list with the learner's lists
// (the word counts, the everyday words and the core meanings), into an empty database.
void BM_ConvertFullSource(benchmark::State& state) {
  const char* source = "/usr/share/trans/de-en";
  const std::filesystem::path content =
      (std::getenv("ZEK_SOURCE_DIR") ? std::filesystem::path(std::getenv("ZEK_SOURCE_DIR"))
                                     : std::filesystem::canonical("/proc/self/exe").parent_path().parent_path().parent_path()) /
      "content" / "dict";
  const auto text = zek::readFile(source);
  const auto counts = zek::readFile(content / "englisch-haeufigkeit.txt");
  const auto everyday = zek::readFile(content / "grundwortschatz.txt");
  const auto coreEn = zek::readFile(content / "kernbedeutungen-en.tsv");
  const auto coreDe = zek::readFile(content / "kernbedeutungen-de.tsv");
  if (!text || !counts || !everyday || !coreEn || !coreDe) {
    state.SkipWithError("word list (trans-de-en) or content/dict missing");
    return;
  }
  zek::ScriptedDialogs quiet;
  int entries = 0;
  for (auto _ : state) {
    auto converter = std::make_unique<TDingConverter>();
    auto db = std::make_unique<TXDatabase>();
    converter->addFrequencies(*counts);
    converter->addCoreText(*everyday);
    converter->addCoreMeanings(*coreEn, false);
    converter->addCoreMeanings(*coreDe, true);
    converter->addText(*text);
    converter->fill(*db);
    entries = db->Count();
    state.PauseTiming();  // the tool leaves the teardown to the end of the process
    converter.reset();
    db.reset();
    state.ResumeTiming();
  }
  state.counters["entries_half0"] = entries;
}
BENCHMARK(BM_ConvertFullSource)->Unit(benchmark::kMillisecond)->Iterations(1)->MeasureProcessCPUTime()->UseRealTime();

// ---- the dictionary window over the full dictionary ----

// A recordings store of the size the installation ships (every 100th English word of the
// dictionary, all sharing one real file), so the speech check looks up and stats as it
// does for the learner.
TXWaveBase& speechStore() {
  static TXWaveBase* store = [] {
    auto* st = new TXWaveBase;
    const std::filesystem::path wav =
        std::filesystem::temp_directory_path() / ("zek-bench-wb-" + std::to_string(getpid()) + ".wav");
    zek::writeFileAtomic(wav, "RIFF");
    TXDatabase& db = loaded();
    db.SetGermanEnglish(false);
    for (int i = 0; i < db.Count(); i += 100) st->append(db.WordView(i), zek::fromPath(wav));
    st->sortStore();
    zek::setSpeechStore(st);
    return st;
  }();
  return *store;
}

// The window, shown at its smallest width on the search panel of English-German.
TXWb& window() {
  static TXWb* w = [] {
    benchApp();
    speechStore();
    auto* win = new TXWb(loaded());
    loaded().SetGermanEnglish(false);
    win->show();
    win->resize(592, win->height());
    QCoreApplication::processEvents();
    return win;
  }();
  return *w;
}

void paintGrid(TXWb& w) {
  w.grid()->viewport()->repaint();
  QCoreApplication::processEvents();
}

// "e" in the English words: most of the half.
void BM_SearchE(benchmark::State& state) {
  if (!haveFiles(state)) return;
  TXDatabase& db = loaded();
  db.SetGermanEnglish(false);
  for (auto _ : state) db.Search("e", false, false);
  state.counters["hits"] = static_cast<double>(db.Hits().size());
}
BENCHMARK(BM_SearchE)->Unit(benchmark::kMillisecond);

// The same from the window's button, until the grid is painted; minus BM_SearchE it is
// the cost of showing the hits.
void BM_WindowSearchEShown(benchmark::State& state) {
  if (!haveFiles(state)) return;
  TXWb& w = window();
  w.showPanel(TXWb::pnSuchen);
  w.searchEdit()->setText("e");
  for (auto _ : state) {
    w.SuchenClick();
    paintGrid(w);
  }
  state.counters["rows"] = static_cast<double>(w.hitsModel()->rowCount());
}
BENCHMARK(BM_WindowSearchEShown)->Unit(benchmark::kMillisecond);

// A keystroke in the browse field until the grid is painted. As typed: the window
// listens to edits, not to every change of the text.
void typeKeyword(TXWb& w, const QString& text) {
  w.keywordEdit()->setText(text);
  emit w.keywordEdit()->textEdited(text);
  paintGrid(w);
}

// One keystroke on the browse panel: LookUp, nine neighbours into the grid, painted.
void BM_BrowseKeystroke(benchmark::State& state) {
  if (!haveFiles(state)) return;
  TXWb& w = window();
  w.showPanel(TXWb::pnBlaettern);
  const char* typed[] = {"h", "ho", "hou", "hous", "house", "z", "ze", "zeb", "a", "ab", "abs"};
  std::size_t k = 0;
  for (auto _ : state) typeKeyword(w, QString::fromLatin1(typed[k++ % std::size(typed)]));
  state.counters["rows"] = static_cast<double>(w.hitsModel()->rowCount());
}
BENCHMARK(BM_BrowseKeystroke)->Unit(benchmark::kMicrosecond);

// The same, typing the first letters of words spread over the whole half, so nearly
// every keystroke shows rows the grid has not drawn before.
void BM_BrowseKeystrokeNewRows(benchmark::State& state) {
  if (!haveFiles(state)) return;
  TXWb& w = window();
  w.showPanel(TXWb::pnBlaettern);
  TXDatabase& db = loaded();
  int k = 0;
  for (auto _ : state) {
    k = (k + 7919) % db.Count();
    typeKeyword(w, zek::toQString(db.WordView(k).substr(0, 4)));
  }
}
BENCHMARK(BM_BrowseKeystrokeNewRows)->Unit(benchmark::kMicrosecond);

// The speech button's check alone, on English words with and without a recording.
void BM_SpeechCheck(benchmark::State& state) {
  if (!haveFiles(state)) return;
  TXWb& w = window();
  w.showPanel(TXWb::pnBearbeiten);
  TXDatabase& db = loaded();
  db.LookUp("house", -1);
  std::size_t shown = 0, checks = 0;
  for (auto _ : state) {
    state.PauseTiming();
    db.Next();
    state.ResumeTiming();
    shown += w.UpdateSpeechButton();
    ++checks;
  }
  state.counters["with_recording"] = static_cast<double>(shown) / static_cast<double>(checks);
}
BENCHMARK(BM_SpeechCheck)->Unit(benchmark::kMicrosecond)->Iterations(20000);

// A whole cursor move on the edit panel: the fields, the speech check, the follower.
void BM_CursorMoveOnEditPanel(benchmark::State& state) {
  if (!haveFiles(state)) return;
  TXWb& w = window();
  w.showPanel(TXWb::pnBearbeiten);
  TXDatabase& db = loaded();
  db.LookUp("house", -1);
  bool forward = true;
  for (auto _ : state) {
    forward ? db.Next() : db.Prior();
    forward = !forward;
  }
}
BENCHMARK(BM_CursorMoveOnEditPanel)->Unit(benchmark::kMicrosecond);

void BM_CreateWindow(benchmark::State& state) {
  if (!haveFiles(state)) return;
  benchApp();
  TXDatabase& db = loaded();
  for (auto _ : state) {
    auto* w = new TXWb(db);
    benchmark::DoNotOptimize(w);
    state.PauseTiming();
    delete w;
    state.ResumeTiming();
  }
}
BENCHMARK(BM_CreateWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
