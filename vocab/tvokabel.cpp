// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tvokabel.h"

namespace {

const char* label(const char* const (&table)[kWortartAnzahl], int value) {
  return value >= 0 && value < kWortartAnzahl ? table[value] : "";
}

}  // namespace

const char* wortartName(int wortart) {
  static const char* const t[] = {"Nomen", "Verb", "Adjektiv", "Kleines Wort", "Rw. mit Verb", "Rw. ohne Verb"};
  return label(t, wortart);
}

const char* wortartKarte(int wortart) {
  static const char* const t[] = {"Nomen", "Verb", "Adjektiv", "kl. Wort", "Rw. m. V.", "Rw. o. V."};
  return label(t, wortart);
}

const char* wortartListe(int wortart) {
  static const char* const t[] = {"N.", "V.", "Adj.", "kl. W.", "Rw. m. V.", "Rw. o. V."};
  return label(t, wortart);
}

const char* wortartAntwort(int wortart) {
  static const char* const t[] = {"[Nomen]", "[Verb]", "[Adj./Adv.]", "[kl. Wort]", "[Redewendung]", "[Redewendung]"};
  return label(t, wortart);
}

const char* schwierigkeitName(int stufe) {
  static const char* const t[] = {"Baby", "Leicht", "Mittel", "Schwierig", "T\xF6" "dlich"};
  return stufe >= 0 && stufe < kSchwierigkeitAnzahl ? t[stufe] : "";
}
