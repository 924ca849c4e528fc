// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/tpruefarbeiter.h"

#include "platform/files.h"

TPruefArbeiter::TPruefArbeiter(std::vector<std::string> saetze) : m_saetze(std::move(saetze)) {
  m_thread = std::thread([this] { lauf(); });
}

TPruefArbeiter::~TPruefArbeiter() {
  {
    std::lock_guard lock(m_mutex);
    m_ende = true;
    m_jobs.clear();
  }
  m_wach.notify_all();
  if (m_thread.joinable()) m_thread.join();
}

void TPruefArbeiter::einreihen(std::function<void()> job) {
  {
    std::lock_guard lock(m_mutex);
    if (m_ende) return;
    m_jobs.push_back(std::move(job));
  }
  m_wach.notify_one();
}

void TPruefArbeiter::lauf() {
  for (;;) {
    std::function<void()> job;
    {
      std::unique_lock lock(m_mutex);
      m_wach.wait(lock, [this] { return m_ende || !m_jobs.empty(); });
      if (m_ende) return;
      job = std::move(m_jobs.front());
      m_jobs.pop_front();
    }
    job();
  }
}

void TPruefArbeiter::kurven(std::string modellDatei, std::string aufnahmeDatei,
                            std::function<void(TStimmKurve, TStimmKurve)> fertig) {
  einreihen([modellDatei = std::move(modellDatei), aufnahmeDatei = std::move(aufnahmeDatei), fertig = std::move(fertig)] {
    TStimmKurve modell, lerner;
    if (!modellDatei.empty()) modell = stimmKurve(leseSignal(zek::toPath(modellDatei)));
    if (!aufnahmeDatei.empty()) lerner = stimmKurve(leseSignal(zek::toPath(aufnahmeDatei)));
    fertig(std::move(modell), std::move(lerner));
  });
}

void TPruefArbeiter::pruefe(std::string aufnahmeDatei, std::string satz, std::function<void(TPruefung)> fertig) {
  einreihen([this, aufnahmeDatei = std::move(aufnahmeDatei), satz = std::move(satz), fertig = std::move(fertig)] {
    if (!m_erkennung && m_ladeFehler.empty()) {
      m_erkennung = TSpracherkennung::laden(m_saetze, m_ladeFehler);
      if (!m_erkennung && m_ladeFehler.empty()) m_ladeFehler = "Die Spracherkennung konnte nicht geladen werden.";
    }
    if (!m_erkennung) {
      TPruefung p;
      p.ergebnis = TErgebnis::KeineErkennung;
      p.fehler = m_ladeFehler;
      fertig(p);
      return;
    }
    fertig(pruefeSignal(*m_erkennung, leseSignal(zek::toPath(aufnahmeDatei)), satz));
  });
}

TPruefArbeiter::TPruefung TPruefArbeiter::pruefeSignal(TSpracherkennung& erkennung, const TSignal& aufnahme,
                                                       const std::string& satz, double schwelle) {
  TPruefung p;
  if (!erkennung.pruefbar(satz)) return p;
  const TSpracherkennung::TBefund b = erkennung.pruefe(umtasten(aufnahme.samples, aufnahme.rate, 16000), satz);
  p.abstand = b.abstand;
  p.ergebnis = b.geprueft && b.abstand <= schwelle ? TErgebnis::Erkannt : TErgebnis::NichtErkannt;
  return p;
}
