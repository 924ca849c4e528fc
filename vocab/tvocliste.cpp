// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tvocliste.h"

#include "platform/files.h"
#include "platform/messages.h"
#include "platform/tprintsurface.h"
#include "vocab/abfragetext.h"
#include "vocab/druckauftrag.h"
#include "vocab/tbibliothek.h"
#include "vocab/umbrechen.h"

#include <algorithm>

namespace {

constexpr int kZeile = 44;

TPrintFont schrift(bool fett, bool kursiv) {
  TPrintFont f;
  f.height = 33;
  f.bold = fett;
  f.italic = kursiv;
  return f;
}

std::vector<std::string> gewickelt(TPrintSurface& f, const std::string& text, int breite, std::size_t hoechstens) {
  std::vector<std::string> z;
  Umbrechen(f, text, breite, z);
  if (z.size() > hoechstens) z.resize(hoechstens);
  return z;
}

int zeileY(int j) { return -160 - kZeile * j; }

void kopf(TPrintSurface& f, const std::string& name, int seite, bool fein) {
  const int P = f.width();
  const std::uint32_t farbe = fein ? 0xFFFFFF : 0x000000;
  if (fein) f.fill(20, -20, P - 20, -120, 0x000000);
  else f.frame(20, -20, P - 20, -120);
  f.setFont(schrift(true, false));
  f.text((P - f.textWidth(name)) / 2, -55, name, farbe);
  f.setFont(schrift(false, true));
  const std::string s = "S. " + std::to_string(seite);
  f.text(P - 100 - f.textWidth(s), -55, s, farbe);
}

}  // namespace

TListenDruck ListeSetzen(TPrintSurface& f, const std::vector<TVokabel>& eintraege, const std::string& name) {
  const int P = f.width(), Q = f.height();
  const bool fein = f.dpiX() > 300 && f.dpiY() > 300;
  std::vector<TPrintVoc> liste;
  f.setFont(schrift(true, false));
  for (std::size_t i = 0; i < eintraege.size(); ++i) {
    const TVokabel& v = eintraege[i];
    if (v.istLeer()) continue;
    TPrintVoc p;
    p.index = int(i);
    p.wort = gewickelt(f, v.Vokabel, 860, 3);
    p.bedeutung = gewickelt(f, v.Bedeutung2.empty() ? v.Bedeutung1 : v.Bedeutung1 + "; " + v.Bedeutung2, P - 1350, 5);
    p.etikettX = 290 + f.textWidth(p.wort.back());
    liste.push_back(std::move(p));
  }
  f.setFont(schrift(false, false));
  for (TPrintVoc& p : liste) {
    const TVokabel& v = eintraege[std::size_t(p.index)];
    if (!v.Kontext1.empty()) p.satz1 = gewickelt(f, gedruckterSatz(v.Kontext1, v.Vokabel), 810, 5);
    if (!v.Kontext2.empty()) p.satz2 = gewickelt(f, gedruckterSatz(v.Kontext2, v.Vokabel), 810, 5);
    p.hoehe = std::max(int(p.wort.size() + p.satz1.size() + p.satz2.size()), int(p.bedeutung.size()));
  }

  const int proSeite = std::max(1, (Q - 210) / kZeile);
  TListenDruck ergebnis;
  std::size_t naechster = 0;
  while (naechster < liste.size()) {
    if (ergebnis.seiten > 0) f.newPage();
    ++ergebnis.seiten;
    kopf(f, name, ergebnis.seiten, fein);
    // Whole entries while they fit; one too tall for any page goes alone.
    std::size_t ende = naechster;
    int belegt = 0;
    while (ende < liste.size() && (belegt == 0 || belegt + liste[ende].hoehe <= proSeite)) {
      liste[ende].ersteZeile = belegt;
      belegt += liste[ende].hoehe;
      ++ende;
    }
    const auto zeichnen = [&](int j, int x, const std::string& text) {
      if (j < proSeite) f.text(x, zeileY(j), text);
    };
    if (fein) {
      for (std::size_t i = naechster; i < ende; ++i) {
        const TPrintVoc& p = liste[i];
        if (p.index % 2 != 0) continue;
        const int letzte = std::min(p.ersteZeile + p.hoehe, proSeite);
        f.fill(270, zeileY(p.ersteZeile) + 6, P - 20, zeileY(letzte) + 6, 0xEEEEEE);
      }
    }
    for (std::size_t i = naechster; i < ende; ++i) {
      TPrintVoc& p = liste[i];
      f.setFont(schrift(true, false));
      for (std::size_t z = 0; z < p.wort.size(); ++z) zeichnen(p.ersteZeile + int(z), 290, p.wort[z]);
      for (std::size_t z = 0; z < p.bedeutung.size(); ++z) zeichnen(p.ersteZeile + int(z), 1250, p.bedeutung[z]);
      p.etikettY = zeileY(p.ersteZeile + int(p.wort.size()) - 1);
      if (p.etikettX < 1200) {
        f.setFont(schrift(false, true));
        if (p.ersteZeile + int(p.wort.size()) - 1 < proSeite)
          f.text(p.etikettX + 30, p.etikettY, wortartListe(eintraege[std::size_t(p.index)].Wortart));
      }
      f.setFont(schrift(false, false));
      const std::string nummer = std::to_string(p.index + 1);
      zeichnen(p.ersteZeile, 250 - f.textWidth(nummer), nummer);
      int j = p.ersteZeile + int(p.wort.size());
      for (const std::string& z : p.satz1) zeichnen(j++, 340, z);
      for (const std::string& z : p.satz2) zeichnen(j++, 340, z);
    }
    ergebnis.eintraege += int(ende - naechster);
    naechster = ende;
  }
  return ergebnis;
}

void ListeDrucken(TBibliothek& bib) {
  const auto& eintraege = bib.Eintraege();
  if (std::none_of(eintraege.begin(), eintraege.end(), [](const TVokabel& v) { return !v.istLeer(); })) {
    showMessageTitled("Welche Vokabeln soll ich drucken?!", "Fehler", mb::Ok | mb::IconStop);
    return;
  }
  std::string name = zek::fileNamePart(bib.DateiName());
  if (name.empty()) name = "Ohne Namen";
  TBusyCursor sanduhr;
  druckAuftrag({"zek englisch - " + name, "liste.pdf"}, [&](TPrintSurface& f) { ListeSetzen(f, eintraege, name); });
}
