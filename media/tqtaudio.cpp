// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/tqtaudio.h"

#include "media/pcmconvert.h"
#include "media/taudiobackend.h"
#include "media/treadaheadsource.h"
#include "platform/messages.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QAudioSource>
#include <QMediaDevices>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

void floatsToQt(const float* in, std::size_t count, QAudioFormat::SampleFormat format, char* out) {
  for (std::size_t i = 0; i < count; ++i) {
    const float v = std::clamp(in[i], -1.f, 1.f);
    switch (format) {
      case QAudioFormat::UInt8: out[i] = static_cast<char>(std::clamp<long>(std::lrint(v * 128.f) + 128, 0, 255)); break;
      case QAudioFormat::Int16: {
        const auto s = static_cast<std::int16_t>(std::clamp<long>(std::lrint(v * 32768.f), -32768, 32767));
        std::memcpy(out + i * 2, &s, 2);
        break;
      }
      case QAudioFormat::Int32: {
        const auto s = static_cast<std::int32_t>(std::clamp<long long>(std::llrint(v * 2147483648.0), INT32_MIN, INT32_MAX));
        std::memcpy(out + i * 4, &s, 4);
        break;
      }
      default: std::memcpy(out + i * 4, &v, 4); break;
    }
  }
}

void qtToFloats(const char* in, std::size_t bytes, QAudioFormat::SampleFormat format, std::vector<float>& out) {
  switch (format) {
    case QAudioFormat::UInt8:
      for (std::size_t i = 0; i < bytes; ++i) out.push_back((static_cast<unsigned char>(in[i]) - 128) / 128.f);
      break;
    case QAudioFormat::Int16:
      for (std::size_t i = 0; i + 2 <= bytes; i += 2) {
        std::int16_t s;
        std::memcpy(&s, in + i, 2);
        out.push_back(s / 32768.f);
      }
      break;
    case QAudioFormat::Int32:
      for (std::size_t i = 0; i + 4 <= bytes; i += 4) {
        std::int32_t s;
        std::memcpy(&s, in + i, 4);
        out.push_back(static_cast<float>(s / 2147483648.0));
      }
      break;
    default:
      for (std::size_t i = 0; i + 4 <= bytes; i += 4) {
        float s;
        std::memcpy(&s, in + i, 4);
        out.push_back(s);
      }
      break;
  }
}

TSourceIo::TSourceIo(std::unique_ptr<TPcmSource> source, QAudioFormat deviceFormat) : m_format(deviceFormat) {
  const TPcmFormat device{m_format.sampleRate(), m_format.channelCount()};
  if (source->format() != device) source = std::make_unique<TConvertingSource>(std::move(source), device);
  m_pipeline = std::make_unique<TReadAheadSource>(std::move(source));
  // A moment for the first frames, so that the sink's first read finds them.
  m_pipeline->waitReady(std::chrono::milliseconds(100));
}

TSourceIo::~TSourceIo() = default;

qint64 TSourceIo::bytesAvailable() const {
  return m_drained ? QIODevice::bytesAvailable() : QIODevice::bytesAvailable() + (1 << 20);
}

qint64 TSourceIo::readData(char* data, qint64 maxSize) {
  const int frameBytes = m_format.bytesPerFrame();
  const auto frames = static_cast<std::size_t>(maxSize / std::max(1, frameBytes));
  if (frames == 0 || m_drained) return 0;
  const auto ch = static_cast<std::size_t>(m_format.channelCount());
  m_scratch.resize(frames * ch);
  std::size_t got = m_pipeline->read(m_scratch.data(), frames);
  if (got == 0 && m_pipeline->atEnd()) {
    m_drained = true;
    m_drainedAt = std::chrono::steady_clock::now();
    return 0;
  }
  if (got < frames && !m_pipeline->atEnd()) {
    // The decoder fell behind (a slow disc): play silence rather than let the sink
    // stop pulling.
    std::fill(m_scratch.begin() + static_cast<std::ptrdiff_t>(got * ch), m_scratch.end(), 0.f);
    got = frames;
  }
  floatsToQt(m_scratch.data(), got * ch, m_format.sampleFormat(), data);
  m_delivered += static_cast<std::int64_t>(got);
  return static_cast<qint64>(got) * frameBytes;
}

