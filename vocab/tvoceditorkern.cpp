// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tvoceditorkern.h"

#include "dict/database.h"
#include "dict/meaningtext.h"
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "vocab/abfragetext.h"
#include "vocab/tbibliothek.h"
#include "vocab/tzuletztliste.h"

#include <algorithm>
#include <utility>

namespace {

std::string T(std::string_view utf8) { return zek::utf8ToCp1252(utf8); }

constexpr char kDeutsch = static_cast<char>(0xA7);  // "§": drawn as the German flag
constexpr char kEnglisch = '$';
constexpr std::size_t kMcLaenge = 30;

// Parts of a meaning text: cut at every ";", the character after it dropped.
std::vector<std::string> teile(std::string_view text) {
  std::vector<std::string> t;
  while (true) {
    const std::size_t semi = text.find(';');
    t.emplace_back(text.substr(0, semi));
    if (semi == std::string_view::npos) break;
    text.remove_prefix(std::min(text.size(), semi + 2));
  }
  return t;
}

std::string verbunden(const std::vector<std::string>& t, std::size_t ab) {
  std::string s;
  for (std::size_t i = ab; i < t.size(); ++i) {
    if (i > ab) s += "; ";
    s += t[i];
  }
  return s;
}

}  // namespace

TVocEditorKern::TVocEditorKern(TBibliothek& bib, TXDatabase& db) : m_bib(bib), m_db(db) {}

void TVocEditorKern::oeffnen() {
  Kontrolle = Abbruch = Uebernahme = false;
  zuletztLesen();
  m_bib.setAktuell(0);
  sichern();
  listeAufbauen();
  zeigenUndNachschlagen();
  if (OnName) OnName();
}

std::string TVocEditorKern::zeile(int index) const {
  const TVokabel* v = m_bib.Eintrag(index);
  if (!v) return {};
  return std::string(1, v->Deutsch ? kDeutsch : kEnglisch) + (v->Vokabel.empty() ? "(leer)" : v->Vokabel);
}

int TVocEditorKern::position() const { return m_bib.Aktuell() + 1; }
int TVocEditorKern::groesse() const {
  const auto& e = m_bib.Eintraege();
  return static_cast<int>(std::count_if(e.begin(), e.end(), [](const TVokabel& v) { return !v.istLeer(); }));
}

// Typing must always land in an entry: after a failed open, a removal or a clear the
// cursor is put back inside the list, which gets its blank entry when it has none.
void TVocEditorKern::sichern() {
  if (m_bib.Eintraege().empty()) {
    const bool veraendert = m_bib.Veraendert();
    m_bib.LeerAnhaengen();
    m_bib.setVeraendert(veraendert);
  }
  const int n = m_bib.Anzahl(true);
  m_bib.setAktuell(std::clamp(m_bib.Aktuell(), 0, n - 1));
}

void TVocEditorKern::listeAufbauen() {
  const int n = m_bib.Anzahl(true);
  m_zeilen.clear();
  m_zeilen.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) m_zeilen.push_back(zeile(i));
  if (OnListe) OnListe();
  if (OnAuswahl) OnAuswahl();
}

void TVocEditorKern::zeileSetzen(int index) {
  const int n = m_bib.Anzahl(true);
  if (static_cast<int>(m_zeilen.size()) != n) {
    listeAufbauen();
    return;
  }
  if (index < 0 || index >= n) return;
  m_zeilen[static_cast<std::size_t>(index)] = zeile(index);
  if (OnZeile) OnZeile(index);
}

void TVocEditorKern::zeigen() {
  if (OnZeigen) OnZeigen();
}

void TVocEditorKern::zeigenUndNachschlagen() {
  zeigen();
  if (m_schalter.staendigNachschlagen && !Uebernahme) nachschlagen();
}

bool TVocEditorKern::waehlen(int index) {
  const int a = m_bib.Aktuell();
  const int n = m_bib.Anzahl(true);
  if (index < 0 || index >= n) return false;
  if (index != a && m_bib.IstLeer(a) && a + 1 < n && !m_bib.IstLeer(a + 1)) {
    melden(T("Die aktuelle Vokabel ist leer oder unvollständig!\rBitte vervollständigen oder löschen Sie die Vokabel."),
           mb::IconInformation);
    if (OnAuswahl) OnAuswahl();  // the list goes back to the current entry
    return false;
  }
  m_bib.setAktuell(index);
  zeigenUndNachschlagen();
  if (OnAuswahl) OnAuswahl();
  return true;
}

