// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/bibliothekspruefung.h"
#include "vocab/vokabeldatei.h"

#include <cstdint>
#include <string_view>

// Library files come from anywhere (old disks, other machines, hand edits). Whatever they
// hold: no crash, the checker reads at least what the trainer reads, and what was read
// survives a save and a second load unchanged.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const TLeseErgebnis r = liesVokabeln(bytes);
  if (r.fehler.size() > 1) __builtin_trap();

  TLeseOptionen pruefen;
  pruefen.weiterNachFehler = true;
  pruefen.rohZeilen = true;
  const TLeseErgebnis p = liesVokabeln(bytes, pruefen);
  if (p.eintraege.size() < r.eintraege.size() || p.roh.size() != p.eintraege.size()) __builtin_trap();
  (void)pruefeBibliothek(bytes);

  const std::string gespeichert = schreibeVokabeln(r.eintraege);
  const TLeseErgebnis wieder = liesVokabeln(gespeichert);
  if (!wieder.fehler.empty() || wieder.eintraege != r.eintraege) __builtin_trap();
  if (schreibeVokabeln(wieder.eintraege) != gespeichert) __builtin_trap();
  return 0;
}
