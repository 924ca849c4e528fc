// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tres.h"

#include "page/tzipresource.h"
#include "vocab/vokabeldatei.h"

TRes::TRes() {
  TZIPResource block(3);
  lesen(block);
  deutscheAnhaengen();
}

TRes::TRes(TZIPResource& block) {
  lesen(block);
  deutscheAnhaengen();
}

void TRes::deutscheAnhaengen() {
  // The block holds English entries only; German questions draw their wrong answers from
  // the same words the other way round, so that their grid shows real English choices.
  const std::size_t n = m_eintraege.size();
  m_eintraege.reserve(2 * n);
  for (std::size_t i = 0; i < n; ++i) {
    const TVokabel& v = m_eintraege[i];
    if (v.Deutsch || v.istLeer()) continue;
    TVokabel d;
    d.Vokabel = v.Bedeutung1;
    d.Bedeutung1 = v.Vokabel;
    d.Wortart = v.Wortart;
    d.Schwierigkeit = v.Schwierigkeit;
    d.Deutsch = true;
    m_eintraege.push_back(std::move(d));
  }
}

void TRes::lesen(TZIPResource& block) {
  m_eintraege.reserve(kGroesse);
  while (!block.endReached() && Anzahl() < kGroesse) {
    std::array<std::string, 10> zeilen;
    for (auto& z : zeilen) {
      if (block.endReached()) return;  // a record cut short is not taken
      z = block.readLine();
    }
    std::array<std::string_view, 10> ansichten;
    for (std::size_t i = 0; i < 10; ++i) ansichten[i] = zeilen[i];
    TVokabel v;
    if (vokabelAusZeilen(ansichten, false, v)) return;  // the same layout, no ".wav" rule, untrimmed
    m_eintraege.push_back(std::move(v));
  }
}
