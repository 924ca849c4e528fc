// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/tmediaservice.h"

#include "tests/common/testutil.h"
#include "tests/media/mediatestutil.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <sys/stat.h>

using zek::test::TManualClock;
using zek::test::TempDir;

namespace {

class MediaServiceTest : public ::testing::Test {
 protected:
  std::string send(const std::string& command) {
    const TMediaReply r = m_service->execute(command);
    return r.failed() ? "Error" + std::to_string(static_cast<int>(r.error)) : r.text;
  }
  // Sends the commands in turn, each to get its reply.
  void expectReplies(std::initializer_list<std::pair<std::string, std::string>> script) {
    for (const auto& [command, reply] : script) EXPECT_EQ(send(command), reply) << command;
  }
  std::string quoted(const std::filesystem::path& p) { return "\"" + p.string() + "\""; }
  // The three steps by which words, sentences and the dictionary play a wave file.
  void playWave(const std::string& alias, const std::filesystem::path& file) {
    send("close " + alias);
    const std::string reply = send("open " + quoted(file) + " type waveaudio alias " + alias);
    ASSERT_EQ(reply, "");
    ASSERT_EQ(send("play " + alias + " from 0"), "");
  }

  TempDir m_dir{"zek-media"};
  TManualClock m_clock;
  std::unique_ptr<TMediaService> m_service = zek::test::makeNullService(m_clock);
};

TEST_F(MediaServiceTest, ThreeWaveAliasesPlayIndependently) {
  const auto word = zek::test::writeTone(m_dir.path() / "word.wav", 22050, 1, SF_FORMAT_PCM_16, 0.5);
  const auto sentence = zek::test::writeTone(m_dir.path() / "sentence.wav", 44100, 2, SF_FORMAT_PCM_16, 2.0);
  const auto dict = zek::test::writeTone(m_dir.path() / "dict.wav", 11025, 1, SF_FORMAT_PCM_U8, 1.0);
  playWave("welle", word);
  playWave("satz", sentence);
  playWave("wb", dict);
  m_clock.advanceMs(300);
  EXPECT_EQ(send("status welle mode"), "playing");
  EXPECT_EQ(send("status satz position"), "300");
  m_clock.advanceMs(400);  // 700 ms: the word is over
  expectReplies({
      {"status welle mode", "stopped"},
      {"status welle position", "500"},
      {"status satz mode", "playing"},
      {"status wb mode", "playing"},
  });
  m_clock.advanceMs(400);
  EXPECT_EQ(send("status wb mode"), "stopped");
  EXPECT_EQ(send("status satz mode"), "playing");
  // The next play under an alias closes the previous one and starts again.
  playWave("satz", word);
  EXPECT_EQ(send("status satz position"), "0");
  EXPECT_EQ(send("status satz length"), "500");
  m_clock.advanceMs(600);
  EXPECT_EQ(send("status satz mode"), "stopped");
}

TEST_F(MediaServiceTest, PathsWithBackslashesAndOtherCaseAreFound) {
  zek::test::writeTone(m_dir.path() / "Labor" / "0" / "lab_0000.wav", 22050, 1, SF_FORMAT_PCM_16, 0.2);
  std::filesystem::create_directories(m_dir.path() / "Labor" / "0");
  zek::test::writeTone(m_dir.path() / "Labor" / "0" / "lab_0000.wav", 22050, 1, SF_FORMAT_PCM_16, 0.2);
  std::string windowsName = m_dir.path().string() + "\\LABOR\\0\\LAB_0000.WAV";
  EXPECT_EQ(send("open \"" + windowsName + "\" type waveaudio alias satz"), "");
  EXPECT_EQ(send("Play SATZ from 0"), "");
  EXPECT_EQ(send("Status Satz Mode"), "playing");
}

TEST_F(MediaServiceTest, PauseHoldsThePosition) {
  const auto file = zek::test::writeTone(m_dir.path() / "a.wav", 8000, 1, SF_FORMAT_PCM_16, 1.0);
  playWave("welle", file);
  m_clock.advanceMs(200);
  EXPECT_EQ(send("pause welle"), "");
  m_clock.advanceMs(5000);
  EXPECT_EQ(send("status welle mode"), "paused");
  EXPECT_EQ(send("status welle position"), "200");
  EXPECT_EQ(send("resume welle"), "");
  m_clock.advanceMs(300);
  EXPECT_EQ(send("status welle position"), "500");
  EXPECT_EQ(send("stop welle"), "");
  EXPECT_EQ(send("status welle mode"), "stopped");
}

TEST_F(MediaServiceTest, EveryWaveFormatIsPlayedToItsEnd) {
  struct Case { int rate, channels, subtype; };
  const Case cases[] = {{8000, 1, SF_FORMAT_PCM_U8},  {11025, 2, SF_FORMAT_PCM_16}, {22050, 1, SF_FORMAT_PCM_24},
                        {44100, 2, SF_FORMAT_PCM_32}, {48000, 1, SF_FORMAT_FLOAT},  {96000, 2, SF_FORMAT_DOUBLE},
                        {16000, 1, SF_FORMAT_MS_ADPCM}, {8000, 1, SF_FORMAT_ULAW}};
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(n);
    const auto file = zek::test::writeTone(m_dir.path() / ("f" + std::to_string(n++) + ".wav"), c.rate, c.channels,
                                           c.subtype, 0.4);
    ASSERT_FALSE(file.empty());
    playWave("welle", file);
    EXPECT_EQ(send("status welle samplespersec"), std::to_string(c.rate));
    EXPECT_EQ(send("status welle channels"), std::to_string(c.channels));
    m_clock.advanceMs(300);
    EXPECT_EQ(send("status welle mode"), "playing");
    m_clock.advanceMs(200);
    EXPECT_EQ(send("status welle mode"), "stopped");
  }
}

