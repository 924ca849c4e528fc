// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

class TBibliothek;
class TXDatabase;

// The editor's switches (menu "Optionen").
struct TEditorSchalter {
  bool staendigNachschlagen = true;   // "Ständig nachschlagen"
  bool mcKontrollieren = true;        // "Mult. Choice kontrollieren"
  bool neueInsWoerterbuch = false;    // "Neue Vokabeln automatisch ins Wörterbuch"
};

// What the library checks and the random library need of the editor: they drive it as a
// learner would (select, look up, take over) and ask through it. The window, the tests and
// zek-tool each give one.
class TEditorZugriff {
 public:
  virtual ~TEditorZugriff() = default;

  virtual TBibliothek& bibliothek() = 0;
  virtual TXDatabase& woerterbuch() = 0;
  virtual TEditorSchalter& schalter() = 0;

  // Selects the entry as a click in the list does (shows it and, with "Ständig
  // nachschlagen", looks it up); false when the current entry is a gap.
  virtual bool waehlen(int index) = 0;
  virtual void nachschlagen() = 0;
  // The take-over of the dictionary's current entry; false when it changed nothing.
  virtual bool uebernehmen() = 0;
  // The language flags of the current entry.
  virtual void setDeutsch(bool deutsch) = 0;
  // "Zur folgenden Vokabel": on the last line a blank entry is appended and selected.
  virtual void naechsteVokabel() = 0;
  // New library after the save question; false when the learner cancelled.
  virtual bool neu() = 0;

  // After the library was changed directly: the current line and fields, or the whole list.
  virtual void aktualisieren(bool liste) = 0;

  virtual int fragen(std::string_view text, int flags) = 0;
  virtual void nachrichtenVerarbeiten() = 0;
  virtual void beschaeftigt(bool an) = 0;  // hourglass

  // Run-state: a check runs (nothing else may change or close the editor), and it was asked to stop.
  bool Kontrolle = false;
  bool Abbruch = false;
  bool Uebernahme = false;
};
