// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/umbrechen.h"

#include "platform/tprintsurface.h"

void Umbrechen(TPrintSurface& flaeche, std::string_view text, int breite, std::vector<std::string>& zeilen) {
  zeilen.assign(1, std::string());
  int x = 0;
  while (!text.empty()) {
    if (breite - x >= flaeche.textWidth(text)) {
      zeilen.back() += text;
      return;
    }
    const std::size_t blank = text.find(' ');
    const std::string_view wort = text.substr(0, blank == std::string_view::npos ? text.size() : blank + 1);
    text.remove_prefix(wort.size());
    const int w = flaeche.textWidth(wort);
    if (w > breite - x) {
      zeilen.emplace_back(wort);
      x = w;
    } else {
      zeilen.back() += wort;
      x += w;
    }
  }
}
