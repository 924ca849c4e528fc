#include "vocab/abfragetext.h"

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

void aufnehmen(std::string v, std::vector<std::string>& liste) {
  v = ohneDoppelteBlanks(trimmed(v));
  if (v.empty() || std::find(liste.begin(), liste.end(), v) != liste.end()) return;
  liste.push_back(std::move(v));
}

bool sichtbar(char c) { return c == ' ' || c == '-' || c == ',' || c == '.' || c == '!' || c == '?' || c == '\''; }

// "a/b" at its own first slash; `zweiter` stays empty without one.
bool teileSchraegstrich(std::string_view s, std::string& erster, std::string& zweiter) {
  const std::size_t p = s.find('/');
  if (p == std::string_view::npos) return false;
  erster = std::string(s.substr(0, p));
  zweiter = std::string(s.substr(p + 1));
  return true;
}

}  // namespace

std::vector<std::string> bedeutungsTeile(std::string_view text) {
  std::vector<std::string> teile;
  while (true) {
    const std::size_t semi = text.find(';');
    if (semi == std::string_view::npos) {
      teile.emplace_back(text);
      return teile;
    }
    std::string_view teil = text.substr(0, semi);
    while (!teil.empty() && teil.back() == ' ') teil.remove_suffix(1);
    teile.emplace_back(teil);
    text.remove_prefix(std::min(semi + 2, text.size()));
  }
}

void varianten(std::string_view prefix, std::string_view teil, std::vector<std::string>& liste) {
  std::string t = std::string(prefix) + std::string(teil);
  // A "[...]" remark is not part of the answer.
  const std::size_t auf = t.find('[');
  if (auf != std::string::npos) {
    const std::size_t zu = t.find(']', auf + 1);
    if (zu != std::string::npos && zu > auf + 1) {
      t.erase(auf, zu - auf + 1);
      const std::size_t doppelt = t.find("  ");
      if (doppelt != std::string::npos) t.erase(doppelt, 1);
    }
  }
  const std::size_t a1 = t.find('(');
  const std::size_t a2 = a1 == std::string::npos ? a1 : t.find(')', a1 + 1);
  if (a2 == std::string::npos || a2 == a1 + 1) {
    aufnehmen(t, liste);
    return;
  }
  const std::string P = t.substr(0, a1), A = t.substr(a1 + 1, a2 - a1 - 1);
  const std::size_t b1 = t.find('(', a2 + 1);
  const std::size_t b2 = b1 == std::string::npos ? b1 : t.find(')', b1 + 1);
  if (b2 == std::string::npos || b2 == b1 + 1) {
    const std::string S = t.substr(a2 + 1);
    std::string x, y;
    if (teileSchraegstrich(A, x, y)) {
      aufnehmen(P + x + S, liste);
      aufnehmen(P + y + S, liste);
      aufnehmen(P + S, liste);
    } else {
      aufnehmen(P + S, liste);
      aufnehmen(P + A + S, liste);
    }
    return;
  }
  const std::string M = t.substr(a2 + 1, b1 - a2 - 1), B = t.substr(b1 + 1, b2 - b1 - 1), S = t.substr(b2 + 1);
  std::string x, y;
  if (teileSchraegstrich(B, x, y)) {
    aufnehmen(P + A + M + x + S, liste);
    aufnehmen(P + A + M + y + S, liste);
    aufnehmen(P + M + x + S, liste);
    aufnehmen(P + M + y + S, liste);
  } else {
    aufnehmen(P + A + M + B + S, liste);
    aufnehmen(P + M + B + S, liste);
  }
  aufnehmen(P + A + M + S, liste);
  aufnehmen(P + M + S, liste);
}

std::vector<std::string> erweitern(std::string_view prefix, std::string_view text) {
  std::vector<std::string> liste;
  for (const std::string& teil : bedeutungsTeile(text)) varianten(prefix, teil, liste);
  // A meaning made only of a remark ("[ugs.]") still needs an answer that can be typed.
  if (liste.empty()) {
    const std::string roh = ohneDoppelteBlanks(trimmed(text));
    if (!roh.empty()) liste.push_back(roh);
  }
  return liste;
}

std::string hinweisMaske(std::string_view antwort, std::mt19937* zufall) {
  const std::size_t L = antwort.size();
  if (L == 0) return {};
  if (L <= 2) return std::string(L, '_');
  std::string m(antwort);
  const std::size_t bis = L == 3 ? L : L - 1;
  for (std::size_t i = 1; i < bis; ++i) {
    if (sichtbar(m[i])) continue;
    if (i >= 4 && zufall && std::uniform_int_distribution<int>(0, 4)(*zufall) == 3) continue;
    m[i] = '_';
  }
  return m;
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