void TVocEditorKern::nachschlagen() {
  const bool deutsch = m_bib.Deutsch(-1);
  if (m_db.IsGermanEnglish() != deutsch) m_db.SetGermanEnglish(deutsch);
  m_db.LookUp(m_bib.Vokabel(-1), m_bib.Wortart(-1) + 1);
  if (OnWoerterbuch) OnWoerterbuch();
}

bool TVocEditorKern::uebernehmen() {
  // An empty half or a half-typed dictionary entry would blank the learner's entry.
  if (!m_db.IsComplete()) return false;
  Uebernahme = true;
  const std::string alt = m_bib.Vokabel(-1);
  const bool gleicheHaelfte = m_db.IsGermanEnglish() == m_bib.Deutsch(-1);
  std::string wort = gleicheHaelfte ? m_db.GetWord() : m_db.GetMeaning();
  const std::string text = gleicheHaelfte ? m_db.GetMeaning() : m_db.GetWord();
  // "Straße" is the word of "Straße (f)": the learner's spelling stays.
  if (zek::bareMeaning(wort) == alt) wort = alt;
  m_bib.SetVokabel(-1, wort);

  const std::vector<std::string> t = teile(text);
  const std::string erster = t.front();
  const std::string ersteZwei = t.size() >= 2 ? t[0] + "; " + t[1] : erster;
  const std::string r1 = verbunden(t, 1), r2 = verbunden(t, 2);
  const std::string b1 = m_bib.Bedeutung(-1, 0), b2 = m_bib.Bedeutung(-1, 1);
  std::string n1 = b1, n2 = b2;
  // Repeated take-overs alternate between "first | rest" and "first two | rest".
  // Compared without the comments and genders the dictionary adds, so that "Haus" counts
  // as the dictionary's "Haus (n)".
  auto gleich = [](std::string_view a, std::string_view b) { return zek::bareMeanings(a) == zek::bareMeanings(b); };
  if (!gleich(b1, erster)) {
    if (t.size() < 2 || !gleich(b1, ersteZwei)) {
      n1 = erster;
      n2 = r1;
    } else if (!gleich(b2, r2)) {
      n2 = r2;
    } else {
      n1 = erster;
      n2 = r1;
    }
  } else if (!gleich(b2, r1) || r1.empty()) {
    n2 = r1;
  } else {
    n1 = ersteZwei;
    n2 = r2;
  }
  if (m_schalter.mcKontrollieren && n1.size() > kMcLaenge && b1.size() <= kMcLaenge) {
    melden(T("Die 1. Bedeutung ist für Multiple-Choice Aufgaben zu lang!\rSie sollten lieber das Eingabefeld \"Weitere:\" benutzen."),
           mb::IconExclamation);
  }
  m_bib.SetBedeutung(-1, 0, n1);
  m_bib.SetBedeutung(-1, 1, n2);
  if ((!m_bib.Kontext(-1, 0).empty() || !m_bib.Kontext(-1, 1).empty()) && wort != alt &&
      fragen(T("Auch Kontext(e) löschen?"), mb::YesNo | mb::IconQuestion) == mb::IdYes) {
    m_bib.SetKontext(-1, 0, "");
    m_bib.SetKontext(-1, 1, "");
  }
  m_bib.SetWortart(-1, m_db.GetKind() - 1);
  zeileSetzen(m_bib.Aktuell());
  zeigen();
  Uebernahme = false;
  return true;
}

void TVocEditorKern::setDeutsch(bool deutsch) {
  m_bib.SetDeutsch(-1, deutsch);
  zeileSetzen(m_bib.Aktuell());
  zeigen();
  if (m_schalter.staendigNachschlagen && !Uebernahme) nachschlagen();
}

