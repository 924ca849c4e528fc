// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/tpagefocus.h"

#include <algorithm>

std::vector<TFocusStop> focusOrder(const TPageLayout& layout, const std::vector<int>& links,
                                   const std::vector<TRect>& fields) {
  std::vector<TFocusStop> stops;
  for (const int link : links) {
    // A link's place is its first area; one stop per link however many words it has.
    for (const TLinkArea& a : layout.areas) {
      if (a.link != link) continue;
      stops.push_back({TFocusStop::Link, link, a.rect});
      break;
    }
  }
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (!fields[i].empty()) stops.push_back({TFocusStop::Field, int(i), fields[i]});
  // Words of one line differ in height: stops whose middles lie within the first stop of a
  // line make that line, read left to right.
  const auto middle = [](const TFocusStop& s) { return s.rect.y + s.rect.h / 2; };
  std::stable_sort(stops.begin(), stops.end(),
                   [&](const TFocusStop& a, const TFocusStop& b) { return middle(a) < middle(b); });
  for (std::size_t start = 0; start < stops.size();) {
    const TRect& first = stops[start].rect;
    std::size_t end = start + 1;
    while (end < stops.size() && middle(stops[end]) < first.bottom()) ++end;
    std::stable_sort(stops.begin() + std::ptrdiff_t(start), stops.begin() + std::ptrdiff_t(end),
                     [](const TFocusStop& a, const TFocusStop& b) { return a.rect.x < b.rect.x; });
    start = end;
  }
  return stops;
}

int nextFocusStop(int count, int current, bool forward) {
  if (count <= 0) return -1;
  if (current < 0 || current >= count) return forward ? 0 : count - 1;
  return forward ? (current + 1) % count : (current + count - 1) % count;
}
