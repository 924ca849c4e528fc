#include "vocab/tvokabelformat.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QXmlStreamReader>

#include <string>
#include <vector>

namespace {

std::vector<TVokabel> entries(int n) {
  std::vector<TVokabel> out;
  for (int i = 0; i < n; ++i) {
    TVokabel v;
    v.Vokabel = "word" + std::to_string(i);
    v.Bedeutung1 = "Wort" + std::to_string(i) + "; Begriff";
    v.Kontext1 = "This is [word" + std::to_string(i) + "] in a sentence.";
    out.push_back(std::move(v));
  }
  return out;
}

// Importing 10,000 entries from another program's file, each format.
void BM_ImportText(benchmark::State& state) {
  const TVokabelFormat& format = vokabelFormat(TAustauschFormat::Text);
  const std::string text = format.schreiben(entries(10000), {});
  for (auto _ : state)
    benchmark::DoNotOptimize(format.lesen(text, TAustauschRichtung::Automatisch).eintraege.size());
}
BENCHMARK(BM_ImportText)->Unit(benchmark::kMillisecond);

void BM_ImportKvtml(benchmark::State& state) {
  const TVokabelFormat& format = vokabelFormat(TAustauschFormat::Kvtml);
  const std::string xml = format.schreiben(entries(10000), {});
  for (auto _ : state)
    benchmark::DoNotOptimize(format.lesen(xml, TAustauschRichtung::Automatisch).eintraege.size());
}
BENCHMARK(BM_ImportKvtml)->Unit(benchmark::kMillisecond);

// The floor under BM_ImportKvtml: the same file only tokenised by QXmlStreamReader, with
// nothing kept. What the import costs beyond this is ours.
void BM_KvtmlTokensOnly(benchmark::State& state) {
  const std::string xml = vokabelFormat(TAustauschFormat::Kvtml).schreiben(entries(10000), {});
  for (auto _ : state) {
    QXmlStreamReader x(QByteArray::fromRawData(xml.data(), static_cast<qsizetype>(xml.size())));
    long tokens = 0;
    while (!x.atEnd()) {
      x.readNext();
      ++tokens;
    }
    benchmark::DoNotOptimize(tokens);
  }
}
BENCHMARK(BM_KvtmlTokensOnly)->Unit(benchmark::kMillisecond);

}  // namespace
