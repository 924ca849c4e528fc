// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vocab/tabfrageanzeige.h"
#include "vocab/tvocaufgabe.h"

#include <array>
#include <string>
#include <vector>

class TBibliothek;
class TVocEinstellungen;
struct TVokabel;
class TRes;
class THTMLStream;

// The vocabulary quiz over the one library: rounds in random order with passes until every
// question is solved, or the range worked through forwards or backwards with a short queue
// of upcoming questions. It has no window: each question and answer is a generated page
// shown through the display. The library owns the one quiz and its state.
class TVokabelAbfrage {
 public:
  static constexpr int kMindestPlaetze = 21;
  static constexpr int kStatistik = 16;

  explicit TVokabelAbfrage(TBibliothek& bibliothek);

  void setPool(const TRes* pool) { m_pool = pool; }
  void setAnzeige(TAbfrageAnzeige* anzeige) { m_anzeige = anzeige; }
  TAbfrageAnzeige* Anzeige() const { return m_anzeige; }

  // Readiness check; false after a message (callers then open the trainer options). Loads
  // the stored settings first when this run has not read them yet.
  bool QuizBereit();
  // Whether QuizBereit would start with `aktiv` active entries (a random round of more
  // than five is shortened to what is there).
  static bool Abfragbar(const TVocEinstellungen& e, int aktiv);
  // The start: the check, the round, the first question. False when not ready.
  bool Starten();
  void RundeVorbereiten();
  // A review round: the entries the learning memory has due, from every library practised,
  // most overdue first, at most one round; asked as a random round. False (after a message)
  // when nothing is due.
  bool WiederholungStarten();
  bool Wiederholung() const { return m_wiederholung; }
  // weiter false: the start of a round (counters reset, round size from the argument when > 0).
  void FrageZeigen(bool weiter, int rundenGroesse);
  // `ergebnis` as the answer widgets send it after "vokabel": "#2+", "-", "+", "[text]-"; and
  // "eigene" from the answer page's "Meine Antwort war richtig": the refused typed answer
  // counts as right (on the fifth try) and is kept as the learner's own.
  void AntwortZeigen(const std::string& ergebnis);
  void Weiter();
  // The interim evaluation ("vocaus").
  void Zwischenstand();

  // State, for the evaluation, the printing and tests.
  bool Laeuft() const { return m_laeuft; }
  const std::vector<TVocAufgabe>& Aufgaben() const { return m_aufgaben; }
  int AktuelleAufgabe() const { return m_aktuelleAufgabe; }
  int Gefragt() const { return m_gefragt; }
  int Beantwortet() const { return m_beantwortet; }
  int Richtig() const { return m_richtig; }
  int RundenGroesse() const { return m_rundenGroesse; }
  int Durchgang() const { return m_durchgang; }
  const std::vector<int>& ProDurchgang() const { return m_proDurchgang; }
  const std::array<int, kStatistik>& Statistik() const { return m_statistik; }
  const std::string& LetzteAntwort() const { return m_letzteAntwort; }
  const std::string& KontextLoesung() const { return m_kontextLoesung; }
  // The typed answer the last answer page refused, "" when it offers nothing to count.
  const std::string& Verworfen() const { return m_verworfen; }

  // The question-kind draw (0..100) for the next question; tests force it, -1 draws.
  void setNaechsterWurf(int wurf) { m_naechsterWurf = wurf; }

  // A random active entry of the trainer range in `a`, with its five wrong answers (the
  // game's pairs); its index, or -1 when the range holds no active entry.
  int ZufallsAufgabe(TVocAufgabe& a);

  // Markup of the question or answer page (what the display gets).
  std::string FrageSeite();
  std::string AntwortSeite(const std::string& ergebnis);

 private:
  bool zufaellig() const { return m_zufaellig; }
  bool zufaelligEingestellt() const;
  int rundenGroesseAusEinstellungen() const;
  int zufall(int n);
  void zufallsFrage(int k);
  bool folgeFuellen(int k);
  void belegen(TVocAufgabe& a, const TVokabel& v);
  void falscheAntworten(TVocAufgabe& a);
  void leeren(TVocAufgabe& a) const;
  std::string fortschritt(bool nachAntwort, bool richtig) const;
  void kopf(std::string& s, bool nachAntwort, bool richtig);
  void frageMC(std::string& s, const TVocAufgabe& a) const;
  void frageTippen(std::string& s, const TVocAufgabe& a);
  bool frageKontext(std::string& s, const TVocAufgabe& a);
  // " tolerant" for the answer fields when the tolerant check is on, else "".
  std::string toleranzMerkmal() const;
  void eintrag(std::string& s, const TVokabel& v) const;
  void zeigen(const std::string& markup);
  // `rundenEnde`: the whole round is over, so the memory's tally of it is shown too.
  void auswerten(int runde, int gesamt, std::string titel, std::string zeile2, std::string zeile3,
                 bool rundenEnde = false);
  void weiterZufaellig();
  void weiterFolge();
  void zurVokabelSeite();
  int breite() const;
  // The library file of a slot's question, as the learning memory keys it.
  std::string herkunft(int slot) const;
  std::string sammlungsName() const;

  TBibliothek& m_bib;
  const TRes* m_pool = nullptr;
  TAbfrageAnzeige* m_anzeige = nullptr;

  bool m_laeuft = false;
  bool m_zufaellig = false;  // the order of the running quiz, fixed when it was prepared
  std::vector<TVocAufgabe> m_aufgaben;
  int m_aktuelleAufgabe = 0;
  int m_cursor = 0, m_schritt = 1, m_ende = 0;
  int m_gefragt = 0, m_beantwortet = 0, m_richtig = 0;
  int m_rundenGroesse = 0;
  int m_durchgang = 0;
  std::vector<int> m_proDurchgang;
  std::array<int, kStatistik> m_statistik{};
  std::string m_letzteAntwort;
  std::string m_kontextLoesung;
  std::string m_fortschritt;  // the counter of the page shown last
  std::string m_eigenerSchluessel;  // the asked entry's key among the learner's own answers
  std::string m_verworfen;
  int m_naechsterWurf = -1;
  bool m_wiederholung = false;
  std::vector<std::string> m_herkunft;  // per slot, in a review round
};

// The key of an entry in the learning memory: its word and first meaning.
std::string vokabelSchluessel(const TVokabel& v);
