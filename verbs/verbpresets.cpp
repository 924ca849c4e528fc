// SPDX-License-Identifier: GPL-3.0-or-later
#include "verbs/verbpresets.h"

#include "verbs/tverbliste.h"

namespace {
const std::vector<std::string_view> kPresetA = {"be",  "bring", "can", "come", "do",    "get",
                                                "go",  "make",  "put", "say",  "speak", "take"};
const std::vector<std::string_view> kPresetB = {
    "be",     "become", "break", "bring", "build", "buy", "can",  "catch", "cost", "come",
    "do",     "dream",  "drive", "eat",   "forget", "get", "go",   "hang",  "have", "keep",
    "let",    "make",   "put",   "run",   "say",    "set", "speak", "take"};
const std::vector<std::string_view> kPresetC = {
    "be",    "beat",  "become", "begin",  "bend",  "bet",   "bleed", "blow",   "break", "bring",  "build",
    "burn",  "buy",   "can",    "catch",  "choose", "cost", "come",  "cut",    "deal",  "do",     "draw",
    "dream", "drink", "drive",  "eat",    "fall",  "feel",  "find",  "fly",    "forget", "forgive", "get",
    "go",    "grow",  "hang",   "have",   "hide",  "hit",   "hold",  "keep",   "know",  "lead",   "learn",
    "leave", "let",   "lose",   "make",   "mean",  "meet",  "pay",   "put",    "read",  "ride",   "ring",
    "run",   "say",   "see",    "sell",   "send",  "set",   "shut",  "sing",   "sink",  "sit",    "sleep",
    "smell", "speak", "spell",  "spin",   "stand", "swim",  "swing", "take",   "teach", "tell",   "think",
    "understand", "wear", "win", "write"};
const std::vector<std::string_view> kNone;
}  // namespace

const std::vector<std::string_view>& verbPresetVerben(int preset) {
  switch (preset) {
    case 1: return kPresetA;
    case 2: return kPresetB;
    case 3: return kPresetC;
    default: return kNone;
  }
}

std::optional<TVerbAuswahl> verbPreset(int preset, const TVerbListe& liste) {
  if (preset < 1 || preset > 4) return std::nullopt;
  static constexpr const char* kFormen[] = {"-+-+", "++-+", "++++", "++++"};
  TVerbAuswahl a{std::string(liste.size(), preset == 4 ? '+' : '-'), kFormen[preset - 1]};
  for (std::string_view inf : verbPresetVerben(preset)) {
    const int i = liste.indexOf(inf);
    if (i >= 0) a.verben[static_cast<std::size_t>(i)] = '+';
  }
  return a;
}

std::string normalisierteVerbMaske(std::string_view maske, std::size_t verbAnzahl) {
  if (maske.empty()) return std::string(verbAnzahl, '+');
  std::string m(maske);
  if (m.size() < verbAnzahl) m.append(verbAnzahl - m.size(), '-');
  return m;
}

std::string normalisierteFormMaske(std::string_view maske) {
  if (maske.empty()) return "++++";
  std::string m(maske.substr(0, 4));
  m.append(4 - m.size(), '-');
  return m;
}
