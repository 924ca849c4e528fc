// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"
#include "platform/imagedecoder.h"
#include "tests/common/testutil.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>

using zek::TDecodedImage;
using zek::TImageFormat;
using zek::TImageStatus;

namespace {

using Bgr = std::array<int, 3>;

Bgr pixel(const TDecodedImage& image, int x, int y, size_t frame = 0) {
  const auto& f = image.frames.at(frame).bgr;
  const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)) * 3;
  return {f.at(i), f.at(i + 1), f.at(i + 2)};
}

bool near(const Bgr& a, const Bgr& b, int tolerance) {
  for (int i = 0; i < 3; ++i)
    if (std::abs(a[i] - b[i]) > tolerance) return false;
  return true;
}

std::string saveQImage(const QImage& image, const char* format, int quality = -1) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, format, quality));
  return bytes.toStdString();
}

// A hand-made bitmap file for the variants that common writers do not produce.
struct TBmpBuilder {
  int width = 2, height = 2, bpp = 24;
  unsigned compression = 0;
  std::vector<std::array<uint8_t, 3>> palette;  // blue, green, red
  std::vector<uint32_t> masks;                  // after a 40-byte header (bit fields)
  std::string pixels;
  bool core = false;  // 12-byte OS/2 header
  unsigned colorsUsed = 0;

  std::string build() const {
    std::string dib;
    auto u16 = [](std::string& s, uint32_t v) { s.push_back(char(v & 255)), s.push_back(char((v >> 8) & 255)); };
    auto u32 = [&](std::string& s, uint32_t v) { u16(s, v & 0xFFFF), u16(s, v >> 16); };
    if (core) {
      u32(dib, 12), u16(dib, uint32_t(width)), u16(dib, uint32_t(height)), u16(dib, 1), u16(dib, uint32_t(bpp));
    } else {
      u32(dib, 40), u32(dib, uint32_t(width)), u32(dib, uint32_t(height)), u16(dib, 1), u16(dib, uint32_t(bpp));
      u32(dib, compression), u32(dib, uint32_t(pixels.size())), u32(dib, 2835), u32(dib, 2835);
      u32(dib, colorsUsed), u32(dib, 0);
      for (uint32_t m : masks) u32(dib, m);
    }
    for (const auto& c : palette) {
      dib.append(reinterpret_cast<const char*>(c.data()), 3);
      if (!core) dib.push_back(0);
    }
    std::string file = "BM";
    u32(file, uint32_t(14 + dib.size() + pixels.size())), u32(file, 0), u32(file, uint32_t(14 + dib.size()));
    return file + dib + pixels;
  }
};

std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

const std::vector<std::array<uint8_t, 3>> kPalette = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}};

// Files made with ImageMagick; empty (and the test skipped) without it.
std::string magick(const zek::test::TempDir& dir, const std::string& args, const std::string& name) {
  if (std::system("command -v convert >/dev/null 2>&1") != 0) return {};
  const auto out = dir.path() / name;
  const std::string cmd = "convert " + args + " '" + out.string() + "'";
  if (std::system(cmd.c_str()) != 0) return {};
  return zek::readFile(out).value_or(std::string());
}

