// SPDX-License-Identifier: GPL-3.0-or-later
// Blending an 800 × 534 picture onto a surface of the same size, against memcpy of the same
// buffer measured in the same run. The counter x_memcpy is the time per call over memcpy's, both
// as processor time of the thread, so that other load on the machine does not skew the ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cstring>
#include <random>

#include "widgets/txbitmap.h"
#include "widgets/txblend.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 534;

TXBitmap randomPicture(unsigned seed) {
  TXBitmap b(kWidth, kHeight);
  std::mt19937 rng(seed);
  for (size_t i = 0; i < static_cast<size_t>(b.stride()) * kHeight; ++i) b.bits()[i] = static_cast<uint8_t>(rng());
  return b;
}

struct Fixture {
  TXBitmap surface = randomPicture(1);
  TXBitmap picture = randomPicture(2);
  size_t bytes() const { return static_cast<size_t>(picture.stride()) * kHeight; }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

double nowNs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e9 + static_cast<double>(ts.tv_nsec);
}

// Best of several batches of memcpy, as the yardstick for every other figure.
double memcpyNs() {
  static const double ns = [] {
    Fixture& f = fixture();
    double best = 1e18;
    for (int batch = 0; batch < 20; ++batch) {
      const double t0 = nowNs();
      for (int i = 0; i < 50; ++i) {
        std::memcpy(f.surface.bits(), f.picture.bits(), f.bytes());
        benchmark::ClobberMemory();
      }
      best = std::min(best, (nowNs() - t0) / 50);
    }
    return best;
  }();
  return ns;
}

template <typename Body>
void timed(benchmark::State& state, Body body) {
  const double t0 = nowNs();
  for (auto _ : state) {
    body();
    benchmark::ClobberMemory();
  }
  const double perCall = (nowNs() - t0) / static_cast<double>(state.iterations());
  state.counters["ns_cpu"] = perCall;
  state.counters["x_memcpy"] = perCall / memcpyNs();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(fixture().bytes()));
}

void BM_Memcpy(benchmark::State& state) {
  Fixture& f = fixture();
  timed(state, [&] { std::memcpy(f.surface.bits(), f.picture.bits(), f.bytes()); });
}
BENCHMARK(BM_Memcpy);

// Kernel argument: 0 the best the processor runs, 1 scalar, 2 AVX2 (skipped where it is missing).
bool useKernel(benchmark::State& state, int64_t which) {
  using zek::blend::TKernel;
  if (which == 0) return true;
  const TKernel k = which == 1 ? TKernel::Scalar : TKernel::Avx2;
  if (!zek::blend::kernelAvailable(k)) {
    state.SkipWithError("kernel not available");
    return false;
  }
  zek::blend::forceKernel(k);
  return true;
}

// Args: mode, XAlpha, kernel.
void BM_DrawBlended(benchmark::State& state) {
  Fixture& f = fixture();
  if (!useKernel(state, state.range(2))) return;
  f.surface.setXAlpha(static_cast<int>(state.range(1)));
  f.surface.setXColor(0x2080C0);
  const int mode = static_cast<int>(state.range(0));
  timed(state, [&] { f.surface.DrawBlended(0, 0, mode, f.picture); });
  zek::blend::resetKernel();
}
BENCHMARK(BM_DrawBlended)
    ->ArgNames({"mode", "alpha", "kernel"})
    ->Args({0, 255, 0})
    ->Args({0, 200, 0})
    ->Args({1, 200, 0})
    ->Args({2, 200, 0})
    ->Args({3, 200, 0})
    ->Args({4, 200, 0})
    ->Args({5, 200, 0})
    ->Args({6, 200, 0})
    ->Args({7, 200, 0})
    ->Args({8, 200, 0})
    ->Args({0, 200, 1})
    ->Args({1, 200, 1})
    ->Args({7, 200, 1})
    ->Args({0, 200, 2})
    ->Args({1, 200, 2})
    ->Args({2, 200, 2})
    ->Args({3, 200, 2})
    ->Args({4, 200, 2})
    ->Args({5, 200, 2})
    ->Args({6, 200, 2})
    ->Args({7, 200, 2})
    ->Args({8, 200, 2});

// Args: mode, kernel; radius 30, area = the picture.
void BM_DrawRounded(benchmark::State& state) {
  Fixture& f = fixture();
  if (!useKernel(state, state.range(1))) return;
  f.surface.setXAlpha(255);
  const int mode = static_cast<int>(state.range(0));
  timed(state, [&] { f.surface.DrawRounded(0, 0, f.picture, mode, 30, 30, kHeight, kWidth); });
  zek::blend::resetKernel();
}
BENCHMARK(BM_DrawRounded)
    ->ArgNames({"mode", "kernel"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({7, 0})
    ->Args({0, 1})
    ->Args({1, 2})
    ->Args({7, 2});

void BM_SmoothEllipse(benchmark::State& state) {
  Fixture& f = fixture();
  f.surface.setPen({0xFFFFFF, 3, TXPenStyle::Solid});
  f.surface.setBrush({0x336699, TXBrushStyle::Solid});
  timed(state, [&] { f.surface.SmoothEllipse(100, 50, 700, 480); });
}
BENCHMARK(BM_SmoothEllipse);

void BM_SmoothRoundRect(benchmark::State& state) {
  Fixture& f = fixture();
  f.surface.setPen({0xFFFFFF, 0, TXPenStyle::Solid});
  f.surface.setBrush({0x336699, TXBrushStyle::Solid});
  timed(state, [&] { f.surface.SmoothRoundRect(40, 40, 30, 30, 760, 500); });
}
BENCHMARK(BM_SmoothRoundRect);

}  // namespace
