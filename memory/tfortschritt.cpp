// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/tfortschritt.h"

#include "memory/lernuhr.h"
#include "platform/codec.h"

#include <QPainter>
#include <QRect>

#include <algorithm>

namespace {

const QColor kRichtig(76, 175, 80);
const QColor kFalsch(229, 83, 75);
const QColor kNeu(120, 144, 156);
const QColor kLernend(255, 193, 7);
const QColor kSicher(76, 175, 80);
const QColor kFaellig(66, 133, 244);
const QColor kText(33, 33, 33);
const QColor kGitter(220, 220, 220);

QString t(const std::string& cp1252) { return zek::toQString(cp1252); }

// A rounded-up scale maximum (1, 2, 5, 10, 20, 50 ...), so grid lines fall on round numbers.
int skala(int maximum) {
  int stufe = 1;
  while (true) {
    for (int f : {1, 2, 5})
      if (stufe * f >= maximum) return std::max(stufe * f, 1);
    stufe *= 10;
  }
}

void titel(QPainter& p, const QRect& r, const std::string& text) {
  QFont f = p.font();
  f.setBold(true);
  p.setFont(f);
  p.setPen(kText);
  p.drawText(r.adjusted(0, 0, 0, -(r.height() - 20)), Qt::AlignLeft | Qt::AlignVCenter, t(text));
  f.setBold(false);
  p.setFont(f);
}

// Bars over the days with a left scale; `werte2` stacked on `werte1` when given. `zahlen` writes
// each bar's count over it. A first bar far above the others (a backlog due today) is cut at
// the top with its count written on it, so the days after it still read at their own scale.
void balken(QPainter& p, const QRect& flaeche, const std::vector<int>& werte1, const std::vector<int>& werte2,
            const QColor& farbe1, const QColor& farbe2, const std::vector<QString>& beschriftung, int jedeNte,
            bool zahlen = false) {
  const int n = static_cast<int>(werte1.size());
  int maximum = 1;
  for (int i = 0; i < n; ++i) maximum = std::max(maximum, werte1[std::size_t(i)] + (werte2.empty() ? 0 : werte2[std::size_t(i)]));
  int rest = 0;
  for (int i = 1; i < n; ++i) rest = std::max(rest, werte1[std::size_t(i)] + (werte2.empty() ? 0 : werte2[std::size_t(i)]));
  const bool gekappt = zahlen && n > 1 && rest > 0 && werte1[0] > 3 * rest;
  if (gekappt) maximum = rest + rest / 4 + 1;
  // Four grid steps of a round size, so every line has a whole number.
  const int oben = 4 * skala((maximum + 3) / 4);
  const QRect plot = flaeche.adjusted(40, 4, -4, -18);
  p.setPen(kGitter);
  for (int k = 0; k <= 4; ++k) {
    const int y = plot.bottom() - plot.height() * k / 4;
    p.drawLine(plot.left(), y, plot.right(), y);
    p.setPen(kText);
    p.drawText(QRect(flaeche.left(), y - 8, 36, 16), Qt::AlignRight | Qt::AlignVCenter, QString::number(oben * k / 4));
    p.setPen(kGitter);
  }
  if (n == 0) return;
  const double breite = double(plot.width()) / n;
  for (int i = 0; i < n; ++i) {
    const int x = plot.left() + int(i * breite) + 1;
    const int w = std::max(1, int(breite) - 2);
    const bool kappen = gekappt && i == 0;
    const int h1 = kappen ? plot.height() + 4 : plot.height() * werte1[std::size_t(i)] / oben;
    const int h2 = werte2.empty() ? 0 : plot.height() * werte2[std::size_t(i)] / oben;
    p.fillRect(QRect(x, plot.bottom() - h1 + 1, w, h1), farbe1);
    if (h2 > 0) p.fillRect(QRect(x, plot.bottom() - h1 - h2 + 1, w, h2), farbe2);
    if (kappen) {
      // Two white slashes across the bar: it goes on beyond the scale.
      p.setRenderHint(QPainter::Antialiasing, true);
      p.setPen(QPen(Qt::white, 3));
      for (int k : {0, 8}) p.drawLine(QPointF(x - 2, plot.top() + 22 + k), QPointF(x + w + 2, plot.top() + 14 + k));
      p.setRenderHint(QPainter::Antialiasing, false);
    }
    if (zahlen && werte1[std::size_t(i)] > 0) {
      // The cut bar's count beside its top, where the scaled bars never reach; the others' over them.
      const QString zahl = QString::number(werte1[std::size_t(i)]);
      QFont f = p.font();
      f.setBold(kappen);
      p.setFont(f);
      p.setPen(kText);
      if (kappen) {
        const QRect feld(x + w + 3, plot.top() - 2, p.fontMetrics().horizontalAdvance(zahl) + 6, 16);
        p.fillRect(feld, Qt::white);
        p.drawText(feld, Qt::AlignCenter, zahl);
      } else {
        p.drawText(QRect(x - 20, plot.bottom() - h1 - 16, w + 40, 16), Qt::AlignHCenter | Qt::AlignBottom, zahl);
      }
      f.setBold(false);
      p.setFont(f);
    }
    if (i % jedeNte == 0 && std::size_t(i) < beschriftung.size()) {
      p.setPen(kText);
      p.drawText(QRect(x - 20, plot.bottom() + 2, w + 40, 16), Qt::AlignHCenter | Qt::AlignTop, beschriftung[std::size_t(i)]);
    }
  }
}

QString tagKurz(int tag) {
  const std::string d = lernDatum(tag);  // YYYY-MM-DD
  return QString::fromStdString(d.substr(8, 2) + "." + d.substr(5, 2) + ".");
}

void legende(QPainter& p, int x, int y, const std::vector<std::pair<QColor, QString>>& eintraege) {
  for (const auto& [farbe, text] : eintraege) {
    p.fillRect(QRect(x, y + 3, 10, 10), farbe);
    p.setPen(kText);
    const int w = p.fontMetrics().horizontalAdvance(text);
    p.drawText(QRect(x + 14, y, w + 4, 16), Qt::AlignLeft | Qt::AlignVCenter, text);
    x += 14 + w + 16;
  }
}

}  // namespace

