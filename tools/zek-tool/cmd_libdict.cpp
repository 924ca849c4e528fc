// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's checks against the dictionary from the command line: the quick check as a
// report over the whole library, and a random library drawn from the dictionary. Both run
// the editor's own check code.
#include "tools/zek-tool/command.h"

#include "dict/database.h"
#include "dict/startup.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "vocab/editorpruefungen.h"
#include "vocab/tbibliothek.h"
#include "vocab/tvoceditorkern.h"
#include "vocab/vokabeldatei.h"

#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>
#include <random>
#include <stdexcept>

// The installation's dictionary beside this program, or the one in --dict DIR; the built
// files (".zek") or their text sources (".txt").
void woerterbuchLaden(TXDatabase& db, const std::string& verzeichnis) {
  std::filesystem::path dir = verzeichnis.empty()
                                  ? std::filesystem::canonical("/proc/self/exe").parent_path() / "ZEK_E"
                                  : zek::toPath(verzeichnis);
  auto datei = [&dir](const char* stamm) -> std::string {
    for (const char* ext : {".zek", ".txt"}) {
      const std::string p = zek::fromPath(dir / (std::string(stamm) + ext));
      if (zek::fileExists(p)) return p;
    }
    throw std::runtime_error("no dictionary " + std::string(stamm) + ".zek in " + zek::fromPath(dir));
  };
  const std::string ed = datei("e_d"), de = datei("d_e");
  zek::ScriptedDialogs dialoge;
  zek::loadDictionaries(db, ed, de);
  if (!dialoge.messages().empty()) {
    std::string text;
    for (const std::string& t : dialoge.texts()) text += (text.empty() ? "" : "; ") + zek::cp1252ToUtf8(t);
    throw std::runtime_error("the dictionary does not load: " + text);
  }
}

namespace {

int zahl(const std::string& text, const char* was, int min, int max) {
  int n = 0;
  const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || p != text.data() + text.size() || n < min || n > max)
    throw std::runtime_error(std::string(was) + " must be a number from " + std::to_string(min) + " to " +
                             std::to_string(max) + ", not \"" + text + "\"");
  return n;
}

constexpr const char* kLibVsDictUsage = "lib-vs-dict LIB.asc [--dict DIR]";

int libVsDict(const std::vector<std::string>& args) {
  std::string datei, dict;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--dict" && i + 1 < args.size()) {
      dict = args[++i];
    } else if (datei.empty() && !args[i].empty() && args[i][0] != '-') {
      datei = args[i];
    } else {
      std::cerr << "usage: zek-tool " << kLibVsDictUsage << "\n";
      return 2;
    }
  }
  if (datei.empty()) {
    std::cerr << "usage: zek-tool " << kLibVsDictUsage << "\n";
    return 2;
  }
  const auto roh = zek::readFile(datei, 256u << 20);
  if (!roh) {
    std::cerr << "zek-tool lib-vs-dict: cannot read " << datei << "\n";
    return 2;
  }
  TXDatabase db;
  woerterbuchLaden(db, dict);

  TLeseOptionen optionen;
  optionen.rohZeilen = true;
  const TLeseErgebnis gelesen = liesVokabeln(*roh, optionen);
  std::size_t geprueft = 0, unbekannt = 0, anders = 0, zuLang = 0;
  for (std::size_t i = 0; i < gelesen.eintraege.size(); ++i) {
    const TVokabel& v = gelesen.eintraege[i];
    if (v.istLeer()) continue;
    ++geprueft;
    const TXPressErgebnis r = xpressPruefen(v, db);
    const std::string wo = datei + ":" + std::to_string(gelesen.roh[i].ersteZeile) + ": ";
    switch (r.befund) {
      case TXPressBefund::Ok:
        break;
      case TXPressBefund::ZuLang:
        ++zuLang;
        std::cout << wo << "first meaning longer than 30 characters\n";
        break;
      case TXPressBefund::Unbekannt:
        ++unbekannt;
        std::cout << wo << "unknown word \"";
        printText(v.Vokabel);
        std::cout << "\" (";
        printText(wortartName(v.Wortart));
        std::cout << ")\n";
        break;
      case TXPressBefund::Anders:
        ++anders;
        std::cout << wo << "meanings differ: >";
        printText(bedeutungsmenge(v));
        std::cout << "< >";
        printText(r.woerterbuch);
        std::cout << "<\n";
        break;
    }
  }
  // The trainer stops reading at a broken record, and so does the check.
  for (const TLeseFehler& f : gelesen.fehler)
    std::cout << datei << ":" << f.satzZeile << ": record does not load; the rest of the file is not checked\n";
  std::cout << geprueft << " checked, " << unbekannt << " unknown, " << anders << " different, " << zuLang
            << " too long\n";
  return unbekannt + anders + zuLang + gelesen.fehler.size() > 0 ? 1 : 0;
}

