// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/tspeech.h"
#include "platform/tclock.h"
#include "platform/thandover.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TBibliothek;
class TPresentationScope;
class TSuperOptions;

// The order the presentations walk the trainer range "from".."to" in: forward, backward
// (TVocEinstellungen::ModusVor, ModusZurueck) or at random without recent repeats.
class TVocOrder {
 public:
  int next(int modus, int von, int bis);
  void reset();
  int index() const { return m_index; }
  const std::vector<int>& recent() const { return m_recent; }

 private:
  int m_index = -1;
  std::vector<int> m_recent;
};

// The classic and crazy presentations without their window: steps on a 100 ms tick, fades
// and letter-by-letter typing paced by the pump's clock, all drawn into one picture of the
// window's size; `showRect` gets each part that changed.
class TSuperFadeEngine {
 public:
  enum : int { Classic = 0, Crazy = 1 };
  static constexpr int kTickMs = 100;
  // One colour step of a classic fade ("Schritte" 200 = two seconds).
  static constexpr int kFadeStepMs = 10;
  // Crazy typing: milliseconds per letter for each unit of "TextDelay" (80 = 160 ms).
  static constexpr int kLetterMsPerDelay = 2;

  TSuperFadeEngine(int mode, TSuperOptions& options, TBibliothek& bibliothek, TPump& pump);

  std::function<void(const QRect&)> showRect;
  // Speaking a word or meaning (speakWord of the recordings store unless a test replaces it).
  std::function<void(const std::string&, TWortSprache)> speak;

  // The window's size: picture, band and band font.
  void resize(int width, int height);
  // The window is shown: first step next, music on.
  void begin();
  // One timer tick; true when the window is to close now.
  bool tick();
  // A click or key press: stops once the first step has begun.
  void input();
  // Ends the run whatever the state (the window is being closed from outside).
  void forceStop() { m_stop = true; }
  // Music off.
  void end();

  int mode() const { return m_mode; }
  int step() const { return m_step; }
  int pause() const { return m_pause; }
  bool idle() const { return m_idle; }
  bool stopped() const { return m_stop; }
  bool inputEnabled() const { return m_inputEnabled; }
  const std::string& text() const { return m_text; }
  QColor textColor() const { return m_textColor; }
  QColor background() const { return m_background; }
  int bandY() const { return m_bandY; }
  int bandHeight() const { return m_band.height(); }
  const QImage& frame() const { return m_frame; }
  const TVocOrder& order() const { return m_order; }

  // Steps, open for tests.
  void fade(int kind);
  void drawCrazy(const std::string& text);

 private:
  void classicStep();
  void crazyStep();
  bool nextEntry();
  void say(const std::string& what, TWortSprache sprache);
  void drawBand(QColor background, QColor text);
  QColor newBackgroundTarget() const;
  void waitMs(int ms);

  int m_mode;
  TSuperOptions& m_options;
  TBibliothek& m_bib;
  TPump& m_pump;
  TVocOrder m_order;
  QImage m_frame, m_band;
  QFont m_bandFont;
  int m_step = -1, m_pause = 0, m_bandY = 0;
  int m_steps = 200, m_faktor = 100, m_madness = 9;
  bool m_idle = true, m_stop = false, m_inputEnabled = false, m_bandBroken = false;
  bool m_plain = false, m_greys = false;  // "OhneHintergrund", "Schwarz-Weiß"
  std::string m_text, m_word, m_meaning, m_spokenWord;
  bool m_german = false;  // the entry's word is German, its meaning English
  QColor m_textColor = Qt::black, m_background = Qt::black;
};

// The full-screen window of the classic and crazy presentations. It takes the main window's
// place and, when it closes, gives it back to the return window at the remembered place.
class TSuperFade : public TTrainerWindow {
  Q_OBJECT
 public:
  // `returnWindow` makes the window shown afterwards (nothing: a new main window).
  TSuperFade(int mode, TSuperOptions& options, TBibliothek& bibliothek, std::function<QWidget*()> returnWindow,
             QPoint returnPos);
  ~TSuperFade() override;

  TSuperFadeEngine& engine() { return m_engine; }

 protected:
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  // The whole screen, placed at its top left.
  void fillScreen();
  void onTick();

  TSuperOptions& m_options;
  TEventPump m_pump;
  TSuperFadeEngine m_engine;
  QTimer m_timer;
  std::function<QWidget*()> m_returnWindow;
  QPoint m_returnPos;
  std::unique_ptr<TPresentationScope> m_running;
  bool m_started = false, m_closing = false, m_closed = false;
};