TFortschritt TFortschritt::laden(TLernDatenbank& db, const TLernFilter& f, int heute) {
  TFortschritt r;
  r.heute = heute;
  r.tage = db.antwortenProTag(f, heute - kTage + 1, heute);
  r.zustand = db.zustaende(f);
  r.prognose = db.prognose(f, heute, kPrognose);
  return r;
}

int TFortschritt::antworten() const {
  int n = 0;
  for (const TTagesZahl& t : tage) n += t.antworten;
  return n;
}

int TFortschritt::richtig() const {
  int n = 0;
  for (const TTagesZahl& t : tage) n += t.richtig;
  return n;
}

int TFortschritt::anteilRichtig() const {
  const int n = antworten();
  return n > 0 ? richtig() * 100 / n : -1;
}

std::string fortschrittsName(const TLernFilter& f) {
  if (!f.art) return "Alle Trainer";
  switch (*f.art) {
    case TLernArt::Vokabel: return f.sammlung.empty() ? "Alle Vokabeln" : "Vokabeln: " + f.sammlung;
    case TLernArt::Verb: return "Verben";
    case TLernArt::Labor: return "Sprachlabor";
    case TLernArt::Seite: return f.sammlung.empty() ? "Alle \xDC" "bungsseiten" : "\xDC" "bungen: " + f.sammlung;
  }
  return "";
}

