// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/mediaerror.h"
#include "media/tpcmsource.h"

#include <filesystem>
#include <memory>
#include <string>

// A take held in memory in the format the "set" command chose: integer PCM bytes
// exactly as a WAV file stores them.
struct TRecordingFormat {
  int bits = 8;
  int channels = 1;
  int rate = 11025;
  int blockAlign() const { return bits * channels / 8; }
  int bytesPerSecond() const { return blockAlign() * rate; }
  bool operator==(const TRecordingFormat&) const = default;
};

class TRecording {
 public:
  const TRecordingFormat& format() const { return m_format; }
  // A new format drops what was recorded in the old one.
  void setFormat(const TRecordingFormat& format);
  std::int64_t frames() const;
  std::int64_t milliseconds() const;
  const std::string& bytes() const { return *m_bytes; }
  // Keeps the first `frames` frames (recording over the rest).
  void truncate(std::int64_t frames);
  // Appends float frames (at the recording's rate and channels).
  void append(const float* samples, std::size_t count);
  void clear() { truncate(0); }

  // A player source over a snapshot of the take, so recording on cannot disturb it.
  std::unique_ptr<TPcmSource> source() const;
  // Writes a PCM WAV file: first to a temporary file beside the target, then renamed
  // over it, so a failure never leaves a half-written file under the target's name.
  TMediaError save(const std::filesystem::path& target) const;

 private:
  void detach();

  TRecordingFormat m_format;
  std::shared_ptr<std::string> m_bytes = std::make_shared<std::string>();
};
