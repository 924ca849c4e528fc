// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

#include <functional>
#include <string>

// The program's general button: a coloured face, optional bevel, optional pictures, a
// word-wrapped caption, a hover colour and an on/off mode.
class tXColorButton : public QWidget {
  Q_OBJECT
 public:
  using Event = std::function<void(tXColorButton*)>;
  explicit tXColorButton(QWidget* parent = nullptr);

  const std::string& Caption() const { return m_caption; }
  void setCaption(const std::string& caption);
  QColor Color() const { return m_color; }
  void setColor(const QColor& color);
  // The colour value 0x00BBGGRR with red and blue exchanged.
  int RGB() const;
  void setRGB(int value);
  QColor FlashColor() const { return m_flashColor; }
  void setFlashColor(const QColor& c) { m_flashColor = c; update(); }
  bool MouseOver() const { return m_mouseOver; }
  void setMouseOver(bool on) { m_mouseOver = on; update(); }
  bool MouseOver3D() const { return m_mouseOver3D; }
  void setMouseOver3D(bool on) { m_mouseOver3D = on; update(); }
  bool Ctl3D() const { return m_ctl3D; }
  void setCtl3D(bool on) { m_ctl3D = on; update(); }
  const QImage& Picture1() const { return m_picture1; }
  void setPicture1(const QImage& p);
  const QImage& Picture2() const { return m_picture2; }
  void setPicture2(const QImage& p) { m_picture2 = p; update(); }
  bool AutoSize() const { return m_autoSize; }
  void setAutoSize(bool on);
  bool Center() const { return m_center; }
  void setCenter(bool on) { m_center = on; update(); }
  bool Stretch() const { return m_stretch; }
  void setStretch(bool on) { m_stretch = on; update(); }
  int Abstand() const { return m_abstand; }
  void setAbstand(int px) { m_abstand = px; update(); }
  // A picture whose part under the button becomes its face (offset: the button's place in it).
  void setImage(const QImage* image, QPoint offset = {});
  bool OnOff() const { return m_onOff; }
  void setOnOff(bool on) { m_onOff = on; }
  bool IsOn() const { return m_isOn; }
  void setIsOn(bool on);
  const std::string& Befehl() const { return m_befehl; }
  void setBefehl(const std::string& command) { m_befehl = command; }
  bool Pressed() const { return m_pressed; }
  bool Hovered() const { return m_hovered; }

  Event OnClick, OnTurnOn, OnTurnOff;

  // The picture drawn in the current state, or null.
  const QImage* currentPicture() const;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void leaveEvent(QEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  std::string m_caption;
  QColor m_color;
  QColor m_flashColor = Qt::red;
  bool m_mouseOver = false, m_mouseOver3D = false, m_ctl3D = false;
  QImage m_picture1, m_picture2;
  bool m_autoSize = false, m_center = false, m_stretch = false;
  int m_abstand = 0;
  const QImage* m_image = nullptr;
  QPoint m_imageOffset;
  bool m_onOff = false, m_isOn = false;
  std::string m_befehl;
  bool m_pressed = false, m_hovered = false;
};
