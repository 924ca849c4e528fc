// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tvokabelabfrage.h"

#include "memory/tlernspeicher.h"
#include "page/thtmlstream.h"
#include "platform/codec.h"
#include "platform/eigeneantworten.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "vocab/abfragetext.h"
#include "vocab/tbibliothek.h"
#include "vocab/tres.h"
#include "vocab/tvoceinstellungen.h"
#include "vocab/vokabeldatei.h"
#include "widgets/answervariants.h"

#include <algorithm>

namespace {

const char* const kAuswertungsLink = "<a href=\"\xA7[vocaus]@Auswertung\" flash=flashcol>";

// The asked word: English verbs with "to " in front, as the library's MitTo.
std::string gefragtesWort(const TVokabel& v) {
  const std::string& w = v.Vokabel;
  const bool modal = w == "must" || w == "may" || w == "should" || w == "will" || w == "would";
  return v.Wortart == 1 && !v.Deutsch && !modal ? "to " + w : w;
}

// A word or meaning as the grid compares them: small letters, no final mark.
std::string vergleichsform(std::string s) {
  while (!s.empty() && (s.back() == '.' || s.back() == '!' || s.back() == '?' || s.back() == ' ')) s.pop_back();
  return zek::lowerCase(s);
}

// Every meaning of an entry in all its accepted spellings ("Straße; Landstraße").
std::vector<std::string> bedeutungsMenge(const TVokabel& v) {
  std::vector<std::string> menge;
  const std::string alle = v.Bedeutung2.empty() ? v.Bedeutung1 : v.Bedeutung1 + "; " + v.Bedeutung2;
  for (const std::string& b : erweitern("", alle)) menge.push_back(vergleichsform(b));
  return menge;
}

// Two entries that must not stand side by side in one choice grid: the same word, or one
// meaning in common (street "Straße" beside road "Straße; Landstraße" gives two right buttons).
bool kollidiert(const TVokabel& a, const TVokabel& b) {
  if (vergleichsform(a.Vokabel) == vergleichsform(b.Vokabel)) return true;
  const std::vector<std::string> ma = bedeutungsMenge(a), mb = bedeutungsMenge(b);
  if (std::find(ma.begin(), ma.end(), vergleichsform(b.Vokabel)) != ma.end()) return true;
  if (std::find(mb.begin(), mb.end(), vergleichsform(a.Vokabel)) != mb.end()) return true;
  return std::any_of(ma.begin(), ma.end(), [&](const std::string& m) {
    return !m.empty() && std::find(mb.begin(), mb.end(), m) != mb.end();
  });
}

const char* const kTrainer = "vokabel";

// The asked entry and the kind of question, as the learner's own answers are filed.
std::string eigenerSchluessel(const TVokabel& v, bool kontext) {
  return (kontext ? "Kontext: " : "") + v.Vokabel + " = " + v.Bedeutung1;
}

void eigeneDazu(const std::string& schluessel, std::vector<std::string>& antworten) {
  for (std::string& e : TEigeneAntworten::global().antworten(kTrainer, schluessel))
    if (std::find(antworten.begin(), antworten.end(), e) == antworten.end()) antworten.push_back(std::move(e));
}

bool endetMit(const std::string& s, std::string_view e) {
  return s.size() >= e.size() && std::string_view(s).substr(s.size() - e.size()) == e;
}

std::string verbunden(const std::vector<std::string>& teile, const char* trenner) {
  std::string r;
  for (std::size_t i = 0; i < teile.size(); ++i) {
    if (i) r += trenner;
    r += markupWert(teile[i]);
  }
  return r;
}

std::string trimmed(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
  return std::string(s);
}

// The answer as the learning memory keeps it: the entry by library file, word and meaning.
TLernAntwort lernAntwort(const TVokabel& v, const std::string& sammlung, const std::string& R) {
  TLernAntwort a;
  a.art = TLernArt::Vokabel;
  a.sammlung = sammlung;
  a.frage = vokabelSchluessel(v);
  a.daten = schreibeVokabeln({v});
  a.richtig = endetMit(R, "+");
  if (R.size() > 1 && R[0] == '#' && R[1] >= '1' && R[1] <= '9') a.versuche = R[1] - '0';
  if (R.size() >= 3 && R.front() == '[' && endetMit(R, "]-")) a.gegeben = R.substr(1, R.size() - 3);
  return a;
}

}  // namespace

std::string vokabelSchluessel(const TVokabel& v) { return v.Vokabel + " = " + v.Bedeutung1; }

