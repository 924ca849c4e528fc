// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tvocauswertung.h"

#include "platform/codec.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr int kGaugeBreite = 36, kGaugeHoehe = 230;
constexpr int kBalkenBreite = 12, kBalkenAbstand = 3, kGruppenAbstand = 14;

// A vertical gauge filled from the bottom, with its percentage in the middle.
class TGauge : public QWidget {
 public:
  TGauge(int wert, QWidget* parent) : QWidget(parent), m_wert(std::clamp(wert, 0, 100)) {
    setFixedSize(kGaugeBreite, kGaugeHoehe);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.fillRect(r, QColor(0xF4, 0xF4, 0xF4));
    const int h = (r.height() - 1) * m_wert / 100;
    p.fillRect(QRect(r.left() + 1, r.bottom() - h, r.width() - 1, h), QColor(0x1E, 0x6F, 0xD9));
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.drawRect(r);
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    const QString text = QString::number(m_wert) + "%";
    // On a plate of its own the figure reads the same over the filled and the empty part.
    const QRect plate(2, height() / 2 - 10, width() - 4, 20);
    p.fillRect(plate, Qt::white);
    p.setPen(Qt::black);
    p.drawText(plate, Qt::AlignCenter, text);
  }

 private:
  int m_wert;
};

QColor balkenFarbe(int i) {
  if (i < 10) return QColor(0x2E, 0xA0, 0x43);
  if (i < 15) return QColor(0xE8, 0xC2, 0x1A);
  return QColor(0xD3, 0x2F, 0x2F);
}

int balkenX(int i) {
  const int gruppe = std::min(i / 5, 3);
  return gruppe * (5 * (kBalkenBreite + kBalkenAbstand) + kGruppenAbstand) + (i - 5 * gruppe) * (kBalkenBreite + kBalkenAbstand);
}

// The 16 bars over their group captions; each bar tells its count as a hint.
class TBalkenDiagramm : public QWidget {
 public:
  TBalkenDiagramm(const std::array<int, 16>& zaehler, QWidget* parent)
      : QWidget(parent), m_balken(statistikBalken(zaehler)) {
    setFixedSize(balkenX(15) + kBalkenBreite + 40, 96);
    setObjectName("Statistik");
  }

  int balkenBei(QPoint pos) const {
    for (int i = 0; i < 16; ++i) {
      const QRect r(balkenX(i), 0, kBalkenBreite + kBalkenAbstand, 74);
      if (r.contains(pos)) return i;
    }
    return -1;
  }

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::ToolTip) {
      auto* he = static_cast<QHelpEvent*>(e);
      const int i = balkenBei(he->pos());
      if (i >= 0) QToolTip::showText(he->globalPos(), zek::toQString(m_balken[std::size_t(i)].hinweis), this);
      else QToolTip::hideText();
      return true;
    }
    return QWidget::event(e);
  }

  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setPen(QColor(0x90, 0x90, 0x90));
    p.drawLine(0, 73, width() - 1, 73);
    for (int i = 0; i < 16; ++i) {
      const TStatistikBalken& b = m_balken[std::size_t(i)];
      p.fillRect(QRect(balkenX(i), b.top, kBalkenBreite, b.hoehe), balkenFarbe(i));
    }
    p.setPen(Qt::black);
    const char* titel[] = {"1. Runde", "2. Runde", "3. Runde", "sp\xE4ter"};
    for (int g = 0; g < 4; ++g) {
      const int x = balkenX(5 * g);
      const int w = g < 3 ? 5 * (kBalkenBreite + kBalkenAbstand) : kBalkenBreite;
      p.drawText(QRect(x - 20, 78, w + 40, 18), Qt::AlignHCenter | Qt::AlignTop, zek::toQString(titel[g]));
    }
  }

 private:
  std::array<TStatistikBalken, 16> m_balken;
};

QLabel* zeile(const std::string& text, QWidget* parent, int y, int breite) {
  auto* l = new QLabel(zek::toQString(text), parent);
  QFont f = l->font();
  f.setBold(true);
  l->setFont(f);
  l->setAlignment(Qt::AlignCenter);
  l->setGeometry(0, y, breite, 22);
  return l;
}

