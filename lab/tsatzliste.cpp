#include "lab/tsatzliste.h"

#include "widgets/answercheck.h"

namespace {
std::string item(const std::vector<std::string>& items, std::size_t i, bool cut) {
  if (i >= items.size()) return {};
  return cut ? items[i].substr(0, kLabMaxSatzLaenge) : items[i];
}
}  // namespace

TSatz TSatzListe::ausEintraegen(const std::vector<std::string>& items) {
  TSatz s;
  s.englisch = item(items, 0, true);
  if (s.englisch.empty()) s.englisch = "FEHLER!";
  s.loesung2 = item(items, 1, true);
  s.hinweis = item(items, 2, true);
  if (s.hinweis.empty()) s.hinweis = answercheck::helpMask(s.englisch);  // the same mask the quiz uses
  s.deutsch = item(items, 3, true);
  s.datei = item(items, 4, false);
  return s;
}
