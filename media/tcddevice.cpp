// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/tcddevice.h"

#include <cstdio>
#include <string>

namespace {
constexpr std::int64_t kFps = TCdDrive::kFramesPerSector;

std::vector<std::int64_t> splitColons(const std::string& text) {
  std::vector<std::int64_t> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t colon = text.find(':', start);
    const auto n = parseMediaNumber(text.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
    if (!n || *n > 1'000'000) return {};
    parts.push_back(*n);
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return parts;
}
}  // namespace

TCdDevice::TCdDevice(TAudioBackend& backend, std::unique_ptr<TCdDrive> drive)
    : m_drive(std::move(drive)),
      m_player(backend, [this](std::int64_t from, std::int64_t to, TMediaError& error) -> std::unique_ptr<TPcmSource> {
        auto source = m_drive->open(static_cast<std::int32_t>(from / kFps), static_cast<std::int32_t>((to + kFps - 1) / kFps));
        if (!source) error = TMediaError::NotReady;
        return source;
      }) {}

std::int32_t TCdDevice::firstAudioSector() {
  for (int t = m_drive->firstTrack(); t <= m_drive->lastTrack(); ++t) {
    if (m_drive->isAudioTrack(t)) return m_drive->trackStart(t);
  }
  return endSector();
}

int TCdDevice::trackAt(std::int32_t sector) {
  int track = m_drive->firstTrack();
  for (int t = m_drive->firstTrack(); t <= m_drive->lastTrack(); ++t) {
    if (m_drive->trackStart(t) <= sector) track = t;
  }
  return track;
}

std::int64_t TCdDevice::audioEnd(std::int64_t from) {
  const int first = trackAt(static_cast<std::int32_t>(from / kFps));
  for (int t = first + 1; t <= m_drive->lastTrack(); ++t) {
    if (!m_drive->isAudioTrack(t)) return m_drive->trackStart(t) * kFps;
  }
  return endSector() * kFps;
}

std::int64_t TCdDevice::currentFrame() {
  if (m_moved) return m_player.position();
  return firstAudioSector() * kFps;
}

std::string TCdDevice::formatPosition(std::int64_t frame) {
  if (m_timeFormat == TimeFormat::Milliseconds) return media::number(frame * 1000 / 44100);
  const auto sector = static_cast<std::int32_t>(frame / kFps);
  const int track = trackAt(sector);
  const std::int64_t within = sector - m_drive->trackStart(track);
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02lld:%02lld:%02lld", track, static_cast<long long>(within / (75 * 60)),
                static_cast<long long>(within / 75 % 60), static_cast<long long>(within % 75));
  return text;
}

std::optional<std::int64_t> TCdDevice::parsePosition(const std::string& word) {
  if (m_timeFormat == TimeFormat::Milliseconds) {
    const auto ms = parseMediaNumber(word);
    if (!ms || *ms > 100'000'000) return std::nullopt;
    return *ms * 44100 / 1000;
  }
  const std::vector<std::int64_t> p = splitColons(word);
  if (p.empty() || p.size() > 4) return std::nullopt;
  const int track = static_cast<int>(p[0]);
  if (track < m_drive->firstTrack() || track > m_drive->lastTrack()) return std::nullopt;
  const std::int64_t minutes = p.size() > 1 ? p[1] : 0, seconds = p.size() > 2 ? p[2] : 0, frames = p.size() > 3 ? p[3] : 0;
  return (m_drive->trackStart(track) + (minutes * 60 + seconds) * 75 + frames) * kFps;
}

TMediaReply TCdDevice::play(TMediaWordReader& args) {
  if (!ready()) return TMediaReply::fail(TMediaError::NotReady);
  media::TRange range;
  if (const TMediaError e = media::readRange(args, range); e != TMediaError::None) return TMediaReply::fail(e);
  const auto& [from, to] = range;
  std::int64_t start = currentFrame();
  if (from) {
    const auto f = parsePosition(*from);
    if (!f) return TMediaReply::fail(TMediaError::BadParameter);
    start = *f;
  }
  const std::int64_t discEnd = endSector() * kFps;
  if (start >= discEnd) return TMediaReply::fail(TMediaError::OutOfRange);
  // A data track is not music: start at the next audio track.
  while (!m_drive->isAudioTrack(trackAt(static_cast<std::int32_t>(start / kFps)))) {
    const int next = trackAt(static_cast<std::int32_t>(start / kFps)) + 1;
    if (next > m_drive->lastTrack()) return TMediaReply::fail(TMediaError::NoSuchTrack);
    start = m_drive->trackStart(next) * kFps;
  }
  std::int64_t end = audioEnd(start);
  if (to) {
    const auto t = parsePosition(*to);
    if (!t) return TMediaReply::fail(TMediaError::BadParameter);
    if (*t < start || *t > discEnd) return TMediaReply::fail(TMediaError::OutOfRange);
    end = std::min(end, *t);
  }
  m_moved = true;
  return TMediaReply::fail(m_player.play(start, end));
}

