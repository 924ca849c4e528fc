// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/trecorderdevice.h"

#include <algorithm>

namespace {
// Bounds for a format to make sense at all; what the device cannot do is converted.
constexpr int kMinRate = 1000, kMaxRate = 192000, kMaxChannels = 8;
// A take that runs on unattended stops at one hour, or at 256 MiB for the richest
// formats, rather than filling the memory.
constexpr std::int64_t kMaxSeconds = 3600;
constexpr std::int64_t kMaxBytes = 256ll << 20;
}  // namespace

TRecorderDevice::TRecorderDevice(TAudioBackend& backend)
    : m_backend(backend),
      m_player(backend, [this](std::int64_t from, std::int64_t to, TMediaError& error) -> std::unique_ptr<TPcmSource> {
        auto source = m_recording.source();
        if (!source->seekFrame(from)) {
          error = TMediaError::OutOfRange;
          return nullptr;
        }
        return std::make_unique<TLimitedSource>(std::move(source), to - from);
      }) {}

TRecorderDevice::~TRecorderDevice() = default;

std::optional<std::int64_t> TRecorderDevice::parsePosition(const std::string& word) const {
  const auto ms = parseMediaNumber(word);
  if (!ms || *ms > kMaxSeconds * 1000) return std::nullopt;
  return toFrames(*ms);
}

void TRecorderDevice::pump() {
  if (!m_capture) return;
  const TRecordingFormat& f = m_recording.format();
  const std::int64_t limit = std::min({m_recordEnd, kMaxSeconds * f.rate, kMaxBytes / f.blockAlign()});
  const TPcmFormat captured = m_capture->format();
  // A second at a time, so that a long unpolled stretch never needs one huge buffer.
  while (m_recording.frames() < limit) {
    // Room left in the take, in the device's frames (one spare for the resampler).
    const std::int64_t room = (limit - m_recording.frames()) * captured.rate / f.rate + 1;
    m_captured.clear();
    m_capture->take(m_captured, std::min<std::int64_t>(room, captured.rate));
    if (m_captured.empty()) break;
    m_converted.clear();
    m_resampler->process(m_captured.data(), m_captured.size() / static_cast<std::size_t>(captured.channels), m_converted);
    m_recording.append(m_converted.data(), m_converted.size());
  }
  if (m_recording.frames() >= limit) {
    m_recording.truncate(limit);
    m_capture.reset();
    m_player.seek(m_recording.frames());
  }
}

void TRecorderDevice::finishRecording() {
  if (!m_capture) return;
  pump();
  m_capture.reset();
  m_player.seek(m_recording.frames());
}

std::int64_t TRecorderDevice::position() {
  if (m_capture) {
    pump();
    return m_recording.frames();
  }
  return m_player.position();
}

TMediaReply TRecorderDevice::record(TMediaWordReader& args) {
  media::TRange range;
  if (const TMediaError e = media::readRange(args, range, {"insert", "overwrite"}); e != TMediaError::None) {
    return TMediaReply::fail(e);
  }
  const auto& [from, to] = range;
  finishRecording();
  m_player.stop();
  std::int64_t start = m_player.position();
  if (from) {
    const auto f = parsePosition(*from);
    if (!f) return TMediaReply::fail(TMediaError::BadParameter);
    if (*f > m_recording.frames()) return TMediaReply::fail(TMediaError::OutOfRange);
    start = *f;
  }
  std::int64_t end = TMediaPlayer::kNoEnd;
  if (to) {
    const auto t = parsePosition(*to);
    if (!t) return TMediaReply::fail(TMediaError::BadParameter);
    if (*t <= start) return TMediaReply::fail(TMediaError::OutOfRange);
    end = *t;
  }
  const TRecordingFormat& f = m_recording.format();
  std::string deviceError;
  m_capture = m_backend.record({f.rate, f.channels}, deviceError);
  if (!m_capture) return TMediaReply::fail(TMediaError::NoAudioDevice);
  m_resampler = std::make_unique<TResampler>(m_capture->format(), TPcmFormat{f.rate, f.channels});
  // Recording from a position replaces everything after it.
  m_recording.truncate(start);
  m_recordEnd = end;
  m_capturePaused = false;
  return TMediaReply::ok();
}

TMediaReply TRecorderDevice::play(TMediaWordReader& args) {
  media::TRange range;
  if (const TMediaError e = media::readRange(args, range); e != TMediaError::None) return TMediaReply::fail(e);
  const auto& [from, to] = range;
  finishRecording();
  std::int64_t start = position();
  std::int64_t end = m_recording.frames();
  if (from) {
    const auto f = parsePosition(*from);
    if (!f) return TMediaReply::fail(TMediaError::BadParameter);
    if (*f > end) return TMediaReply::fail(TMediaError::OutOfRange);
    start = *f;
  }
  if (to) {
    const auto t = parsePosition(*to);
    if (!t) return TMediaReply::fail(TMediaError::BadParameter);
    if (*t > m_recording.frames() || *t < start) return TMediaReply::fail(TMediaError::OutOfRange);
    end = *t;
  }
  return TMediaReply::fail(m_player.play(std::min(start, end), end));
}

TMediaReply TRecorderDevice::stop() {
  finishRecording();
  m_player.stop();
  return TMediaReply::ok();
}

TMediaReply TRecorderDevice::pause() {
  if (m_capture) {
    pump();
    if (m_capture) m_capture->pause();
    m_capturePaused = m_capture != nullptr;
  } else {
    m_player.pause();
  }
  return TMediaReply::ok();
}