TEST_F(MediaServiceTest, SpokenWaveFromEspeakPlays) {
  const auto file = m_dir.path() / "spoken.wav";
  if (!zek::test::run("espeak-ng -w '" + file.string() + "' 'Good morning'")) GTEST_SKIP() << "espeak-ng missing";
  playWave("wb", file);
  const std::string length = send("status wb length");
  EXPECT_GT(std::stoi(length), 300);
  m_clock.advanceMs(std::stoi(length) + 50);
  EXPECT_EQ(send("status wb mode"), "stopped");
}

TEST_F(MediaServiceTest, TruncatedWaveEndsWhereItsDataEnds) {
  const auto file = zek::test::writeTone(m_dir.path() / "full.wav", 8000, 1, SF_FORMAT_PCM_16, 1.0);
  // Cut the data to about a quarter; the header still promises a second.
  std::filesystem::resize_file(file, 44 + 4000);
  EXPECT_EQ(send("open " + quoted(file) + " type waveaudio alias welle"), "");
  EXPECT_EQ(send("play welle from 0"), "");
  m_clock.advanceMs(400);
  EXPECT_EQ(send("status welle mode"), "stopped");
}

TEST_F(MediaServiceTest, RecorderCycleSavesTheRequestedFormat) {
  struct Case { int bits, channels, rate; };
  for (const Case c : {Case{8, 1, 11025}, Case{16, 1, 44100}, Case{8, 2, 22050}, Case{16, 2, 44100}, Case{16, 1, 22050}}) {
    SCOPED_TRACE(std::to_string(c.bits) + "/" + std::to_string(c.channels) + "/" + std::to_string(c.rate));
    const int align = c.bits * c.channels / 8;
    ASSERT_EQ(send("open new type waveaudio alias test"), "");
    EXPECT_EQ(send("status test mode"), "stopped");
    // A take: the recorder re-opens, sets the format, rewinds and records.
    send("close test");
    ASSERT_EQ(send("open new type waveaudio alias test"), "");
    ASSERT_EQ(send("set test bitspersample " + std::to_string(c.bits) + " channels " + std::to_string(c.channels) +
                   " alignment " + std::to_string(align) + " samplespersec " + std::to_string(c.rate) +
                   " bytespersec " + std::to_string(align * c.rate)),
              "");
    ASSERT_EQ(send("seek test to start"), "");
    ASSERT_EQ(send("record test"), "");
    m_clock.advanceMs(1000);
    EXPECT_EQ(send("status test mode"), "recording");
    EXPECT_EQ(send("status test position"), "1000");
    m_clock.advanceMs(500);
    ASSERT_EQ(send("stop test"), "");
    EXPECT_EQ(send("status test mode"), "stopped");
    EXPECT_EQ(send("status test length"), "1500");
    m_clock.advanceMs(2000);  // time after the stop adds nothing
    EXPECT_EQ(send("status test length"), "1500");
    ASSERT_EQ(send("seek test to start"), "");
    ASSERT_EQ(send("play test"), "");
    EXPECT_EQ(send("status test mode"), "playing");
    m_clock.advanceMs(1000);
    EXPECT_EQ(send("status test position"), "1000");
    m_clock.advanceMs(600);
    EXPECT_EQ(send("status test mode"), "stopped");
    EXPECT_EQ(send("status test position"), "1500");
    const auto target = m_dir.path() / "take.wav";
    ASSERT_EQ(send("save test " + quoted(target)), "");
    send("close test");

    const zek::test::TWaveHeader h = zek::test::readWaveHeader(target);
    ASSERT_TRUE(h.valid);
    EXPECT_EQ(h.formatTag, 1);
    EXPECT_EQ(h.bits, c.bits);
    EXPECT_EQ(h.channels, c.channels);
    EXPECT_EQ(h.rate, c.rate);
    EXPECT_EQ(h.blockAlign, align);
    EXPECT_EQ(h.bytesPerSecond, align * c.rate);
    EXPECT_EQ(h.dataBytes, static_cast<std::uint32_t>(align * (c.rate * 3 / 2)));
    // Silence of the null device, in the sample coding of the format.
    SF_INFO info{};
    SNDFILE* f = sf_open(target.c_str(), SFM_READ, &info);
    ASSERT_NE(f, nullptr);
    std::vector<short> samples(static_cast<std::size_t>(info.frames * info.channels));
    sf_read_short(f, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(f);
    EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](short s) { return s == 0; }));
    std::filesystem::remove(target);
  }
}

