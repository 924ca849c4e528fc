// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/media/mediatestutil.h"

#include "media/mediacommand.h"
#include "platform/files.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace zek::test {

std::filesystem::path writeTone(const std::filesystem::path& path, int rate, int channels, int subtype, double seconds) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = SF_FORMAT_WAV | subtype;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) return {};
  const auto frames = static_cast<std::size_t>(seconds * rate);
  std::vector<float> data(frames * static_cast<std::size_t>(channels));
  for (std::size_t f = 0; f < frames; ++f) {
    for (int c = 0; c < channels; ++c) {
      data[f * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] =
          0.5f * static_cast<float>(std::sin(2 * M_PI * 440.0 * static_cast<double>(f) / rate));
    }
  }
  sf_writef_float(file, data.data(), static_cast<sf_count_t>(frames));
  sf_close(file);
  return path;
}

bool run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

std::unique_ptr<TPcmSource> TFakeCdDrive::open(std::int32_t from, std::int32_t to) {
  opened.emplace_back(from, to);
  return std::make_unique<TSilentSource>(static_cast<std::int64_t>(to - from) * kFramesPerSector);
}

std::unique_ptr<TMediaService> makeNullService(const TMediaClock& clock, std::function<std::unique_ptr<TCdDrive>()> drive) {
  TMediaService::TOptions options;
  options.backend = makeNullAudioBackend(clock);
  options.openCdDrive = [drive](TMediaError& error) -> std::unique_ptr<TCdDrive> {
    std::unique_ptr<TCdDrive> d = drive ? drive() : nullptr;
    error = d ? TMediaError::None : TMediaError::NoCdDrive;
    return d;
  };
  return std::make_unique<TMediaService>(std::move(options));
}

TMediaScope::TMediaScope(std::unique_ptr<TMediaService> service, std::vector<std::string>& log) {
  zek::setMediaService(std::move(service));
  zek::setMediaCommandObserver([&log](std::string_view command, bool) { log.emplace_back(command); });
}

TMediaScope::~TMediaScope() {
  zek::setMediaCommandObserver(nullptr);
  zek::setMediaService(nullptr);
}

TWaveHeader readWaveHeader(const std::filesystem::path& path) {
  TWaveHeader h;
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto u32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
  };
  auto u16 = [&](std::size_t at) {
    std::uint16_t v = 0;
    std::memcpy(&v, bytes.data() + at, 2);
    return static_cast<int>(v);
  };
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return h;
  bool fmt = false;
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    const std::string id = bytes.substr(at, 4);
    const std::uint32_t size = u32(at + 4);
    if (id == "fmt " && at + 24 <= bytes.size()) {
      h.formatTag = u16(at + 8);
      h.channels = u16(at + 10);
      h.rate = static_cast<int>(u32(at + 12));
      h.bytesPerSecond = static_cast<int>(u32(at + 16));
      h.blockAlign = u16(at + 20);
      h.bits = u16(at + 22);
      fmt = true;
    } else if (id == "data") {
      h.dataBytes = size;
      h.valid = fmt && at + 8 + size <= bytes.size();
      return h;
    }
    at += 8 + size + (size & 1);
  }
  return h;
}

}  // namespace zek::test
