// SPDX-License-Identifier: GPL-3.0-or-later
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
void pixelsScalar(uint8_t* d, const uint8_t* s, size_t n, const TBlendSetup& st) {
  for (size_t i = 0; i < n; ++i, d += 3, s += 3) {
    const int w = st.weight == TWeightSource::Alpha ? st.alpha : st.weightBySum[s[0] + s[1] + s[2]];
    applyEffect(d, s, w, E, st.color);
  }
}

// Written as a plain byte loop so that the compiler vectorises it for the baseline processor.
__attribute__((optimize("tree-vectorize"))) void mixConstScalar(uint8_t* d, const uint8_t* s, size_t bytes, int w) {
  for (size_t i = 0; i < bytes; ++i) d[i] = mixChannel(d[i], s[i], w);
}

void blendRectScalar(uint8_t* d, ptrdiff_t dStride, const uint8_t* s, ptrdiff_t sStride, size_t n, int rows,
                     const TBlendSetup& st) {
  for (int r = 0; r < rows; ++r, d += dStride, s += sStride) {
    if (st.weight == TWeightSource::Alpha) {
      mixConstScalar(d, s, 3 * n, st.alpha);
      continue;
    }
    switch (st.effect) {
      case TBlendEffect::Mix: pixelsScalar<TBlendEffect::Mix>(d, s, n, st); break;
      case TBlendEffect::Lighten: pixelsScalar<TBlendEffect::Lighten>(d, s, n, st); break;
      case TBlendEffect::Darken: pixelsScalar<TBlendEffect::Darken>(d, s, n, st); break;
      case TBlendEffect::Tint: pixelsScalar<TBlendEffect::Tint>(d, s, n, st); break;
    }
  }
}

// --- AVX2 -------------------------------------------------------------------------------
// Pixels are handled 32 at a time as two groups of 16 (48 bytes), one group per 128-bit lane,
// so that the in-lane byte shuffles always see a group that starts at a pixel boundary.
//
// The effects work on 16-bit lanes with the division by 256 done by a high multiply:
// mulhi(x << 8, w) is (x * w) >> 8 exactly, and for Mix and Tint the signed difference comes
// out of maddubs as 64 * (goal - d), so that mulhi with 4w gives floor(w * (goal - d) / 256).

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

// floor(w * (goal - d) / 256) per byte for weights 4w in the 16-bit lanes of the unpacked
// halves, added to d; the low bytes of the signed results are the differences modulo 256.
__attribute__((target("avx2"))) inline __m256i towards(__m256i d, __m256i goal, __m256i w4Lo, __m256i w4Hi) {
  const __m256i sign = _mm256_set1_epi16(static_cast<int16_t>(0xC040));  // bytes 64, -64
  const __m256i low = _mm256_set1_epi16(0xFF);
  const __m256i lo = _mm256_maddubs_epi16(_mm256_unpacklo_epi8(goal, d), sign);
  const __m256i hi = _mm256_maddubs_epi16(_mm256_unpackhi_epi8(goal, d), sign);
  const __m256i qLo = _mm256_and_si256(_mm256_mulhi_epi16(lo, w4Lo), low);
  const __m256i qHi = _mm256_and_si256(_mm256_mulhi_epi16(hi, w4Hi), low);
  return _mm256_add_epi8(d, _mm256_packus_epi16(qLo, qHi));
}

// floor(x * w / 256) per byte for weights w (0 to 255) in the 16-bit lanes of the halves.
__attribute__((target("avx2"))) inline __m256i scaled(__m256i x, __m256i wLo, __m256i wHi) {
  const __m256i zero = _mm256_setzero_si256();
  return _mm256_packus_epi16(_mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, x), wLo),
                             _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, x), wHi));
}

// The effect on 32 bytes; weights as the effect wants them (4w for Mix and Tint, else w).
template <TBlendEffect E>
__attribute__((target("avx2"))) inline __m256i effect(__m256i d, __m256i s, __m256i wLo, __m256i wHi, __m256i tint) {
  if constexpr (E == TBlendEffect::Mix) {
    return towards(d, s, wLo, wHi);
  } else if constexpr (E == TBlendEffect::Tint) {
    return towards(d, tint, wLo, wHi);
  } else if constexpr (E == TBlendEffect::Lighten) {
    return _mm256_add_epi8(d, scaled(_mm256_xor_si256(d, _mm256_set1_epi8(-1)), wLo, wHi));
  } else {
    return _mm256_sub_epi8(d, scaled(d, wLo, wHi));
  }
}

