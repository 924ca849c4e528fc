// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/tclock.h"
#include "super/tsupertext.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>

#include <cstdint>
#include <string>
#include <vector>

class TSuperOptions;

// Where Seventies draws: the page view with a picture over it that the letters go on.
class TSeventiesHost {
 public:
  virtual ~TSeventiesHost() = default;
  virtual void loadPage(const std::string& file) = 0;
  virtual std::string pageDir() const = 0;
  virtual void setPageDir(const std::string& dir) = 0;
  // The picture over the page; restoreScreen() puts the page's own picture back into it.
  virtual QImage& overlay() = 0;
  virtual void restoreScreen() = 0;
  virtual void showRect(const QRect& r) = 0;
  virtual QRect textArea() const = 0;
  // The font and colour the page was last drawn with.
  virtual QFont pageFont() const = 0;
  virtual QColor pageColor() const = 0;
};

struct TSeventiesSettings {
  int textDelayMs = 2000, charDelayMs = 40, backgroundDelayS = 60;
  std::string dd;                     // a chosen page file, or empty
  std::vector<std::string> pages;     // page files to choose from at random
  static TSeventiesSettings from(const TSuperOptions& options, const std::string& pageDir);
};

// The Seventies presentation: a decorative text page as the background, each word typed onto
// it letter by letter at a random place, then its meaning at the same place.
class TSeventies {
 public:
  static constexpr int kPassMs = 50;
  static constexpr int kMinPoints = 8;
  static constexpr int kMinPixels = 11;

  TSeventies(const TSeventiesSettings& settings, TSuperTextSource& texts, TSeventiesHost& host, TPump& pump,
             TSuperOptions* music = nullptr);

  void run();
  // "stop": the run ends at its next pass, and the page folder is the one of the start.
  void stop();
  bool stopped() const { return m_stop; }

  // Steps, open for tests and the bench.
  void start();
  void pass();
  void showBackground();
  void typeLetter();
  const std::string& current() const { return m_current; }
  const std::string& pending() const { return m_pending; }
  const std::string& lastBackground() const { return m_lastBackground; }
  QPoint textPos() const { return {m_x, m_y}; }
  int penX() const { return m_penX; }
  const QFont& font() const { return m_font; }
  // Every text started, in order (words and meanings).
  const std::vector<std::string>& shown() const { return m_shown; }

 private:
  TSeventiesSettings m_s;
  TSuperTextSource& m_texts;
  TSeventiesHost& m_host;
  TPump& m_pump;
  TSuperOptions* m_music;
  std::string m_savedDir;
  std::string m_current, m_pending, m_lastBackground;
  int m_x = 0, m_y = 0, m_penX = 0;
  std::int64_t m_lastText = 0, m_lastLetter = 0, m_lastBackgroundTime = 0;
  bool m_firstText = true;
  QFont m_font;
  QColor m_color;
  std::vector<std::string> m_shown;
  bool m_stop = false, m_started = false;
};
