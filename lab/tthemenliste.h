// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lab/tthema.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

class TZIPResource;

// The topics of the language lab with the current topic, the current sentence and the
// sentences shown lately (so that they do not come back too soon).
class TThemenListe {
 public:
  // Reads a lesson table: "****" items start a topic, every other item belongs to a
  // sentence of five items. A topic header inside a sentence ends that sentence early
  // (its missing items count as empty); sentences before the first header are dropped.
  void laden(TZIPResource& block);
  // The built-in lesson table (block 1) with the variants (block 4).
  void ladenEingebaut();
  // Pairs of items "NNNN" and a sentence: each becomes a variant of the sentence with that
  // sound number (pairs for unknown numbers are skipped).
  void variantenLaden(TZIPResource& block);
  // The sentence with sound number `nummer`, or nothing.
  const TSatz* satzNummer(int nummer) const;

  std::size_t size() const { return m_themen.size(); }
  bool empty() const { return m_themen.empty(); }
  const TThema& operator[](std::size_t i) const { return *m_themen[i]; }
  std::size_t satzAnzahl() const;  // over all topics

  int aktThema() const { return m_aktThema; }
  int aktSatz() const { return m_aktSatz; }
  // Makes topic `index` current; an index outside the list gives topic 0. Clears the
  // recent sentences when the topic changes.
  void setAktThema(int index);
  const TThema* thema() const;  // the current topic, or nothing when the list is empty
  const TSatz* satz() const;    // the current sentence, or nothing
  const std::vector<int>& letzteSaetze() const { return m_letzteSaetze; }

  // Picks the next sentence of the current topic. `drawBelow(n)` returns a random number
  // from 0 to n-1; `pump` runs pending window events after each draw.
  void naechsterSatz(const std::function<int(int)>& drawBelow, const std::function<void()>& pump = {});

 private:
  std::vector<std::unique_ptr<TThema>> m_themen;
  int m_aktThema = 0;
  int m_aktSatz = 0;
  std::vector<int> m_letzteSaetze;
};