namespace {

QAudioFormat chooseFormat(const QAudioDevice& device, TPcmFormat wanted, QAudioFormat::SampleFormat first) {
  QAudioFormat format;
  format.setSampleRate(wanted.rate);
  format.setChannelCount(wanted.channels);
  for (auto sample : {first, QAudioFormat::Int16, QAudioFormat::Float}) {
    format.setSampleFormat(sample);
    if (device.isFormatSupported(format)) return format;
  }
  return device.preferredFormat();
}

class TQtPlayback final : public TPlaybackStream {
 public:
  TQtPlayback(std::unique_ptr<QAudioSink> sink, std::unique_ptr<TSourceIo> io, int sourceRate)
      : m_io(std::move(io)), m_sink(std::move(sink)), m_rate(sourceRate) {}
  ~TQtPlayback() override {
    m_sink->stop();
    m_sink.reset();
  }
  std::int64_t playedFrames() override {
    const std::int64_t delivered = m_io->deliveredUsecs();
    const std::int64_t us = finished() ? delivered : std::min<std::int64_t>(m_sink->processedUSecs(), delivered);
    return us * m_rate / 1'000'000;
  }
  bool finished() override {
    if (m_sink->error() != QAudio::NoError && m_sink->error() != QAudio::UnderrunError) return true;
    if (!m_io->drained() || m_sink->state() == QAudio::ActiveState || m_sink->state() == QAudio::SuspendedState) {
      return false;
    }
    // The source is done; the device still plays what it buffered. Its clock is not
    // always exact to the end, so a short grace period ends the wait.
    return m_sink->processedUSecs() + 20'000 >= m_io->deliveredUsecs() ||
           std::chrono::steady_clock::now() - m_io->drainedAt() > std::chrono::milliseconds(250);
  }
  void pause() override { m_sink->suspend(); }
  void resume() override { m_sink->resume(); }

 private:
  std::unique_ptr<TSourceIo> m_io;  // outlives the sink that reads it
  std::unique_ptr<QAudioSink> m_sink;
  int m_rate;
};

class TQtCapture final : public TCaptureStream {
 public:
  explicit TQtCapture(std::unique_ptr<QAudioSource> source) : m_source(std::move(source)) {
    m_format = m_source->format();
    m_started = std::chrono::steady_clock::now();
  }
  bool start() {
    m_io = m_source->start();
    if (!m_io || m_source->error() != QAudio::NoError) return false;
    // Drain on every signal, so nothing is lost while nobody polls.
    QObject::connect(m_io, &QIODevice::readyRead, m_io, [this] { drain(); });
    return true;
  }
  ~TQtCapture() override { m_source->stop(); }
  TPcmFormat format() const override { return {m_format.sampleRate(), m_format.channelCount()}; }
  void take(std::vector<float>& out, std::int64_t maxFrames) override {
    drain();
    // Some sources hand over a burst of buffered frames at the start; a take never
    // holds more than the time it ran (plus a little slack).
    const auto ch = static_cast<std::size_t>(std::max(1, m_format.channelCount()));
    const auto running = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - m_started -
                                                                               m_pausedFor);
    const std::int64_t allowed = (running.count() + 50'000) * m_format.sampleRate() / 1'000'000 - m_delivered;
    std::size_t frames = m_pending.size() / ch;
    std::size_t skip = 0;
    if (static_cast<std::int64_t>(frames) > allowed) skip = frames - static_cast<std::size_t>(std::max<std::int64_t>(0, allowed));
    const std::size_t keep = std::min(frames - skip, static_cast<std::size_t>(std::max<std::int64_t>(0, maxFrames)));
    const auto first = m_pending.begin() + static_cast<std::ptrdiff_t>(skip * ch);
    out.insert(out.end(), first, first + static_cast<std::ptrdiff_t>(keep * ch));
    m_delivered += static_cast<std::int64_t>(frames - skip);
    m_pending.clear();
  }
  void pause() override {
    m_source->suspend();
    m_pausedAt = std::chrono::steady_clock::now();
  }
  void resume() override {
    m_source->resume();
    m_pausedFor += std::chrono::steady_clock::now() - m_pausedAt;
  }

