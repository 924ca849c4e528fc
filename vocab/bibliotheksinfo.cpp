// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/bibliotheksinfo.h"

#include "platform/codec.h"

#include <QFontMetrics>

#include <algorithm>

TBibliotheksInfo zaehleBibliothek(const std::vector<TVokabel>& eintraege) {
  TBibliotheksInfo info;
  for (const TVokabel& v : eintraege) {
    if (v.istLeer()) continue;
    const std::size_t s = v.Deutsch ? 1 : 0;
    ++info.gesamt[s];
    if (!v.Kontext1.empty() || !v.Kontext2.empty()) ++info.mitKontext[s];
    if (v.Wortart < kWortartAnzahl) ++info.wortart[s][v.Wortart];
    if (v.Schwierigkeit < kSchwierigkeitAnzahl) ++info.stufe[s][v.Schwierigkeit];
  }
  return info;
}

std::vector<int> listenIndizes(const std::vector<TVokabel>& eintraege) {
  std::vector<int> indizes;
  indizes.reserve(eintraege.size());
  for (std::size_t i = 0; i < eintraege.size(); ++i) {
    if (!eintraege[i].istLeer()) indizes.push_back(static_cast<int>(i));
  }
  return indizes;
}

int proRundeMaximum(int n) { return std::max(6, std::min(n, 100)); }

QString namensZeile(const std::string& anzeigeName, const QFontMetrics& fm, int breite) {
  const QString ganz = zek::toQString(anzeigeName);
  if (fm.horizontalAdvance(ganz) <= breite) return ganz;
  const qsizetype trenner = std::max(ganz.lastIndexOf('/'), ganz.lastIndexOf('\\'));
  const QString datei = ganz.mid(trenner + 1);
  const QString kurz = QString::fromUtf8("\u2026") + ganz.mid(trenner);
  if (trenner >= 0 && fm.horizontalAdvance(kurz) <= breite) return kurz;
  return fm.elidedText(datei, Qt::ElideMiddle, breite);
}