void fortschrittMalen(QPainter& p, const QRect& r, const TFortschritt& f) {
  p.fillRect(r, Qt::white);
  p.setRenderHint(QPainter::Antialiasing, false);
  const int halb = r.width() / 2;
  const QRect links(r.left() + 10, r.top() + 8, halb - 20, r.height() / 2 - 16);
  const QRect rechts(r.left() + halb + 10, r.top() + 8, halb - 20, r.height() / 2 - 16);
  const QRect untenLinks = links.translated(0, r.height() / 2);
  const QRect untenRechts = rechts.translated(0, r.height() / 2);

  // Answers per day, right ones below the wrong ones.
  std::vector<int> richtig, falsch;
  std::vector<QString> tage;
  for (const TTagesZahl& t : f.tage) {
    richtig.push_back(t.richtig);
    falsch.push_back(t.antworten - t.richtig);
    tage.push_back(tagKurz(t.tag));
  }
  titel(p, links, "Antworten pro Tag (30 Tage): " + std::to_string(f.antworten()));
  legende(p, links.left() + 40, links.top() + 20, {{kRichtig, "richtig"}, {kFalsch, "falsch"}});
  balken(p, links.adjusted(0, 38, 0, 0), richtig, falsch, kRichtig, kFalsch, tage, 7);

  // Share right per day, as a line over a 0..100 % grid.
  const int anteil = f.anteilRichtig();
  titel(p, rechts, anteil < 0 ? std::string("Anteil richtig (30 Tage): noch keine Antworten")
                              : "Anteil richtig (30 Tage): " + std::to_string(anteil) + " %");
  {
    const QRect plot = rechts.adjusted(44, 42, -4, -18);
    for (int k = 0; k <= 4; ++k) {
      const int y = plot.bottom() - plot.height() * k / 4;
      p.setPen(kGitter);
      p.drawLine(plot.left(), y, plot.right(), y);
      p.setPen(kText);
      p.drawText(QRect(rechts.left(), y - 8, 40, 16), Qt::AlignRight | Qt::AlignVCenter, QString::number(25 * k) + "%");
    }
    const int n = static_cast<int>(f.tage.size());
    p.setRenderHint(QPainter::Antialiasing, true);
    QPen stift(kRichtig, 2);
    p.setPen(stift);
    QPointF vorher;
    bool hatVorher = false;
    for (int i = 0; i < n; ++i) {
      const TTagesZahl& t = f.tage[std::size_t(i)];
      if (t.antworten == 0) continue;
      const QPointF punkt(plot.left() + (i + 0.5) * plot.width() / n,
                          plot.bottom() - double(plot.height()) * t.richtig / t.antworten);
      if (hatVorher) p.drawLine(vorher, punkt);
      p.setBrush(kRichtig);
      p.drawEllipse(punkt, 2.5, 2.5);
      vorher = punkt;
      hatVorher = true;
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(kText);
    for (int i = 0; i < n; i += 7)
      p.drawText(QRect(plot.left() + i * plot.width() / n - 20, plot.bottom() + 2, 50, 16), Qt::AlignHCenter, tage[std::size_t(i)]);
  }

  // Entries by state: one bar split into new, learning and known.
  const TZustandsZahl& z = f.zustand;
  const int gesamt = z.neu + z.lernend + z.sicher;
  titel(p, untenLinks, "Eintr\xE4ge nach Stand: " + std::to_string(gesamt));
  {
    const QRect balken(untenLinks.left(), untenLinks.top() + 40, untenLinks.width(), 44);
    p.fillRect(balken, kGitter);
    int x = balken.left();
    const std::pair<int, QColor> teile[] = {{z.neu, kNeu}, {z.lernend, kLernend}, {z.sicher, kSicher}};
    for (const auto& [n, farbe] : teile) {
      if (gesamt == 0) break;
      const int w = balken.width() * n / gesamt;
      p.fillRect(QRect(x, balken.top(), w, balken.height()), farbe);
      x += w;
    }
    int y = balken.bottom() + 14;
    const std::pair<QColor, std::string> zeilen[] = {
        {kNeu, "neu (an einem Tag ge\xFC" "bt): " + std::to_string(z.neu)},
        {kLernend, "lernend: " + std::to_string(z.lernend)},
        {kSicher, "sicher (h\xE4lt 21 Tage und l\xE4nger): " + std::to_string(z.sicher)}};
    for (const auto& [farbe, text] : zeilen) {
      legende(p, untenLinks.left(), y, {{farbe, t(text)}});
      y += 22;
    }
  }

  // Due forecast.
  std::vector<QString> tage14;
  int summe = 0;
  for (int i = 0; i < static_cast<int>(f.prognose.size()); ++i) {
    tage14.push_back(i == 0 ? QString("heute") : tagKurz(f.heute + i));
    summe += f.prognose[std::size_t(i)];
  }
  const int heute = f.prognose.empty() ? 0 : f.prognose.front();
  titel(p, untenRechts, "F\xE4llig in 14 Tagen: " + std::to_string(summe) + " (heute " + std::to_string(heute) + ")");
  balken(p, untenRechts.adjusted(0, 24, 0, 0), f.prognose, {}, kFaellig, kFaellig, tage14, 3, true);
}
