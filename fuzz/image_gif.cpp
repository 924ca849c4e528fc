// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/image_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  checkDecoded(zek::decodeGif(fuzzBytes(data, size), fuzzLimits()));
  return 0;
}