TEST(BmpDecoder, QtWrittenBitmapsKeepTheirColours) {
  QImage rgb(5, 3, QImage::Format_RGB32);
  rgb.fill(QColor(10, 20, 30));
  rgb.setPixel(4, 2, qRgb(200, 100, 50));
  rgb.setPixel(0, 0, qRgb(255, 0, 0));
  const TDecodedImage image = zek::decodeBmp(saveQImage(rgb, "BMP"));
  ASSERT_TRUE(image.ok());
  EXPECT_EQ(image.width, 5);
  EXPECT_EQ(image.height, 3);
  EXPECT_EQ(pixel(image, 1, 1), (Bgr{30, 20, 10}));
  EXPECT_EQ(pixel(image, 4, 2), (Bgr{50, 100, 200}));  // bottom right, blue first
  EXPECT_EQ(pixel(image, 0, 0), (Bgr{0, 0, 255}));

  QImage indexed(9, 2, QImage::Format_Indexed8);
  indexed.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 0), qRgb(0, 128, 255)});
  indexed.fill(1);
  indexed.setPixel(8, 1, 2);
  const TDecodedImage pal = zek::decodeBmp(saveQImage(indexed, "BMP"));
  ASSERT_TRUE(pal.ok());
  EXPECT_EQ(pixel(pal, 0, 0), (Bgr{0, 255, 255}));
  EXPECT_EQ(pixel(pal, 8, 1), (Bgr{255, 128, 0}));

  QImage mono(10, 2, QImage::Format_Mono);
  mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  mono.fill(0);
  mono.setPixel(9, 0, 1);
  const TDecodedImage bw = zek::decodeBmp(saveQImage(mono, "BMP"));
  ASSERT_TRUE(bw.ok());
  EXPECT_EQ(pixel(bw, 8, 0), (Bgr{255, 255, 255}));
  EXPECT_EQ(pixel(bw, 9, 0), (Bgr{0, 0, 0}));
}

struct BmpCase {
  const char* what;
  TBmpBuilder bmp;
  std::vector<Bgr> expected;  // row by row, top first
};

TBmpBuilder make(int w, int h, int bpp, unsigned compression, std::string pixels) {
  TBmpBuilder b;
  b.width = w, b.height = h, b.bpp = bpp, b.compression = compression, b.pixels = std::move(pixels);
  if (bpp <= 8) b.palette = kPalette;
  return b;
}

TEST(BmpDecoder, Variants) {
  const Bgr red{0, 0, 255}, green{0, 255, 0}, blue{255, 0, 0}, white{255, 255, 255}, black{0, 0, 0};
  std::vector<BmpCase> cases;
  cases.push_back({"bottom-up 24", make(2, 2, 24, 0, bytes({255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0})),
                   {red, white, blue, green}});
  cases.push_back({"top-down 24", make(2, -2, 24, 0, bytes({255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0})),
                   {blue, green, red, white}});
  cases.push_back({"4 bit, odd width", make(3, 1, 4, 0, bytes({0x12, 0x30, 0, 0})), {green, blue, white}});
  cases.push_back({"index beyond the palette is black", make(2, 1, 8, 0, bytes({3, 200, 0, 0})), {white, black}});
  cases.push_back({"16 bit 5-5-5", make(2, 1, 16, 0, bytes({0x00, 0x7C, 0x1F, 0x00})), {red, blue}});
  {
    TBmpBuilder b = make(2, 1, 16, 3, bytes({0x00, 0xF8, 0xE0, 0x07}));
    b.masks = {0xF800, 0x07E0, 0x001F};
    cases.push_back({"16 bit 5-6-5 bit fields", b, {red, green}});
  }
  cases.push_back({"32 bit", make(2, 1, 32, 0, bytes({255, 0, 0, 0, 1, 2, 3, 0})), {blue, {1, 2, 3}}});
  {
    TBmpBuilder b = make(3, 2, 4, 2, bytes({3, 0x12, 0, 0, 0, 3, 0x32, 0x10, 0, 0, 0, 1}));
    cases.push_back({"RLE4 run and literal", b, {white, blue, green, green, blue, green}});
  }
  {
    // Row 0 (bottom): run of 2 x index 1, delta (+1, +1), run of 1 x index 3: lands in row 1, x 3.
    TBmpBuilder b = make(4, 2, 8, 1, bytes({2, 1, 0, 2, 1, 1, 1, 3, 0, 1}));
    cases.push_back({"RLE8 with delta, skipped pixels take entry 0", b, {red, red, red, white, green, green, red, red}});
  }
  {
    TBmpBuilder b = make(2, 1, 8, 0, bytes({1, 2, 0, 0}));
    b.core = true;
    cases.push_back({"OS/2 core header, 3-byte palette", b, {green, blue}});
  }
  for (const BmpCase& c : cases) {
    SCOPED_TRACE(c.what);
    const TDecodedImage image = zek::decodeBmp(c.bmp.build());
    ASSERT_TRUE(image.ok());
    ASSERT_EQ(static_cast<size_t>(image.width * image.height), c.expected.size());
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x) EXPECT_EQ(pixel(image, x, y), c.expected[size_t(y * image.width + x)]) << x << "," << y;
  }
}

