// SPDX-License-Identifier: GPL-3.0-or-later
// The WAV reader on arbitrary bytes: open, read everything, seek back, read again.
#include "media/twavesource.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMediaError error = TMediaError::None;
  auto source = TWaveSource::openMemory(std::string(reinterpret_cast<const char*>(data), size), error);
  if (!source) {
    if (error == TMediaError::None) __builtin_trap();
    return 0;
  }
  const TPcmFormat f = source->format();
  if (f.channels < 1 || f.channels > 8 || f.rate < 1000) __builtin_trap();
  std::vector<float> buffer(4096 * static_cast<std::size_t>(f.channels));
  std::int64_t total = 0;
  // Bounded, since a header may promise far more frames than the data holds.
  for (int i = 0; i < 256; ++i) {
    const std::size_t n = source->read(buffer.data(), 4096);
    if (n == 0) break;
    if (n > 4096) __builtin_trap();
    total += static_cast<std::int64_t>(n);
  }
  if (source->seekFrame(0)) source->read(buffer.data(), 64);
  (void)total;
  return 0;
}
