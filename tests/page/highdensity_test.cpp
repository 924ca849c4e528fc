// SPDX-License-Identifier: GPL-3.0-or-later
// The page on a high-density screen. These tests need a pixel ratio of 2: the page-scale2 test
// runs them under QT_SCALE_FACTOR=2; in the plain run they are skipped.
#include "page/txpage.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "tests/common/testutil.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

void moveMouse(TXPage& page, QPoint pos) {
  QMouseEvent e(QEvent::MouseMove, QPointF(pos), page.mapToGlobal(QPointF(pos)), Qt::NoButton, Qt::NoButton,
                Qt::NoModifier);
  QCoreApplication::sendEvent(&page, &e);
}

// Aligned 2 x 2 blocks of the rectangle (in the image's pixels) whose four pixels are not all
// alike: none in a picture enlarged from scale 1 by doubling its pixels.
int mixedBlocks(const QImage& image, QRect r) {
  r &= image.rect();
  int n = 0;
  for (int y = r.top() & ~1; y + 1 <= r.bottom(); y += 2)
    for (int x = r.left() & ~1; x + 1 <= r.right(); x += 2) {
      const QRgb a = image.pixel(x, y);
      n += image.pixel(x + 1, y) != a || image.pixel(x, y + 1) != a || image.pixel(x + 1, y + 1) != a;
    }
  return n;
}

// The bounding box of the pixels that differ from the colour at (0, 0).
QRect inkBox(const QImage& image) {
  const QRgb paper = image.pixel(0, 0);
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != paper) box |= QRect(x, y, 1, 1);
  return box;
}

QRect scaledBy(const TRect& r, int s) { return QRect(r.x * s, r.y * s, r.w * s, r.h * s); }

struct HighDensity : ::testing::Test {
  zek::ScriptedDialogs dialogs;
  TXPage page;
  void SetUp() override {
    page.resize(800, 572);
    if (page.devicePixelRatioF() < 2) GTEST_SKIP() << "runs under QT_SCALE_FACTOR=2 (page-scale2)";
  }
};

TEST_F(HighDensity, PageTextIsPaintedAtTheScreensPixelsNotEnlarged) {
  page.ShowHTML("<body bgcolor=#FFFFFF><font size=5>Crisp words on a page</font>");
  ASSERT_EQ(page.SharpScale(), 2);
  // (Buffer() is what games draw into: the tests look at the scale-1 page through VisibleImage.)
  const QImage small = page.VisibleImage();
  const QImage big = page.SharpBuffer().toImage();
  EXPECT_EQ(big.size(), 2 * small.size());
  // The words stand where the layout put them, at twice the size.
  const QRect ink = inkBox(small), bigInk = inkBox(big);
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_NEAR(bigInk.left(), 2 * ink.left(), 3);
  EXPECT_NEAR(bigInk.top(), 2 * ink.top(), 3);
  EXPECT_NEAR(bigInk.right(), 2 * ink.right() + 1, 3);
  EXPECT_NEAR(bigInk.bottom(), 2 * ink.bottom() + 1, 3);
  EXPECT_GT(mixedBlocks(big, bigInk), 100);
  // What reaches the screen is that picture too.
  const QImage shown = page.grab().toImage();
  EXPECT_EQ(shown.width(), 1600);
  EXPECT_GT(mixedBlocks(shown, bigInk), 100);
}

TEST_F(HighDensity, BoxesKeepTheirPlaces) {
  page.ShowHTML("<body bgcolor=#102030><box coords=100,100,50,40 color=#00FF00 bcolor=#0000FF bwidth=2>x");
  ASSERT_EQ(page.SharpScale(), 2);
  const TXBitmap& b = page.SharpBuffer();
  struct Probe {
    int x, y;
    TColor colour;
  };
  // Each logical pixel is a 2 x 2 block of the same colour as at scale 1.
  for (const Probe& p : {Probe{100, 100, rgbColor(0, 0, 255)}, Probe{150, 140, rgbColor(0, 0, 255)},
                         Probe{151, 141, rgbColor(0x10, 0x20, 0x30)}, Probe{120, 120, rgbColor(0, 255, 0)},
                         Probe{102, 102, rgbColor(0, 255, 0)}, Probe{5, 500, rgbColor(0x10, 0x20, 0x30)}})
    for (int d = 0; d < 4; ++d)
      EXPECT_EQ(b.pixel(2 * p.x + d % 2, 2 * p.y + d / 2), p.colour) << p.x << "," << p.y;
}

