// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/txcoloredit.h"

#include "platform/codec.h"
#include "widgets/answercheck.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

#include <algorithm>

namespace {
constexpr int kFirstLeft = 4;
constexpr int kMaxChars = 298;
constexpr char kOe = static_cast<char>(156);
constexpr char kOE = static_cast<char>(140);
}  // namespace

tXColorEdit::tXColorEdit(QWidget* parent) : QWidget(parent) {
  resize(121, 21);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::IBeamCursor);
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_blink.setInterval(500);
  connect(&m_blink, &QTimer::timeout, this, &tXColorEdit::blink);
  m_font = QWidget::font();
  repaintSurface();
}

tXColorEdit::~tXColorEdit() = default;

void tXColorEdit::setLsg(std::vector<std::string> solutions) {
  m_lsg = std::move(solutions);
  m_attempts = 0;
}

void tXColorEdit::setText(const std::string& text) {
  if (text == m_text) return;
  m_text = text.substr(0, kMaxChars);
  if (m_cursorPos > static_cast<int>(m_text.size()) + 1) m_cursorPos = static_cast<int>(m_text.size()) + 1;
  repaintSurface();
}

void tXColorEdit::setFarbe(const std::string& farbe) {
  if (farbe == m_farbe) return;
  m_farbe = farbe;
  repaintSurface();
}

void tXColorEdit::setHilfe(const std::string& hilfe) {
  if (hilfe != "*") {
    m_hilfe = hilfe.substr(0, kMaxChars);
    return;
  }
  const std::string first = m_lsg.empty() ? std::string() : m_lsg.front();
  m_hilfe = randomDraw ? answercheck::helpMask(first, randomDraw) : answercheck::helpMask(first);
}

void tXColorEdit::setSpecialChars(const std::string& chars) {
  if (chars == m_specialChars) return;
  m_specialChars = chars;
  m_menu.reset();
  if (chars.empty()) return;
  m_menu = std::make_unique<QMenu>();
  size_t pos = 0;
  while (pos <= chars.size()) {
    const size_t end = std::min(chars.find(';', pos), chars.size());
    const std::string piece = chars.substr(pos, end - pos);
    pos = end + 1;
    std::string caption = piece;
    if (piece == std::string(1, kOe)) caption = "oe";
    if (piece == std::string(1, kOE)) caption = "OE";
    QAction* a = m_menu->addAction(zek::toQString(caption));
    char c = caption.empty() ? '\0' : caption[0];
    if (caption == "oe") c = kOe;
    if (caption == "OE") c = kOE;
    connect(a, &QAction::triggered, this, [this, c] {
      if (c != '\0') typeChar(c);
      setFocus();
    });
    if (end == chars.size()) break;
  }
}

void tXColorEdit::setZeichenabstand(int pixels) {
  m_zeichenabstand = pixels;
  repaintSurface();
}

void tXColorEdit::setBorder(bool on) {
  m_border = on;
  repaintSurface();
}

void tXColorEdit::setColor(const QColor& color) {
  m_color = color;
  repaintSurface();
}

void tXColorEdit::setFont(const QFont& font) {
  m_font = font;
  QWidget::setFont(font);
  repaintSurface();
}

void tXColorEdit::setHint(const std::string& hint) { setToolTip(zek::toQString(hint)); }

void tXColorEdit::Reset() {
  m_cursorPos = 0;
  m_lsg.clear();
  m_attempts = 0;
  m_text.clear();
  m_farbe.clear();
  m_hilfe.clear();
  repaintSurface();
}

int tXColorEdit::TextWidthOf(const std::string& text) const {
  return QFontMetrics(m_font).horizontalAdvance(zek::toQString(text));
}

static void drawFieldChar(QPainter& p, int x, int baseline, char c, bool red, const QFontMetrics& fm) {
  const int w = fm.horizontalAdvance(QLatin1Char(c));
  if (c == '_') {
    // Placeholders of the help pattern stand apart, so their letters can be counted.
    const int y = baseline + std::max(1, fm.descent() / 2);
    p.fillRect(QRect(x + 1, y, std::max(1, w - 3), std::max(1, fm.lineWidth())), p.pen().color());
    return;
  }
  if (c == ' ' && red) {
    // A blank that does not belong there: red paint would not show on it, a red bar does.
    p.fillRect(QRect(x + 1, baseline - fm.ascent() / 2, std::max(2, w - 2), std::max(2, fm.ascent() / 2)),
               QColor(255, 0, 0));
    return;
  }
  p.drawText(x, baseline, zek::toQString(std::string_view(&c, 1)));
}

