#include "vocab/vokabelaustausch.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "vocab/tbibliothek.h"
#include "vocab/vokabeldatei.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <array>
#include <cstdio>
#include <map>
#include <optional>

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

std::string zahlText(std::size_t n) { return std::to_string(n); }

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

// Control characters are no text, and XML (KVTML) cannot carry them at all; tab stays.
bool istSteuerzeichen(char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; }

struct TFeldUmwandlung {
  bool zeilenumbruch = false;
  bool steuerzeichen = false;  // control characters left out
  std::string unkodierbar;  // "U+XXXX" of the first character without a code
  bool zuLang = false;
};

// UTF-8 field → Windows-1252; line breaks become blanks (a library field is one line).
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

// Shared record check: the reasons for skipping, in German.
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

// ---------------------------------------------------------------- text tables

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

// ---------------------------------------------------------------- KVTML

QString alsQ(const std::string& cp1252) { return zek::toQString(cp1252); }

// XML 1.0 has no place for most control characters; they are left out.
QString xmlText(const std::string& cp1252) {
  QString s = alsQ(cp1252);
  s.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r'; });
  return s;
}

struct TKvtmlUebersetzung {
  QString text, kommentar, beispiel;
};

struct TKvtmlEintrag {
  std::size_t zeile = 0;
  QString id;
  // By language id, in file order; an entry has two or a few.
  std::vector<std::pair<QString, TKvtmlUebersetzung>> uebersetzungen;
  bool hatZek = false;
  bool zekDeutsch = false;
  QString kontext2;
  int stufe = 0;
  bool tip1 = false, tip2 = false;
};

void liesUebersetzung(QXmlStreamReader& x, TKvtmlUebersetzung& u) {
  while (x.readNextStartElement()) {
    if (x.name() == u"text") u.text = x.readElementText(QXmlStreamReader::IncludeChildElements);
    else if (x.name() == u"comment") u.kommentar = x.readElementText(QXmlStreamReader::IncludeChildElements);
    else if (x.name() == u"example") u.beispiel = x.readElementText(QXmlStreamReader::IncludeChildElements);
    else x.skipCurrentElement();
  }
}

void liesEintrag(QXmlStreamReader& x, TKvtmlEintrag& e) {
  while (x.readNextStartElement()) {
    if (x.name() == u"translation") {
      const QStringView id = x.attributes().value("id");
      auto it = std::find_if(e.uebersetzungen.begin(), e.uebersetzungen.end(),
                             [&](const auto& u) { return u.first == id; });
      if (it == e.uebersetzungen.end()) it = e.uebersetzungen.insert(it, {id.toString(), {}});
      liesUebersetzung(x, it->second);
    } else if (x.name() == u"zek") {
      const QXmlStreamAttributes a = x.attributes();
      e.hatZek = true;
      e.zekDeutsch = a.value("deutsch") == u"1";
      e.kontext2 = a.value("kontext2").toString();
      e.stufe = a.value("schwierigkeit").toInt();
      e.tip1 = a.value("tip1") == u"1";
      e.tip2 = a.value("tip2") == u"1";
      x.skipCurrentElement();
    } else {
      x.skipCurrentElement();
    }
  }
}

int wortartAusKvtml(const QString& name, const QString& spezial) {
  const QString s = spezial.toLower();
  if (s.startsWith(u"noun")) return 0;
  if (s.startsWith(u"verb")) return 1;
  if (s == u"adjective" || s == u"adverb") return 2;
  if (s == u"conjunction" || s == u"pronoun" || s == u"preposition" || s == u"article") return 3;
  if (name.isEmpty()) return -1;
  return wortartAusText(zek::fromQString(name));
}

// Real files nest six or seven elements deep. The readers below recurse per element (ours
// for containers, Qt's for text with child elements), so a deeper file is refused first.
constexpr int kKvtmlTiefe = 64;