TEST_F(HighDensity, IconsAreScaledSmoothlyFromTheirOwnPixels) {
  page.setXPath(zek::fromPath(zek::test::sourceDir() / "content/pages"));
  page.ShowHTML("<body bgcolor=#070B14><img src=\"bilder/icon_vokabeln.gif\"> <img src=\"bilder/logo.gif\">");
  ASSERT_EQ(page.SharpScale(), 2);
  const QImage big = page.SharpBuffer().toImage();
  int pictures = 0;
  for (const TPageItem& it : page.Model().items) {
    if (it.kind != TItemKind::Picture) continue;
    ++pictures;
    const QRect r = scaledBy({it.x, it.y - it.ascent, it.width, it.ascent + it.descent}, 2);
    // Doubled pixels would make every block one colour.
    EXPECT_GT(mixedBlocks(big, r), r.width() * r.height() / 4 / 10) << it.width << "x" << it.ascent + it.descent;
  }
  EXPECT_EQ(pictures, 2) << (dialogs.texts().empty() ? "" : dialogs.texts()[0]);
}

TEST_F(HighDensity, HoverSwitchesTheSharpPictureAndBack) {
  page.ShowHTML("<body bgcolor=#FFFFFF><a href=\"a.htx\" flash=#FF0000><font size=7>Rot</font></a>");
  ASSERT_EQ(page.SharpScale(), 2);
  const QRect r = scaledBy(page.Layout().areas.at(0).rect, 2);
  const QImage before = page.SharpBuffer().toImage().copy(r);
  const auto redPixels = [&] {
    const QImage now = page.SharpBuffer().toImage().copy(r);
    int n = 0;
    for (int y = 0; y < now.height(); ++y)
      for (int x = 0; x < now.width(); ++x) n += now.pixelColor(x, y) == QColor(255, 0, 0);
    return n;
  };
  EXPECT_EQ(redPixels(), 0);
  const TRect a = page.Layout().areas.at(0).rect;
  moveMouse(page, QPoint(a.x + a.w / 2, a.y + a.h / 2));
  EXPECT_GT(redPixels(), 200);
  moveMouse(page, QPoint(700, 500));
  EXPECT_EQ(page.SharpBuffer().toImage().copy(r), before);
}

TEST_F(HighDensity, AGameDrawingIntoThePageIsShown) {
  page.ShowHTML("<body bgcolor=#FFFFFF>Words");
  ASSERT_EQ(page.SharpScale(), 2);
  {
    QImage canvas = page.Buffer().view();
    QPainter p(&canvas);
    p.fillRect(QRect(300, 300, 40, 40), Qt::red);
  }
  EXPECT_EQ(page.SharpScale(), 0);
  const QImage shown = page.grab().toImage();
  EXPECT_EQ(shown.pixelColor(2 * 310, 2 * 310), QColor(Qt::red));
  // The next page is sharp again.
  page.ShowHTML("<body bgcolor=#FFFFFF>More words");
  EXPECT_EQ(page.SharpScale(), 2);
}

TEST_F(HighDensity, MosaicCellsChangeInTheSharpPictureToo) {
  page.setXPath(zek::fromPath(zek::test::sourceDir() / "content/pages"));
  page.ShowHTML("<body bgcolor=#000000><box coords=40,40,240,80 lomo=\"kachel1.gif|kachel2.gif|kachel3.gif\" "
                "dir=\"bilder/\" speed=20>");
  ASSERT_EQ(page.SharpScale(), 2);
  const QRect box(80, 80, 480, 160);
  const QImage first = page.SharpBuffer().toImage().copy(box);
  EXPECT_GT(mixedBlocks(first, first.rect()), 0);
  // The cells as painted at scale 1 are in the sharp picture at twice the size.
  const QImage small = page.VisibleImage().copy(40, 40, 240, 80).scaled(480, 160).convertToFormat(first.format());
  const auto near = [](QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) < 90;
  };
  int alike = 0;
  for (int y = 4; y < 160; y += 8)
    for (int x = 4; x < 480; x += 8) alike += near(first.pixel(x, y), small.pixel(x, y));
  EXPECT_GT(alike, 20 * 60 * 8 / 10);
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  EXPECT_NE(page.SharpBuffer().toImage().copy(box), first);
}

TEST_F(HighDensity, DragExercisesStayAtScaleOne) {
  page.ShowHTML("<body klotz=#C0C0C0>Put <a drag>here</a> the word.");
  EXPECT_EQ(page.SharpScale(), 0);
  EXPECT_EQ(page.grab().toImage().width(), 1600);
}

}  // namespace
