// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class TXDatabase;

namespace zek {

// The vocabulary editor's dictionary fields (word, meaning, kind, direction) follow the
// dictionary's cursor while the editor is open: it sets a follower when it opens and clears
// it (nullptr) when it closes. The dictionary window calls it after every change.
using DictionaryFollower = std::function<void(TXDatabase& db)>;
void setDictionaryFollower(DictionaryFollower follower);
void notifyDictionaryFollower(TXDatabase& db);

// The dictionary window for the editor: hide it before the editor takes the screen.
// Set by the app at start-up; empty when there is no window.
void setDictionaryWindowHider(std::function<void()> hide);
void hideDictionaryWindow();

}  // namespace zek