__attribute__((target("avx2"))) void mixConstAvx2(uint8_t* d, const uint8_t* s, size_t bytes, int w) {
  const __m256i w4 = _mm256_set1_epi16(static_cast<int16_t>(4 * w));
  size_t i = 0;
  for (; i + 32 <= bytes; i += 32) {
    const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), towards(dv, sv, w4, w4));
  }
  for (; i < bytes; ++i) d[i] = mixChannel(d[i], s[i], w);
}

// Tint byte of group byte j of register k: channel (16k + j) mod 3.
constexpr Mask tintMask(int k) {
  Mask m{};
  for (int j = 0; j < 16; ++j) m[j] = static_cast<int8_t>((16 * k + j) % 3);
  return m;
}

constexpr Mask kTint0 = tintMask(0), kTint1 = tintMask(1), kTint2 = tintMask(2);

template <TBlendEffect E, bool Inverse>
__attribute__((target("avx2"))) void pixelsAvx2(uint8_t* d, ptrdiff_t dStride, const uint8_t* s, ptrdiff_t sStride,
                                                size_t n, int rows, const TBlendSetup& st) {
  const __m256i pairLo0 = maskVector(kPairLo0), pairLo1 = maskVector(kPairLo1);
  const __m256i pairHi1 = maskVector(kPairHi1), pairHi2 = maskVector(kPairHi2);
  const __m256i thirdLo0 = maskVector(kThirdLo0), thirdLo1 = maskVector(kThirdLo1);
  const __m256i thirdHi1 = maskVector(kThirdHi1), thirdHi2 = maskVector(kThirdHi2);
  const __m256i spread0 = maskVector(kSpread0), spread1 = maskVector(kSpread1), spread2 = maskVector(kSpread2);
  const __m256i ones = _mm256_set1_epi8(1);
  const __m256i third = _mm256_set1_epi16(21846);  // (x * 21846) >> 16 == x / 3 for x <= 765
  const __m256i full = _mm256_set1_epi16(255);
  const __m256i alpha = _mm256_set1_epi16(static_cast<int16_t>(st.alpha << 8));
  constexpr bool kTowards = E == TBlendEffect::Mix || E == TBlendEffect::Tint;
  const __m256i color = _mm256_setr_epi8(st.color[0], st.color[1], st.color[2], 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                         0, st.color[0], st.color[1], st.color[2], 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  const __m256i tint0 = _mm256_shuffle_epi8(color, maskVector(kTint0));
  const __m256i tint1 = _mm256_shuffle_epi8(color, maskVector(kTint1));
  const __m256i tint2 = _mm256_shuffle_epi8(color, maskVector(kTint2));

  for (int r = 0; r < rows; ++r, d += dStride, s += sStride) {
    size_t i = 0;
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
      __m256i wLo = _mm256_mulhi_epu16(bLo, alpha);  // (b * alpha) >> 8
      __m256i wHi = _mm256_mulhi_epu16(bHi, alpha);
      if constexpr (kTowards) {
        wLo = _mm256_slli_epi16(wLo, 2);
        wHi = _mm256_slli_epi16(wHi, 2);
      }
      const __m256i w0 = _mm256_shuffle_epi8(wLo, spread0), w1 = _mm256_shuffle_epi8(wLo, spread1);
      const __m256i w2 = _mm256_shuffle_epi8(wLo, spread2), w3 = _mm256_shuffle_epi8(wHi, spread0);
      const __m256i w4 = _mm256_shuffle_epi8(wHi, spread1), w5 = _mm256_shuffle_epi8(wHi, spread2);

      const __m256i d0 = loadGroups(dp), d1 = loadGroups(dp + 16), d2 = loadGroups(dp + 32);
      storeGroups(dp, effect<E>(d0, s0, w0, w1, tint0));
      storeGroups(dp + 16, effect<E>(d1, s1, w2, w3, tint1));
      storeGroups(dp + 32, effect<E>(d2, s2, w4, w5, tint2));
    }
    pixelsScalar<E>(d + 3 * i, s + 3 * i, n - i, st);
  }
}

