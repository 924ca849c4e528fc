#include "vocab/tvokabelformat.h"
#include "vocab/vokabeldatei.h"

#include <cstdint>
#include <string_view>

// Text tables come from any program. Whatever they hold: no crash, every entry read is
// askable and fits a library file, and exporting and importing it again gives the same.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const TVokabelFormat& text = vokabelFormat(TAustauschFormat::Text);
  const TVokabelFormat& kvtml = vokabelFormat(TAustauschFormat::Kvtml);
  constexpr TAustauschRichtung kAuto = TAustauschRichtung::Automatisch;
  const TImportErgebnis r = text.lesen(bytes, kAuto);
  if (!r.ok() && !r.eintraege.empty()) __builtin_trap();
  for (const TVokabel& v : r.eintraege)
    if (v.istLeer()) __builtin_trap();
  if (liesVokabeln(schreibeVokabeln(r.eintraege)).eintraege != r.eintraege) __builtin_trap();
  const TImportErgebnis t = text.lesen(text.schreiben(r.eintraege, {}), kAuto);
  if (t.eintraege != r.eintraege) __builtin_trap();
  const TImportErgebnis k = kvtml.lesen(kvtml.schreiben(r.eintraege, {}), kAuto);
  if (k.eintraege != r.eintraege) __builtin_trap();
  return 0;
}
