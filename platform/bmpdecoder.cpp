// SPDX-License-Identifier: GPL-3.0-or-later
// Windows and OS/2 bitmaps: 1, 4, 8, 16, 24 and 32 bits, bottom-up and top-down,
// uncompressed, bit fields, RLE8 and RLE4.
#include "platform/imagedecoder.h"

#include <algorithm>
#include <array>
#include <bit>

namespace zek {
namespace {

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

struct TBytes {
  std::string_view b;
  bool has(std::size_t offset, std::size_t count) const { return offset <= b.size() && count <= b.size() - offset; }
  std::uint8_t u8(std::size_t o) const { return static_cast<std::uint8_t>(b[o]); }
  std::uint16_t u16(std::size_t o) const { return static_cast<std::uint16_t>(u8(o) | (u8(o + 1) << 8)); }
  std::uint32_t u32(std::size_t o) const {
    return static_cast<std::uint32_t>(u8(o)) | (static_cast<std::uint32_t>(u8(o + 1)) << 8) |
           (static_cast<std::uint32_t>(u8(o + 2)) << 16) | (static_cast<std::uint32_t>(u8(o + 3)) << 24);
  }
};

// One colour channel of a bit-field pixel, scaled to 8 bits.
class TChannel {
 public:
  explicit TChannel(std::uint32_t mask) : m_mask(mask) {
    if (mask == 0) return;
    m_shift = std::countr_zero(mask);
    m_max = (std::uint64_t{1} << std::bit_width(mask >> m_shift)) - 1;
  }
  std::uint8_t operator()(std::uint32_t pixel) const {
    if (m_mask == 0) return 0;
    const std::uint64_t v = (pixel & m_mask) >> m_shift;
    return static_cast<std::uint8_t>(v * 255u / m_max);
  }

 private:
  std::uint32_t m_mask;
  int m_shift = 0;
  std::uint64_t m_max = 1;
};

struct TBmpHeader {
  long long width = 0;
  long long height = 0;  // positive, orientation apart
  bool topDown = false;
  int bpp = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t masks[3] = {0, 0, 0};  // red, green, blue
  bool hasMasks = false;
  std::vector<std::array<std::uint8_t, 3>> palette;  // blue, green, red
  std::size_t dataOffset = 0;
};

// Reads the headers and the palette; a status other than Ok when the file cannot be read.
TImageStatus readHeader(const TBytes& in, TBmpHeader& h) {
  if (!in.has(0, 18) || in.u8(0) != 'B' || in.u8(1) != 'M') return TImageStatus::Corrupt;
  const std::uint32_t offBits = in.u32(10);
  const std::uint32_t hdrSize = in.u32(14);
  if (hdrSize < 12 || (hdrSize > 12 && hdrSize < 16) || !in.has(14, hdrSize)) return TImageStatus::Corrupt;
  std::size_t paletteEntry = 4;
  std::uint32_t colorsUsed = 0;
  std::size_t afterHeader = 14 + static_cast<std::size_t>(hdrSize);
  if (hdrSize == 12) {  // OS/2 1.x core header
    h.width = in.u16(18);
    h.height = in.u16(20);
    h.bpp = in.u16(24);
    paletteEntry = 3;
  } else {
    h.width = static_cast<std::int32_t>(in.u32(18));
    const long long height = static_cast<std::int32_t>(in.u32(22));
    h.topDown = height < 0;
    h.height = height < 0 ? -height : height;
    h.bpp = in.u16(28);
    if (hdrSize >= 20) h.compression = in.u32(30);
    if (hdrSize >= 36) colorsUsed = in.u32(46);
    // OS/2 2.x reuses the values 3 and 4 for Huffman and RLE24.
    if (hdrSize == 64 && (h.compression == 3 || h.compression == 4)) return TImageStatus::Unsupported;
    if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
      std::size_t maskAt = 54;
      if (hdrSize < 52) {  // the masks follow the header
        const std::size_t maskBytes = h.compression == kAlphaBitFields ? 16 : 12;
        if (!in.has(afterHeader, maskBytes)) return TImageStatus::Corrupt;
        maskAt = afterHeader;
        afterHeader += maskBytes;
      }
      for (int i = 0; i < 3; ++i) h.masks[i] = in.u32(maskAt + 4 * static_cast<std::size_t>(i));
      h.hasMasks = true;
    }
  }
  if (h.width <= 0 || h.height <= 0) return TImageStatus::Corrupt;

