// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/twaverec.h"

#include "media/mediacommand.h"
#include "media/mediaerror.h"
#include "platform/appstate.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"

#include <QCoreApplication>

#include <cstdlib>

#include <memory>

namespace {

const char* const kSubKey = "\\Aufnahme";
const char* const kChannels = "Kan\xE4le";
const char* const kMsgNoMicrophone =
    "Es wurde kein Mikrofon gefunden.\n\nBitte schlie\xDF" "en Sie ein Mikrofon an und versuchen Sie es noch einmal.";

int validBits(int b) { return b == 8 || b == 16 ? b : 8; }
int validRate(int r) { return r == 11025 || r == 22050 || r == 44100 ? r : 44100; }
int validChannels(int c) { return c == 1 || c == 2 ? c : 1; }

// The recorder closes its alias when it goes, so the command layer must outlive it: its statics are
// made first (and so destroyed last), and a quitting application frees the recorder before the service.
std::unique_ptr<tWaveRec>& slot() {
  static std::unique_ptr<tWaveRec>* const rec = [] {
    zek::holdMediaStatics();
    static std::unique_ptr<tWaveRec> made;
    return &made;
  }();
  return *rec;
}

}  // namespace

tWaveRec::tWaveRec() { sendMediaCommand("open new type waveaudio alias test", false); }

tWaveRec::~tWaveRec() { sendMediaCommand("close test", true); }

void tWaveRec::setFormat(int bits, int rate, int channels) {
  m_bits = validBits(bits);
  m_rate = validRate(rate);
  m_channels = validChannels(channels);
}

void tWaveRec::loadSettings() {
  setFormat(readSettingInteger(kSubKey, "Bits", 8), readSettingInteger(kSubKey, "Rate", 44100),
            readSettingInteger(kSubKey, kChannels, 1));
  m_settingsLoaded = true;
}

void tWaveRec::saveSettings() const {
  TSettingsStore& store = TSettingsStore::global();
  const std::string key = settingsKey(kSubKey);
  store.writeInteger(key, "Bits", m_bits);
  store.writeInteger(key, "Rate", m_rate);
  store.writeInteger(key, kChannels, m_channels);
}

std::string tWaveRec::formatCommand(int bits, int rate, int channels) {
  const int align = bits * channels / 8;
  const int perSecond = bits * channels * rate / 8;
  return "set test bitspersample " + std::to_string(bits) + " channels " + std::to_string(channels) + " alignment " +
         std::to_string(align) + " samplespersec " + std::to_string(rate) + " bytespersec " + std::to_string(perSecond);
}

std::string tWaveRec::applyFormat() { return sendMediaCommand(formatCommand(m_bits, m_rate, m_channels), false); }

void tWaveRec::newTake() {
  sendMediaCommand("close test", true);
  sendMediaCommand("open new type waveaudio alias test", false);
}

std::string tWaveRec::record() {
  newTake();
  if (!m_settingsLoaded) loadSettings();
  applyFormat();
  sendMediaCommand("seek test to start", false);
  const std::string reply = sendMediaCommand("record test", true);
  if (reply.rfind("Error", 0) == 0) {
    const int code = std::atoi(reply.c_str() + 5);
    if (code == static_cast<int>(TMediaError::NoAudioDevice)) {
      showMessage(kMsgNoMicrophone, mb::IconStop);
    } else {
      showMessage(mediaErrorText(code) + " - record test", mb::IconStop);
    }
  }
  return reply;
}

std::string tWaveRec::stop() { return sendMediaCommand("stop test", false); }

std::string tWaveRec::play() {
  sendMediaCommand("seek test to start", false);
  return sendMediaCommand("play test", false);
}

std::string tWaveRec::saveToFile(const std::string& path) {
  // A quote would end the name inside the command.
  if (path.find('"') != std::string::npos) return "Error";
  return sendMediaCommand("save test \"" + path + "\"", false);
}

std::string tWaveRec::mode() { return sendMediaCommand("status test mode", false); }

std::string tWaveRec::position() { return sendMediaCommand("status test position", true); }

namespace zek {

tWaveRec* waveRec() { return slot().get(); }

tWaveRec& ensureWaveRec() {
  if (!slot()) {
    slot() = std::make_unique<tWaveRec>();
    slot()->loadSettings();
    // Registered after the service's own routine, so it runs before it.
    static const bool hooked = [] {
      qAddPostRoutine(freeWaveRec);
      return true;
    }();
    (void)hooked;
  }
  return *slot();
}

void freeWaveRec() { slot().reset(); }

}  // namespace zek
