// SPDX-License-Identifier: GPL-3.0-or-later
// Every line of the input is one media command, sent to a service on the null device
// with a clock that moves between commands. Files are never touched: every name maps to
// nothing. The service must answer every line without crashing.
#include "media/tcddrive.h"
#include "media/tmediaservice.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace {

class TFuzzClock final : public TMediaClock {
 public:
  std::chrono::microseconds now() const override { return m_now; }
  void advance(std::int64_t us) { m_now += std::chrono::microseconds(us); }

 private:
  std::chrono::microseconds m_now{0};
};


// Data track 1, audio tracks 2 and 3, ten seconds each.
class TFuzzCd final : public TCdDrive {
 public:
  bool discPresent() override { return true; }
  int firstTrack() override { return 1; }
  int lastTrack() override { return 3; }
  bool isAudioTrack(int track) override { return track != 1; }
  std::int32_t trackStart(int track) override { return 150 + (track - 1) * 750; }
  std::unique_ptr<TPcmSource> open(std::int32_t from, std::int32_t to) override {
    if (to < from) __builtin_trap();
    return std::make_unique<TSilentSource>(static_cast<std::int64_t>(to - from) * kFramesPerSector);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TFuzzClock clock;
  TMediaService::TOptions options;
  options.backend = makeNullAudioBackend(clock);
  options.openCdDrive = [](TMediaError& error) -> std::unique_ptr<TCdDrive> {
    error = TMediaError::None;
    return std::make_unique<TFuzzCd>();
  };
  options.mapPath = [](std::string_view) { return std::filesystem::path(); };
  TMediaService service(std::move(options));
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::size_t lines = 0;
  while (!text.empty() && lines++ < 200) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    // The line's length decides how far the clock moves (up to two seconds).
    clock.advance(static_cast<std::int64_t>(line.size() * 7919 % 2'000) * 1000);
    const TMediaReply reply = service.execute(line);
    if (reply.text.size() > 255) __builtin_trap();
    if (reply.failed() && !reply.text.empty()) __builtin_trap();
  }
  return 0;
}