  switch (h.compression) {
    case kRgb:
      if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 16 && h.bpp != 24 && h.bpp != 32)
        return TImageStatus::Unsupported;
      break;
    case kRle8:
      if (h.bpp != 8) return TImageStatus::Corrupt;
      break;
    case kRle4:
      if (h.bpp != 4) return TImageStatus::Corrupt;
      break;
    case kBitFields:
    case kAlphaBitFields:
      if (h.bpp != 16 && h.bpp != 32) return TImageStatus::Unsupported;
      break;
    default: return TImageStatus::Unsupported;  // embedded JPEG or PNG, Huffman
  }

  if (h.bpp <= 8) {
    const std::uint32_t full = 1u << h.bpp;
    std::size_t count = colorsUsed == 0 || colorsUsed > full ? full : colorsUsed;
    // A palette never reaches into the pixels nor beyond the file.
    std::size_t end = in.b.size();
    if (offBits > afterHeader && offBits < end) end = offBits;
    count = std::min(count, end > afterHeader ? (end - afterHeader) / paletteEntry : 0);
    h.palette.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t at = afterHeader + i * paletteEntry;
      h.palette[i] = {in.u8(at), in.u8(at + 1), in.u8(at + 2)};
    }
    afterHeader += count * paletteEntry;
  }
  // Some writers leave the offset at 0: the pixels then follow the palette.
  h.dataOffset = offBits == 0 ? afterHeader : offBits;
  if (h.dataOffset < 14 + static_cast<std::size_t>(hdrSize) || h.dataOffset >= in.b.size()) return TImageStatus::Corrupt;
  return TImageStatus::Ok;
}

class TBmpWriter {
 public:
  TBmpWriter(const TBmpHeader& h, std::vector<std::uint8_t>& out) : m_h(h), m_out(out) {}
  // Row `fileRow` counts in file order (the first row stored is the bottom one unless top-down).
  std::uint8_t* row(long long fileRow) const {
    const long long y = m_h.topDown ? fileRow : m_h.height - 1 - fileRow;
    return m_out.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_h.width) * 3u;
  }
  void putIndex(std::uint8_t* px, std::uint32_t index) const {
    if (index < m_h.palette.size()) {
      px[0] = m_h.palette[index][0];
      px[1] = m_h.palette[index][1];
      px[2] = m_h.palette[index][2];
    } else {  // an index beyond the palette reads as black
      px[0] = px[1] = px[2] = 0;
    }
  }

 private:
  const TBmpHeader& m_h;
  std::vector<std::uint8_t>& m_out;
};

std::uint64_t rowBytes(const TBmpHeader& h) {
  return (static_cast<std::uint64_t>(h.width) * static_cast<std::uint64_t>(h.bpp) + 31) / 32 * 4;
}

// Uncompressed pixels must all be there; the last row may lack its padding.
bool pixelsPresent(const TBytes& in, const TBmpHeader& h) {
  const std::uint64_t lastRow = (static_cast<std::uint64_t>(h.width) * static_cast<std::uint64_t>(h.bpp) + 7) / 8;
  const std::uint64_t need = rowBytes(h) * static_cast<std::uint64_t>(h.height - 1) + lastRow;
  return need <= in.b.size() - h.dataOffset;
}

TImageStatus decodeUncompressed(const TBytes& in, const TBmpHeader& h, std::vector<std::uint8_t>& out) {
  const std::uint64_t stride = rowBytes(h);

  std::uint32_t rMask = 0x7C00, gMask = 0x03E0, bMask = 0x001F;
  if (h.bpp == 32) rMask = 0x00FF0000, gMask = 0x0000FF00, bMask = 0x000000FF;
  if (h.hasMasks) rMask = h.masks[0], gMask = h.masks[1], bMask = h.masks[2];
  const TChannel red(rMask), green(gMask), blue(bMask);
  const TBmpWriter writer(h, out);
  const auto width = static_cast<std::size_t>(h.width);

  for (long long r = 0; r < h.height; ++r) {
    const std::size_t src = h.dataOffset + static_cast<std::size_t>(r * static_cast<long long>(stride));
    std::uint8_t* px = writer.row(r);
    switch (h.bpp) {
      case 1:
      case 4:
      case 8: {
        const int perByte = 8 / h.bpp;
        const std::uint32_t valueMask = (1u << h.bpp) - 1;
        for (std::size_t x = 0; x < width; ++x, px += 3) {
          const std::uint8_t byte = in.u8(src + x / static_cast<std::size_t>(perByte));
          const int shift = 8 - h.bpp * (static_cast<int>(x % static_cast<std::size_t>(perByte)) + 1);
          writer.putIndex(px, (byte >> shift) & valueMask);
        }
        break;
      }
      case 16:
      case 32:
        for (std::size_t x = 0; x < width; ++x, px += 3) {
          const std::uint32_t v = h.bpp == 16 ? in.u16(src + 2 * x) : in.u32(src + 4 * x);
          px[0] = blue(v);
          px[1] = green(v);
          px[2] = red(v);
        }
        break;
      case 24:
        std::copy_n(in.b.data() + src, width * 3, reinterpret_cast<char*>(px));
        break;
      default: return TImageStatus::Unsupported;
    }
  }
  return TImageStatus::Ok;
}

