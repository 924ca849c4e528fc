// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

// A plain picture button: the normal picture, and the second one while pressed.
class tXButton : public QWidget {
  Q_OBJECT
 public:
  explicit tXButton(QWidget* parent = nullptr);

  const QImage& Picture1() const { return m_picture1; }
  void setPicture1(const QImage& p);
  const QImage& Picture2() const { return m_picture2; }
  void setPicture2(const QImage& p);
  void setAutoSize(bool on);
  void setCenter(bool on) { m_center = on; update(); }
  void setStretch(bool on) { m_stretch = on; update(); }
  bool Pressed() const { return m_pressed; }

  std::function<void(tXButton*)> OnClick;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  void applyAutoSize();
  bool inside(const QPoint& p) const { return p.x() >= 0 && p.x() <= width() && p.y() >= 0 && p.y() <= height(); }

  QImage m_picture1, m_picture2;
  bool m_autoSize = false, m_center = false, m_stretch = false;
  bool m_pressed = false;
};
