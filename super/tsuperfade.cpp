// SPDX-License-Identifier: GPL-3.0-or-later
#include "super/tsuperfade.h"

#include "media/tspeech.h"
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/screensaver.h"
#include "super/tsuperoptions.h"
#include "vocab/tbibliothek.h"
#include "vocab/tvoceinstellungen.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QKeyEvent>
#include <QPainter>
#include <QPaintEvent>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr std::array<const char*, 3> kCrazyFaces = {"Times New Roman", "Arial", "Courier"};

QColor platformColor(int c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// current + (target - current) * i / s, rounded to the nearest integer.
int between(int from, int to, int i, int s) {
  return from + int(std::lround(double(to - from) * i / s));
}

QColor blend(QColor from, QColor to, int i, int s) {
  return QColor(between(from.red(), to.red(), i, s), between(from.green(), to.green(), i, s),
                between(from.blue(), to.blue(), i, s));
}

}  // namespace

// ---- order

void TVocOrder::reset() {
  m_index = -1;
  m_recent.clear();
}

int TVocOrder::next(int modus, int von, int bis) {
  if (bis < von) bis = von;
  if (modus == TVocEinstellungen::ModusZurueck) {
    m_index = m_index < 0 || m_index <= von || m_index > bis ? bis : m_index - 1;
  } else if (modus == TVocEinstellungen::ModusKreuzUndQuer) {
    // "to" can be drawn too; the recent list stays shorter than the range, so a draw is
    // always possible, and the bound only guards a list left from a wider range.
    const int span = bis - von;
    int k = von;
    for (int tries = 0; tries <= 4 * (span + 1); ++tries) {
      k = von + zufall(span + 1);
      if (std::find(m_recent.begin(), m_recent.end(), k) == m_recent.end()) break;
    }
    m_recent.push_back(k);
    while (!m_recent.empty() && int(m_recent.size()) >= std::min(20, span)) m_recent.erase(m_recent.begin());
    m_index = k;
  } else {
    m_index = m_index < 0 || m_index >= bis || m_index < von ? von : m_index + 1;
  }
  return m_index;
}

// ---- engine

TSuperFadeEngine::TSuperFadeEngine(int mode, TSuperOptions& options, TBibliothek& bibliothek, TPump& pump)
    : m_mode(mode == Crazy ? Crazy : Classic), m_options(options), m_bib(bibliothek), m_pump(pump) {
  speak = [](const std::string& word, TWortSprache sprache) { speakWord(word, sprache); };
  if (m_mode == Crazy) {
    m_background = platformColor(options.value(TSuperValue::CarsonBGRColor));
    m_textColor = platformColor(options.value(TSuperValue::CarsonTXTColor));
  }
  m_plain = options.value(TSuperValue::OhneHintergrund) != 0;
  m_greys = options.value(TSuperValue::SchwarzWeiss) != 0;
}

void TSuperFadeEngine::resize(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  m_frame = QImage(width, height, QImage::Format_RGB32);
  m_frame.fill(m_mode == Crazy ? m_background : QColor(Qt::black));
  if (m_mode == Classic) {
    m_band = QImage(width, height / 4, QImage::Format_RGB32);
    m_bandBroken = m_band.isNull();
    if (!m_bandBroken) m_band.fill(Qt::black);
    // The band font is a point size of an eighth of the band, at 96 dots per inch.
    m_bandFont.setPixelSize(std::max(1, (height / 4 / 8) * 96 / 72));
    m_bandY = std::min(m_bandY, std::max(0, height - m_band.height()));
  }
}

void TSuperFadeEngine::begin() {
  m_step = -1;
  m_pause = 0;
  if (m_mode == Crazy) {
    m_faktor = m_options.value(TSuperValue::Faktor);
    m_madness = m_options.value(TSuperValue::Madness);
  } else {
    m_steps = m_options.value(TSuperValue::Schritte);
    m_bandFont.setFamily(zek::toQString(m_options.text(TSuperValue::Schrift)));
  }
  m_order.reset();
  m_idle = true;
  m_stop = false;
  m_options.musicStart();
}

void TSuperFadeEngine::end() { m_options.musicStop(); }

void TSuperFadeEngine::input() {
  if (m_inputEnabled) m_stop = true;
}

bool TSuperFadeEngine::tick() {
  // A tick that comes while a fade or typing lets events run does nothing.
  if (!m_idle) return false;
  if (m_stop) return true;
  if (m_pause > 0) {
    m_pause -= kTickMs;
    if (m_pause > 0) return false;
  }
  ++m_step;
  m_inputEnabled = true;
  if (m_mode == Crazy) crazyStep();
  else classicStep();
  if (!m_stop) m_options.musicPoll();
  return false;
}