std::string TVokabelAbfrage::sammlungsName() const {
  const std::string name = zek::fileNamePart(m_bib.DateiName());
  return name.empty() ? std::string("(ohne Namen)") : name;
}

TVokabelAbfrage::TVokabelAbfrage(TBibliothek& bibliothek) : m_bib(bibliothek) {
  m_aufgaben.resize(kMindestPlaetze);
  m_proDurchgang.assign(20, 0);
}

bool TVokabelAbfrage::zufaelligEingestellt() const {
  const TVocEinstellungen* e = m_bib.Einstellungen();
  return e && e->Modus == TVocEinstellungen::ModusKreuzUndQuer;
}

int TVokabelAbfrage::rundenGroesseAusEinstellungen() const {
  const TVocEinstellungen* e = m_bib.Einstellungen();
  return e && e->ProRunde > 0 ? e->ProRunde : 10;
}

int TVokabelAbfrage::zufall(int n) {
  if (n <= 1) return 0;
  return std::uniform_int_distribution<int>(0, n - 1)(m_bib.Zufall());
}

int TVokabelAbfrage::breite() const { return m_anzeige ? m_anzeige->Breite() : 800; }

// ---- start

bool TVokabelAbfrage::Abfragbar(const TVocEinstellungen& e, int aktiv) {
  if (aktiv <= 0) return false;
  if (e.Modus != TVocEinstellungen::ModusKreuzUndQuer) return true;
  const int proRunde = e.ProRunde > 0 ? e.ProRunde : 10;
  return aktiv >= proRunde || aktiv > 5;
}

bool TVokabelAbfrage::QuizBereit() {
  // A quiz started from a page before the options or the editor ran would otherwise ask
  // with the initial values, in which no difficulty is switched on.
  if (TVocEinstellungen* e = m_bib.Einstellungen()) e->LadenFallsNoetig();
  const auto& eintraege = m_bib.Eintraege();
  if (std::none_of(eintraege.begin(), eintraege.end(), [](const TVokabel& v) { return !v.istLeer(); })) {
    showMessage("Noch keine Bibliothek geladen! Was soll ich abfragen??" "?!", mb::Ok | mb::IconExclamation);
    return false;
  }
  const int aktiv = m_bib.AktivAnzahl();
  if (aktiv == 0) {
    showMessage("Keine Vokabel(n) aktiv!!!", mb::Ok | mb::IconExclamation);
    return false;
  }
  TVocEinstellungen& e = *m_bib.Einstellungen();
  if (e.ProRunde == 0) e.ProRunde = 10;
  if (!zufaelligEingestellt()) return true;
  if (aktiv < e.ProRunde && aktiv > 5) e.ProRunde = aktiv;
  if (aktiv < e.ProRunde) {
    showMessage("Nicht genug Vokabeln pro Runde vorhanden!!!", mb::Ok | mb::IconExclamation);
    return false;
  }
  return true;
}

bool TVokabelAbfrage::Starten() {
  if (!QuizBereit()) return false;
  RundeVorbereiten();
  FrageZeigen(false, rundenGroesseAusEinstellungen());
  return true;
}

// ---- filling the slots

void TVokabelAbfrage::leeren(TVocAufgabe& a) const { a = TVocAufgabe{}; }

std::string TVokabelAbfrage::herkunft(int slot) const {
  if (m_wiederholung && slot >= 0 && slot < static_cast<int>(m_herkunft.size())) return m_herkunft[std::size_t(slot)];
  return sammlungsName();
}

bool TVokabelAbfrage::WiederholungStarten() {
  const int hoechstens = std::min(rundenGroesseAusEinstellungen(), 100);
  std::vector<TVocAufgabe> aufgaben;
  std::vector<std::string> herkunft;
  for (const TLernEintrag& e : lernspeicher().faellige(TLernArt::Vokabel, hoechstens)) {
    const TLeseErgebnis gelesen = liesVokabeln(e.daten);
    if (gelesen.eintraege.empty() || gelesen.eintraege.front().istLeer()) continue;
    aufgaben.emplace_back();
    belegen(aufgaben.back(), gelesen.eintraege.front());
    herkunft.push_back(e.sammlung);
  }
  if (aufgaben.empty()) {
    showMessage("Heute ist keine Vokabel f\xE4llig.", mb::Ok | mb::IconInformation);
    return false;
  }
  const int n = static_cast<int>(aufgaben.size());
  aufgaben.resize(std::max<std::size_t>(kMindestPlaetze, aufgaben.size()));
  m_aufgaben = std::move(aufgaben);
  m_herkunft = std::move(herkunft);
  m_wiederholung = true;
  m_zufaellig = true;
  m_statistik.fill(0);
  lernspeicher().rundeBeginnen(TLernArt::Vokabel);
  m_laeuft = true;
  FrageZeigen(false, n);
  return true;
}

