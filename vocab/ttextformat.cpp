#include "vocab/ttextformat.h"

#include "platform/codec.h"
#include "vocab/austauschfelder.h"
#include "vocab/vokabeldatei.h"

#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>

using namespace austausch;

namespace {

// Columns of the text table and fields of the entry they fill.
enum TSpalte { kWort, kBedeutung, kBeispiel, kBedeutung2, kBeispiel2, kWortart, kStufe, kRichtung, kTipps,
               kSpaltenAnzahl, kUnbekannt = -1 };

const char* const kSpaltenKopf[kSpaltenAnzahl] = {"Wort", "Bedeutungen", "Beispiel", "Weitere Bedeutungen",
                                                  "Zweites Beispiel", "Wortart", "Schwierigkeit", "Richtung",
                                                  "Tipps"};

std::string klein(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).trimmed().toLower().toStdString();
}

int spalteFuerKopf(std::string_view zelle) {
  const std::string k = klein(zelle);
  static const std::map<std::string, int> namen = {
      {"wort", kWort}, {"vokabel", kWort}, {"word", kWort}, {"front", kWort}, {"vorderseite", kWort},
      {"term", kWort}, {"englisch", kWort}, {"english", kWort},
      {"bedeutung", kBedeutung}, {"bedeutungen", kBedeutung}, {"meaning", kBedeutung}, {"meanings", kBedeutung},
      {"back", kBedeutung}, {"r\xC3\xBC" "ckseite", kBedeutung}, {"translation", kBedeutung},
      {"\xC3\xBC" "bersetzung", kBedeutung}, {"definition", kBedeutung},
      {"beispiel", kBeispiel}, {"beispielsatz", kBeispiel}, {"example", kBeispiel}, {"sentence", kBeispiel},
      {"weitere bedeutungen", kBedeutung2}, {"zweites beispiel", kBeispiel2}, {"wortart", kWortart},
      {"word class", kWortart}, {"schwierigkeit", kStufe}, {"richtung", kRichtung}, {"tipps", kTipps}};
  const auto it = namen.find(k);
  return it == namen.end() ? kUnbekannt : it->second;
}

// "deutsch"/"german" as the first header cell means German words, English meanings.
bool kopfIstDeutsch(std::string_view zelle) {
  const std::string k = klein(zelle);
  return k == "deutsch" || k == "german";
}

bool kopfIstEnglisch(std::string_view zelle) {
  const std::string k = klein(zelle);
  return k == "englisch" || k == "english";
}

// A first row is a header only when it names a word column and then a meaning column,
// or two different languages. "word,Wort" or "German,Deutsch" are entries of a word list.
bool istKopfzeile(const std::vector<std::string>& felder) {
  if (felder.size() < 2) return false;
  const bool deutsch0 = kopfIstDeutsch(felder[0]), englisch0 = kopfIstEnglisch(felder[0]);
  if (spalteFuerKopf(felder[0]) != kWort && !deutsch0) return false;
  if (spalteFuerKopf(felder[1]) == kBedeutung) return true;
  return (deutsch0 && kopfIstEnglisch(felder[1])) || (englisch0 && kopfIstDeutsch(felder[1]));
}

// Lone CRs (classic Mac text) become line ends; CR LF stays one line end.
std::string mitLfZeilenenden(std::string_view d) {
  std::string out;
  out.reserve(d.size());
  for (std::size_t i = 0; i < d.size(); ++i) {
    if (d[i] == '\r' && (i + 1 >= d.size() || d[i + 1] != '\n')) {
      out.push_back('\n');
    } else {
      out.push_back(d[i]);
    }
  }
  return out;
}

struct TTextLeser {
  std::string_view d;
  std::size_t pos = 0;
  std::size_t zeile = 1;
  char sep = '\t';

  bool amEnde() const { return pos >= d.size(); }