// The line of the first element nested deeper than kKvtmlTiefe; 0 when there is none.
std::size_t zuTiefBei(std::string_view d) {
  QXmlStreamReader x(QByteArray::fromRawData(d.data(), static_cast<qsizetype>(d.size())));
  x.setNamespaceProcessing(false);
  int tiefe = 0;
  while (!x.atEnd()) {
    const QXmlStreamReader::TokenType t = x.readNext();
    if (t == QXmlStreamReader::StartElement && ++tiefe > kKvtmlTiefe) return static_cast<std::size_t>(x.lineNumber());
    if (t == QXmlStreamReader::EndElement) --tiefe;
  }
  return 0;
}

void liesWortarten(QXmlStreamReader& x, int geerbt, std::map<QString, int>& art) {
  // Inside <wordtypes> or a <container>: name and special type come before the entries.
  QString name, spezial;
  int eigene = geerbt;
  while (x.readNextStartElement()) {
    if (x.name() == u"name") {
      name = x.readElementText(QXmlStreamReader::IncludeChildElements);
      if (const int w = wortartAusKvtml(name, spezial); w >= 0) eigene = w;
    } else if (x.name() == u"specialwordtype") {
      spezial = x.readElementText(QXmlStreamReader::IncludeChildElements);
      if (const int w = wortartAusKvtml(name, spezial); w >= 0) eigene = w;
    } else if (x.name() == u"container") {
      liesWortarten(x, eigene, art);
    } else if (x.name() == u"entry") {
      if (eigene >= 0) art[x.attributes().value("id").toString()] = eigene;
      x.skipCurrentElement();
    } else {
      x.skipCurrentElement();
    }
  }
}

}  // namespace

