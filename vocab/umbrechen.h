// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

class TPrintSurface;

// Word-wraps `text` to `breite` units measured on the surface with its current font; the
// lines replace the contents of `zeilen`. A word wider than the line starts a line of its
// own (so a first word that is too wide leaves the first line empty).
void Umbrechen(TPrintSurface& flaeche, std::string_view text, int breite, std::vector<std::string>& zeilen);