TMediaReply TRecorderDevice::resume() {
  if (m_capture && m_capturePaused) {
    m_capture->resume();
    m_capturePaused = false;
  } else {
    m_player.resume();
  }
  return TMediaReply::ok();
}

TMediaReply TRecorderDevice::seek(TMediaWordReader& args) {
  media::TSeekTarget seek;
  if (const TMediaError e = media::readSeek(args, seek); e != TMediaError::None) return TMediaReply::fail(e);
  std::int64_t target = 0;
  if (seek.kind == media::TSeekTarget::Position) {
    const auto f = parsePosition(seek.position);
    if (!f) return TMediaReply::fail(TMediaError::BadParameter);
    target = *f;
  }
  finishRecording();
  m_player.stop();
  if (seek.kind == media::TSeekTarget::End) target = m_recording.frames();
  if (target > m_recording.frames()) return TMediaReply::fail(TMediaError::OutOfRange);
  m_player.seek(target);
  return TMediaReply::ok();
}

TMediaReply TRecorderDevice::status(TMediaWordReader& args) {
  const TRecordingFormat& f = m_recording.format();
  TMediaReply reply;
  if (args.accept("mode")) {
    if (m_capture) {
      pump();
      reply.text = !m_capture ? "stopped" : m_capturePaused ? "paused" : "recording";
    } else {
      reply.text = m_player.paused() ? "paused" : m_player.playing() ? "playing" : "stopped";
    }
  } else if (args.accept("position")) {
    reply.text = media::number(toMs(position()));
  } else if (args.accept("length")) {
    pump();
    reply.text = media::number(toMs(m_recording.frames()));
  } else if (args.accept("bitspersample")) {
    reply.text = media::number(f.bits);
  } else if (args.accept("channels")) {
    reply.text = media::number(f.channels);
  } else if (args.accept("samplespersec")) {
    reply.text = media::number(f.rate);
  } else if (args.accept("bytespersec")) {
    reply.text = media::number(f.bytesPerSecond());
  } else if (args.accept("alignment")) {
    reply.text = media::number(f.blockAlign());
  } else if (args.accept("formattag")) {
    reply.text = "pcm";
  } else if (args.accept("ready") || args.acceptAll({"media", "present"})) {
    reply.text = "true";
  } else if (args.acceptAll({"time", "format"})) {
    reply.text = "milliseconds";
  } else {
    return TMediaReply::fail(args.atEnd() ? TMediaError::MissingParameter : TMediaError::BadParameter);
  }
  return media::finish(args, std::move(reply));
}

TMediaReply TRecorderDevice::set(TMediaWordReader& args) {
  TRecordingFormat f = m_recording.format();
  std::optional<std::int64_t> alignment, bytesPerSecond;
  bool formatChanged = false;
  if (args.atEnd()) return TMediaReply::fail(TMediaError::MissingParameter);
  while (!args.atEnd()) {
    media::skipFlags(args);
    if (args.atEnd()) break;
    if (args.acceptAll({"time", "format"})) {
      if (!args.accept("milliseconds") && !args.accept("ms")) return TMediaReply::fail(TMediaError::BadParameter);
      continue;
    }
    if (args.accept("formattag")) {
      const TMediaWord* w = args.next();
      if (!w) return TMediaReply::fail(TMediaError::MissingParameter);
      if (w->text != "pcm" && w->text != "1") return TMediaReply::fail(TMediaError::BadFormat);
      continue;
    }
    const TMediaWord* key = args.next();
    const TMediaWord* value = args.next();
    if (key->quoted) return TMediaReply::fail(TMediaError::BadParameter);
    if (!value) return TMediaReply::fail(TMediaError::MissingParameter);
    const auto n = parseMediaNumber(value->text);
    if (!n) return TMediaReply::fail(TMediaError::BadParameter);
    if (key->text == "bitspersample") {
      if (!isPcmBits(static_cast<int>(std::min<std::int64_t>(*n, 64)))) return TMediaReply::fail(TMediaError::BadFormat);
      f.bits = static_cast<int>(*n);
    } else if (key->text == "channels") {
      if (*n < 1 || *n > kMaxChannels) return TMediaReply::fail(TMediaError::BadFormat);
      f.channels = static_cast<int>(*n);
    } else if (key->text == "samplespersec") {
      if (*n < kMinRate || *n > kMaxRate) return TMediaReply::fail(TMediaError::BadFormat);
      f.rate = static_cast<int>(*n);
    } else if (key->text == "alignment") {
      alignment = *n;
    } else if (key->text == "bytespersec") {
      bytesPerSecond = *n;
    } else {
      return TMediaReply::fail(TMediaError::BadParameter);
    }
    formatChanged = true;
  }
  // Alignment and byte rate follow from the rest; values that contradict it are refused
  // rather than silently recording something else.
  if ((alignment && *alignment != f.blockAlign()) || (bytesPerSecond && *bytesPerSecond != f.bytesPerSecond())) {
    return TMediaReply::fail(TMediaError::BadFormat);
  }
  if (formatChanged && !(f == m_recording.format())) {
    if (m_capture) return TMediaReply::fail(TMediaError::Busy);
    m_recording.setFormat(f);
    m_player.seek(0);
  }
  return TMediaReply::ok();
}

TMediaReply TRecorderDevice::save(const std::filesystem::path& target) {
  finishRecording();
  return TMediaReply::fail(m_recording.save(target));
}