// A vector kernel's row functions behind the setup's weight source and effect.
template <class K>
void blendRectWith(uint8_t* d, ptrdiff_t dStride, const uint8_t* s, ptrdiff_t sStride, size_t n, int rows,
                   const TBlendSetup& st) {
  if (st.weight == TWeightSource::Alpha) {
    for (int r = 0; r < rows; ++r, d += dStride, s += sStride) K::mixConst(d, s, 3 * n, st.alpha);
    return;
  }
  const auto run = [&]<bool Inverse>() {
    switch (st.effect) {
      case TBlendEffect::Mix:
        K::template pixels<TBlendEffect::Mix, Inverse>(d, dStride, s, sStride, n, rows, st);
        break;
      case TBlendEffect::Lighten:
        K::template pixels<TBlendEffect::Lighten, Inverse>(d, dStride, s, sStride, n, rows, st);
        break;
      case TBlendEffect::Darken:
        K::template pixels<TBlendEffect::Darken, Inverse>(d, dStride, s, sStride, n, rows, st);
        break;
      case TBlendEffect::Tint:
        K::template pixels<TBlendEffect::Tint, Inverse>(d, dStride, s, sStride, n, rows, st);
        break;
    }
  };
  if (st.weight == TWeightSource::InverseBrightness) run.template operator()<true>();
  else run.template operator()<false>();
}

struct TAvx2Kernel {
  static void mixConst(uint8_t* d, const uint8_t* s, size_t bytes, int w) { mixConstAvx2(d, s, bytes, w); }
  template <TBlendEffect E, bool Inverse>
  static void pixels(uint8_t* d, ptrdiff_t dStride, const uint8_t* s, ptrdiff_t sStride, size_t n, int rows,
                     const TBlendSetup& st) {
    pixelsAvx2<E, Inverse>(d, dStride, s, sStride, n, rows, st);
  }
};

// --- AVX-512 ------------------------------------------------------------------------------
// Registers hold 64 bytes of a row as they lie in memory; byte permutes gather the channels of
// a pixel wherever they are, and masked loads and stores handle the rest of a row.

#define ZEK_AVX512 __attribute__((target("avx2,avx512f,avx512vl,avx512bw,avx512vbmi")))

using Bytes64 = std::array<uint8_t, 64>;
using Words32 = std::array<uint16_t, 32>;

// Word j: channels (0, 1), or with third (2, ·), of pixel j of the 32 whose bytes start at
// byte `from` of the two registers permuted.
constexpr Bytes64 channelIndex(int from, bool third) {
  Bytes64 m{};
  for (int j = 0; j < 32; ++j) {
    m[static_cast<size_t>(2 * j)] = static_cast<uint8_t>(from + 3 * j + (third ? 2 : 0));
    m[static_cast<size_t>(2 * j + 1)] = static_cast<uint8_t>(from + 3 * j + 1);
  }
  return m;
}

// Word j of the low (hi = false) or high unpacked half of register k: the pixel of its byte,
// which selects the weight among the 64 pixels of both weight registers.
constexpr Words32 spreadIndex(int k, bool hi) {
  Words32 m{};
  for (int j = 0; j < 32; ++j) {
    const int b = 16 * (j / 8) + j % 8 + (hi ? 8 : 0);
    m[static_cast<size_t>(j)] = static_cast<uint16_t>((64 * k + b) / 3);
  }
  return m;
}

// The low bytes of the words of both unpacked halves of N bytes, in the order of the bytes they came from.
template <size_t N>
constexpr std::array<uint8_t, N> lowByteIndex() {
  std::array<uint8_t, N> m{};
  for (size_t b = 0; b < N; ++b) {
    const size_t j = b % 16, word = 8 * (b / 16) + j % 8;
    m[b] = static_cast<uint8_t>((j < 8 ? 0 : N) + 2 * word);
  }
  return m;
}

// Channel of byte b of register k: (64k + b) mod 3, as a shuffle of the colour's three bytes.
constexpr Bytes64 tintIndex(int k) {
  Bytes64 m{};
  for (int b = 0; b < 64; ++b) m[static_cast<size_t>(b)] = static_cast<uint8_t>((64 * k + b) % 3);
  return m;
}

