// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tbibliothek.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "vocab/bibliotheksmeldungen.h"
#include "vocab/tvoceinstellungen.h"
#include "vocab/tvokabelabfrage.h"
#include "vocab/vokabeldatei.h"

#include <QCollator>
#include <QCoreApplication>
#include <QLocale>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Far beyond any real library (10,000 entries take about 1 MB), and small enough that
// even a file of tiny records stays within memory. A larger file is read only up to
// here; the learner is told so, and a save over it asks first.
constexpr std::size_t kDateiGrenze = 16u << 20;

enum class TOeffnen { Ok, NichtGefunden, Fehler };

struct TDateiInhalt {
  TOeffnen status = TOeffnen::Ok;
  std::string daten;
  bool unvollstaendig = false;  // read error or cut at kDateiGrenze
  bool zuGross = false;         // cut at kDateiGrenze
};

TDateiInhalt liesDatei(const fs::path& pfad) {
  TDateiInhalt r;
  std::error_code ec;
  if (!fs::exists(pfad, ec)) {
    r.status = TOeffnen::NichtGefunden;
    return r;
  }
  std::ifstream in(pfad, std::ios::binary);
  if (!in || fs::is_directory(pfad, ec)) {
    r.status = TOeffnen::Fehler;
    return r;
  }
  char puffer[65536];
  while (in && r.daten.size() <= kDateiGrenze) {
    in.read(puffer, sizeof puffer);
    r.daten.append(puffer, static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) r.unvollstaendig = true;
  if (r.daten.size() > kDateiGrenze) {
    // Cut at a line end so that no shortened line is taken for a whole one.
    const std::size_t lf = r.daten.rfind('\n', kDateiGrenze - 1);
    r.daten.resize(lf == std::string::npos ? 0 : lf + 1);
    r.unvollstaendig = true;
    r.zuGross = true;
  }
  return r;
}

bool istModalverb(const std::string& w) {
  return w == "must" || w == "may" || w == "should" || w == "will" || w == "would";
}

// Pieces of a meaning set: Bedeutung1, then Bedeutung2 when present, cut at ";".
std::vector<std::string_view> bedeutungsTeile(const std::string& text) {
  std::vector<std::string_view> teile;
  std::string_view rest(text);
  while (true) {
    const std::size_t semi = rest.find(';');
    teile.push_back(rest.substr(0, semi));
    if (semi == std::string_view::npos) break;
    rest.remove_prefix(semi + 1);
    // Only the blank of "; " is dropped, so that "a;b" and "a;c" stay different.
    if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  }
  return teile;
}

bool enthalten(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b) {
  return std::all_of(a.begin(), a.end(), [&b](std::string_view t) {
    return std::any_of(b.begin(), b.end(), [t](std::string_view u) { return zek::equalsNoCase(t, u); });
  });
}

bool gleicheBedeutungen(const TVokabel& a, const TVokabel& b) {
  return gleicheBedeutungsmengen(bedeutungsmenge(a), bedeutungsmenge(b));
}

void sammleAsc(const fs::path& verzeichnis, std::vector<fs::path>& dateien, int tiefe) {
  std::error_code ec;
  if (tiefe > 32) return;
  for (fs::directory_iterator it(verzeichnis, ec), ende; !ec && it != ende; it.increment(ec)) {
    const fs::path& p = it->path();
    const std::string name = p.filename().string();
    if (name == "." || name == "..") continue;
    // Links to directories are not followed: a loop of links must not hang the search.
    if (it->symlink_status(ec).type() == fs::file_type::directory) {
      sammleAsc(p, dateien, tiefe + 1);
    } else if (zek::extensionLower(zek::fromPath(p.filename())) == ".asc") {
      dateien.push_back(p);
    }
  }
}

}  // namespace

std::string bedeutungsmenge(const TVokabel& v) {
  return v.Bedeutung2.empty() ? v.Bedeutung1 : v.Bedeutung1 + "; " + v.Bedeutung2;
}

bool gleicheBedeutungsmengen(const std::string& a, const std::string& b) {
  const auto ta = bedeutungsTeile(a), tb = bedeutungsTeile(b);
  // Both ways, so that "x; x" does not count as equal to "x; y".
  return ta.size() == tb.size() && enthalten(ta, tb) && enthalten(tb, ta);
}

