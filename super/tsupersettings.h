// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>

#include <cstdint>
#include <string>

// The conversions and texts of the superlearning settings dialog, free of widgets. Numbers are
// written and read with the separators of `locale` (the platform's by default).
namespace zek::supersettings {

constexpr int kFrameDelayMinPos = 1, kFrameDelayMaxPos = 188;
// Frame-delay slider position (1..188) <-> milliseconds; the steps widen with the delay.
int frameDelayMs(int position);
int frameDelayPosition(int ms);
// "980 ms", "5,5 s", "4:0 min".
std::string frameDelayLabel(int ms, const QLocale& locale = QLocale());

// The DD speed label: slider / 10 seconds, "%g s".
std::string ddSpeedLabel(int slider, const QLocale& locale = QLocale());

// The interval chooser: "30 Sekunden", "1 Minute", "20 Minuten" <-> seconds (0 for anything else).
std::string intervalText(int seconds);
int intervalSeconds(const std::string& text);
// The item nearest to `seconds` among the chooser's eight.
int nearestIntervalItem(int seconds);
extern const int kIntervalSeconds[8];

// The Techno text delay in seconds, "%1.1f", and back: read as a decimal number (with the other
// separator on a second try), times 1000, rounded, kept within 0..100000; 0 when unreadable.
std::string textDelayText(int ms, const QLocale& locale = QLocale());
int textDelayMs(const std::string& text, const QLocale& locale = QLocale());

// "#RRGGBB" of a platform colour value (0x00BBGGRR).
std::string htmlColor(std::uint32_t color);
std::uint32_t swapRedBlue(std::uint32_t color);

struct TPreviewLook {
  std::uint32_t background = 0, text = 0xFFFFFF, picture = 0x990099;  // 0x00BBGGRR
  int mode = 0;
  int transparency = 40;  // slider, percent
  int border = 100;       // slider, pixels of the full-size band
  std::string font = "courier new";
  std::string pictureDir;  // the picture path field
};
// The markup of the 160 x 100 Techno preview; `pictureExists` says whether the preview
// picture ("vorschau.jpg" in the picture folder) is there.
std::string previewMarkup(const TPreviewLook& look, bool pictureExists);
std::string previewPicture(const std::string& pictureDir);

}  // namespace zek::supersettings