void tXColorEdit::repaintSurface() {
  const QSize size = QWidget::size();
  // Drawn at the screen's pixel ratio, so typed text is as sharp as the page's own.
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = (QSizeF(size.expandedTo(QSize(1, 1))) * ratio).toSize();
  if (m_surface.size() != pixels || m_surface.devicePixelRatio() != ratio) {
    m_surface = QImage(pixels, QImage::Format_RGB32);
    m_surface.setDevicePixelRatio(ratio);
  }
  QPainter p(&m_surface);
  p.fillRect(QRect(QPoint(0, 0), size), m_color);
  if (m_border) {
    p.setPen(Qt::black);
    p.drawRect(0, 0, size.width() - 1, size.height() - 1);
  }
  p.setFont(m_font);
  const QFontMetrics fm(m_font);
  m_textHeight = fm.height();  // the cell height of "APpgj"
  m_textTop = (size.height() - m_textHeight) / 2;
  const size_t n = std::min(m_text.size(), static_cast<size_t>(kMaxChars));
  // Where the characters would stand unscrolled.
  int x = kFirstLeft;
  for (size_t i = 0; i < n; ++i) {
    m_charLeft[i + 1] = x;
    x += fm.horizontalAdvance(zek::toQString(std::string_view(&m_text[i], 1))) + m_zeichenabstand;
  }
  m_charLeft[n + 1] = x;
  m_charLeft[n + 2] = x + fm.horizontalAdvance(QLatin1Char(' '));
  // A text wider than the field scrolls so that the caret stays in sight.
  const int right = size.width() - kFirstLeft;
  if (m_charLeft[n + 2] < right) {
    m_scroll = 0;
  } else {
    const int caret = m_charLeft[static_cast<size_t>(std::clamp(m_cursorPos, 1, static_cast<int>(n) + 1))];
    if (caret - m_scroll > right - 1) m_scroll = caret - right + 1;
    if (caret - m_scroll < kFirstLeft) m_scroll = caret - kFirstLeft;
    m_scroll = std::clamp(m_scroll, 0, std::max(0, m_charLeft[n + 2] - right));
  }
  p.setClipRect(QRect(1, 1, size.width() - 2, size.height() - 2));
  for (size_t i = 0; i < n; ++i) {
    const bool red = i < m_farbe.size() && m_farbe[i] != '0';
    p.setPen(red ? QColor(255, 0, 0) : QColor(0, 0, 0));
    m_charLeft[i + 1] -= m_scroll;
    drawFieldChar(p, m_charLeft[i + 1], m_textTop + fm.ascent(), m_text[i], red, fm);
  }
  m_charLeft[n + 1] -= m_scroll;
  m_charLeft[n + 2] -= m_scroll;
  p.end();
  update();
}

void tXColorEdit::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, m_surface);
  if (m_active && m_cursorShown && m_cursorPos >= 1 && m_cursorPos <= 301) {
    // The caret inverts what lies under it.
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QColor(255, 255, 255));
    const int x = m_charLeft[static_cast<size_t>(m_cursorPos)];
    p.drawLine(x, std::max(m_textTop, 1), x, m_textTop + m_textHeight);
  }
}

void tXColorEdit::resizeEvent(QResizeEvent*) { repaintSurface(); }

void tXColorEdit::blink() {
  if (!isVisible() || !m_active) return;
  m_cursorShown = !m_cursorShown;
  update();
}

void tXColorEdit::setCaret(bool on) {
  if (on) {
    if (m_active && m_cursorShown) return;
    if (m_cursorPos == 0 || m_cursorPos > static_cast<int>(m_text.size()) + 1) m_cursorPos = 1;
  }
  m_active = on;
  if (on) {
    m_blink.start();
  } else {
    m_blink.stop();
  }
  if (m_cursorShown != on) m_cursorShown = on;
  update();
}

void tXColorEdit::typeChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (m_readOnly || u < 32 || u == 127) return;
  if (OnKeyPress) {
    OnKeyPress(this, c);
    if (static_cast<unsigned char>(c) < 32) return;
  }
  if (m_cursorPos < 1) m_cursorPos = 1;
  if (m_cursorPos > static_cast<int>(m_text.size()) + 1) m_cursorPos = static_cast<int>(m_text.size()) + 1;
  const std::string oldText = m_text, oldFarbe = m_farbe;
  const size_t at = static_cast<size_t>(m_cursorPos - 1);
  if (m_text.empty() || at >= m_text.size() || (m_text[at] != '_' && m_text[at] != '.')) {
    m_text.insert(at, 1, c);
    if (m_farbe.size() < at) m_farbe.resize(at, '0');
    m_farbe.insert(at, 1, '0');
  } else {
    m_text[at] = c;
  }
  // A text wider than the field scrolls (repaintSurface); only the position table limits it.
  if (m_text.size() <= static_cast<size_t>(kMaxChars)) {
    ++m_cursorPos;
    repaintSurface();
  } else {
    m_text = oldText;
    m_farbe = oldFarbe;
  }
}

void tXColorEdit::deleteAt(int pos) {
  const size_t at = static_cast<size_t>(pos - 1);
  if (at < m_text.size()) m_text.erase(at, 1);
  if (at < m_farbe.size()) m_farbe.erase(at, 1);
}

