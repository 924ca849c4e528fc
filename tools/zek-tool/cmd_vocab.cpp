// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/zek-tool/command.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "vocab/bibliothekspruefung.h"

#include <iostream>

namespace {

// UTF-8 LF source → Windows-1252 as the build converts it; lines with characters that have
// no code are listed (and get "?" here so that the rest can still be checked).
std::string ausQuelle(std::string_view utf8, std::vector<std::size_t>& unkodierbar) {
  if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
  std::string out;
  std::size_t pos = 0, zeile = 1;
  while (pos <= utf8.size()) {
    std::size_t ende = utf8.find('\n', pos);
    if (ende == std::string_view::npos) ende = utf8.size();
    const std::string_view teil = utf8.substr(pos, ende - pos);
    if (const auto ok = zek::utf8ToCp1252Strict(teil)) {
      out += *ok;
    } else {
      unkodierbar.push_back(zeile);
      out += zek::utf8ToCp1252(teil);
    }
    if (ende < utf8.size()) out.push_back('\n');
    pos = ende + 1;
    ++zeile;
  }
  return out;
}

void liste(const char* titel, const std::vector<std::string>& namen, const std::size_t* zahlen, std::size_t n) {
  std::cout << titel << ":";
  for (std::size_t i = 0; i < n; ++i) std::cout << (i ? ", " : " ") << namen[i] << " " << zahlen[i];
  std::cout << "\n";
}

int libCheck(const std::vector<std::string>& args) {
  bool utf8 = false, strict = false;
  std::string datei;
  for (const std::string& a : args) {
    if (a == "--utf8") {
      utf8 = true;
    } else if (a == "--strict") {
      strict = true;
    } else if (datei.empty() && (a.empty() || a[0] != '-')) {
      datei = a;
    } else {
      std::cerr << "usage: zek-tool lib-check [--utf8] [--strict] FILE.asc\n";
      return 2;
    }
  }
  if (datei.empty()) {
    std::cerr << "usage: zek-tool lib-check [--utf8] [--strict] FILE.asc\n";
    return 2;
  }
  const auto roh = zek::readFile(datei, 256u << 20);
  if (!roh) {
    std::cerr << "zek-tool lib-check: cannot read " << datei << " (missing, unreadable or larger than 256 MiB)\n";
    return 2;
  }
  std::vector<std::size_t> unkodierbar;
  const std::string daten = utf8 ? ausQuelle(*roh, unkodierbar) : *roh;
  const TPruefBericht b = pruefeBibliothek(daten, utf8, unkodierbar);

  std::cout << datei << "\n";
  std::cout << "entries: " << b.eintraege << "\n";
  if (b.nichtGeladen > 0)
    std::cout << "not loaded (after the first broken record): " << b.nichtGeladen << "\n";
  liste("word classes", {"noun", "verb", "adjective", "small word", "idiom with verb", "idiom without verb", "other"},
        b.proWortart.data(), b.proWortart.size());
  liste("difficulty", {"0 Baby", "1 Leicht", "2 Mittel", "3 Schwierig", "4 T\xC3\xB6" "dlich", "other"},
        b.proSchwierigkeit.data(), b.proSchwierigkeit.size());
  std::cout << "direction: English-German " << b.englischDeutsch << ", German-English " << b.deutschEnglisch << "\n";
  std::cout << "with example sentences: " << b.mitKontext << "\n";
  for (const TPruefMeldung& m : b.fehler) std::cout << datei << ":" << m.zeile << ": error: " << m.text << "\n";
  for (const TPruefMeldung& m : b.warnungen) std::cout << datei << ":" << m.zeile << ": warning: " << m.text << "\n";
  std::cout << b.fehler.size() << " failed record(s), " << b.warnungen.size() << " warning(s)\n";
  if (!b.fehler.empty()) return 1;
  return strict && !b.warnungen.empty() ? 1 : 0;
}

TToolCommandRegistrar reg({"lib-check", "lib-check [--utf8] [--strict] FILE.asc",
                           "checks a vocabulary library: counts, records that fail to load, suspicious values "
                           "(--utf8: a UTF-8 LF source; --strict: warnings fail too)",
                           libCheck});

}  // namespace
