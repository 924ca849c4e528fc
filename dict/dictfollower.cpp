// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/dictfollower.h"

namespace zek {

namespace {
DictionaryFollower& follower() {
  static DictionaryFollower f;
  return f;
}
std::function<void()>& hider() {
  static std::function<void()> h;
  return h;
}
}  // namespace

void setDictionaryFollower(DictionaryFollower f) { follower() = std::move(f); }

void notifyDictionaryFollower(TXDatabase& db) {
  // A copy: the follower may clear itself (the editor closing) while it runs.
  if (DictionaryFollower f = follower()) f(db);
}

void setDictionaryWindowHider(std::function<void()> hide) { hider() = std::move(hide); }

void hideDictionaryWindow() {
  if (hider()) hider()();
}

}  // namespace zek
