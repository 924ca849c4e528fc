#include "widgets/txblend.h"

#include <immintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace zek::blend {

namespace {

// The table's effects on one channel; right shifts of negative values are arithmetic.
inline uint8_t mixChannel(int d, int s, int w) { return static_cast<uint8_t>(d + ((w * (s - d)) >> 8)); }
inline uint8_t lightenChannel(int d, int w) { return static_cast<uint8_t>(d + (((255 - d) * w) >> 8)); }
inline uint8_t darkenChannel(int d, int w) { return static_cast<uint8_t>(d - ((w * d) >> 8)); }

inline void applyEffect(uint8_t* d, const uint8_t* s, int w, TBlendEffect effect, const std::array<uint8_t, 3>& color) {
  switch (effect) {
    case TBlendEffect::Mix:
      for (int c = 0; c < 3; ++c) d[c] = mixChannel(d[c], s[c], w);
      break;
    case TBlendEffect::Lighten:
      for (int c = 0; c < 3; ++c) d[c] = lightenChannel(d[c], w);
      break;
    case TBlendEffect::Darken:
      for (int c = 0; c < 3; ++c) d[c] = darkenChannel(d[c], w);
      break;
    case TBlendEffect::Tint:
      for (int c = 0; c < 3; ++c) d[c] = mixChannel(d[c], color[c], w);
      break;
  }
}

template <TBlendEffect E>
void pixelsScalar(uint8_t* d, const uint8_t* s, int n, const TBlendSetup& st) {
  for (int i = 0; i < n; ++i, d += 3, s += 3) {
    const int w = st.weight == TWeightSource::Alpha ? st.alpha : st.weightBySum[s[0] + s[1] + s[2]];
    applyEffect(d, s, w, E, st.color);
  }
}

// Written as a plain byte loop so that the compiler vectorises it for the baseline processor.
__attribute__((optimize("tree-vectorize"))) void mixConstScalar(uint8_t* d, const uint8_t* s, size_t bytes, int w) {
  for (size_t i = 0; i < bytes; ++i) d[i] = mixChannel(d[i], s[i], w);
}

void blendRowScalar(uint8_t* d, const uint8_t* s, int n, const TBlendSetup& st) {
  if (st.weight == TWeightSource::Alpha) {
    mixConstScalar(d, s, static_cast<size_t>(n) * 3u, st.alpha);
    return;
  }
  switch (st.effect) {
    case TBlendEffect::Mix: pixelsScalar<TBlendEffect::Mix>(d, s, n, st); break;
    case TBlendEffect::Lighten: pixelsScalar<TBlendEffect::Lighten>(d, s, n, st); break;
    case TBlendEffect::Darken: pixelsScalar<TBlendEffect::Darken>(d, s, n, st); break;
    case TBlendEffect::Tint: pixelsScalar<TBlendEffect::Tint>(d, s, n, st); break;
  }
}

// --- AVX2 -------------------------------------------------------------------------------
// Pixels are handled 32 at a time as two groups of 16 (48 bytes), one group per 128-bit lane,
// so that the in-lane byte shuffles always see a group that starts at a pixel boundary.

using Mask = std::array<int8_t, 16>;

constexpr int8_t byteOf(int g, int reg) { return g / 16 == reg ? static_cast<int8_t>(g % 16) : int8_t(-128); }

// 16-bit lane j: channels 0 and 1 of pixel firstPixel + j, where they lie in register reg.
constexpr Mask pairMask(int reg, int firstPixel) {
  Mask m{};
  for (int j = 0; j < 8; ++j) {
    const int g = 3 * (firstPixel + j);
    m[2 * j] = byteOf(g, reg);
    m[2 * j + 1] = byteOf(g + 1, reg);
  }
  return m;
}

// 16-bit lane j: channel 2 of pixel firstPixel + j, zero-extended.
constexpr Mask thirdMask(int reg, int firstPixel) {
  Mask m{};
  for (int j = 0; j < 8; ++j) {
    m[2 * j] = byteOf(3 * (firstPixel + j) + 2, reg);
    m[2 * j + 1] = -128;
  }
  return m;
}

// Spreads 8 pixel weights (16-bit) to the channel lanes of bytes 8k to 8k + 7 of a group.
constexpr Mask spreadMask(int k) {
  Mask m{};
  for (int j = 0; j < 8; ++j) {
    const int lane = ((8 * k + j) / 3) % 8;
    m[2 * j] = static_cast<int8_t>(2 * lane);
    m[2 * j + 1] = static_cast<int8_t>(2 * lane + 1);
  }
  return m;
}

constexpr Mask kPairLo0 = pairMask(0, 0), kPairLo1 = pairMask(1, 0);
constexpr Mask kPairHi1 = pairMask(1, 8), kPairHi2 = pairMask(2, 8);
constexpr Mask kThirdLo0 = thirdMask(0, 0), kThirdLo1 = thirdMask(1, 0);
constexpr Mask kThirdHi1 = thirdMask(1, 8), kThirdHi2 = thirdMask(2, 8);
constexpr Mask kSpread0 = spreadMask(0), kSpread1 = spreadMask(1), kSpread2 = spreadMask(2);

__attribute__((target("avx2"))) inline __m256i maskVector(const Mask& m) {
  return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(m.data())));
}

