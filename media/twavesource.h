// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/mediaerror.h"
#include "media/tpcmsource.h"

#include <filesystem>
#include <memory>
#include <string>

// Any WAV that libsndfile reads (integer PCM of any width, float, mono or stereo, any
// rate), or Ogg Vorbis (the installed speech), from a file or from memory.
class TWaveSource final : public TPcmSource {
 public:
  ~TWaveSource() override;
  static std::unique_ptr<TWaveSource> openFile(const std::filesystem::path& path, TMediaError& error);
  static std::unique_ptr<TWaveSource> openMemory(std::string bytes, TMediaError& error);

  TPcmFormat format() const override { return m_format; }
  std::int64_t lengthFrames() const override { return m_frames; }
  bool seekFrame(std::int64_t frame) override;
  std::size_t read(float* out, std::size_t frames) override;
  bool atEnd() const override { return m_ended; }

  // Bits of the stored samples (0 for float or unknown), for status replies.
  int bitsPerSample() const { return m_bits; }

  struct Io;

 private:
  TWaveSource() = default;
  bool start(TMediaError& error);

  std::unique_ptr<Io> m_io;
  void* m_file = nullptr;  // SNDFILE*
  TPcmFormat m_format;
  std::int64_t m_frames = 0;
  int m_bits = 0;
  bool m_ended = false;
};
