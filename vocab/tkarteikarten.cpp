// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tkarteikarten.h"

#include "platform/files.h"
#include "platform/messages.h"
#include "platform/tprintservice.h"
#include "vocab/abfragetext.h"
#include "vocab/druckauftrag.h"
#include "vocab/tbibliothek.h"
#include "vocab/tkarteikartendlg.h"
#include "vocab/umbrechen.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kKartenBreite = 600, kKartenHoehe = 400, kRasterBreite = 1800;

TKartenDialog& kartenDialog() {
  static TKartenDialog dialog;
  return dialog;
}

TPrintFont schrift(int hoehe, bool fett, bool kursiv) {
  TPrintFont f;
  f.height = hoehe;
  f.bold = fett;
  f.italic = kursiv;
  return f;
}

void raster(TPrintSurface& f, int L) {
  for (int i = 0; i <= 7; ++i) f.line(L, -20 - kKartenHoehe * i, L + kRasterBreite, -20 - kKartenHoehe * i, true);
  for (int i = 0; i <= 3; ++i) f.line(L + kKartenBreite * i, -20, L + kKartenBreite * i, -20 - 7 * kKartenHoehe, true);
}

void zentriert(TPrintSurface& f, int x0, int y, const std::string& text) {
  f.text(x0 + 150 + (420 - f.textWidth(text)) / 2, y, text);
}

// Wrapped lines at x, y, y - schritt, ...
void zeilen(TPrintSurface& f, const std::string& text, int x, int y, int schritt, std::size_t hoechstens) {
  std::vector<std::string> z;
  Umbrechen(f, text, 540, z);
  for (std::size_t i = 0; i < z.size() && i < hoechstens; ++i) f.text(x, y - schritt * int(i), z[i]);
}

void vorderseite(TPrintSurface& f, const TVokabel& v, int x0, int y0, const std::string& thema) {
  f.setFont(schrift(160, true, false));
  f.text(x0 + 30, y0 - 30, v.Deutsch ? "D" : "E");
  f.line(x0 + 150, y0 - 80, x0 + 570, y0 - 80, false);
  f.setFont(schrift(30, false, true));
  zentriert(f, x0, y0 - 40, "*zek englisch");
  f.text(x0 + 30, y0 - 320, wortartKarte(v.Wortart));
  f.setFont(schrift(36, false, false));
  zentriert(f, x0, y0 - 90, thema);
  f.setFont(schrift(48, true, false));
  std::vector<std::string> z;
  Umbrechen(f, v.Vokabel, 540, z);
  f.text(x0 + 30, y0 - 200, z[0]);
  if (z.size() > 1) f.text(x0 + 30, y0 - 250, z[1]);
}

void rueckseite(TPrintSurface& f, const TVokabel& v, int x0, int y0) {
  f.setFont(schrift(40, true, false));
  zeilen(f, v.Vokabel, x0 + 30, y0 - 30, 40, 2);
  f.setFont(schrift(40, false, false));
  zeilen(f, v.Bedeutung2.empty() ? v.Bedeutung1 : v.Bedeutung1 + "; " + v.Bedeutung2, x0 + 30, y0 - 130, 40, 3);
  if (!v.Kontext1.empty()) {
    f.setFont(schrift(32, false, true));
    zeilen(f, gedruckterSatz(v.Kontext1, v.Vokabel), x0 + 30, y0 - 270, 32, 3);
  }
}

template <class Karte>
int seiten(TPrintSurface& f, const std::vector<TVokabel>& karten, const TKartenWahl& w, int L, bool gespiegelt, Karte karte) {
  const int blaetter = kartenBlaetter(int(karten.size()));
  const int von = std::clamp(std::min(w.von, w.bis), 0, blaetter - 1);
  const int bis = std::clamp(std::max(w.von, w.bis), 0, blaetter - 1);
  int gedruckt = 0;
  for (int s = von; s <= bis; ++s) {
    if (s > von) f.newPage();
    raster(f, L);
    const int ende = std::min(kKartenProBlatt * (s + 1), int(karten.size()));
    for (int k = kKartenProBlatt * s; k < ende; ++k) {
      const int spalte = gespiegelt ? 2 - k % 3 : k % 3;
      const int reihe = (k % kKartenProBlatt) / 3;
      karte(karten[std::size_t(k)], L + kKartenBreite * spalte, -20 - kKartenHoehe * reihe);
      ++gedruckt;
    }
  }
  return gedruckt;
}

}  // namespace

