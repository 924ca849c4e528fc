#include "vocab/tvokabelformat.h"
#include "vocab/vokabeldatei.h"

#include <cstdint>
#include <string_view>

// KVTML files come from anywhere: no crash, refused files yield nothing, and what was read
// survives a library file and a KVTML round trip unchanged.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const TVokabelFormat& kvtml = vokabelFormat(TAustauschFormat::Kvtml);
  const TImportErgebnis r = kvtml.lesen(bytes, TAustauschRichtung::Automatisch);
  if (!r.ok() && !r.eintraege.empty()) __builtin_trap();
  for (const TVokabel& v : r.eintraege)
    if (v.istLeer()) __builtin_trap();
  if (liesVokabeln(schreibeVokabeln(r.eintraege)).eintraege != r.eintraege) __builtin_trap();
  const TImportErgebnis k = kvtml.lesen(kvtml.schreiben(r.eintraege, {}), TAustauschRichtung::Automatisch);
  if (k.eintraege != r.eintraege) __builtin_trap();
  return 0;
}
