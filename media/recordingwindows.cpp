// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/recordingwindows.h"

namespace zek {
namespace {

TRecordingWindows& hooks() {
  static TRecordingWindows windows;
  return windows;
}

}  // namespace

void setRecordingWindows(TRecordingWindows windows) { hooks() = std::move(windows); }

void openRecordingSettings() {
  if (hooks().settings) hooks().settings();
}

void openRecordingsWindow(const std::string& word, const std::string& file) {
  if (hooks().recordings) hooks().recordings(word, file);
}

}  // namespace zek