TBibliothek::TBibliothek() : m_zufall(std::random_device{}()) { m_eintraege.emplace_back(); }

TBibliothek::~TBibliothek() = default;
TBibliothek::TAbfrageZeiger::TAbfrageZeiger() = default;
TBibliothek::TAbfrageZeiger::TAbfrageZeiger(const TAbfrageZeiger&) {}
TBibliothek::TAbfrageZeiger::~TAbfrageZeiger() = default;

TVokabelAbfrage& TBibliothek::Abfrage() {
  if (!m_abfrage.p) m_abfrage.p = std::make_unique<TVokabelAbfrage>(*this);
  return *m_abfrage.p;
}

// ---- field access

const TVokabel* TBibliothek::Eintrag(int index) const {
  const int i = aufgeloest(index);
  return gueltig(i) ? &m_eintraege[static_cast<std::size_t>(i)] : nullptr;
}

TVokabel* TBibliothek::eintragFuer(int index) {
  const int i = aufgeloest(index);
  return gueltig(i) ? &m_eintraege[static_cast<std::size_t>(i)] : nullptr;
}

std::string TBibliothek::Vokabel(int index) const {
  if (index == -2) index = std::max(m_aktuell - 1, 0);
  if (index == -3) index = std::min(m_aktuell + 1, static_cast<int>(m_eintraege.size()) - 1);
  const TVokabel* v = Eintrag(index);
  return v ? v->Vokabel : std::string();
}

std::string TBibliothek::Bedeutung(int index, int welche) const {
  const TVokabel* v = Eintrag(index);
  return v ? (welche == 0 ? v->Bedeutung1 : v->Bedeutung2) : std::string();
}

std::string TBibliothek::Kontext(int index, int welche) const {
  const TVokabel* v = Eintrag(index);
  return v ? (welche == 0 ? v->Kontext1 : v->Kontext2) : std::string();
}

bool TBibliothek::Tip(int index, int welche) const {
  const TVokabel* v = Eintrag(index);
  return v && (welche == 0 ? v->Tip1 : v->Tip2);
}

int TBibliothek::Wortart(int index) const {
  const TVokabel* v = Eintrag(index);
  return v ? v->Wortart : 0;
}

bool TBibliothek::Deutsch(int index) const {
  const TVokabel* v = Eintrag(index);
  return v && v->Deutsch;
}

int TBibliothek::Schwierigkeit(int index) const {
  const TVokabel* v = Eintrag(index);
  return v ? v->Schwierigkeit : 0;
}

void TBibliothek::SetVokabel(int index, std::string_view text) {
  if (TVokabel* v = eintragFuer(index)) setze(v->Vokabel, std::string(text));
}

void TBibliothek::SetBedeutung(int index, int welche, std::string_view text) {
  if (TVokabel* v = eintragFuer(index)) setze(welche == 0 ? v->Bedeutung1 : v->Bedeutung2, std::string(text));
}

void TBibliothek::SetKontext(int index, int welche, std::string_view text) {
  if (TVokabel* v = eintragFuer(index)) setze(welche == 0 ? v->Kontext1 : v->Kontext2, std::string(text));
}

void TBibliothek::SetTip(int index, int welche, bool wert) {
  if (TVokabel* v = eintragFuer(index)) setze(welche == 0 ? v->Tip1 : v->Tip2, wert);
}

void TBibliothek::SetWortart(int index, int wert) {
  if (TVokabel* v = eintragFuer(index)) setze(v->Wortart, static_cast<std::uint8_t>(wert));
}

void TBibliothek::SetDeutsch(int index, bool wert) {
  if (TVokabel* v = eintragFuer(index)) setze(v->Deutsch, wert);
}

void TBibliothek::SetSchwierigkeit(int index, int wert) {
  if (TVokabel* v = eintragFuer(index)) setze(v->Schwierigkeit, static_cast<std::uint8_t>(wert));
}

void TBibliothek::SetEintrag(int index, const TVokabel& wert) {
  if (TVokabel* v = eintragFuer(index)) setze(*v, wert);
}

// ---- files