constexpr Bytes64 kPairA = channelIndex(0, false), kThirdA = channelIndex(0, true);
constexpr Bytes64 kPairB = channelIndex(32, false), kThirdB = channelIndex(32, true);
constexpr Words32 kSpread512[6] = {spreadIndex(0, false), spreadIndex(0, true), spreadIndex(1, false),
                                   spreadIndex(1, true),  spreadIndex(2, false), spreadIndex(2, true)};
constexpr Bytes64 kLowBytes = lowByteIndex<64>();
constexpr Bytes64 kTint512[3] = {tintIndex(0), tintIndex(1), tintIndex(2)};

template <typename T>
ZEK_AVX512 inline __m512i load64(const T& a) {
  return _mm512_loadu_si512(a.data());
}

ZEK_AVX512 inline __m512i towards512(__m512i d, __m512i goal, __m512i w4Lo, __m512i w4Hi, __m512i lowBytes) {
  const __m512i sign = _mm512_set1_epi16(static_cast<int16_t>(0xC040));  // bytes 64, -64
  const __m512i lo = _mm512_mulhi_epi16(_mm512_maddubs_epi16(_mm512_unpacklo_epi8(goal, d), sign), w4Lo);
  const __m512i hi = _mm512_mulhi_epi16(_mm512_maddubs_epi16(_mm512_unpackhi_epi8(goal, d), sign), w4Hi);
  return _mm512_add_epi8(d, _mm512_permutex2var_epi8(lo, lowBytes, hi));
}

ZEK_AVX512 inline __m512i scaled512(__m512i x, __m512i wLo, __m512i wHi) {
  const __m512i zero = _mm512_setzero_si512();
  return _mm512_packus_epi16(_mm512_mulhi_epu16(_mm512_unpacklo_epi8(zero, x), wLo),
                             _mm512_mulhi_epu16(_mm512_unpackhi_epi8(zero, x), wHi));
}

template <TBlendEffect E>
ZEK_AVX512 inline __m512i effect512(__m512i d, __m512i s, __m512i wLo, __m512i wHi, __m512i tint, __m512i lowBytes) {
  if constexpr (E == TBlendEffect::Mix) {
    return towards512(d, s, wLo, wHi, lowBytes);
  } else if constexpr (E == TBlendEffect::Tint) {
    return towards512(d, tint, wLo, wHi, lowBytes);
  } else if constexpr (E == TBlendEffect::Lighten) {
    return _mm512_add_epi8(d, scaled512(_mm512_xor_si512(d, _mm512_set1_epi8(-1)), wLo, wHi));
  } else {
    return _mm512_sub_epi8(d, scaled512(d, wLo, wHi));
  }
}

// Byte mask of the first `bytes` (any number; 64 and more is all) bytes.
inline __mmask64 firstBytes(size_t bytes) {
  return bytes >= 64 ? ~__mmask64{0} : static_cast<__mmask64>((uint64_t{1} << bytes) - 1u);
}

// With one weight for all the work is light, and 256-bit registers came out faster here.
constexpr std::array<uint8_t, 32> kLowBytes256 = lowByteIndex<32>();

ZEK_AVX512 void mixConst512(uint8_t* d, const uint8_t* s, size_t bytes, int w) {
  const __m256i w4 = _mm256_set1_epi16(static_cast<int16_t>(4 * w));
  const __m256i sign = _mm256_set1_epi16(static_cast<int16_t>(0xC040));  // bytes 64, -64
  const __m256i lowBytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kLowBytes256.data()));
  auto mix = [&](__m256i dv, __m256i sv) ZEK_AVX512 __attribute__((always_inline)) {
    const __m256i lo = _mm256_mulhi_epi16(_mm256_maddubs_epi16(_mm256_unpacklo_epi8(sv, dv), sign), w4);
    const __m256i hi = _mm256_mulhi_epi16(_mm256_maddubs_epi16(_mm256_unpackhi_epi8(sv, dv), sign), w4);
    return _mm256_add_epi8(dv, _mm256_permutex2var_epi8(lo, lowBytes, hi));
  };
  size_t i = 0;
  for (; i + 32 <= bytes; i += 32) {
    const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), mix(dv, sv));
  }
  if (i < bytes) {
    const auto k = static_cast<__mmask32>(firstBytes(bytes - i));
    _mm256_mask_storeu_epi8(d + i, k, mix(_mm256_maskz_loadu_epi8(k, d + i), _mm256_maskz_loadu_epi8(k, s + i)));
  }
}

