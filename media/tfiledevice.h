// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/taudiobackend.h"
#include "media/tmediadevice.h"
#include "media/tmediaplayer.h"

#include <filesystem>
#include <memory>

// A wave or MP3 file opened for playing. Positions are in milliseconds.
class TFileDevice final : public TMediaDevice {
 public:
  enum class Kind { Wave, Mp3 };
  static std::unique_ptr<TFileDevice> open(TAudioBackend& backend, const std::filesystem::path& path, Kind kind,
                                           TMediaError& error);

  TMediaReply play(TMediaWordReader& args) override;
  TMediaReply stop() override;
  TMediaReply pause() override;
  TMediaReply resume() override;
  TMediaReply seek(TMediaWordReader& args) override;
  TMediaReply status(TMediaWordReader& args) override;
  TMediaReply set(TMediaWordReader& args) override;

 private:
  TFileDevice(TAudioBackend& backend, std::filesystem::path path, Kind kind);
  std::unique_ptr<TPcmSource> openSource(TMediaError& error) const;
  std::int64_t toFrames(std::int64_t ms) const { return ms * m_format.rate / 1000; }
  std::int64_t toMs(std::int64_t frames) const { return (frames * 1000 + m_format.rate / 2) / std::max(1, m_format.rate); }
  std::optional<std::int64_t> parsePosition(const std::string& word) const;
  // Frames in the file; MP3 lengths are an estimate until played to the end.
  std::int64_t length() const { return m_frames < 0 ? TMediaPlayer::kNoEnd : m_frames; }

  std::filesystem::path m_path;
  Kind m_kind;
  TPcmFormat m_format;
  std::int64_t m_frames = -1;
  int m_bits = 0;
  std::unique_ptr<TPcmSource> m_first;  // the source checked at open, used by the first play
  TMediaPlayer m_player;
};
