// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TVerbListe;

// A verb selection: one character per verb in list order ('+' = selected) and the form
// mask for infinitive, past tense, past participle and meanings.
struct TVerbAuswahl {
  std::string verben;
  std::string formen;
};

// The infinitives that preset 1 to 3 names; preset 4 is every verb.
const std::vector<std::string_view>& verbPresetVerben(int preset);

// The selection of the preset commands "vt1" to "vt4" over `liste`; nothing for any
// other number. A named verb missing from the list is simply not selected.
std::optional<TVerbAuswahl> verbPreset(int preset, const TVerbListe& liste);

// Masks as the trainer keeps them: an empty verb mask selects every verb, a shorter one
// is padded with '-' to the list length; a form mask is cut to 4 characters and padded
// with '-', an empty one gives "++++".
std::string normalisierteVerbMaske(std::string_view maske, std::size_t verbAnzahl);
std::string normalisierteFormMaske(std::string_view maske);