QLabel* unterschrift(const char* text, QWidget* parent, int xMitte) {
  auto* l = new QLabel(zek::toQString(text), parent);
  l->setAlignment(Qt::AlignCenter);
  l->setGeometry(xMitte - 45, 16 + kGaugeHoehe + 4, 90, 18);
  return l;
}

}  // namespace

std::array<TStatistikBalken, 16> statistikBalken(const std::array<int, 16>& zaehler) {
  long long m = 0, s = 0;
  for (int c : zaehler) {
    m = std::max<long long>(m, c);
    s += c;
  }
  if (s == 0) m = s = 1;
  const long long f = s * 65 / m;
  std::array<TStatistikBalken, 16> balken;
  for (std::size_t i = 0; i < 16; ++i) {
    const long long c = std::max(zaehler[i], 0);
    const int h = static_cast<int>(c * f / s);
    balken[i].top = 72 - h;
    balken[i].hoehe = h + 1;
    balken[i].hinweis = std::to_string(c) + " Vokabeln = " + std::to_string(c * 100 / s) + "%";
  }
  return balken;
}

TVocAuswertung::TVocAuswertung(const TAuswertung& d, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setWindowTitle("Auswertung");
  setObjectName("Auswertung");
  const bool gesamt = d.gesamt != -1;
  const int breite = gesamt ? 480 : 420;
  // The learning memory's lines of a round's end go under the chart, above the button.
  const int bilanzHoehe = d.lernBilanz.empty() ? 0 : 14 + 20 * static_cast<int>(d.lernBilanz.size());
  setFixedSize(breite, 320 + bilanzHoehe);

  auto* runde = new TGauge(d.runde, this);
  runde->setObjectName("diese Runde");
  constexpr int rand = 30;
  runde->move(rand, 16);
  unterschrift("diese Runde", this, rand + kGaugeBreite / 2);
  if (gesamt) {
    auto* insgesamt = new TGauge(d.gesamt, this);
    insgesamt->setObjectName("insgesamt");
    insgesamt->move(breite - rand - kGaugeBreite, 16);
    unterschrift("insgesamt", this, breite - rand - kGaugeBreite / 2);
  }

  // Between the gauges: the lines, then the chart.
  const int links = rand + kGaugeBreite + 8;
  const int innen = (gesamt ? breite - 2 * links : breite - links - 14);
  auto* texte = new QWidget(this);
  texte->setGeometry(links, 18, innen, 80);
  zeile(d.titel, texte, 0, innen);
  zeile(d.zeile2, texte, 26, innen);
  zeile(d.zeile3, texte, 52, innen);

  auto* diagramm = new TBalkenDiagramm(d.statistik, this);
  diagramm->move(links + (innen - diagramm->width()) / 2 + 20, 120);

  if (!d.lernBilanz.empty()) {
    auto* bilanz = new QLabel(this);
    bilanz->setObjectName("Lernspeicher");
    QString text;
    const QFontMetrics fm(bilanz->font());
    for (const std::string& z : d.lernBilanz)
      text += (text.isEmpty() ? "" : "\n") + fm.elidedText(zek::toQString(z), Qt::ElideRight, breite - 48);
    bilanz->setText(text);
    bilanz->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    bilanz->setWordWrap(false);
    bilanz->setFrameShape(QFrame::StyledPanel);
    bilanz->setGeometry(16, 272, breite - 32, bilanzHoehe);
  }

  m_ok = new QPushButton("OK", this);
  m_ok->setDefault(true);
  m_ok->setAutoDefault(true);
  m_ok->setGeometry(gesamt ? 180 : 150, 276 + bilanzHoehe, 120, 30);
  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TVocAuswertung::AuswertungZeigen(const TAuswertung& daten, QWidget* parent) {
  TVocAuswertung dlg(daten, parent);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect g = screen->geometry();
    dlg.move(g.x() + (g.width() - dlg.width()) / 2, g.y() + (g.height() - dlg.height()) / 2);
  }
  dlg.exec();
}
