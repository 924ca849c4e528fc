// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <functional>
#include <string>

// The self-drawn check box of the trainer windows: a 12 x 12 box and a caption at x = 16.
class TXCustomCheckBox : public QWidget {
  Q_OBJECT
 public:
  using Event = std::function<void(TXCustomCheckBox*)>;
  explicit TXCustomCheckBox(QWidget* parent = nullptr);

  const std::string& Caption() const { return m_caption; }
  void setCaption(const std::string& caption);
  bool Checked() const { return m_checked; }
  void setChecked(bool checked);
  int Index() const { return m_index; }
  void setIndex(int index) { m_index = index; }

  Event OnClick, OnMouseDown, OnMouseUp, OnMouseMove;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  std::string m_caption;
  bool m_checked = false;
  int m_index = 0;
};

class tXCheckBox : public TXCustomCheckBox {
  Q_OBJECT
 public:
  using TXCustomCheckBox::TXCustomCheckBox;
};
