// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/taussprache.h"

#include "lab/tstimmbild.h"
#include "media/tspeech.h"
#include "media/twaverec.h"
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/settingsstore.h"
#include "widgets/txcolorbutton.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPointer>

#include <filesystem>
#include <unistd.h>

namespace {

const char* const kSubKey = "\\Sprachlabor";
const char* const kSchalter = "Aussprache pr\xFC" "fen";
const QColor kFarbe(204, 153, 255);

}  // namespace

TAussprache::TAussprache(QWidget* labor, QMenu* menu, std::vector<std::string> saetze)
    : QObject(labor), m_arbeiter(std::make_unique<TPruefArbeiter>(std::move(saetze))) {
  setObjectName("Aussprache");
  m_aufnahmeDatei = zek::fromPath(std::filesystem::path(QDir::tempPath().toStdString()) /
                                  ("zek-aufnahme-" + std::to_string(::getpid()) + ".wav"));

  m_bild = new TStimmBild(labor);
  m_bild->setGeometry(0, 0, 400, 267);
  m_bild->hide();

  m_knopf = new tXColorButton(labor);
  m_knopf->setGeometry(520, 160, 160, 28);
  m_knopf->setCaption(kSchalter);
  m_knopf->setObjectName(zek::toQString(kSchalter));
  m_knopf->setColor(kFarbe);
  m_knopf->setFlashColor(Qt::white);
  m_knopf->setMouseOver(true);
  m_knopf->OnClick = [this](tXColorButton*) { pruefen(); };

  m_meldung = new QLabel(labor);
  m_meldung->setObjectName("Aussprache-Meldung");
  m_meldung->setTextFormat(Qt::PlainText);
  // Below the place of "Meine Antwort war richtig", which it must never cover.
  m_meldung->setGeometry(60, 502, 680, 32);
  m_meldung->setAttribute(Qt::WA_TransparentForMouseEvents);
  m_meldung->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  m_meldung->setWordWrap(true);

  m_menuepunkt = menu->addAction(zek::toQString(kSchalter));
  m_menuepunkt->setCheckable(true);
  m_menuepunkt->setChecked(TSettingsStore::global().readBool(settingsKey(kSubKey), kSchalter).value_or(false));
  connect(m_menuepunkt, &QAction::triggered, this, [this](bool an) {
    TSettingsStore::global().writeBool(settingsKey(kSubKey), kSchalter, an);
    if (!an) m_meldung->clear();
    knopfZustand();
  });
  knopfZustand();
}

TAussprache::~TAussprache() { beenden(); }

void TAussprache::beenden() {
  if (!m_arbeiter) return;
  m_arbeiter.reset();
  std::error_code ec;
  std::filesystem::remove(zek::toPath(m_aufnahmeDatei), ec);
}

void TAussprache::knopfZustand() {
  const bool an = m_menuepunkt->isChecked();
  m_knopf->setVisible(an);
  const bool lang = satzWoerter(m_satz).size() >= 3;
  m_knopf->setEnabled(an && lang && m_aufnahmeDa && !m_prueft && m_arbeiter);
  m_knopf->setToolTip(zek::toQString(lang ? "Aufnahme mit der Spracherkennung pr\xFC" "fen"
                                          : "S\xE4tze aus einem oder zwei W\xF6rtern werden nicht gepr\xFC" "ft"));
}

void TAussprache::zeige(const std::string& text) { m_meldung->setText(zek::toQString(text)); }

void TAussprache::neuerSatz(const std::string& englisch, const std::string& datei) {
  if (englisch == m_satz && m_satz.size() > 0) return;  // shown again, same sentence
  m_satz = englisch;
  m_modellDatei = datei.empty() ? std::string() : resolveMediaPath("XE:\\Labor\\" + datei).file;
  ++m_take;
  m_aufnahmeDa = false;
  m_prueft = false;
  m_bild->hide();
  m_meldung->clear();
  knopfZustand();
}

void TAussprache::aufnahmeBeginnt() {
  ++m_take;
  m_aufnahmeDa = false;
  m_prueft = false;
  m_meldung->clear();
  knopfZustand();
}

void TAussprache::aufnahmeFertig() {
  tWaveRec* rec = zek::waveRec();
  if (!rec || !m_arbeiter) return;
  if (rec->saveToFile(m_aufnahmeDatei).rfind("Error", 0) == 0) return;
  m_aufnahmeDa = true;
  knopfZustand();
  const int take = m_take;
  ++m_offen;
  QPointer<TAussprache> selbst(this);
  m_arbeiter->kurven(m_modellDatei, m_aufnahmeDatei, [selbst, take](TStimmKurve modell, TStimmKurve lerner) {
    QMetaObject::invokeMethod(selbst, [selbst, take, modell = std::move(modell), lerner = std::move(lerner)]() mutable {
      if (!selbst) return;
      --selbst->m_offen;
      if (take != selbst->m_take) return;
      selbst->m_bild->setKurven(std::move(modell), std::move(lerner));
      selbst->m_bild->show();
      selbst->m_bild->raise();
    }, Qt::QueuedConnection);
  });
}

void TAussprache::pruefen() {
  if (!m_arbeiter || !m_aufnahmeDa || m_prueft || satzWoerter(m_satz).size() < 3) return;
  m_prueft = true;
  knopfZustand();
  zeige("Die Aufnahme wird gepr\xFC" "ft \x85");
  const int take = m_take;
  ++m_offen;
  QPointer<TAussprache> selbst(this);
  m_arbeiter->pruefe(m_aufnahmeDatei, m_satz, [selbst, take](TPruefArbeiter::TPruefung p) {
    QMetaObject::invokeMethod(selbst, [selbst, take, p] {
      if (!selbst) return;
      --selbst->m_offen;
      if (take != selbst->m_take) return;
      selbst->m_prueft = false;
      selbst->knopfZustand();
      switch (p.ergebnis) {
        case TPruefArbeiter::TErgebnis::Erkannt: selbst->zeige(kMeldungErkannt); break;
        case TPruefArbeiter::TErgebnis::NichtErkannt: selbst->zeige(kMeldungNichtErkannt); break;
        case TPruefArbeiter::TErgebnis::NichtPruefbar:
          selbst->zeige("Dieser Satz kann nicht gepr\xFC" "ft werden.");
          break;
        case TPruefArbeiter::TErgebnis::KeineErkennung: selbst->zeige(p.fehler); break;
      }
    }, Qt::QueuedConnection);
  });
}
