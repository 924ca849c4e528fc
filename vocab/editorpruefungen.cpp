// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/editorpruefungen.h"

#include "dict/database.h"
#include "dict/meaningtext.h"
#include "platform/codec.h"
#include "platform/collation.h"
#include "platform/messages.h"
#include "vocab/tbibliothek.h"
#include "vocab/teditorzugriff.h"

#include <algorithm>

namespace {

std::string T(std::string_view utf8) { return zek::utf8ToCp1252(utf8); }

constexpr std::size_t kMcLaenge = 30;

std::string mcWarnung() {
  return T("Die 1. Bedeutung ist für Multiple-Choice Aufgaben zu lang!\rSie sollten lieber das Eingabefeld \"Weitere:\" "
           "benutzen.");
}

std::string andereBedeutungen(const std::string& m, const std::string& d) {
  return T("Diese Vokabel hat andere Bedeutungen als\rder entsprechende Eintrag im Wörterbuch!\r\r>") + m + "<\r\n>" + d +
         "<";
}

// The dictionary writes a German noun's gender behind it and comments before a meaning
// ("Straße (f)", "[ugs.] Kumpel (m)"); the library does not, and need not.
bool gleichesWort(std::string_view wort, std::string_view woerterbuch) {
  return wort == woerterbuch || wort == zek::bareMeaning(woerterbuch);
}

bool gleicheBedeutungen(std::string_view m, std::string_view woerterbuch) {
  return gleicheBedeutungsmengen(zek::bareMeanings(m), zek::bareMeanings(woerterbuch));
}

bool weiter(TEditorZugriff& e) {
  return e.fragen(T("Soll die Kontrolle mit der nächsten Vokabel fortgesetzt werden?"), mb::YesNo | mb::IconQuestion) ==
         mb::IdYes;
}

// Sets Kontrolle for the walk and puts the switches back afterwards, however it ends.
class TLauf {
 public:
  explicit TLauf(TEditorZugriff& e) : m_e(e), m_mc(e.schalter().mcKontrollieren) {
    e.schalter().mcKontrollieren = false;
    e.Kontrolle = true;
    e.Abbruch = false;
  }
  ~TLauf() {
    m_e.schalter().mcKontrollieren = m_mc;
    m_e.Kontrolle = false;
    m_e.Abbruch = false;
  }
  bool mc() const { return m_mc; }

 private:
  TEditorZugriff& m_e;
  bool m_mc;
};

// A check that starts on a gap starts at the next complete entry (the gap itself
// cannot be left through the list).
int startIndex(TBibliothek& bib) {
  int i = std::max(bib.Aktuell(), 0);
  while (i < bib.Anzahl(true) && bib.IstLeer(i)) ++i;
  if (i < bib.Anzahl(true) && i != bib.Aktuell()) bib.setAktuell(i);
  return i;
}

// The unknown word goes into the dictionary (after asking unless the switch says so);
// false when the learner said no.
bool insWoerterbuch(TEditorZugriff& e) {
  TBibliothek& bib = e.bibliothek();
  TXDatabase& db = e.woerterbuch();
  if (!e.schalter().neueInsWoerterbuch &&
      e.fragen(T("Diese Vokabel ist (noch) nicht im Wörterbuch!\rSoll sie ins Wörterbuch aufgenommen werden???"),
               mb::YesNo | mb::IconInformation) != mb::IdYes) {
    return false;
  }
  const std::string wort = bib.Vokabel(-1);
  const std::string m = bedeutungsmenge(*bib.Eintrag(bib.Aktuell()));
  const int art = bib.Wortart(-1) + 1;
  if (db.IsGermanEnglish() != bib.Deutsch(-1)) db.SetGermanEnglish(bib.Deutsch(-1));
  // The look-up stands on the first entry not before the word, or on the last one when
  // the word sorts after all: there it goes at the end, so that the half stays sorted.
  if (db.Count() == 0 || zek::compareWords(wort, db.GetWord()) > 0) {
    db.Append(wort, std::to_string(art), m);
    db.LookUp(wort, art);
  } else {
    db.InsertEmpty();
    db.SetWord(-1, wort);
    db.SetMeaning(-1, m);
    db.SetKind(-1, art);
  }
  e.nachschlagen();
  return true;
}

}  // namespace

