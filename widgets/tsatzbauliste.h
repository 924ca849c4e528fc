// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/txbitmap.h"

#include <QRect>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// One sentence of the sentence-building exercise: its parts in their current order.
class tSatzteilListe {
 public:
  struct TTeil {
    QRect rect;          // the part's block on the page
    int textOffset = 4;  // where the text starts inside the block
    int textWidth = 0;
    std::string text;
    int picture = -1;  // index into Bilder
  };

  QRect rect;           // the sentence's area
  std::string Loesung;  // the parts in the right order, joined without separators
  std::vector<TTeil> Teile;
  std::vector<TXBitmap> Bilder;

  // The parts from the left edge, each 3 pixels after the one before.
  void LayoutParts();
  bool IsSolved() const;

  static constexpr int kGap = 3;
};

// All sentences of a page and the drag in progress.
class tSatzbauListe {
 public:
  using Random = std::function<int(int n)>;

  std::vector<std::unique_ptr<tSatzteilListe>> Saetze;
  int Aktuell = -1;  // the sentence in work
  int Teil = -1;     // the part being dragged
  bool AufPlatz = true;
  int TeilBreite = 0;

  // `Loesung` from the parts; provisional blocks 100 wide, 116 apart. Returns the index.
  int AddSentence(const QRect& rect, const std::vector<std::string>& parts);
  // Shuffles the parts of every sentence (before their pictures are made).
  void Shuffle(const Random& random);
  // The sentence and part under the point: remembered as in work, with the part's width.
  bool PartAt(int x, int y);
  // The part slot for the pointer at x: the first part whose edge the dragged part may
  // meet. When it is another part, the two change places and the sentence is laid out
  // again; the dragged part then has the slot's index. Sets AufPlatz and returns where
  // the dragged part's left edge snaps to, kNoSlot off a slot.
  int DropSlot(int x);
  static constexpr int kNoSlot = -1'000'000;
  bool IsSolved(int sentence) const;
  void RemoveCurrent();
  void FreeAll();
  bool Done() const { return Saetze.empty(); }

  tSatzteilListe* current() const {
    return Aktuell >= 0 && std::size_t(Aktuell) < Saetze.size() ? Saetze[std::size_t(Aktuell)].get() : nullptr;
  }

  static constexpr int kSlack = 4;
};
