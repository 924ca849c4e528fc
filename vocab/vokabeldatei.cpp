// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/vokabeldatei.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

std::optional<std::string_view> TZeilenLeser::naechste(TLeseFehlerArt& fehler) {
  if (amEnde()) {
    fehler = TLeseFehlerArt::DateiEnde;
    return std::nullopt;
  }
  ++m_zeile;
  const std::size_t start = m_pos;
  std::size_t ende = m_daten.find('\n', start);
  const bool mitLf = ende != std::string_view::npos;
  if (!mitLf) ende = m_daten.size();
  m_pos = mitLf ? ende + 1 : ende;
  std::size_t laenge = ende - start;
  if (mitLf && laenge > 0 && m_daten[ende - 1] == '\r') --laenge;
  if (laenge > kZeilenGrenze) {
    fehler = TLeseFehlerArt::ZeileZuLang;
    return std::nullopt;
  }
  return m_daten.substr(start, laenge);
}

std::string_view trimmeSteuerzeichen(std::string_view text) {
  auto klein = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && klein(text.front())) text.remove_prefix(1);
  while (!text.empty() && klein(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<int> leseZahl(std::string_view text) {
  text = trimmeSteuerzeichen(text);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  std::int64_t wert = 0;
  const char* ende = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), ende, wert);
  if (ec != std::errc() || ptr != ende || wert < INT32_MIN || wert > INT32_MAX) return std::nullopt;
  return static_cast<int>(wert);
}

std::optional<int> vokabelAusZeilen(const std::array<std::string_view, 10>& z, bool trimmen, TVokabel& v) {
  auto text = [trimmen](std::string_view s) { return std::string(trimmen ? trimmeSteuerzeichen(s) : s); };
  const auto wortart = leseZahl(z[7]);
  if (!wortart) return 7;
  const auto stufe = leseZahl(z[9]);
  if (!stufe) return 9;
  v.Vokabel = text(z[0]);
  v.Bedeutung1 = text(z[1]);
  v.Bedeutung2 = text(z[2]);
  v.Kontext1 = std::string(z[3]);
  v.Tip1 = z[4] != "0";  // tips are on unless switched off explicitly
  v.Kontext2 = std::string(z[5]);
  v.Tip2 = z[6] != "0";
  v.Wortart = static_cast<std::uint8_t>(*wortart);  // kept to one byte, as stored
  v.Deutsch = z[8] == "-1";  // the language flag is off unless switched on explicitly
  v.Schwierigkeit = static_cast<std::uint8_t>(*stufe);
  return std::nullopt;
}

namespace {

struct TSatzVersuch {
  std::optional<TLeseFehler> fehler;
  TVokabel vokabel;
  TSatzRoh roh;
};

TSatzVersuch leseSatz(TZeilenLeser& leser, const TLeseOptionen& optionen) {
  TSatzVersuch r;
  r.roh.ersteZeile = leser.zeile() + 1;
  TLeseFehlerArt art{};
  for (int i = 0; i < 10; ++i) {
    auto zeile = leser.naechste(art);
    if (zeile && i == 1 && optionen.wavRegel && zeile->substr(0, 4) == ".wav") {
      r.roh.wavZeile = true;
      zeile = leser.naechste(art);
    }
    if (!zeile) {
      const bool ende = art == TLeseFehlerArt::DateiEnde;
      r.fehler = TLeseFehler{art, r.roh.ersteZeile, ende ? leser.zeile() + 1 : leser.zeile(), i};
      return r;
    }
    r.roh.zeilen[static_cast<std::size_t>(i)] = *zeile;
  }
  if (const auto schlecht = vokabelAusZeilen(r.roh.zeilen, optionen.trimmen, r.vokabel)) {
    const std::size_t letzte = leser.zeile();  // line 10 of the record
    r.fehler = TLeseFehler{TLeseFehlerArt::KeineZahl, r.roh.ersteZeile, letzte - static_cast<std::size_t>(9 - *schlecht),
                           *schlecht};
  }
  return r;
}

// A record that looks written by the program: canonical flags and numbers inside the tables.
bool plausibel(const TSatzVersuch& v) {
  if (v.fehler) return false;
  const auto& z = v.roh.zeilen;
  auto flag = [](std::string_view s) { return s == "0" || s == "-1"; };
  return flag(z[4]) && flag(z[6]) && flag(z[8]) && v.vokabel.Wortart < kWortartAnzahl &&
         v.vokabel.Schwierigkeit < kSchwierigkeitAnzahl;
}

}  // namespace

TLeseErgebnis liesVokabeln(std::string_view daten, const TLeseOptionen& optionen) {
  TLeseErgebnis ergebnis;
  TZeilenLeser leser(daten);
  while (!leser.amEnde()) {
    const TZeilenLeser satzBeginn = leser;
    TSatzVersuch satz = leseSatz(leser, optionen);
    if (!satz.fehler) {
      ergebnis.eintraege.push_back(std::move(satz.vokabel));
      if (optionen.rohZeilen) ergebnis.roh.push_back(satz.roh);
      continue;
    }
    ergebnis.fehler.push_back(*satz.fehler);
    if (!optionen.weiterNachFehler) break;
    // Resynchronise at the first later line where a plausible record starts.
    TZeilenLeser such = satzBeginn;
    TLeseFehlerArt art{};
    such.naechste(art);
    bool gefunden = false;
    while (!such.amEnde()) {
      TZeilenLeser versuch = such;
      if (plausibel(leseSatz(versuch, optionen))) {
        gefunden = true;
        break;
      }
      such.naechste(art);  // steps over an overlong line as well
    }
    if (!gefunden) break;
    leser = such;
  }
  return ergebnis;
}

std::string schreibeVokabeln(const std::vector<TVokabel>& eintraege, std::size_t anzahl) {
  std::string out;
  // A field must stay one readable line: a line feed inside it would shift every later
  // record, and a line beyond the reader's bound could not be loaded again.
  auto zeile = [&out](std::string_view s) {
    s = s.substr(0, kZeilenGrenze);
    const std::size_t start = out.size();
    out += s;
    std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), '\n', ' ');
    out += "\r\n";
  };
  auto flag = [](bool b) { return b ? "-1" : "0"; };
  for (std::size_t i = 0; i < anzahl && i < eintraege.size(); ++i) {
    const TVokabel& v = eintraege[i];
    zeile(v.Vokabel);
    // A meaning starting with ".wav" would be skipped as a sound line when read; the blank
    // in front keeps it, and the reader trims it off again.
    zeile(v.Bedeutung1.rfind(".wav", 0) == 0 ? " " + v.Bedeutung1 : v.Bedeutung1);
    zeile(v.Bedeutung2);
    zeile(v.Kontext1);
    zeile(flag(v.Tip1));
    zeile(v.Kontext2);
    zeile(flag(v.Tip2));
    zeile(std::to_string(v.Wortart));
    zeile(flag(v.Deutsch));
    zeile(std::to_string(v.Schwierigkeit));
  }
  return out;
}
