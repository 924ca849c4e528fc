// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/twortsprecher.h"

#include "media/tspeech.h"
#include "media/txwavebase.h"
#include "platform/files.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <memory>
#include <mutex>
#include <set>

TWortSprecher::TWortSprecher(std::filesystem::path ordner, TStimmeArt stimme, TFertig fertig)
    : TWortSprecher(std::move(ordner), [stimme] { return TSprecher::fuer(stimme); }, std::move(fertig)) {}

TWortSprecher::TWortSprecher(std::filesystem::path ordner, TFabrik fabrik, TFertig fertig)
    : m_ordner(std::move(ordner)), m_fabrik(std::move(fabrik)), m_fertig(std::move(fertig)) {
  m_thread = std::thread([this] { lauf(); });
}

TWortSprecher::~TWortSprecher() {
  {
    std::lock_guard lock(m_mutex);
    m_ende = true;
    m_warteschlange.clear();
  }
  m_wach.notify_all();
  if (m_thread.joinable()) m_thread.join();
}

void TWortSprecher::auftrag(const std::string& wort) {
  {
    std::lock_guard lock(m_mutex);
    if (m_ende || !m_offen.insert(wort).second) return;
    m_warteschlange.push_back(wort);
  }
  m_wach.notify_one();
}

std::filesystem::path TWortSprecher::dateiFuer(const std::filesystem::path& ordner, const std::string& wort) {
  std::string name;
  for (const char c : wort) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalnum(u) && u < 0x80) name += static_cast<char>(std::tolower(u));
    else if (c == '\'' || c == '-') name += c;
    else if (!name.empty() && name.back() != '_') name += '_';
    if (name.size() >= 60) break;
  }
  while (!name.empty() && name.back() == '_') name.pop_back();
  if (name.empty()) name.push_back('_');
  const std::string buchstabe = std::isalpha(static_cast<unsigned char>(name[0])) ? name.substr(0, 1) : "_";
  return ordner / buchstabe / (name + ".wav");
}

bool TWortSprecher::sprichInDatei(TSprecher& sprecher, const std::string& wort, const std::filesystem::path& datei) {
  TSprache s = sprecher.sprich(wort);
  if (s.samples.empty()) return false;
  randStilleKuerzen(s);
  return schreibeSprachDatei(datei, s);
}

void TWortSprecher::lauf() {
  std::unique_ptr<TSprecher> sprecher;
  for (;;) {
    std::string wort;
    {
      std::unique_lock lock(m_mutex);
      m_wach.wait(lock, [this] { return m_ende || !m_warteschlange.empty(); });
      if (m_ende) return;
      wort = m_warteschlange.front();
      m_warteschlange.pop_front();
    }
    const std::filesystem::path datei = dateiFuer(m_ordner, wort);
    std::error_code ec;
    bool ok = std::filesystem::file_size(datei, ec) > 0 && !ec;
    if (!ok) {
      if (!sprecher && m_fabrik) sprecher = m_fabrik();
      ok = sprecher && sprichInDatei(*sprecher, wort, datei);
    }
    {
      std::lock_guard lock(m_mutex);
      m_offen.erase(wort);
    }
    if (m_fertig) m_fertig(wort, ok ? zek::fromPath(datei) : std::string());
  }
}

namespace zek {
namespace {

// The run-time voice of the program. The worker hands finished words to `empfaenger` on the
// GUI thread; the post happens under `mutex`, and stopping deletes the receiver under it, so
// nothing is posted to a dead object and the words still queued for it go with it.
struct TLaufzeitStimme {
  std::mutex mutex;
  std::unique_ptr<QObject> empfaenger;
  std::unique_ptr<TWortSprecher> sprecher;
  std::set<std::string> abspielen;  // GUI thread: words to play once they are spoken
  QMetaObject::Connection beimBeenden;
};

TLaufzeitStimme& laufzeit() {
  static TLaufzeitStimme stimme;
  return stimme;
}

void wortFertig(const std::string& wort, const std::string& datei) {
  TLaufzeitStimme& st = laufzeit();
  const bool spielen = st.abspielen.erase(wort) > 0;
  TXWaveBase* store = speechStore();
  if (datei.empty() || !store || !st.sprecher) return;
  if (store->findRecording(wort).empty()) store->registerGenerated(wort, datei);
  if (spielen) playWave(datei);
}

void beimEndeStoppen() { stopRuntimeWordSpeaker(); }

}  // namespace

void startRuntimeWordSpeaker() {
  const TStimmeArt stimme = gewaehlteStimme();
  startRuntimeWordSpeaker(zek::learnerDataDir() / "Woerter" / stimmeInfo(stimme).kennung,
                          [stimme] { return TSprecher::fuer(stimme); });
}

void startRuntimeWordSpeaker(std::filesystem::path ordner, TWortSprecher::TFabrik fabrik) {
  TLaufzeitStimme& st = laufzeit();
  QCoreApplication* app = QCoreApplication::instance();
  if (st.sprecher || !app) return;
  {
    std::lock_guard lock(st.mutex);
    st.empfaenger = std::make_unique<QObject>();
  }
  // A quit stops it while everything still stands; an application destroyed without a quit
  // runs its post routines first.
  st.beimBeenden = QObject::connect(app, &QCoreApplication::aboutToQuit, app, &beimEndeStoppen);
  qRemovePostRoutine(&beimEndeStoppen);
  qAddPostRoutine(&beimEndeStoppen);
  st.sprecher = std::make_unique<TWortSprecher>(
      std::move(ordner), std::move(fabrik), [&st](const std::string& wort, const std::string& datei) {
        std::lock_guard lock(st.mutex);
        if (!st.empfaenger || !QCoreApplication::instance()) return;
        QMetaObject::invokeMethod(st.empfaenger.get(), [wort, datei] { wortFertig(wort, datei); },
                                  Qt::QueuedConnection);
      });
  setMissingWordSpeaker([](const std::string& wort, bool spielen) -> std::string {
    TLaufzeitStimme& s = laufzeit();
    if (!s.sprecher) return {};
    if (spielen) s.abspielen.insert(wort);
    s.sprecher->auftrag(wort);
    return zek::fromPath(TWortSprecher::dateiFuer(s.sprecher->ordner(), wort));
  });
}

void restartRuntimeWordSpeaker() {
  if (!laufzeit().sprecher) return;
  stopRuntimeWordSpeaker();
  startRuntimeWordSpeaker();
}

void stopRuntimeWordSpeaker() {
  setMissingWordSpeaker(nullptr);
  TLaufzeitStimme& st = laufzeit();
  QObject::disconnect(st.beimBeenden);
  {
    std::lock_guard lock(st.mutex);
    st.empfaenger.reset();
  }
  st.sprecher.reset();  // waits for the word in hand; its result finds no receiver
  st.abspielen.clear();
}

}  // namespace zek
