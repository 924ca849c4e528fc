// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/bibliotheksmeldungen.h"

#include "platform/messages.h"

const char* meldungsText(TBibliotheksMeldung meldung) {
  switch (meldung) {
    case TBibliotheksMeldung::DateiNichtGefunden: return "Datei konnte nicht gefunden werden!";
    case TBibliotheksMeldung::FehlerBeimOeffnen: return "Fehler beim \xD6" "ffnen!";
    case TBibliotheksMeldung::FalschesFormat: return "Die Datei hat ein falsches Format oder ist besch\xE4" "digt!";
    case TBibliotheksMeldung::ZuGross:
      return "Die Datei ist zu gro\xDF und wurde nur bis zu einer Gr\xF6\xDF" "e von 16 MB gelesen!";
    case TBibliotheksMeldung::SpeichernFehlgeschlagen:
      return "Fehler beim Speichern der Bibliothek - \rMedium ist voll oder schreibgesch\xFC" "tzt!?!";
    case TBibliotheksMeldung::NichtGenugVokabeln: return "Nicht genug Vokabeln!";
    case TBibliotheksMeldung::KeineBibliothek: return "Noch keine Bibliothek geladen! Was wollen Sie denn lernen??" "?!";
  }
  return "";
}

int meldungsFlags(TBibliotheksMeldung meldung) {
  switch (meldung) {
    case TBibliotheksMeldung::DateiNichtGefunden:
    case TBibliotheksMeldung::FehlerBeimOeffnen: return mb::Ok | mb::IconInformation;
    case TBibliotheksMeldung::FalschesFormat:
    case TBibliotheksMeldung::ZuGross:
    case TBibliotheksMeldung::SpeichernFehlgeschlagen: return mb::Ok | mb::IconStop;
    case TBibliotheksMeldung::NichtGenugVokabeln:
    case TBibliotheksMeldung::KeineBibliothek: return mb::Ok | mb::IconExclamation;
  }
  return mb::IconExclamation;
}

void melde(TBibliotheksMeldung meldung) { showMessage(meldungsText(meldung), meldungsFlags(meldung)); }