TMediaReply TCdDevice::stop() {
  m_player.stop();
  return TMediaReply::ok();
}

TMediaReply TCdDevice::pause() {
  m_player.pause();
  return TMediaReply::ok();
}

TMediaReply TCdDevice::resume() {
  m_player.resume();
  return TMediaReply::ok();
}

TMediaReply TCdDevice::seek(TMediaWordReader& args) {
  if (!ready()) return TMediaReply::fail(TMediaError::NotReady);
  media::TSeekTarget seek;
  if (const TMediaError e = media::readSeek(args, seek); e != TMediaError::None) return TMediaReply::fail(e);
  std::int64_t target = firstAudioSector() * kFps;
  if (seek.kind == media::TSeekTarget::End) {
    target = endSector() * kFps;
  } else if (seek.kind == media::TSeekTarget::Position) {
    const auto f = parsePosition(seek.position);
    if (!f) return TMediaReply::fail(TMediaError::BadParameter);
    if (*f > endSector() * kFps) return TMediaReply::fail(TMediaError::OutOfRange);
    target = *f;
  }
  m_player.seek(target);
  m_moved = true;
  return TMediaReply::ok();
}

TMediaReply TCdDevice::status(TMediaWordReader& args) {
  TMediaReply reply;
  if (args.accept("mode")) {
    reply.text = !ready() ? "not ready" : m_player.paused() ? "paused" : m_player.playing() ? "playing" : "stopped";
  } else if (args.accept("ready")) {
    reply.text = media::boolText(ready());
  } else if (args.acceptAll({"media", "present"})) {
    reply.text = media::boolText(ready());
  } else if (args.acceptAll({"time", "format"})) {
    reply.text = m_timeFormat == TimeFormat::Tmsf ? "tmsf" : "milliseconds";
  } else if (!ready()) {
    return TMediaReply::fail(TMediaError::NotReady);
  } else if (args.acceptAll({"number", "of", "tracks"})) {
    reply.text = media::number(m_drive->lastTrack() - m_drive->firstTrack() + 1);
  } else if (args.acceptAll({"current", "track"})) {
    reply.text = media::number(trackAt(static_cast<std::int32_t>(currentFrame() / kFps)));
  } else if (const TMediaWord* item = args.peek(); item && !item->quoted && args.peek(1) &&
             args.peek(1)->text == "track" && (item->text == "type" || item->text == "length" || item->text == "position")) {
    const std::string what = item->text;
    args.next();
    args.next();
    const TMediaWord* n = args.next();
    if (!n) return TMediaReply::fail(TMediaError::MissingParameter);
    const auto track = parseMediaNumber(n->text);
    if (!track) return TMediaReply::fail(TMediaError::BadParameter);
    if (*track < m_drive->firstTrack() || *track > m_drive->lastTrack()) return TMediaReply::fail(TMediaError::NoSuchTrack);
    const int t = static_cast<int>(*track);
    if (what == "type") {
      reply.text = m_drive->isAudioTrack(t) ? "audio" : "other";
    } else if (what == "position") {
      reply.text = formatPosition(m_drive->trackStart(t) * kFps);
    } else {
      const std::int64_t sectors = m_drive->trackStart(t + 1) - m_drive->trackStart(t);
      if (m_timeFormat == TimeFormat::Tmsf) {
        char text[16];
        std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(sectors / (75 * 60)),
                      static_cast<long long>(sectors / 75 % 60), static_cast<long long>(sectors % 75));
        reply.text = text;
      } else {
        reply.text = media::number(sectors * kFps * 1000 / 44100);
      }
    }
  } else if (args.accept("position")) {
    reply.text = formatPosition(currentFrame());
  } else if (args.accept("length")) {
    const std::int64_t frames = (endSector() - m_drive->trackStart(m_drive->firstTrack())) * kFps;
    reply.text = m_timeFormat == TimeFormat::Tmsf
                     ? formatPosition(frames + m_drive->trackStart(m_drive->firstTrack()) * kFps)
                     : media::number(frames * 1000 / 44100);
  } else {
    return TMediaReply::fail(args.atEnd() ? TMediaError::MissingParameter : TMediaError::BadParameter);
  }
  return media::finish(args, std::move(reply));
}

TMediaReply TCdDevice::set(TMediaWordReader& args) {
  if (!args.acceptAll({"time", "format"})) {
    return TMediaReply::fail(args.atEnd() ? TMediaError::MissingParameter : TMediaError::NotSupported);
  }
  if (args.accept("tmsf")) {
    m_timeFormat = TimeFormat::Tmsf;
  } else if (args.accept("milliseconds") || args.accept("ms")) {
    m_timeFormat = TimeFormat::Milliseconds;
  } else {
    return TMediaReply::fail(args.atEnd() ? TMediaError::MissingParameter : TMediaError::BadParameter);
  }
  return media::finish(args, TMediaReply::ok());
}