void TVocEditorKern::naechsteVokabel() {
  const int a = m_bib.Aktuell();
  if (a >= static_cast<int>(m_zeilen.size()) - 1) {
    if (m_bib.IstLeer(m_bib.Aktuell())) {
      melden(T("Ende der Bibliothek erreicht!"), mb::IconInformation);
    } else {
      m_bib.LeerAnhaengen();
      m_zeilen.push_back(zeile(m_bib.Anzahl(true) - 1));
      if (OnListe) OnListe();
      waehlen(m_bib.Anzahl(true) - 1);
    }
  } else {
    waehlen(a + 1);
  }
  if (OnWortFokus) OnWortFokus();
}

void TVocEditorKern::vorigeVokabel() {
  if (m_bib.Aktuell() <= 0) {
    melden(T("Anfang der Bibliothek erreicht!"), mb::IconInformation);
    return;
  }
  waehlen(m_bib.Aktuell() - 1);
}

int TVocEditorKern::fragen(std::string_view text, int flags) { return showMessage(text, flags); }
void TVocEditorKern::melden(std::string_view text, int flags) { fragen(text, flags); }

void TVocEditorKern::nachrichtenVerarbeiten() {
  if (OnPumpe) OnPumpe();
}

void TVocEditorKern::aktualisieren(bool liste) {
  sichern();
  if (liste) {
    listeAufbauen();
  } else {
    zeileSetzen(m_bib.Aktuell());
  }
  zeigen();
}

void TVocEditorKern::beschaeftigt(bool an) {
  if (OnBeschaeftigt) OnBeschaeftigt(an);
}

// ---- field edits ----

void TVocEditorKern::wortGeaendert(std::string_view text) {
  m_bib.SetVokabel(-1, text);
  zeileSetzen(m_bib.Aktuell());
  if (!Uebernahme && m_schalter.staendigNachschlagen) nachschlagen();
}

void TVocEditorKern::bedeutungGeaendert(int welche, std::string_view text) {
  const std::size_t vorher = m_bib.Bedeutung(-1, welche).size();
  m_bib.SetBedeutung(-1, welche, text);
  // Once, when 30 is passed; shown when the field is left.
  if (welche == 0 && m_schalter.mcKontrollieren && text.size() > kMcLaenge && vorher <= kMcLaenge)
    m_langeBedeutung = true;
  if (welche == 0 && text.size() <= kMcLaenge) m_langeBedeutung = false;
  zeigen();  // position and size follow a blank entry becoming complete
}

void TVocEditorKern::langeBedeutungMelden() {
  if (!std::exchange(m_langeBedeutung, false)) return;
  melden(T("Die 1. Bedeutung ist für Multiple-Choice Aufgaben zu lang!\rSie sollten lieber das Eingabefeld \"Weitere:\" benutzen."),
         mb::IconExclamation);
}

void TVocEditorKern::kontextGeaendert(int welche, std::string_view text) { m_bib.SetKontext(-1, welche, text); }
void TVocEditorKern::tipGeaendert(int welche, bool an) { m_bib.SetTip(-1, welche, an); }

void TVocEditorKern::wortartGeaendert(int wortart) {
  m_bib.SetWortart(-1, wortart);
  if (m_schalter.staendigNachschlagen && !m_bib.Vokabel(-1).empty() && !Uebernahme) nachschlagen();
}

void TVocEditorKern::schwierigkeitGeaendert(int stufe) { m_bib.SetSchwierigkeit(-1, stufe); }

void TVocEditorKern::wbWortGeaendert(std::string_view text) {
  if (m_db.Current() < m_db.Count() && m_db.GetWord() != text) m_db.SetWord(-1, text);
}

void TVocEditorKern::wbBedeutungGeaendert(std::string_view text) {
  if (m_db.Current() < m_db.Count() && m_db.GetMeaning() != text) m_db.SetMeaning(-1, text);
}

void TVocEditorKern::wbArtGeaendert(int wortart) {
  if (m_db.Current() < m_db.Count() && m_db.GetKind() != wortart + 1) m_db.SetKind(-1, wortart + 1);
}

void TVocEditorKern::richtungWechseln() {
  m_db.SetGermanEnglish(!m_db.IsGermanEnglish());
  if (OnWoerterbuch) OnWoerterbuch();
}

