// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/tlernspeicher.h"

namespace {

TLernspeicher g_still;
TLernspeicher* g_speicher = nullptr;

}  // namespace

const char* lernArtName(TLernArt art) {
  switch (art) {
    case TLernArt::Vokabel: return "vokabel";
    case TLernArt::Verb: return "verb";
    case TLernArt::Labor: return "labor";
    case TLernArt::Seite: return "seite";
  }
  return "vokabel";
}

TLernspeicher& lernspeicher() { return g_speicher ? *g_speicher : g_still; }

void setLernspeicher(TLernspeicher* speicher) { g_speicher = speicher; }
