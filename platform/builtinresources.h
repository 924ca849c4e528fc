// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

// Data compiled into the program from content/ (defined by the generated zek_blocks library).

// Built-in data block 1 (lab sentences), 2 (verb table) or 3 (answer pool), zlib-compressed;
// empty when the program has no such block.
std::string_view compressedBlock(int number);

// A named resource for "$" pictures ("logo_bmp"), its raw bytes; empty when missing.
std::string_view namedResource(std::string_view name);
