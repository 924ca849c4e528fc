// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

class TLernDatenbank;

// A made-up history for benchmarks and pictures: `eintraege` vocabulary entries in eight
// libraries, answered about `antworten` times in all over the `tage` days up to `heute`,
// each entry again after at most its interval, right four times in five.
void erzeugeBeispielHistorie(TLernDatenbank& db, int eintraege, int antworten, int heute, int tage,
                             std::uint32_t seed = 1);
