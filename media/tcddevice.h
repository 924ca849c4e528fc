// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/taudiobackend.h"
#include "media/tcddrive.h"
#include "media/tmediadevice.h"
#include "media/tmediaplayer.h"

#include <memory>

// "open cdaudio": plays the audio tracks of a CD. Positions in milliseconds from the
// start of the disc, or "tt:mm:ss:ff" (track, minutes, seconds, frames of 1/75 s within
// the track) after "set ... time format tmsf".
class TCdDevice final : public TMediaDevice {
 public:
  TCdDevice(TAudioBackend& backend, std::unique_ptr<TCdDrive> drive);

  TMediaReply play(TMediaWordReader& args) override;
  TMediaReply stop() override;
  TMediaReply pause() override;
  TMediaReply resume() override;
  TMediaReply seek(TMediaWordReader& args) override;
  TMediaReply status(TMediaWordReader& args) override;
  TMediaReply set(TMediaWordReader& args) override;

 private:
  enum class TimeFormat { Milliseconds, Tmsf };
  bool ready() { return m_drive->discPresent(); }
  std::int32_t firstAudioSector();
  std::int32_t endSector() { return m_drive->trackStart(m_drive->lastTrack() + 1); }
  int trackAt(std::int32_t sector);
  std::string formatPosition(std::int64_t frame);
  std::optional<std::int64_t> parsePosition(const std::string& word);
  // Audio from `from` up to the next data track or the end of the disc.
  std::int64_t audioEnd(std::int64_t from);
  std::int64_t currentFrame();

  std::unique_ptr<TCdDrive> m_drive;
  TimeFormat m_timeFormat = TimeFormat::Milliseconds;
  bool m_moved = false;  // before the first seek or play the position is the first audio track
  TMediaPlayer m_player;
};
