#include "vocab/tkvtmlformat.h"

#include "platform/codec.h"
#include "vocab/austauschfelder.h"
#include "vocab/vokabeldatei.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>

using namespace austausch;

namespace {

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

TImportErgebnis TKvtmlFormat::lesen(std::string_view d, TAustauschRichtung richtung) const {
  TImportErgebnis r;
  if (d.size() > kAustauschGrenze) {
    r.fehler = kZuGross;
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

std::string TKvtmlFormat::schreiben(const std::vector<TVokabel>& eintraege, std::string_view titel) const {
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