TEST_F(MediaServiceTest, RecordingAgainFromTheStartReplacesTheTake) {
  send("open new type waveaudio alias test");
  send("set test bitspersample 16 channels 1 alignment 2 samplespersec 11025 bytespersec 22050");
  send("record test");
  m_clock.advanceMs(3000);
  send("stop test");
  send("seek test to start");
  send("record test");
  m_clock.advanceMs(1000);
  send("stop test");
  EXPECT_EQ(send("status test length"), "1000");
}

TEST_F(MediaServiceTest, RecordingUpToALimitStopsByItself) {
  send("open new type waveaudio alias test");
  EXPECT_EQ(send("record test to 500"), "");
  m_clock.advanceMs(800);
  EXPECT_EQ(send("status test mode"), "stopped");
  EXPECT_EQ(send("status test length"), "500");
}

TEST_F(MediaServiceTest, UnattendedRecordingStopsAfterAnHour) {
  send("open new type waveaudio alias test");
  send("record test");
  m_clock.advanceMs(2 * 3600 * 1000);
  EXPECT_EQ(send("status test mode"), "stopped");
  EXPECT_EQ(send("status test length"), "3600000");
}

TEST_F(MediaServiceTest, FailedSaveLeavesNoFileBehind) {
  send("open new type waveaudio alias test");
  send("record test");
  m_clock.advanceMs(300);
  send("stop test");
  // A folder in the target's place: the temporary file is written, the rename fails.
  const auto blocked = m_dir.mkdir("take.wav");
  m_dir.write("take.wav/keep.txt", "x");
  EXPECT_EQ(send("save test " + quoted(blocked)), "Error14");
  // A plain file where a folder should be.
  const auto file = m_dir.write("plain", "x");
  EXPECT_EQ(send("save test " + quoted(file / "take.wav")), "Error14");
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(m_dir.path())) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"plain", "take.wav"}));
  // The take is still there to be saved elsewhere.
  EXPECT_EQ(send("save test " + quoted(m_dir.path() / "other.wav")), "");
  EXPECT_TRUE(zek::test::readWaveHeader(m_dir.path() / "other.wav").valid);
}

TEST_F(MediaServiceTest, SaveIntoReadOnlyFolderFails) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const auto dir = m_dir.mkdir("ro");
  ::chmod(dir.c_str(), 0555);
  send("open new type waveaudio alias test");
  EXPECT_EQ(send("save test " + quoted(dir / "take.wav")), "Error14");
  EXPECT_TRUE(std::filesystem::is_empty(dir));
  ::chmod(dir.c_str(), 0755);
}