TImportErgebnis importiereText(std::string_view d, TAustauschRichtung richtung) {
  TImportErgebnis r;
  std::string normalisiert;
  if (d.size() <= kAustauschGrenze && d.find('\r') != std::string_view::npos) {
    normalisiert = mitLfZeilenenden(d);
    d = normalisiert;
  }
  if (d.size() > kAustauschGrenze) {
    r.fehler = "Die Datei ist gr\xF6\xDF" "er als 64 MiB und wurde nicht gelesen.";
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

std::string exportiereText(const std::vector<TVokabel>& eintraege) {
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

TImportErgebnis importiereKvtml(std::string_view d, TAustauschRichtung richtung) {
  TImportErgebnis r;
  if (d.size() > kAustauschGrenze) {
    r.fehler = "Die Datei ist gr\xF6\xDF" "er als 64 MiB und wurde nicht gelesen.";
    return r;
  }
  if (const std::size_t zeile = zuTiefBei(d)) {
    r.fehler = "Die KVTML-Datei ist zu tief verschachtelt (Zeile " + zahlText(zeile) + ") und wurde nicht gelesen.";
    return r;
  }
  QXmlStreamReader x(QByteArray::fromRawData(d.data(), static_cast<qsizetype>(d.size())));
  // KVTML uses no namespaces; names are matched as written, which is also faster.
  x.setNamespaceProcessing(false);
  struct TKennung {
    QString id, locale;
  };
  std::vector<TKennung> kennungen;
  std::vector<TKvtmlEintrag> roh;
  std::map<QString, int> wortart;
  bool wurzel = false;
  if (x.readNextStartElement()) {
    if (x.name() != u"kvtml") {
      r.fehler = "Die Datei ist keine KVTML-Datei.";
      return r;
    }
    wurzel = true;
    if (!x.attributes().value("version").startsWith(u"2")) {
      r.fehler = "Nur KVTML 2.0 wird unterst\xFCtzt; diese Datei hat eine andere Version.";
      return r;
    }
    while (x.readNextStartElement()) {
      if (x.name() == u"identifiers") {
        while (x.readNextStartElement()) {
          if (x.name() != u"identifier") {
            x.skipCurrentElement();
            continue;
          }
          TKennung k{x.attributes().value("id").toString(), {}};
          while (x.readNextStartElement()) {
            if (x.name() == u"locale") k.locale = x.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
            else x.skipCurrentElement();
          }
          kennungen.push_back(k);
        }
      } else if (x.name() == u"entries") {
        while (x.readNextStartElement()) {
          if (x.name() != u"entry") {
            x.skipCurrentElement();
            continue;
          }
          TKvtmlEintrag e;
          e.zeile = static_cast<std::size_t>(x.lineNumber());
          e.id = x.attributes().value("id").toString();
          liesEintrag(x, e);
          roh.push_back(std::move(e));
        }
      } else if (x.name() == u"wordtypes") {
        liesWortarten(x, -1, wortart);
      } else {
        x.skipCurrentElement();
      }
    }
  }
  if (x.hasError() || !wurzel) {
    r.fehler = x.error() == QXmlStreamReader::NotWellFormedError || x.error() == QXmlStreamReader::PrematureEndOfDocumentError || !wurzel
                   ? "Die KVTML-Datei ist besch\xE4" "digt (Zeile " + zahlText(static_cast<std::size_t>(x.lineNumber())) +
                         ", Spalte " + zahlText(static_cast<std::size_t>(x.columnNumber())) + ")."
                   : "Die KVTML-Datei kann nicht gelesen werden (unbekannte Kodierung oder ung\xFCltiger Inhalt, Zeile " +
                         zahlText(static_cast<std::size_t>(x.lineNumber())) + ").";
    if (x.error() == QXmlStreamReader::NotWellFormedError && x.errorString().contains(u"ncoding"))
      r.fehler = "Die KVTML-Datei hat eine unbekannte Kodierung.";
    return r;
  }
  // English and German by locale; otherwise the first two languages, in file order.
  int en = -1, de = -1;
  for (int i = 0; i < static_cast<int>(kennungen.size()); ++i) {
    const QString loc = kennungen[i].locale.toLower();
    if (en < 0 && loc.startsWith(u"en")) en = i;
    if (de < 0 && loc.startsWith(u"de")) de = i;
  }
  if (en < 0 || de < 0 || en == de) {
    if (kennungen.size() < 2) {
      r.fehler = "Die KVTML-Datei enth\xE4lt keine zwei Sprachen.";
      return r;
    }
    en = 0;
    de = 1;
    r.hinweise.push_back({0, "keine englische und deutsche Sprache gefunden; die ersten beiden Sprachen ("
                                 + zek::fromQString(kennungen[0].locale) + ", " + zek::fromQString(kennungen[1].locale) +
                                 ") werden als Englisch und Deutsch genommen"});
  }
  const bool dateiDeutsch = richtung == TAustauschRichtung::DeutschEnglisch ||
                            (richtung == TAustauschRichtung::Automatisch && de < en);
  const QString idEn = kennungen[en].id, idDe = kennungen[de].id;

  for (const TKvtmlEintrag& e : roh) {
    TVokabel v;
    v.Deutsch = e.hatZek && richtung == TAustauschRichtung::Automatisch ? e.zekDeutsch : dateiDeutsch;
    static const TKvtmlUebersetzung keine;
    const auto finde = [&](const QString& id) -> const TKvtmlUebersetzung& {
      for (const auto& [uid, u] : e.uebersetzungen)
        if (uid == id) return u;
      return keine;
    };
    const TKvtmlUebersetzung &wort = finde(v.Deutsch ? idDe : idEn), &bed = finde(v.Deutsch ? idEn : idDe);
    TFeldUmwandlung u;
    const auto feld = [&](const QString& s) {
      const QByteArray b = s.toUtf8();
      return alsFeld(std::string_view(b.constData(), static_cast<std::size_t>(b.size())), u).value_or(std::string());
    };
    v.Vokabel = getrimmt(feld(wort.text));
    v.Bedeutung1 = getrimmt(feld(bed.text));
    v.Bedeutung2 = getrimmt(feld(bed.kommentar));
    v.Kontext1 = feld(wort.beispiel);
    v.Kontext2 = feld(e.hatZek ? e.kontext2 : bed.beispiel);
    if (e.hatZek) {
      v.Schwierigkeit = static_cast<std::uint8_t>(e.stufe >= 0 && e.stufe < kSchwierigkeitAnzahl ? e.stufe : 0);
      v.Tip1 = e.tip1;
      v.Tip2 = e.tip2;
    }
    if (const auto it = wortart.find(e.id); it != wortart.end()) v.Wortart = static_cast<std::uint8_t>(it->second);
    if (const auto grund = grundFuer(u, v)) {
      r.uebersprungen.push_back({e.zeile, *grund});
      continue;
    }
    if (!wort.kommentar.trimmed().isEmpty())
      r.hinweise.push_back({e.zeile, "Kommentar zum Wort nicht \xFC" "bernommen: " + zek::fromQString(wort.kommentar.simplified())});
    if (e.hatZek && !bed.beispiel.trimmed().isEmpty())
      r.hinweise.push_back({e.zeile, "Beispiel zur Bedeutung nicht \xFC" "bernommen"});
    if (u.zeilenumbruch) r.hinweise.push_back({e.zeile, "Zeilenumbruch in einem Feld durch Leerzeichen ersetzt"});
    if (u.steuerzeichen) r.hinweise.push_back({e.zeile, "Steuerzeichen in einem Feld entfernt"});
    r.eintraege.push_back(std::move(v));
  }
  return r;
}

std::string exportiereKvtml(const std::vector<TVokabel>& eintraege, std::string_view titel) {
  QByteArray puffer;
  QXmlStreamWriter w(&puffer);
  w.setAutoFormatting(true);
  w.setAutoFormattingIndent(1);
  w.writeStartDocument();
  w.writeStartElement("kvtml");
  w.writeAttribute("version", "2.0");
  w.writeStartElement("information");
  w.writeTextElement("generator", "zek englisch");
  w.writeTextElement("title", titel.empty() ? QStringLiteral("Vokabeln") : xmlText(std::string(titel)));
  w.writeEndElement();
  w.writeStartElement("identifiers");
  const auto kennung = [&](const char* id, const char* name, const char* locale) {
    w.writeStartElement("identifier");
    w.writeAttribute("id", id);
    w.writeTextElement("name", name);
    w.writeTextElement("locale", locale);
    w.writeEndElement();
  };
  kennung("0", "Englisch", "en");
  kennung("1", "Deutsch", "de");
  w.writeEndElement();

  std::array<std::vector<int>, kWortartAnzahl> proArt;
  w.writeStartElement("entries");
  int nr = 0;
  for (const TVokabel& v : eintraege) {
    if (v == TVokabel{}) continue;
    const QString id = QString::number(nr);
    w.writeStartElement("entry");
    w.writeAttribute("id", id);
    const auto uebersetzung = [&](const char* tid, const std::string& text, const std::string& kommentar,
                                  const std::string& beispiel) {
      w.writeStartElement("translation");
      w.writeAttribute("id", tid);
      w.writeTextElement("text", xmlText(text));
      if (!kommentar.empty()) w.writeTextElement("comment", xmlText(kommentar));
      if (!beispiel.empty()) w.writeTextElement("example", xmlText(beispiel));
      w.writeEndElement();
    };
    if (v.Deutsch) {
      uebersetzung("0", v.Bedeutung1, v.Bedeutung2, {});
      uebersetzung("1", v.Vokabel, {}, v.Kontext1);
    } else {
      uebersetzung("0", v.Vokabel, {}, v.Kontext1);
      uebersetzung("1", v.Bedeutung1, v.Bedeutung2, {});
    }
    w.writeStartElement("zek");
    w.writeAttribute("deutsch", v.Deutsch ? "1" : "0");
    if (!v.Kontext2.empty()) w.writeAttribute("kontext2", xmlText(v.Kontext2));
    w.writeAttribute("schwierigkeit", QString::number(v.Schwierigkeit));
    w.writeAttribute("tip1", v.Tip1 ? "1" : "0");
    w.writeAttribute("tip2", v.Tip2 ? "1" : "0");
    w.writeEndElement();
    w.writeEndElement();
    if (v.Wortart < kWortartAnzahl) proArt[v.Wortart].push_back(nr);
    ++nr;
  }
  w.writeEndElement();

  static const char* const spezial[kWortartAnzahl] = {"noun", "verb", "adjective", nullptr, nullptr, nullptr};
  w.writeStartElement("wordtypes");
  for (int a = 0; a < kWortartAnzahl; ++a) {
    if (proArt[a].empty()) continue;
    w.writeStartElement("container");
    w.writeTextElement("name", alsQ(wortartName(a)));
    if (spezial[a]) w.writeTextElement("specialwordtype", spezial[a]);
    for (const int e : proArt[a]) {
      w.writeStartElement("entry");
      w.writeAttribute("id", QString::number(e));
      w.writeEmptyElement("translation");
      w.writeAttribute("id", "0");
      w.writeEndElement();
    }
    w.writeEndElement();
  }
  w.writeEndElement();
  w.writeEndElement();
  w.writeEndDocument();
  return puffer.toStdString();
}

TAustauschFormat formatFuerName(std::string_view name) {
  return zek::extensionLower(name) == ".kvtml" ? TAustauschFormat::Kvtml : TAustauschFormat::Text;
}

TImportErgebnis importiereDatei(const std::string& pfad, TAustauschFormat format, TAustauschRichtung richtung) {
  TImportErgebnis r;
  const auto p = zek::resolveName(pfad);
  std::error_code ec;
  const auto groesse = std::filesystem::file_size(p, ec);
  if (!ec && groesse > kAustauschGrenze) {
    r.fehler = "Die Datei ist gr\xF6\xDF" "er als 64 MiB und wurde nicht gelesen.";
    return r;
  }
  const auto daten = zek::readFile(p, kAustauschGrenze + 1);
  if (!daten) {
    r.fehler = "Die Datei \"" + pfad + "\" kann nicht gelesen werden.";
    return r;
  }
  return format == TAustauschFormat::Kvtml ? importiereKvtml(*daten, richtung) : importiereText(*daten, richtung);
}

TImportErgebnis importiereInBibliothek(TBibliothek& bib, const std::string& pfad, TAustauschFormat format,
                                       TAustauschRichtung richtung) {
  TImportErgebnis r = importiereDatei(pfad, format, richtung);
  if (!r.ok()) return r;
  if (r.eintraege.empty()) {
    r.fehler = "Die Datei enth\xE4lt keine Eintr\xE4ge, die sich \xFC" "bernehmen lassen.";
    return r;
  }
  bib.Leeren(false);
  for (const TVokabel& v : r.eintraege) bib.Hinzufuegen(v);
  bib.LeerAnhaengen();
  bib.setAktuell(0);
  bib.setVeraendert(true);
  return r;
}

std::vector<std::size_t> eintraegeMitSteuerzeichen(const std::vector<TVokabel>& eintraege) {
  const auto steuer = [](const std::string& feld) { return std::any_of(feld.begin(), feld.end(), istSteuerzeichen); };
  std::vector<std::size_t> nummern;
  for (std::size_t i = 0; i < eintraege.size(); ++i) {
    const TVokabel& v = eintraege[i];
    if (steuer(v.Vokabel) || steuer(v.Bedeutung1) || steuer(v.Bedeutung2) || steuer(v.Kontext1) || steuer(v.Kontext2))
      nummern.push_back(i + 1);
  }
  return nummern;
}

std::string steuerzeichenHinweis(std::size_t anzahl) {
  if (anzahl == 0) return {};
  const std::string wo = anzahl == 1 ? "einem Eintrag" : zahlText(anzahl) + " Eintr\xE4gen";
  return "Die Vokabeln wurden exportiert. In " + wo +
         " wurden Steuerzeichen weggelassen, die eine Austauschdatei nicht aufnehmen kann.";
}

std::string exportiereDatei(const std::vector<TVokabel>& eintraege, const std::string& pfad, TAustauschFormat format) {
  const std::string daten = format == TAustauschFormat::Kvtml ? exportiereKvtml(eintraege) : exportiereText(eintraege);
  if (!zek::writeFileAtomic(zek::toPath(pfad), daten))
    return "Die Datei \"" + pfad + "\" kann nicht geschrieben werden.";
  return {};
}
