// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

// The recording settings dialog and the recordings window live above the sound layer
// (lab/); trainers open them through these hooks, which the app sets at start-up.
namespace zek {

struct TRecordingWindows {
  std::function<void()> settings;
  // With a word: its new recording `file` is entered in the store first.
  std::function<void(const std::string& word, const std::string& file)> recordings;
};

void setRecordingWindows(TRecordingWindows windows);
// Each does nothing while no hook is set.
void openRecordingSettings();
void openRecordingsWindow(const std::string& word = {}, const std::string& file = {});

}  // namespace zek
