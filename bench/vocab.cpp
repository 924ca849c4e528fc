// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"
#include "vocab/tbibliothek.h"
#include "vocab/vokabeldatei.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

namespace {

namespace fs = std::filesystem;

class TTempVerzeichnis {
 public:
  explicit TTempVerzeichnis(const std::string& name) {
    m_pfad = fs::temp_directory_path() / (name + "-" + std::to_string(std::random_device{}()));
    fs::create_directories(m_pfad);
  }
  ~TTempVerzeichnis() {
    std::error_code ec;
    fs::remove_all(m_pfad, ec);
  }
  const fs::path& path() const { return m_pfad; }
  void write(const std::string& relativ, const std::string& daten) const { zek::writeFileAtomic(m_pfad / relativ, daten); }

 private:
  fs::path m_pfad;
};

// 10,000 entries of realistic shape: mixed classes, both directions, every third with a
// sentence, about one in eight repeating its predecessor.
std::vector<TVokabel> erzeuge(std::size_t n) {
  std::mt19937 zufall(42);
  const char* silben[] = {"ka", "lo", "mi", "ber", "sta", "un", "ti", "ro", "ge", "ha", "\xE4u", "sch"};
  auto wort = [&](int laenge) {
    std::string w;
    for (int i = 0; i < laenge; ++i) w += silben[zufall() % 12];
    return w;
  };
  std::vector<TVokabel> v;
  v.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && zufall() % 8 == 0) {
      v.push_back(v.back());
      continue;
    }
    TVokabel e;
    e.Vokabel = wort(2 + static_cast<int>(zufall() % 3));
    e.Bedeutung1 = wort(2) + "; " + wort(3);
    if (i % 2) e.Bedeutung2 = wort(3);
    if (i % 3 == 0) e.Kontext1 = "Yesterday we saw a [*] near the " + wort(2) + ".";
    e.Tip1 = i % 6 == 0;
    e.Wortart = static_cast<std::uint8_t>(zufall() % 6);
    e.Deutsch = zufall() % 4 == 0;
    e.Schwierigkeit = static_cast<std::uint8_t>(zufall() % 5);
    v.push_back(std::move(e));
  }
  return v;
}

struct TBenchDatei {
  TTempVerzeichnis dir{"zek-bench-vocab"};
  std::string pfad;
  TBenchDatei() {
    pfad = (dir.path() / "gross.asc").string();
    zek::writeFileAtomic(pfad, schreibeVokabeln(erzeuge(10000)));
  }
};

TBibliothek geladen(const std::string& pfad) {
  TBibliothek b;
  b.setNachrichtenPumpe([] {});
  b.Laden(pfad, true);
  return b;
}

void BM_Laden10000(benchmark::State& state) {
  TBenchDatei d;
  for (auto _ : state) {
    TBibliothek b;
    b.Laden(d.pfad, true);
    benchmark::DoNotOptimize(b.Anzahl(false));
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_Laden10000)->Unit(benchmark::kMillisecond);

void BM_Speichern10000(benchmark::State& state) {
  TBenchDatei d;
  TBibliothek b = geladen(d.pfad);
  const std::string ziel = (d.dir.path() / "kopie.asc").string();
  for (auto _ : state) benchmark::DoNotOptimize(b.Speichern(ziel));
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_Speichern10000)->Unit(benchmark::kMillisecond);

void BM_Sortieren10000(benchmark::State& state) {
  TBenchDatei d;
  const TBibliothek vorlage = geladen(d.pfad);
  for (auto _ : state) {
    state.PauseTiming();
    TBibliothek b = vorlage;
    state.ResumeTiming();
    b.Sortieren();
    benchmark::DoNotOptimize(b.Vokabel(0));
  }
}
BENCHMARK(BM_Sortieren10000)->Unit(benchmark::kMillisecond);

void BM_DoppelteRaus10000(benchmark::State& state) {
  TBenchDatei d;
  TBibliothek sortiert = geladen(d.pfad);
  sortiert.Sortieren();
  for (auto _ : state) {
    state.PauseTiming();
    TBibliothek b = sortiert;
    state.ResumeTiming();
    benchmark::DoNotOptimize(b.DoppelteRaus(false));
  }
}
BENCHMARK(BM_DoppelteRaus10000)->Unit(benchmark::kMillisecond);

// Five collection files of 200 entries each below a directory tree, as "go" meets them.
void BM_ZufallsAuswahl(benchmark::State& state) {
  TTempVerzeichnis dir("zek-bench-random");
  const auto alle = erzeuge(2400);
  for (int f = 0; f < 12; ++f) {
    std::vector<TVokabel> teil(alle.begin() + f * 200, alle.begin() + (f + 1) * 200);
    dir.write("Sammlung/Teil" + std::to_string(f % 3) + "/Lektion" + std::to_string(f) + ".asc", schreibeVokabeln(teil));
  }
  const std::string wurzel = (dir.path() / "Sammlung").string();
  TBibliothek b;
  for (auto _ : state) {
    b.ZufallsAuswahl(wurzel);
    benchmark::DoNotOptimize(b.Anzahl(false));
  }
}
BENCHMARK(BM_ZufallsAuswahl)->Unit(benchmark::kMillisecond);

}  // namespace
