// SPDX-License-Identifier: GPL-3.0-or-later
#include "super/tseventies.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "super/tsuperoptions.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

using V = TSuperValue;

TSeventiesSettings TSeventiesSettings::from(const TSuperOptions& o, const std::string& pageBase) {
  TSeventiesSettings s;
  s.textDelayMs = o.value(V::DDTextDelay);
  s.charDelayMs = o.value(V::DDCharDelay);
  s.backgroundDelayS = o.value(V::DDBGRDelay);
  s.dd = o.text(V::DD);
  for (const std::string& name : o.textPages()) s.pages.push_back(pageBase + "hzek/SuperDD/" + name + ".htx");
  return s;
}

TSeventies::TSeventies(const TSeventiesSettings& settings, TSuperTextSource& texts, TSeventiesHost& host, TPump& pump,
                       TSuperOptions* music)
    : m_s(settings), m_texts(texts), m_host(host), m_pump(pump), m_music(music) {}

void TSeventies::stop() {
  m_stop = true;
  if (m_started) m_host.setPageDir(m_savedDir);
}

void TSeventies::showBackground() {
  std::string page;
  if (!m_s.dd.empty() && zek::fileExists(m_s.dd)) {
    page = m_s.dd;
  } else if (m_s.pages.size() == 1) {
    page = m_s.pages.front();  // the only page comes again
  } else if (!m_s.pages.empty()) {
    do page = m_s.pages[std::size_t(zufall(int(m_s.pages.size())))];
    while (page == m_lastBackground);
  }
  // Without text pages the page on show stays the background.
  if (!page.empty()) {
    m_lastBackground = page;
    m_host.loadPage(page);
  }
  m_font = m_host.pageFont();
  m_color = m_host.pageColor();
  m_host.restoreScreen();
  m_host.showRect(m_host.overlay().rect());
}

void TSeventies::start() {
  m_savedDir = m_host.pageDir();
  m_started = true;
  if (m_music) m_music->musicStart();
  showBackground();
  const std::int64_t now = m_pump.clock().nowMs();
  m_lastBackgroundTime = now;
  m_lastText = now - m_s.textDelayMs;  // the first word at once
  m_lastLetter = now - m_s.charDelayMs;
  m_stop = false;
}

void TSeventies::pass() {
  const std::int64_t now = m_pump.clock().nowMs();
  if (now >= m_lastText + m_s.textDelayMs) {
    if (!m_pending.empty()) {
      m_current = m_pending;
      m_penX = m_x + QFontMetrics(m_font).horizontalAdvance(QStringLiteral("*"));
      m_pending.clear();
    } else {
      m_current = m_texts.nextText().text;
      m_pending = m_texts.nextText().text;
      if (m_s.backgroundDelayS > 0 && now >= m_lastBackgroundTime + std::int64_t(m_s.backgroundDelayS) * 1000) {
        showBackground();
        m_lastBackgroundTime = now;
      }
      const QRect area = m_host.textArea();
      m_font = m_host.pageFont();
      const QString word = zek::toQString(m_current), meaning = zek::toQString("*" + m_pending);
      QFontMetrics fm(m_font);
      auto widest = [&] { return std::max(fm.horizontalAdvance(word), fm.horizontalAdvance(meaning)); };
      // Smaller until the longer text fits; a floor keeps a very long one from looping. Page
      // fonts are mostly pixel-sized, so the step is taken in the unit the font has.
      const bool pixels = m_font.pointSize() <= 0;
      const int floor = pixels ? kMinPixels : kMinPoints;
      auto size = [&] { return pixels ? m_font.pixelSize() : m_font.pointSize(); };
      while (widest() > area.width() && size() > floor) {
        if (pixels) m_font.setPixelSize(std::max(floor, size() - 2));
        else m_font.setPointSize(std::max(floor, size() - 2));
        fm = QFontMetrics(m_font);
      }
      m_x = area.left() + zufall(area.width() - widest());
      m_y = area.top() + zufall(area.height() - fm.height());
      m_penX = m_x;
    }
    m_shown.push_back(m_current);
    m_host.restoreScreen();
    m_host.showRect(m_host.overlay().rect());
    m_lastText = now;
  }
  if (now >= m_lastLetter + m_s.charDelayMs && !m_current.empty()) typeLetter();
  if (m_music) m_music->musicPoll();
  m_pump.processPending();
}

void TSeventies::typeLetter() {
  std::size_t n = 1;
  if (m_current[0] == ' ' && m_current.size() > 1) n = 2;
  const QString letters = zek::toQString(m_current.substr(0, n));
  m_current.erase(0, n);
  const QFontMetrics fm(m_font);
  const int w = fm.horizontalAdvance(letters);
  {
    QPainter p(&m_host.overlay());
    p.setFont(m_font);
    p.setPen(m_color);
    p.drawText(m_penX, m_y + fm.ascent(), letters);
  }
  m_host.showRect(QRect(m_penX - 2, m_y, w + 4 + fm.maxWidth() / 4, fm.height()));
  m_penX += w;
  m_lastLetter = m_pump.clock().nowMs();
}

void TSeventies::run() {
  start();
  const auto stop = [this] { return m_stop; };
  while (!m_stop) {
    const std::int64_t begun = m_pump.clock().nowMs();
    pass();
    if (m_stop) break;
    m_pump.waitUntil(begun + kPassMs, stop);
  }
  if (m_music) m_music->musicStop();
}
