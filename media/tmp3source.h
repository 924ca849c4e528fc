// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/mediaerror.h"
#include "media/tpcmsource.h"

#include <filesystem>
#include <memory>
#include <vector>

// MP3 through libmpg123, decoded to float.
class TMp3Source final : public TPcmSource {
 public:
  ~TMp3Source() override;
  static std::unique_ptr<TMp3Source> openFile(const std::filesystem::path& path, TMediaError& error);

  TPcmFormat format() const override { return m_format; }
  std::int64_t lengthFrames() const override { return m_frames; }
  bool seekFrame(std::int64_t frame) override;
  std::size_t read(float* out, std::size_t frames) override;
  bool atEnd() const override { return m_ended && m_pendingFrames == 0; }

 private:
  TMp3Source() = default;

  void* m_handle = nullptr;  // mpg123_handle*
  TPcmFormat m_format;
  std::int64_t m_frames = -1;
  bool m_ended = false;
  std::vector<float> m_pending;  // decoded, not yet read
  std::size_t m_pendingPos = 0;
  std::size_t m_pendingFrames = 0;
};
