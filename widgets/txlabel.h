// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <string>

// The page's note: a small framed text in light yellow shown next to a link.
class TXLabel : public QWidget {
  Q_OBJECT
 public:
  explicit TXLabel(QWidget* parent = nullptr);

  const std::string& Caption() const { return m_caption; }
  void setCaption(const std::string& caption);
  bool WordWrap() const { return m_wordWrap; }
  void setWordWrap(bool on) { m_wordWrap = on; update(); }

  // Shows the note for `link` (page coordinates) on a page of the given size.
  void showAt(const QRect& link, const std::string& text, QSize page);
  // Hides it; the text is reset and word wrap turned off.
  void hideNote();

  static constexpr QColor kBackground{255, 255, 224};

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;

 private:
  std::string m_caption;
  bool m_wordWrap = false;
};
