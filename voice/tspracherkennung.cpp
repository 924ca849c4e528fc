// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/tspracherkennung.h"

#include <pocketsphinx.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <unistd.h>

namespace {

const std::string kModell = ZEK_SPHINX_MODEL;
// The search ps_init makes from "-lm".
const char* const kFreieSuche = "_default";
const char* const kLautSuche = "laute";

const char* const kEiner[] = {"zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine",
                              "ten", "eleven", "twelve", "thirteen", "fourteen", "fifteen", "sixteen",
                              "seventeen", "eighteen", "nineteen"};
const char* const kZehner[] = {"", "", "twenty", "thirty", "forty", "fifty", "sixty", "seventy", "eighty", "ninety"};

// 0..9999 as spoken words; false for anything else.
bool zahlWoerter(int n, std::vector<std::string>& out) {
  if (n < 0 || n > 9999) return false;
  if (n >= 1000) {
    zahlWoerter(n / 1000, out);
    out.emplace_back("thousand");
    n %= 1000;
    if (n == 0) return true;
  }
  if (n >= 100) {
    out.emplace_back(kEiner[n / 100]);
    out.emplace_back("hundred");
    n %= 100;
    if (n == 0) return true;
  }
  if (n < 20) {
    out.emplace_back(kEiner[n]);
  } else {
    out.emplace_back(kZehner[n / 10]);
    if (n % 10) out.emplace_back(kEiner[n % 10]);
  }
  return true;
}

bool nurZiffern(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

constexpr int kFrame = 160;  // 10 ms at 16 kHz, the decoder's frame
// Pauses between words and a noisy take leave up to about an eighth of the loud frames to
// silence; past a fifth, every further share counts.
constexpr double kUngehoertFrei = 0.2;
constexpr double kUngehoertGewicht = 0.1;

// The share of the take's loud frames (above a fifth of its loud end) that fall into `pausen`.
double ungehoert(const std::vector<float>& samples, const std::vector<std::pair<int, int>>& pausen) {
  const std::size_t n = samples.size() / kFrame;
  if (n == 0) return 0;
  std::vector<double> pegel(n);
  for (std::size_t f = 0; f < n; ++f) {
    double e = 0;
    for (std::size_t i = f * kFrame; i < (f + 1) * kFrame; ++i) e += static_cast<double>(samples[i]) * samples[i];
    pegel[f] = std::sqrt(e / kFrame);
  }
  std::vector<double> sortiert = pegel;
  const auto p95 = sortiert.begin() + static_cast<std::ptrdiff_t>(n * 95 / 100);
  std::nth_element(sortiert.begin(), p95, sortiert.end());
  const double laut = *p95 / 5;
  std::size_t alle = 0, still = 0;
  std::vector<bool> inPause(n, false);
  for (const auto& [von, bis] : pausen) {
    for (int f = std::max(von, 0); f <= bis && static_cast<std::size_t>(f) < n; ++f) inPause[static_cast<std::size_t>(f)] = true;
  }
  for (std::size_t f = 0; f < n; ++f) {
    if (pegel[f] < laut) continue;
    ++alle;
    still += inPause[f] ? 1 : 0;
  }
  return alle ? static_cast<double>(still) / static_cast<double>(alle) : 0.0;
}

std::vector<std::int16_t> alsPcm(const std::vector<float>& samples) {
  std::vector<std::int16_t> pcm(samples.size());
  for (std::size_t i = 0; i < samples.size(); ++i) {
    pcm[i] = static_cast<std::int16_t>(std::lround(std::clamp(samples[i], -1.0f, 1.0f) * 32767.0f));
  }
  return pcm;
}

}  // namespace

std::vector<std::string> satzWoerter(std::string_view satz) {
  std::vector<std::string> out;
  std::string wort;
  auto fertig = [&] {
    while (!wort.empty() && wort.back() == '\'') wort.pop_back();
    while (!wort.empty() && wort.front() == '\'') wort.erase(wort.begin());
    if (wort.empty()) return;
    // "9:30", "10" are read as the words a speaker says.
    const auto doppelpunkt = wort.find(':');
    if (doppelpunkt != std::string::npos && nurZiffern(wort.substr(0, doppelpunkt)) &&
        nurZiffern(wort.substr(doppelpunkt + 1))) {
      zahlWoerter(std::stoi(wort.substr(0, doppelpunkt)), out);
      const int min = std::stoi(wort.substr(doppelpunkt + 1));
      if (min == 0) out.emplace_back("o'clock");
      else if (min < 10) { out.emplace_back("oh"); zahlWoerter(min, out); }
      else zahlWoerter(min, out);
    } else if (nurZiffern(wort) && wort.size() <= 4) {
      zahlWoerter(std::stoi(wort), out);
    } else {
      out.push_back(wort);
    }
    wort.clear();
  };
  for (const char c : satz) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalnum(u) || c == '\'' || (c == ':' && !wort.empty())) {
      wort += static_cast<char>(std::tolower(u));
    } else if (c == '\x92') {
      wort += '\'';
    } else {
      fertig();
    }
  }
  fertig();
  return out;
}