template <TBlendEffect E, bool Inverse>
ZEK_AVX512 void pixels512(uint8_t* d, ptrdiff_t dStride, const uint8_t* s, ptrdiff_t sStride, size_t n, int rows,
                          const TBlendSetup& st) {
  const __m512i pairA = load64(kPairA), thirdA = load64(kThirdA), pairB = load64(kPairB), thirdB = load64(kThirdB);
  const __m512i spread0 = load64(kSpread512[0]), spread1 = load64(kSpread512[1]), spread2 = load64(kSpread512[2]);
  const __m512i spread3 = load64(kSpread512[3]), spread4 = load64(kSpread512[4]), spread5 = load64(kSpread512[5]);
  const __m512i lowBytes = load64(kLowBytes);
  const __m512i ones = _mm512_set1_epi8(1);
  const __m512i third = _mm512_set1_epi16(21846);  // (x * 21846) >> 16 == x / 3 for x <= 765
  const __m512i full = _mm512_set1_epi16(255);
  const __m512i alpha = _mm512_set1_epi16(static_cast<int16_t>(st.alpha << 8));
  constexpr bool kTowards = E == TBlendEffect::Mix || E == TBlendEffect::Tint;
  constexpr __mmask64 kEvenBytes = 0x5555555555555555u;
  const __m512i color = _mm512_set1_epi32(static_cast<int>(st.color[0] | (st.color[1] << 8) | (st.color[2] << 16)));
  const __m512i tint0 = _mm512_shuffle_epi8(color, load64(kTint512[0]));
  const __m512i tint1 = _mm512_shuffle_epi8(color, load64(kTint512[1]));
  const __m512i tint2 = _mm512_shuffle_epi8(color, load64(kTint512[2]));

  // 64 pixels from three registers of source and target each.
  auto block = [&](__m512i s0, __m512i s1, __m512i s2, __m512i& d0, __m512i& d1, __m512i& d2)
                   ZEK_AVX512 __attribute__((always_inline)) {
    const __m512i sumA = _mm512_add_epi16(_mm512_maddubs_epi16(_mm512_permutex2var_epi8(s0, pairA, s1), ones),
                                          _mm512_maskz_permutex2var_epi8(kEvenBytes, s0, thirdA, s1));
    const __m512i sumB = _mm512_add_epi16(_mm512_maddubs_epi16(_mm512_permutex2var_epi8(s1, pairB, s2), ones),
                                          _mm512_maskz_permutex2var_epi8(kEvenBytes, s1, thirdB, s2));
    __m512i bA = _mm512_mulhi_epu16(sumA, third), bB = _mm512_mulhi_epu16(sumB, third);
    if constexpr (Inverse) {
      bA = _mm512_sub_epi16(full, bA);
      bB = _mm512_sub_epi16(full, bB);
    }
    __m512i wA = _mm512_mulhi_epu16(bA, alpha), wB = _mm512_mulhi_epu16(bB, alpha);  // (b * alpha) >> 8
    if constexpr (kTowards) {
      wA = _mm512_slli_epi16(wA, 2);
      wB = _mm512_slli_epi16(wB, 2);
    }
    d0 = effect512<E>(d0, s0, _mm512_permutex2var_epi16(wA, spread0, wB), _mm512_permutex2var_epi16(wA, spread1, wB),
                      tint0, lowBytes);
    d1 = effect512<E>(d1, s1, _mm512_permutex2var_epi16(wA, spread2, wB), _mm512_permutex2var_epi16(wA, spread3, wB),
                      tint1, lowBytes);
    d2 = effect512<E>(d2, s2, _mm512_permutex2var_epi16(wA, spread4, wB), _mm512_permutex2var_epi16(wA, spread5, wB),
                      tint2, lowBytes);
  };

  for (int r = 0; r < rows; ++r, d += dStride, s += sStride) {
    size_t i = 0;
    for (; i + 64 <= n; i += 64) {
      const uint8_t* sp = s + 3 * i;
      uint8_t* dp = d + 3 * i;
      __m512i d0 = _mm512_loadu_si512(dp), d1 = _mm512_loadu_si512(dp + 64), d2 = _mm512_loadu_si512(dp + 128);
      block(_mm512_loadu_si512(sp), _mm512_loadu_si512(sp + 64), _mm512_loadu_si512(sp + 128), d0, d1, d2);
      _mm512_storeu_si512(dp, d0);
      _mm512_storeu_si512(dp + 64, d1);
      _mm512_storeu_si512(dp + 128, d2);
    }
    if (i < n) {
      const uint8_t* sp = s + 3 * i;
      uint8_t* dp = d + 3 * i;
      const size_t rest = 3 * (n - i);
      const __mmask64 k0 = firstBytes(rest), k1 = firstBytes(rest > 64 ? rest - 64 : 0),
                      k2 = firstBytes(rest > 128 ? rest - 128 : 0);
      __m512i d0 = _mm512_maskz_loadu_epi8(k0, dp), d1 = _mm512_maskz_loadu_epi8(k1, dp + 64),
              d2 = _mm512_maskz_loadu_epi8(k2, dp + 128);
      block(_mm512_maskz_loadu_epi8(k0, sp), _mm512_maskz_loadu_epi8(k1, sp + 64),
            _mm512_maskz_loadu_epi8(k2, sp + 128), d0, d1, d2);
      _mm512_mask_storeu_epi8(dp, k0, d0);
      _mm512_mask_storeu_epi8(dp + 64, k1, d1);
      _mm512_mask_storeu_epi8(dp + 128, k2, d2);
    }
  }
}