TEST_F(MediaServiceTest, Mp3PlaysToItsEndAndTheNextFollows) {
  const auto wav = zek::test::writeTone(m_dir.path() / "tone.wav", 44100, 2, SF_FORMAT_PCM_16, 1.0);
  const auto first = m_dir.path() / "first.mp3";
  const auto second = m_dir.path() / "Second.MP3";
  if (!zek::test::run("lame --quiet -b 96 '" + wav.string() + "' '" + first.string() + "'") ||
      !zek::test::run("lame --quiet -b 64 '" + wav.string() + "' '" + second.string() + "'")) {
    GTEST_SKIP() << "lame missing";
  }
  ASSERT_EQ(send("open " + quoted(first) + " alias mp3"), "");
  ASSERT_EQ(send("play mp3"), "");
  m_clock.advanceMs(500);
  EXPECT_EQ(send("status mp3 mode"), "playing");
  m_clock.advanceMs(1000);  // past the end, padding included
  EXPECT_EQ(send("status mp3 mode"), "stopped");
  const int position = std::stoi(send("status mp3 position"));
  EXPECT_GE(position, 990);
  EXPECT_LE(position, 1100);
  EXPECT_EQ(send("close mp3"), "");
  ASSERT_EQ(send("open " + quoted(second) + " alias mp3"), "");
  ASSERT_EQ(send("play mp3"), "");
  EXPECT_EQ(send("Status MP3 mode"), "playing");
  EXPECT_EQ(send("stop mp3"), "");
  EXPECT_EQ(send("close mp3"), "");
}

TEST_F(MediaServiceTest, CdWithoutDriveAnswersWithErrors) {
  expectReplies({
      {"open cdaudio alias cd", "Error11"},
      {"status cd type track 2", "Error5"},
      {"status cd mode", "Error5"},
      {"stop cd", "Error5"},
      {"close cd", "Error5"},
  });
}