void TVokabelAbfrage::RundeVorbereiten() {
  m_laeuft = false;
  m_wiederholung = false;
  lernspeicher().rundeBeginnen(TLernArt::Vokabel);
  // Also normalises the range ("from" -1, "to" -1); without an active entry no draw could end.
  if (!m_bib.Einstellungen() || m_bib.AktivAnzahl() == 0) return;
  const TVocEinstellungen& e = *m_bib.Einstellungen();
  // The order stays with the quiz: options changed meanwhile apply to the next one.
  m_zufaellig = zufaelligEingestellt();
  if (zufaellig()) {
    const int groesse = rundenGroesseAusEinstellungen();
    // Rounds of up to 100 questions: the slots grow with the round.
    m_aufgaben.assign(static_cast<std::size_t>(std::max(kMindestPlaetze, groesse)), TVocAufgabe{});
    for (int k = 0; k < groesse; ++k) zufallsFrage(k);
  } else {
    m_aufgaben.assign(kMindestPlaetze, TVocAufgabe{});
    if (e.Modus == TVocEinstellungen::ModusVor) {
      m_cursor = m_bib.BereichVon();
      m_schritt = 1;
      m_ende = m_bib.BereichBis();
    } else {
      m_cursor = m_bib.BereichBis();
      m_schritt = -1;
      m_ende = m_bib.BereichVon();
    }
    folgeFuellen(0);
    const int n = 4 + zufall(4);
    for (int k = 1; k <= n; ++k) folgeFuellen(k);
  }
  m_statistik.fill(0);
  m_laeuft = true;
}

void TVokabelAbfrage::zufallsFrage(int k) {
  const int von = m_bib.BereichVon();
  const int bis = std::min(m_bib.BereichBis(), static_cast<int>(m_bib.Eintraege().size()) - 1);
  const long long r = bis - von + 1;
  std::vector<std::string> bedeutungen;  // the slots' first meanings, lower-cased once
  bedeutungen.reserve(static_cast<std::size_t>(k));
  for (int j = 0; j < k; ++j) bedeutungen.push_back(zek::lowerCase(m_aufgaben[std::size_t(j)].Frage.Bedeutung1));
  long long t = 0;
  while (true) {
    const int index = von + zufall(static_cast<int>(r));
    ++t;
    if (!m_bib.IstAktiv(index)) continue;
    const TVokabel& v = m_bib.Eintraege()[std::size_t(index)];
    bool abgelehnt = false;
    if (t < 4 * r) {
      const std::string b = zek::lowerCase(v.Bedeutung1);
      for (int j = 0; j < k && !abgelehnt; ++j) {
        const TVokabel& q = m_aufgaben[std::size_t(j)].Frage;
        if (q.Vokabel == v.Vokabel && q.Wortart == v.Wortart) abgelehnt = true;
        else if (t <= 3 * r) {
          const std::string& qb = bedeutungen[std::size_t(j)];
          abgelehnt = qb.find(b) != std::string::npos || b.find(qb) != std::string::npos;
        }
      }
    }
    if (abgelehnt) continue;
    belegen(m_aufgaben[std::size_t(k)], v);
    return;
  }
}

bool TVokabelAbfrage::folgeFuellen(int k) {
  TVocAufgabe& a = m_aufgaben[std::size_t(k)];
  const auto vorbei = [this] { return m_schritt > 0 ? m_cursor > m_ende : m_cursor < m_ende; };
  while (!vorbei() && !m_bib.IstAktiv(m_cursor)) m_cursor += m_schritt;
  if (vorbei()) {
    leeren(a);
    return false;
  }
  belegen(a, m_bib.Eintraege()[std::size_t(m_cursor)]);
  m_cursor += m_schritt;
  return true;
}

int TVokabelAbfrage::ZufallsAufgabe(TVocAufgabe& a) {
  const int von = m_bib.BereichVon();
  const int bis = std::min(m_bib.BereichBis(), static_cast<int>(m_bib.Eintraege().size()) - 1);
  if (bis < von) return -1;
  const int r = bis - von + 1;
  // Draws first; a sparse range is then searched, so that the draw always ends.
  int index = -1;
  for (int t = 0; t < 4 * r && index < 0; ++t) {
    const int i = von + zufall(r);
    if (m_bib.IstAktiv(i) && !m_bib.Eintraege()[std::size_t(i)].istLeer()) index = i;
  }
  for (int i = von; i <= bis && index < 0; ++i)
    if (m_bib.IstAktiv(i) && !m_bib.Eintraege()[std::size_t(i)].istLeer()) index = i;
  if (index < 0) return -1;
  belegen(a, m_bib.Eintraege()[std::size_t(index)]);
  return index;
}