void TBibliothek::Leeren(bool leereBehalten) {
  m_eintraege.clear();
  if (leereBehalten) m_eintraege.emplace_back();
  m_aktuell = 0;
  m_dateiName.clear();
  m_teilweiseGelesen = false;
  m_veraendert = false;
  // A range chosen for the old list means nothing for the new one.
  if (m_einstellungen) {
    m_einstellungen->Von = 0;
    m_einstellungen->Bis = -1;
  }
}

void TBibliothek::leeresEndeEntfernen() {
  if (!m_eintraege.empty() && m_eintraege.back().istLeer()) m_eintraege.pop_back();
}

void TBibliothek::leeresEndeAnhaengen() {
  if (!m_eintraege.empty() && !m_eintraege.back().istLeer()) m_eintraege.emplace_back();
}

bool TBibliothek::Laden(const std::string& pfad, bool ersetzen) {
  const TDateiInhalt inhalt = liesDatei(zek::resolveName(pfad));
  if (inhalt.status != TOeffnen::Ok) {
    if (ersetzen) Leeren(true);
    leeresEndeEntfernen();
    melde(inhalt.status == TOeffnen::NichtGefunden ? TBibliotheksMeldung::DateiNichtGefunden
                                                   : TBibliotheksMeldung::FehlerBeimOeffnen);
    return false;
  }
  return einlesen(inhalt.daten, inhalt.unvollstaendig, inhalt.zuGross, pfad, ersetzen);
}

bool TBibliothek::LadenAus(std::string_view daten, const std::string& pfad, bool ersetzen) {
  return einlesen(daten, false, false, pfad, ersetzen);
}

bool TBibliothek::einlesen(std::string_view daten, bool unvollstaendig, bool zuGross, const std::string& pfad,
                           bool ersetzen) {
  TLeseErgebnis gelesen = liesVokabeln(daten);
  const bool heil = gelesen.fehler.empty() && !unvollstaendig;
  const TBibliotheksMeldung meldung = zuGross ? TBibliotheksMeldung::ZuGross : TBibliotheksMeldung::FalschesFormat;
  if (!heil && gelesen.eintraege.empty()) {
    // Not a library at all: the library on show and its file name stay, so that no save
    // can write an empty list over that file.
    melde(meldung);
    return false;
  }
  if (ersetzen) Leeren(true);
  leeresEndeEntfernen();
  m_eintraege.insert(m_eintraege.end(), std::make_move_iterator(gelesen.eintraege.begin()),
                     std::make_move_iterator(gelesen.eintraege.end()));
  if (!heil) melde(meldung);
  m_dateiName = pfad;
  m_teilweiseGelesen = !heil;
  if (m_einstellungen) {
    m_einstellungen->Bis = -1;
    if (m_einstellungen->Von >= Anzahl(false)) m_einstellungen->Von = 0;
  }
  leeresEndeAnhaengen();
  m_veraendert = false;
  return heil;
}

bool TBibliothek::ueberschreibenErlaubt(const std::string& ziel) const {
  if (!m_teilweiseGelesen || m_dateiName.empty()) return true;
  std::error_code ec;
  const bool gleich = ziel == m_dateiName ||
                      fs::equivalent(zek::resolveName(ziel), zek::resolveName(m_dateiName), ec);
  if (!gleich) return true;
  const std::string text = "Die Datei \"" + AnzeigeName() +
                           "\" wurde beim Laden nicht vollst\xE4ndig gelesen. Wird sie jetzt gespeichert, "
                           "geht ihr nicht gelesener Teil verloren.\r\rTrotzdem unter diesem Namen speichern?";
  return showMessage(text, mb::YesNo | mb::IconQuestion) == mb::IdYes;
}

bool TBibliothek::Speichern(const std::string& pfad) {
  const std::string ziel = pfad.empty() ? m_dateiName : pfad;
  if (!ziel.empty() && !ueberschreibenErlaubt(ziel)) return false;  // still modified: nothing was saved
  const std::string daten = schreibeVokabeln(m_eintraege, static_cast<std::size_t>(Anzahl(false)));
  // Written beside the target and renamed over it: a failure half-way keeps the old file.
  if (ziel.empty() || !zek::writeFileAtomic(zek::resolveName(ziel), daten)) {
    melde(TBibliotheksMeldung::SpeichernFehlgeschlagen);
    return false;  // still modified: nothing was saved
  }
  m_dateiName = ziel;
  m_teilweiseGelesen = false;
  m_veraendert = false;
  return true;
}

