// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "memory/tlernspeicher.h"

namespace zek::test {

// A learning memory that tallies what a trainer reports, as the real one's round does, and
// is installed for the lifetime of the object.
struct TallyMemory : TLernspeicher {
  TRundenBilanz bilanz;
  std::vector<std::string> gegeben;
  TallyMemory() { setLernspeicher(this); }
  ~TallyMemory() override { setLernspeicher(nullptr); }
  TallyMemory(const TallyMemory&) = delete;
  TallyMemory& operator=(const TallyMemory&) = delete;
  bool aktiv() const override { return true; }
  void antwort(const TLernAntwort& a) override {
    bilanz.zaehlen(a.frage, a.richtig);
    gegeben.push_back(a.gegeben);
  }
  std::optional<TRundenBilanz> rundeAbschliessen(TLernArt) override { return std::exchange(bilanz, {}); }
};

}  // namespace zek::test