  // One record; false when a quoted field is not closed before the end of the data.
  bool satz(std::vector<std::string>& felder) {
    felder.clear();
    std::string feld;
    for (;;) {
      if (pos < d.size() && d[pos] == '"') {
        ++pos;
        bool zu = false;
        while (pos < d.size()) {
          const char c = d[pos++];
          if (c == '"') {
            if (pos < d.size() && d[pos] == '"') {
              feld.push_back('"');
              ++pos;
            } else {
              zu = true;
              break;
            }
          } else {
            if (c == '\n') ++zeile;
            feld.push_back(c);
          }
        }
        if (!zu) {
          felder.push_back(std::move(feld));
          return false;
        }
      }
      // Unquoted text (or what follows a closing quote) up to the separator or line end.
      while (pos < d.size() && d[pos] != sep && d[pos] != '\n') feld.push_back(d[pos++]);
      if (!feld.empty() && feld.back() == '\r' && (pos >= d.size() || d[pos] == '\n')) feld.pop_back();
      felder.push_back(std::move(feld));
      feld.clear();
      if (pos >= d.size()) return true;
      if (d[pos++] == '\n') {
        ++zeile;
        return true;
      }
    }
  }
};

// Separators counted outside quotes in the first lines; the most consistent one wins.
char erkenneTrenner(std::string_view d) {
  std::array<std::size_t, 3> minimum{SIZE_MAX, SIZE_MAX, SIZE_MAX}, summe{};
  const char kandidat[3] = {'\t', ';', ','};
  std::size_t pos = 0;
  int zeilen = 0;
  while (pos < d.size() && zeilen < 20) {
    std::array<std::size_t, 3> n{};
    bool inQuote = false, leer = true;
    for (; pos < d.size(); ++pos) {
      const char c = d[pos];
      if (c == '"') inQuote = !inQuote;
      if (c == '\n' && !inQuote) {
        ++pos;
        break;
      }
      if (c != '\r' && c != ' ') leer = false;
      if (!inQuote)
        for (int k = 0; k < 3; ++k)
          if (c == kandidat[k]) ++n[k];
    }
    if (leer) continue;
    ++zeilen;
    for (int k = 0; k < 3; ++k) {
      minimum[k] = std::min(minimum[k], n[k]);
      summe[k] += n[k];
    }
  }
  if (zeilen == 0) return '\t';
  if (summe[0] > 0) return '\t';
  if (minimum[1] != minimum[2]) return minimum[1] > minimum[2] ? ';' : ',';
  return summe[1] > summe[2] ? ';' : ',';
}

std::optional<char> trennerAusKopf(std::string_view wert) {
  const std::string k = klein(wert);
  if (k == "tab" || k == "\\t" || wert == "\t") return '\t';
  if (k == "comma" || k == "," || k == "komma") return ',';
  if (k == "semicolon" || k == ";" || k == "semikolon") return ';';
  return std::nullopt;
}

bool istUtf8(std::string_view d) {
  QStringDecoder dec(QStringDecoder::Utf8);
  (void)QString(dec(QByteArrayView(d.data(), static_cast<qsizetype>(d.size()))));
  return !dec.hasError();
}

void setzeFeld(TVokabel& v, int spalte, std::string wert, TImportErgebnis& r, std::size_t zeile) {
  switch (spalte) {
    case kWort: v.Vokabel = getrimmt(wert); break;
    case kBedeutung: v.Bedeutung1 = getrimmt(wert); break;
    case kBedeutung2: v.Bedeutung2 = getrimmt(wert); break;
    case kBeispiel: v.Kontext1 = std::move(wert); break;
    case kBeispiel2: v.Kontext2 = std::move(wert); break;
    case kWortart: {
      const int w = wortartAusText(wert);
      if (w < 0) r.hinweise.push_back({zeile, "unbekannte Wortart \"" + wert + "\", als Nomen \xFC" "bernommen"});
      v.Wortart = static_cast<std::uint8_t>(w < 0 ? 0 : w);
      break;
    }
    case kStufe: {
      const std::string t = getrimmt(wert);
      int stufe = -1;
      if (const auto n = leseZahl(t); n && *n >= 0 && *n < kSchwierigkeitAnzahl) stufe = *n;
      for (int i = 0; i < kSchwierigkeitAnzahl && stufe < 0; ++i)
        if (zek::equalsNoCase(t, schwierigkeitName(i))) stufe = i;
      if (stufe < 0 && !t.empty())
        r.hinweise.push_back({zeile, "unbekannte Schwierigkeit \"" + wert + "\", als Baby \xFC" "bernommen"});
      v.Schwierigkeit = static_cast<std::uint8_t>(stufe < 0 ? 0 : stufe);
      break;
    }
    case kRichtung: {
      const std::string t = zek::lowerCase(getrimmt(wert));
      if (t == "de-en") v.Deutsch = true;
      if (t == "en-de") v.Deutsch = false;
      break;
    }
    case kTipps:
      v.Tip1 = wert.find('1') != std::string::npos;
      v.Tip2 = wert.find('2') != std::string::npos;
      break;
    default: break;
  }
}

}  // namespace