void TVokabelAbfrage::belegen(TVocAufgabe& a, const TVokabel& v) {
  a.Frage = v;
  a.Auswahl[0] = v;
  a.Durchgang = 0;
  falscheAntworten(a);
}

void TVokabelAbfrage::falscheAntworten(TVocAufgabe& a) {
  for (int i = 1; i < 6; ++i) a.Auswahl[std::size_t(i)] = TVokabel{};
  int genommen = 1;
  const auto durchsuchen = [&](const std::vector<TVokabel>& liste, int n) {
    if (n <= 0) return;
    const int start = zufall(n);
    for (int j = 0; j < n && genommen < 6; ++j) {
      const TVokabel& c = liste[std::size_t((start + j) % n)];
      if (c.istLeer() || c.Wortart != a.Frage.Wortart || c.Deutsch != a.Frage.Deutsch) continue;
      bool frei = true;
      for (int i = 0; i < genommen && frei; ++i) frei = !kollidiert(c, a.Auswahl[std::size_t(i)]);
      if (frei) a.Auswahl[std::size_t(genommen++)] = c;
    }
  };
  durchsuchen(m_bib.Eintraege(), m_bib.Anzahl(false));
  if (genommen < 6 && m_pool) durchsuchen(m_pool->Eintraege(), m_pool->Anzahl());
}

// ---- pages

std::string TVokabelAbfrage::fortschritt(bool nachAntwort, bool richtig) const {
  // Which question of the pass (random rounds) or of the range (in order) this is: asked
  // again after a wrong answer, a question does not count twice.
  int k = 0, n = 0;
  if (zufaellig()) {
    const int d = std::max(m_durchgang, 0);
    n = d < static_cast<int>(m_proDurchgang.size()) ? m_proDurchgang[std::size_t(d)] : 0;
    const int offen = static_cast<int>(std::count_if(m_aufgaben.begin(), m_aufgaben.begin() + m_rundenGroesse,
                                                     [d](const TVocAufgabe& a) { return a.Durchgang == d; }));
    k = n - offen + (nachAntwort ? 0 : 1);
    const std::string zahlen = std::to_string(std::clamp(k, 1, std::max(n, 1))) + " / " + std::to_string(n);
    if (d == 0) return zahlen;
    return (d == 1 ? std::string() : std::to_string(d) + ". ") + "Wiederholung: " + zahlen;
  }
  n = m_rundenGroesse;
  k = m_richtig + (nachAntwort && richtig ? 0 : 1);
  return std::to_string(std::clamp(k, 1, std::max(n, 1))) + " / " + std::to_string(n);
}

void TVokabelAbfrage::kopf(std::string& s, bool nachAntwort, bool richtig) {
  m_fortschritt = fortschritt(nachAntwort, richtig);
  s += "<include href=\"vokab.htx\">";
  s += "<box coords=0,40,400 align=m><+d>" + m_fortschritt;
  s += "<box coords=400,40,400 align=m><+d>";
}

void TVokabelAbfrage::FrageZeigen(bool weiter, int rundenGroesse) {
  if (!m_laeuft) return;
  if (!weiter) {
    m_gefragt = m_beantwortet = m_richtig = m_durchgang = 0;
    m_proDurchgang.assign(20, 0);
    if (rundenGroesse > 0) m_rundenGroesse = std::min(rundenGroesse, static_cast<int>(m_aufgaben.size()));
    m_proDurchgang[0] = m_rundenGroesse;
    m_aktuelleAufgabe = zufall(m_rundenGroesse);
  }
  if (!zufaellig()) {
    m_aktuelleAufgabe = 0;
    m_rundenGroesse = m_bib.AktivAnzahl();
  }
  if (!m_anzeige || !m_anzeige->Bereit()) return;
  zeigen(FrageSeite());
}

std::string TVokabelAbfrage::FrageSeite() {
  std::string s;
  kopf(s, false, false);
  if (m_gefragt > 0) s += kAuswertungsLink + std::to_string(m_richtig * 100 / m_gefragt) + "%</a>";
  s += "<+h>";
  m_kontextLoesung.clear();
  m_verworfen.clear();
  const int wurf = m_naechsterWurf >= 0 ? m_naechsterWurf : zufall(101);
  m_naechsterWurf = -1;
  const TVocAufgabe& a = m_aufgaben[std::size_t(m_aktuelleAufgabe)];
  const TVocEinstellungen* e = m_bib.Einstellungen();
  if (e && wurf < e->MultipleChoice) {
    frageMC(s, a);
  } else if (!(e && e->Kontext && frageKontext(s, a))) {
    frageTippen(s, a);
  }
  return s;
}

