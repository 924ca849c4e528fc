// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/tsatzbauliste.h"

#include <algorithm>
#include <utility>

void tSatzteilListe::LayoutParts() {
  int x = rect.left();
  for (TTeil& t : Teile) {
    t.rect.moveTo(x, rect.top());
    x += t.rect.width() + kGap;
  }
}

bool tSatzteilListe::IsSolved() const {
  std::string joined;
  for (const TTeil& t : Teile) joined += t.text;
  return joined == Loesung;
}

int tSatzbauListe::AddSentence(const QRect& rect, const std::vector<std::string>& parts) {
  auto s = std::make_unique<tSatzteilListe>();
  s->rect = rect;
  int x = rect.left();
  for (const std::string& part : parts) {
    s->Loesung += part;
    tSatzteilListe::TTeil t;
    t.rect = QRect(x, rect.top(), 100, rect.height());
    t.text = part;
    t.picture = int(s->Bilder.size());
    s->Bilder.emplace_back();
    s->Teile.push_back(std::move(t));
    x += 116;
  }
  Saetze.push_back(std::move(s));
  return int(Saetze.size()) - 1;
}

void tSatzbauListe::Shuffle(const Random& random) {
  if (!random) return;
  for (auto& s : Saetze) {
    const int n = int(s->Teile.size());
    for (int i = 0; i < n; ++i) {
      const int r = random(n);
      if (r != i) std::swap(s->Teile[std::size_t(i)], s->Teile[std::size_t(r)]);
    }
  }
}

bool tSatzbauListe::PartAt(int x, int y) {
  for (std::size_t s = 0; s < Saetze.size(); ++s) {
    const auto& teile = Saetze[s]->Teile;
    for (std::size_t i = 0; i < teile.size(); ++i) {
      const QRect& r = teile[i].rect;
      if (x >= r.left() && x < r.left() + r.width() && y >= r.top() && y < r.top() + r.height()) {
        Aktuell = int(s);
        Teil = int(i);
        TeilBreite = r.width();
        AufPlatz = true;
        return true;
      }
    }
  }
  return false;
}

int tSatzbauListe::DropSlot(int x) {
  tSatzteilListe* s = current();
  if (!s || Teil < 0 || std::size_t(Teil) >= s->Teile.size()) {
    AufPlatz = false;
    return kNoSlot;
  }
  for (int j = 0; j < int(s->Teile.size()); ++j) {
    const QRect& r = s->Teile[std::size_t(j)].rect;
    const int w = std::min(TeilBreite, r.width());
    const int left = r.left(), right = r.left() + r.width();
    int snapped = 0;
    if (j > Teil && x >= right - w - kSlack && x <= right + kSlack) snapped = right - TeilBreite;
    else if (j <= Teil && x >= left - kSlack && x <= left + w + kSlack) snapped = left;
    else continue;
    AufPlatz = true;
    if (j != Teil) {
      std::swap(s->Teile[std::size_t(j)], s->Teile[std::size_t(Teil)]);
      s->LayoutParts();
      Teil = j;
    }
    return snapped;
  }
  AufPlatz = false;
  return kNoSlot;
}

bool tSatzbauListe::IsSolved(int sentence) const {
  return sentence >= 0 && std::size_t(sentence) < Saetze.size() && Saetze[std::size_t(sentence)]->IsSolved();
}

void tSatzbauListe::RemoveCurrent() {
  if (current()) Saetze.erase(Saetze.begin() + Aktuell);
  Aktuell = -1;
  Teil = -1;
}

void tSatzbauListe::FreeAll() {
  Saetze.clear();
  Aktuell = -1;
  Teil = -1;
  AufPlatz = true;
  TeilBreite = 0;
}
