// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/tpicturelist.h"

#include "platform/files.h"
#include "platform/messages.h"
#include "tests/common/testutil.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

std::string encode(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, format, 100));
  return bytes.toStdString();
}

std::string solid(int w, int h, QColor colour, const char* format) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(colour);
  return encode(image, format);
}

// A page directory with a few pictures, and a list that records the boxes it shows.
struct PictureListTest : ::testing::Test {
  zek::test::TempDir dir{"zek-pictures"};
  zek::ScriptedDialogs dialogs;
  TPictureList list;
  std::string xpath = zek::fromPath(dir.path()) + "/hzek/";

  void SetUp() override {
    dir.write("hzek/bild.jpg", solid(6, 4, QColor(250, 10, 10), "JPEG"));
    dir.write("hzek/e_gfx/Logo.BMP", solid(3, 2, QColor(1, 2, 3), "BMP"));
    dir.write("hzek/broken.gif", "GIF89a\x10\x00\x10\x00");
    dir.write("hzek/cut.bmp", solid(8, 8, Qt::blue, "BMP").substr(0, 70));
    dir.write("shared/up.bmp", solid(2, 2, Qt::green, "BMP"));
  }
  std::vector<std::string> boxes() const { return dialogs.texts(); }
};

TEST_F(PictureListTest, LoadsFilesAsBlueGreenRedBitmaps) {
  const int jpg = list.add("bild.jpg", xpath);
  ASSERT_EQ(jpg, 0);
  const TPicture* p = list.picture(jpg);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->width(), 6);
  EXPECT_EQ(p->height(), 4);
  const uint8_t* px = p->bitmap().scanLine(2) + 3 * 3;
  EXPECT_NEAR(px[0], 10, 8);
  EXPECT_NEAR(px[2], 250, 8);

  // Separators of either kind, any case, like link targets.
  const int bmp = list.add("e_gfx\\logo.bmp", xpath);
  ASSERT_EQ(bmp, 1);
  const uint8_t* b = list.picture(bmp)->bitmap().scanLine(1);
  EXPECT_EQ(b[0], 3);
  EXPECT_EQ(b[1], 2);
  EXPECT_EQ(b[2], 1);
  EXPECT_EQ(list.add("..\\shared\\up.bmp", xpath), 2);
  EXPECT_EQ(list.find("../Shared/UP.bmp"), 2);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(PictureListTest, SameNameInAnyCaseIsLoadedOnce) {
  const int first = list.add("bild.jpg", xpath);
  ASSERT_GE(first, 0);
  std::filesystem::remove(dir.path() / "hzek/bild.jpg");  // a second load would fail now
  EXPECT_EQ(list.add("Bild.JPG", xpath), first);
  EXPECT_EQ(list.find("BILD.jpg"), first);
  EXPECT_EQ(list.find("*bild.jpg"), first);
  EXPECT_EQ(list.find("other.jpg"), -1);
  EXPECT_EQ(list.count(), 1);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(PictureListTest, KeptPicturesSurviveClearWithTheirIndex) {
  EXPECT_EQ(list.add("bild.jpg", xpath), 0);
  const int logo = list.add("*e_gfx/logo.bmp", xpath);
  ASSERT_EQ(logo, 1);
  EXPECT_EQ(list.name(logo), "e_gfx/logo.bmp");
  EXPECT_TRUE(list.keep(logo));
  EXPECT_FALSE(list.keep(0));
  const TPicture* before = list.picture(logo);

  list.clear();  // next page
  EXPECT_EQ(list.count(), 1);
  EXPECT_EQ(list.picture(0), nullptr);
  EXPECT_EQ(list.find("bild.jpg"), -1);
  std::filesystem::remove(dir.path() / "hzek/e_gfx/Logo.BMP");
  EXPECT_EQ(list.add("*e_gfx/logo.bmp", xpath), logo);
  EXPECT_EQ(list.picture(logo), before);
  EXPECT_TRUE(boxes().empty());

  // The freed slot is reused; the kept one is not disturbed.
  EXPECT_EQ(list.add("..\\shared\\up.bmp", xpath), 0);
  EXPECT_EQ(list.picture(logo), before);
  list.clear();
  EXPECT_EQ(list.count(), 1);
}

TEST_F(PictureListTest, BrokenOrMissingPicturesShowTheBoxAndAreDropped) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"broken.gif", "Das Bild broken.gif konnte nicht geladen werden!"},
      {"*cut.bmp", "Das Bild cut.bmp konnte nicht geladen werden!"},
      {"fehlt.jpg", "Das Bild fehlt.jpg konnte nicht geladen werden!"},
      {"$fehlt.bmp", "Das Bild $fehlt.bmp konnte nicht geladen werden!"},
  };
  for (const auto& [name, box] : cases) {
    dialogs.clear();
    EXPECT_EQ(list.add(name, xpath), -1) << name;
    ASSERT_EQ(dialogs.messages().size(), 1u) << name;
    EXPECT_EQ(dialogs.messages()[0].text, box);
    EXPECT_EQ(dialogs.messages()[0].flags, mb::IconStop);
  }
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.find("cut.bmp"), -1);
  // A failed name is tried again next time, not remembered as broken.
  dialogs.clear();
  dir.write("hzek/fehlt.jpg", solid(2, 2, Qt::white, "JPEG"));
  EXPECT_EQ(list.add("fehlt.jpg", xpath), 0);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(PictureListTest, BuiltInPictures) {
  const int logo = list.add("$logo.bmp", xpath);
  ASSERT_GE(logo, 0);
  const TPicture* p = list.picture(logo);
  EXPECT_EQ(p->width(), 32);
  EXPECT_EQ(p->height(), 32);
  const uint8_t* corner = p->bitmap().scanLine(0);
  EXPECT_EQ(corner[0], 255);  // outside the rounded square
  const uint8_t* inside = p->bitmap().scanLine(3) + 16 * 3;
  EXPECT_EQ(inside[0], 0x3F);  // #1F6F3F, blue first
  EXPECT_EQ(inside[1], 0x6F);
  EXPECT_EQ(inside[2], 0x1F);
  EXPECT_EQ(list.add("$LOGO.BMP", xpath), logo);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(PictureListTest, AnimatedGifKeepsItsFrames) {
  if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick convert is missing";
  const std::string out = zek::fromPath(dir.path()) + "/hzek/anim.gif";
  const std::string cmd = "convert -delay 0 -size 5x5 xc:red -delay 25 xc:blue -delay 50 xc:lime '" + out + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  const int index = list.add("ANIM.GIF", xpath);
  ASSERT_GE(index, 0);
  const TPicture* p = list.picture(index);
  ASSERT_EQ(p->frames.size(), 3u);
  EXPECT_TRUE(p->isAnimated());
  EXPECT_EQ(p->frameDelayMs(0), 100);  // unset delays play at the usual pace
  EXPECT_EQ(p->frameDelayMs(1), 250);
  EXPECT_EQ(p->frameDelayMs(2), 500);
  EXPECT_EQ(p->bitmap(1).scanLine(2)[6], 255);  // blue frame: blue byte first
  EXPECT_EQ(p->bitmap(2).scanLine(2)[7], 255);
}

TEST_F(PictureListTest, BackgroundFailuresAreQuiet) {
  EXPECT_NE(TPictureList::loadBackground("bild.jpg", xpath), nullptr);
  EXPECT_EQ(TPictureList::loadBackground("broken.gif", xpath), nullptr);
  EXPECT_EQ(TPictureList::loadBackground("nirgends.bmp", xpath), nullptr);
  EXPECT_EQ(TPictureList::loadBackground("", xpath), nullptr);
  EXPECT_TRUE(boxes().empty());
  EXPECT_EQ(list.count(), 0);
}

TEST(PictureName, ResolvesLikeLinkTargets) {
  struct Case {
    const char* name;
    const char* xpath;
    const char* expected;
  };
  const Case cases[] = {
      {"a.gif", "/cd/hzek/", "/cd/hzek/a.gif"},
      {"e_gfx\\a.gif", "/cd/hzek/", "/cd/hzek/e_gfx/a.gif"},
      {"\\e_gfx\\a.gif", "/cd/hzek/", "/cd/hzek/e_gfx/a.gif"},
      {"..\\bilder\\a.gif", "/cd/hzek/sub/", "/cd/hzek/bilder/a.gif"},
      {"..\\..\\a.gif", "/cd/hzek/sub/", "/cd/a.gif"},
      {"a.gif", "/cd/hzek", "/cd/hzek/a.gif"},
  };
  for (const Case& c : cases) EXPECT_EQ(resolvePictureName(c.name, c.xpath), c.expected) << c.name;
}

}  // namespace