// Run-length data: pixels the stream skips keep palette entry 0.
TImageStatus decodeRle(const TBytes& in, const TBmpHeader& h, std::vector<std::uint8_t>& out) {
  const TBmpWriter writer(h, out);
  const bool four = h.compression == kRle4;
  for (long long r = 0; r < h.height; ++r) {
    std::uint8_t* px = writer.row(r);
    for (long long x = 0; x < h.width; ++x, px += 3) writer.putIndex(px, 0);
  }
  long long x = 0, r = 0;
  const auto put = [&](std::uint32_t index) {
    if (x < h.width && r < h.height) writer.putIndex(writer.row(r) + x * 3, index);
    ++x;
  };
  std::size_t p = h.dataOffset;
  const std::size_t size = in.b.size();
  while (r < h.height) {
    if (!in.has(p, 2)) return TImageStatus::Corrupt;  // ended without its end mark
    const std::uint8_t count = in.u8(p), value = in.u8(p + 1);
    p += 2;
    if (count > 0) {
      for (int i = 0; i < count && x < h.width; ++i) put(four ? (i % 2 == 0 ? value >> 4 : value & 15) : value);
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++r;
        break;
      case 1:  // end of bitmap
        return TImageStatus::Ok;
      case 2:  // delta
        if (!in.has(p, 2)) return TImageStatus::Corrupt;
        x += in.u8(p);
        r += in.u8(p + 1);
        p += 2;
        break;
      default: {  // a literal run of `value` pixels, padded to a 16-bit boundary
        const std::size_t bytes = four ? (value + 1u) / 2u : value;
        if (!in.has(p, bytes)) return TImageStatus::Corrupt;
        for (int i = 0; i < value; ++i) {
          const std::uint8_t b = in.u8(p + (four ? static_cast<std::size_t>(i / 2) : static_cast<std::size_t>(i)));
          put(four ? (i % 2 == 0 ? b >> 4 : b & 15) : b);
        }
        p += (bytes + 1) & ~std::size_t{1};
        if (p > size) p = size;
        break;
      }
    }
  }
  return TImageStatus::Ok;  // a delta or line end ran past the last row
}

}  // namespace

TDecodedImage decodeBmp(std::string_view bytes, const TImageLimits& limits) {
  const TBytes in{bytes};
  TBmpHeader h;
  if (const TImageStatus status = readHeader(in, h); status != TImageStatus::Ok)
    return detail::failed(status, TImageFormat::Bmp);
  if (!detail::fitsLimits(h.width, h.height, 1, limits)) return detail::failed(TImageStatus::TooLarge, TImageFormat::Bmp);
  const bool rle = h.compression == kRle8 || h.compression == kRle4;
  if (!rle && !pixelsPresent(in, h)) return detail::failed(TImageStatus::Corrupt, TImageFormat::Bmp);

  TDecodedImage image;
  image.format = TImageFormat::Bmp;
  image.width = static_cast<int>(h.width);
  image.height = static_cast<int>(h.height);
  image.frames.resize(1);
  std::vector<std::uint8_t>& out = image.frames[0].bgr;
  out.resize(static_cast<std::size_t>(h.width) * static_cast<std::size_t>(h.height) * 3u);
  image.status = rle ? decodeRle(in, h, out) : decodeUncompressed(in, h, out);
  if (!image.ok()) image.frames.clear();
  return image;
}

}  // namespace zek