std::string TBibliothek::AnzeigeName() const {
  if (m_dateiName.empty()) return "Unbenannt";
  if (m_dateiName.size() <= 34) return m_dateiName;
  const std::size_t trenner = m_dateiName.find_last_of("\\/");
  const std::string ende = trenner == std::string::npos ? m_dateiName : m_dateiName.substr(trenner);
  return m_dateiName.substr(0, 16) + " ... " + ende;
}

// ---- counting

int TBibliothek::Anzahl(bool mitLeerem) const {
  const int n = static_cast<int>(m_eintraege.size());
  return !mitLeerem && n > 0 && m_eintraege.back().istLeer() ? n - 1 : n;
}

bool TBibliothek::IstLeer(int index) const {
  return !gueltig(index) || m_eintraege[static_cast<std::size_t>(index)].istLeer();
}

int TBibliothek::ErsteLuecke() const {
  for (std::size_t i = 0; i < m_eintraege.size(); ++i) {
    if (m_eintraege[i].istLeer()) return i + 1 < m_eintraege.size() ? static_cast<int>(i) : -1;
  }
  return -1;
}

int TBibliothek::ZaehleSprache(bool deutsch, int von, int bis) const {
  if (bis == -1) bis = Anzahl(false) - 1;
  von = std::max(von, 0);
  bis = std::min(bis, static_cast<int>(m_eintraege.size()) - 1);
  int n = 0;
  for (int i = von; i <= bis; ++i) n += m_eintraege[static_cast<std::size_t>(i)].Deutsch == deutsch ? 1 : 0;
  return n;
}

bool TBibliothek::IstAktiv(int index) const {
  if (IstLeer(index) || !m_einstellungen) return false;
  const TVokabel& v = m_eintraege[static_cast<std::size_t>(index)];
  const TVocEinstellungen& e = *m_einstellungen;
  if (v.Wortart >= 4 && !e.Redewendungen) return false;
  if (e.Richtung == TVocEinstellungen::RichtungDE && !v.Deutsch) return false;
  if (e.Richtung == TVocEinstellungen::RichtungED && v.Deutsch) return false;
  return v.Schwierigkeit < e.NichtZuSchwer.size() && e.NichtZuSchwer[v.Schwierigkeit];
}

int TBibliothek::BereichVon() const {
  return m_einstellungen ? std::max(m_einstellungen->Von, 0) : 0;
}

int TBibliothek::BereichBis() const {
  // "to" -1 stays -1 in the settings, so that entries added later belong to the range.
  return m_einstellungen && m_einstellungen->Bis >= 0 ? m_einstellungen->Bis : Anzahl(false) - 1;
}

int TBibliothek::AktivAnzahl() {
  if (!m_einstellungen) return 0;
  TVocEinstellungen& e = *m_einstellungen;
  const int n = Anzahl(false);
  if (e.Von == -1) e.Von = 0;
  const int von = e.Von, bisBereich = BereichBis();
  if (n == 0 || von >= n || bisBereich > n || bisBereich < von) return 0;
  int aktiv = 0;
  const int bis = std::min(bisBereich, static_cast<int>(m_eintraege.size()) - 1);
  for (int i = std::max(von, 0); i <= bis; ++i) aktiv += IstAktiv(i) ? 1 : 0;
  return aktiv;
}

bool TBibliothek::BibliothekGeladen() {
  const int n = Anzahl(false);
  const bool etwas = std::any_of(m_eintraege.begin(), m_eintraege.end(), [](const TVokabel& v) { return !v.istLeer(); });
  if (n == 0 || !etwas) {
    melde(TBibliotheksMeldung::KeineBibliothek);
    return false;
  }
  if (m_einstellungen) {
    TVocEinstellungen& e = *m_einstellungen;
    if (e.Von < 0 || e.Von >= n - 1) e.Von = 0;
    if (e.Bis < 0 || e.Bis >= n - 1) e.Bis = -1;  // up to the end, however the library grows
  }
  return true;
}

std::string TBibliothek::MitTo(int index) const {
  if (!gueltig(index)) return {};
  const TVokabel& v = m_eintraege[static_cast<std::size_t>(index)];
  if (v.Wortart == 1 && !v.Deutsch && !istModalverb(v.Vokabel)) return "to " + v.Vokabel;
  return v.Vokabel;
}

