// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ttrainerwindows.h"

#include <map>

namespace {

std::map<TTrainerKind, TTrainerWindowMaker>& makers() {
  static std::map<TTrainerKind, TTrainerWindowMaker> table;
  return table;
}

}  // namespace

void registerTrainerWindow(TTrainerKind kind, TTrainerWindowMaker make) {
  if (make) {
    makers()[kind] = std::move(make);
  } else {
    makers().erase(kind);
  }
}

QWidget* makeTrainerWindow(TTrainerKind kind) {
  const auto it = makers().find(kind);
  return it == makers().end() ? nullptr : it->second();
}
