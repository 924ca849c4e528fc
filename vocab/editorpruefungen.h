// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <random>
#include <string>
#include <string_view>

class TBibliothek;
class TEditorZugriff;
class TXDatabase;
struct TVokabel;

// The editor's batch tools over the library and the dictionary. They drive the editor as
// a learner would, through TEditorZugriff, and ask through it; while one runs its
// `Kontrolle` is set, so that nothing else can change or close the editor.

// "Bibliothek kontrollieren"; a second call while it runs asks it to stop.
void bibliothekKontrollieren(TEditorZugriff& e);

// One entry as the quick check sees it.
enum class TXPressBefund { Ok, ZuLang, Unbekannt, Anders };
struct TXPressErgebnis {
  TXPressBefund befund = TXPressBefund::Ok;
  std::string woerterbuch;  // the dictionary's meanings of a known word
};
// Switches the dictionary to the entry's half and finds the word there. A word still to be
// looked up (meanings "?") that the dictionary lacks is no finding: there is nothing to add.
TXPressErgebnis xpressPruefen(const TVokabel& v, TXDatabase& db);
TXPressErgebnis xpressPruefen(const TBibliothek& bib, TXDatabase& db, int index);
// "XPress-Kontrolle": from the current entry to the first finding.
void xpressKontrolle(TEditorZugriff& e);

// "Kontexte abgleichen": from the current entry to the first that needs the learner.
void kontexteAbgleichen(TEditorZugriff& e);
// A sentence's brackets mended as far as that is safe, and whether it is settled.
std::string kontextRepariert(std::string satz);
bool kontextErledigt(std::string_view satz);

// "Zufällig erzeugen...": what the dialog returns.
struct TZufallsWahl {
  int groesse = 40;
  int englisch = 50;  // percent of entries from the English-German half
  bool redewendungen = true;
  bool sortieren = true;
};
// A new library drawn from the dictionary; false (nothing changed) when the learner
// cancelled the save question or a half that would be drawn from is empty.
bool zufallsBibliothek(TEditorZugriff& e, const TZufallsWahl& wahl, std::mt19937& zufall);
