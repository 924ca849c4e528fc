// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/tmediaservice.h"

#include "tests/common/testutil.h"
#include "tests/media/mediatestutil.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdlib>

namespace {

// The real device path against a private PulseAudio with a null sink and source on its
// own socket; skipped where pulseaudio is not installed.
class QtAudioTest : public ::testing::Test {
 protected:
  // One server for the suite: Qt connects to a sound server once per process.
  static void SetUpTestSuite() {
    const QString daemon = QStandardPaths::findExecutable("pulseaudio");
    if (daemon.isEmpty()) {
      s_skip = "pulseaudio is not installed";
      return;
    }
    s_dir = new zek::test::TempDir("zek-pulse");
    const QString dir = QString::fromStdString(s_dir->path().string());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_RUNTIME_DIR", "PULSE_RUNTIME_PATH", "PULSE_STATE_PATH"}) env.insert(name, dir);
    s_server = new QProcess;
    s_server->setProcessEnvironment(env);
    s_server->setProgram(daemon);
    s_server->setArguments({"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--disallow-exit",
                            "-L", "module-native-protocol-unix socket=" + dir + "/native auth-anonymous=1",
                            "-L", "module-null-sink sink_name=zeksink", "-L", "module-null-source source_name=zeksrc"});
    s_server->setStandardOutputFile(QProcess::nullDevice());
    s_server->setStandardErrorFile(QProcess::nullDevice());
    s_server->start();
    if (!s_server->waitForStarted(5000)) {
      s_skip = "pulseaudio did not start";
      return;
    }
    for (int i = 0; i < 100 && !std::filesystem::exists(s_dir->path() / "native"); ++i) QThread::msleep(50);
    setenv("PULSE_SERVER", ("unix:" + s_dir->path().string() + "/native").c_str(), 1);
    if (!waitFor([] { return !QMediaDevices::audioOutputs().isEmpty(); }, 5000)) {
      s_skip = "Qt found no device on the private sound server";
    }
  }
  static void TearDownTestSuite() {
    if (s_server) {
      s_server->terminate();
      if (!s_server->waitForFinished(3000)) s_server->kill();
      s_server->waitForFinished(3000);
      delete s_server;
      s_server = nullptr;
    }
    delete s_dir;
    s_dir = nullptr;
  }
  void SetUp() override {
    if (!s_skip.empty()) GTEST_SKIP() << s_skip;
    const char* before = std::getenv("ZEK_AUDIO");
    const std::string saved = before ? before : "";
    unsetenv("ZEK_AUDIO");
    m_service = std::make_unique<TMediaService>();
    if (before) setenv("ZEK_AUDIO", saved.c_str(), 1);
  }
  void TearDown() override { m_service.reset(); }
  static bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
      if (timer.elapsed() > ms) return false;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      QThread::msleep(10);
    }
    return true;
  }
  std::string send(const std::string& command) {
    const TMediaReply r = m_service->execute(command);
    return r.failed() ? "Error" + std::to_string(static_cast<int>(r.error)) : r.text;
  }

  static inline std::string s_skip;
  static inline zek::test::TempDir* s_dir = nullptr;
  static inline QProcess* s_server = nullptr;
  zek::test::TempDir m_dir{"zek-qtaudio"};
  std::unique_ptr<TMediaService> m_service;
};

TEST_F(QtAudioTest, WavePlaysOnTheDeviceToItsEnd) {
  // 11025 Hz 8-bit: a format the device converts.
  const auto file = zek::test::writeTone(m_dir.path() / "word.wav", 11025, 1, SF_FORMAT_PCM_U8, 0.5);
  ASSERT_EQ(send("open \"" + file.string() + "\" type waveaudio alias welle"), "");
  ASSERT_EQ(send("play welle from 0"), "");
  EXPECT_EQ(m_service->backend().name(), "qt");
  EXPECT_EQ(send("status welle mode"), "playing");
  // The null sink may take a second to wake up; the end must come all the same.
  EXPECT_TRUE(waitFor([&] { return send("status welle mode") == "stopped"; }, 15000));
  EXPECT_EQ(send("status welle position"), "500");
  EXPECT_EQ(send("close welle"), "");
}

TEST_F(QtAudioTest, RecordingFromTheDeviceIsSavedInTheRequestedFormat) {
  ASSERT_EQ(send("open new type waveaudio alias test"), "");
  ASSERT_EQ(send("set test bitspersample 16 channels 2 alignment 4 samplespersec 22050 bytespersec 88200"), "");
  ASSERT_EQ(send("record test"), "");
  EXPECT_EQ(m_service->backend().name(), "qt");
  QElapsedTimer timer;
  timer.start();
  waitFor([] { return false; }, 600);
  EXPECT_EQ(send("status test mode"), "recording");
  ASSERT_EQ(send("stop test"), "");
  const int length = std::stoi(send("status test length"));
  EXPECT_LE(length, timer.elapsed() + 100);  // never longer than it ran
  const auto target = m_dir.path() / "take.wav";
  ASSERT_EQ(send("save test \"" + target.string() + "\""), "");
  const zek::test::TWaveHeader h = zek::test::readWaveHeader(target);
  ASSERT_TRUE(h.valid);
  EXPECT_EQ(h.bits, 16);
  EXPECT_EQ(h.channels, 2);
  EXPECT_EQ(h.rate, 22050);
  EXPECT_EQ(h.dataBytes % 4, 0u);
}

}  // namespace
