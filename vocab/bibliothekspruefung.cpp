// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/bibliothekspruefung.h"

#include "platform/codec.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>

namespace {

const char* const kFeldName[10] = {"word",         "meaning 1",  "meaning 2", "sentence 1", "tip 1",
                                   "sentence 2",   "tip 2",      "word class", "direction", "difficulty"};

std::string zitat(std::string_view cp1252) {
  std::string s = zek::cp1252ToUtf8(cp1252.substr(0, 60));
  if (cp1252.size() > 60) s += "...";
  return "\"" + s + "\"";
}

std::string fehlerText(const TLeseFehler& f, std::string_view zeile) {
  std::string t = "record starting at line " + std::to_string(f.satzZeile) + " fails to load: ";
  switch (f.art) {
    case TLeseFehlerArt::DateiEnde:
      return t + "the file ends before its " + kFeldName[f.feld] + " line (a missing line, or a blank line at the end?)";
    case TLeseFehlerArt::ZeileZuLang: return t + "a line longer than " + std::to_string(kZeilenGrenze) + " bytes";
    case TLeseFehlerArt::KeineZahl: return t + "the " + kFeldName[f.feld] + " line is not a decimal number: " + zitat(zeile);
  }
  return t;
}

// The text of line `nummer` (1-based).
std::string_view zeileNr(std::string_view daten, std::size_t nummer) {
  TZeilenLeser leser(daten);
  TLeseFehlerArt art{};
  std::optional<std::string_view> z;
  while (leser.zeile() < nummer && !leser.amEnde()) z = leser.naechste(art);
  return leser.zeile() == nummer && z ? *z : std::string_view();
}

// Where the quiz finds the solution: the first "[" or "(" (not the last character) and
// the last matching closer after it.
bool hatLoesungsStrecke(std::string_view satz) {
  for (std::size_t i = 0; i + 1 < satz.size(); ++i) {
    if (satz[i] != '[' && satz[i] != '(') {
      continue;
    }
    const char zu = satz[i] == '[' ? ']' : ')';
    const std::size_t ende = satz.rfind(zu);
    return ende != std::string_view::npos && ende > i;
  }
  return false;
}

bool kanonischeZahl(std::string_view s) {
  if (s.empty() || s.size() > 3) return false;
  if (s.size() > 1 && s[0] == '0') return false;
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

class TPruefer {
 public:
  TPruefer(TPruefBericht& bericht) : m_b(bericht) {}

  void warne(std::size_t zeile, std::string text) { m_b.warnungen.push_back({zeile, std::move(text)}); }

  void satz(const TVokabel& v, const TSatzRoh& roh, bool geladen) {
    if (geladen) {
      ++m_b.eintraege;
      ++m_b.proWortart[std::min<std::size_t>(v.Wortart, kWortartAnzahl)];
      ++m_b.proSchwierigkeit[std::min<std::size_t>(v.Schwierigkeit, kSchwierigkeitAnzahl)];
      ++(v.Deutsch ? m_b.deutschEnglisch : m_b.englischDeutsch);
      if (!v.Kontext1.empty() || !v.Kontext2.empty()) ++m_b.mitKontext;
    } else {
      ++m_b.nichtGeladen;
    }

    const std::size_t l0 = roh.ersteZeile;
    // Line number of field i (the ".wav" line shifts everything after line 1).
    auto zeile = [&](int i) { return l0 + static_cast<std::size_t>(i) + (roh.wavZeile && i >= 1 ? 1 : 0); };
    const auto& z = roh.zeilen;
    if (roh.wavZeile) warne(l0 + 1, "a \".wav\" line 2 is skipped when read and not written back");
    for (int i = 0; i < 3; ++i) {
      if (trimmeSteuerzeichen(z[i]).size() != z[i].size())
        warne(zeile(i), std::string(kFeldName[i]) + " has blanks or control characters at its ends");
    }
    if (v.Vokabel.empty()) warne(zeile(0), "the word is empty: the entry is blank and never asked");
    if (v.Bedeutung1.empty()) warne(zeile(1), "meaning 1 is empty: the entry is blank and never asked");
    for (int i : {4, 6, 8}) {
      if (z[i] != "0" && z[i] != "-1")
        warne(zeile(i), std::string(kFeldName[i]) + " must be -1 or 0, not " + zitat(z[i]) +
                            (i == 8 ? " (read as 0)" : " (read as -1)"));
    }
    if (!kanonischeZahl(z[7]) || v.Wortart >= kWortartAnzahl)
      warne(zeile(7), "word class must be 0 to 5, not " + zitat(z[7]));
    if (!kanonischeZahl(z[9]) || v.Schwierigkeit >= kSchwierigkeitAnzahl)
      warne(zeile(9), "difficulty must be 0 to 4, not " + zitat(z[9]));
    for (int i : {1, 2}) {
      const std::string_view m = z[i];
      for (std::size_t p = m.find(';'); p != std::string_view::npos; p = m.find(';', p + 1)) {
        if (p + 1 >= m.size() || m[p + 1] != ' ' || (p > 0 && m[p - 1] == ' ')) {
          warne(zeile(i), std::string(kFeldName[i]) + ": separate meanings by \"; \" (semicolon, one blank)");
          break;
        }
      }
    }
    const std::pair<int, int> saetze[] = {{3, 4}, {5, 6}};
    for (const auto& [s, t] : saetze) {
      const std::string_view text = z[s];
      if (text.empty()) {
        if (z[t] == "-1") warne(zeile(t), std::string(kFeldName[t]) + " is set for an empty sentence");
        continue;
      }
      if (!hatLoesungsStrecke(text)) {
        warne(zeile(s), std::string(kFeldName[s]) + " has no solution stretch \"[...]\" or \"(...)\": never asked");
      } else if (std::count_if(text.begin(), text.end(), [](char c) { return c == '[' || c == '('; }) > 1) {
        warne(zeile(s), std::string(kFeldName[s]) + " has more than one bracket pair: the first one is the solution");
      }
    }
    if (v.Wortart == 1 && !v.Deutsch && v.Vokabel.rfind("to ", 0) == 0)
      warne(zeile(0), "write English verbs without \"to\": the trainer adds it");
    const auto schluessel = std::make_pair(v.Vokabel, v.Wortart);
    const auto [it, neu] = m_erste.emplace(schluessel, l0);
    if (!neu && !v.Vokabel.empty())
      warne(l0, "repeats the entry " + zitat(v.Vokabel) + " of line " + std::to_string(it->second) +
                    " (same word and word class)");
  }

 private:
  TPruefBericht& m_b;
  std::map<std::pair<std::string, std::uint8_t>, std::size_t> m_erste;
};

}  // namespace

TPruefBericht pruefeBibliothek(std::string_view daten, bool quelleUtf8, const std::vector<std::size_t>& unkodierbar) {
  TPruefBericht bericht;
  for (std::size_t z : unkodierbar)
    bericht.fehler.push_back({z, "character without a Windows-1252 code (the build refuses the file)"});

  TLeseOptionen optionen;
  optionen.weiterNachFehler = true;
  optionen.rohZeilen = true;
  const TLeseErgebnis gelesen = liesVokabeln(daten, optionen);
  for (const TLeseFehler& f : gelesen.fehler) {
    const std::string_view text = f.art == TLeseFehlerArt::KeineZahl ? zeileNr(daten, f.zeile) : std::string_view();
    bericht.fehler.push_back({f.zeile, fehlerText(f, text)});
  }

  TPruefer pruefer(bericht);
  // Records after the first broken one are read on only to report them; Laden never gets there.
  std::size_t ersterFehler = SIZE_MAX;
  for (const TLeseFehler& f : gelesen.fehler) ersterFehler = std::min(ersterFehler, f.satzZeile);
  for (std::size_t i = 0; i < gelesen.eintraege.size(); ++i)
    pruefer.satz(gelesen.eintraege[i], gelesen.roh[i], gelesen.roh[i].ersteZeile < ersterFehler);

  // Line ends: what the build or the trainer would make of them.
  std::size_t zeile = 1, einzelnesLf = 0, crInSource = 0, ersteLf = 0;
  for (std::size_t p = 0; p < daten.size(); ++p) {
    if (daten[p] != '\n') continue;
    const bool cr = p > 0 && daten[p - 1] == '\r';
    if (quelleUtf8 ? cr : !cr) {
      ++(quelleUtf8 ? crInSource : einzelnesLf);
      if (ersteLf == 0) ersteLf = zeile;
    }
    ++zeile;
  }
  if (einzelnesLf > 0)
    pruefer.warne(ersteLf, std::to_string(einzelnesLf) + " line(s) end with LF alone instead of CR LF (use --utf8 for sources)");
  if (crInSource > 0) pruefer.warne(ersteLf, std::to_string(crInSource) + " line(s) of the source end with CR LF; sources use LF");
  if (!daten.empty() && daten.back() != '\n') pruefer.warne(zeile, "the last line has no line end");

  // The saved form must be the file itself, byte for byte.
  if (gelesen.fehler.empty()) {
    std::string erwartet;
    if (quelleUtf8) {
      std::size_t pos = 0;
      while (pos < daten.size()) {
        std::size_t lf = daten.find('\n', pos);
        if (lf == std::string_view::npos) lf = daten.size();
        erwartet.append(daten.substr(pos, lf - pos));
        erwartet += "\r\n";
        pos = lf + 1;
      }
    } else {
      erwartet = std::string(daten);
    }
    const std::string gespeichert = schreibeVokabeln(gelesen.eintraege);
    if (gespeichert != erwartet) {
      const auto b = std::mismatch(gespeichert.begin(), gespeichert.end(), erwartet.begin(), erwartet.end()).second;
      const std::size_t unterschied = 1 + static_cast<std::size_t>(std::count(erwartet.begin(), b, '\n'));
      pruefer.warne(unterschied, "saving the loaded library would not give this file back (first difference in this line)");
    }
  }
  std::stable_sort(bericht.warnungen.begin(), bericht.warnungen.end(),
                   [](const TPruefMeldung& x, const TPruefMeldung& y) { return x.zeile < y.zeile; });
  std::stable_sort(bericht.fehler.begin(), bericht.fehler.end(),
                   [](const TPruefMeldung& x, const TPruefMeldung& y) { return x.zeile < y.zeile; });
  return bericht;
}