void TVokabelAbfrage::frageMC(std::string& s, const TVocAufgabe& a) const {
  s += "<box coords=100,80," + std::to_string(breite() - 200) + " align=m><+h>" + markupText(gefragtesWort(a.Frage));
  s += "<+d><MULTIPLE Coords=150,192,250,50 DIM=3,2 TXT=\"";
  for (std::size_t i = 0; i < a.Auswahl.size(); ++i) {
    if (i) s += "|";
    s += markupWert(a.Auswahl[i].Bedeutung1);
  }
  s += "\" reaction=vokabel>";
}

std::string TVokabelAbfrage::toleranzMerkmal() const {
  const TVocEinstellungen* e = m_bib.Einstellungen();
  return e && e->Grosszuegig ? " tolerant" : "";
}

namespace {

std::vector<std::string> getippteAntworten(const TVokabel& v) {
  const char* prefix = v.Wortart == 1 && v.Deutsch ? "(to) " : "";
  std::vector<std::string> antworten = erweitern(prefix, v.Bedeutung1);
  if (!v.Bedeutung2.empty())
    for (const std::string& teil : answercheck::splitSolutionText(v.Bedeutung2)) answercheck::addVariants(prefix, teil, antworten);
  return antworten;
}

}  // namespace

void TVokabelAbfrage::frageTippen(std::string& s, const TVocAufgabe& a) {
  const TVokabel& v = a.Frage;
  std::vector<std::string> antworten = getippteAntworten(v);
  m_eigenerSchluessel = eigenerSchluessel(v, false);
  eigeneDazu(m_eigenerSchluessel, antworten);
  const std::string w = std::to_string(breite() - 200);
  s += "<box coords=100,120," + w + " align=m><+h>" + markupText(gefragtesWort(v));
  s += "<box coords=100,150," + w + " align=m><+d>" + wortartName(v.Wortart);
  s += "<edit coords=250,250,300,32 lsg=\"" + verbunden(antworten, "; ") + "\" help=\"" +
       markupWert(hinweisMaske(antworten.empty() ? std::string() : antworten.front(), &m_bib.Zufall())) +
       "\" reaction=\"vokabel\"" + toleranzMerkmal() + ">";
}

bool TVokabelAbfrage::frageKontext(std::string& s, const TVocAufgabe& a) {
  const TVokabel& v = a.Frage;
  struct TKandidat {
    TKontextStrecke strecke;
    bool tip;
  };
  std::vector<TKandidat> kandidaten;
  for (int i = 0; i < 2; ++i) {
    TKontextStrecke k = kontextStrecke(i == 0 ? v.Kontext1 : v.Kontext2);
    if (!k.gefunden) continue;
    std::string innen;
    for (char c : k.innen) innen += c == '*' ? v.Vokabel : std::string(1, c);
    k.innen = std::move(innen);
    // An empty stretch asks for nothing that could be typed.
    if (trimmed(k.innen).empty()) continue;
    kandidaten.push_back({std::move(k), i == 0 ? v.Tip1 : v.Tip2});
  }
  if (kandidaten.empty()) return false;
  const TKandidat& k = kandidaten[kandidaten.size() == 2 ? std::size_t(zufall(2)) : 0];
  std::vector<std::string> antworten = erweitern("", k.strecke.innen);
  if (antworten.empty()) return false;
  m_eigenerSchluessel = eigenerSchluessel(v, true) + " / " + k.strecke.innen;
  eigeneDazu(m_eigenerSchluessel, antworten);
  m_kontextLoesung = markupText(k.strecke.vorher) + "<u>" + markupText(k.strecke.innen) + "</u>" +
                     markupText(k.strecke.nachher);
  if (v.Deutsch) {
    const std::vector<std::string> englisch = getippteAntworten(v);
    const bool englischerSatz = std::any_of(antworten.begin(), antworten.end(), [&englisch](const std::string& x) {
      return std::any_of(englisch.begin(), englisch.end(), [&x](const std::string& y) { return zek::equalsNoCase(x, y); });
    });
    if (!englischerSatz) {
      // A German sentence around a German entry: its gap would ask for the German word.
      // The sentence shows the word in place, and the English is typed below it.
      frageTippen(s, a);
      s += "<box coords=100,190," + std::to_string(breite() - 200) + " align=m><+d>" + m_kontextLoesung;
      return true;
    }
  }
  const std::string tip = k.tip ? v.Bedeutung1 : std::string();
  s += "<box coords=100,80," + std::to_string(breite() - 200) + " align=m><+h>" + markupText(k.strecke.vorher);
  s += "<a gap lsg=\"" + verbunden(antworten, "; ") + "\" help=\"" +
       markupWert(hinweisMaske(antworten.front(), &m_bib.Zufall())) + "\" tip=\"" + markupWert(tip) +
       "\" reaction=\"vokabel\"" + toleranzMerkmal() + ">" + markupText(antworten.front()) + "</a>" + markupText(k.strecke.nachher);
  return true;
}