void TVocEditorKern::wbGehen(int wohin) {
  // An empty half has no entry to complete; a new one must still be possible there.
  if (m_db.Count() > 0 && !m_db.IsComplete()) return;
  switch (wohin) {
    case 0: m_db.First(); break;
    case 1: m_db.Prior(); break;
    case 2: m_db.Next(); break;
    case 3: m_db.Last(); break;
    default: m_db.InsertEmpty(); break;
  }
  if (OnWoerterbuch) OnWoerterbuch();
  if (wohin == 4 && OnWbWortFokus) OnWbWortFokus();
}

void TVocEditorKern::wbLoeschen() {
  if (fragen(T("Eintrag des Wörterbuchs wirklich löschen?"), mb::YesNo | mb::IconQuestion) != mb::IdYes) return;
  m_db.DeleteCurrent();
  if (OnWoerterbuch) OnWoerterbuch();
}

// ---- file menu ----

void TVocEditorKern::geladen() {
  m_bib.setAktuell(0);
  sichern();
  listeAufbauen();
  zeigenUndNachschlagen();
  if (OnName) OnName();
}

bool TVocEditorKern::neu() {
  if (!speicherFrage(false)) return false;
  m_bib.Leeren(true);
  geladen();
  return true;
}

bool TVocEditorKern::oeffnenDatei() {
  if (!speicherFrage(false)) return false;
  TFileDialogRequest r;
  r.filter = "ORV Bibliotheken (*.asc)|*.asc";
  r.defaultExt = "asc";
  r.directory = Dirs().UserVocabDir;
  const auto gewaehlt = askFileName(r);
  if (!gewaehlt) return false;
  bibliotheksOrdnerMerken(*gewaehlt);
  m_bib.Laden(*gewaehlt, true);
  geladen();
  return true;
}

bool TVocEditorKern::hinzufuegenDatei() {
  TFileDialogRequest r;
  r.filter = "ORV Bibliotheken (*.asc)|*.asc";
  r.defaultExt = "asc";
  r.directory = Dirs().UserVocabDir;
  const auto gewaehlt = askFileName(r);
  if (!gewaehlt) return false;
  m_bib.Laden(*gewaehlt, false);
  sichern();
  listeAufbauen();
  zeigen();
  if (OnName) OnName();
  return true;
}

bool TVocEditorKern::speichern() {
  if (luecke(true)) return false;
  bool ok = false;
  if (!m_bib.DateiName().empty()) {
    ok = m_bib.Speichern();
  } else {
    TFileDialogRequest r;
    r.save = true;
    r.filter = "Vokabel-Bibliotheken (*.asc)|*.asc";
    r.defaultExt = "asc";
    r.directory = Dirs().UserVocabDir;
    const auto gewaehlt = askFileName(r);
    if (!gewaehlt) return false;
    ok = m_bib.Speichern(*gewaehlt);
  }
  if (OnName) OnName();
  if (ok) {
    zuletztEintragen();
    bibliotheksOrdnerMerken(m_bib.DateiName());
  }
  return ok;
}

bool TVocEditorKern::speichernUnter() {
  TFileDialogRequest r;
  r.save = true;
  r.filter = "Vokabel-Bibliotheken (*.asc)|*.asc";
  r.defaultExt = "asc";
  r.directory = m_bib.DateiName().empty() ? Dirs().UserVocabDir : zek::directoryPart(m_bib.DateiName());
  r.fileName = zek::fileNamePart(m_bib.DateiName());
  const auto gewaehlt = askFileName(r);
  // A cancelled dialog leaves the recent list as it was.
  if (!gewaehlt) return false;
  const bool ok = m_bib.Speichern(*gewaehlt);
  if (ok) {
    zuletztEintragen();
    bibliotheksOrdnerMerken(*gewaehlt);
  }
  if (OnName) OnName();
  return ok;
}

void TVocEditorKern::zuletztOeffnen(int slot) {
  if (slot < 0 || slot > 3 || m_zuletzt[static_cast<std::size_t>(slot)].empty()) return;
  const std::string pfad = m_zuletzt[static_cast<std::size_t>(slot)];
  if (!speicherFrage(false)) return;
  m_bib.Laden(pfad, true);
  geladen();
}