void bibliothekKontrollieren(TEditorZugriff& e) {
  if (e.Kontrolle) {
    e.Abbruch = true;
    return;
  }
  TBibliothek& bib = e.bibliothek();
  TXDatabase& db = e.woerterbuch();
  e.schalter().staendigNachschlagen = true;
  TLauf lauf(e);
  bool abgebrochen = false, amEnde = true;
  for (int i = startIndex(bib); i < bib.Anzahl(true); ++i) {
    if (bib.IstLeer(i)) continue;
    if (e.Abbruch) {
      abgebrochen = true;
      break;
    }
    e.waehlen(i);
    e.nachrichtenVerarbeiten();
    const TVokabel& v = *bib.Eintrag(i);
    if (lauf.mc() && v.Bedeutung1.size() > kMcLaenge) {
      e.fragen(mcWarnung(), mb::IconExclamation);
      amEnde = false;
      break;
    }
    const std::string wort = v.Vokabel;
    const std::string m = bedeutungsmenge(v);
    const std::string d = db.GetWord();
    if (!wort.empty() && !gleichesWort(wort, d) && m != "?") {
      if (!insWoerterbuch(e)) {
        amEnde = false;
        break;
      }
      continue;
    }
    if (wort.empty() || !gleichesWort(wort, d)) continue;
    if (m == "?") {
      e.uebernehmen();
      continue;
    }
    if (v.Wortart + 1 != db.GetKind()) {
      // Taking over unasked would turn "light" (adjective) into the noun "Licht".
      const std::string frage =
          T("Diese Vokabel hat eine andere Wortart als\rder entsprechende Eintrag im Wörterbuch!\r\r>") + wort + " (" +
          wortartName(v.Wortart) + ")<\r\n>" + d + " (" + TXDatabase::KindName(db.GetKind()) + ")<\r\n\r\n" +
          T("Sollen Bedeutungen und Wortart aus dem Wörterbuch\r\nübernommen werden?");
      if (e.fragen(frage, mb::YesNo | mb::IconInformation) == mb::IdYes) {
        e.uebernehmen();
      } else if (!weiter(e)) {
        amEnde = false;
        break;
      }
      continue;
    }
    const std::string dm = db.GetMeaning();
    if (gleicheBedeutungen(m, dm)) continue;
    if (m.size() < dm.size()) {
      if (e.fragen(andereBedeutungen(m, dm) + T("\r\n\r\nSollen die Bedeutungen aus dem Wörterbuch\r\nübernommen werden?"),
                   mb::YesNo | mb::IconInformation) == mb::IdYes) {
        e.uebernehmen();
        continue;
      }
    } else {
      e.fragen(andereBedeutungen(m, dm), mb::Ok | mb::IconInformation);
    }
    if (!weiter(e)) {
      amEnde = false;
      break;
    }
  }
  if (abgebrochen) {
    e.fragen("Kontrolle wurde abgebrochen.", mb::IconInformation);
  } else if (amEnde) {
    e.fragen("Kontrolle beendet.", mb::IconInformation);
  }
}

TXPressErgebnis xpressPruefen(const TVokabel& v, TXDatabase& db) {
  TXPressErgebnis r;
  if (v.Bedeutung1.size() > kMcLaenge) {
    r.befund = TXPressBefund::ZuLang;
    return r;
  }
  if (db.IsGermanEnglish() != v.Deutsch) db.SetGermanEnglish(v.Deutsch);
  // -1 is "not found" here, not the cursor.
  const int i = db.FindWord(v.Vokabel, v.Wortart + 1);
  const std::string m = bedeutungsmenge(v);
  if (i < 0 || !gleichesWort(v.Vokabel, db.WordView(i))) {
    if (m != "?") r.befund = TXPressBefund::Unbekannt;
    return r;
  }
  r.woerterbuch = std::string(db.MeaningView(i));
  if (!gleicheBedeutungen(m, r.woerterbuch)) r.befund = TXPressBefund::Anders;
  return r;
}

TXPressErgebnis xpressPruefen(const TBibliothek& bib, TXDatabase& db, int index) {
  const TVokabel* v = bib.Eintrag(index);
  return v ? xpressPruefen(*v, db) : TXPressErgebnis{};
}

