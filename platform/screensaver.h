// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Linux knows no screen-saver system command that a window could refuse; instead the
// program asks the desktop's screen saver (org.freedesktop.ScreenSaver on the session
// bus) to stay off while a full-screen presentation runs. Without a session bus or a
// screen-saver service nothing happens.
class TScreenSaverGuard {
 public:
  TScreenSaverGuard() = default;
  ~TScreenSaverGuard() { release(); }
  TScreenSaverGuard(const TScreenSaverGuard&) = delete;
  TScreenSaverGuard& operator=(const TScreenSaverGuard&) = delete;

  // Asks for the inhibition; true when a screen-saver service granted it.
  bool inhibit();
  void release();
  bool inhibited() const { return m_cookie != 0; }

 private:
  std::uint32_t m_cookie = 0;
};

// Sets PresentationRunning and keeps the screen saver off while it is true.
void setPresentationRunning(bool on);

// PresentationRunning for the lifetime of the object, also when the presentation throws.
class TPresentationScope {
 public:
  TPresentationScope() { setPresentationRunning(true); }
  ~TPresentationScope() { setPresentationRunning(false); }
  TPresentationScope(const TPresentationScope&) = delete;
  TPresentationScope& operator=(const TPresentationScope&) = delete;
};