__attribute__((target("avx2"))) inline __m256i loadGroups(const uint8_t* p) {
  const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 48));
  return _mm256_inserti128_si256(_mm256_castsi128_si256(lo), hi, 1);
}

__attribute__((target("avx2"))) inline void storeGroups(uint8_t* p, __m256i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm256_castsi256_si128(v));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 48), _mm256_extracti128_si256(v, 1));
}

// One 16-bit half register of target channels d with weights w (2w for Mix and Tint) and goal g.
template <TBlendEffect E>
__attribute__((target("avx2"))) inline __m256i effect16(__m256i d, __m256i s, __m256i w, __m256i goal) {
  if constexpr (E == TBlendEffect::Mix) {
    return _mm256_add_epi16(d, _mm256_mulhi_epi16(_mm256_slli_epi16(_mm256_sub_epi16(s, d), 7), w));
  } else if constexpr (E == TBlendEffect::Tint) {
    return _mm256_add_epi16(d, _mm256_mulhi_epi16(_mm256_slli_epi16(_mm256_sub_epi16(goal, d), 7), w));
  } else if constexpr (E == TBlendEffect::Lighten) {
    const __m256i room = _mm256_sub_epi16(_mm256_set1_epi16(255), d);
    return _mm256_add_epi16(d, _mm256_srli_epi16(_mm256_mullo_epi16(room, w), 8));
  } else {
    return _mm256_sub_epi16(d, _mm256_srli_epi16(_mm256_mullo_epi16(d, w), 8));
  }
}

template <TBlendEffect E>
__attribute__((target("avx2"))) inline __m256i effect8(__m256i d, __m256i s, __m256i wLo, __m256i wHi, __m256i goalLo,
                                                       __m256i goalHi) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i dLo = _mm256_unpacklo_epi8(d, zero), dHi = _mm256_unpackhi_epi8(d, zero);
  __m256i sLo = zero, sHi = zero;
  if constexpr (E == TBlendEffect::Mix) {
    sLo = _mm256_unpacklo_epi8(s, zero);
    sHi = _mm256_unpackhi_epi8(s, zero);
  }
  return _mm256_packus_epi16(effect16<E>(dLo, sLo, wLo, goalLo), effect16<E>(dHi, sHi, wHi, goalHi));
}

__attribute__((target("avx2"))) void mixConstAvx2(uint8_t* d, const uint8_t* s, size_t bytes, int w) {
  const __m256i w2 = _mm256_set1_epi16(static_cast<int16_t>(2 * w));
  const __m256i zero = _mm256_setzero_si256();
  size_t i = 0;
  for (; i + 32 <= bytes; i += 32) {
    const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
    const __m256i r = effect8<TBlendEffect::Mix>(dv, sv, w2, w2, zero, zero);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), r);
  }
  for (; i < bytes; ++i) d[i] = mixChannel(d[i], s[i], w);
}