void TVokabelAbfrage::eintrag(std::string& s, const TVokabel& v) const {
  // A word or meaning plays from its link: its recording, or the file the run-time voice
  // speaks an English one into while the page is read.
  const auto link = [this](const std::string& text, const std::string& gezeigt, bool englisch) -> std::string {
    const std::string datei =
        m_anzeige ? m_anzeige->AufnahmeFuer(text, englisch ? TWortSprache::Englisch : TWortSprache::Deutsch)
                  : std::string();
    return datei.empty() ? std::string() : "<a href=\"" + datei + "\" flash=flashcol>" + gezeigt + " </a>";
  };
  const std::string wort = markupText(gefragtesWort(v));
  const std::string wortLink = link(v.Vokabel, wort, !v.Deutsch);
  s += (wortLink.empty() ? wort + " " : wortLink) + "<font size=1> ";
  s += wortartAntwort(v.Wortart);
  s += "<p><font size=4 tracking=1>";
  const std::string bedeutungen = v.Bedeutung2.empty() ? v.Bedeutung1 : v.Bedeutung1 + "; " + v.Bedeutung2;
  const std::vector<std::string> teile = answercheck::splitSolutionText(bedeutungen);
  for (std::size_t i = 0; i < teile.size(); ++i) {
    std::string teil = teile[i], bemerkung;
    const std::size_t zu = teil.find(']');
    if (!teil.empty() && teil.front() == '[' && zu != std::string::npos) {
      bemerkung = teil.substr(0, zu + 1);
      teil = trimmed(std::string_view(teil).substr(zu + 1));
    } else if (!teil.empty() && teil.back() == ']' && teil.rfind('[') != std::string::npos) {
      const std::size_t auf = teil.rfind('[');
      bemerkung = teil.substr(auf);
      teil = trimmed(std::string_view(teil).substr(0, auf));
    }
    if (i) s += "; ";
    if (!bemerkung.empty()) s += "<font size=-3>" + markupText(bemerkung) + "<font size=+3> ";
    const std::string teilLink = link(teil, markupText(teil), v.Deutsch);
    s += teilLink.empty() ? markupText(teil) : teilLink;
  }
}

void TVokabelAbfrage::AntwortZeigen(const std::string& R) {
  if (!m_laeuft || !m_anzeige || !m_anzeige->Bereit()) return;
  if (R == "eigene") {
    if (m_verworfen.empty()) return;
    if (!TEigeneAntworten::global().hinzufuegen(kTrainer, m_eigenerSchluessel, m_verworfen)) {
      showMessage("Ihre Antwort konnte nicht gespeichert werden.", mb::IconStop);
      return;
    }
    // The wrong answer is taken back and the question counts as solved on the last try.
    TVocAufgabe& a = m_aufgaben[std::size_t(m_aktuelleAufgabe)];
    --m_beantwortet;
    --a.Durchgang;
    m_verworfen.clear();
    zeigen(AntwortSeite("#5+"));
    return;
  }
  // A typed answer that was refused may be counted by the learner; the field goes with the
  // page, so its text is read first.
  const std::string eingabe = R == "-" ? m_anzeige->LetzteEingabe() : std::string();
  m_verworfen = eingabe.find_first_not_of(' ') == std::string::npos ? std::string() : eingabe;
  zeigen(AntwortSeite(R));
}

