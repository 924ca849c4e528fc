// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

// The built-in lesson table as it must come out: topic names and sentence counts in
// table order, and the naming rule of its sound files.
struct TLabThemaSoll {
  std::string_view name;
  int saetze;
};

inline constexpr std::array<TLabThemaSoll, 18> kLabThemenSoll{{
    {"Das Allerwichtigste", 82}, {"Im Notfall", 38},      {"Sightseeing", 24},
    {"Im Restaurant", 66},       {"Shopping", 52},        {"Klamotten kaufen", 30},
    {"Am Zeitungsstand", 21},    {"Smalltalk", 41},       {"Post und Telefon", 43},
    {"Beim Arzt", 69},           {"Apotheke", 27},        {"Sport", 46},
    {"Im Hotel", 83},            {"Wegbeschreibung", 36}, {"Flugzeug", 37},
    {"Zug", 40},                 {"Auto und Bus", 40},    {"Zahlen, Zeiten, Daten", 46},
}};

inline constexpr int kLabSaetzeSoll = 821;

// Sound file of sentence `n` (from 0, across the whole table): "3\lab_0315.wav".
std::string labSoundDatei(int n);

struct TSatz;
// The learning memory's key of a sentence: the number of its sound file and the English
// sentence ("0315 Where is the station?"); the sentence alone when it has no sound file.
std::string labSchluessel(const TSatz& satz);
