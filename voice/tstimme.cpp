// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/tstimme.h"

#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/settingsstore.h"

#include <QProcess>
#include <QStandardPaths>

#include <flite/flite.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <system_error>

extern "C" cst_voice* register_cmu_us_rms(const char* voxdir);

namespace {

const char* const kSubKey = "\\Aufnahme";
const char* const kStimme = "Stimme";

// flite keeps its voices and lexicon in process-wide state: one synthesis at a time.
std::mutex& fliteMutex() {
  static std::mutex m;
  return m;
}

cst_voice* rmsVoice() {
  static cst_voice* voice = [] {
    flite_init();
    return register_cmu_us_rms(nullptr);
  }();
  return voice;
}

class TFliteSprecher final : public TSprecher {
 public:
  TSprache sprich(std::string_view text) override {
    TSprache out;
    if (text.empty()) return out;
    const std::string t(text);
    std::lock_guard lock(fliteMutex());
    // The voice's excitation noise comes from rand(): seeded from the text, a text always
    // sounds the same, whatever was spoken before it.
    std::uint32_t saat = 2166136261u;
    for (const char c : t) saat = (saat ^ static_cast<unsigned char>(c)) * 16777619u;
    std::srand(saat);
    cst_wave* w = flite_text_to_wave(t.c_str(), rmsVoice());
    if (!w) return out;
    out.rate = w->sample_rate;
    out.samples.assign(w->samples, w->samples + w->num_samples);
    delete_wave(w);
    return out;
  }
};

class TEspeakSprecher final : public TSprecher {
 public:
  TSprache sprich(std::string_view text) override {
    TSprache out;
    if (text.empty()) return out;
    QProcess p;
    p.start(QStringLiteral("espeak-ng"), {QStringLiteral("-v"), QStringLiteral("en-gb"), QStringLiteral("-s"),
                                          QStringLiteral("140"), QStringLiteral("--stdout"),
                                          zek::toQString(text)});
    if (!p.waitForFinished(10000) || p.exitCode() != 0) return out;
    const QByteArray wav = p.readAllStandardOutput();
    // espeak-ng writes a 44-byte header with unknown sizes to a pipe: the rest is 16-bit PCM.
    if (wav.size() < 44 || std::memcmp(wav.constData(), "RIFF", 4) != 0) return out;
    std::int32_t rate = 0;
    std::memcpy(&rate, wav.constData() + 24, 4);
    out.rate = rate > 0 ? rate : 22050;
    const auto n = static_cast<std::size_t>(wav.size() - 44) / 2;
    out.samples.resize(n);
    std::memcpy(out.samples.data(), wav.constData() + 44, n * 2);
    return out;
  }
};

}  // namespace

const std::vector<TStimmeInfo>& stimmen() {
  static const std::vector<TStimmeInfo> all = {
      {TStimmeArt::Rms, "flite-rms", "Amerikanisch (klar)"},
      {TStimmeArt::Espeak, "espeak-en-gb", "Britisch (espeak)"},
  };
  return all;
}

const TStimmeInfo& stimmeInfo(TStimmeArt art) {
  for (const TStimmeInfo& s : stimmen()) {
    if (s.art == art) return s;
  }
  return stimmen().front();
}

TStimmeArt stimmeNamens(std::string_view kennung) {
  for (const TStimmeInfo& s : stimmen()) {
    if (kennung == s.kennung) return s.art;
  }
  return TStimmeArt::Rms;
}

TStimmeArt gewaehlteStimme() {
  const auto v = TSettingsStore::global().readString(settingsKey(kSubKey), kStimme);
  return stimmeNamens(v ? *v : std::string());
}

void setGewaehlteStimme(TStimmeArt art) {
  TSettingsStore::global().writeString(settingsKey(kSubKey), kStimme, stimmeInfo(art).kennung);
}

std::unique_ptr<TSprecher> TSprecher::fuer(TStimmeArt art) {
  if (art == TStimmeArt::Espeak) {
    if (QStandardPaths::findExecutable(QStringLiteral("espeak-ng")).isEmpty()) return nullptr;
    return std::make_unique<TEspeakSprecher>();
  }
  return std::make_unique<TFliteSprecher>();
}