std::string TVokabelAbfrage::AntwortSeite(const std::string& R) {
  ++m_beantwortet;
  TVocAufgabe& a = m_aufgaben[std::size_t(m_aktuelleAufgabe)];
  const bool richtig = endetMit(R, "+");
  lernspeicher().antwort(lernAntwort(a.Frage, herkunft(m_aktuelleAufgabe), R));
  if (richtig) {
    ++m_richtig;
    int index = 5 * a.Durchgang;
    if (R.size() > 1 && R[0] == '#' && R[1] >= '0' && R[1] <= '9') index += R[1] - '0' - 1;
    // A solved question answered again (its page reached by going back) has pass -1.
    m_statistik[std::size_t(std::clamp(index, 0, kStatistik - 1))] += 1;
    a.Durchgang = -1;
  } else {
    ++a.Durchgang;
  }
  std::string s;
  kopf(s, true, richtig);
  s += kAuswertungsLink + std::to_string(m_richtig * 100 / (m_gefragt + 1)) + "%</a><+h>";
  s += "<box coords=0,160," + std::to_string(breite()) + " align=m><font size=210 color=richtig>";
  s += richtig ? "RICHTIG" : "FALSCH";
  if (R.size() >= 3 && R.front() == '[' && endetMit(R, "]-")) {
    s += "<+d><box coords=50,190,300>Das Ticket war:<+h><p>";
    eintrag(s, a.Frage);
    s += "<p>";
    const std::string gewaehlt = R.substr(1, R.size() - 3);
    for (const TVokabel& c : a.Auswahl) {
      if (c.istLeer() || !zek::equalsNoCase(c.Bedeutung1, gewaehlt)) continue;
      s += "<+d><box coords=450,190,300>Leider verloren hat:<+h><p>";
      eintrag(s, c);
      break;
    }
  } else {
    s += endetMit(R, "-") ? "<+d><box coords=100,190,600>Ich bedaure...<+h><p>"
                          : "<+d><box coords=100,190,600>Absolut.<+h><p>";
    eintrag(s, a.Frage);
    s += "<p>";
    // The learner sees what he typed before he counts it as right; both flow below the
    // solution, so a long meaning never runs into them.
    if (!richtig && !m_verworfen.empty())
      s += "<font size=4>Ihre Antwort: " + markupText(m_verworfen) +
           "<p><a href=\"\xA7vokabeleigene\" flash=flashcol>Meine Antwort war richtig</a><p>";
  }
  if (!m_kontextLoesung.empty())
    s += "<box coords=100,80," + std::to_string(breite() - 200) + " align=m><+h>" + m_kontextLoesung;
  s += "<+h><box coords=100,440," + std::to_string(breite() - 200) + " align=m>";
  s += "<a href=\"\xA7vokabelweiter\" flash=flashcol return>Weiter</a>";
  m_letzteAntwort = R;
  return s;
}

void TVokabelAbfrage::zeigen(const std::string& markup) {
  THTMLStream stream;
  stream.Write(markup);
  m_anzeige->SeiteZeigen(stream);
}

// ---- moving on

void TVokabelAbfrage::Weiter() {
  if (!m_laeuft) return;
  if (zufaellig()) weiterZufaellig();
  else weiterFolge();
}

void TVokabelAbfrage::auswerten(int runde, int gesamt, std::string titel, std::string zeile2, std::string zeile3,
                                bool rundenEnde) {
  // The memory's tally ends with the round even when nothing is on show.
  const std::optional<TRundenBilanz> bilanz =
      rundenEnde ? lernspeicher().rundeAbschliessen(TLernArt::Vokabel) : std::nullopt;
  if (!m_anzeige || !m_anzeige->Bereit()) return;
  TAuswertung a;
  a.runde = runde;
  a.gesamt = gesamt;
  a.titel = std::move(titel);
  a.zeile2 = std::move(zeile2);
  a.zeile3 = std::move(zeile3);
  a.statistik = m_statistik;
  if (bilanz) a.lernBilanz = rundenBilanzZeilen(*bilanz);
  m_anzeige->AuswertungZeigen(a);
}

void TVokabelAbfrage::zurVokabelSeite() {
  if (m_anzeige && m_anzeige->Bereit()) m_anzeige->DateiZeigen("vokabeln.htx");
}