 private:
  void drain() {
    if (!m_io) return;
    const QByteArray bytes = m_io->readAll();
    qtToFloats(bytes.constData(), static_cast<std::size_t>(bytes.size()), m_format.sampleFormat(), m_pending);
  }

  std::unique_ptr<QAudioSource> m_source;
  QIODevice* m_io = nullptr;  // owned by m_source
  QAudioFormat m_format;
  std::vector<float> m_pending;
  std::chrono::steady_clock::time_point m_started, m_pausedAt;
  std::chrono::steady_clock::duration m_pausedFor{};
  std::int64_t m_delivered = 0;
};

const char* const kMsgNoOutput =
    "Es wurde keine Tonausgabe gefunden.\n\nBitte schlie\xDF" "en Sie Lautsprecher oder Kopfh\xF6rer an. Bis dahin "
    "bleibt es still.";

class TDefaultBackend final : public TAudioBackend {
 public:
  TDefaultBackend() : m_null(makeNullAudioBackend(m_clock)) {
    const char* env = std::getenv("ZEK_AUDIO");
    m_forceNull = env && std::string(env) == "null";
  }

  std::unique_ptr<TPlaybackStream> play(const TSourceMaker& make, std::string& error) override {
    if (!m_forceNull && !QMediaDevices::audioOutputs().isEmpty()) {
      std::unique_ptr<TPcmSource> source = make();
      if (!source) {
        error = "no source";
        return nullptr;
      }
      const QAudioDevice device = QMediaDevices::defaultAudioOutput();
      const TPcmFormat wanted = source->format();
      const QAudioFormat format = chooseFormat(device, wanted, QAudioFormat::Float);
      auto io = std::make_unique<TSourceIo>(std::move(source), format);
      io->open(QIODevice::ReadOnly);
      auto sink = std::make_unique<QAudioSink>(device, format);
      // Half a second covers a busy GUI thread; stop stays immediate.
      sink->setBufferSize(format.bytesForDuration(500'000));
      sink->start(io.get());
      if (sink->error() == QAudio::NoError && sink->state() != QAudio::StoppedState) {
        m_lastName = "qt";
        return std::make_unique<TQtPlayback>(std::move(sink), std::move(io), wanted.rate);
      }
      sink->stop();
    }
    // Silence keeps every timing as it was, but the learner is told once why he hears nothing.
    if (!m_forceNull && !m_toldNoOutput) {
      m_toldNoOutput = true;
      QTimer::singleShot(0, [] { showMessage(kMsgNoOutput, mb::Ok | mb::IconExclamation); });
    }
    m_lastName = "null";
    return m_null->play(make, error);
  }

  std::unique_ptr<TCaptureStream> record(TPcmFormat wanted, std::string& error) override {
    if (!m_forceNull && !QMediaDevices::audioInputs().isEmpty()) {
      const QAudioDevice device = QMediaDevices::defaultAudioInput();
      const QAudioFormat format = chooseFormat(device, wanted, QAudioFormat::Int16);
      auto capture = std::make_unique<TQtCapture>(std::make_unique<QAudioSource>(device, format));
      if (capture->start()) {
        m_lastName = "qt";
        return capture;
      }
    }
    // Silence in place of a microphone would let the learner talk to nothing; only a
    // null device asked for records it.
    if (!m_forceNull) {
      error = "no input device";
      return nullptr;
    }
    m_lastName = "null";
    return m_null->record(wanted, error);
  }

  std::string name() const override { return m_lastName; }

 private:
  TSteadyMediaClock m_clock;
  std::unique_ptr<TAudioBackend> m_null;
  bool m_forceNull = false;
  bool m_toldNoOutput = false;
  std::string m_lastName = "auto";
};

}  // namespace

std::unique_ptr<TAudioBackend> makeDefaultAudioBackend() { return std::make_unique<TDefaultBackend>(); }