TEST(BmpDecoder, BrokenFilesFailCleanly) {
  const std::string good = make(3, 3, 24, 0, std::string(36, '\x40')).build();
  for (size_t cut : {size_t{0}, size_t{1}, size_t{10}, size_t{20}, size_t{53}, size_t{54}, good.size() - 4}) {
    EXPECT_EQ(zek::decodeBmp(good.substr(0, cut)).status, TImageStatus::Corrupt) << "cut at " << cut;
  }
  EXPECT_TRUE(zek::decodeBmp(good.substr(0, good.size() - 3)).ok());  // only the last row's padding is missing

  EXPECT_EQ(zek::decodeBmp(make(0, 3, 24, 0, std::string(36, 0)).build()).status, TImageStatus::Corrupt);
  EXPECT_EQ(zek::decodeBmp(make(3, 0, 24, 0, std::string(36, 0)).build()).status, TImageStatus::Corrupt);
  EXPECT_EQ(zek::decodeBmp(make(2, 2, 7, 0, std::string(16, 0)).build()).status, TImageStatus::Unsupported);
  EXPECT_EQ(zek::decodeBmp(make(2, 2, 24, 5, std::string(16, 0)).build()).status, TImageStatus::Unsupported);
  EXPECT_EQ(zek::decodeBmp(make(4, 2, 8, 1, bytes({2, 1, 0, 0})).build()).status, TImageStatus::Corrupt)
      << "RLE without its end mark";
  // A header that claims a huge picture is refused before anything is allocated for it.
  EXPECT_EQ(zek::decodeBmp(make(100000, 100000, 24, 0, std::string(16, 0)).build()).status, TImageStatus::TooLarge);
  EXPECT_EQ(zek::decodeBmp(make(16000, 16000, 32, 0, std::string(16, 0)).build()).status, TImageStatus::TooLarge);
  EXPECT_EQ(zek::decodeBmp(make(4, int(0x80000000u), 24, 0, std::string(16, 0)).build()).status, TImageStatus::TooLarge);
}

TEST(JpegDecoder, ColoursArriveInBlueGreenRedOrder) {
  QImage img(16, 16, QImage::Format_RGB32);
  img.fill(QColor(230, 40, 20));
  for (int y = 8; y < 16; ++y)
    for (int x = 0; x < 16; ++x) img.setPixel(x, y, qRgb(20, 60, 220));
  const TDecodedImage image = zek::decodeJpeg(saveQImage(img, "JPEG", 100));
  ASSERT_TRUE(image.ok());
  EXPECT_EQ(image.width, 16);
  EXPECT_EQ(image.height, 16);
  ASSERT_EQ(image.frames.size(), 1u);
  EXPECT_TRUE(near(pixel(image, 3, 2), {20, 40, 230}, 8));
  EXPECT_TRUE(near(pixel(image, 12, 13), {220, 60, 20}, 8));

  QImage gray(8, 8, QImage::Format_Grayscale8);
  gray.fill(QColor(90, 90, 90));
  const TDecodedImage g = zek::decodeJpeg(saveQImage(gray, "JPEG", 100));
  ASSERT_TRUE(g.ok());
  EXPECT_TRUE(near(pixel(g, 4, 4), {90, 90, 90}, 2));
}

TEST(JpegDecoder, CmykPicturesBecomeRgb) {
  zek::test::TempDir dir;
  const std::string cmyk = magick(dir, "-size 8x8 xc:'rgb(255,0,0)' -colorspace CMYK -quality 100", "c.jpg");
  if (cmyk.empty()) GTEST_SKIP() << "ImageMagick convert is missing";
  const TDecodedImage image = zek::decodeJpeg(cmyk);
  ASSERT_TRUE(image.ok());
  EXPECT_TRUE(near(pixel(image, 4, 4), {0, 0, 255}, 12));
}

