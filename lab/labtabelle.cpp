// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/labtabelle.h"

#include "lab/tsatzliste.h"

#include <cstdio>

std::string labSoundDatei(int n) {
  char name[40];
  std::snprintf(name, sizeof name, "%d\\lab_%04d.wav", n / 100, n);
  return name;
}

std::string labSchluessel(const TSatz& satz) {
  const std::size_t lab = satz.datei.rfind("lab_");
  const std::size_t punkt = satz.datei.rfind('.');
  if (lab == std::string::npos || punkt == std::string::npos || punkt <= lab + 4) return satz.englisch;
  return satz.datei.substr(lab + 4, punkt - lab - 4) + " " + satz.englisch;
}