bool TVocEditorKern::speicherFrage(bool schliessen) {
  if (!m_bib.Veraendert()) return true;
  const std::string text =
      schliessen ? T("Die aktuelle Bibliothek wurde verändert.\rSollen die Veränderungen jetzt gespeichert werden?")
                 : T("Die aktuelle Bibliothek wurde verändert.\rSollen die Veränderungen gespeichert werden?");
  const int antwort = fragen(text, mb::YesNoCancel | mb::IconQuestion);
  if (antwort == mb::IdCancel) return false;
  // "Yes" that did not end in a saved file keeps the changes, as Cancel does.
  if (antwort == mb::IdYes) return speichernUnter();
  return true;
}

void TVocEditorKern::zuletztLesen() {
  TZuletztListe liste;
  liste.Lesen();
  m_zuletzt = liste.Pfade();
  if (OnZuletzt) OnZuletzt();
}

void TVocEditorKern::zuletztEintragen() {
  TZuletztListe liste;
  liste.Lesen();
  liste.Aktualisieren(m_bib.DateiName());
  zuletztLesen();
}

bool TVocEditorKern::luecke(bool fuerSpeichern) {
  const int l = m_bib.ErsteLuecke();
  if (l < 0) return false;
  m_bib.setAktuell(l);
  if (OnAuswahl) OnAuswahl();
  zeigenUndNachschlagen();
  melden(fuerSpeichern ? T("Die Bibliothek enthält eine unvollständige Vokabel!\rBitte vervollständigen oder löschen Sie "
                           "diese Vokabel\rund speichern Sie dann die Bibliothek erneut.")
                       : T("Die Bibliothek enthält eine unvollständige Vokabel!\rBitte vervollständigen oder löschen Sie "
                           "diese Vokabel."),
         mb::IconInformation);
  return true;
}

// ---- edit menu ----

void TVocEditorKern::sortieren() {
  if (luecke(false)) return;
  m_bib.Sortieren();
  geladenOhneName();
}

void TVocEditorKern::geladenOhneName() {
  m_bib.setAktuell(0);
  sichern();
  listeAufbauen();
  zeigenUndNachschlagen();
}

void TVocEditorKern::mischen() {
  m_bib.Mischen();
  sichern();
  listeAufbauen();
  zeigenUndNachschlagen();
}

void TVocEditorKern::vorEinfuegen() {
  if (!m_bib.LeerEinfuegen()) return;
  listeAufbauen();
  zeigenUndNachschlagen();
  if (OnWortFokus) OnWortFokus();
}

void TVocEditorKern::nachEinfuegen() {
  naechsteVokabel();
  vorEinfuegen();
}

void TVocEditorKern::entfernen() {
  m_bib.AktuelleEntfernen();
  sichern();
  listeAufbauen();
  zeigenUndNachschlagen();
}

void TVocEditorKern::doppelteEntfernen() {
  const bool genug = m_bib.Anzahl(true) > 1;
  const int n = m_bib.DoppelteRaus(true);
  geladenOhneName();
  if (genug) melden(std::to_string(n) + " doppelte Vokabeln wurden entfernt!", mb::IconInformation);
}

void TVocEditorKern::umkehren() {
  m_bib.Umkehren();
  geladenOhneName();
}

// ---- texts ----

std::string TVocEditorKern::loesungen(int welche) const {
  const TKontextStrecke k = kontextStrecke(m_bib.Kontext(-1, welche));
  if (!k.gefunden) return {};
  const std::string wort = m_bib.Vokabel(-1);
  std::string innen;
  for (char c : k.innen) innen += c == '*' ? wort : std::string(1, c);
  std::string s = "L\xF6sungen f\xFCr Kontext: \n\n";
  for (const std::string& a : erweitern("", innen)) s += a + "\n";
  return s;
}

std::string TVocEditorKern::bedeutungBereinigt(std::string text) {
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  if (text.rfind("; ", 0) == 0) text.erase(0, 2);
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "; ") == 0) text.erase(text.size() - 2);
  return text;
}