// ---- editing

int TBibliothek::Hinzufuegen(const TVokabel& v) {
  m_eintraege.push_back(v);
  m_veraendert = true;
  return static_cast<int>(m_eintraege.size()) - 1;
}

void TBibliothek::LeerAnhaengen() {
  m_eintraege.emplace_back();
  m_veraendert = true;
}

void TBibliothek::Entfernen(int index) {
  if (!gueltig(index)) return;
  m_eintraege.erase(m_eintraege.begin() + index);
  m_veraendert = true;
}

bool TBibliothek::LeerEinfuegen() {
  // The top of the list has no entry before it, so inserting there is allowed.
  if (IstLeer(m_aktuell) || (m_aktuell > 0 && IstLeer(m_aktuell - 1))) return false;
  m_eintraege.insert(m_eintraege.begin() + m_aktuell, TVokabel{});
  m_veraendert = true;
  return true;
}

void TBibliothek::Tauschen(int a, int b) {
  if (gueltig(a) && gueltig(b) && a != b) std::swap(m_eintraege[static_cast<std::size_t>(a)], m_eintraege[static_cast<std::size_t>(b)]);
}

void TBibliothek::SortiereBereich(int von, int bis) {
  m_veraendert = true;
  von = std::max(von, 0);
  bis = std::min(bis, static_cast<int>(m_eintraege.size()) - 1);
  if (m_eintraege.size() <= 1 || bis <= von) return;
  QCollator collator{QLocale(QLocale::German, QLocale::Germany)};
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  // Keys once per entry: collating the texts anew at every comparison is far slower.
  std::vector<QCollatorSortKey> schluessel;
  std::vector<int> ordnung;
  schluessel.reserve(static_cast<std::size_t>(bis - von + 1));
  for (int i = von; i <= bis; ++i) {
    const TVokabel& v = m_eintraege[static_cast<std::size_t>(i)];
    schluessel.push_back(collator.sortKey(zek::toQString(v.Vokabel + std::to_string(v.Wortart))));
    ordnung.push_back(i - von);
  }
  auto key = [&](int stelle) -> const QCollatorSortKey& { return schluessel[static_cast<std::size_t>(ordnung[static_cast<std::size_t>(stelle)])]; };
  // Quicksort with the middle element as pivot; the smaller half recursively, the larger
  // in the loop, so that the depth stays logarithmic.
  std::function<void(int, int)> sortiere = [&](int l, int r) {
    while (l < r) {
      int i = l, j = r;
      const QCollatorSortKey pivot = key((l + r) / 2);
      do {
        while (key(i).compare(pivot) < 0) ++i;
        while (key(j).compare(pivot) > 0) --j;
        if (i <= j) {
          std::swap(ordnung[static_cast<std::size_t>(i)], ordnung[static_cast<std::size_t>(j)]);
          ++i;
          --j;
        }
      } while (i <= j);
      if (j - l < r - i) {
        if (l < j) sortiere(l, j);
        l = i;
      } else {
        if (i < r) sortiere(i, r);
        r = j;
      }
    }
  };
  sortiere(0, bis - von);
  std::vector<TVokabel> sortiert;
  sortiert.reserve(ordnung.size());
  for (int k : ordnung) sortiert.push_back(std::move(m_eintraege[static_cast<std::size_t>(von + k)]));
  std::move(sortiert.begin(), sortiert.end(), m_eintraege.begin() + von);
}

void TBibliothek::Sortieren() {
  const int n = Anzahl(false);
  int g = 0, e = 0;
  for (int i = 0; i < n; ++i) {
    const TVokabel& v = m_eintraege[static_cast<std::size_t>(i)];
    if (v.istLeer()) continue;
    (v.Deutsch ? g : e) += 1;
  }
  if (g == 0 && e == 0) return;
  if (g > 0 && e > 0) {
    int naechste = e;
    for (int i = 0; i < e; ++i) {
      if (!m_eintraege[static_cast<std::size_t>(i)].Deutsch) continue;
      while (naechste < n && (m_eintraege[static_cast<std::size_t>(naechste)].Deutsch ||
                              m_eintraege[static_cast<std::size_t>(naechste)].istLeer()))
        ++naechste;
      if (naechste >= n) break;
      Tauschen(i, naechste++);
      m_veraendert = true;  // the order changed even when no block needs sorting
    }
  }
  if (e > 1) SortiereBereich(0, e - 1);
  if (g > 1) SortiereBereich(e, e + g - 1);
}

