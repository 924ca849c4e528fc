// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMenu;

// The self-drawn single-line answer field: holds the accepted solutions, checks the
// answer on Enter, colours the wrong letters of a near miss red and offers a help
// pattern on F12 and a menu of special characters. Texts are Windows-1252.
class tXColorEdit : public QWidget {
  Q_OBJECT
 public:
  using Event = std::function<void(tXColorEdit*)>;

  explicit tXColorEdit(QWidget* parent = nullptr);
  ~tXColorEdit() override;

  // Solutions in order; assigning the list resets the attempt counter.
  const std::vector<std::string>& Lsg() const { return m_lsg; }
  void setLsg(std::vector<std::string> solutions);
  void addLsg(const std::string& solution) { m_lsg.push_back(solution); }

  const std::string& Text() const { return m_text; }
  void setText(const std::string& text);
  const std::string& Farbe() const { return m_farbe; }
  void setFarbe(const std::string& farbe);
  const std::string& Hilfe() const { return m_hilfe; }
  // "*" makes the help mask of the first solution; anything else is kept as it is.
  void setHilfe(const std::string& hilfe);
  const std::string& Command() const { return m_command; }
  void setCommand(const std::string& command) { m_command = command; }
  const std::string& SpecialChars() const { return m_specialChars; }
  void setSpecialChars(const std::string& chars);
  int Zeichenabstand() const { return m_zeichenabstand; }
  void setZeichenabstand(int pixels);
  bool ReadOnly() const { return m_readOnly; }
  void setReadOnly(bool on) { m_readOnly = on; }
  // The tolerant rule (tolerantcheck.h) on top of the exact comparison.
  bool Tolerant() const { return m_tolerant; }
  void setTolerant(bool on) { m_tolerant = on; }
  bool Border() const { return m_border; }
  void setBorder(bool on);
  QColor Color() const { return m_color; }
  void setColor(const QColor& color);
  const QFont& Font() const { return m_font; }
  void setFont(const QFont& font);
  void setHint(const std::string& hint);

  int CursorPos() const { return m_cursorPos; }
  void setCursorPos(int pos) { m_cursorPos = pos; }
  int Attempts() const { return m_attempts; }
  bool CursorShown() const { return m_cursorShown; }
  bool Active() const { return m_active; }
  int TextTop() const { return m_textTop; }
  int TextHeight() const { return m_textHeight; }
  // Left x of character i (1-based) as last painted; 0 outside 1..300.
  int CharLeft(int i) const { return i >= 1 && i <= 300 ? m_charLeft[static_cast<size_t>(i)] : 0; }

  void Reset();
  int TextWidthOf(const std::string& text) const;

  // Typing and keys as the learner does them (also used by tests).
  void typeChar(char c);
  void pressEnter();
  // Caret on or off.
  void setCaret(bool on);
  // The 1-based caret position a click at x gives.
  int caretPosForX(int x) const;
  // The special-character menu (nullptr without special characters).
  QMenu* specialMenu() const { return m_menu.get(); }
  // The picture as last painted.
  const QImage& surface() const { return m_surface; }

  Event OnRichtig, OnFalsch, OnBeinahe, OnReturn, OnMouseDown, OnClick, OnEnter, OnExit;
  std::function<void(tXColorEdit*, char& key)> OnKeyPress;
  std::function<void(tXColorEdit*, int key, Qt::KeyboardModifiers)> OnKeyDown;

  // The random source of the help mask, 0..4 (tests set it).
  std::function<int()> randomDraw;

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  void repaintSurface();
  void blink();
  bool handleKey(int key, Qt::KeyboardModifiers mods);
  void deleteAt(int pos);  // 1-based

  std::vector<std::string> m_lsg;
  std::string m_text, m_farbe, m_hilfe, m_command, m_specialChars;
  int m_zeichenabstand = 0;
  bool m_readOnly = false;
  bool m_tolerant = false;
  bool m_border = true;
  QColor m_color = Qt::white;
  QFont m_font;
  int m_cursorPos = 0;
  int m_scroll = 0;  // pixels the text is moved left by when it is wider than the field
  int m_attempts = 0;
  bool m_cursorShown = false;
  bool m_active = false;
  int m_textTop = 0;
  int m_textHeight = 0;
  std::array<int, 302> m_charLeft{};
  QImage m_surface;
  QTimer m_blink;
  std::unique_ptr<QMenu> m_menu;
  bool m_pressed = false;
};

// The field that pages create for their gaps.
class TPageEdit : public tXColorEdit {
  Q_OBJECT
 public:
  using tXColorEdit::tXColorEdit;
};
