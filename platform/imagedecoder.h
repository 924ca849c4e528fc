// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Decoding of the picture formats pages use (BMP, JPEG, GIF) into 24-bit frames. Every
// decoder takes the whole file as bytes, checks every size and offset against them and
// against the limits below, and reports a broken or hostile file as a failure: it never
// crashes and never exits. Sizes are checked before anything is allocated for them; the
// decoded frames stay within the limits (a GIF needs one more frame of working space).
namespace zek {

enum class TImageFormat { Unknown, Bmp, Jpeg, Gif };

enum class TImageStatus {
  Ok,
  Unsupported,  // a valid file in a variant we do not read, or an unknown format
  Corrupt,      // broken or truncated
  TooLarge,     // beyond TImageLimits
};

struct TImageLimits {
  int maxSide = 16384;                      // pixels, each direction
  std::size_t maxBytes = std::size_t{256} << 20;  // all decoded frames together
  int maxFrames = 4096;
};

// One full picture: rows top first, blue green red, exactly width * 3 bytes a row.
struct TImageFrame {
  std::vector<std::uint8_t> bgr;
  // Empty when every pixel is opaque; otherwise width * height bytes, 0 = transparent,
  // 255 = opaque. Transparent pixels are white in `bgr`, the colour of a plain page.
  std::vector<std::uint8_t> mask;
  int delayMs = 0;  // animated GIFs: how long the frame stays, as the file says (0 = unset)
};

struct TDecodedImage {
  TImageStatus status = TImageStatus::Corrupt;
  TImageFormat format = TImageFormat::Unknown;
  int width = 0;
  int height = 0;
  std::vector<TImageFrame> frames;  // at least one when status is Ok
  bool ok() const { return status == TImageStatus::Ok; }
};

// ".bmp", ".jpg"/".jpeg"/".jpe"/".jfif" and ".gif", any case; Unknown otherwise.
TImageFormat imageFormatFromName(std::string_view name);
// From the first bytes of the file ("BM", FF D8 FF, "GIF87a"/"GIF89a").
TImageFormat sniffImageFormat(std::string_view bytes);

TDecodedImage decodeBmp(std::string_view bytes, const TImageLimits& limits = {});
TDecodedImage decodeJpeg(std::string_view bytes, const TImageLimits& limits = {});
// All frames of an animated GIF, each composed onto the logical screen with the
// disposal and transparency of the frames before it.
TDecodedImage decodeGif(std::string_view bytes, const TImageLimits& limits = {});

// Decodes as `expected` says (usually from the file's extension); when the bytes carry
// the signature of another known format, that format wins, so a renamed file still loads.
TDecodedImage decodeImage(std::string_view bytes, TImageFormat expected, const TImageLimits& limits = {});

namespace detail {
// True when width x height x 3 x frames fits the limits (no overflow).
bool fitsLimits(long long width, long long height, long long frames, const TImageLimits& limits);
TDecodedImage failed(TImageStatus status, TImageFormat format);
}  // namespace detail

}  // namespace zek
