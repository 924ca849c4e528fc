// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "memory/trundenbilanz.h"

#include <optional>
#include <string>
#include <vector>

// What a trainer practised.
enum class TLernArt { Vokabel, Verb, Labor, Seite };
const char* lernArtName(TLernArt art);  // "vokabel", "verb", "labor", "seite"

// One answer as a trainer reports it. Texts are Windows-1252. The key is `sammlung` (library
// file, page file, "Verben", "Sprachlabor") with `frage` (the entry within it); `daten` is what
// a review needs to ask the entry again (a vocabulary record).
struct TLernAntwort {
  TLernArt art = TLernArt::Vokabel;
  std::string sammlung;
  std::string frage;
  std::string daten;
  bool richtig = false;
  int versuche = 1;
  std::string gegeben;  // the answer given, where known
};

struct TLernEintrag {
  std::string sammlung, frage, daten;  // Windows-1252
  int faellig = 0;                     // day number
};

// The learning memory as the trainers see it: they report answers and ask for due entries.
// The default one remembers nothing (memory switched off, or not wired up in tests); the
// app installs the database at start-up. Calls never fail towards the trainer.
class TLernspeicher {
 public:
  virtual ~TLernspeicher() = default;
  virtual bool aktiv() const { return false; }
  virtual void antwort(const TLernAntwort&) {}
  virtual int faelligAnzahl(TLernArt) { return 0; }
  // Due entries, most overdue first.
  virtual std::vector<TLernEintrag> faellige(TLernArt, int /*hoechstens*/) { return {}; }
  // A round of `art` starts: its tally begins at nothing.
  virtual void rundeBeginnen(TLernArt) {}
  // A round of `art` ends: its answers since it began (or since the last end) beside the
  // trainer's trend; the tally starts again. Nothing while the memory is off.
  virtual std::optional<TRundenBilanz> rundeAbschliessen(TLernArt) { return std::nullopt; }
};

TLernspeicher& lernspeicher();
// nullptr puts the silent one back. The caller keeps ownership.
void setLernspeicher(TLernspeicher* speicher);