struct TAvx512Kernel {
  static void mixConst(uint8_t* d, const uint8_t* s, size_t bytes, int w) { mixConst512(d, s, bytes, w); }
  template <TBlendEffect E, bool Inverse>
  static void pixels(uint8_t* d, ptrdiff_t dStride, const uint8_t* s, ptrdiff_t sStride, size_t n, int rows,
                     const TBlendSetup& st) {
    pixels512<E, Inverse>(d, dStride, s, sStride, n, rows, st);
  }
};

#undef ZEK_AVX512

bool cpuRuns(TKernel kernel) {
  __builtin_cpu_init();
  switch (kernel) {
    case TKernel::Scalar: return true;
    case TKernel::Avx2: return __builtin_cpu_supports("avx2");
    case TKernel::Avx512:
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f") &&
             __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw") &&
             __builtin_cpu_supports("avx512vbmi");
  }
  return false;
}

TKernel bestKernel() {
  for (TKernel k : {TKernel::Avx512, TKernel::Avx2}) {
    if (cpuRuns(k)) return k;
  }
  return TKernel::Scalar;
}

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

void blendRect(uint8_t* dst, ptrdiff_t dstStride, const uint8_t* src, ptrdiff_t srcStride, int n, int rows,
               const TBlendSetup& setup) {
  if (n <= 0 || rows <= 0) return;
  // Every effect works pixel by pixel, so packed rows are one long row.
  size_t pixels = static_cast<size_t>(n);
  if (rows > 1 && dstStride == 3 * ptrdiff_t{n} && srcStride == dstStride) {
    pixels *= static_cast<size_t>(rows);
    rows = 1;
  }
  switch (kernelInUse()) {
    case TKernel::Avx512: blendRectWith<TAvx512Kernel>(dst, dstStride, src, srcStride, pixels, rows, setup); break;
    case TKernel::Avx2: blendRectWith<TAvx2Kernel>(dst, dstStride, src, srcStride, pixels, rows, setup); break;
    case TKernel::Scalar: blendRectScalar(dst, dstStride, src, srcStride, pixels, rows, setup); break;
  }
}

void blendRow(uint8_t* dst, const uint8_t* src, int n, const TBlendSetup& setup) {
  blendRect(dst, 0, src, 0, n, 1, setup);
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

bool kernelAvailable(TKernel kernel) { return cpuRuns(kernel); }

void forceKernel(TKernel kernel) {
  if (kernelAvailable(kernel)) kernelInUse() = kernel;
}

void resetKernel() { kernelInUse() = bestKernel(); }

}  // namespace zek::blend