TEST(JpegDecoder, BrokenFilesFailCleanly) {
  QImage img(64, 64, QImage::Format_RGB32);
  img.fill(Qt::darkCyan);
  const std::string good = saveQImage(img, "JPEG", 90);
  ASSERT_TRUE(zek::decodeJpeg(good).ok());
  for (size_t cut : {size_t{1}, size_t{3}, size_t{100}, good.size() / 2, good.size() - 10}) {
    EXPECT_FALSE(zek::decodeJpeg(good.substr(0, cut)).ok()) << "cut at " << cut;
  }
  EXPECT_EQ(zek::decodeJpeg("").status, TImageStatus::Corrupt);
  EXPECT_EQ(zek::decodeJpeg("\xFF\xD8\xFF\xE0 not really a JPEG at all").status, TImageStatus::Corrupt);
  zek::TImageLimits small;
  small.maxSide = 32;
  EXPECT_EQ(zek::decodeJpeg(good, small).status, TImageStatus::TooLarge);
}

TEST(GifDecoder, AnimationKeepsFramesDelaysAndDisposal) {
  zek::test::TempDir dir;
  // Frame 1 red; frame 2 a blue square at (1,1), restored to the previous state afterwards;
  // frame 3 one green pixel at (0,0), cleared to background afterwards; frame 4 one white pixel at (3,3).
  const std::string gif =
      magick(dir,
             "-dispose none -delay 10 -size 4x4 xc:red "
             "-dispose previous -delay 20 -page 4x4+1+1 -size 2x2 xc:blue "
             "-dispose background -delay 0 -page 4x4+0+0 -size 1x1 xc:lime "
             "-dispose none -delay 35 -page 4x4+3+3 -size 1x1 xc:white",
             "anim.gif");
  if (gif.empty()) GTEST_SKIP() << "ImageMagick convert is missing";
  const TDecodedImage image = zek::decodeGif(gif);
  ASSERT_TRUE(image.ok());
  EXPECT_EQ(image.width, 4);
  EXPECT_EQ(image.height, 4);
  ASSERT_EQ(image.frames.size(), 4u);
  EXPECT_EQ(image.frames[0].delayMs, 100);
  EXPECT_EQ(image.frames[1].delayMs, 200);
  EXPECT_EQ(image.frames[2].delayMs, 0);
  EXPECT_EQ(image.frames[3].delayMs, 350);

  const Bgr red{0, 0, 255}, blue{255, 0, 0}, lime{0, 255, 0}, white{255, 255, 255};
  EXPECT_EQ(pixel(image, 1, 1, 0), red);
  EXPECT_EQ(pixel(image, 1, 1, 1), blue);  // drawn over the red frame
  EXPECT_EQ(pixel(image, 0, 0, 1), red);
  EXPECT_EQ(pixel(image, 1, 1, 2), red);  // blue square restored away
  EXPECT_EQ(pixel(image, 0, 0, 2), lime);
  EXPECT_TRUE(image.frames[2].mask.empty());
  // The green pixel went back to background: transparent now, white in the bitmap.
  EXPECT_EQ(pixel(image, 0, 0, 3), white);
  ASSERT_EQ(image.frames[3].mask.size(), 16u);
  EXPECT_EQ(image.frames[3].mask[0], 0);
  EXPECT_EQ(image.frames[3].mask[5], 255);
  EXPECT_EQ(pixel(image, 3, 3, 3), white);
  EXPECT_EQ(image.frames[3].mask[15], 255);
}

