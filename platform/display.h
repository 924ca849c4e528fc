// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

// What the start-up check needs to know of the screen.
struct TDisplayInfo {
  int depth = 32;  // bits per pixel
  int width = 0;
  int height = 0;
};

// The primary screen, or the override when one is set (tests).
TDisplayInfo displayInfo();
void setDisplayOverride(std::optional<TDisplayInfo> info);
