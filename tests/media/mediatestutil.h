// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/taudiobackend.h"
#include "media/tcddrive.h"
#include "media/tmediaservice.h"

#include <sndfile.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace zek::test {

// A clock the test moves by hand, so that plays of seconds take no time.
class TManualClock final : public TMediaClock {
 public:
  std::chrono::microseconds now() const override { return m_now; }
  void advanceMs(std::int64_t ms) { m_now += std::chrono::milliseconds(ms); }

 private:
  std::chrono::microseconds m_now{1'000'000};
};

// A WAV file with a 440 Hz tone; `subtype` is a libsndfile subtype (SF_FORMAT_PCM_16, ...).
std::filesystem::path writeTone(const std::filesystem::path& path, int rate, int channels, int subtype, double seconds);

// Runs a shell command; true when it exited with 0.
bool run(const std::string& command);

// A CD with the given track layout (true = audio), each track `seconds` long.
class TFakeCdDrive final : public TCdDrive {
 public:
  TFakeCdDrive(std::vector<bool> audio, int seconds, bool disc = true)
      : m_audio(std::move(audio)), m_sectors(seconds * kSectorsPerSecond), m_disc(disc) {}
  bool discPresent() override { return m_disc; }
  int firstTrack() override { return 1; }
  int lastTrack() override { return static_cast<int>(m_audio.size()); }
  bool isAudioTrack(int track) override { return m_audio.at(static_cast<std::size_t>(track - 1)); }
  std::int32_t trackStart(int track) override { return 150 + (track - 1) * m_sectors; }
  std::unique_ptr<TPcmSource> open(std::int32_t from, std::int32_t to) override;
  std::vector<std::pair<std::int32_t, std::int32_t>> opened;

 private:
  std::vector<bool> m_audio;
  std::int32_t m_sectors;
  bool m_disc;
};

// A service on the null device with `clock`, case-insensitive paths and a CD drive made
// by `drive` (nothing: no drive).
std::unique_ptr<TMediaService> makeNullService(const TMediaClock& clock,
                                               std::function<std::unique_ptr<TCdDrive>()> drive = nullptr);

// The media service for one test, with every command sent noted in `log`; service and
// observer go when the scope ends.
class TMediaScope {
 public:
  TMediaScope(std::unique_ptr<TMediaService> service, std::vector<std::string>& log);
  ~TMediaScope();
  TMediaScope(const TMediaScope&) = delete;
  TMediaScope& operator=(const TMediaScope&) = delete;
};

// Header fields of a WAV file, read straight from its bytes.
struct TWaveHeader {
  bool valid = false;
  int formatTag = 0, channels = 0, rate = 0, bytesPerSecond = 0, blockAlign = 0, bits = 0;
  std::uint32_t dataBytes = 0;
};
TWaveHeader readWaveHeader(const std::filesystem::path& path);

}  // namespace zek::test
