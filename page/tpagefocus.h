// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/tpagelayout.h"

#include <vector>

// What Tab and Shift+Tab step through on a page: its links and its open input fields, in
// reading order (top to bottom, then left to right).
struct TFocusStop {
  enum Kind { Link, Field } kind = Link;
  int index = -1;  // link number or field number
  TRect rect;      // page coordinates
  bool operator==(const TFocusStop&) const = default;
};

// `links` are the followable link numbers; `fields` the rectangles of the fields by number,
// an empty rectangle for one that takes no input (solved, failed, read-only).
std::vector<TFocusStop> focusOrder(const TPageLayout& layout, const std::vector<int>& links,
                                   const std::vector<TRect>& fields);

// The stop after (forward) or before `current` (-1: none yet, then the first or the last),
// wrapping around; -1 without stops.
int nextFocusStop(int count, int current, bool forward);
