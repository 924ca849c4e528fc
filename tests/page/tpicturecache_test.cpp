// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/tpicturecache.h"

#include "page/tpicturelist.h"
#include "tests/common/testutil.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>

namespace {

using zek::TImageFormat;

std::string bmp(int w, int h, QColor colour) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, "BMP"));
  return bytes.toStdString();
}

// Blue, green, red of the picture's first pixel.
std::array<int, 3> firstPixel(const TPicture& p) {
  const uint8_t* px = p.bitmap().scanLine(0);
  return {px[0], px[1], px[2]};
}

struct PictureCacheTest : ::testing::Test {
  zek::test::TempDir dir{"zek-picture-cache"};
  static constexpr std::size_t kPicture = 10 * 10 * 3;  // bytes of one 10 × 10 picture
  TPictureCache cache{3 * kPicture};

  std::shared_ptr<const TPicture> load(const std::string& name) {
    return cache.file(dir.path() / name, TImageFormat::Bmp, 1u << 20);
  }
  // Rewrites a file and moves its time on, so that even a file system with coarse times sees a change.
  void rewrite(const std::string& name, const std::string& bytes, int secondsLater) {
    const auto path = dir.path() / name;
    const auto before = std::filesystem::last_write_time(path);
    dir.write(name, bytes);
    std::filesystem::last_write_time(path, before + std::chrono::seconds(secondsLater));
  }
};

TEST_F(PictureCacheTest, SecondLoadIsTheSamePictureWithoutDecoding) {
  dir.write("a.bmp", bmp(10, 10, QColor(200, 100, 50)));
  const auto first = load("a.bmp");
  ASSERT_NE(first, nullptr);
  const auto again = load("a.bmp");
  EXPECT_EQ(again, first);
  EXPECT_EQ(firstPixel(*again), (std::array<int, 3>{50, 100, 200}));
  EXPECT_EQ(cache.decodes(), 1u);
  EXPECT_EQ(cache.count(), 1u);
  EXPECT_EQ(cache.bytes(), kPicture);
  // Another expected format is another entry (a renamed file decodes by its bytes anyway).
  EXPECT_NE(cache.file(dir.path() / "a.bmp", TImageFormat::Jpeg, 1u << 20), nullptr);
  EXPECT_EQ(cache.decodes(), 2u);
}

TEST_F(PictureCacheTest, LeastRecentlyUsedGoesAtTheBound) {
  for (const char* n : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"}) dir.write(n, bmp(10, 10, Qt::red));
  load("a.bmp");
  load("b.bmp");
  load("c.bmp");
  EXPECT_EQ(cache.bytes(), 3 * kPicture);
  load("a.bmp");  // a is now the most recent; b the oldest
  load("d.bmp");
  EXPECT_EQ(cache.count(), 3u);
  EXPECT_EQ(cache.bytes(), 3 * kPicture);
  const auto decodes = cache.decodes();
  load("a.bmp");
  load("c.bmp");
  load("d.bmp");
  EXPECT_EQ(cache.decodes(), decodes);  // all three held
  load("b.bmp");
  EXPECT_EQ(cache.decodes(), decodes + 1);  // b was dropped

  // A picture larger than the whole bound is handed out but not kept; shrinking the bound drops at once.
  dir.write("big.bmp", bmp(20, 20, Qt::blue));
  EXPECT_NE(load("big.bmp"), nullptr);
  EXPECT_EQ(cache.count(), 3u);
  cache.setMaxBytes(kPicture);
  EXPECT_EQ(cache.count(), 1u);
  EXPECT_LE(cache.bytes(), kPicture);
}

TEST_F(PictureCacheTest, ChangedOrReplacedFileIsReadAgain) {
  dir.write("a.bmp", bmp(10, 10, QColor(255, 0, 0)));
  const auto old = load("a.bmp");
  ASSERT_NE(old, nullptr);
  // Same size, other pixels, later time.
  rewrite("a.bmp", bmp(10, 10, QColor(0, 0, 255)), 5);
  const auto changed = load("a.bmp");
  ASSERT_NE(changed, nullptr);
  EXPECT_NE(changed, old);
  EXPECT_EQ(firstPixel(*changed), (std::array<int, 3>{255, 0, 0}));
  EXPECT_EQ(firstPixel(*old), (std::array<int, 3>{0, 0, 255}));  // pages still showing it keep theirs
  // Another size, even with the old time.
  const auto when = std::filesystem::last_write_time(dir.path() / "a.bmp");
  dir.write("a.bmp", bmp(12, 10, QColor(0, 255, 0)));
  std::filesystem::last_write_time(dir.path() / "a.bmp", when);
  const auto resized = load("a.bmp");
  ASSERT_NE(resized, nullptr);
  EXPECT_EQ(resized->width(), 12);
  EXPECT_EQ(cache.count(), 1u);
  // Gone from the disk: gone for the cache as well.
  std::filesystem::remove(dir.path() / "a.bmp");
  EXPECT_EQ(load("a.bmp"), nullptr);
  EXPECT_EQ(cache.count(), 0u);
  EXPECT_EQ(cache.bytes(), 0u);
}

TEST_F(PictureCacheTest, BrokenFileIsNeverKept) {
  const std::string good = bmp(10, 10, Qt::green);
  dir.write("a.bmp", good.substr(0, 60));  // cut inside the pixels
  EXPECT_EQ(load("a.bmp"), nullptr);
  EXPECT_EQ(load("a.bmp"), nullptr);
  EXPECT_EQ(cache.decodes(), 2u);  // tried again, not remembered as good
  EXPECT_EQ(cache.count(), 0u);
  rewrite("a.bmp", good, 5);
  const auto mended = load("a.bmp");
  ASSERT_NE(mended, nullptr);
  EXPECT_EQ(firstPixel(*mended), (std::array<int, 3>{0, 255, 0}));
  // A good picture that turns broken on disk is not served from the cache.
  rewrite("a.bmp", "BM broken", 10);
  EXPECT_EQ(load("a.bmp"), nullptr);
  EXPECT_EQ(cache.count(), 0u);
  // Directories and missing files read as nothing.
  EXPECT_EQ(cache.file(dir.path(), TImageFormat::Bmp, 1u << 20), nullptr);
  EXPECT_EQ(load("nirgends.bmp"), nullptr);
}

TEST_F(PictureCacheTest, PageListsShareTheCacheAcrossLoads) {
  dir.write("hzek/bild.bmp", bmp(10, 10, QColor(9, 8, 7)));
  const std::string base = dir.path().string() + "/hzek/";
  TPictureCache& shared = TPictureCache::shared();
  const auto before = shared.decodes();
  TPictureList one, two;
  ASSERT_GE(one.add("bild.bmp", base), 0);
  ASSERT_GE(two.add("BILD.BMP", base), 0);  // another page view, another spelling
  EXPECT_EQ(one.picture(0), two.picture(0));
  EXPECT_EQ(shared.decodes(), before + 1);
}

}  // namespace
