// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// The memory's one clock. Days are numbered from 1970-01-01 in local time. ZEK_TODAY
// ("YYYY-MM-DD") moves "today" for tests and scripted runs; the time of day stays real.
int lernTagHeute();
std::int64_t lernZeitJetzt();  // seconds since 1970 (UTC), on the moved day when ZEK_TODAY is set
int lernTagAus(int jahr, int monat, int tag);
// "YYYY-MM-DD" of a day number.
std::string lernDatum(int tag);
// -1 for text that is not a valid "YYYY-MM-DD".
int lernTagAusText(const std::string& text);