void TSuperFadeEngine::say(const std::string& what, TWortSprache sprache) {
  if (m_options.value(TSuperValue::Sprachausgabe) && speak && !what.empty()) speak(what, sprache);
}

bool TSuperFadeEngine::nextEntry() {
  const TVocEinstellungen* e = m_bib.Einstellungen();
  const int n = m_bib.Anzahl(false);
  if (n <= 0) return false;
  const int von = std::clamp(e ? e->Von : 0, 0, n - 1);
  const int bis = std::clamp(e && e->Bis >= 0 ? e->Bis : n - 1, von, n - 1);
  const int modus = e ? int(e->Modus) : int(TVocEinstellungen::ModusVor);
  // Blank lines of the library are passed over, as long as the range has anything else.
  for (int tries = 0; tries <= bis - von; ++tries) {
    const int index = m_order.next(modus, von, bis);
    const TVokabel* v = m_bib.Eintrag(index);
    if (!v || v->istLeer()) continue;
    m_word = m_bib.MitTo(index);
    m_spokenWord = v->Vokabel;
    m_meaning = v->Bedeutung1;
    m_german = v->Deutsch;
    return true;
  }
  m_word = m_spokenWord = m_meaning = {};
  return false;
}

void TSuperFadeEngine::waitMs(int ms) {
  m_pump.waitFor(ms, [this] { return m_stop; });
}

// ---- classic

QColor TSuperFadeEngine::newBackgroundTarget() const {
  if (m_plain) return Qt::black;
  if (m_greys) {
    const int g = zufall(128);
    return QColor(g, g, g);
  }
  const int r = zufall(128), g = zufall(128), b = zufall(128);
  return QColor(r, g, b);
}

void TSuperFadeEngine::drawBand(QColor background, QColor text) {
  if (m_bandBroken || m_band.isNull() || m_frame.isNull()) return;
  {
    QPainter p(&m_band);
    if (!p.isActive()) {
      m_bandBroken = true;
      return;
    }
    p.fillRect(m_band.rect(), background);
    if (!m_text.empty()) {
      p.setFont(m_bandFont);
      p.setPen(text);
      p.drawText(m_band.rect(), Qt::AlignCenter | Qt::TextSingleLine, zek::toQString(m_text));
    }
  }
  {
    QPainter p(&m_frame);
    p.drawImage(0, m_bandY, m_band);
  }
  if (showRect) showRect(QRect(0, m_bandY, m_band.width(), m_band.height()));
}

void TSuperFadeEngine::fade(int kind) {
  m_idle = false;
  QColor textTarget, backTarget;
  switch (kind) {
    case 0: {
      if (m_greys) {
        textTarget = Qt::white;
      } else {
        const int r = 128 + zufall(128), g = 128 + zufall(128), b = 128 + zufall(128);
        textTarget = QColor(r, g, b);
      }
      backTarget = newBackgroundTarget();
      break;
    }
    case 1:
    case 2:
      backTarget = newBackgroundTarget();
      textTarget = backTarget;
      break;
    default:
      textTarget = backTarget = Qt::black;
      break;
  }
  const int s = std::max(m_steps, 1);
  const std::int64_t start = m_pump.clock().nowMs();
  QColor lastBack, lastText;
  for (int i = 0;;) {
    if (m_stop || m_bandBroken) break;
    const QColor back = blend(m_background, backTarget, i, s), text = blend(m_textColor, textTarget, i, s);
    // Neighbouring steps often give the same colours: the band is drawn only when they change.
    if (back != lastBack || text != lastText) {
      drawBand(back, text);
      lastBack = back;
      lastText = text;
    }
    if (i >= s) break;
    m_pump.waitUntil(start + std::int64_t(i + 1) * kFadeStepMs, [this] { return m_stop; });
    // A slow machine skips steps instead of stretching the fade.
    i = std::clamp(int((m_pump.clock().nowMs() - start) / kFadeStepMs), i + 1, s);
  }
  m_textColor = textTarget;
  m_background = backTarget;
  m_idle = true;
}

void TSuperFadeEngine::classicStep() {
  switch (m_step) {
    case 0:
      nextEntry();
      m_text = "{ " + m_word + " }";
      say(m_spokenWord, m_german ? TWortSprache::Deutsch : TWortSprache::Englisch);
      m_bandY = zufall(m_frame.height() - m_band.height());
      fade(0);
      break;
    case 1:
    case 2: fade(0); break;
    case 3: fade(2); break;
    case 4:
      m_text = m_meaning;
      say(m_meaning, m_german ? TWortSprache::Englisch : TWortSprache::Deutsch);
      fade(0);
      break;
    case 5: fade(0); break;
    case 6: fade(3); break;
    case 7: break;
    default: m_step = -1; break;
  }
}

