// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tappobjects.h"

#include "dict/database.h"
#include "dict/dictfollower.h"
#include "dict/startup.h"
#include "dict/txwb.h"
#include "memory/lernmarken.h"
#include "memory/tlerndatenbank.h"
#include "memory/tlerneinstellungen.h"
#include "page/txpage.h"
#include "platform/appstate.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "media/tspeech.h"
#include "media/twaverec.h"
#include "media/txwavebase.h"
#include "voice/twortsprecher.h"
#include "verbs/tverben.h"
#include "vocab/tbibliothek.h"
#include "vocab/tres.h"
#include "vocab/tseitenanzeige.h"
#include "vocab/tvoceinstellungen.h"
#include "vocab/tvokabelabfrage.h"
#include "vocab/tzuletztliste.h"

#include <cstdlib>

TAppObjects::TAppObjects() = default;
TAppObjects::~TAppObjects() = default;

TAppObjects& appObjects() {
  static TAppObjects objects;
  return objects;
}

void TAppObjects::createTrainers() {
  const bool neu = !bibliothek;
  if (neu) {
    bibliothek = std::make_unique<TBibliothek>();
    // Repeatable runs (driver scripts): one fixed seed for every draw of the library and its quiz.
    if (const char* seed = std::getenv("ZEK_SEED"); seed && *seed)
      bibliothek->setZufall(static_cast<std::uint32_t>(std::strtoul(seed, nullptr, 10)));
  }
  if (!einstellungen) einstellungen = std::make_unique<TVocEinstellungen>();
  bibliothek->setEinstellungen(einstellungen.get());
  // The learner goes on with the library of the last run.
  if (neu) geladeneOeffnen(*bibliothek, TSettingsStore::global());
  if (!res) res = std::make_unique<TRes>();
  if (!abfrageAnzeige) abfrageAnzeige = std::make_unique<TSeitenAnzeige>(*bibliothek);
  bibliothek->Abfrage().setPool(res.get());
  bibliothek->Abfrage().setAnzeige(abfrageAnzeige.get());
  if (!verben) verben = std::make_unique<TVerben>();
}

void TAppObjects::freeTrainers() {
  verben.reset();
  if (bibliothek) geladeneMerken(*bibliothek, TSettingsStore::global());
  bibliothek.reset();
  abfrageAnzeige.reset();
  einstellungen.reset();
  res.reset();
}

void TAppObjects::loadWaveBase(const std::string& file) {
  // A word spoken for the old store must not land in the new one.
  zek::stopRuntimeWordSpeaker();
  zek::setSpeechStore(nullptr);
  waveBase = std::make_unique<TXWaveBase>();
  waveBase->loadStore(file);
  zek::setSpeechStore(waveBase.get());
  zek::startRuntimeWordSpeaker();
}

void TAppObjects::freeWaveBase() {
  zek::stopRuntimeWordSpeaker();
  zek::setSpeechStore(nullptr);
  waveBase.reset();
  zek::freeWaveRec();
}

void TAppObjects::startDictionaryLoad(const std::string& dictFile1, const std::string& dictFile2) {
  if (dictionaryLoad) dictionary();  // an earlier start-up's files join first
  if (!database) database = std::make_unique<TXDatabase>();
  dictionaryLoad = std::make_unique<zek::TDictionaryLoad>(dictFile1, dictFile2);
}

TXDatabase& TAppObjects::dictionary() {
  if (!database) {
    database = std::make_unique<TXDatabase>();
    zek::loadDictionaries(*database, Dirs().DictFile1, Dirs().DictFile2);
  }
  if (dictionaryLoad) {
    std::unique_ptr<zek::TDictionaryLoad> load = std::move(dictionaryLoad);
    load->finish(*database);
  }
  return *database;
}

void TAppObjects::createDictionaryWindow() {
  if (dictionaryWindow) return;
  dictionaryWindow = new TXWb(dictionary());
  zek::setDictionaryWindowHider([this] {
    if (dictionaryWindow) dictionaryWindow->hide();
  });
}

void TAppObjects::freeDictionaryWindow() {
  if (TXWb* window = dictionaryWindow) {
    dictionaryWindow = nullptr;
    zek::setDictionaryWindowHider(nullptr);
    zek::setDictionaryFollower(nullptr);
    window->hide();
    window->Destroy(TSettingsStore::global());
    delete window;
  }
  // The database goes with the window, never before it: the window works on it. A load
  // still running is waited for and dropped.
  database.reset();
  dictionaryLoad.reset();
}

void TAppObjects::lernspeicherAnwenden() {
  // Pages show the memory's figures as they are when the page is loaded.
  TXPage::setTextFilter([](std::string& text) { lernMarkenErsetzen(text, lernspeicher()); });
  const TLernEinstellungen e = TLernEinstellungen::laden(TSettingsStore::global());
  if (!e.aktiv) {
    setLernspeicher(nullptr);
    lernDatenbank.reset();
    return;
  }
  if (!lernDatenbank) {
    lernDatenbank = std::make_unique<TLernDatenbank>(TLernDatenbank::standardDatei());
    lernDatenbank->setMeldung([](const std::string& m) { showMessage(m, mb::Ok | mb::IconExclamation); });
  }
  lernDatenbank->setBehalten(e.behalten / 100.0);
  setLernspeicher(lernDatenbank.get());
}
