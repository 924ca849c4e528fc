// SPDX-License-Identifier: GPL-3.0-or-later
#include "super/ttechnostyle.h"

#include "media/tspeech.h"
#include "page/tqttextmetrics.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/imagedecoder.h"
#include "platform/messages.h"
#include "super/collectfiles.h"
#include "super/tsuperoptions.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

using V = TSuperValue;

const char* const TTechnoStyle::kLoadingMarkup =
    "<body bgcolor=#0 text=#ffffff link=#ffffff><box coords=200,260,400 align=m><font face=\"courier new, courier\" "
    "size=2><b>Loading...</b><box coords=200,544,400 align=m><a href=\"\xA7[stop]\" flash=#ff0000><font "
    "color=#999999>(ENDE)</a>";

void TTechnoSettings::setSpeed(int s) {
  if (s <= 0) {
    step = 1;
    frameDelayMs = 40 - 40 * s;
  } else {
    step = s;
    frameDelayMs = 0;
  }
  // A step above the opacity would make a fade of no steps (and a division by zero).
  fadeLength = std::max(1, alpha / step);
  if (alpha == 0) fading = false;
}

TTechnoSettings TTechnoSettings::from(const TSuperOptions& o) {
  TTechnoSettings s;
  s.border = std::clamp(o.value(V::TechnoRand), 0, 200);
  s.background = std::uint32_t(o.value(V::TechnoBGRColor));
  s.text = std::uint32_t(o.value(V::TechnoTextColor));
  s.tint = std::uint32_t(o.value(V::TechnoBMPColor));
  s.alpha = (100 - o.value(V::TechnoTransparenz)) * 255 / 100;
  s.scrolling = o.value(V::TechnoScrolling) != 0;
  s.fading = o.value(V::TechnoFading) != 0;
  s.pictureDelayMs = o.value(V::TechnoFrameDelay);
  s.textDelayMs = o.value(V::TechnoTextDelay);
  s.mode = o.value(V::TechnoMode);
  s.font = o.text(V::TechnoSchrift);
  s.photoDir = o.text(V::TechnoPhotoDir);
  s.setSpeed(o.value(V::TechnoSpeed));
  return s;
}

std::optional<double> TFrameRate::frame(std::int64_t nowMs) {
  if (++m_frames < kFrames) return std::nullopt;
  const std::int64_t elapsed = std::max<std::int64_t>(1, nowMs - m_start);
  const double fps = kFrames * 1000.0 / double(elapsed);
  restart(nowMs);
  return fps;
}

std::string TFrameRate::format(double fps) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%2.1f fps ", fps);
  return buf;
}

TTechnoStyle::TTechnoStyle(const TTechnoSettings& settings, TSuperTextSource& texts, TTechnoHost& host, TPump& pump,
                           TSuperOptions* music)
    : m_s(settings), m_texts(texts), m_host(host), m_pump(pump), m_music(music), m_rate(pump.clock().nowMs()) {
  // A word the run-time voice has not finished yet stays silent: a box would stop the show.
  player = [](const std::string& file) {
    if (zek::fileExists(file)) playWave(file);
  };
}

std::vector<std::string> TTechnoStyle::pictureFiles(const std::string& dir) {
  std::vector<std::string> files, out;
  if (dir.empty()) return out;
  collectFiles(dir, &files, ".jpg", ".bmp");
  for (const std::string& f : files) {
    std::string name = zek::fileNamePart(f);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    // The settings dialog's preview picture is no part of the show.
    if (name != "vorschau.jpg") out.push_back(f);
  }
  return out;
}

void TTechnoStyle::addPicture(const TXBitmap& decoded) {
  if (int(m_pictures.size()) >= kMaxPictures) return;
  const int w = TTechnoSettings::kBandWidth, h = m_s.bandHeight();
  // The band shows the picture's rows from "border" on.
  TXBitmap drawn(w, h);
  drawn.FillColor(0);
  const int cols = std::min(w, decoded.width());
  for (int y = 0; y < h; ++y) {
    const int sy = y + m_s.border;
    if (sy >= decoded.height()) break;
    std::memcpy(drawn.scanLine(y), decoded.scanLine(sy), std::size_t(cols) * 3);
  }
  TXBitmap picture(w, h);
  picture.FillColor(m_s.background);
  picture.setXAlpha(m_s.alpha);
  picture.setXColor(m_s.tint);
  picture.DrawBlended(0, 0, m_s.mode, drawn);
  picture.setXAlpha(255);
  m_pictures.push_back(std::move(picture));
}

