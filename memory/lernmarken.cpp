// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/lernmarken.h"

#include "memory/tlernspeicher.h"

#include <string_view>

namespace {

constexpr std::string_view kZahl = "<!--heute-faellig:";
constexpr std::string_view kEnde = "-->";
constexpr std::string_view kTeil = "<!--lernspeicher-->";
constexpr std::string_view kTeilEnde = "<!--/lernspeicher-->";

void teileEntfernen(std::string& text) {
  std::size_t pos = 0;
  while ((pos = text.find(kTeil, pos)) != std::string::npos) {
    const std::size_t ende = text.find(kTeilEnde, pos);
    // An open part is left alone rather than taking the rest of the page with it.
    if (ende == std::string::npos) return;
    text.erase(pos, ende + kTeilEnde.size() - pos);
  }
}

void zahlenEinsetzen(std::string& text, TLernspeicher& speicher) {
  std::size_t pos = 0;
  while ((pos = text.find(kZahl, pos)) != std::string::npos) {
    const std::size_t ende = text.find(kEnde, pos + kZahl.size());
    if (ende == std::string::npos) return;
    const std::string art = text.substr(pos + kZahl.size(), ende - pos - kZahl.size());
    std::string ersatz;
    for (TLernArt a : {TLernArt::Vokabel, TLernArt::Verb, TLernArt::Labor, TLernArt::Seite})
      if (art == lernArtName(a)) ersatz = "Heute f\xE4llig: " + std::to_string(speicher.faelligAnzahl(a));
    if (ersatz.empty()) {
      pos = ende;  // not ours: stays a comment
      continue;
    }
    text.replace(pos, ende + kEnde.size() - pos, ersatz);
    pos += ersatz.size();
  }
}

}  // namespace

void lernMarkenErsetzen(std::string& text, TLernspeicher& speicher) {
  if (speicher.aktiv()) zahlenEinsetzen(text, speicher);
  else teileEntfernen(text);
}
