// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Row kernels behind TXBitmap's blend modes. Every result is fixed by integer arithmetic;
// the vector kernels give exactly the bytes of the scalar ones.
namespace zek::blend {

enum class TBlendEffect { Mix, Lighten, Darken, Tint };

// How the weight of a source pixel follows from its brightness b = (r + g + b) div 3.
enum class TWeightSource { Alpha, Brightness, InverseBrightness };

struct TBlendSetup {
  int mode = 0;  // 0 to 8; other modes are mode 0
  int alpha = 255;
  TBlendEffect effect = TBlendEffect::Mix;
  TWeightSource weight = TWeightSource::Alpha;
  std::array<uint8_t, 3> color{};  // tint colour as stored: blue, green, red
  // Weight by channel sum (0 to 765) for the brightness modes.
  std::array<uint8_t, 766> weightBySum{};
};

TBlendSetup makeSetup(int mode, int alpha, uint32_t colorRef);

// Blends n pixels of src onto dst by the table, mode 0 included with its formula
// (the plain copy at full opacity is the caller's short cut).
void blendRow(uint8_t* dst, const uint8_t* src, int n, const TBlendSetup& setup);
// The same for rows × n pixels, the rows of dst and src dstStride and srcStride bytes apart.
void blendRect(uint8_t* dst, ptrdiff_t dstStride, const uint8_t* src, ptrdiff_t srcStride, int n, int rows,
               const TBlendSetup& setup);

// One pixel with a coverage of 0 to 16 (the weight rules of rounded pictures).
void blendPixelCoverage(uint8_t* dst, const uint8_t* src, int coverage, const TBlendSetup& setup);

// Moves n pixels towards one colour (blue, green, red) by coverage: d += c * (colour - d) >> 4.
void coverRow(uint8_t* dst, const uint8_t* coverage, int n, const std::array<uint8_t, 3>& color);

// Sets n pixels to one colour (blue, green, red).
void fillRow(uint8_t* dst, int n, const std::array<uint8_t, 3>& color);

// Avx512 stands for AVX-512 F, VL, BW and VBMI.
enum class TKernel { Scalar, Avx2, Avx512 };
// The kernels in use: the best the processor runs, unless a test or benchmark forces one.
TKernel activeKernel();
bool kernelAvailable(TKernel kernel);
void forceKernel(TKernel kernel);
void resetKernel();

}  // namespace zek::blend
