// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/twaverec.h"

#include "media/mediacommand.h"
#include "platform/appstate.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "tests/common/testutil.h"
#include "tests/media/mediatestutil.h"

#include <QAudioDevice>
#include <QMediaDevices>

#include <gtest/gtest.h>
#include <sndfile.h>

#include <QCoreApplication>

#include <cstdlib>

namespace {

class WaveRecTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zek::setMediaService(zek::test::makeNullService(m_clock));
    zek::setMediaCommandObserver([this](std::string_view command, bool) { m_log.emplace_back(command); });
    TSettingsStore::global().deleteKey(key());
  }
  void TearDown() override {
    zek::freeWaveRec();
    zek::setMediaCommandObserver(nullptr);
    zek::setMediaService(nullptr);
    TSettingsStore::global().deleteKey(key());
  }
  static std::string key() { return settingsKey("\\Aufnahme"); }
  std::vector<std::string> take() { return std::exchange(m_log, {}); }

  zek::test::TManualClock m_clock;
  zek::ScriptedDialogs m_dialogs;
  std::vector<std::string> m_log;
};

TEST_F(WaveRecTest, FormatCommandCarriesAlignmentAndBytesPerSecond) {
  EXPECT_EQ(tWaveRec::formatCommand(16, 22050, 2),
            "set test bitspersample 16 channels 2 alignment 4 samplespersec 22050 bytespersec 88200");
  EXPECT_EQ(tWaveRec::formatCommand(8, 11025, 1),
            "set test bitspersample 8 channels 1 alignment 1 samplespersec 11025 bytespersec 11025");
  EXPECT_EQ(tWaveRec::formatCommand(8, 44100, 2),
            "set test bitspersample 8 channels 2 alignment 2 samplespersec 44100 bytespersec 88200");
}

TEST_F(WaveRecTest, StoredValuesOutsideTheValidOnesGiveTheDefaults) {
  struct Case {
    int bits, rate, channels;
    int wantBits, wantRate, wantChannels;
  };
  const std::vector<Case> cases = {
      {16, 22050, 2, 16, 22050, 2}, {12, 8000, 3, 8, 44100, 1}, {8, 11025, 1, 8, 11025, 1}, {0, -1, 0, 8, 44100, 1}};
  TSettingsStore& store = TSettingsStore::global();
  for (const Case& c : cases) {
    store.writeInteger(key(), "Bits", c.bits);
    store.writeInteger(key(), "Rate", c.rate);
    store.writeInteger(key(), "Kan\xE4le", c.channels);
    tWaveRec rec;
    EXPECT_FALSE(rec.settingsLoaded());
    rec.loadSettings();
    EXPECT_TRUE(rec.settingsLoaded());
    EXPECT_EQ(rec.bits(), c.wantBits);
    EXPECT_EQ(rec.rate(), c.wantRate);
    EXPECT_EQ(rec.channels(), c.wantChannels);
  }
  store.deleteKey(key());
  store.writeString(key(), "Bits", "16");  // a value of the wrong type reads as missing
  tWaveRec rec;
  rec.loadSettings();
  EXPECT_EQ(rec.bits(), 8);
}