// ---- crazy

void TSuperFadeEngine::crazyStep() {
  const int f = m_faktor;
  switch (m_step) {
    case 0: {
      nextEntry();
      say(m_spokenWord, m_german ? TWortSprache::Deutsch : TWortSprache::Englisch);
      m_text = "{ " + m_word + " }";
      drawCrazy(m_text);
      const int len = int(m_text.size());
      m_pause = 10 * f + (len >= 7 ? (len - 6) * f : 0);
      break;
    }
    case 1:
      m_text.clear();
      drawCrazy(m_text);
      m_pause = 8 * f;
      break;
    case 2:
      say(m_meaning, m_german ? TWortSprache::Englisch : TWortSprache::Deutsch);
      m_text = m_meaning;
      drawCrazy(m_text);
      m_pause = 10 * f + int(m_text.size()) * f;
      break;
    case 3:
      m_text.clear();
      drawCrazy(m_text);
      m_pause = 14 * f;
      break;
    default: m_step = -1; break;
  }
}

void TSuperFadeEngine::drawCrazy(const std::string& shown) {
  if (m_frame.isNull()) return;
  m_idle = false;
  const int w = m_frame.width(), h = m_frame.height();
  if (shown.empty()) {
    m_frame.fill(m_background);
    if (showRect) showRect(m_frame.rect());
    m_idle = true;
    return;
  }
  const int m = m_madness;
  const int large = h / 8, small = h / 32, middle = h / 24;
  std::string text = shown;
  if (m == 10)
    for (char& c : text)
      if (zufall(100) < 6) c = char(zek::upperCp1252(static_cast<unsigned char>(c)));
  const QString letters = zek::toQString(text);

  QFont font(QString::fromLatin1(kCrazyFaces[std::size_t(zufall(3))]));
  const int upper = m > 3 ? large : middle;
  int size = small + zufall(zufall(upper - small));
  bool bold = false, italic = false;
  const auto applyFont = [&] {
    font.setPixelSize(std::max(size, 1));
    font.setBold(bold);
    font.setItalic(italic);
  };
  applyFont();

  const int textWidth = QFontMetrics(font).horizontalAdvance(letters);
  int x, y;
  if (textWidth < w) {
    int range = w - 2 * textWidth;
    if (range < 1) range = zufall(200);
    x = zufall(range);
  } else {
    x = zufall(w / 2);
  }
  y = zufall(h / 2);

  const int delayMs = m_options.value(TSuperValue::TextDelay) * kLetterMsPerDelay;
  for (int k = 0; k < letters.size(); ++k) {
    const QChar letter = letters[k];
    const QFontMetrics fm(font);
    const int letterWidth = fm.horizontalAdvance(letter);
    const int letterHeight = fm.height();
    {
      QPainter p(&m_frame);
      p.setFont(font);
      p.setPen(m_textColor);
      p.drawText(x, y + fm.ascent(), QString(letter));
    }
    // The letter's cell, widened for italic overhang.
    if (showRect) showRect(QRect(x - 2, y, letterWidth + letterHeight / 2 + 4, letterHeight).intersected(m_frame.rect()));
    if (delayMs > 0) waitMs(delayMs);
    else m_pump.processPending();
    if (m_stop) break;

    // 1. Next position.
    x += letterWidth;
    if (m != 1) {
      int d = 0;
      if (m >= 3) {
        d = zufall(zufall(4 * letterWidth));
        if (zufall(100) < 60) d += zufall(6);
      }
      if (m > 1 && zufall(100) < 80) d += 2;
      if (m > 4 && letter == QLatin1Char(' ')) x += 5;
      if (m < 6 || zufall(5) != 0) x += d;
      else x -= zufall(letterWidth) / 3;
    }
    // 2. Bold and italic.
    if (m > 8) {
      if (zufall(100) < 95) {
        bold = false;
        italic = zufall(100) >= 95;
      } else {
        bold = true;
      }
    }
    // 3. Size.
    if (m > 3) {
      if (size > middle) {
        size = small + zufall(zufall(upper - small));
      } else if (zufall(100) < 10) {
        const int a = m < 7 ? size : 2 * size;
        const int shake = zufall(zufall(zufall(a)));
        size += zufall(2) == 0 ? shake : -shake;
        if (size <= small) size = small + zufall(zufall(large - small));
      }
    }
    // 4. Face.
    if (m > 1 && zufall(100) < 20) font.setFamily(QString::fromLatin1(kCrazyFaces[std::size_t(zufall(3))]));
    applyFont();
    // 5. Line break or shaking.
    const bool last = k + 1 == letters.size();
    const int nextWidth = last ? 0 : QFontMetrics(font).horizontalAdvance(letters[k + 1]);
    if (!last && x >= w - 2 * nextWidth) {
      x -= zufall(zufall(w / 2));
      if (x >= w - 2 * nextWidth) x -= 50;
      if (x < 0) x = zufall(100);
      y += letterHeight + zufall(30) - zufall(10);
    } else if (m > 4) {
      const int t = letterHeight;
      int a = m < 8 ? zufall(zufall(t)) : zufall(zufall(2 * t));
      if (!(zufall(100) <= 10 * m - 10)) a = 0;
      if (m > 8 && zufall(100) < 5) a += t;
      if (zufall(3) < 2) y += a;
      else y -= a;
    }
    // 6. Keep the line on the screen.
    if (!last) {
      if (y < 10) y = zufall(40) + 10;
      if (y > h - letterHeight - 10) y = h - letterHeight - zufall(30) - 10;
    }
  }
  m_idle = true;
}

