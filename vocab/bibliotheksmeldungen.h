// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every message the library shows, in one place: text and message-box flags.
enum class TBibliotheksMeldung {
  DateiNichtGefunden,
  FehlerBeimOeffnen,
  FalschesFormat,
  ZuGross,
  SpeichernFehlgeschlagen,
  NichtGenugVokabeln,
  KeineBibliothek,
};

const char* meldungsText(TBibliotheksMeldung meldung);  // Windows-1252
int meldungsFlags(TBibliotheksMeldung meldung);
void melde(TBibliotheksMeldung meldung);