TEST(GifDecoder, TransparencyAndInterlace) {
  zek::test::TempDir dir;
  const std::string transparent = magick(dir, "-size 6x6 xc:none -fill blue -draw 'rectangle 2,2 3,3'", "t.gif");
  if (transparent.empty()) GTEST_SKIP() << "ImageMagick convert is missing";
  const TDecodedImage t = zek::decodeGif(transparent);
  ASSERT_TRUE(t.ok());
  ASSERT_EQ(t.frames.size(), 1u);
  ASSERT_EQ(t.frames[0].mask.size(), 36u);
  EXPECT_EQ(t.frames[0].mask[0], 0);
  EXPECT_EQ(pixel(t, 0, 0), (Bgr{255, 255, 255}));
  EXPECT_EQ(t.frames[0].mask[2 * 6 + 2], 255);
  EXPECT_EQ(pixel(t, 2, 2), (Bgr{255, 0, 0}));

  // Twelve rows, each its own grey, stored interlaced: rows must come back in order.
  std::string rows;
  for (int y = 0; y < 12; ++y) rows += " -size 3x1 xc:'rgb(" + std::to_string(y * 20) + "," + std::to_string(y * 20) + ",0)'";
  const std::string interlaced = magick(dir, rows + " -append -interlace GIF", "i.gif");
  const TDecodedImage in = zek::decodeGif(interlaced);
  ASSERT_TRUE(in.ok());
  ASSERT_EQ(in.height, 12);
  for (int y = 0; y < 12; ++y) EXPECT_EQ(pixel(in, 1, y), (Bgr{0, y * 20, y * 20})) << "row " << y;
}

TEST(GifDecoder, TruncatedFiles) {
  zek::test::TempDir dir;
  const std::string two = magick(dir, "-delay 10 -size 20x20 plasma:fractal -seed 4 -size 20x20 xc:red", "two.gif");
  if (two.empty()) GTEST_SKIP() << "ImageMagick convert is missing";
  ASSERT_EQ(zek::decodeGif(two).frames.size(), 2u);
  for (size_t cut : {size_t{0}, size_t{5}, size_t{13}, size_t{40}, size_t{100}}) {
    EXPECT_EQ(zek::decodeGif(two.substr(0, cut)).status, TImageStatus::Corrupt) << "cut at " << cut;
  }
  // Cut inside the second frame: the first still shows.
  const TDecodedImage partial = zek::decodeGif(two.substr(0, two.size() - 8));
  ASSERT_TRUE(partial.ok());
  EXPECT_EQ(partial.frames.size(), 1u);
  zek::TImageLimits small;
  small.maxSide = 10;
  EXPECT_EQ(zek::decodeGif(two, small).status, TImageStatus::TooLarge);
  small = {};
  small.maxFrames = 1;
  EXPECT_EQ(zek::decodeGif(two, small).status, TImageStatus::TooLarge);
}

TEST(ImageFormat, ExtensionThenSignature) {
  EXPECT_EQ(zek::imageFormatFromName("a\\B.JPG"), TImageFormat::Jpeg);
  EXPECT_EQ(zek::imageFormatFromName("x.jpeg"), TImageFormat::Jpeg);
  EXPECT_EQ(zek::imageFormatFromName("x.Gif"), TImageFormat::Gif);
  EXPECT_EQ(zek::imageFormatFromName("x.bmp"), TImageFormat::Bmp);
  EXPECT_EQ(zek::imageFormatFromName("x.png"), TImageFormat::Unknown);

  QImage img(4, 4, QImage::Format_RGB32);
  img.fill(Qt::red);
  // A JPEG named ".gif" and a bitmap named ".jpg" still load.
  const TDecodedImage j = zek::decodeImage(saveQImage(img, "JPEG", 95), TImageFormat::Gif);
  ASSERT_TRUE(j.ok());
  EXPECT_EQ(j.format, TImageFormat::Jpeg);
  const TDecodedImage b = zek::decodeImage(saveQImage(img, "BMP"), TImageFormat::Jpeg);
  ASSERT_TRUE(b.ok());
  EXPECT_EQ(b.format, TImageFormat::Bmp);
  EXPECT_EQ(zek::decodeImage("plain text", TImageFormat::Bmp).status, TImageStatus::Corrupt);
  EXPECT_EQ(zek::decodeImage("plain text", TImageFormat::Unknown).status, TImageStatus::Unsupported);
}

}  // namespace