void TBibliothek::pumpen() {
  // Keeps the window responsive during long walks without paying for an event round on
  // every single entry.
  using namespace std::chrono;
  const long long jetzt = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  if (jetzt - m_letztesPumpen < 15) return;
  m_letztesPumpen = jetzt;
  if (m_pumpe) {
    m_pumpe();
  } else if (QCoreApplication::instance()) {
    QCoreApplication::processEvents();
  }
}

void TBibliothek::Umkehren() {
  leeresEndeEntfernen();
  const std::size_t n = m_eintraege.size();
  m_eintraege.reserve(2 * n + 1);
  for (std::size_t i = 0; i < n; ++i) {
    const TVokabel& alt = m_eintraege[i];
    TVokabel neu;
    neu.Vokabel = alt.Bedeutung1;
    neu.Bedeutung1 = alt.Vokabel;
    neu.Deutsch = !alt.Deutsch;
    neu.Wortart = alt.Wortart;
    neu.Schwierigkeit = alt.Schwierigkeit;
    m_eintraege.push_back(std::move(neu));
    pumpen();
  }
  leeresEndeAnhaengen();
  m_veraendert = true;
}

void TBibliothek::Mischen() {
  const int n = Anzahl(false);
  if (n < 4) return;
  std::uniform_int_distribution<int> wahl(0, n - 1);
  for (int k = 0; k < n; ++k) {
    int a = 0, b = 0;
    do {
      a = wahl(m_zufall);
      b = wahl(m_zufall);
    } while (a == b);
    Tauschen(a, b);
  }
  m_veraendert = true;
}

int TBibliothek::DoppelteRaus(bool melden) {
  if (m_eintraege.size() <= 1 && melden) {
    melde(TBibliotheksMeldung::NichtGenugVokabeln);
    return 0;
  }
  // One pass that keeps each entry unless it repeats the last kept one, the same result
  // as removing duplicates one by one, without moving the tail at every removal (that was
  // quadratic: a quarter of a second for 10,000 entries). The pass takes milliseconds, so
  // it does not stop for pending messages, which would see half-moved entries.
  if (m_eintraege.empty()) return 0;
  std::size_t behalten = 0;
  for (std::size_t i = 1; i < m_eintraege.size(); ++i) {
    const TVokabel& vor = m_eintraege[behalten];
    TVokabel& v = m_eintraege[i];
    if (v.Vokabel == vor.Vokabel && v.Wortart == vor.Wortart && gleicheBedeutungen(v, vor)) continue;
    if (++behalten != i) m_eintraege[behalten] = std::move(v);
  }
  const int entfernt = static_cast<int>(m_eintraege.size() - behalten - 1);
  m_eintraege.resize(behalten + 1);
  if (entfernt > 0) m_veraendert = true;
  return entfernt;
}

void TBibliothek::ZufallsAuswahl(const std::string& verzeichnis) {
  Leeren(true);
  const std::string wurzel = verzeichnis.empty() ? m_zufallsVerzeichnis : verzeichnis;
  std::vector<fs::path> dateien;
  if (!wurzel.empty()) sammleAsc(zek::resolveName(wurzel), dateien, 0);
  if (dateien.empty()) return;
  // Listing order differs between file systems; sorted, a seed gives the same choice.
  std::sort(dateien.begin(), dateien.end());
  auto zufallsIndex = [this](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(m_zufall); };
  while (dateien.size() > 5) dateien.erase(dateien.begin() + static_cast<std::ptrdiff_t>(zufallsIndex(dateien.size())));
  while (!dateien.empty() && Anzahl(false) <= 500) {
    const std::size_t k = zufallsIndex(dateien.size());
    Laden(zek::fromPath(dateien[k]), false);
    dateien.erase(dateien.begin() + static_cast<std::ptrdiff_t>(k));
  }
  m_zufallsVerzeichnis = wurzel;
  // A mix of several files has no file of its own: saving it must not overwrite the last
  // file that went into it.
  m_dateiName.clear();
  m_teilweiseGelesen = false;
  m_veraendert = false;
}
