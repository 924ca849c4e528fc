#include "voice/twortsprecher.h"

#include "media/tspeech.h"
#include "media/txwavebase.h"
#include "platform/files.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <memory>

TWortSprecher::TWortSprecher(std::filesystem::path ordner, TStimmeArt stimme, TFertig fertig)
    : m_ordner(std::move(ordner)), m_stimme(stimme), m_fertig(std::move(fertig)) {
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
  if (name.empty()) name = "_";
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
    // Made on the worker thread: the espeak voice runs a process from here.
    if (!sprecher) sprecher = TSprecher::fuer(m_stimme);
    const std::filesystem::path datei = dateiFuer(m_ordner, wort);
    const bool ok = sprecher && sprichInDatei(*sprecher, wort, datei);
    {
      std::lock_guard lock(m_mutex);
      m_offen.erase(wort);
    }
    if (m_fertig) m_fertig(wort, ok ? zek::fromPath(datei) : std::string());
  }
}

namespace zek {
namespace {
std::unique_ptr<TWortSprecher>& sprecherSlot() {
  static std::unique_ptr<TWortSprecher> slot;
  return slot;
}
}  // namespace

void startRuntimeWordSpeaker() {
  if (sprecherSlot() || !QCoreApplication::instance()) return;
  const std::filesystem::path ordner = zek::learnerDataDir() / "Woerter";
  QObject* app = QCoreApplication::instance();
  sprecherSlot() = std::make_unique<TWortSprecher>(
      ordner, gewaehlteStimme(), [app](const std::string& wort, const std::string& datei) {
        if (datei.empty()) return;
        QMetaObject::invokeMethod(app, [wort, datei] {
          // The store may have gone while the word was spoken.
          TXWaveBase* store = speechStore();
          if (!store || sprecherSlot() == nullptr) return;
          if (store->findRecording(wort).empty()) store->registerRecording(wort, datei);
          playWave(datei);
        }, Qt::QueuedConnection);
      });
  setMissingWordSpeaker([](const std::string& wort) {
    if (sprecherSlot()) sprecherSlot()->auftrag(wort);
  });
}

void restartRuntimeWordSpeaker() {
  if (!sprecherSlot()) return;
  stopRuntimeWordSpeaker();
  startRuntimeWordSpeaker();
}

void stopRuntimeWordSpeaker() {
  setMissingWordSpeaker(nullptr);
  sprecherSlot().reset();
}

}  // namespace zek
