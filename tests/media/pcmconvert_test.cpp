// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/pcmconvert.h"
#include "media/trecording.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(PcmTest, EncodeDecodeRoundTripsEveryWidth) {
  const std::vector<float> samples = {0.f, 0.5f, -0.5f, 0.99f, -1.f, 2.f, -3.f};
  for (int bits : {8, 16, 24, 32}) {
    SCOPED_TRACE(bits);
    std::string bytes;
    encodePcm(samples.data(), samples.size(), bits, bytes);
    ASSERT_EQ(bytes.size(), samples.size() * static_cast<std::size_t>(bits / 8));
    std::vector<float> back;
    decodePcm(bytes.data(), bytes.size(), bits, back);
    ASSERT_EQ(back.size(), samples.size());
    const float tolerance = bits == 8 ? 0.01f : 0.0001f;
    for (std::size_t i = 0; i < samples.size(); ++i) {
      EXPECT_NEAR(back[i], std::clamp(samples[i], -1.f, 1.f), tolerance) << i;
    }
  }
  std::string silence;
  const float zero = 0;
  encodePcm(&zero, 1, 8, silence);
  EXPECT_EQ(silence, "\x80");  // 8-bit WAV data is unsigned
}

TEST(PcmTest, ResamplerKeepsDurationAndMapsChannels) {
  struct Case { TPcmFormat in, out; };
  for (const Case c : {Case{{44100, 2}, {48000, 2}}, Case{{11025, 1}, {44100, 2}}, Case{{48000, 2}, {22050, 1}},
                       Case{{8000, 1}, {8000, 2}}}) {
    TResampler resampler(c.in, c.out);
    std::vector<float> out;
    // One second fed in uneven pieces, as a device delivers it.
    std::vector<float> in(static_cast<std::size_t>(c.in.rate * c.in.channels), 0.25f);
    std::size_t done = 0;
    for (std::size_t piece = 1; done < static_cast<std::size_t>(c.in.rate); piece = piece * 3 + 7) {
      const std::size_t n = std::min(piece, static_cast<std::size_t>(c.in.rate) - done);
      resampler.process(in.data() + done * static_cast<std::size_t>(c.in.channels), n, out);
      done += n;
    }
    const auto frames = static_cast<long>(out.size() / static_cast<std::size_t>(c.out.channels));
    EXPECT_NEAR(frames, c.out.rate, c.out.rate / c.in.rate + 2) << c.in.rate << "->" << c.out.rate;
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](float v) { return std::abs(v - 0.25f) < 1e-5f; }));
  }
}

TEST(PcmTest, ResampledToneKeepsItsPitch) {
  const int inRate = 22050, outRate = 48000;
  std::vector<float> in(inRate);
  for (int i = 0; i < inRate; ++i) in[static_cast<std::size_t>(i)] = std::sin(2 * M_PI * 1000.0 * i / inRate);
  TResampler resampler({inRate, 1}, {outRate, 1});
  std::vector<float> out;
  resampler.process(in.data(), in.size(), out);
  int crossings = 0;
  for (std::size_t i = 1; i < out.size(); ++i) crossings += (out[i - 1] < 0) != (out[i] < 0);
  EXPECT_NEAR(crossings, 2000, 4);
}

TEST(RecordingTest, TruncateAndFormatChangeKeepSnapshotsIntact) {
  TRecording take;
  take.setFormat({16, 2, 8000});
  std::vector<float> data(8000 * 2, 0.5f);
  take.append(data.data(), data.size());
  EXPECT_EQ(take.frames(), 8000);
  EXPECT_EQ(take.milliseconds(), 1000);
  auto source = take.source();
  take.truncate(4000);
  EXPECT_EQ(take.frames(), 4000);
  std::vector<float> buffer(16000);
  EXPECT_EQ(source->read(buffer.data(), 8000), 8000u);  // the player's snapshot is untouched
  EXPECT_NEAR(buffer[15999], 0.5f, 1e-4f);
  take.setFormat({8, 1, 11025});
  EXPECT_EQ(take.frames(), 0);
}

}  // namespace