void randStilleKuerzen(TSprache& sprache, double schwelle) {
  auto& s = sprache.samples;
  const int grenze = static_cast<int>(schwelle * 32767);
  auto laut = [grenze](std::int16_t v) { return std::abs(static_cast<int>(v)) > grenze; };
  const auto erst = std::find_if(s.begin(), s.end(), laut);
  if (erst == s.end()) return;  // all quiet: leave it, an empty file would count as missing
  const auto letzt = std::find_if(s.rbegin(), s.rend(), laut).base();
  const auto rand = static_cast<std::ptrdiff_t>(sprache.rate / 50);  // 20 ms
  const auto anfang = std::max(s.begin(), erst - std::min(rand, erst - s.begin()));
  const auto ende = letzt + std::min(rand, s.end() - letzt);
  s = std::vector<std::int16_t>(anfang, ende);
}

bool schreibeSprachDatei(const std::filesystem::path& datei, const TSprache& sprache, double qualitaet) {
  if (sprache.samples.empty() || sprache.rate <= 0) return false;
  std::error_code ec;
  std::filesystem::create_directories(datei.parent_path(), ec);
  const std::filesystem::path teil = datei.string() + ".part";
  SF_INFO info{};
  info.samplerate = sprache.rate;
  info.channels = 1;
  info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
  SNDFILE* f = sf_open(teil.c_str(), SFM_WRITE, &info);
  if (!f) return false;
  sf_command(f, SFC_SET_VBR_ENCODING_QUALITY, &qualitaet, sizeof qualitaet);
  const auto n = static_cast<sf_count_t>(sprache.samples.size());
  const bool ok = sf_write_short(f, sprache.samples.data(), n) == n;
  if (sf_close(f) != 0 || !ok) {
    std::filesystem::remove(teil, ec);
    return false;
  }
  std::filesystem::rename(teil, datei, ec);
  if (ec) std::filesystem::remove(teil, ec);
  return !ec;
}

TSignal leseSignal(const std::filesystem::path& datei) {
  TSignal out;
  SF_INFO info{};
  SNDFILE* f = sf_open(datei.c_str(), SFM_READ, &info);
  if (!f) return out;
  if (info.channels > 0 && info.frames > 0 && info.frames < (1 << 26)) {
    std::vector<float> frames(static_cast<std::size_t>(info.frames * info.channels));
    const sf_count_t got = sf_readf_float(f, frames.data(), info.frames);
    out.samples.resize(static_cast<std::size_t>(std::max<sf_count_t>(got, 0)));
    for (std::size_t i = 0; i < out.samples.size(); ++i) {
      float sum = 0;
      for (int c = 0; c < info.channels; ++c) sum += frames[i * static_cast<std::size_t>(info.channels) + static_cast<std::size_t>(c)];
      out.samples[i] = sum / static_cast<float>(info.channels);
    }
    out.rate = info.samplerate;
  }
  sf_close(f);
  return out;
}

std::vector<float> umtasten(const std::vector<float>& samples, int von, int nach) {
  if (von <= 0 || nach <= 0 || von == nach || samples.empty()) return samples;
  const double schritt = static_cast<double>(von) / nach;
  std::vector<float> quelle = samples;
  if (schritt > 1.0) {
    // A moving average as wide as the step keeps most of what would fold back.
    const int breite = static_cast<int>(std::ceil(schritt));
    double sum = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
      sum += samples[i];
      if (i >= static_cast<std::size_t>(breite)) sum -= samples[i - static_cast<std::size_t>(breite)];
      quelle[i] = static_cast<float>(sum / std::min<double>(breite, static_cast<double>(i + 1)));
    }
  }
  const auto n = static_cast<std::size_t>(static_cast<double>(samples.size()) / schritt);
  std::vector<float> out(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double pos = static_cast<double>(i) * schritt;
    const auto a = static_cast<std::size_t>(pos);
    const double frac = pos - static_cast<double>(a);
    const float x0 = quelle[std::min(a, quelle.size() - 1)];
    const float x1 = quelle[std::min(a + 1, quelle.size() - 1)];
    out[i] = static_cast<float>(x0 + (x1 - x0) * frac);
  }
  return out;
}
