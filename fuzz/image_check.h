// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the image fuzz targets: limits lower than the program's so that each run stays
// quick, and the promise every decoder makes about what it hands out.
#include "platform/imagedecoder.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

inline zek::TImageLimits fuzzLimits() {
  zek::TImageLimits limits;
  limits.maxSide = 2048;
  limits.maxBytes = 16u << 20;
  limits.maxFrames = 256;
  return limits;
}

inline std::string_view fuzzBytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A decoded picture must be whole: the page copies its frames without further checks.
inline void checkDecoded(const zek::TDecodedImage& image) {
  if (!image.ok()) {
    if (!image.frames.empty()) __builtin_trap();
    return;
  }
  if (image.frames.empty() || image.width <= 0 || image.height <= 0) __builtin_trap();
  const size_t frameBytes = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 3u;
  for (const auto& f : image.frames) {
    if (f.bgr.size() != frameBytes) __builtin_trap();
    if (!f.mask.empty() && f.mask.size() * 3u != frameBytes) __builtin_trap();
  }
}