template <TBlendEffect E, bool Inverse>
__attribute__((target("avx2"))) void pixelsAvx2(uint8_t* d, const uint8_t* s, int n, const TBlendSetup& st) {
  const __m256i pairLo0 = maskVector(kPairLo0), pairLo1 = maskVector(kPairLo1);
  const __m256i pairHi1 = maskVector(kPairHi1), pairHi2 = maskVector(kPairHi2);
  const __m256i thirdLo0 = maskVector(kThirdLo0), thirdLo1 = maskVector(kThirdLo1);
  const __m256i thirdHi1 = maskVector(kThirdHi1), thirdHi2 = maskVector(kThirdHi2);
  const __m256i spread0 = maskVector(kSpread0), spread1 = maskVector(kSpread1), spread2 = maskVector(kSpread2);
  const __m256i ones = _mm256_set1_epi8(1);
  const __m256i third = _mm256_set1_epi16(21846);  // (x * 21846) >> 16 == x / 3 for x <= 765
  const __m256i full = _mm256_set1_epi16(255);
  const __m256i alpha = _mm256_set1_epi16(static_cast<int16_t>(st.alpha));
  // Goal channels of the tint for the six 8-byte quarters of a group (they repeat every 24 bytes).
  __m256i goal[3];
  for (int k = 0; k < 3; ++k) {
    alignas(32) int16_t lanes[16];
    for (int j = 0; j < 16; ++j) lanes[j] = st.color[(8 * k + (j % 8)) % 3];
    goal[k] = _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes));
  }

  int i = 0;
  for (; i + 32 <= n; i += 32) {
    const uint8_t* sp = s + 3 * i;
    uint8_t* dp = d + 3 * i;
    const __m256i s0 = loadGroups(sp), s1 = loadGroups(sp + 16), s2 = loadGroups(sp + 32);

    const __m256i pLo = _mm256_or_si256(_mm256_shuffle_epi8(s0, pairLo0), _mm256_shuffle_epi8(s1, pairLo1));
    const __m256i qLo = _mm256_or_si256(_mm256_shuffle_epi8(s0, thirdLo0), _mm256_shuffle_epi8(s1, thirdLo1));
    const __m256i pHi = _mm256_or_si256(_mm256_shuffle_epi8(s1, pairHi1), _mm256_shuffle_epi8(s2, pairHi2));
    const __m256i qHi = _mm256_or_si256(_mm256_shuffle_epi8(s1, thirdHi1), _mm256_shuffle_epi8(s2, thirdHi2));
    __m256i bLo = _mm256_mulhi_epu16(_mm256_add_epi16(_mm256_maddubs_epi16(pLo, ones), qLo), third);
    __m256i bHi = _mm256_mulhi_epu16(_mm256_add_epi16(_mm256_maddubs_epi16(pHi, ones), qHi), third);
    if constexpr (Inverse) {
      bLo = _mm256_sub_epi16(full, bLo);
      bHi = _mm256_sub_epi16(full, bHi);
    }
    __m256i wLo = _mm256_srli_epi16(_mm256_mullo_epi16(bLo, alpha), 8);
    __m256i wHi = _mm256_srli_epi16(_mm256_mullo_epi16(bHi, alpha), 8);
    if constexpr (E == TBlendEffect::Mix || E == TBlendEffect::Tint) {
      wLo = _mm256_add_epi16(wLo, wLo);
      wHi = _mm256_add_epi16(wHi, wHi);
    }
    const __m256i w0 = _mm256_shuffle_epi8(wLo, spread0), w1 = _mm256_shuffle_epi8(wLo, spread1);
    const __m256i w2 = _mm256_shuffle_epi8(wLo, spread2), w3 = _mm256_shuffle_epi8(wHi, spread0);
    const __m256i w4 = _mm256_shuffle_epi8(wHi, spread1), w5 = _mm256_shuffle_epi8(wHi, spread2);

    const __m256i d0 = loadGroups(dp), d1 = loadGroups(dp + 16), d2 = loadGroups(dp + 32);
    storeGroups(dp, effect8<E>(d0, s0, w0, w1, goal[0], goal[1]));
    storeGroups(dp + 16, effect8<E>(d1, s1, w2, w3, goal[2], goal[0]));
    storeGroups(dp + 32, effect8<E>(d2, s2, w4, w5, goal[1], goal[2]));
  }
  pixelsScalar<E>(d + 3 * i, s + 3 * i, n - i, st);
}

void blendRowAvx2(uint8_t* d, const uint8_t* s, int n, const TBlendSetup& st) {
  if (st.weight == TWeightSource::Alpha) {
    mixConstAvx2(d, s, static_cast<size_t>(n) * 3u, st.alpha);
    return;
  }
  const bool inverse = st.weight == TWeightSource::InverseBrightness;
  switch (st.effect) {
    case TBlendEffect::Mix:
      inverse ? pixelsAvx2<TBlendEffect::Mix, true>(d, s, n, st) : pixelsAvx2<TBlendEffect::Mix, false>(d, s, n, st);
      break;
    case TBlendEffect::Lighten:
      inverse ? pixelsAvx2<TBlendEffect::Lighten, true>(d, s, n, st)
              : pixelsAvx2<TBlendEffect::Lighten, false>(d, s, n, st);
      break;
    case TBlendEffect::Darken:
      inverse ? pixelsAvx2<TBlendEffect::Darken, true>(d, s, n, st)
              : pixelsAvx2<TBlendEffect::Darken, false>(d, s, n, st);
      break;
    case TBlendEffect::Tint:
      inverse ? pixelsAvx2<TBlendEffect::Tint, true>(d, s, n, st) : pixelsAvx2<TBlendEffect::Tint, false>(d, s, n, st);
      break;
  }
}

