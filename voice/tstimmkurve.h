// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/tstimme.h"

#include <vector>

// What the lab shows of a voice: the waveform as an envelope and the pitch contour.
struct TStimmKurve {
  static constexpr int kHop = 256;  // samples per contour step
  int rate = 0;
  double sekunden = 0;
  std::vector<float> huelle;     // peak |sample| per step, 0..1
  std::vector<float> tonhoehe;   // Hz per step; 0 where no voiced pitch was found
  bool leer() const { return huelle.empty(); }
};

// The pitch tracker is aubio's YIN (GPL-3.0-or-later, like this program); only steps it is
// confident about and in the range of speaking voices (60..450 Hz) are kept.
TStimmKurve stimmKurve(const TSignal& signal);
