// SPDX-License-Identifier: GPL-3.0-or-later
#include "verbs/tverben.h"

#include "media/tspeech.h"
#include "memory/tlernspeicher.h"
#include "page/thtmlstream.h"
#include "platform/appstate.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "verbs/tverbseite.h"
#include "verbs/verbpresets.h"
#include "widgets/answervariants.h"

#include <algorithm>
#include <chrono>

namespace {

const char* const kFrameInclude = "<include href=\"verbabfrage.htx\">";
const std::string kMsgRundeBeendet = "Runde beendet!\r";
const char* const kMsgNochEine = "\rNoch eine Runde???";
const char* const kMsgIndexUngueltig = " = iV ist ung\xFCltig";

struct TFormPlatz {
  const char* box;
  const char* feld;
  const char* reaktion;
  const char* gesucht;
};

constexpr TFormPlatz kPlaetze[4] = {
    {"<box coords=100,150,200 align=c><+h>", "<edit coords=100,150,200,32 lsg=\"", "verb1", "Gesucht: Infinitiv"},
    {"<box coords=150,250,200 align=c><+h>", "<edit coords=150,250,200,32 lsg=\"", "verb2", "Gesucht: Past Tense"},
    {"<box coords=200,350,200 align=c><+h>", "<edit coords=200,350,200,32 lsg=\"", "verb3",
     "Gesucht: Past Participle"},
    {"<box coords=500,150,200 align=c><+h>", "<edit coords=500,150,200,32 lsg=\"", "verb4", "Gesucht: Bedeutung(en)"},
};

constexpr const char* kFormNamen[4] = {"Infinitiv", "Past Tense", "Past Participle", "Bedeutung"};

std::uint32_t clockSeed() {
  return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

}  // namespace

std::string verbFormSchluessel(const TVerb& verb, int form) {
  return verb.infinitiv + " (" + kFormNamen[std::clamp(form, 0, 3)] + ")";
}

TVerben::TVerben() : TVerben(TSettingsStore::global()) {}

TVerben::TVerben(TSettingsStore& store) : m_store(store), m_zufall(clockSeed()) {
  Sprechbar = [](const std::string& wort) { return speakableWord(wort); };
  m_liste.ladenEingebaut();
  ladeAuswahl();
}

TVerben::TVerben(TVerbListe liste, TSettingsStore& store)
    : m_store(store), m_liste(std::move(liste)), m_zufall(clockSeed()) {
  Sprechbar = [](const std::string& wort) { return speakableWord(wort); };
  ladeAuswahl();
}

TVerben::~TVerben() = default;

void TVerben::setSeite(std::unique_ptr<TVerbSeite> seite) { m_seite = std::move(seite); }

bool TVerben::verbAusgewaehlt(std::size_t index) const { return index < m_verbMaske.size() && m_verbMaske[index] == '+'; }

bool TVerben::formAusgewaehlt(int position) const {
  return position >= 0 && static_cast<std::size_t>(position) < m_formMaske.size() && m_formMaske[position] == '+';
}

void TVerben::setVerbAuswahl(std::string_view maske) {
  if (maske == m_verbMaske) return;
  m_verbMaske = normalisierteVerbMaske(maske, m_liste.size());
}

void TVerben::setFormAuswahl(std::string_view maske) {
  if (maske == m_formMaske) return;
  m_formMaske = normalisierteFormMaske(maske);
}

void TVerben::ladeAuswahl() {
  const std::string verben = m_store.readString(kSchluessel, "Verben").value_or("");
  m_verbMaske = verben.empty() ? std::string(m_liste.size(), '+') : verben.substr(0, m_liste.size());
  const std::string zeiten = m_store.readString(kSchluessel, "Zeiten").value_or("");
  m_formMaske = zeiten.empty() ? std::string("++++") : zeiten.substr(0, 4);
  m_grosszuegig = readTolerantChecking(m_store, TTolerantScope::Verben);
}

bool TVerben::speichereAuswahl() {
  const bool verben = m_store.writeString(kSchluessel, "Verben", m_verbMaske);
  const bool zeiten = m_store.writeString(kSchluessel, "Zeiten", m_formMaske);
  return writeTolerantChecking(m_store, TTolerantScope::Verben, m_grosszuegig) && verben && zeiten;
}

void TVerben::voreinstellung(int nummer) {
  if (nummer == 0) {
    ladeAuswahl();
    return;
  }
  if (const auto auswahl = verbPreset(nummer, m_liste)) {
    setVerbAuswahl(auswahl->verben);
    setFormAuswahl(auswahl->formen);
  }
}

bool TVerben::vorbereiten() {
  m_kandidatVerben.clear();
  m_kandidatFormen.clear();
  for (std::size_t i = 0; i < m_liste.size(); ++i) {
    if (verbAusgewaehlt(i) && !m_liste[i].infinitiv.empty()) m_kandidatVerben.push_back(static_cast<int>(i));
  }
  if (m_kandidatVerben.empty()) return false;
  m_frageFormen = "----";
  for (int f = 0; f < 4; ++f) {
    if (formAusgewaehlt(f)) {
      m_kandidatFormen.push_back(f);
      m_frageFormen[f] = '+';
    }
  }
  return !m_kandidatFormen.empty();
}

const std::string& TVerben::formText(const TVerb& verb, int position) {
  switch (position) {
    case Infinitiv: return verb.infinitiv;
    case Past: return verb.past;
    case Participle: return verb.participle;
    default: return verb.bedeutung;
  }
}

void TVerben::merken(int form, std::string_view text) const {
  if (m_aktuell < 0 || static_cast<std::size_t>(m_aktuell) >= m_liste.size()) return;
  const TVerb& verb = m_liste[static_cast<std::size_t>(m_aktuell)];
  TLernAntwort a;
  a.art = TLernArt::Verb;
  a.sammlung = "Verben";
  a.frage = verbFormSchluessel(verb, form);
  a.daten = verb.infinitiv + "\t" + std::to_string(form);
  a.richtig = text.back() == '+';
  // The field's outcome: "#" + the try that succeeded + "+", or "-".
  if (const std::size_t raute = text.find('#'); raute != std::string_view::npos && raute + 1 < text.size() &&
                                                text[raute + 1] >= '1' && text[raute + 1] <= '9')
    a.versuche = text[raute + 1] - '0';
  lernspeicher().antwort(a);
}

bool TVerben::faelligeRunde() {
  m_faellig.clear();
  for (const TLernEintrag& e : lernspeicher().faellige(TLernArt::Verb, 400)) {
    const std::size_t tab = e.daten.find('\t');
    if (tab == std::string::npos || tab + 1 >= e.daten.size()) continue;
    const int form = e.daten[tab + 1] - '0';
    const std::string infinitiv = e.daten.substr(0, tab);
    int index = -1;
    for (std::size_t i = 0; i < m_liste.size() && index < 0; ++i)
      if (m_liste[i].infinitiv == infinitiv) index = static_cast<int>(i);
    if (index < 0 || form < 0 || form > 3) continue;
    auto it = std::find_if(m_faellig.begin(), m_faellig.end(), [index](const auto& f) { return f.first == index; });
    if (it == m_faellig.end()) {
      m_faellig.emplace_back(index, "----");
      it = m_faellig.end() - 1;
    }
    it->second[std::size_t(form)] = '+';
  }
  if (m_faellig.empty()) {
    showMessage("Heute ist keine Verbform f\xE4llig.", mb::Ok | mb::IconInformation);
    return false;
  }
  m_faelligPos = 0;
  m_fragen = 0;
  m_rundenLaenge = std::min<int>(kRundenLaenge, static_cast<int>(m_faellig.size()));
  m_richtige = 0;
  m_antworten = 0;
  lernspeicher().rundeBeginnen(TLernArt::Verb);
  waehleFrage();
  zeigeFrage();
  return true;
}

void TVerben::waehleFrage() {
  if (!m_faellig.empty()) {
    const auto& [index, formen] = m_faellig[m_faelligPos++ % m_faellig.size()];
    m_aktuell = index;
    std::string maske = formen;
    if (maske == "++++") maske[std::size_t(std::uniform_int_distribution<int>(0, 3)(m_zufall))] = '-';
    const TVerb& verb = m_liste[static_cast<std::size_t>(index)];
    for (int f = 0; f < 4; ++f) m_slots[f] = maske[std::size_t(f)] == '+' ? std::string(kOffen) : formText(verb, f);
    return;
  }
  if (m_kandidatVerben.empty()) return;
  int index = m_kandidatVerben.front();
  if (m_kandidatVerben.size() > 1) {
    std::uniform_int_distribution<std::size_t> d(0, m_kandidatVerben.size() - 1);
    index = m_kandidatVerben[d(m_zufall)];
  }
  if (index < 0 || static_cast<std::size_t>(index) >= m_liste.size()) {
    showMessage(std::to_string(index) + kMsgIndexUngueltig);
    return;
  }
  m_aktuell = index;
  m_ergebnis = {};
  std::string maske = m_frageFormen;
  if (maske == "++++") maske[std::uniform_int_distribution<int>(0, 3)(m_zufall)] = '-';
  const TVerb& verb = m_liste[static_cast<std::size_t>(index)];
  for (int f = 0; f < 4; ++f) m_slots[f] = maske[f] == '+' ? std::string(kOffen) : formText(verb, f);
}

int TVerben::seitenBreite() const { return m_seite && m_seite->vorhanden() ? m_seite->breite() : 800; }

std::string TVerben::kopf(bool mitProzent) const {
  std::string s = kFrameInclude;
  s += "<box coords=0,40,400 align=m><+d>" + std::to_string(m_fragen + 1) + " / " + std::to_string(m_rundenLaenge);
  s += "<box coords=400,40,400 align=m><+d>";
  if (mitProzent && m_antworten > 0) s += std::to_string(m_richtige * 100 / m_antworten) + "%";
  return s;
}

std::string TVerben::loesungsText(std::string_view form) {
  std::vector<std::string> loesungen = answercheck::acceptedAnswers(form);
  // The parts as written stay accepted too ("born(e)" typed as shown).
  for (std::string teil : answercheck::splitSolutionText(form)) {
    teil.erase(0, teil.find_first_not_of(' '));
    while (!teil.empty() && teil.back() == ' ') teil.pop_back();
    // A remark ("hanged [hinrichten]") is never typed.
    if (teil.find('[') != std::string::npos) continue;
    if (std::find(loesungen.begin(), loesungen.end(), teil) == loesungen.end()) loesungen.push_back(std::move(teil));
  }
  std::string s;
  for (const std::string& l : loesungen) {
    if (!s.empty()) s += "; ";
    s += l;
  }
  return s;
}

std::string TVerben::frageSeite() const {
  if (m_aktuell < 0) return {};
  const TVerb& verb = m_liste[static_cast<std::size_t>(m_aktuell)];
  std::string s = kopf(true);
  std::string gesucht;
  for (int f = 0; f < 4; ++f) {
    const TFormPlatz& platz = kPlaetze[f];
    if (m_slots[f] != kOffen) {
      s += platz.box;
      s += f == Infinitiv ? (Sprechbar ? Sprechbar(verb.infinitiv) : verb.infinitiv) : formText(verb, f);
    } else if (!gesucht.empty()) {
      s += platz.box;
      s += kOffen;
    } else {
      s += platz.feld;
      s += f == Infinitiv ? verb.infinitiv : loesungsText(formText(verb, f));
      s += "\" help=\"*\" reaction=\"";
      s += platz.reaktion;
      s += m_grosszuegig ? "\" tolerant>" : "\">";
      gesucht = platz.gesucht;
    }
  }
  s += "<box coords=100,80," + std::to_string(seitenBreite() - 200) + " align=m><+h>" + gesucht;
  return s;
}

std::string TVerben::antwortSeite() const {
  if (m_aktuell < 0) return {};
  const TVerb& verb = m_liste[static_cast<std::size_t>(m_aktuell)];
  std::string s = kopf(true);
  // The forms the learner typed: right ones in green, wrong ones in red and named below.
  const auto mark = [this](int f) -> std::string {
    if (m_ergebnis[std::size_t(f)] > 0) return "<font color=#7CE07C>";
    if (m_ergebnis[std::size_t(f)] < 0) return "<font color=#FF7A7A>";
    return {};
  };
  s += kPlaetze[Infinitiv].box + mark(Infinitiv) + (Sprechbar ? Sprechbar(verb.infinitiv) : verb.infinitiv);
  s += kPlaetze[Past].box + mark(Past) + verb.past;
  s += kPlaetze[Participle].box + mark(Participle) + verb.participle;
  s += kPlaetze[Bedeutung].box + mark(Bedeutung) + verb.bedeutung;
  static constexpr const char* kNamen[4] = {"Infinitiv", "Past Tense", "Past Participle", "Bedeutung"};
  std::string falsch;
  for (int f = 0; f < 4; ++f)
    if (m_ergebnis[std::size_t(f)] < 0) falsch += (falsch.empty() ? "" : ", ") + std::string(kNamen[f]);
  s += "<box coords=100,420," + std::to_string(seitenBreite() - 200) + " align=m><+K>";
  s += falsch.empty() ? "<font color=#7CE07C>Alles richtig!" : "<font color=#FF7A7A>Nicht richtig: " + falsch;
  s += "<+h><box coords=100,460," + std::to_string(seitenBreite() - 200) + " align=m>";
  s += "<a href=\"\xA7verbweiter\" flash=flashcol return>Weiter</a>";
  return s;
}

std::string TVerben::rundenErgebnis() {
  std::string s = std::to_string(m_richtige) + " von " + std::to_string(m_antworten) + " Antworten richtig.";
  // With the memory on, what went wrong and the trend beside it.
  if (const std::optional<TRundenBilanz> b = lernspeicher().rundeAbschliessen(TLernArt::Verb); b && !b->leer())
    s += "\r\r" + rundenBilanzText(*b, "\r");
  return s;
}

void TVerben::zeige(const std::string& markup) {
  if (!m_seite || !m_seite->vorhanden() || markup.empty()) return;
  THTMLStream stream;
  stream << markup;
  m_seite->zeigen(stream);
}

void TVerben::startRunde() {
  if (m_kandidatVerben.empty() || m_kandidatFormen.empty()) return;
  m_faellig.clear();
  m_fragen = 0;
  m_rundenLaenge = kRundenLaenge;
  m_richtige = 0;
  m_antworten = 0;
  lernspeicher().rundeBeginnen(TLernArt::Verb);
  waehleFrage();
  zeigeFrage();
}

void TVerben::zeigeFrage() {
  const auto offen = std::find(m_slots.begin(), m_slots.end(), kOffen);
  m_feld = offen == m_slots.end() ? -1 : static_cast<int>(offen - m_slots.begin());
  zeige(frageSeite());
}

void TVerben::weiter() {
  // Before the first round there is nothing to go on with.
  if (!RundeLaeuft() || m_aktuell < 0) return;
  if (m_fragen >= m_rundenLaenge) {
    if (!m_faellig.empty()) {
      // A round of due forms ends the review; "yes" goes on with what is still due.
      m_faellig.clear();
      if (showMessage(kMsgRundeBeendet + rundenErgebnis() + kMsgNochEine, mb::YesNo | mb::IconInformation) == mb::IdYes && faelligeRunde()) return;
      m_feld = -1;
      m_rundenLaenge = 0;
      if (m_seite && m_seite->vorhanden()) m_seite->laden("verben.htx");
      return;
    }
    if (showMessage(kMsgRundeBeendet + rundenErgebnis() + kMsgNochEine, mb::YesNo | mb::IconInformation) != mb::IdYes) {
      m_feld = -1;
      if (m_seite && m_seite->vorhanden()) m_seite->laden("verben.htx");
      return;
    }
    m_fragen = 0;
    m_richtige = 0;
    m_antworten = 0;
  }
  zeigeFrage();
}

void TVerben::antwort(std::string_view text) {
  if (!m_seite || !m_seite->vorhanden()) return;
  // Only the field on show answers, once: stray or repeated commands would count twice.
  if (!RundeLaeuft() || text.empty() || text[0] < '1' || text[0] > '4') return;
  const int form = text[0] - '1';
  if (form != m_feld || m_slots[form] != kOffen) return;
  ++m_antworten;
  if (text.back() == '+') ++m_richtige;
  m_ergebnis[std::size_t(form)] = text.back() == '+' ? 1 : -1;
  merken(form, text);
  m_slots[form] = kErledigt;
  m_feld = -1;
  if (std::find(m_slots.begin(), m_slots.end(), kOffen) != m_slots.end()) {
    zeigeFrage();
    return;
  }
  const std::string seite = antwortSeite();
  ++m_fragen;
  waehleFrage();
  zeige(seite);
}
