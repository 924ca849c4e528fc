#include "vocab/vokabelaustausch.h"

#include "platform/files.h"
#include "vocab/austauschfelder.h"
#include "vocab/tbibliothek.h"

#include <algorithm>
#include <filesystem>

TImportErgebnis importiereDatei(const std::string& pfad, TAustauschFormat format, TAustauschRichtung richtung) {
  TImportErgebnis r;
  const auto p = zek::resolveName(pfad);
  std::error_code ec;
  const auto groesse = std::filesystem::file_size(p, ec);
  if (!ec && groesse > kAustauschGrenze) {
    r.fehler = austausch::kZuGross;
    return r;
  }
  const auto daten = zek::readFile(p, kAustauschGrenze + 1);
  if (!daten) {
    r.fehler = "Die Datei \"" + pfad + "\" kann nicht gelesen werden.";
    return r;
  }
  return vokabelFormat(format).lesen(*daten, richtung);
}

TImportErgebnis importiereInBibliothek(TBibliothek& bib, const std::string& pfad, TAustauschFormat format,
                                       TAustauschRichtung richtung) {
  TImportErgebnis r = importiereDatei(pfad, format, richtung);
  if (!r.ok()) return r;
  if (r.eintraege.empty()) {
    r.fehler = "Die Datei enth\xE4lt keine Eintr\xE4ge, die sich \xFC" "bernehmen lassen.";
    return r;
  }
  bib.Leeren(false);
  for (const TVokabel& v : r.eintraege) bib.Hinzufuegen(v);
  bib.LeerAnhaengen();
  bib.setAktuell(0);
  bib.setVeraendert(true);
  return r;
}

std::vector<std::size_t> eintraegeMitSteuerzeichen(const std::vector<TVokabel>& eintraege) {
  const auto steuer = [](const std::string& feld) {
    return std::any_of(feld.begin(), feld.end(), austausch::istSteuerzeichen);
  };
  std::vector<std::size_t> nummern;
  for (std::size_t i = 0; i < eintraege.size(); ++i) {
    const TVokabel& v = eintraege[i];
    if (steuer(v.Vokabel) || steuer(v.Bedeutung1) || steuer(v.Bedeutung2) || steuer(v.Kontext1) || steuer(v.Kontext2))
      nummern.push_back(i + 1);
  }
  return nummern;
}

std::string steuerzeichenHinweis(std::size_t anzahl) {
  if (anzahl == 0) return {};
  const std::string wo = anzahl == 1 ? "einem Eintrag" : austausch::zahlText(anzahl) + " Eintr\xE4gen";
  return "Die Vokabeln wurden exportiert. In " + wo +
         " wurden Steuerzeichen weggelassen, die eine Austauschdatei nicht aufnehmen kann.";
}

std::string exportiereDatei(const std::vector<TVokabel>& eintraege, const std::string& pfad, TAustauschFormat format) {
  const std::string daten = vokabelFormat(format).schreiben(eintraege, {});
  if (!zek::writeFileAtomic(zek::toPath(pfad), daten))
    return "Die Datei \"" + pfad + "\" kann nicht geschrieben werden.";
  return {};
}