void xpressKontrolle(TEditorZugriff& e) {
  if (e.Kontrolle) return;
  TBibliothek& bib = e.bibliothek();
  TLauf lauf(e);
  for (int i = startIndex(bib); i < bib.Anzahl(true); ++i) {
    if (bib.IstLeer(i)) continue;
    if ((i & 255) == 0) e.nachrichtenVerarbeiten();
    const TXPressErgebnis r = xpressPruefen(bib, e.woerterbuch(), i);
    switch (r.befund) {
      case TXPressBefund::Ok:
        continue;
      case TXPressBefund::ZuLang:
        e.waehlen(i);
        e.fragen(mcWarnung(), mb::IconExclamation);
        return;
      case TXPressBefund::Unbekannt:
        e.waehlen(i);
        insWoerterbuch(e);
        return;
      case TXPressBefund::Anders:
        e.waehlen(i);
        e.fragen(andereBedeutungen(bedeutungsmenge(*bib.Eintrag(i)), r.woerterbuch), mb::Ok | mb::IconInformation);
        return;
    }
  }
  e.fragen("Kontrolle beendet.", mb::IconInformation);
}

namespace {

int anzahl(std::string_view s, char c) { return static_cast<int>(std::count(s.begin(), s.end(), c)); }

void zweitesErsetzen(std::string& s) {
  const std::size_t erstes = s.find('(');
  const std::size_t zweites = s.find('(', erstes + 1);
  if (zweites != std::string::npos) s[zweites] = ')';
}

bool einPaar(std::string_view s, char auf, char zu) {
  return anzahl(s, auf) == 1 && anzahl(s, zu) == 1 && s.find(auf) < s.find(zu);
}

std::string getrimmt(std::string_view s) {
  std::size_t a = 0, b = s.size();
  while (a < b && static_cast<unsigned char>(s[a]) <= 32) ++a;
  while (b > a && static_cast<unsigned char>(s[b - 1]) <= 32) --b;
  return std::string(s.substr(a, b - a));
}

}  // namespace

std::string kontextRepariert(std::string satz) {
  if (anzahl(satz, ')') == 0 && !satz.empty() && satz[0] == '(' && anzahl(satz, '(') == 3) {
    satz.erase(0, 1);
    zweitesErsetzen(satz);
  }
  if (anzahl(satz, ')') == 0 && anzahl(satz, '(') == 2) zweitesErsetzen(satz);
  return satz;
}

bool kontextErledigt(std::string_view satz) {
  // The shipped sentences mark their solution with "[...]": settled as well.
  return satz.empty() || einPaar(satz, '(', ')') || einPaar(satz, '[', ']');
}

void kontexteAbgleichen(TEditorZugriff& e) {
  if (e.Kontrolle) return;
  TBibliothek& bib = e.bibliothek();
  TXDatabase& db = e.woerterbuch();
  TLauf lauf(e);
  e.nachrichtenVerarbeiten();
  e.nachschlagen();
  static const char* const kEndungen[] = {" (m)", " (f)", " (mf)", " (mpl)", " (fpl)"};
  for (int i = startIndex(bib); i < bib.Anzahl(true); ++i) {
    if (bib.IstLeer(i)) continue;
    e.waehlen(i);
    e.nachrichtenVerarbeiten();
    std::string wort = getrimmt(bib.Vokabel(-1));
    if (wort.size() >= 3 && wort.compare(wort.size() - 3, 3, ", e") == 0) wort.insert(wort.size() - 1, "-");
    bool geaendert = wort != bib.Vokabel(-1);
    if (geaendert) bib.SetVokabel(-1, wort);

    const std::string k1 = kontextRepariert(bib.Kontext(-1, 0));
    if (k1 != bib.Kontext(-1, 0)) bib.SetKontext(-1, 0, k1), geaendert = true;
    bool erledigt = kontextErledigt(k1);
    if (erledigt) {
      const std::string k2 = kontextRepariert(bib.Kontext(-1, 1));
      if (k2 != bib.Kontext(-1, 1)) bib.SetKontext(-1, 1, k2), geaendert = true;
      erledigt = kontextErledigt(k2);
    }
    if (!erledigt) {
      if (geaendert) e.aktualisieren(false);
      return;
    }

    const std::string d = db.GetWord();
    if (!wort.empty() && !d.empty() && d.find(wort.substr(1)) == 1 && !wort.substr(1).empty() &&
        static_cast<unsigned char>(wort[0]) == zek::upperCp1252(static_cast<unsigned char>(d[0])) &&
        static_cast<unsigned char>(d[0]) == zek::lowerCp1252(static_cast<unsigned char>(wort[0])) && wort[0] != d[0]) {
      wort[0] = d[0];
      bib.SetVokabel(-1, wort);
      geaendert = true;
    }
    const int art = db.GetKind() - 1;
    if (wort != d) {
      const bool endung = d.rfind(wort, 0) == 0 &&
                          std::any_of(std::begin(kEndungen), std::end(kEndungen),
                                      [&](const char* s) { return d == wort + s; });
      if (endung) {
        wort = d;
        bib.SetVokabel(-1, d);
        bib.SetBedeutung(-1, 0, db.GetMeaning());
        bib.SetWortart(-1, art);
        geaendert = true;
      }
    } else if (bib.Wortart(-1) == art) {
      if (bib.Bedeutung(-1, 0) != db.GetMeaning()) bib.SetBedeutung(-1, 0, db.GetMeaning()), geaendert = true;
    } else if (bib.Wortart(-1) == 0 && d != db.GetWord(-2) && d != db.GetWord(-3)) {
      // The dictionary has this word once only: its class is the one meant.
      bib.SetBedeutung(-1, 0, db.GetMeaning());
      bib.SetWortart(-1, art);
      geaendert = true;
    }
    if (geaendert) e.aktualisieren(false);
    if (!(wort == d && bib.Wortart(-1) == art && bib.Bedeutung(-1, 0) == db.GetMeaning())) return;
  }
}