TEST_F(MediaServiceTest, CdMusicLoopsFromItsFirstAudioTrack) {
  zek::test::TFakeCdDrive* drive = nullptr;
  m_service = zek::test::makeNullService(m_clock, [&] {
    auto d = std::make_unique<zek::test::TFakeCdDrive>(std::vector<bool>{false, true, true}, 60);
    drive = d.get();
    return d;
  });
  ASSERT_EQ(send("open cdaudio alias cd"), "");
  EXPECT_EQ(send("status cd type track 1"), "other");
  ASSERT_EQ(send("status cd type track 2"), "audio");
  EXPECT_EQ(send("status cd type track 4"), "Error16");
  ASSERT_EQ(send("set cd time format tmsf"), "");
  ASSERT_EQ(send("play cd"), "");
  ASSERT_EQ(drive->opened.size(), 1u);
  EXPECT_EQ(drive->opened[0], std::make_pair(150 + 60 * 75, 150 + 180 * 75));  // tracks 2 and 3
  m_clock.advanceMs(61'500);
  EXPECT_EQ(send("status cd mode"), "playing");
  EXPECT_EQ(send("status cd current track"), "3");
  EXPECT_EQ(send("status cd position"), "03:00:01:37");
  m_clock.advanceMs(60'000);
  ASSERT_EQ(send("status cd mode"), "stopped");
  EXPECT_EQ(send("status cd current track"), "3");
  EXPECT_EQ(send("status cd position"), "03:01:00:00");
  ASSERT_EQ(send("seek cd to start"), "");
  EXPECT_EQ(send("status cd position"), "02:00:00:00");
  ASSERT_EQ(send("play cd"), "");
  expectReplies({
      {"status cd mode", "playing"},
      {"play cd from 3:00:30", ""},
      {"status cd position", "03:00:30:00"},
      {"stop cd", ""},
      {"close cd", ""},
  });
}

TEST_F(MediaServiceTest, CdDriveWithoutDiscIsNotReady) {
  m_service = zek::test::makeNullService(
      m_clock, [] { return std::make_unique<zek::test::TFakeCdDrive>(std::vector<bool>{true}, 10, false); });
  ASSERT_EQ(send("open cdaudio alias cd"), "");
  EXPECT_EQ(send("status cd mode"), "not ready");
  EXPECT_EQ(send("status cd type track 2"), "Error12");
  EXPECT_EQ(send("play cd"), "Error12");
}

// Each bad command fails with its code and leaves the other aliases playing.
TEST_F(MediaServiceTest, BadCommandsFailAndLeaveOtherAliasesWorking) {
  const auto good = zek::test::writeTone(m_dir.path() / "good.wav", 22050, 1, SF_FORMAT_PCM_16, 5.0);
  m_dir.write("garbage.wav", std::string(2000, 'x'));
  m_dir.write("empty.wav", "");
  m_dir.write("garbage.mp3", std::string(3000, '\x55'));
  m_dir.write("notes.txt", "hello");
  const auto riffOnly = m_dir.write("riff.wav", std::string("RIFF\x24\0\0\0WAVEfmt ", 16));
  const std::string dir = m_dir.path().string() + "/";
  playWave("satz", good);
  ASSERT_EQ(send("open new type waveaudio alias test"), "");
  struct Case { std::string command; int code; };
  const Case cases[] = {
      {"", 1},
      {"   ", 1},
      {"jump welle", 1},
      {"\"play\" satz", 1},
      {"open", 2},
      {"open \"" + dir + "missing.wav\" type waveaudio alias welle", 7},
      {"open \"" + dir + "garbage.wav\" type waveaudio alias welle", 8},
      {"open \"" + dir + "empty.wav\" type waveaudio alias welle", 8},
      {"open \"" + riffOnly.string() + "\" type waveaudio alias welle", 8},
      {"open \"" + dir + "garbage.mp3\" alias mp3", 8},
      {"open \"" + dir + "good.wav\" type mpegvideo alias mp3", 8},
      {"open \"" + dir + "notes.txt\" alias x", 4},
      {"open \"" + dir + "good.wav\" type videodisc alias x", 4},
      {"open \"" + dir + "good.wav\" type waveaudio alias satz", 6},
      {"open \"" + dir + "good.wav\" type waveaudio alias", 2},
      {"open \"" + dir + "good.wav", 19},
      {"open new type waveaudio alias test", 6},
      {"open mp3 alias mp3", 2},
      {"open new type cdaudio alias x", 13},
      {"open \"" + dir + "\" type waveaudio alias dir", 7},
      {"open \"" + dir + "good.wav\" type waveaudio alias all", 3},
      {"play welle from 0", 5},
      {"status nowhere mode", 5},
      {"close never", 5},
      {"play", 2},
      {"play satz from", 2},
      {"play satz from x", 3},
      {"play satz from 999999", 15},
      {"play satz from -5", 3},
      {"play satz backwards", 3},
      {"status satz", 2},
      {"status satz colour", 3},
      {"status satz mode now", 3},
      {"seek satz", 2},
      {"seek satz to", 2},
      {"seek satz to 10000000", 15},
      {"seek satz somewhere", 3},
      {"record satz", 13},
      {"save satz \"" + dir + "x.wav\"", 13},
      {"save test", 2},
      {"set satz bitspersample 16", 13},
      {"set satz time format tmsf", 3},
      {"set test", 2},
      {"set test channels 0", 9},
      {"set test bitspersample 1", 9},
      {"set test bitspersample 12", 9},
      {"set test samplespersec 10000000", 9},
      {"set test samplespersec 0", 9},
      {"set test channels 99999999999999999999", 3},
      {"set test bitspersample 16 channels 1 alignment 4", 9},
      {"set test bitspersample 8 channels 1 samplespersec 11025 bytespersec 22050", 9},
      {"set test formattag mpeg", 9},
      {"set test volume 5", 3},
      {"set test time format tmsf", 3},
      {"stop satz now", 3},
      {std::string(5000, 'a'), 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command.substr(0, 120));
    EXPECT_EQ(send(c.command), "Error" + std::to_string(c.code));
  }
  expectReplies({
      {"status satz mode", "playing"},
      {"status test mode", "stopped"},
      {"status test bitspersample", "8"},  // refused formats changed nothing
      {"status test samplespersec", "11025"},
  });
  m_clock.advanceMs(1000);
  EXPECT_EQ(send("status satz position"), "1000");
  EXPECT_EQ(m_service->aliases(), (std::vector<std::string>{"satz", "test"}));
}

TEST_F(MediaServiceTest, CloseAllReleasesEveryAlias) {
  const auto file = zek::test::writeTone(m_dir.path() / "a.wav", 8000, 1, SF_FORMAT_PCM_16, 1.0);
  playWave("welle", file);
  send("open new type waveaudio alias test");
  EXPECT_EQ(send("close all"), "");
  EXPECT_TRUE(m_service->aliases().empty());
}

}  // namespace

namespace {

// The real libcdio path: on a machine without a drive the open fails with its code;
// where a drive exists, the probe of track 2 answers without an exception or a crash.
TEST(MediaCdSystemTest, SystemDriveOpensOrReportsNoDrive) {
  TManualClock clock;
  TMediaService::TOptions options;
  options.backend = makeNullAudioBackend(clock);
  TMediaService service(std::move(options));
  const TMediaReply open = service.execute("open cdaudio alias cd");
  if (open.failed()) {
    EXPECT_EQ(open.error, TMediaError::NoCdDrive);
    EXPECT_EQ(service.execute("status cd type track 2").error, TMediaError::NotOpen);
    return;
  }
  const TMediaReply type = service.execute("status cd type track 2");
  EXPECT_TRUE(type.text == "audio" || type.text == "other" || type.error == TMediaError::NotReady ||
              type.error == TMediaError::NoSuchTrack);
  EXPECT_FALSE(service.execute("close cd").failed());
}

}  // namespace
