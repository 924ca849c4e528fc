#include "vocab/tres.h"

#include "page/tzipresource.h"
#include "vocab/vokabeldatei.h"

TRes::TRes() {
  TZIPResource block(3);
  lesen(block);
}

TRes::TRes(TZIPResource& block) { lesen(block); }

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