int kartenBlaetter(int karten) { return (karten + kKartenProBlatt - 1) / kKartenProBlatt; }

std::string versatzText(int versatz) {
  const int betrag = std::abs(versatz);
  return (versatz < 0 ? "-" : "") + std::to_string(betrag / 10) + "," + std::to_string(betrag % 10) + " mm";
}

int KartenVorderseiten(TPrintSurface& f, const std::vector<TVokabel>& karten, const TKartenWahl& w) {
  if (karten.empty()) return 0;
  const int L = (f.width() - kRasterBreite) / 2;
  return seiten(f, karten, w, L, false,
                [&](const TVokabel& v, int x0, int y0) { vorderseite(f, v, x0, y0, w.thema); });
}

int KartenRueckseiten(TPrintSurface& f, const std::vector<TVokabel>& karten, const TKartenWahl& w) {
  if (karten.empty()) return 0;
  const int L = (f.width() - kRasterBreite) / 2 + w.versatz;
  return seiten(f, karten, w, L, true, [&](const TVokabel& v, int x0, int y0) { rueckseite(f, v, x0, y0); });
}

std::vector<TVokabel> kartenDerBibliothek(const TBibliothek& bib) {
  std::vector<TVokabel> karten;
  for (const TVokabel& v : bib.Eintraege())
    if (!v.istLeer()) karten.push_back(v);
  return karten;
}

void setKartenDialog(TKartenDialog dialog) { kartenDialog() = std::move(dialog); }

void KarteikartenDrucken(TBibliothek& bib) {
  if (bib.Druckt()) {
    showMessage("Zur Zeit wird schon gedruckt!", mb::Ok | mb::IconExclamation);
    return;
  }
  const std::vector<TVokabel> karten = kartenDerBibliothek(bib);
  if (karten.empty()) {
    showMessage("Welche Vokabeln soll ich drucken?!", mb::Ok | mb::IconExclamation);
    return;
  }
  const int blaetter = kartenBlaetter(int(karten.size()));
  TKartenWahl wahl;
  std::string name = zek::fileNamePart(bib.DateiName());
  if (const std::size_t punkt = name.rfind('.'); punkt != std::string::npos) name.resize(punkt);
  wahl.thema = name.empty() ? "Ohne Namen" : name;
  wahl.bis = blaetter - 1;
  const bool gewaehlt = kartenDialog() ? kartenDialog()(wahl, blaetter) : TKarteikartenDlg::Fragen(wahl, blaetter);
  if (!gewaehlt) return;

  bib.setDruckt(true);
  struct TDrucktZuruecksetzen {
    TBibliothek& bib;
    ~TDrucktZuruecksetzen() { bib.setDruckt(false); }
  } zuruecksetzen{bib};
  TBusyCursor sanduhr;
  if (showMessageTitled("Bitte Bl\xE4tter f\xFCr die Karteikarten einlegen!", "Vorderseiten drucken",
                        mb::OkCancel | mb::IconExclamation) != mb::IdOk) {
    QCoreApplication::processEvents();
    return;
  }
  const bool vorn = druckAuftrag({"zek englisch - Karteikarten (Vorderseiten)", "karten-vorn.pdf"}, [&](TPrintSurface& f) {
    // Seven rows need 282 mm: on shorter paper (Letter) the last row would be cut unseen.
    if (f.height() < 20 + 7 * kKartenHoehe)
      showMessage("Das Papier des Druckers ist k\xFCrzer als A4: die unterste Reihe der Karteikarten wird "
                  "abgeschnitten.", mb::Ok | mb::IconExclamation);
    KartenVorderseiten(f, karten, wahl);
  });
  if (!vorn) return;
  if (showMessageTitled("Bitte die gleichen Bl\xE4tter umgedreht einlegen!\n(Erst wenn alle Vorderseiten bedruckt sind)",
                        "R\xFC" "ckseiten drucken", mb::OkCancel | mb::IconExclamation) != mb::IdOk)
    return;
  druckAuftrag({"zek englisch - Karteikarten (R\xFC" "ckseiten)", "karten-hinten.pdf"},
               [&](TPrintSurface& f) { KartenRueckseiten(f, karten, wahl); });
}
