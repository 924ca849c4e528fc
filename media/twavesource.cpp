// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/twavesource.h"

#include <sndfile.h>

#include <cstdio>
#include <cstring>

// Virtual I/O over a file or a byte buffer, so that the same reader serves files,
// recordings held in memory and the fuzzer.
struct TWaveSource::Io {
  std::FILE* file = nullptr;
  std::string bytes;
  sf_count_t pos = 0;
  sf_count_t size = 0;
  ~Io() {
    if (file) std::fclose(file);
  }
};

namespace {
using Io = TWaveSource::Io;

sf_count_t ioLength(void* user) { return static_cast<Io*>(user)->size; }

sf_count_t ioSeek(sf_count_t offset, int whence, void* user) {
  auto* io = static_cast<Io*>(user);
  sf_count_t target = offset;
  if (whence == SEEK_CUR) target = io->pos + offset;
  if (whence == SEEK_END) target = io->size + offset;
  if (target < 0) return -1;
  io->pos = target;
  return io->pos;
}

sf_count_t ioRead(void* ptr, sf_count_t count, void* user) {
  auto* io = static_cast<Io*>(user);
  if (count <= 0 || io->pos >= io->size) return 0;
  if (count > io->size - io->pos) count = io->size - io->pos;
  if (io->file) {
    if (std::fseek(io->file, static_cast<long>(io->pos), SEEK_SET) != 0) return 0;
    const std::size_t n = std::fread(ptr, 1, static_cast<std::size_t>(count), io->file);
    io->pos += static_cast<sf_count_t>(n);
    return static_cast<sf_count_t>(n);
  }
  std::memcpy(ptr, io->bytes.data() + io->pos, static_cast<std::size_t>(count));
  io->pos += count;
  return count;
}

sf_count_t ioWrite(const void*, sf_count_t, void*) { return 0; }
sf_count_t ioTell(void* user) { return static_cast<Io*>(user)->pos; }

SF_VIRTUAL_IO kVirtualIo = {ioLength, ioSeek, ioRead, ioWrite, ioTell};

int bitsOf(int format) {
  switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8: return 8;
    case SF_FORMAT_PCM_16: return 16;
    case SF_FORMAT_PCM_24: return 24;
    case SF_FORMAT_PCM_32: return 32;
    case SF_FORMAT_FLOAT: return 32;
    case SF_FORMAT_DOUBLE: return 64;
    default: return 0;
  }
}
}  // namespace

TWaveSource::~TWaveSource() {
  if (m_file) sf_close(static_cast<SNDFILE*>(m_file));
}

std::unique_ptr<TWaveSource> TWaveSource::openFile(const std::filesystem::path& path, TMediaError& error) {
  std::unique_ptr<TWaveSource> source(new TWaveSource);
  source->m_io = std::make_unique<Io>();
  source->m_io->file = std::fopen(path.c_str(), "rb");
  if (!source->m_io->file) {
    error = TMediaError::FileNotFound;
    return nullptr;
  }
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) {
    error = TMediaError::FileNotFound;
    return nullptr;
  }
  source->m_io->size = static_cast<sf_count_t>(size);
  if (!source->start(error)) return nullptr;
  return source;
}

std::unique_ptr<TWaveSource> TWaveSource::openMemory(std::string bytes, TMediaError& error) {
  std::unique_ptr<TWaveSource> source(new TWaveSource);
  source->m_io = std::make_unique<Io>();
  source->m_io->size = static_cast<sf_count_t>(bytes.size());
  source->m_io->bytes = std::move(bytes);
  if (!source->start(error)) return nullptr;
  return source;
}

bool TWaveSource::start(TMediaError& error) {
  // Only WAV and Ogg Vorbis count here: libsndfile would also take AIFF, raw or MPEG data,
  // which the wave device never promised to play (and whose decoders chatter on stderr). The
  // installed speech is Ogg Vorbis under ".wav" names.
  char magic[12] = {};
  const bool gelesen = ioRead(magic, 12, m_io.get()) == 12;
  const bool riff = gelesen && (std::memcmp(magic, "RIFF", 4) == 0 || std::memcmp(magic, "RF64", 4) == 0) &&
                    std::memcmp(magic + 8, "WAVE", 4) == 0;
  const bool ogg = gelesen && std::memcmp(magic, "OggS", 4) == 0;
  m_io->pos = 0;
  if (!riff && !ogg) {
    error = TMediaError::BadFile;
    return false;
  }
  SF_INFO info{};
  SNDFILE* file = sf_open_virtual(&kVirtualIo, SFM_READ, &info, m_io.get());
  const int major = info.format & SF_FORMAT_TYPEMASK;
  const bool wav = riff ? major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX || major == SF_FORMAT_RF64
                       : major == SF_FORMAT_OGG && (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_VORBIS;
  if (!file || !wav || info.channels < 1 || info.channels > 8 || info.samplerate < 1000 ||
      info.samplerate > 384000 || info.frames < 0) {
    if (file) sf_close(file);
    error = TMediaError::BadFile;
    return false;
  }
  m_file = file;
  m_format = {info.samplerate, info.channels};
  m_frames = info.frames;
  m_bits = bitsOf(info.format);
  // Integer data converted to float is scaled to [-1, 1) as it should be.
  sf_command(file, SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
  error = TMediaError::None;
  return true;
}

bool TWaveSource::seekFrame(std::int64_t frame) {
  if (frame < 0 || frame > m_frames) return false;
  m_ended = false;
  return sf_seek(static_cast<SNDFILE*>(m_file), frame, SEEK_SET) >= 0;
}

std::size_t TWaveSource::read(float* out, std::size_t frames) {
  if (m_ended || frames == 0) return 0;
  const sf_count_t n = sf_readf_float(static_cast<SNDFILE*>(m_file), out, static_cast<sf_count_t>(frames));
  if (n <= 0) {
    m_ended = true;
    return 0;
  }
  return static_cast<std::size_t>(n);
}