double wortFehlerRate(const std::vector<std::string>& erwartet, const std::vector<std::string>& gehoert) {
  if (erwartet.empty()) return gehoert.empty() ? 0.0 : 1.0;
  std::vector<std::size_t> zeile(gehoert.size() + 1), vorher(gehoert.size() + 1);
  for (std::size_t j = 0; j <= gehoert.size(); ++j) vorher[j] = j;
  for (std::size_t i = 1; i <= erwartet.size(); ++i) {
    zeile[0] = i;
    for (std::size_t j = 1; j <= gehoert.size(); ++j) {
      const std::size_t ersetzt = vorher[j - 1] + (erwartet[i - 1] == gehoert[j - 1] ? 0 : 1);
      zeile[j] = std::min({ersetzt, vorher[j] + 1, zeile[j - 1] + 1});
    }
    std::swap(zeile, vorher);
  }
  return static_cast<double>(vorher[gehoert.size()]) / static_cast<double>(erwartet.size());
}

struct TSpracherkennung::Impl {
  cmd_ln_t* config = nullptr;
  ps_decoder_t* ps = nullptr;
  std::set<std::string> woerter;
  std::filesystem::path dictDatei;
  int suchen = 0;
  std::string letzteSuche;
  ~Impl() {
    if (ps) ps_free(ps);
    if (config) cmd_ln_free_r(config);
    std::error_code ec;
    if (!dictDatei.empty()) std::filesystem::remove(dictDatei, ec);
  }

  // Runs the current search; the hypothesis, and the acoustic score summed over its words.
  // `pausen` gets the frames (from, to) the decoding gave to silence and noise.
  bool dekodiere(const std::vector<std::int16_t>& pcm, std::string& hyp, double& akustik, int& frames,
                 std::vector<std::pair<int, int>>* pausen = nullptr) {
    // A new stream each time: the noise level and the speech detector's state are kept across
    // the utterances of a stream, so a take would be heard through the ones decoded before it.
    if (ps_start_stream(ps) < 0 || ps_start_utt(ps) < 0) return false;
    ps_process_raw(ps, pcm.data(), pcm.size(), FALSE, TRUE);
    ps_end_utt(ps);
    std::int32_t gesamt = 0;
    const char* h = ps_get_hyp(ps, &gesamt);
    if (!h) return false;
    hyp = h;
    frames = ps_get_n_frames(ps);
    akustik = 0;
    for (ps_seg_t* seg = ps_seg_iter(ps); seg; seg = ps_seg_next(seg)) {
      std::int32_t ascr = 0, lscr = 0, lback = 0;
      ps_seg_prob(seg, &ascr, &lscr, &lback);
      akustik += ascr;
      const char* wort = ps_seg_word(seg);
      if (pausen && wort && (wort[0] == '<' || wort[0] == '+' || wort[0] == '[')) {
        int von = 0, bis = 0;
        ps_seg_frames(seg, &von, &bis);
        pausen->emplace_back(von, bis);
      }
    }
    return true;
  }
};

TSpracherkennung::~TSpracherkennung() = default;

bool TSpracherkennung::modellDa() {
  std::error_code ec;
  return std::filesystem::exists(kModell + "/en-us/mdef", ec) && std::filesystem::exists(kModell + "/en-us.lm.bin", ec) &&
         std::filesystem::exists(kModell + "/cmudict-en-us.dict", ec);
}

