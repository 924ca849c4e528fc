// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QMenu;
class QAction;

// The plain window behind everything that covers the desktop on large screens.
class TBackdrop : public QWidget {
  Q_OBJECT
 public:
  explicit TBackdrop(QWidget* parent = nullptr);

  // Colour as 0x00BBGGRR; the matching menu entry takes the check mark.
  void setColor(int bgr);
  int color() const { return m_color; }
  // Visible only on screens wider than 800 or higher than 600 pixels.
  static bool wanted(int screenWidth, int screenHeight) { return screenWidth > 800 || screenHeight > 600; }

  QMenu* menu() const { return m_menu; }

 signals:
  void clickedThrough();  // a click the backdrop did not take; the active window comes to the front

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  int m_color = 8421504;
  QMenu* m_menu = nullptr;
  QList<QAction*> m_colorActions;
};
