#include "lab/media/tqtaudio.h"

#include "lab/media/pcmconvert.h"
#include "lab/media/taudiobackend.h"
#include "lab/media/treadaheadsource.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QAudioSource>
#include <QMediaDevices>

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

TSourceIo::TSourceIo(std::unique_ptr<TPcmSource> source, QAudioFormat deviceFormat)
    : m_raw(std::move(source)), m_format(deviceFormat) {}

std::unique_ptr<TPcmSource> TSourceIo::takeUnread() { return std::move(m_raw); }

void TSourceIo::prepare() {
  std::unique_ptr<TPcmSource> source = std::move(m_raw);
  const TPcmFormat device{m_format.sampleRate(), m_format.channelCount()};
  if (source->format() != device) source = std::make_unique<TConvertingSource>(std::move(source), device);
  m_pipeline = std::make_unique<TReadAheadSource>(std::move(source));
}

qint64 TSourceIo::readData(char* data, qint64 maxSize) {
  if (!m_pipeline) {
    if (!m_raw) return 0;
    prepare();
  }
  const int frameBytes = m_format.bytesPerFrame();
  const auto frames = static_cast<std::size_t>(maxSize / std::max(1, frameBytes));
  if (frames == 0) return 0;
  const auto ch = static_cast<std::size_t>(m_format.channelCount());
  m_scratch.resize(frames * ch);
  const std::size_t got = m_pipeline->read(m_scratch.data(), frames);
  if (got == 0 && m_pipeline->atEnd()) m_drained = true;
  floatsToQt(m_scratch.data(), got * ch, m_format.sampleFormat(), data);
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
  std::int64_t playedFrames() override { return m_sink->processedUSecs() * m_rate / 1'000'000; }
  bool finished() override {
    if (m_sink->error() != QAudio::NoError && m_sink->error() != QAudio::UnderrunError) return true;
    return m_io->drained() && m_sink->state() != QAudio::ActiveState && m_sink->state() != QAudio::SuspendedState;
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
  void take(std::vector<float>& out) override {
    drain();
    out.insert(out.end(), m_pending.begin(), m_pending.end());
    m_pending.clear();
  }
  void pause() override { m_source->suspend(); }
  void resume() override { m_source->resume(); }

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
};

class TDefaultBackend final : public TAudioBackend {
 public:
  TDefaultBackend() : m_null(makeNullAudioBackend(m_clock)) {
    const char* env = std::getenv("ZEK_AUDIO");
    m_forceNull = env && std::string(env) == "null";
  }

  std::unique_ptr<TPlaybackStream> play(std::unique_ptr<TPcmSource> source, std::string& error) override {
    if (!m_forceNull && !QMediaDevices::audioOutputs().isEmpty()) {
      const QAudioDevice device = QMediaDevices::defaultAudioOutput();
      const TPcmFormat wanted = source->format();
      const QAudioFormat format = chooseFormat(device, wanted, QAudioFormat::Float);
      auto io = std::make_unique<TSourceIo>(std::move(source), format);
      io->open(QIODevice::ReadOnly);
      auto sink = std::make_unique<QAudioSink>(device, format);
      sink->setBufferSize(format.bytesForDuration(200'000));
      sink->start(io.get());
      if (sink->error() == QAudio::NoError && sink->state() != QAudio::StoppedState) {
        m_lastName = "qt";
        return std::make_unique<TQtPlayback>(std::move(sink), std::move(io), wanted.rate);
      }
      sink->stop();
      sink.reset();
      source = io->takeUnread();
      if (!source) {
        error = "device failed after reading";
        return nullptr;
      }
    }
    m_lastName = "null";
    return m_null->play(std::move(source), error);
  }

  std::unique_ptr<TCaptureStream> record(TPcmFormat wanted, std::string& error) override {
    if (!m_forceNull && !QMediaDevices::audioInputs().isEmpty()) {
      const QAudioDevice device = QMediaDevices::defaultAudioInput();
      const QAudioFormat format = chooseFormat(device, wanted, QAudioFormat::Int16);
      auto capture = std::make_unique<TQtCapture>(std::make_unique<QAudioSource>(device, format));
      if (capture->start()) return capture;
    }
    return m_null->record(wanted, error);
  }

  std::string name() const override { return m_lastName; }

 private:
  TSteadyMediaClock m_clock;
  std::unique_ptr<TAudioBackend> m_null;
  bool m_forceNull = false;
  std::string m_lastName = "auto";
};

}  // namespace

std::unique_ptr<TAudioBackend> makeDefaultAudioBackend() { return std::make_unique<TDefaultBackend>(); }
