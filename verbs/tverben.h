// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "verbs/tverbliste.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

class TSettingsStore;
class TVerbSeite;

// The irregular-verb quiz. It has no window: it writes question and answer pages as markup
// for the main page view and reacts to the page commands the main window passes on.
// A question shows one verb with some forms given; the others are typed one after the
// other into the page's single input field. Rounds have 10 questions.
class TVerben {
 public:
  static constexpr int kRundenLaenge = 10;
  static constexpr const char* kSchluessel = "SOFTWARE\\ZEK\\zek englisch\\Verbtrainer";
  static constexpr const char* kOffen = "???";  // slot still to be asked
  static constexpr const char* kErledigt = "da";  // slot answered
  enum Form { Infinitiv = 0, Past = 1, Participle = 2, Bedeutung = 3 };

  // The built-in table; the selection loaded from `store` (the process-wide store by default).
  TVerben();
  explicit TVerben(TSettingsStore& store);
  TVerben(TVerbListe liste, TSettingsStore& store);
  ~TVerben();

  const TVerbListe& Liste() const { return m_liste; }

  // The page view the pages go to; without one answers are ignored.
  void setSeite(std::unique_ptr<TVerbSeite> seite);
  TVerbSeite* Seite() const { return m_seite.get(); }
  // Markup for a shown infinitive: by default `speakableWord`, a link to its recording where one exists.
  std::function<std::string(const std::string&)> Sprechbar;
  // Tests and tools: a fixed random sequence.
  void setZufall(std::uint32_t seed) { m_zufall.seed(seed); }

  // ---- selection
  bool verbAusgewaehlt(std::size_t index) const;
  bool formAusgewaehlt(int position) const;
  const std::string& VerbMaske() const { return m_verbMaske; }
  const std::string& FormMaske() const { return m_formMaske; }
  void setVerbAuswahl(std::string_view maske);
  void setFormAuswahl(std::string_view maske);
  // "Antworten großzügig prüfen" for the answer field; stored with the selection, in the
  // general key beside the other trainers' switches (off when missing).
  bool Grosszuegig() const { return m_grosszuegig; }
  void setGrosszuegig(bool an) { m_grosszuegig = an; }
  // "Verben" and "Zeiten" of the settings key; missing or empty values select everything.
  void ladeAuswahl();
  bool speichereAuswahl();
  // "vt0" loads the stored selection, "vt1" to "vt4" apply a preset without saving it.
  void voreinstellung(int nummer);

  // ---- quiz
  // Builds the candidates from the current selection; false when no quiz is possible.
  bool vorbereiten();
  // Command "verb" after a successful prepare: a new round and its first question page.
  void startRunde();
  // Command "verbweiter": the next question page, or the round-end question.
  void weiter();
  // Command "verb" + text: the form digit from the field's reaction, then its outcome
  // (ending in '+' when the answer was accepted).
  void antwort(std::string_view text);
  // Command "verbfaellig": a round over the verb forms the learning memory has due, most
  // overdue first, each verb asking exactly its due forms. False (after a message) when none is.
  bool faelligeRunde();
  bool FaelligeRundeLaeuft() const { return !m_faellig.empty(); }

  // ---- state (tools, tests)
  const std::array<std::string, 4>& Slots() const { return m_slots; }
  int AktuellesVerb() const { return m_aktuell; }
  int Fragen() const { return m_fragen; }
  int Antworten() const { return m_antworten; }
  int Richtige() const { return m_richtige; }
  int RundenLaenge() const { return m_rundenLaenge; }
  bool RundeLaeuft() const { return m_rundenLaenge > 0; }
  const std::vector<int>& KandidatVerben() const { return m_kandidatVerben; }

  // The question and answer pages of the current state, without the terminating NUL.
  std::string frageSeite() const;
  std::string antwortSeite() const;
  // The text that ends a round: "6 von 10 Antworten richtig.", with the memory on followed by
  // its tally of the round and the trend (which ends the memory's round).
  std::string rundenErgebnis();

  // The solutions of a form for the input field: every part of the text and every spelling
  // an optional letter stands for ("born(e)": born, borne), joined with "; ".
  static std::string loesungsText(std::string_view form);
  // The form's text of a verb at a position 0..3.
  static const std::string& formText(const TVerb& verb, int position);

 private:
  void waehleFrage();
  void merken(int form, std::string_view text) const;
  void zeigeFrage();
  void zeige(const std::string& markup);
  int seitenBreite() const;
  std::string kopf(bool mitProzent) const;

  TSettingsStore& m_store;
  TVerbListe m_liste;
  std::unique_ptr<TVerbSeite> m_seite;
  std::mt19937 m_zufall;

  std::string m_verbMaske, m_formMaske;
  bool m_grosszuegig = false;
  std::array<std::string, 4> m_slots;
  std::array<int, 4> m_ergebnis{};  // per form of the question on show: 1 right, -1 wrong, 0 not asked
  int m_antworten = 0, m_fragen = 0, m_richtige = 0, m_rundenLaenge = 0;
  int m_aktuell = -1;
  int m_feld = -1;  // form of the input field on show, -1 while no question page is
  std::vector<int> m_kandidatVerben;
  std::vector<int> m_kandidatFormen;
  // The form mask as prepared: picks use it, so a selection changed mid-round waits for the next "verb".
  std::string m_frageFormen;
  // A round of due forms: verbs in order with the forms to ask ('+'), and the next one.
  std::vector<std::pair<int, std::string>> m_faellig;
  std::size_t m_faelligPos = 0;
};

// The memory's key of a verb form: "arise (Past Tense)".
std::string verbFormSchluessel(const TVerb& verb, int form);
