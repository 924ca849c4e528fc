#include "vocab/austauschfelder.h"

#include "platform/codec.h"
#include "vocab/vokabeldatei.h"

#include <QList>
#include <QString>

#include <algorithm>
#include <cstdio>

namespace austausch {

const char* const kZuGross = "Die Datei ist gr\xF6\xDF" "er als 64 MiB und wurde nicht gelesen.";

namespace {

// First character without a Windows-1252 code, as "U+XXXX" (empty when there is none).
std::string ersterUnkodierbarer(std::string_view utf8) {
  const QList<uint> zeichen = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toUcs4();
  for (const uint c : zeichen) {
    if (!zek::unicodeToCp1252(static_cast<char32_t>(c))) {
      char puffer[16];
      std::snprintf(puffer, sizeof puffer, "U+%04X", c);
      return puffer;
    }
  }
  return {};
}

}  // namespace

std::string zahlText(std::size_t n) { return std::to_string(n); }

bool istSteuerzeichen(char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; }

std::optional<std::string> alsFeld(std::string_view utf8, TFeldUmwandlung& u) {
  std::string flach(utf8);
  for (std::size_t i = 0; i < flach.size(); ++i) {
    if (flach[i] == '\r' || flach[i] == '\n') {
      const bool crlf = flach[i] == '\r' && i + 1 < flach.size() && flach[i + 1] == '\n';
      flach.replace(i, crlf ? 2 : 1, " ");
      u.zeilenumbruch = true;
    }
  }
  if (std::erase_if(flach, istSteuerzeichen) > 0) u.steuerzeichen = true;
  auto cp = zek::utf8ToCp1252Strict(flach);
  if (!cp) {
    if (u.unkodierbar.empty()) u.unkodierbar = ersterUnkodierbarer(flach);
    if (u.unkodierbar.empty()) u.unkodierbar = "?";
    return std::nullopt;
  }
  if (cp->size() >= kZeilenGrenze) {
    u.zuLang = true;
    return std::nullopt;
  }
  return cp;
}

std::optional<std::string> grundFuer(const TFeldUmwandlung& u, const TVokabel& v) {
  if (!u.unkodierbar.empty())
    return "enth\xE4lt ein Zeichen ohne Windows-1252-Code (" + u.unkodierbar + "), Eintrag nicht \xFC" "bernommen";
  if (u.zuLang) return "ein Feld ist l\xE4nger als 64 KiB, Eintrag nicht \xFC" "bernommen";
  if (v.Vokabel.empty()) return std::string("kein Wort, Eintrag nicht \xFC" "bernommen");
  if (v.Bedeutung1.empty()) return std::string("keine Bedeutung, Eintrag nicht \xFC" "bernommen");
  return std::nullopt;
}

std::string getrimmt(std::string_view cp1252) { return std::string(trimmeSteuerzeichen(cp1252)); }

int wortartAusText(const std::string& cp1252) {
  const std::string k = zek::lowerCase(getrimmt(cp1252));
  if (k.empty()) return 0;
  if (const auto n = leseZahl(k); n && *n >= 0 && *n < kWortartAnzahl) return *n;
  for (int i = 0; i < kWortartAnzahl; ++i)
    if (k == zek::lowerCase(wortartName(i)) || k == zek::lowerCase(wortartKarte(i))) return i;
  if (k.rfind("noun", 0) == 0) return 0;
  if (k.rfind("verb", 0) == 0) return 1;
  if (k == "adjective" || k == "adverb" || k == "adjektiv" || k == "adverb") return 2;
  static const char* const klein[] = {"pronoun", "preposition", "conjunction", "article", "pronomen",
                                      "pr\xE4position", "konjunktion", "artikel", "numeral", "interjection"};
  for (const char* w : klein)
    if (k == w) return 3;
  return -1;
}

}  // namespace austausch
