// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/twortsprecher.h"

#include "media/mediacommand.h"
#include "media/tspeech.h"
#include "media/txwavebase.h"
#include "platform/files.h"
#include "tests/common/testutil.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A voice that takes its time and says a short tone; it counts what it was asked.
struct TTonZustand {
  std::atomic<int> begonnen{0}, gesprochen{0};
  std::chrono::milliseconds dauer{0};
};

class TTonSprecher final : public TSprecher {
 public:
  explicit TTonSprecher(TTonZustand& zustand) : m_zustand(zustand) {}
  TSprache sprich(std::string_view) override {
    ++m_zustand.begonnen;
    std::this_thread::sleep_for(m_zustand.dauer);
    TSprache s;
    s.rate = 16000;
    s.samples.resize(1600);
    for (std::size_t i = 0; i < s.samples.size(); ++i)
      s.samples[i] = static_cast<std::int16_t>(8000 * std::sin(2 * 3.14159265 * 440 * static_cast<double>(i) / 16000));
    ++m_zustand.gesprochen;
    return s;
  }

 private:
  TTonZustand& m_zustand;
};

TWortSprecher::TFabrik tonStimme(TTonZustand& zustand) {
  return [&zustand] { return std::make_unique<TTonSprecher>(zustand); };
}

bool warteBis(const std::function<bool()>& fertig, std::chrono::milliseconds hoechstens) {
  QElapsedTimer uhr;
  uhr.start();
  while (!fertig()) {
    if (uhr.elapsed() > hoechstens.count()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

class LaufzeitStimmeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zek::setSpeechStore(&m_store);
    zek::setMediaCommandObserver([this](std::string_view command, bool) { m_befehle.emplace_back(command); });
  }
  void TearDown() override {
    zek::stopRuntimeWordSpeaker();
    zek::setMediaCommandObserver(nullptr);
    zek::setSpeechStore(nullptr);
  }
  bool gespielt(const std::string& datei) const {
    const std::string open = "open \"" + datei + "\" type waveaudio alias welle";
    return std::find(m_befehle.begin(), m_befehle.end(), open) != m_befehle.end();
  }

  zek::test::TempDir m_dir{"zek-laufzeitstimme"};
  TXWaveBase m_store;
  std::vector<std::string> m_befehle;
};

TEST_F(LaufzeitStimmeTest, AMissingWordIsSpokenEnteredPlayedAndThenReused) {
  TTonZustand ton;
  zek::startRuntimeWordSpeaker(m_dir.path(), tonStimme(ton));
  ASSERT_TRUE(zek::runtimeVoiceAvailable());
  speakWord("Umbrella", TWortSprache::Englisch);
  ASSERT_TRUE(warteBis([&] { return !m_store.findRecording("Umbrella").empty(); }, 10s));
  const std::string datei = zek::fromPath(m_dir.path() / "u/umbrella.wav");
  EXPECT_EQ(m_store.findRecording("umbrella"), datei);
  // Found again on the next run: nothing for the learner to save at the end.
  EXPECT_FALSE(m_store.modified());
  EXPECT_TRUE(gespielt(datei));

  // The second time it is the recording that plays.
  m_befehle.clear();
  speakWord("umbrella", TWortSprache::Englisch);
  EXPECT_TRUE(gespielt(datei));
  // A file spoken in an earlier run is taken without speaking it again; a presentation's
  // word is entered but not played.
  const std::string frueher = zek::fromPath(m_dir.path() / "k/kettle.wav");
  TSprache alt;
  alt.samples.assign(800, 1000);
  ASSERT_TRUE(schreibeSprachDatei(zek::toPath(frueher), alt));
  m_befehle.clear();
  EXPECT_EQ(spokenFileFor("kettle", TWortSprache::Englisch), frueher);
  ASSERT_TRUE(warteBis([&] { return !m_store.findRecording("kettle").empty(); }, 10s));
  EXPECT_EQ(m_store.findRecording("kettle"), frueher);
  EXPECT_FALSE(gespielt(frueher));
  EXPECT_EQ(ton.gesprochen, 1);
}

// A word the worker finished just before the speaker stopped must not reach the store: it may
// be another store by then, or none.
TEST_F(LaufzeitStimmeTest, AWordFinishedBeforeTheStopIsDropped) {
  TTonZustand ton;
  zek::startRuntimeWordSpeaker(m_dir.path(), tonStimme(ton));
  speakWord("teapot", TWortSprache::Englisch);
  ASSERT_TRUE(warteBis([&] { return fs::exists(m_dir.path() / "t/teapot.wav"); }, 10s));
  std::this_thread::sleep_for(100ms);  // the worker hands the word over meanwhile
  zek::stopRuntimeWordSpeaker();
  EXPECT_FALSE(zek::runtimeVoiceAvailable());
  QCoreApplication::processEvents();
  EXPECT_EQ(m_store.count(), 0);
  EXPECT_TRUE(m_befehle.empty());
}

// The application goes while the voice is still speaking a word: the speaker is stopped with
// it and waits for that word; nothing is posted to the application afterwards.
TEST(LaufzeitStimmeDeathTest, TheApplicationGoesWhileAWordIsSpoken) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        static TTonZustand ton;
        ton.dauer = 400ms;
        static TXWaveBase store;
        zek::setSpeechStore(&store);
        zek::test::TempDir dir("zek-laufzeitstimme-ende");
        zek::startRuntimeWordSpeaker(dir.path(), tonStimme(ton));
        speakWord("umbrella", TWortSprache::Englisch);
        while (ton.begonnen == 0) std::this_thread::sleep_for(1ms);
        delete QCoreApplication::instance();
        const bool gewartet = ton.gesprochen == 1;
        std::this_thread::sleep_for(300ms);  // a post to the gone application would come now
        std::_Exit(gewartet ? 0 : 3);
      },
      ::testing::ExitedWithCode(0), "");
}

// The espeak voice through the whole run-time path: the missing word lands in its own folder.
TEST_F(LaufzeitStimmeTest, EspeakSpeaksAMissingWordIntoItsOwnFolder) {
  if (QStandardPaths::findExecutable(QStringLiteral("espeak-ng")).isEmpty()) GTEST_SKIP() << "espeak-ng is absent";
  const TStimmeArt vorher = gewaehlteStimme();
  setGewaehlteStimme(TStimmeArt::Espeak);
  zek::startRuntimeWordSpeaker();
  speakWord("lighthouse", TWortSprache::Englisch);
  const bool da = warteBis([&] { return !m_store.findRecording("lighthouse").empty(); }, 20s);
  setGewaehlteStimme(vorher);
  ASSERT_TRUE(da);
  const fs::path datei = zek::learnerDataDir() / "Woerter" / "espeak-en-gb" / "l" / "lighthouse.wav";
  EXPECT_EQ(m_store.findRecording("lighthouse"), zek::fromPath(datei));
  const TSignal gelesen = leseSignal(datei);
  EXPECT_GT(gelesen.samples.size(), static_cast<std::size_t>(gelesen.rate) / 5);  // more than a fifth of a second
  EXPECT_TRUE(gespielt(zek::fromPath(datei)));
}

}  // namespace
