// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/abfragetext.h"

#include "widgets/answercheck.h"
#include "widgets/answervariants.h"

#include <algorithm>

namespace {

std::string trimmed(std::string_view s) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return std::string(s);
}

std::string ohneDoppelteBlanks(std::string_view s) {
  std::string r;
  r.reserve(s.size());
  for (char c : s)
    if (!(c == ' ' && !r.empty() && r.back() == ' ')) r.push_back(c);
  return r;
}

}  // namespace

std::vector<std::string> erweitern(std::string_view prefix, std::string_view text) {
  std::vector<std::string> liste = answercheck::acceptedAnswers(text, prefix);
  // A meaning made only of a remark ("[ugs.]") still needs an answer that can be typed.
  if (liste.empty()) {
    const std::string roh = ohneDoppelteBlanks(trimmed(text));
    if (!roh.empty()) liste.push_back(roh);
  }
  return liste;
}

std::string hinweisMaske(std::string_view antwort, std::mt19937* zufall) {
  // The quiz's own seeded source, so a repeated round shows the same masks.
  return answercheck::helpMask(antwort, [zufall] { return zufall ? std::uniform_int_distribution<int>(0, 4)(*zufall) : 0; });
}

TKontextStrecke kontextStrecke(std::string_view satz) {
  TKontextStrecke k;
  if (satz.size() < 2) return k;
  const std::size_t auf = satz.substr(0, satz.size() - 1).find_first_of("[(");
  if (auf == std::string_view::npos) return k;
  const char schliesser = satz[auf] == '[' ? ']' : ')';
  const std::size_t zu = satz.rfind(schliesser);
  // A closer standing before the opener marks nothing.
  if (zu == std::string_view::npos || zu <= auf) return k;
  k.gefunden = true;
  k.vorher = std::string(satz.substr(0, auf));
  k.innen = std::string(satz.substr(auf + 1, zu - auf - 1));
  k.nachher = std::string(satz.substr(zu + 1));
  return k;
}

std::string markupText(std::string_view text) {
  std::string r;
  r.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '<': r += "&lt;"; break;
      case '>': r += "&gt;"; break;
      case '&': r += "&amp;"; break;
      default: r.push_back(c);
    }
  }
  return r;
}

std::string markupWert(std::string_view text) {
  std::string r;
  r.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '>': r += "&gt;"; break;
      case '&': r += "&amp;"; break;
      case '"': r += "&quot;"; break;
      case '|': r += "&#124;"; break;
      default: r.push_back(c);
    }
  }
  return r;
}

std::string gedruckterSatz(std::string_view satz, std::string_view wort) {
  const TKontextStrecke k = kontextStrecke(satz);
  if (!k.gefunden) return std::string(satz);
  std::string innen;
  for (char c : k.innen) innen += c == '*' ? std::string(wort) : std::string(1, c);
  const std::vector<std::string> loesungen = erweitern("", innen);
  return k.vorher + (loesungen.empty() ? innen : loesungen.front()) + k.nachher;
}
