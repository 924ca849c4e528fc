// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tbackdrop.h"

#include "platform/appstate.h"

#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QScreen>

namespace {
QColor fromBgr(int bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }
}  // namespace

TBackdrop::TBackdrop(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
  setWindowTitle("zek englisch");
  setAttribute(Qt::WA_ShowWithoutActivating);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->geometry());

  m_menu = new QMenu(this);
  m_menu->addAction("Minimieren", this, [this] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->isVisible()) w->showMinimized();
    }
  });
  m_menu->addSeparator();
  QAction* invisible = m_menu->addAction("Unsichtbar", this, [this] { hide(); });
  invisible->setVisible(false);
  m_menu->addSeparator()->setVisible(false);
  auto* group = new QActionGroup(this);
  struct Entry { const char* caption; int bgr; };
  for (const Entry& e : {Entry{"Wei\u00DF", 0xFFFFFF}, Entry{"Hellgrau", 0xC0C0C0}, Entry{"Dunkelgrau", 0x808080},
                         Entry{"Schwarz", 0x000000}}) {
    QAction* a = m_menu->addAction(QString::fromUtf8(e.caption));
    a->setCheckable(true);
    a->setData(e.bgr);
    group->addAction(a);
    m_colorActions << a;
    connect(a, &QAction::triggered, this, [this, bgr = e.bgr] {
      setColor(bgr);
      appState().BackdropColor = bgr;
    });
  }
  setColor(m_color);
}

void TBackdrop::setColor(int bgr) {
  m_color = bgr;
  for (QAction* a : m_colorActions) a->setChecked(a->data().toInt() == bgr);
  update();
}

void TBackdrop::paintEvent(QPaintEvent*) { QPainter(this).fillRect(rect(), fromBgr(m_color)); }

void TBackdrop::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) {
    e->accept();
    emit clickedThrough();
    return;
  }
  QWidget::mousePressEvent(e);
}

void TBackdrop::contextMenuEvent(QContextMenuEvent* e) { m_menu->popup(e->globalPos()); }

void TBackdrop::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  lower();
}
