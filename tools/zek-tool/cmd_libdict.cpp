// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's checks against the dictionary from the command line: the quick check as a
// report over the whole library, and a random library drawn from the dictionary. Both run
// the editor's own check code.
#include "tools/zek-tool/command.h"

#include "dict/database.h"
#include "dict/meaningtext.h"
#include "dict/startup.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "vocab/editorpruefungen.h"
#include "vocab/tbibliothek.h"
#include "vocab/tvoceditorkern.h"
#include "vocab/vokabeldatei.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
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

constexpr const char* kAgreementUsage = "dict-agreement LIB.asc|DIR ... [--dict DIR] [--top N] [--misses]";

std::vector<std::string_view> meaningsOf(std::string_view text) {
  std::vector<std::string_view> out;
  for (std::size_t pos = 0; pos <= text.size();) {
    std::size_t end = text.find(';', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view m = text.substr(pos, end - pos);
    while (!m.empty() && m.front() == ' ') m.remove_prefix(1);
    while (!m.empty() && m.back() == ' ') m.remove_suffix(1);
    if (!m.empty()) out.push_back(m);
    pos = end + 1;
  }
  return out;
}

// How far the dictionary agrees with libraries: for each English-German entry, whether
// the library's first meaning is among the first N meanings of the entry the editor's
// check finds for the word.
int dictAgreement(const std::vector<std::string>& args) {
  std::vector<std::string> dateien;
  std::string dict;
  int top = 3;
  bool fehlerZeigen = false;
  auto usage = [] {
    std::cerr << "usage: zek-tool " << kAgreementUsage << "\n";
    return 2;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--dict" && i + 1 < args.size()) {
      dict = args[++i];
    } else if (args[i] == "--top" && i + 1 < args.size()) {
      top = zahl(args[++i], "--top", 1, 100);
    } else if (args[i] == "--misses") {
      fehlerZeigen = true;
    } else if (!args[i].empty() && args[i][0] != '-') {
      const std::filesystem::path p = zek::toPath(args[i]);
      if (std::filesystem::is_directory(p)) {
        std::vector<std::string> gefunden;
        for (const auto& e : std::filesystem::recursive_directory_iterator(p))
          if (e.is_regular_file() && e.path().extension() == ".asc") gefunden.push_back(zek::fromPath(e.path()));
        std::sort(gefunden.begin(), gefunden.end());
        dateien.insert(dateien.end(), gefunden.begin(), gefunden.end());
      } else {
        dateien.push_back(args[i]);
      }
    } else {
      return usage();
    }
  }
  if (dateien.empty()) return usage();
  TXDatabase db;
  woerterbuchLaden(db, dict);
  db.SetGermanEnglish(false);
  std::size_t eintraege = 0, bekannt = 0, einig = 0;
  for (const std::string& datei : dateien) {
    const auto roh = zek::readFile(datei, 256u << 20);
    if (!roh) {
      std::cerr << "zek-tool dict-agreement: cannot read " << datei << "\n";
      return 2;
    }
    TLeseOptionen optionen;
    optionen.rohZeilen = true;
    const TLeseErgebnis gelesen = liesVokabeln(*roh, optionen);
    for (std::size_t i = 0; i < gelesen.eintraege.size(); ++i) {
      const TVokabel& v = gelesen.eintraege[i];
      if (v.istLeer() || v.Deutsch) continue;
      const std::vector<std::string_view> eigene = meaningsOf(v.Bedeutung1);
      if (eigene.empty()) continue;
      ++eintraege;
      const int e = db.FindWord(v.Vokabel, v.Wortart + 1);
      // The same word as the editor's check accepts: exactly, or without the gender.
      if (e < 0 || (v.Vokabel != db.WordView(e) && v.Vokabel != zek::bareMeaning(db.WordView(e)))) continue;
      ++bekannt;
      const std::string gesucht = zek::comparisonForm(eigene.front());
      const std::vector<std::string_view> dort = meaningsOf(db.MeaningView(e));
      bool gefunden = false;
      for (std::size_t k = 0; k < dort.size() && k < static_cast<std::size_t>(top) && !gefunden; ++k)
        gefunden = zek::comparisonForm(dort[k]) == gesucht;
      if (gefunden) {
        ++einig;
      } else if (fehlerZeigen) {
        std::cout << datei << ":" << gelesen.roh[i].ersteZeile << ": ";
        printText(v.Vokabel);
        std::cout << "\t";
        printText(std::string(eigene.front()));
        std::cout << "\t";
        printText(std::string(db.MeaningView(e).substr(0, 200)));
        std::cout << "\n";
      }
    }
  }
  auto anteil = [](std::size_t a, std::size_t b) { return b ? 100.0 * static_cast<double>(a) / static_cast<double>(b) : 0.0; };
  std::printf("%zu English-German entries, %zu in the dictionary, %zu with the first meaning among the first %d "
              "(%.1f %% of those in the dictionary, %.1f %% of all)\n",
              eintraege, bekannt, einig, top, anteil(einig, bekannt), anteil(einig, eintraege));
  return 0;
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
TToolCommandRegistrar agreementReg({"dict-agreement", kAgreementUsage,
                                    "for the English-German entries of the libraries (or of every .asc below a "
                                    "folder): how often the library's first meaning is among the first N (3) "
                                    "meanings of the dictionary entry the editor's check finds (--misses: list "
                                    "the others)",
                                    dictAgreement});
TToolCommandRegistrar randomLibReg({"random-lib", kRandomLibUsage,
                                    "a library of N entries drawn from the dictionary, P percent of them from the "
                                    "English-German half (--idioms: idioms may be drawn too), sorted unless --no-sort",
                                    randomLib});

}  // namespace