int TTechnoStyle::prepare(const std::vector<std::string>& files) {
  for (const std::string& f : files) {
    // Camera-size photos take a while each: "(ENDE)", Escape and a click stay alive.
    m_pump.processPending();
    if (m_stop || int(m_pictures.size()) >= kMaxPictures) break;
    const auto bytes = zek::readFile(zek::resolveName(f), 64u << 20);
    if (!bytes) continue;
    const zek::TDecodedImage image = zek::decodeImage(*bytes, zek::imageFormatFromName(f));
    if (!image.ok() || image.frames.empty()) continue;
    TXBitmap decoded;
    decoded.assignBgr(image.frames.front().bgr.data(), image.width, image.height);
    addPicture(decoded);
  }
  return int(m_pictures.size());
}

void TTechnoStyle::startFrames() {
  const int w = TTechnoSettings::kBandWidth, h = m_s.bandHeight();
  m_work.setSize(w, h);
  m_display.setSize(w, h);
  const QFont font = TQtTextMetrics::pointFont(m_s.font, 36);
  m_spacing = QFontMetrics(font).height() + 20;
  const std::int64_t now = m_pump.clock().nowMs();
  m_current = m_previous = zufall(int(m_pictures.size()));
  m_counter = m_s.fadeLength;
  m_lastFade = m_lastPicture = now;
  m_lastText = now - m_s.textDelayMs;  // the first text at once
  m_textY = -1000;
  m_frames = 0;
  m_rate.restart(now);
}

void TTechnoStyle::pickPicture() {
  m_previous = m_current;
  const int n = int(m_pictures.size());
  if (n <= 1) return;  // one picture stays on show
  int k;
  do k = zufall(n);
  while (k == m_previous);
  m_current = k;
}

QFont TTechnoStyle::fittedFont(const std::string& text) const {
  int size = 36;
  QFont font = TQtTextMetrics::pointFont(m_s.font, size);
  const QString t = zek::toQString(text);
  // Smaller until the margins are 20 pixels; 8 points is the floor (the rest is clipped).
  while (size > 8 && (TTechnoSettings::kBandWidth - QFontMetrics(font).horizontalAdvance(t)) / 2 < 20) {
    size -= 2;
    font = TQtTextMetrics::pointFont(m_s.font, size);
  }
  return font;
}

int TTechnoStyle::lineHeight(const std::string& text) const {
  return text.empty() ? 0 : QFontMetrics(fittedFont(text)).height();
}

void TTechnoStyle::drawLine(QPainter& p, const std::string& text, int y) {
  if (text.empty()) return;
  const QFont font = fittedFont(text);
  p.setFont(font);
  const QFontMetrics fm(font);
  const QString t = zek::toQString(text);
  const int x = (TTechnoSettings::kBandWidth - fm.horizontalAdvance(t)) / 2;
  p.drawText(x, y + fm.ascent(), t);
}

void TTechnoStyle::copyToCanvas() {
  QImage canvas = m_host.canvas();
  const int h = m_s.bandHeight();
  const QRect band(0, m_s.border, TTechnoSettings::kBandWidth, h);
  if (canvas.format() == QImage::Format_BGR888) {
    const int cols = std::min(canvas.width(), TTechnoSettings::kBandWidth);
    for (int y = 0; y < h && y + m_s.border < canvas.height(); ++y)
      std::memcpy(canvas.scanLine(y + m_s.border), m_display.scanLine(y), std::size_t(cols) * 3);
  } else {
    QPainter p(&canvas);
    p.drawImage(band.topLeft(), m_display.view());
  }
  m_host.showRect(band);
}

void TTechnoStyle::showFps(const std::string& text) {
  m_lastFps = text;
  QImage canvas = m_host.canvas();
  QPainter p(&canvas);
  const QFont font = TQtTextMetrics::pointFont("courier new", 10);
  const QFontMetrics fm(font);
  const QString t = zek::toQString(text);
  const QRect r(10, 544, fm.horizontalAdvance(t), fm.height());
  p.fillRect(r, Qt::black);
  p.setFont(font);
  p.setPen(QColor(102, 102, 102));
  p.drawText(r.left(), r.top() + fm.ascent(), t);
  p.end();
  m_host.showRect(r);
}

