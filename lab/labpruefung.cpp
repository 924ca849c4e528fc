// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/labpruefung.h"

answercheck::Result labAntwortPruefen(const TSatz& satz, std::string_view text, bool tolerant,
                                      const std::vector<std::string>& eigene) {
  // An empty Return is no try: nothing to accept or refuse.
  if (text.find_first_not_of(' ') == std::string_view::npos) return {};
  std::vector<std::string> loesungen = satz.loesungen();
  loesungen.insert(loesungen.end(), eigene.begin(), eigene.end());
  return answercheck::check(text, loesungen, 1, tolerant);
}
