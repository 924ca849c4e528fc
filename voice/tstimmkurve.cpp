// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/tstimmkurve.h"

#include <aubio/aubio.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kFenster = 1024;
constexpr float kMinHz = 60.0f, kMaxHz = 450.0f;
constexpr float kSicher = 0.75f;
}  // namespace

TStimmKurve stimmKurve(const TSignal& signal) {
  TStimmKurve k;
  if (signal.samples.empty() || signal.rate <= 0) return k;
  k.rate = signal.rate;
  k.sekunden = static_cast<double>(signal.samples.size()) / signal.rate;
  const std::size_t schritte = (signal.samples.size() + TStimmKurve::kHop - 1) / TStimmKurve::kHop;
  k.huelle.resize(schritte);
  k.tonhoehe.assign(schritte, 0.0f);
  for (std::size_t i = 0; i < schritte; ++i) {
    const std::size_t a = i * TStimmKurve::kHop;
    const std::size_t b = std::min(a + TStimmKurve::kHop, signal.samples.size());
    float spitze = 0;
    for (std::size_t j = a; j < b; ++j) spitze = std::max(spitze, std::abs(signal.samples[j]));
    k.huelle[i] = std::min(spitze, 1.0f);
  }
  aubio_pitch_t* p = new_aubio_pitch("yinfast", kFenster, TStimmKurve::kHop, static_cast<uint_t>(signal.rate));
  if (!p) return k;
  aubio_pitch_set_unit(p, "Hz");
  aubio_pitch_set_silence(p, -45.0f);
  fvec_t* in = new_fvec(TStimmKurve::kHop);
  fvec_t* out = new_fvec(1);
  for (std::size_t i = 0; i < schritte; ++i) {
    const std::size_t a = i * TStimmKurve::kHop;
    for (std::size_t j = 0; j < TStimmKurve::kHop; ++j) {
      in->data[j] = a + j < signal.samples.size() ? signal.samples[a + j] : 0.0f;
    }
    aubio_pitch_do(p, in, out);
    const float hz = out->data[0];
    if (hz >= kMinHz && hz <= kMaxHz && aubio_pitch_get_confidence(p) >= kSicher) k.tonhoehe[i] = hz;
  }
  // The tracker lags by about one window: its value belongs to the step that started it.
  const std::size_t verzug = (kFenster - TStimmKurve::kHop) / TStimmKurve::kHop / 2;
  if (verzug > 0 && k.tonhoehe.size() > verzug) {
    std::rotate(k.tonhoehe.begin(), k.tonhoehe.begin() + static_cast<std::ptrdiff_t>(verzug), k.tonhoehe.end());
    std::fill(k.tonhoehe.end() - static_cast<std::ptrdiff_t>(verzug), k.tonhoehe.end(), 0.0f);
  }
  del_fvec(out);
  del_fvec(in);
  del_aubio_pitch(p);
  return k;
}
