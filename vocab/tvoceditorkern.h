// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vocab/teditorzugriff.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TBibliothek;
class TXDatabase;

// The vocabulary editor without its window: the entry list, the current entry and the
// dictionary entry beside it, the take-over, the file operations with their questions.
// The window shows what this holds and passes the learner's edits in; the checks, the
// tests and zek-tool drive it the same way. Texts are Windows-1252.
class TVocEditorKern : public TEditorZugriff {
 public:
  TVocEditorKern(TBibliothek& bib, TXDatabase& db);

  // The view follows through these (each may be empty).
  std::function<void()> OnZeigen;        // the current entry's fields, position and size
  std::function<void()> OnListe;         // the whole list
  std::function<void()> OnAuswahl;       // the list's selection follows Aktuell
  std::function<void(int)> OnZeile;      // one list line
  std::function<void()> OnWoerterbuch;   // the dictionary fields and the direction button
  std::function<void()> OnWortFokus;     // the word field gets the focus
  std::function<void()> OnWbWortFokus;   // the dictionary word field gets the focus
  std::function<void()> OnZuletzt;       // the recent-file captions
  std::function<void()> OnName;          // the display name
  std::function<void()> OnPumpe;         // process pending messages
  std::function<void(bool)> OnBeschaeftigt;

  // Opening: Aktuell 0, the list, entry 0 shown.
  void oeffnen();

  const std::vector<std::string>& Zeilen() const { return m_zeilen; }
  std::string zeile(int index) const;
  // "Aktuelle Position" and "Größe der Bibliothek".
  int position() const;
  int groesse() const;

  // TEditorZugriff
  TBibliothek& bibliothek() override { return m_bib; }
  TXDatabase& woerterbuch() override { return m_db; }
  TEditorSchalter& schalter() override { return m_schalter; }
  bool waehlen(int index) override;
  void nachschlagen() override;
  bool uebernehmen() override;
  void setDeutsch(bool deutsch) override;
  void naechsteVokabel() override;
  bool neu() override;
  int fragen(std::string_view text, int flags) override;
  void nachrichtenVerarbeiten() override;
  void beschaeftigt(bool an) override;
  void aktualisieren(bool liste) override;

  void vorigeVokabel();

  // The learner's edits of the entry fields.
  void wortGeaendert(std::string_view text);
  void bedeutungGeaendert(int welche, std::string_view text);
  // The warning about a first meaning too long for multiple choice, once the learner has
  // left the field: a box in the middle of typing would swallow the keys typed meanwhile.
  void langeBedeutungMelden();
  void kontextGeaendert(int welche, std::string_view text);
  void tipGeaendert(int welche, bool an);
  void wortartGeaendert(int wortart);
  void schwierigkeitGeaendert(int stufe);
  // The dictionary fields write through to its current entry.
  void wbWortGeaendert(std::string_view text);
  void wbBedeutungGeaendert(std::string_view text);
  void wbArtGeaendert(int wortart);  // 0-based as in the library
  void richtungWechseln();
  // Dictionary navigation: 0 first, 1 prior, 2 next, 3 last, 4 new entry.
  void wbGehen(int wohin);
  void wbLoeschen();

  // File menu.
  bool oeffnenDatei();
  bool hinzufuegenDatei();
  bool speichern();
  bool speichernUnter();
  void zuletztOeffnen(int slot);
  const std::array<std::string, 4>& Zuletzt() const { return m_zuletzt; }
  // The save question; false when the learner cancelled (or a "Yes" was not saved).
  bool speicherFrage(bool schliessen);

  // Edit menu.
  void sortieren();
  void mischen();
  void vorEinfuegen();
  void nachEinfuegen();
  void entfernen();
  void doppelteEntfernen();
  void umkehren();

  // "Lösungen für Kontext: ..." of an example sentence; empty when it has no solution.
  std::string loesungen(int welche) const;
  // A pasted text as a meaning field keeps it: line breaks become blanks, a leading and a
  // trailing "; " go.
  static std::string bedeutungBereinigt(std::string text);

 private:
  void zeigen();
  void sichern();
  void listeAufbauen();
  void zeileSetzen(int index);
  void zeigenUndNachschlagen();
  bool luecke(bool fuerSpeichern);
  void zuletztLesen();
  void zuletztEintragen();
  void geladen();
  void melden(std::string_view text, int flags);
  void geladenOhneName();

  TBibliothek& m_bib;
  TXDatabase& m_db;
  TEditorSchalter m_schalter;
  std::vector<std::string> m_zeilen;
  std::array<std::string, 4> m_zuletzt;
  bool m_langeBedeutung = false;  // the first meaning passed 30 characters while it was typed
};
