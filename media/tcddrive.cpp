// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/tcddrive.h"

#include "media/treadaheadsource.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <algorithm>

namespace {

void quietLog(cdio_log_level_t, const char*) {}

// Reads sectors through cdparanoia; slow and possibly blocking on a spinning disc, so
// it always runs behind a read-ahead worker.
class TParanoiaSource final : public TPcmSource {
 public:
  TParanoiaSource(cdrom_drive_t* drive, std::int32_t from, std::int32_t to) : m_drive(drive), m_sector(from), m_end(to) {
    m_paranoia = cdio_paranoia_init(drive);
    if (m_paranoia) {
      paranoia_modeset(m_paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
      cdio_paranoia_seek(m_paranoia, from, SEEK_SET);
    }
  }
  ~TParanoiaSource() override {
    if (m_paranoia) cdio_paranoia_free(m_paranoia);
  }
  TPcmFormat format() const override { return {44100, 2}; }
  std::int64_t lengthFrames() const override {
    return static_cast<std::int64_t>(m_end - m_sector) * TCdDrive::kFramesPerSector;
  }
  bool seekFrame(std::int64_t) override { return false; }
  std::size_t read(float* out, std::size_t frames) override {
    std::size_t done = 0;
    while (done < frames && m_paranoia) {
      if (m_left == 0) {
        if (m_sector >= m_end) break;
        const int16_t* data = cdio_paranoia_read(m_paranoia, nullptr);
        if (!data) {
          m_sector = m_end;
          break;
        }
        std::copy_n(data, CDIO_CD_FRAMESIZE_RAW / 2, m_buffer);
        ++m_sector;
        m_left = TCdDrive::kFramesPerSector;
      }
      const std::size_t n = std::min<std::size_t>(frames - done, m_left);
      const int16_t* from = m_buffer + (TCdDrive::kFramesPerSector - m_left) * 2;
      for (std::size_t i = 0; i < n * 2; ++i) out[done * 2 + i] = static_cast<float>(from[i] / 32768.0);
      done += n;
      m_left -= n;
    }
    return done;
  }
  bool atEnd() const override { return !m_paranoia || (m_sector >= m_end && m_left == 0); }

 private:
  cdrom_drive_t* m_drive;
  cdrom_paranoia_t* m_paranoia = nullptr;
  std::int32_t m_sector, m_end;
  int16_t m_buffer[CDIO_CD_FRAMESIZE_RAW / 2]{};
  std::size_t m_left = 0;
};

class TSystemCdDrive final : public TCdDrive {
 public:
  explicit TSystemCdDrive(CdIo_t* cdio) : m_cdio(cdio) {}
  ~TSystemCdDrive() override {
    if (m_cdda) cdio_cddap_close_no_free_cdio(m_cdda);
    cdio_destroy(m_cdio);
  }
  bool discPresent() override {
    const discmode_t mode = cdio_get_discmode(m_cdio);
    return mode != CDIO_DISC_MODE_NO_INFO && mode != CDIO_DISC_MODE_ERROR && cdio_get_num_tracks(m_cdio) != CDIO_INVALID_TRACK;
  }
  int firstTrack() override { return cdio_get_first_track_num(m_cdio); }
  int lastTrack() override { return cdio_get_last_track_num(m_cdio); }
  bool isAudioTrack(int track) override {
    return cdio_get_track_format(m_cdio, static_cast<track_t>(track)) == TRACK_FORMAT_AUDIO;
  }
  std::int32_t trackStart(int track) override {
    if (track > lastTrack()) return cdio_get_track_lsn(m_cdio, CDIO_CDROM_LEADOUT_TRACK);
    return cdio_get_track_lsn(m_cdio, static_cast<track_t>(track));
  }
  std::unique_ptr<TPcmSource> open(std::int32_t from, std::int32_t to) override {
    if (!m_cdda) {
      m_cdda = cdio_cddap_identify_cdio(m_cdio, CDDA_MESSAGE_FORGETIT, nullptr);
      if (!m_cdda || cdio_cddap_open(m_cdda) != 0) return nullptr;
    }
    return std::make_unique<TReadAheadSource>(std::make_unique<TParanoiaSource>(m_cdda, from, to));
  }

 private:
  CdIo_t* m_cdio;
  cdrom_drive_t* m_cdda = nullptr;
};

}  // namespace

std::unique_ptr<TCdDrive> openSystemCdDrive(TMediaError& error) {
  cdio_log_set_handler(quietLog);
  CdIo_t* cdio = cdio_open(nullptr, DRIVER_DEVICE);
  if (!cdio) {
    error = TMediaError::NoCdDrive;
    return nullptr;
  }
  error = TMediaError::None;
  return std::make_unique<TSystemCdDrive>(cdio);
}