void tXColorEdit::pressEnter() {
  // An empty Return (a stray or doubled key) is no try.
  if (m_text.find_first_not_of(' ') == std::string::npos) return;
  ++m_attempts;
  const answercheck::Result r = answercheck::check(m_text, m_lsg, m_attempts, m_tolerant);
  switch (r.outcome) {
    case answercheck::Outcome::Right:
    case answercheck::Outcome::FinallyWrong:
      // Accepted by the tolerant rule: the solution is shown as it is written.
      if (r.tolerant) {
        m_text = m_lsg[static_cast<size_t>(r.solutionIndex)].substr(0, kMaxChars);
        m_farbe.clear();
        repaintSurface();
      }
      setCaret(false);
      hide();
      if (OnReturn) OnReturn(this);
      if (r.outcome == answercheck::Outcome::Right) {
        if (OnRichtig) OnRichtig(this);
      } else if (OnFalsch) {
        OnFalsch(this);
      }
      break;
    case answercheck::Outcome::TryAgain:
      setCaret(false);
      m_text.clear();
      m_farbe.clear();
      repaintSurface();
      setCaret(true);
      if (OnReturn) OnReturn(this);
      break;
    case answercheck::Outcome::AlmostRight: {
      const std::string& s = m_lsg[static_cast<size_t>(r.solutionIndex)];
      setCaret(false);
      m_cursorPos = answercheck::firstDifference(m_text, s);
      m_farbe = answercheck::almostRightColours(m_text, r.skeleton);
      if (OnBeinahe) OnBeinahe(this);
      repaintSurface();
      setCaret(true);
      break;
    }
  }
}

bool tXColorEdit::handleKey(int key, Qt::KeyboardModifiers mods) {
  if (m_readOnly) return false;
  // Ctrl alone (not AltGr, which arrives as Ctrl+Alt on some systems) blocks the keys.
  if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier)) return true;
  const int len = static_cast<int>(m_text.size());
  switch (key) {
    case Qt::Key_Backspace:
      if (m_cursorPos >= 2) {
        --m_cursorPos;
        deleteAt(m_cursorPos);
        repaintSurface();
      }
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      pressEnter();
      return true;
    case Qt::Key_Left:
      if (m_cursorPos >= 2) --m_cursorPos;
      repaintSurface();  // the text may scroll to the caret
      return true;
    case Qt::Key_Right:
      if (m_cursorPos <= len) ++m_cursorPos;
      repaintSurface();
      return true;
    case Qt::Key_Home:
      m_cursorPos = 1;
      repaintSurface();
      return true;
    case Qt::Key_End:
      m_cursorPos = len + 1;
      repaintSurface();
      return true;
    case Qt::Key_Delete:
      if (m_cursorPos >= 1 && m_cursorPos <= len) {
        deleteAt(m_cursorPos);
        repaintSurface();
      }
      return true;
    case Qt::Key_F12: {
      m_farbe = "0";
      m_text = m_hilfe;
      const size_t us = m_hilfe.find('_');
      m_cursorPos = us == std::string::npos ? static_cast<int>(m_hilfe.size()) + 1 : static_cast<int>(us) + 1;
      repaintSurface();
      m_cursorShown = false;
      setCaret(true);
      return true;
    }
    default:
      return false;
  }
}

void tXColorEdit::keyPressEvent(QKeyEvent* e) {
  if (OnKeyDown) OnKeyDown(this, e->key(), e->modifiers());
  if (handleKey(e->key(), e->modifiers())) {
    e->accept();
    return;
  }
  const QString t = e->text();
  // Control characters (Escape, Tab) are no typing: they go on to the window.
  if (!m_readOnly && t.size() == 1 && t[0].unicode() >= 32 && t[0].unicode() != 127) {
    if (const auto c = zek::fromQStringStrict(t)) {
      typeChar((*c)[0]);
      e->accept();
      return;
    }
  }
  QWidget::keyPressEvent(e);
}

int tXColorEdit::caretPosForX(int x) const {
  const int len = static_cast<int>(m_text.size());
  for (int i = 1; i <= len; ++i) {
    const int centre = (m_charLeft[static_cast<size_t>(i)] + m_charLeft[static_cast<size_t>(i + 1)]) / 2;
    if (centre > x) return i;
  }
  return len + 1;
}

void tXColorEdit::mousePressEvent(QMouseEvent* e) {
  if (OnMouseDown) OnMouseDown(this);
  if (e->button() == Qt::LeftButton) {
    if (!m_readOnly && !m_text.empty()) {
      m_cursorPos = caretPosForX(static_cast<int>(e->position().x()));
      update();
    }
    m_pressed = true;
  } else if (e->button() == Qt::RightButton && m_menu) {
    m_menu->popup(e->globalPosition().toPoint());
  }
  e->accept();
}

void tXColorEdit::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && m_pressed) {
    m_pressed = false;
    setFocus(Qt::MouseFocusReason);
    if (OnClick) OnClick(this);
  }
}

void tXColorEdit::focusInEvent(QFocusEvent*) {
  if (!m_readOnly && !m_active) setCaret(true);
  if (OnEnter) OnEnter(this);
}

void tXColorEdit::focusOutEvent(QFocusEvent*) {
  if (!m_readOnly) setCaret(false);
  if (OnExit) OnExit(this);
}
