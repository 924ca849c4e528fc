// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The voices that speak the content: the set-up speaks the sentences and words with the
// chosen one, and words without a recording are spoken at run time with it.
enum class TStimmeArt { Rms, Espeak };

struct TStimmeInfo {
  TStimmeArt art;
  const char* kennung;  // stored under "...\Aufnahme" as "Stimme"; the set-up's manifest names it
  const char* name;     // shown in "Aufnahme-Einstellungen"
};
const std::vector<TStimmeInfo>& stimmen();
const TStimmeInfo& stimmeInfo(TStimmeArt art);
// An unknown name gives the default voice (Rms).
TStimmeArt stimmeNamens(std::string_view kennung);

// The learner's choice (settings store), Rms when none or unknown.
TStimmeArt gewaehlteStimme();
void setGewaehlteStimme(TStimmeArt art);

// Mono speech, 16-bit samples.
struct TSprache {
  std::vector<std::int16_t> samples;
  int rate = 16000;
  double sekunden() const { return rate > 0 ? static_cast<double>(samples.size()) / rate : 0.0; }
};

// One synthesiser; not shared between threads (each thread makes its own).
class TSprecher {
 public:
  virtual ~TSprecher() = default;
  // Speaks an English text (Windows-1252); empty on failure.
  virtual TSprache sprich(std::string_view text) = 0;
  // The Rms voice speaks in-process; espeak-ng runs as a command (nullptr when the
  // program is not installed).
  static std::unique_ptr<TSprecher> fuer(TStimmeArt art);
};

// Silence below `schwelle` (of full scale) at both ends cut off, a few ms left standing.
void randStilleKuerzen(TSprache& sprache, double schwelle = 0.005);

// Installed speech files keep the names the lesson table and the store hold ("lab_0000.wav"),
// but hold Ogg Vorbis, which libsndfile recognises by its header. Written under a temporary
// name and renamed; false on failure.
inline constexpr double kSprachQualitaet = 0.2;  // libsndfile's VBR quality 0..1
bool schreibeSprachDatei(const std::filesystem::path& datei, const TSprache& sprache, double qualitaet = kSprachQualitaet);
// Any file libsndfile reads, as mono float at its own rate; empty on failure.
struct TSignal {
  std::vector<float> samples;
  int rate = 0;
};
TSignal leseSignal(const std::filesystem::path& datei);
// Linear interpolation after a box filter over the step (speech, not music).
std::vector<float> umtasten(const std::vector<float>& samples, int von, int nach);