TEST_F(WaveRecTest, TakeIsRecordedInTheStoredFormatAndSaved) {
  tWaveRec& rec = zek::ensureWaveRec();
  EXPECT_EQ(zek::waveRec(), &rec);
  rec.setFormat(16, 22050, 2);
  rec.saveSettings();
  EXPECT_EQ(TSettingsStore::global().readInteger(key(), "Kan\xE4le"), 2);
  take();
  EXPECT_EQ(rec.record(), "");
  EXPECT_EQ(take(), (std::vector<std::string>{
                        "close test", "open new type waveaudio alias test",
                        "set test bitspersample 16 channels 2 alignment 4 samplespersec 22050 bytespersec 88200",
                        "seek test to start", "record test"}));
  EXPECT_EQ(rec.mode(), "recording");
  m_clock.advanceMs(500);
  rec.stop();
  zek::test::TempDir dir("zek-waverec");
  const std::string out = zek::fromPath(dir.path() / "take.wav");
  EXPECT_EQ(rec.saveToFile(out), "");
  const zek::test::TWaveHeader h = zek::test::readWaveHeader(dir.path() / "take.wav");
  ASSERT_TRUE(h.valid);
  EXPECT_EQ(h.bits, 16);
  EXPECT_EQ(h.channels, 2);
  EXPECT_EQ(h.rate, 22050);
  EXPECT_NEAR(static_cast<double>(h.dataBytes), 0.5 * 88200, 88200 * 0.05);
  EXPECT_EQ(rec.saveToFile(zek::fromPath(dir.path() / "a\"b.wav")).rfind("Error", 0), 0u);
  take();
  rec.play();
  EXPECT_EQ(take(), (std::vector<std::string>{"seek test to start", "play test"}));
  zek::freeWaveRec();
  EXPECT_EQ(take(), (std::vector<std::string>{"close test"}));
  EXPECT_EQ(zek::waveRec(), nullptr);
  EXPECT_TRUE(m_dialogs.messages().empty());
}

TEST_F(WaveRecTest, WithoutAMicrophoneRecordingSaysSo) {
  const char* was = std::getenv("ZEK_AUDIO");
  const std::string saved = was ? was : "";
  unsetenv("ZEK_AUDIO");
  TMediaService::TOptions options;
  options.backend = makeDefaultAudioBackend();
  const bool haveInput = !QMediaDevices::audioInputs().isEmpty();
  zek::setMediaService(std::make_unique<TMediaService>(std::move(options)));
  if (was) setenv("ZEK_AUDIO", saved.c_str(), 1);
  if (haveInput) GTEST_SKIP() << "this machine has a microphone";
  tWaveRec& rec = zek::ensureWaveRec();
  EXPECT_EQ(rec.record().rfind("Error", 0), 0u);
  ASSERT_EQ(m_dialogs.messages().size(), 1u);
  EXPECT_EQ(m_dialogs.messages()[0].text,
            "Es wurde kein Mikrofon gefunden.\n\nBitte schlie\xDF" "en Sie ein Mikrofon an und versuchen Sie es noch "
            "einmal.");
  EXPECT_NE(rec.mode(), "recording");
}

TEST_F(WaveRecTest, WithoutASoundOutputPlayingSaysSoOnce) {
  const char* was = std::getenv("ZEK_AUDIO");
  const std::string saved = was ? was : "";
  unsetenv("ZEK_AUDIO");
  TMediaService::TOptions options;
  options.backend = makeDefaultAudioBackend();
  const bool haveOutput = !QMediaDevices::audioOutputs().isEmpty();
  zek::setMediaService(std::make_unique<TMediaService>(std::move(options)));
  if (was) setenv("ZEK_AUDIO", saved.c_str(), 1);
  if (haveOutput) GTEST_SKIP() << "this machine has a sound output";
  zek::test::TempDir dir("zek-nooutput");
  const std::string wave = zek::fromPath(zek::test::writeTone(dir.path() / "a.wav", 22050, 1, SF_FORMAT_PCM_16, 0.2));
  for (int i = 0; i < 2; ++i) {
    sendMediaCommand("close satz", true);
    sendMediaCommand("open \"" + wave + "\" type waveaudio alias satz", true);
    sendMediaCommand("play satz from 0", true);
    QCoreApplication::processEvents();
  }
  // The learner hears nothing and is told why, but only once.
  ASSERT_EQ(m_dialogs.messages().size(), 1u);
  EXPECT_NE(m_dialogs.messages()[0].text.find("keine Tonausgabe"), std::string::npos);
  sendMediaCommand("close satz", true);
}

}  // namespace
