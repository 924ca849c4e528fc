// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lab/tsatzliste.h"

#include <string>

// A topic of the language lab: its name and its sentences.
class TThema {
 public:
  explicit TThema(std::string name) : m_name(std::move(name)) {}

  const std::string& name() const { return m_name; }
  TSatzListe& saetze() { return m_saetze; }
  const TSatzListe& saetze() const { return m_saetze; }

 private:
  std::string m_name;
  TSatzListe m_saetze;
};
