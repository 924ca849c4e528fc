// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A printed page in the metric mapping: one unit is 0.1 mm, x grows to the right from the
// left edge of the printable area and y grows upwards from its top, so positions on the
// page have negative y. Texts are Windows-1252; a text position is the top left corner of
// its character cell.
struct TPrintFont {
  std::string face = "Arial";
  int height = 33;  // character cell height (ascent + descent) in units
  bool bold = false;
  bool italic = false;
};

class TPrintSurface {
 public:
  virtual ~TPrintSurface() = default;

  virtual int width() const = 0;   // printable width in units
  virtual int height() const = 0;  // printable height in units
  virtual int dpiX() const = 0;
  virtual int dpiY() const = 0;

  virtual void setFont(const TPrintFont& font) = 0;
  virtual int textWidth(std::string_view text) = 0;  // in units, with the current font
  // color 0x00RRGGBB
  virtual void text(int x, int y, std::string_view text, std::uint32_t color = 0) = 0;
  virtual void line(int x1, int y1, int x2, int y2, bool dashed) = 0;
  virtual void frame(int x1, int y1, int x2, int y2) = 0;
  virtual void fill(int x1, int y1, int x2, int y2, std::uint32_t color) = 0;
  virtual void newPage() = 0;
  // Ends the job; false (with the reason in error()) when the output failed.
  virtual bool finish() = 0;
  virtual std::string error() const = 0;
};
