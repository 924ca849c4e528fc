// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/tclock.h"
#include "super/tsupertext.h"
#include "widgets/txbitmap.h"

#include <QFont>
#include <QImage>
#include <QRect>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class TSuperOptions;

// The Techno look and pace, taken from the options once at the start.
struct TTechnoSettings {
  static constexpr int kBandWidth = 800, kPageBand = 534;
  int border = 100;
  std::uint32_t background = 0x000000, text = 0xFFFFFF, tint = 0x990099;  // 0x00BBGGRR
  int alpha = 153;
  bool scrolling = false, fading = true;
  int step = 1, frameDelayMs = 0;  // fade step and the time between fade steps
  int fadeLength = 153;           // steps of one fade, at least 1
  int pictureDelayMs = 4000, textDelayMs = 3000;
  int mode = 0;
  std::string font = "courier new";
  std::string photoDir;

  int bandHeight() const { return kPageBand - 2 * border; }
  static TTechnoSettings from(const TSuperOptions& options);
  // The pace of a "TechnoSpeed"; fading is forced off at alpha 0.
  void setSpeed(int speed);
};

// The frame rate over blocks of 50 frames: a readout after every 50th frame.
class TFrameRate {
 public:
  static constexpr int kFrames = 50;
  explicit TFrameRate(std::int64_t startMs = 0) : m_start(startMs) {}
  void restart(std::int64_t nowMs) { m_start = nowMs, m_frames = 0; }
  // After each frame: the rate of the last 50 frames when they are complete.
  std::optional<double> frame(std::int64_t nowMs);
  static std::string format(double fps);  // "%2.1f fps "

 private:
  std::int64_t m_start;
  int m_frames = 0;
};

// Where Techno draws: the page view's off-screen picture, shown rectangle by rectangle.
class TTechnoHost {
 public:
  virtual ~TTechnoHost() = default;
  virtual QImage canvas() = 0;
  virtual void showRect(const QRect& r) = 0;
  virtual void showMarkup(const std::string& markup) = 0;
};

// The Techno presentation: pictures of a folder, tinted and blended into each other in a band,
// the words and meanings over them, still or scrolling up. At most 60 frames a second, so the
// fades and the scrolling keep their pace on any machine.
class TTechnoStyle {
 public:
  static constexpr int kMaxPictures = 64;
  static constexpr double kFrameMs = 1000.0 / 60.0;
  static const char* const kLoadingMarkup;
  static constexpr const char* kNoPictures = "Keine Bilder f\xFCr Techno gefunden!";

  TTechnoStyle(const TTechnoSettings& settings, TSuperTextSource& texts, TTechnoHost& host, TPump& pump,
               TSuperOptions* music = nullptr);

  // Picture files of the folder that are candidates (".jpg", ".bmp", not "vorschau.jpg").
  static std::vector<std::string> pictureFiles(const std::string& dir);
  // Prepares the pictures and runs until stop(); false (after the message) without a picture.
  bool run();
  void stop() { m_stop = true; }
  bool stopped() const { return m_stop; }

  // Steps, open for tests and the bench.
  int prepare(const std::vector<std::string>& files);
  void addPicture(const TXBitmap& picture);  // a decoded picture of any size
  void startFrames();
  void frame();
  // Frames without pacing (the bench): returns the milliseconds they took.
  void runUnpaced(int frames);

  const TTechnoSettings& settings() const { return m_s; }
  const std::vector<TXBitmap>& pictures() const { return m_pictures; }
  const TXBitmap& display() const { return m_display; }
  int current() const { return m_current; }
  int previous() const { return m_previous; }
  int fadeCounter() const { return m_counter; }
  int textY() const { return m_textY; }
  int lineSpacing() const { return m_spacing; }
  const std::string& line1() const { return m_line1.text; }
  const std::string& line2() const { return m_line2.text; }
  int frames() const { return m_frames; }
  const std::string& lastFps() const { return m_lastFps; }
  // Plays a recording; playWave of a file that exists by default.
  std::function<void(const std::string& file)> player;

 private:
  void pickPicture();
  void drawLine(QPainter& p, const std::string& text, int y);
  int lineHeight(const std::string& text) const;
  QFont fittedFont(const std::string& text) const;
  void copyToCanvas();
  void showFps(const std::string& text);

  TTechnoSettings m_s;
  TSuperTextSource& m_texts;
  TTechnoHost& m_host;
  TPump& m_pump;
  TSuperOptions* m_music;
  std::vector<TXBitmap> m_pictures;
  TXBitmap m_work, m_display;
  int m_current = 0, m_previous = 0, m_counter = 0;
  std::int64_t m_lastFade = 0, m_lastPicture = 0, m_lastText = 0;
  TSuperText m_line1, m_line2;
  int m_textY = -1000, m_spacing = 0;
  int m_frames = 0;
  TFrameRate m_rate;
  std::string m_lastFps;
  bool m_stop = false;
};
