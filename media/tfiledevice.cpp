// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/tfiledevice.h"

#include "media/tmp3source.h"
#include "media/twavesource.h"

TFileDevice::TFileDevice(TAudioBackend& backend, std::filesystem::path path, Kind kind)
    : m_path(std::move(path)),
      m_kind(kind),
      m_player(backend, [this](std::int64_t from, std::int64_t to, TMediaError& error) -> std::unique_ptr<TPcmSource> {
        std::unique_ptr<TPcmSource> source = std::move(m_first);
        if (!source) source = openSource(error);
        if (!source) return nullptr;
        if (!source->seekFrame(from)) {
          error = TMediaError::OutOfRange;
          return nullptr;
        }
        if (to == TMediaPlayer::kNoEnd) return source;
        return std::make_unique<TLimitedSource>(std::move(source), to - from);
      }) {}

std::unique_ptr<TPcmSource> TFileDevice::openSource(TMediaError& error) const {
  if (m_kind == Kind::Mp3) return TMp3Source::openFile(m_path, error);
  return TWaveSource::openFile(m_path, error);
}

std::unique_ptr<TFileDevice> TFileDevice::open(TAudioBackend& backend, const std::filesystem::path& path, Kind kind,
                                               TMediaError& error) {
  std::unique_ptr<TFileDevice> device(new TFileDevice(backend, path, kind));
  error = TMediaError::None;
  if (kind == Kind::Mp3) {
    device->m_first = TMp3Source::openFile(path, error);
  } else {
    auto wave = TWaveSource::openFile(path, error);
    if (wave) device->m_bits = wave->bitsPerSample();
    device->m_first = std::move(wave);
  }
  if (!device->m_first) return nullptr;
  device->m_format = device->m_first->format();
  device->m_frames = device->m_first->lengthFrames();
  return device;
}

std::optional<std::int64_t> TFileDevice::parsePosition(const std::string& word) const {
  const auto ms = parseMediaNumber(word);
  if (!ms || *ms > 1'000'000'000'000) return std::nullopt;
  return toFrames(*ms);
}

TMediaReply TFileDevice::play(TMediaWordReader& args) {
  media::TRange range;
  if (const TMediaError e = media::readRange(args, range); e != TMediaError::None) return TMediaReply::fail(e);
  const auto& [from, to] = range;
  std::int64_t start = m_player.position();
  std::int64_t end = length();
  if (from) {
    const auto f = parsePosition(*from);
    if (!f) return TMediaReply::fail(TMediaError::BadParameter);
    if (*f > length()) return TMediaReply::fail(TMediaError::OutOfRange);
    start = *f;
  }
  if (to) {
    const auto t = parsePosition(*to);
    if (!t) return TMediaReply::fail(TMediaError::BadParameter);
    if (*t > length() || *t < start) return TMediaReply::fail(TMediaError::OutOfRange);
    end = *t;
  }
  if (!to && m_kind == Kind::Mp3) end = TMediaPlayer::kNoEnd;  // the length is only an estimate
  return TMediaReply::fail(m_player.play(start, end));
}

TMediaReply TFileDevice::stop() {
  m_player.stop();
  return TMediaReply::ok();
}

TMediaReply TFileDevice::pause() {
  m_player.pause();
  return TMediaReply::ok();
}

TMediaReply TFileDevice::resume() {
  m_player.resume();
  return TMediaReply::ok();
}

TMediaReply TFileDevice::seek(TMediaWordReader& args) {
  media::TSeekTarget seek;
  if (const TMediaError e = media::readSeek(args, seek); e != TMediaError::None) return TMediaReply::fail(e);
  std::int64_t target = 0;
  if (seek.kind == media::TSeekTarget::End) {
    target = m_frames < 0 ? 0 : m_frames;
  } else if (seek.kind == media::TSeekTarget::Position) {
    const auto f = parsePosition(seek.position);
    if (!f) return TMediaReply::fail(TMediaError::BadParameter);
    if (*f > length()) return TMediaReply::fail(TMediaError::OutOfRange);
    target = *f;
  }
  m_player.seek(target);
  return TMediaReply::ok();
}

TMediaReply TFileDevice::status(TMediaWordReader& args) {
  TMediaReply reply;
  if (args.accept("mode")) {
    reply.text = m_player.paused() ? "paused" : m_player.playing() ? "playing" : "stopped";
  } else if (args.accept("position")) {
    reply.text = media::number(toMs(m_player.position()));
  } else if (args.accept("length")) {
    reply.text = media::number(toMs(m_frames < 0 ? 0 : m_frames));
  } else if (args.accept("ready") || args.acceptAll({"media", "present"})) {
    reply.text = "true";
  } else if (args.acceptAll({"time", "format"})) {
    reply.text = "milliseconds";
  } else if (args.acceptAll({"number", "of", "tracks"}) || args.acceptAll({"current", "track"})) {
    reply.text = "1";
  } else if (args.accept("samplespersec")) {
    reply.text = media::number(m_format.rate);
  } else if (args.accept("channels")) {
    reply.text = media::number(m_format.channels);
  } else if (args.accept("bitspersample") && m_kind == Kind::Wave) {
    reply.text = media::number(m_bits);
  } else {
    return TMediaReply::fail(args.atEnd() ? TMediaError::MissingParameter : TMediaError::BadParameter);
  }
  return media::finish(args, std::move(reply));
}

TMediaReply TFileDevice::set(TMediaWordReader& args) {
  if (args.acceptAll({"time", "format"})) {
    if (args.accept("milliseconds") || args.accept("ms")) return media::finish(args, TMediaReply::ok());
    return TMediaReply::fail(TMediaError::BadParameter);
  }
  return TMediaReply::fail(args.atEnd() ? TMediaError::MissingParameter : TMediaError::NotSupported);
}
