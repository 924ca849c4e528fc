// SPDX-License-Identifier: GPL-3.0-or-later
#include "super/tsupersettings.h"

#include "platform/codec.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zek::supersettings {

const int kIntervalSeconds[8] = {30, 60, 120, 180, 240, 300, 600, 1200};

int frameDelayMs(int p) {
  p = std::clamp(p, kFrameDelayMinPos, kFrameDelayMaxPos);
  if (p < 50) return p * 20;
  if (p <= 90) return p * 100 - 4000;
  if (p <= 140) return p * 500 - 40000;
  return p * 5000 - 700000;
}

int frameDelayPosition(int m) {
  int p;
  if (m < 1000) p = m / 20;
  else if (m < 5000) p = m / 100 + 40;
  else if (m > 29999) p = m / 5000 + 140;
  else p = m / 500 + 80;
  return std::clamp(p, kFrameDelayMinPos, kFrameDelayMaxPos);
}

namespace {
// printf's "%g" with the locale's decimal separator.
std::string gFormat(double v, const QLocale& locale) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  std::string s = buf;
  const std::string point = fromQString(QString(locale.decimalPoint()));
  if (const auto dot = s.find('.'); dot != std::string::npos) s.replace(dot, 1, point);
  return s;
}
}  // namespace

std::string frameDelayLabel(int ms, const QLocale& locale) {
  if (ms < 1000) return std::to_string(ms) + " ms";
  if (ms >= 60000) return std::to_string(ms / 60000) + ":" + std::to_string(ms % 60000 / 1000) + " min";
  return gFormat(ms / 1000.0, locale) + " s";
}

std::string ddSpeedLabel(int slider, const QLocale& locale) { return gFormat(slider / 10.0, locale) + " s"; }

std::string intervalText(int seconds) {
  if (seconds == 60) return "1 Minute";
  if (seconds >= 60) return std::to_string(seconds / 60) + " Minuten";
  return std::to_string(seconds) + " Sekunden";
}

int intervalSeconds(const std::string& text) {
  const auto number = [&](std::size_t end) {
    const std::string n = text.substr(0, end);
    if (n.empty() || n.size() > 6 || !std::all_of(n.begin(), n.end(), [](char c) { return c >= '0' && c <= '9'; })) return -1;
    return std::stoi(n);
  };
  const auto endsWith = [&](const std::string& tail) {
    return text.size() > tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
  };
  if (text == "1 Minute") return 60;
  if (endsWith(" Sekunden")) return std::max(0, number(text.size() - 9));
  if (endsWith(" Minuten")) {
    const int n = number(text.size() - 8);
    return n < 0 ? 0 : n * 60;
  }
  return 0;
}

int nearestIntervalItem(int seconds) {
  int best = 0;
  for (int i = 1; i < 8; ++i)
    if (std::abs(kIntervalSeconds[i] - seconds) < std::abs(kIntervalSeconds[best] - seconds)) best = i;
  return best;
}

std::string textDelayText(int ms, const QLocale& locale) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%1.1f", ms / 1000.0);
  std::string s = buf;
  const std::string point = fromQString(QString(locale.decimalPoint()));
  if (const auto dot = s.find('.'); dot != std::string::npos) s.replace(dot, 1, point);
  return s;
}

int textDelayMs(const std::string& text, const QLocale& locale) {
  const auto read = [&](const std::string& t, double& out) {
    bool ok = false;
    const double v = locale.toDouble(toQString(t).trimmed(), &ok);
    if (!ok || !std::isfinite(v)) return false;
    out = v;
    return true;
  };
  double seconds = 0;
  if (!read(text, seconds)) {
    std::string other = text;
    if (const auto comma = other.find(','); comma != std::string::npos) other[comma] = '.';
    else if (const auto dot = other.find('.'); dot != std::string::npos) other[dot] = ',';
    if (!read(other, seconds)) return 0;
  }
  // The store keeps 0..100000; a typed "-5" or "99999999" must not wrap or go below.
  const double ms = std::clamp(std::round(seconds * 1000.0), 0.0, 100000.0);
  return int(ms);
}

std::uint32_t swapRedBlue(std::uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

std::string htmlColor(std::uint32_t c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", unsigned(c & 0xFF), unsigned((c >> 8) & 0xFF), unsigned((c >> 16) & 0xFF));
  return buf;
}

std::string previewPicture(const std::string& pictureDir) { return pictureDir + "vorschau.jpg"; }

std::string previewMarkup(const TPreviewLook& look, bool pictureExists) {
  std::string m = "<body bgcolor=" + htmlColor(look.background) + " text=" + htmlColor(look.text) + ">";
  if (pictureExists) {
    char buf[64];
    std::snprintf(buf, sizeof buf, " mode=%d transparent=%d>", look.mode, look.transparency * 255 / 100);
    m += "<box coords=0,0,160><img src=\"" + previewPicture(look.pictureDir) + "\" color=" + htmlColor(look.picture) + buf;
  }
  const int h = 100 * look.border / 534;
  if (h > 0) {
    m += "<box coords=0,0,160," + std::to_string(h) + " color=#0 top>";
    m += "<box coords=0," + std::to_string(100 - h) + ",160," + std::to_string(h) + " color=#0 top>";
  }
  m += "<box coords=0,40,160 align=m><font face=\"" + look.font + ", courier new\" size=2>*zek techno";
  return m;
}

}  // namespace zek::supersettings
