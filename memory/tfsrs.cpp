// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/tfsrs.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMinStabilitaet = 0.001;

int g(TBewertung b) { return static_cast<int>(b); }

double schwierigkeitBegrenzt(double d) { return std::clamp(d, 1.0, 10.0); }

}  // namespace

TBewertung bewertungFuer(bool richtig, int versuche) {
  if (!richtig) return TBewertung::Nochmal;
  return versuche > 1 ? TBewertung::Schwer : TBewertung::Gut;
}

TFsrs::TFsrs(double behalten, const std::array<double, 21>& w) : m_w(w) {
  m_zerfall = -m_w[20];
  m_faktor = std::pow(0.9, 1.0 / m_zerfall) - 1.0;
  setBehalten(behalten);
}

void TFsrs::setBehalten(double behalten) { m_behalten = std::clamp(behalten, 0.7, 0.99); }

double TFsrs::abrufbarkeit(double tage, double s) const {
  return std::pow(1.0 + m_faktor * std::max(tage, 0.0) / std::max(s, kMinStabilitaet), m_zerfall);
}

double TFsrs::intervall(double s) const {
  return s / m_faktor * (std::pow(m_behalten, 1.0 / m_zerfall) - 1.0);
}

double TFsrs::anfangsStabilitaet(TBewertung b) const { return std::max(m_w[std::size_t(g(b) - 1)], kMinStabilitaet); }

double TFsrs::anfangsSchwierigkeit(TBewertung b) const {
  return schwierigkeitBegrenzt(m_w[4] - std::exp(m_w[5] * (g(b) - 1)) + 1.0);
}

double TFsrs::naechsteSchwierigkeit(double d, TBewertung b) const {
  const double delta = -m_w[6] * (g(b) - 3);
  // Linear damping: the nearer to 10, the smaller the step up.
  const double gedaempft = d + delta * (10.0 - d) / 9.0;
  // Mean reversion towards the initial difficulty of an "easy" first answer (unclamped).
  const double ziel = m_w[4] - std::exp(m_w[5] * 3) + 1.0;
  return schwierigkeitBegrenzt(m_w[7] * ziel + (1.0 - m_w[7]) * gedaempft);
}

double TFsrs::stabilitaetNachErinnern(double d, double s, double r, TBewertung b) const {
  const double schwer = b == TBewertung::Schwer ? m_w[15] : 1.0;
  const double leicht = b == TBewertung::Leicht ? m_w[16] : 1.0;
  return s * (1.0 + std::exp(m_w[8]) * (11.0 - d) * std::pow(s, -m_w[9]) * (std::exp(m_w[10] * (1.0 - r)) - 1.0) *
                        schwer * leicht);
}

double TFsrs::stabilitaetNachVergessen(double d, double s, double r) const {
  const double lang = m_w[11] * std::pow(d, -m_w[12]) * (std::pow(s + 1.0, m_w[13]) - 1.0) * std::exp(m_w[14] * (1.0 - r));
  // A lapse never leaves the entry more stable than a same-day "again" would.
  const double kurz = s / std::exp(m_w[17] * m_w[18]);
  return std::min(lang, kurz);
}

double TFsrs::stabilitaetAmSelbenTag(double s, TBewertung b) const {
  double faktor = std::exp(m_w[17] * (g(b) - 3 + m_w[18])) * std::pow(s, -m_w[19]);
  // A right answer on the same day never lowers the stability.
  if (g(b) >= 3) faktor = std::max(faktor, 1.0);
  return s * faktor;
}

TFsrsZustand TFsrs::bewerten(const TFsrsZustand& z, TBewertung b, int heute) const {
  TFsrsZustand n = z;
  if (z.neu()) {
    n.stabilitaet = anfangsStabilitaet(b);
    n.schwierigkeit = anfangsSchwierigkeit(b);
  } else {
    const int vergangen = std::max(0, heute - z.letzterTag);
    if (vergangen == 0) {
      n.stabilitaet = stabilitaetAmSelbenTag(z.stabilitaet, b);
    } else {
      const double r = abrufbarkeit(vergangen, z.stabilitaet);
      n.stabilitaet = b == TBewertung::Nochmal ? stabilitaetNachVergessen(z.schwierigkeit, z.stabilitaet, r)
                                               : stabilitaetNachErinnern(z.schwierigkeit, z.stabilitaet, r, b);
    }
    n.schwierigkeit = naechsteSchwierigkeit(z.schwierigkeit, b);
    if (b == TBewertung::Nochmal) ++n.fehler;
  }
  n.stabilitaet = std::clamp(n.stabilitaet, kMinStabilitaet, double(kHoechstesIntervall));
  n.wiederholungen = z.wiederholungen + 1;
  n.letzterTag = heute;
  const int tage = std::clamp(static_cast<int>(std::lround(intervall(n.stabilitaet))), 1, kHoechstesIntervall);
  n.faellig = heute + tage;
  return n;
}
