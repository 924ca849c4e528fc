// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/pcmconvert.h"
#include "media/taudiobackend.h"
#include "media/tmediadevice.h"
#include "media/tmediaplayer.h"
#include "media/trecording.h"

#include <memory>
#include <optional>

// "open new type waveaudio": records into memory in the format of the "set" command,
// plays the take back and saves it as a WAV file. Positions are in milliseconds.
class TRecorderDevice final : public TMediaDevice {
 public:
  explicit TRecorderDevice(TAudioBackend& backend);
  ~TRecorderDevice() override;

  TMediaReply play(TMediaWordReader& args) override;
  TMediaReply stop() override;
  TMediaReply pause() override;
  TMediaReply resume() override;
  TMediaReply seek(TMediaWordReader& args) override;
  TMediaReply status(TMediaWordReader& args) override;
  TMediaReply set(TMediaWordReader& args) override;
  TMediaReply record(TMediaWordReader& args) override;
  TMediaReply save(const std::filesystem::path& target) override;

 private:
  // Moves what the device captured into the take; ends the take at its limit.
  void pump();
  void finishRecording();
  std::int64_t position();
  std::int64_t toFrames(std::int64_t ms) const { return ms * m_recording.format().rate / 1000; }
  std::int64_t toMs(std::int64_t frames) const { return (frames * 1000 + m_recording.format().rate / 2) / m_recording.format().rate; }
  std::optional<std::int64_t> parsePosition(const std::string& word) const;

  TAudioBackend& m_backend;
  TRecording m_recording;
  std::unique_ptr<TCaptureStream> m_capture;
  std::unique_ptr<TResampler> m_resampler;
  std::vector<float> m_captured, m_converted;
  std::int64_t m_recordEnd = TMediaPlayer::kNoEnd;
  bool m_capturePaused = false;
  TMediaPlayer m_player;
};
