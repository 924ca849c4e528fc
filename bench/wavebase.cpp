// SPDX-License-Identifier: GPL-3.0-or-later
// The recordings store at 10,000 entries: finding a word's recording (the quiz and the
// editor ask for every word shown), loading, sorting and saving.
#include "media/txwavebase.h"
#include "media/mediacommand.h"
#include "media/tmediaservice.h"
#include "media/twaverec.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <unistd.h>

namespace {

constexpr int kEntries = 10000;

// Words as the shipped lists have them: mostly plain, some with umlauts, phrases and
// the "word (remark)" and "word, form" shapes the prefix steps look for.
std::vector<TWaveEntry> makeEntries() {
  std::mt19937 rng(7);
  const char* syllables[] = {"ba", "ker", "lin", "mo", "ta", "ri", "son", "\xE4n", "pe", "qu", "st", "ow"};
  std::vector<TWaveEntry> entries;
  for (int i = 0; i < kEntries; ++i) {
    std::string w;
    const int n = 2 + static_cast<int>(rng() % 3);
    for (int k = 0; k < n; ++k) w += syllables[rng() % 12];
    if (i % 7 == 0) w += " (noun)";
    if (i % 11 == 0) w += ", " + w.substr(0, 3);
    if (i % 5 == 0) w = "to " + w;
    entries.push_back({w, "XE:\\Woerter\\" + w.substr(0, 1) + "\\" + std::to_string(i) + ".wav"});
  }
  return entries;
}

const std::vector<TWaveEntry>& entries() {
  static const std::vector<TWaveEntry> e = makeEntries();
  return e;
}

TXWaveBase& filled() {
  static TXWaveBase* store = [] {
    auto* s = new TXWaveBase;
    for (const TWaveEntry& e : entries()) s->append(e.word, e.file);
    s->findRecording("x");  // builds the index
    return s;
  }();
  return *store;
}

void BM_FindRecordingHit(benchmark::State& state) {
  TXWaveBase& store = filled();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(store.findRecording(entries()[i % kEntries].word));
    i += 7919;
  }
}
BENCHMARK(BM_FindRecordingHit);

void BM_FindRecordingPrefix(benchmark::State& state) {
  TXWaveBase& store = filled();
  // "word" finds "word (noun)" only through the prefix steps.
  std::vector<std::string> words;
  for (const TWaveEntry& e : entries()) {
    const std::size_t p = e.word.find(" (");
    if (p != std::string::npos) words.push_back(e.word.substr(0, p));
  }
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(store.findRecording(words[i++ % words.size()]));
}
BENCHMARK(BM_FindRecordingPrefix);

void BM_FindRecordingMiss(benchmark::State& state) {
  TXWaveBase& store = filled();
  for (auto _ : state) benchmark::DoNotOptimize(store.findRecording("no such word here"));
}
BENCHMARK(BM_FindRecordingMiss);

std::string tempFile() {
  static const std::string name = zek::fromPath(std::filesystem::temp_directory_path() /
                                                ("zek-bench-wavebase-" + std::to_string(::getpid()) + ".zek"));
  return name;
}

void BM_LoadStore(benchmark::State& state) {
  zek::writeFileAtomic(zek::toPath(tempFile()), TXWaveBase::writeCompressed(entries()));
  zek::ScriptedDialogs quiet;
  for (auto _ : state) {
    TXWaveBase store;
    store.loadStore(tempFile());
    if (store.count() != kEntries) state.SkipWithError("store not read whole");
    benchmark::DoNotOptimize(store.findRecording("x"));  // the first lookup builds the index
  }
  std::filesystem::remove(zek::toPath(tempFile()));
}
BENCHMARK(BM_LoadStore)->Unit(benchmark::kMillisecond);

void BM_SortStore(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    TXWaveBase store;
    for (const TWaveEntry& e : entries()) store.append(e.word, e.file);
    state.ResumeTiming();
    store.sortStore();
  }
}
BENCHMARK(BM_SortStore)->Unit(benchmark::kMillisecond);

void BM_SaveStore(benchmark::State& state) {
  TXWaveBase& store = filled();
  for (auto _ : state) {
    if (!store.saveStore(tempFile())) state.SkipWithError("cannot write");
  }
  std::filesystem::remove(zek::toPath(tempFile()));
}
BENCHMARK(BM_SaveStore)->Unit(benchmark::kMillisecond);

// The lab's and the editor's timers ask the recorder for its mode and position.
void BM_RecorderPoll(benchmark::State& state) {
  setenv("ZEK_AUDIO", "null", 1);
  tWaveRec& rec = zek::ensureWaveRec();
  for (auto _ : state) {
    benchmark::DoNotOptimize(rec.mode());
    benchmark::DoNotOptimize(rec.position());
  }
  zek::freeWaveRec();
  zek::setMediaService(nullptr);
}
BENCHMARK(BM_RecorderPoll);

}  // namespace