bool zufallsBibliothek(TEditorZugriff& e, const TZufallsWahl& wahl, std::mt19937& zufall) {
  if (e.Kontrolle) return false;
  TXDatabase& db = e.woerterbuch();
  const bool deutschVorher = db.IsGermanEnglish();
  auto anzahlIn = [&db](bool deutsch) {
    db.SetGermanEnglish(deutsch);
    return db.Count();
  };
  const int englisch = anzahlIn(false), deutsch = anzahlIn(true);
  db.SetGermanEnglish(deutschVorher);
  const int prozent = std::clamp(wahl.englisch, 0, 100);
  // A draw from an empty half would give blank entries and a message for each of them.
  for (const bool h : {false, true}) {
    const bool gebraucht = h ? prozent < 100 : prozent > 0;
    if (gebraucht && (h ? deutsch : englisch) == 0) {
      e.fragen(T("Das Wörterbuch ") + TXDatabase::DirectionName(h ? 1 : 0) +
                   T(" ist leer!\rDaraus kann keine Bibliothek erzeugt werden."),
               mb::IconExclamation);
      return false;
    }
  }
  e.beschaeftigt(true);
  if (!e.neu()) {
    e.beschaeftigt(false);
    return false;
  }
  TEditorSchalter& s = e.schalter();
  const bool staendig = s.staendigNachschlagen;
  s.staendigNachschlagen = false;
  {
    TLauf lauf(e);
    std::uniform_int_distribution<int> wurf(0, 100);
    const int groesse = std::max(wahl.groesse, 0);
    int versuche = 0;
    for (int k = 0; k < groesse && versuche < 20 * groesse + 100; ++versuche) {
      bool halbDeutsch = prozent < wurf(zufall);
      if ((halbDeutsch ? deutsch : englisch) == 0) halbDeutsch = !halbDeutsch;
      db.SetGermanEnglish(halbDeutsch);
      db.GotoRandom(wahl.redewendungen);
      // Incomplete dictionary entries are drawn again, silently.
      if (db.WordView(-1).empty() || db.MeaningView(-1).empty()) continue;
      e.setDeutsch(halbDeutsch);
      e.uebernehmen();
      e.naechsteVokabel();
      ++k;
      if ((k & 31) == 0) e.nachrichtenVerarbeiten();
    }
  }
  TBibliothek& bib = e.bibliothek();
  if (wahl.sortieren) bib.Sortieren();
  bib.setAktuell(0);
  e.aktualisieren(true);
  e.waehlen(0);
  s.staendigNachschlagen = staendig;
  e.beschaeftigt(false);
  return true;
}