// ---- window

TSuperFade::TSuperFade(int mode, TSuperOptions& options, TBibliothek& bibliothek,
                       std::function<QWidget*()> returnWindow, QPoint returnPos)
    : TTrainerWindow(nullptr, Qt::FramelessWindowHint),
      m_options(options),
      m_engine(mode, options, bibliothek, m_pump),
      m_returnWindow(std::move(returnWindow)),
      m_returnPos(returnPos) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
  setCursor(Qt::BlankCursor);
  setFocusPolicy(Qt::StrongFocus);
  // Full screen by its own size too: without a window manager nobody grants the state.
  fillScreen();
  reseedZufall();
  m_engine.showRect = [this](const QRect& r) { repaint(r); };
  m_timer.setInterval(TSuperFadeEngine::kTickMs);
  connect(&m_timer, &QTimer::timeout, this, [this] { onTick(); });
}

TSuperFade::~TSuperFade() {
  // The options go with the window: what was changed is kept.
  if (m_options.modified()) m_options.save();
}

void TSuperFade::showEvent(QShowEvent* e) {
  TTrainerWindow::showEvent(e);
  if (m_started) return;
  m_started = true;
  fillScreen();
  m_running = std::make_unique<TPresentationScope>();
  m_engine.resize(width(), height());
  m_engine.begin();
  m_timer.start();
  activateWindow();
  setFocus();
}

void TSuperFade::fillScreen() {
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  if (s) setGeometry(s->geometry());
  else move(0, 0);
  // A new geometry ends the full-screen state; it is asked for again on top of it.
  setWindowState(windowState() | Qt::WindowFullScreen);
}

void TSuperFade::resizeEvent(QResizeEvent* e) {
  TTrainerWindow::resizeEvent(e);
  if (m_engine.frame().size() != size()) m_engine.resize(width(), height());
}

void TSuperFade::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  const QImage& frame = m_engine.frame();
  p.fillRect(e->rect(), Qt::black);
  if (!frame.isNull()) p.drawImage(e->rect().topLeft(), frame, e->rect());
}

void TSuperFade::keyPressEvent(QKeyEvent* e) {
  m_engine.input();
  e->accept();
}

void TSuperFade::mousePressEvent(QMouseEvent* e) {
  m_engine.input();
  e->accept();
}

void TSuperFade::onTick() {
  if (!m_engine.tick()) return;
  m_timer.stop();
  m_closing = true;
  close();
}

void TSuperFade::closeEvent(QCloseEvent* e) {
  if (QCoreApplication::closingDown()) {
    e->accept();
    return;
  }
  // A close from outside ends the run first; the next quiet tick closes (a fade may be
  // letting events run right now).
  if (!m_closing && m_timer.isActive()) {
    m_engine.forceStop();
    e->ignore();
    return;
  }
  e->accept();
  if (m_closed) return;
  m_closed = true;
  m_timer.stop();
  m_engine.end();
  QWidget* next = m_returnWindow ? m_returnWindow() : nullptr;
  if (!next) next = createMainWindow();
  m_running.reset();
  unsetCursor();
  hide();
  if (next) {
    next->move(m_returnPos);
    next->show();
    next->raise();
    next->activateWindow();
  }
  deleteLater();
}