TImportErgebnis TTextFormat::lesen(std::string_view d, TAustauschRichtung richtung) const {
  TImportErgebnis r;
  std::string normalisiert;
  if (d.size() <= kAustauschGrenze && d.find('\r') != std::string_view::npos) {
    normalisiert = mitLfZeilenenden(d);
    d = normalisiert;
  }
  if (d.size() > kAustauschGrenze) {
    r.fehler = kZuGross;
    return r;
  }
  if (d.substr(0, 2) == "\xFF\xFE" || d.substr(0, 2) == "\xFE\xFF") {
    r.fehler = "Die Datei ist UTF-16-kodiert; bitte als UTF-8 speichern.";
    return r;
  }
  std::size_t start = d.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  if (!istUtf8(d.substr(start))) {
    r.fehler = "Die Datei ist nicht UTF-8-kodiert; bitte als UTF-8 speichern.";
    return r;
  }
  for (std::size_t p = start, zeile = 1; p < d.size(); ++zeile) {
    std::size_t e = d.find('\n', p);
    if (e == std::string_view::npos) e = d.size();
    if (e - p > kZeilenGrenze) {
      r.fehler = "Zeile " + zahlText(zeile) + " ist l\xE4nger als 64 KiB; die Datei wurde nicht gelesen.";
      return r;
    }
    p = e + 1;
  }

  TTextLeser l{d, start};
  std::optional<char> trenner;
  // Header lines "#key:value" at the top; only the separator matters here.
  while (!l.amEnde() && d[l.pos] == '#') {
    std::size_t e = d.find('\n', l.pos);
    if (e == std::string_view::npos) e = d.size();
    std::string_view z = d.substr(l.pos + 1, e - l.pos - 1);
    if (!z.empty() && z.back() == '\r') z.remove_suffix(1);
    const std::size_t dp = z.find(':');
    if (dp != std::string_view::npos && klein(z.substr(0, dp)) == "separator") {
      trenner = trennerAusKopf(z.substr(dp + 1));
      if (!trenner) {
        r.fehler = "Das Trennzeichen in Zeile " + zahlText(l.zeile) +
                   " wird nicht unterst\xFCtzt (nur Tabulator, Komma oder Semikolon).";
        return r;
      }
    }
    l.pos = e + 1;
    ++l.zeile;
  }
  l.sep = trenner ? *trenner : erkenneTrenner(d.substr(std::min(l.pos, d.size())));

  std::array<int, 64> spalten{};
  std::size_t spaltenZahl = 3;
  spalten.fill(kUnbekannt);
  spalten[0] = kWort;
  spalten[1] = kBedeutung;
  spalten[2] = kBeispiel;
  bool ersterSatz = true, deutsch = richtung == TAustauschRichtung::DeutschEnglisch, ueberzaehligGemeldet = false;
  std::vector<std::string> felder;
  while (!l.amEnde()) {
    const std::size_t zeile = l.zeile;
    const bool vollstaendig = l.satz(felder);
    if (!vollstaendig) {
      r.uebersprungen.push_back({zeile, "Anf\xFChrungszeichen nicht geschlossen, Rest der Datei nicht \xFC" "bernommen"});
      break;
    }
    bool leer = true;
    for (const std::string& f : felder)
      if (!trimmeSteuerzeichen(f).empty()) leer = false;
    if (leer) continue;
    if (ersterSatz) {
      ersterSatz = false;
      if (istKopfzeile(felder)) {
        if (richtung == TAustauschRichtung::Automatisch && kopfIstDeutsch(felder[0])) deutsch = true;
        spaltenZahl = std::min(felder.size(), spalten.size());
        std::string namen;
        for (std::size_t i = 0; i < spaltenZahl; ++i) {
          spalten[i] = i == 0 ? kWort : i == 1 ? kBedeutung : spalteFuerKopf(felder[i]);
          if (spalten[i] == kUnbekannt)
            r.hinweise.push_back({zeile, "Spalte \"" + zek::utf8ToCp1252(felder[i]) + "\" unbekannt, nicht \xFC" "bernommen"});
          if (i < 3) namen += (i ? ", \"" : "\"") + zek::utf8ToCp1252(felder[i]) + "\"";
        }
        if (spaltenZahl > 3) namen += ", ...";
        r.hinweise.insert(r.hinweise.begin(), {zeile, "als Kopfzeile gelesen, nicht als Vokabel: " + namen});
        continue;
      }
    }
    TVokabel v;
    v.Deutsch = deutsch;
    TFeldUmwandlung u;
    for (std::size_t i = 0; i < felder.size(); ++i) {
      if (i >= spaltenZahl || spalten[i] == kUnbekannt) {
        if (i >= spaltenZahl && !trimmeSteuerzeichen(felder[i]).empty() && !ueberzaehligGemeldet) {
          r.hinweise.push_back({zeile, "mehr als " + zahlText(spaltenZahl) +
                                           " Spalten; weitere Spalten werden nicht \xFC" "bernommen"});
          ueberzaehligGemeldet = true;
        }
        continue;
      }
      if (auto f = alsFeld(felder[i], u)) setzeFeld(v, spalten[i], std::move(*f), r, zeile);
    }
    if (richtung == TAustauschRichtung::DeutschEnglisch) v.Deutsch = true;
    if (richtung == TAustauschRichtung::EnglischDeutsch) v.Deutsch = false;
    if (const auto grund = grundFuer(u, v)) {
      r.uebersprungen.push_back({zeile, *grund});
      continue;
    }
    if (u.zeilenumbruch) r.hinweise.push_back({zeile, "Zeilenumbruch in einem Feld durch Leerzeichen ersetzt"});
    if (u.steuerzeichen) r.hinweise.push_back({zeile, "Steuerzeichen in einem Feld entfernt"});
    r.eintraege.push_back(std::move(v));
  }
  return r;
}

