// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding a page-sized picture in each format (pages show several per load). The
// pictures are made with ImageMagick; without it the benchmarks report an error.
#include "page/tpicturelist.h"
#include "platform/files.h"
#include "platform/imagedecoder.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>

namespace {

std::string pagePicture(const std::string& ext) {
  const auto path = std::filesystem::temp_directory_path() / ("zek-bench-page." + ext);
  const std::string cmd = "convert -size 800x572 plasma:fractal -seed 7 -quality 85 '" + path.string() + "' 2>/dev/null";
  if (std::system(cmd.c_str()) != 0) return {};
  std::string bytes = zek::readFile(path).value_or(std::string());
  std::filesystem::remove(path);
  return bytes;
}

void decode(benchmark::State& state, const std::string& ext) {
  const std::string bytes = pagePicture(ext);
  for (auto _ : state) {
    auto picture = TPicture::fromImage(zek::decodeImage(bytes, zek::TImageFormat::Unknown));
    if (!picture) {
      state.SkipWithError("picture did not decode (is ImageMagick installed?)");
      break;
    }
    benchmark::DoNotOptimize(picture);
  }
}

void BM_DecodeBmp800x572(benchmark::State& state) { decode(state, "bmp"); }
void BM_DecodeJpeg800x572(benchmark::State& state) { decode(state, "jpg"); }
void BM_DecodeGif800x572(benchmark::State& state) { decode(state, "gif"); }

}  // namespace

BENCHMARK(BM_DecodeBmp800x572)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeJpeg800x572)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeGif800x572)->Unit(benchmark::kMillisecond);
