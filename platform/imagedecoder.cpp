// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/imagedecoder.h"

#include "platform/files.h"

namespace zek {

TImageFormat imageFormatFromName(std::string_view name) {
  const std::string ext = extensionLower(name);
  if (ext == ".bmp" || ext == ".dib") return TImageFormat::Bmp;
  if (ext == ".jpg" || ext == ".jpeg" || ext == ".jpe" || ext == ".jfif") return TImageFormat::Jpeg;
  if (ext == ".gif") return TImageFormat::Gif;
  return TImageFormat::Unknown;
}

TImageFormat sniffImageFormat(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return TImageFormat::Bmp;
  if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xD8 && static_cast<unsigned char>(bytes[2]) == 0xFF)
    return TImageFormat::Jpeg;
  if (bytes.substr(0, 6) == "GIF87a" || bytes.substr(0, 6) == "GIF89a") return TImageFormat::Gif;
  return TImageFormat::Unknown;
}

TDecodedImage decodeImage(std::string_view bytes, TImageFormat expected, const TImageLimits& limits) {
  const TImageFormat sniffed = sniffImageFormat(bytes);
  const TImageFormat format = sniffed != TImageFormat::Unknown ? sniffed : expected;
  switch (format) {
    case TImageFormat::Bmp: return decodeBmp(bytes, limits);
    case TImageFormat::Jpeg: return decodeJpeg(bytes, limits);
    case TImageFormat::Gif: return decodeGif(bytes, limits);
    case TImageFormat::Unknown: break;
  }
  return detail::failed(TImageStatus::Unsupported, TImageFormat::Unknown);
}

namespace detail {

bool fitsLimits(long long width, long long height, long long frames, const TImageLimits& limits) {
  if (width <= 0 || height <= 0 || frames <= 0) return false;
  if (width > limits.maxSide || height > limits.maxSide || frames > limits.maxFrames) return false;
  // Sides are at most a few ten thousand, so the products stay far inside 64 bits.
  const unsigned long long frameBytes = static_cast<unsigned long long>(width) * static_cast<unsigned long long>(height) * 3u;
  return frameBytes * static_cast<unsigned long long>(frames) <= limits.maxBytes;
}

TDecodedImage failed(TImageStatus status, TImageFormat format) {
  TDecodedImage image;
  image.status = status;
  image.format = format;
  return image;
}

}  // namespace detail

}  // namespace zek
