#include "vocab/tvokabelformat.h"

#include "platform/files.h"
#include "vocab/tkvtmlformat.h"
#include "vocab/ttextformat.h"

const TVokabelFormat& vokabelFormat(TAustauschFormat format) {
  static const TTextFormat text;
  static const TKvtmlFormat kvtml;
  if (format == TAustauschFormat::Kvtml) return kvtml;
  return text;
}

TAustauschFormat formatFuerName(std::string_view name) {
  return zek::extensionLower(name) == ".kvtml" ? TAustauschFormat::Kvtml : TAustauschFormat::Text;
}