constexpr const char* kRandomLibUsage =
    "random-lib --size N --english P [--idioms] [--no-sort] [--seed S] [--dict DIR] -o OUT.asc";

int randomLib(const std::vector<std::string>& args) {
  TZufallsWahl wahl;
  wahl.redewendungen = false;
  std::optional<unsigned> seed;
  std::string dict, ziel;
  bool groesse = false, englisch = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool wert = i + 1 < args.size();
    if (a == "--size" && wert) {
      wahl.groesse = zahl(args[++i], "--size", 1, 800);
      groesse = true;
    } else if (a == "--english" && wert) {
      wahl.englisch = zahl(args[++i], "--english", 0, 100);
      englisch = true;
    } else if (a == "--seed" && wert) {
      seed = static_cast<unsigned>(zahl(args[++i], "--seed", 0, 2147483647));
    } else if (a == "--dict" && wert) {
      dict = args[++i];
    } else if (a == "-o" && wert) {
      ziel = args[++i];
    } else if (a == "--idioms") {
      wahl.redewendungen = true;
    } else if (a == "--no-sort") {
      wahl.sortieren = false;
    } else {
      ziel.clear();
      break;
    }
  }
  if (!groesse || !englisch || ziel.empty()) {
    std::cerr << "usage: zek-tool " << kRandomLibUsage << "\n";
    return 2;
  }
  TXDatabase db;
  woerterbuchLaden(db, dict);
  zek::ScriptedDialogs dialoge;  // the editor's boxes end up here
  TBibliothek bib;
  TVocEditorKern kern(bib, db);
  kern.schalter().mcKontrollieren = false;  // a warning per long meaning would say nothing here
  kern.oeffnen();
  std::mt19937 zufall(seed ? *seed : std::random_device{}());
  db.SetRandomSeed(seed ? *seed : std::random_device{}());
  if (!zufallsBibliothek(kern, wahl, zufall)) {
    for (std::string t : dialoge.texts()) {
      for (char& c : t)
        if (c == '\r') c = ' ';
      std::cerr << "zek-tool random-lib: " << zek::cp1252ToUtf8(t) << "\n";
    }
    return 1;
  }
  if (!bib.Speichern(ziel)) {
    std::cerr << "zek-tool random-lib: cannot write " << ziel << "\n";
    return 1;
  }
  std::cout << ziel << ": " << bib.Anzahl(false) << " entries, English-German " << bib.ZaehleSprache(false, 0, -1)
            << ", German-English " << bib.ZaehleSprache(true, 0, -1) << "\n";
  return 0;
}

TToolCommandRegistrar libVsDictReg({"lib-vs-dict", kLibVsDictUsage,
                                    "the editor's quick check as a report: every entry that is unknown to the "
                                    "dictionary, has other meanings there, or has a first meaning too long for a "
                                    "multiple-choice question; exit code 1 when anything was found",
                                    libVsDict});
TToolCommandRegistrar randomLibReg({"random-lib", kRandomLibUsage,
                                    "a library of N entries drawn from the dictionary, P percent of them from the "
                                    "English-German half (--idioms: idioms may be drawn too), sorted unless --no-sort",
                                    randomLib});

}  // namespace
