// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/lernbeispiel.h"

#include "memory/tlerndatenbank.h"

#include <algorithm>
#include <random>

void erzeugeBeispielHistorie(TLernDatenbank& db, int eintraege, int antworten, int heute, int tage,
                             std::uint32_t seed) {
  std::mt19937 zufall(seed);
  const TFsrs& fsrs = db.fsrs();
  const int jeEintrag = std::max(1, antworten / std::max(eintraege, 1));
  // Several transactions, so the write-ahead log stays small.
  for (int block = 0; block < eintraege; block += 5000) db.stapel([&] {
    for (int i = block; i < std::min(eintraege, block + 5000); ++i) {
      TLernAntwort a;
      a.art = TLernArt::Vokabel;
      a.sammlung = "Bibliothek " + std::to_string(i % 8 + 1) + ".asc";
      a.frage = "word" + std::to_string(i) + " = Wort" + std::to_string(i);
      a.daten = "word" + std::to_string(i) + "\r\n\r\nWort" + std::to_string(i) + "\r\n\r\n\r\n\r\n\r\n0\r\n0\r\n0\r\n";
      TFsrsZustand z;
      // Entries start over the whole span, most of them early.
      int tag = heute - tage + static_cast<int>(std::uniform_int_distribution<int>(0, tage - 1)(zufall) *
                                                std::uniform_real_distribution<double>(0.2, 1.0)(zufall));
      for (int k = 0; k < jeEintrag && tag <= heute; ++k) {
        a.richtig = std::uniform_int_distribution<int>(0, 4)(zufall) != 0;
        a.versuche = a.richtig ? std::uniform_int_distribution<int>(1, 2)(zufall) : 1;
        db.antwortAm(a, static_cast<std::int64_t>(tag) * 86400 + 18 * 3600, tag);
        z = fsrs.bewerten(z, bewertungFuer(a.richtig, a.versuche), tag);
        tag += std::max(1, std::min(z.faellig - tag, std::uniform_int_distribution<int>(1, 30)(zufall)));
      }
    }
  });
}
