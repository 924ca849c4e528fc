// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vocab/tvokabel.h"

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

class TVocEinstellungen;
class TVokabelAbfrage;
class TXPage;

// The one vocabulary library of the program: the ordered entries the editor edits, the
// options load and sort, the quiz asks and the printing prints. Texts and paths are
// Windows-1252. The list normally ends with one blank entry, the editor's new line.
class TBibliothek {
 public:
  TBibliothek();
  ~TBibliothek();

  // Attached at start-up; the active test and loading use the settings.
  void setEinstellungen(TVocEinstellungen* einstellungen) { m_einstellungen = einstellungen; }
  TVocEinstellungen* Einstellungen() const { return m_einstellungen; }
  void setSeite(TXPage* seite) { m_seite = seite; }
  TXPage* Seite() const { return m_seite; }

  const std::vector<TVokabel>& Eintraege() const { return m_eintraege; }
  int Aktuell() const { return m_aktuell; }
  void setAktuell(int index) { m_aktuell = index; }
  const std::string& DateiName() const { return m_dateiName; }
  bool Veraendert() const { return m_veraendert; }
  void setVeraendert(bool v) { m_veraendert = v; }
  bool Druckt() const { return m_druckt; }
  void setDruckt(bool v) { m_druckt = v; }
  const std::string& ZufallsVerzeichnis() const { return m_zufallsVerzeichnis; }
  const TVokabel& LeereVokabel() const { return m_leer; }

  // Field access: index -1 is Aktuell; an index outside the list reads empty and writes
  // nothing. For Vokabel, -2 is the entry before Aktuell and -3 the one after it.
  std::string Vokabel(int index) const;
  std::string Bedeutung(int index, int welche) const;  // welche 0: Bedeutung1, 1: Bedeutung2
  std::string Kontext(int index, int welche) const;
  bool Tip(int index, int welche) const;
  int Wortart(int index) const;
  bool Deutsch(int index) const;
  int Schwierigkeit(int index) const;
  const TVokabel* Eintrag(int index) const;  // nullptr outside the list
  void SetVokabel(int index, std::string_view text);
  void SetBedeutung(int index, int welche, std::string_view text);
  void SetKontext(int index, int welche, std::string_view text);
  void SetTip(int index, int welche, bool wert);
  void SetWortart(int index, int wert);
  void SetDeutsch(int index, bool wert);
  void SetSchwierigkeit(int index, int wert);
  void SetEintrag(int index, const TVokabel& v);

  void Leeren(bool leereBehalten);
  // Loads an .asc file; false when it could not be opened or a record was broken (the
  // message has been shown; what came before the broken record is kept). A file with no
  // readable record leaves the library as it was.
  bool Laden(const std::string& pfad, bool ersetzen);
  // Loads from memory; `pfad` only becomes DateiName. Same messages as Laden.
  bool LadenAus(std::string_view daten, const std::string& pfad, bool ersetzen);
  // Asks first when the target is a file that was read only in part.
  bool Speichern(const std::string& pfad = {});
  bool TeilweiseGelesen() const { return m_teilweiseGelesen; }
  std::string AnzeigeName() const;

  int Anzahl(bool mitLeerem) const;
  bool IstLeer(int index) const;
  int ErsteLuecke() const;
  int ZaehleSprache(bool deutsch, int von, int bis) const;
  bool IstAktiv(int index) const;
  int AktivAnzahl();
  // The settings' range as list indexes: "from" -1 is 0, "to" -1 the last non-blank entry.
  int BereichVon() const;
  int BereichBis() const;

  int Hinzufuegen(const TVokabel& v);
  void LeerAnhaengen();
  void Entfernen(int index);
  void AktuelleEntfernen() { Entfernen(m_aktuell); }
  bool LeerEinfuegen();
  void Tauschen(int a, int b);
  void SortiereBereich(int von, int bis);
  void Sortieren();
  void Umkehren();
  void Mischen();
  int DoppelteRaus(bool melden);
  void ZufallsAuswahl(const std::string& verzeichnis = {});
  std::string MitTo(int index) const;
  bool BibliothekGeladen();

  // The quiz over this library and its state.
  TVokabelAbfrage& Abfrage();

  // The one random source of the library and its quiz, seeded once; tests and benchmarks
  // give a fixed seed. And what "process pending messages" does.
  std::mt19937& Zufall() { return m_zufall; }
  void setZufall(std::uint32_t seed) { m_zufall.seed(seed); }
  void setNachrichtenPumpe(std::function<void()> pumpe) { m_pumpe = std::move(pumpe); }

 private:
  int aufgeloest(int index) const { return index == -1 ? m_aktuell : index; }
  TVokabel* eintragFuer(int index);
  bool gueltig(int index) const { return index >= 0 && index < static_cast<int>(m_eintraege.size()); }
  bool einlesen(std::string_view daten, bool unvollstaendig, bool zuGross, const std::string& pfad, bool ersetzen);
  bool ueberschreibenErlaubt(const std::string& ziel) const;
  void leeresEndeEntfernen();
  void leeresEndeAnhaengen();
  void pumpen();
  template <class T>
  void setze(T& feld, const T& wert) {
    if (feld == wert) return;
    feld = wert;
    m_veraendert = true;
  }

  std::vector<TVokabel> m_eintraege;
  int m_aktuell = 0;
  std::string m_dateiName;
  bool m_teilweiseGelesen = false;  // m_dateiName was read only up to a bad record or the size bound
  bool m_veraendert = false;
  bool m_druckt = false;
  std::string m_zufallsVerzeichnis;
  TVocEinstellungen* m_einstellungen = nullptr;
  TXPage* m_seite = nullptr;
  const TVokabel m_leer{};
  std::mt19937 m_zufall;
  std::function<void()> m_pumpe;
  long long m_letztesPumpen = 0;
  // A copy of the library starts without a quiz of its own (the quiz refers to its library).
  struct TAbfrageZeiger {
    std::unique_ptr<TVokabelAbfrage> p;
    TAbfrageZeiger();
    TAbfrageZeiger(const TAbfrageZeiger&);
    TAbfrageZeiger& operator=(const TAbfrageZeiger&) { return *this; }
    ~TAbfrageZeiger();
  } m_abfrage;
};

// An entry's meaning set: Bedeutung1, then "; " and Bedeutung2 when that is not empty.
std::string bedeutungsmenge(const TVokabel& v);
// Equal meaning sets, as duplicates are found: cut at ";" (the character after it
// dropped), the same number of pieces, each found in the other without regard to case.
bool gleicheBedeutungsmengen(const std::string& a, const std::string& b);
