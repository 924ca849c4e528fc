// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The voice recorder: records the learner into a new take on the media alias "test",
// plays it back and saves it. One process-wide object (waveRec below); its format
// lives under "...\Aufnahme" as "Bits", "Rate" and "Kanäle".
class tWaveRec {
 public:
  tWaveRec();   // opens the alias
  ~tWaveRec();  // closes it
  tWaveRec(const tWaveRec&) = delete;
  tWaveRec& operator=(const tWaveRec&) = delete;

  bool settingsLoaded() const { return m_settingsLoaded; }
  int bits() const { return m_bits; }
  int rate() const { return m_rate; }
  int channels() const { return m_channels; }
  // Values outside 8/16, 11025/22050/44100 and 1/2 fall back to 8, 44100 and 1.
  void setFormat(int bits, int rate, int channels);

  void loadSettings();
  void saveSettings() const;
  // "set test bitspersample ... bytespersec ..."; the reply.
  std::string applyFormat();
  // Drops the take: the alias opens anew.
  void newTake();
  // Starts a take in the stored format; the reply of "record test" ("Error..." when the
  // learner has no microphone: he has been told).
  std::string record();
  std::string stop();
  std::string play();
  // "save test "path""; empty on success, "Error..." on failure.
  std::string saveToFile(const std::string& path);
  std::string mode();
  std::string position();

  static std::string formatCommand(int bits, int rate, int channels);

 private:
  bool m_settingsLoaded = false;
  int m_bits = 8;
  int m_rate = 44100;
  int m_channels = 1;
};

namespace zek {
// The recorder, or nullptr when nobody made it yet.
tWaveRec* waveRec();
// The recorder, made (and its settings loaded) when there is none yet.
tWaveRec& ensureWaveRec();
// Frees it without saving its settings.
void freeWaveRec();
}  // namespace zek
