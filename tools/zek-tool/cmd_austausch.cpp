// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/zek-tool/command.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "vocab/vokabelaustausch.h"
#include "vocab/vokabeldatei.h"

#include <iostream>
#include <optional>

namespace {

struct TAufruf {
  std::string quelle, ziel;
  std::optional<TAustauschFormat> format;
  TAustauschRichtung richtung = TAustauschRichtung::Automatisch;
};

// FILE -o OUT [--format text|kvtml] [--direction en-de|de-en]; nothing on a usage error.
std::optional<TAufruf> liesAufruf(const std::vector<std::string>& args, bool mitRichtung) {
  TAufruf a;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& s = args[i];
    const bool wert = i + 1 < args.size();
    if (s == "-o" && wert) {
      a.ziel = args[++i];
    } else if (s == "--format" && wert) {
      const std::string& f = args[++i];
      if (f == "text") a.format = TAustauschFormat::Text;
      else if (f == "kvtml") a.format = TAustauschFormat::Kvtml;
      else return std::nullopt;
    } else if (mitRichtung && s == "--direction" && wert) {
      const std::string& r = args[++i];
      if (r == "en-de") a.richtung = TAustauschRichtung::EnglischDeutsch;
      else if (r == "de-en") a.richtung = TAustauschRichtung::DeutschEnglisch;
      else return std::nullopt;
    } else if (a.quelle.empty() && !s.empty() && s[0] != '-') {
      a.quelle = s;
    } else {
      return std::nullopt;
    }
  }
  if (a.quelle.empty() || a.ziel.empty()) return std::nullopt;
  return a;
}

void meldungen(const std::string& datei, const std::vector<TAustauschMeldung>& liste, const char* art) {
  for (const TAustauschMeldung& m : liste) {
    std::cout << datei << ":" << m.zeile << ": " << art;
    printText(m.text);
    std::cout << "\n";
  }
}

int importieren(const std::vector<std::string>& args) {
  const auto a = liesAufruf(args, true);
  if (!a) {
    std::cerr << "usage: zek-tool import FILE -o OUT.asc [--format text|kvtml] [--direction en-de|de-en]\n";
    return 2;
  }
  const std::string quelle = zek::fromPath(a->quelle);
  const TAustauschFormat format = a->format.value_or(formatFuerName(quelle));
  const TImportErgebnis r = importiereDatei(quelle, format, a->richtung);
  if (!r.ok()) {
    std::cerr << "zek-tool import: " << a->quelle << ": ";
    std::cerr << zek::cp1252ToUtf8(r.fehler) << "\n";
    return 1;
  }
  if (!zek::writeFileAtomic(a->ziel, schreibeVokabeln(r.eintraege))) {
    std::cerr << "zek-tool import: cannot write " << a->ziel << "\n";
    return 1;
  }
  std::cout << "entries: " << r.eintraege.size() << ", skipped: " << r.uebersprungen.size() << "\n";
  meldungen(a->quelle, r.uebersprungen, "");
  meldungen(a->quelle, r.hinweise, "note: ");
  return 0;
}

int exportieren(const std::vector<std::string>& args) {
  const auto a = liesAufruf(args, false);
  if (!a) {
    std::cerr << "usage: zek-tool export LIB.asc -o FILE [--format text|kvtml]\n";
    return 2;
  }
  const auto daten = zek::readFile(a->quelle, kAustauschGrenze);
  if (!daten) {
    std::cerr << "zek-tool export: cannot read " << a->quelle << " (missing, unreadable or larger than 64 MiB)\n";
    return 1;
  }
  const TLeseErgebnis bib = liesVokabeln(*daten);
  if (!bib.fehler.empty()) {
    std::cerr << a->quelle << ":" << bib.fehler[0].zeile << ": broken record; nothing written\n";
    return 1;
  }
  std::size_t leer = 0;
  for (const TVokabel& v : bib.eintraege)
    if (v == TVokabel{}) ++leer;
  const std::string ziel = zek::fromPath(a->ziel);
  const TAustauschFormat format = a->format.value_or(formatFuerName(ziel));
  if (const std::string f = exportiereDatei(bib.eintraege, ziel, format); !f.empty()) {
    std::cerr << "zek-tool export: " << zek::cp1252ToUtf8(f) << "\n";
    return 1;
  }
  // Only wholly empty entries (the editor's gaps) are left out.
  std::cout << "entries: " << bib.eintraege.size() - leer << ", skipped: " << leer << "\n";
  for (const std::size_t nummer : eintraegeMitSteuerzeichen(bib.eintraege))
    std::cout << a->quelle << ": note: Eintrag " << nummer << ": Steuerzeichen in einem Feld entfernt\n";
  return 0;
}

TToolCommandRegistrar regImport({"import", "import FILE -o OUT.asc [--format text|kvtml] [--direction en-de|de-en]",
                                 "imports a UTF-8 text table or a KVTML 2.0 file into a vocabulary library; "
                                 "lists skipped records as FILE:LINE: reason",
                                 importieren});
TToolCommandRegistrar regExport({"export", "export LIB.asc -o FILE [--format text|kvtml]",
                                 "exports a vocabulary library as a UTF-8 text table or KVTML 2.0 "
                                 "(format from the extension .kvtml unless given)",
                                 exportieren});

}  // namespace