void TTechnoStyle::frame() {
  const std::int64_t now = m_pump.clock().nowMs();
  const int n = m_s.fadeLength;
  // 1. Pictures.
  if (m_s.fading) {
    if (m_counter >= n) {
      m_counter = 0;
      pickPicture();
    }
    if (m_s.alpha < 255) m_work.FillColor(m_s.background);
    const int a = m_s.alpha;
    m_work.setXColor(m_s.tint);
    m_work.setXAlpha(a > 254 ? 255 : a - a * m_counter / n);
    m_work.DrawBlended(0, 0, 0, m_pictures[std::size_t(m_previous)]);
    m_work.setXAlpha(a * m_counter / n);
    m_work.DrawBlended(0, 0, 0, m_pictures[std::size_t(m_current)]);
    std::memcpy(m_display.bits(), m_work.bits(), std::size_t(m_work.stride()) * std::size_t(m_work.height()));
    if (now >= m_lastFade + m_s.frameDelayMs) {
      ++m_counter;
      m_lastFade = now;
    }
  } else {
    if (now > m_lastPicture + m_s.pictureDelayMs) {
      pickPicture();
      m_lastPicture = now;
    }
    const TXBitmap& pic = m_pictures[std::size_t(m_current)];
    std::memcpy(m_display.bits(), pic.bits(), std::size_t(pic.stride()) * std::size_t(pic.height()));
  }
  // 2. Texts.
  const int bandH = m_s.bandHeight();
  if (m_s.scrolling) {
    if (m_textY <= -lineHeight(m_line1.text) - m_spacing - lineHeight(m_line2.text)) {
      m_line1 = m_texts.nextText();
      m_line2 = m_texts.nextText();
      m_textY = bandH;
    }
  } else if (now >= m_lastText + m_s.textDelayMs) {
    if (!m_line1.text.empty()) {
      m_line1 = {};
      m_pump.processPending();
      m_lastText = now - m_s.textDelayMs / 2;  // a blank pause of half the delay
    } else {
      m_line1 = m_texts.nextText();
      m_line1.file.clear();  // still texts are not spoken
      m_line2 = {};
      m_textY = (bandH - lineHeight(m_line1.text)) / 2;
      m_lastText = now;
    }
  }
  // 3. Draw the lines, 4. copy the band.
  if (!m_line1.text.empty() || !m_line2.text.empty()) {
    QImage view = m_display.view();
    QPainter p(&view);
    const std::uint32_t c = m_s.text;
    p.setPen(QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
    drawLine(p, m_line1.text, m_textY);
    drawLine(p, m_line2.text, m_textY + m_spacing);
  }
  copyToCanvas();
  ++m_frames;
  // 5. The frame rate.
  if (const auto fps = m_rate.frame(m_pump.clock().nowMs())) showFps(TFrameRate::format(*fps));
  // 6. Scrolling and speech.
  if (m_s.scrolling) {
    --m_textY;
    if (!m_line1.file.empty() && m_textY <= bandH / 2) {
      if (player) player(m_line1.file);
      m_line1.file.clear();
    } else if (!m_line2.file.empty() && m_textY <= bandH / 2 - m_spacing) {
      if (player) player(m_line2.file);
      m_line2.file.clear();
    }
  }
}

void TTechnoStyle::runUnpaced(int frames) {
  for (int i = 0; i < frames && !m_stop; ++i) {
    frame();
    m_pump.processPending();
  }
}

bool TTechnoStyle::run() {
  const std::vector<std::string> files = pictureFiles(m_s.photoDir);
  if (files.empty()) {
    showMessage(kNoPictures);
    return false;
  }
  m_host.showMarkup(kLoadingMarkup);
  m_pump.processPending();
  // Unreadable files only, or only the preview picture, are no pictures either.
  const int prepared = prepare(files);
  if (m_stop) return true;
  if (prepared == 0) {
    showMessage(kNoPictures);
    return false;
  }
  if (m_music) m_music->musicStart();
  startFrames();
  const auto stop = [this] { return m_stop; };
  double next = double(m_pump.clock().nowMs());
  while (!m_stop) {
    frame();
    m_pump.processPending();
    if (m_music) m_music->musicPoll();
    m_pump.processPending();
    if (m_stop) break;
    next += kFrameMs;
    const double now = double(m_pump.clock().nowMs());
    if (next < now - kFrameMs) next = now;  // a slow frame does not make the next ones hurry
    m_pump.waitUntil(std::int64_t(std::ceil(next)), stop);
  }
  if (m_music) m_music->musicStop();
  return true;
}
