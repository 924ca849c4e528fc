// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/mediaerror.h"
#include "media/tpcmsource.h"

#include <cstdint>
#include <memory>

// An audio CD drive, in sectors of 1/75 s (588 stereo frames at 44.1 kHz).
class TCdDrive {
 public:
  static constexpr int kFramesPerSector = 588;
  static constexpr int kSectorsPerSecond = 75;

  virtual ~TCdDrive() = default;
  virtual bool discPresent() = 0;
  virtual int firstTrack() = 0;
  virtual int lastTrack() = 0;
  virtual bool isAudioTrack(int track) = 0;
  // First sector of a track; lastTrack() + 1 gives the end of the disc.
  virtual std::int32_t trackStart(int track) = 0;
  // Player of the sectors [from, to): 44.1 kHz stereo.
  virtual std::unique_ptr<TPcmSource> open(std::int32_t from, std::int32_t to) = 0;
};

// The system's CD drive through libcdio, or nothing (NoCdDrive) when there is none.
std::unique_ptr<TCdDrive> openSystemCdDrive(TMediaError& error);