bool cpuHasAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

TKernel bestKernel() { return cpuHasAvx2() ? TKernel::Avx2 : TKernel::Scalar; }

TKernel& kernelInUse() {
  static TKernel kernel = bestKernel();
  return kernel;
}

}  // namespace

TBlendSetup makeSetup(int mode, int alpha, uint32_t colorRef) {
  TBlendSetup st;
  st.mode = mode >= 1 && mode <= 8 ? mode : 0;
  st.alpha = alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha);
  st.color = {static_cast<uint8_t>(colorRef >> 16), static_cast<uint8_t>(colorRef >> 8),
              static_cast<uint8_t>(colorRef)};
  static constexpr TBlendEffect kEffect[9] = {TBlendEffect::Mix,     TBlendEffect::Mix,     TBlendEffect::Mix,
                                              TBlendEffect::Lighten, TBlendEffect::Darken,  TBlendEffect::Lighten,
                                              TBlendEffect::Darken,  TBlendEffect::Tint,    TBlendEffect::Tint};
  static constexpr TWeightSource kWeight[9] = {
      TWeightSource::Alpha,      TWeightSource::Brightness,        TWeightSource::InverseBrightness,
      TWeightSource::Brightness, TWeightSource::InverseBrightness, TWeightSource::InverseBrightness,
      TWeightSource::Brightness, TWeightSource::InverseBrightness, TWeightSource::Brightness};
  st.effect = kEffect[st.mode];
  st.weight = kWeight[st.mode];
  if (st.weight != TWeightSource::Alpha) {
    for (int sum = 0; sum <= 765; ++sum) {
      const int b = sum / 3;
      const int base = st.weight == TWeightSource::Brightness ? b : 255 - b;
      st.weightBySum[static_cast<size_t>(sum)] = static_cast<uint8_t>((base * st.alpha) >> 8);
    }
  }
  return st;
}

void blendRow(uint8_t* dst, const uint8_t* src, int n, const TBlendSetup& setup) {
  if (n <= 0) return;
  if (kernelInUse() == TKernel::Avx2) {
    blendRowAvx2(dst, src, n, setup);
  } else {
    blendRowScalar(dst, src, n, setup);
  }
}

void blendPixelCoverage(uint8_t* dst, const uint8_t* src, int coverage, const TBlendSetup& setup) {
  int w;
  if (setup.weight == TWeightSource::Alpha) {
    w = coverage * 16;
  } else {
    const int b = (src[0] + src[1] + src[2]) / 3;
    w = (coverage * (setup.weight == TWeightSource::Brightness ? b : 255 - b)) >> 4;
  }
  if (w == 0) return;
  w = (w * setup.alpha) >> 8;
  applyEffect(dst, src, w, setup.effect, setup.color);
}

void coverRow(uint8_t* dst, const uint8_t* coverage, int n, const std::array<uint8_t, 3>& color) {
  for (int i = 0; i < n; ++i, dst += 3) {
    const int c = coverage[i];
    if (c == 0) continue;
    for (int k = 0; k < 3; ++k) dst[k] = static_cast<uint8_t>(dst[k] + ((c * (color[k] - dst[k])) >> 4));
  }
}

void fillRow(uint8_t* dst, int n, const std::array<uint8_t, 3>& color) {
  if (n <= 0) return;
  // One pixel, then the filled part copied onto the rest, doubling each time.
  const size_t total = static_cast<size_t>(n) * 3u;
  std::memcpy(dst, color.data(), 3);
  for (size_t done = 3; done < total;) {
    const size_t k = std::min(done, total - done);
    std::memcpy(dst + done, dst, k);
    done += k;
  }
}

TKernel activeKernel() { return kernelInUse(); }

bool kernelAvailable(TKernel kernel) { return kernel == TKernel::Scalar || cpuHasAvx2(); }

void forceKernel(TKernel kernel) {
  if (kernelAvailable(kernel)) kernelInUse() = kernel;
}

void resetKernel() { kernelInUse() = bestKernel(); }

}  // namespace zek::blend