void TVokabelAbfrage::weiterZufaellig() {
  ++m_gefragt;
  const auto begin = m_aufgaben.begin(), end = m_aufgaben.begin() + m_rundenGroesse;
  const int gesamt = m_richtig * 100 / m_gefragt;
  if (std::all_of(begin, end, [](const TVocAufgabe& a) { return a.Durchgang == -1; })) {
    auswerten(100, gesamt, "Runde " + std::to_string(m_durchgang + 1) + " beendet",
              "Sie enthielt " + std::to_string(m_proDurchgang[std::size_t(m_durchgang)]) + " Vokabeln.",
              "Davon wurden alle Vokabeln gel\xF6st!", true);
    if (m_wiederholung) {
      if (lernspeicher().faelligAnzahl(TLernArt::Vokabel) > 0 &&
          showMessage("Noch eine Runde???", mb::YesNo | mb::IconQuestion) == mb::IdYes && WiederholungStarten())
        return;
      m_wiederholung = false;
      m_laeuft = false;
      zurVokabelSeite();
    } else if (showMessage("Noch eine Runde???", mb::YesNo | mb::IconQuestion) == mb::IdYes) {
      RundeVorbereiten();
      FrageZeigen(false, rundenGroesseAusEinstellungen());
    } else {
      m_laeuft = false;
      zurVokabelSeite();
    }
    return;
  }
  const auto inDurchgang = [](int d) { return [d](const TVocAufgabe& a) { return a.Durchgang == d; }; };
  if (std::none_of(begin, end, inDurchgang(m_durchgang))) {
    const int c = static_cast<int>(std::count_if(begin, end, inDurchgang(m_durchgang + 1)));
    const int n = m_proDurchgang[std::size_t(m_durchgang)];
    auswerten(n > 0 ? (n - c) * 100 / n : 100, gesamt, "Runde " + std::to_string(m_durchgang + 1) + " beendet.",
              "Sie enthielt " + std::to_string(n) + " Vokabeln.", "Davon wurden " + std::to_string(n - c) + " gel\xF6st!");
    ++m_durchgang;
    // Beyond twenty passes the table grows.
    if (m_durchgang >= static_cast<int>(m_proDurchgang.size())) m_proDurchgang.resize(std::size_t(m_durchgang) + 1, 0);
    m_proDurchgang[std::size_t(m_durchgang)] = c;
  }
  std::vector<int> offen;
  for (int k = 0; k < m_rundenGroesse; ++k)
    if (m_aufgaben[std::size_t(k)].Durchgang == m_durchgang) offen.push_back(k);
  if (offen.empty()) {
    // A question answered twice in one pass (its page reached again by going back) skipped
    // a pass: go on with the earliest pass that still has questions.
    int naechster = -1;
    for (int k = 0; k < m_rundenGroesse; ++k) {
      const int d = m_aufgaben[std::size_t(k)].Durchgang;
      if (d >= 0 && (naechster < 0 || d < naechster)) naechster = d;
    }
    m_durchgang = naechster;
    if (m_durchgang >= static_cast<int>(m_proDurchgang.size())) m_proDurchgang.resize(std::size_t(m_durchgang) + 1, 0);
    for (int k = 0; k < m_rundenGroesse; ++k)
      if (m_aufgaben[std::size_t(k)].Durchgang == m_durchgang) offen.push_back(k);
    m_proDurchgang[std::size_t(m_durchgang)] = static_cast<int>(offen.size());
  }
  m_aktuelleAufgabe = offen[std::size_t(zufall(static_cast<int>(offen.size())))];
  FrageZeigen(true, 0);
}

void TVokabelAbfrage::weiterFolge() {
  ++m_gefragt;
  std::size_t b = 0;
  while (b < m_aufgaben.size() && !m_aufgaben[b].istLeer()) ++b;
  if (b == m_aufgaben.size()) m_aufgaben.emplace_back();
  if (endetMit(m_letzteAntwort, "-")) {
    m_aufgaben[b] = m_aufgaben[0];
  } else {
    folgeFuellen(static_cast<int>(b));
    if (m_aufgaben[1].istLeer()) {
      const int prozent = m_richtig * 100 / m_gefragt;
      auswerten(prozent, prozent, "Congratulations!",
                "Der Abschnitt enthielt " + std::to_string(m_bib.AktivAnzahl()) + " Vokabeln.",
                "Daf\xFCr wurden " + std::to_string(m_gefragt) + " Versuche ben\xF6tigt.", true);
      if (m_anzeige) m_anzeige->NachrichtenVerarbeiten();
      m_laeuft = false;
      zurVokabelSeite();
      return;
    }
  }
  std::size_t i = 0;
  while (i + 1 < m_aufgaben.size() && !m_aufgaben[i + 1].istLeer()) {
    m_aufgaben[i] = m_aufgaben[i + 1];
    ++i;
  }
  leeren(m_aufgaben[i]);
  m_aktuelleAufgabe = 0;
  FrageZeigen(true, 0);
}

void TVokabelAbfrage::Zwischenstand() {
  // Before any quiz there is nothing to count: no "1 / 0".
  auswerten(m_beantwortet > 0 ? m_richtig * 100 / m_beantwortet : 0, -1, "",
            m_fortschritt.empty() ? "Noch keine Vokabeln abgefragt." : m_fortschritt, "");
}