std::unique_ptr<TSpracherkennung> TSpracherkennung::laden(const std::vector<std::string>& saetze, std::string& fehler) {
  if (!modellDa()) {
    fehler = "Die Spracherkennung ist nicht installiert (Paket pocketsphinx-en-us).";
    return nullptr;
  }
  std::set<std::string> gesucht;
  for (const std::string& s : saetze) {
    for (std::string& w : satzWoerter(s)) gesucht.insert(std::move(w));
  }
  // The cut dictionary: every pronunciation ("word", "word(2)", ...) of the wanted words.
  std::unique_ptr<TSpracherkennung> r(new TSpracherkennung);
  r->m = std::make_unique<Impl>();
  std::ifstream voll(kModell + "/cmudict-en-us.dict");
  std::ostringstream dict;
  std::string zeile;
  while (std::getline(voll, zeile)) {
    const auto blank = zeile.find(' ');
    if (blank == std::string::npos) continue;
    std::string wort = zeile.substr(0, blank);
    if (const auto klammer = wort.find('('); klammer != std::string::npos) wort.resize(klammer);
    if (gesucht.count(wort)) {
      dict << zeile << '\n';
      r->m->woerter.insert(wort);
    }
  }
  static std::atomic<int> nummer{0};
  r->m->dictDatei = std::filesystem::temp_directory_path() /
                    ("zek-erkennung-" + std::to_string(::getpid()) + "-" + std::to_string(nummer++) + ".dict");
  {
    std::ofstream out(r->m->dictDatei);
    out << dict.str();
    if (!out) {
      fehler = "Das W\xF6rterbuch der Spracherkennung konnte nicht geschrieben werden.";
      return nullptr;
    }
  }
  const std::string hmm = kModell + "/en-us", lm = kModell + "/en-us.lm.bin", dictName = r->m->dictDatei.string();
  r->m->config = cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", hmm.c_str(), "-lm", lm.c_str(), "-dict",
                             dictName.c_str(), "-allphone_ci", "yes", "-logfn", "/dev/null",
                             // Each take is normalised on its own, so a check never depends on the takes before it.
                             "-cmn", "batch", nullptr);
  if (r->m->config) r->m->ps = ps_init(r->m->config);
  // The yardstick of the check: the best sequence of phones, whatever words they make.
  const std::string laute = kModell + "/en-us-phone.lm.bin";
  if (!r->m->ps || ps_set_allphone_file(r->m->ps, kLautSuche, laute.c_str()) < 0) {
    fehler = "Die Spracherkennung konnte nicht geladen werden.";
    return nullptr;
  }
  return r;
}

std::vector<std::string> TSpracherkennung::woerter(std::string_view satz) const {
  std::vector<std::string> w = satzWoerter(satz);
  for (const std::string& x : w) {
    if (!m->woerter.count(x)) return {};
  }
  return w;
}

bool TSpracherkennung::pruefbar(std::string_view satz) const { return woerter(satz).size() >= 3; }

std::string TSpracherkennung::erkenne(const std::vector<float>& samples16k) {
  ps_set_search(m->ps, kFreieSuche);
  std::string hyp;
  double akustik = 0;
  int frames = 0;
  m->dekodiere(alsPcm(samples16k), hyp, akustik, frames);
  return hyp;
}

TSpracherkennung::TBefund TSpracherkennung::pruefe(const std::vector<float>& samples16k, std::string_view satz) {
  TBefund b;
  const std::vector<std::string> w = woerter(satz);
  if (w.size() < 3) return b;
  b.geprueft = true;
  b.abstand = 1e9;  // no speech, or the expected words cannot be fitted at all
  double energie = 0;
  for (const float s : samples16k) energie += static_cast<double>(s) * s;
  if (samples16k.empty() || std::sqrt(energie / static_cast<double>(samples16k.size())) < 1e-3) return b;

  const std::vector<std::int16_t> pcm = alsPcm(samples16k);
  std::string jsgf = "#JSGF V1.0;\ngrammar satz;\npublic <satz> =";
  for (const std::string& x : w) jsgf += " " + x;
  jsgf += ";\n";
  // A new name each time: the decoder keeps a search it has under the same name.
  const std::string name = "satz" + std::to_string(++m->suchen);
  if (!m->letzteSuche.empty()) ps_unset_search(m->ps, m->letzteSuche.c_str());
  m->letzteSuche.clear();
  if (ps_set_jsgf_string(m->ps, name.c_str(), jsgf.c_str()) < 0) return b;
  m->letzteSuche = name;
  if (ps_set_search(m->ps, name.c_str()) < 0) return b;
  std::string gehalten, laute;
  double aGehalten = 0, aLaute = 0;
  int frames = 0;
  std::vector<std::pair<int, int>> pausen;
  if (!m->dekodiere(pcm, gehalten, aGehalten, frames, &pausen) || gehalten.empty()) return b;
  ps_set_search(m->ps, kLautSuche);
  if (!m->dekodiere(pcm, laute, aLaute, frames) || frames <= 0) return b;
  // Scores are logs in units of ln(1.0001); per frame they compare across lengths.
  b.abstand = (aLaute - aGehalten) / frames / 1000.0;
  // The words of another, shorter sentence fit a take when the rest of its speech passes for
  // pauses: the share of loud frames held as silence or noise counts against the take.
  b.abstand += kUngehoertGewicht * std::max(0.0, ungehoert(samples16k, pausen) - kUngehoertFrei);
  return b;
}