std::string TTextFormat::schreiben(const std::vector<TVokabel>& eintraege, std::string_view) const {
  const auto zelle = [](std::string& out, const std::string& cp1252) {
    const std::string t = zek::cp1252ToUtf8(cp1252);
    if (t.find_first_of("\t\"\r\n") != std::string::npos || (!t.empty() && (t.front() == '#' || t.front() == ' '))) {
      out.push_back('"');
      for (const char c : t) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
      }
      out.push_back('"');
    } else {
      out += t;
    }
  };
  std::string out = "#separator:tab\n";
  for (int i = 0; i < kSpaltenAnzahl; ++i) {
    if (i) out.push_back('\t');
    out += kSpaltenKopf[i];
  }
  out.push_back('\n');
  for (const TVokabel& v : eintraege) {
    if (v == TVokabel{}) continue;
    const std::string tipps = v.Tip1 && v.Tip2 ? "1 2" : v.Tip1 ? "1" : v.Tip2 ? "2" : "";
    const std::string felder[kSpaltenAnzahl] = {v.Vokabel, v.Bedeutung1, v.Kontext1, v.Bedeutung2, v.Kontext2,
                                                wortartName(v.Wortart), std::to_string(v.Schwierigkeit),
                                                v.Deutsch ? "de-en" : "en-de", tipps};
    for (int i = 0; i < kSpaltenAnzahl; ++i) {
      if (i) out.push_back('\t');
      zelle(out, felder[i]);
    }
    out.push_back('\n');
  }
  return out;
}
