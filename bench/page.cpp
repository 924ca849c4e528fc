// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/benchapp.h"
#include "page/htxreader.h"
#include "page/tpagelayout.h"
#include "page/tqttextmetrics.h"
#include "page/txpage.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

QApplication& app() { return benchApp(); }

std::filesystem::path distDir() { return benchDistDir(); }

// Twenty distinct pictures for the long page, written once.
const std::string& pictureDir() {
  static const std::string dir = [] {
    const std::filesystem::path d = std::filesystem::temp_directory_path() / "zek-bench-page";
    std::filesystem::create_directories(d);
    for (int i = 0; i < 20; ++i) {
      QImage img(80 + i, 60, QImage::Format_RGB32);
      img.fill(QColor(20 * i % 255, 100, 200 - 5 * i));
      img.save(QString::fromStdString((d / ("p" + std::to_string(i) + ".bmp")).string()), "BMP");
    }
    return zek::fromPath(d) + "/";
  }();
  return dir;
}

// About 5,000 words in 30 boxes with 20 pictures, links, a FLASH link per box and a hint.
std::string longPage() {
  static const char* kWords[] = {"The",   "learner", "reads", "a",    "short", "story", "about", "London,",
                                 "where", "the",     "Tube",  "runs", "under", "the",   "city",  "every"};
  std::string s = "<html><title>Lange Seite</title><body bgcolor=#FFFFF0 link=#004080><colors flashcol=#E00000>";
  int words = 0;
  for (int b = 0; b < 30; ++b) {
    s += b % 3 == 0 ? "<box coords=20,-1,-20 align=b>" : b % 3 == 1 ? "<box coords=40,-1,-40 shape=roundrect color=#E0F0FF radius=20>" : "<box coords=20,-1,-20 align=center>";
    s += "<h3>Chapter " + std::to_string(b + 1) + "</h3><p>";
    if (b < 20) s += "<img src=\"p" + std::to_string(b) + ".bmp\" align=r> ";
    for (int w = 0; w < 165; ++w, ++words) {
      if (w == 40) s += "<a href=\"next.htx\" flash=flashcol>";
      if (w == 44) s += "</a>";
      if (w == 90) s += "<a href=\"@Ein Hinweis\">";
      if (w == 92) s += "</a>";
      s += kWords[w % 16];
      s += ' ';
    }
    s += "<p>";
  }
  return s + "</html>\r";
}

void BM_MainPageLoad(benchmark::State& state) {
  app();
  TXPage page;
  const std::string path = zek::fromPath(distDir() / "ZEK_E/hzek/main.htx");
  if (!zek::fileExists(path)) {
    state.SkipWithError("main.htx not assembled");
    return;
  }
  for (auto _ : state) {
    page.setXFile(path);
    benchmark::DoNotOptimize(page.Buffer().bits());
  }
  state.counters["items"] = double(page.Model().items.size());
}
BENCHMARK(BM_MainPageLoad)->Unit(benchmark::kMillisecond);

void BM_LongPageShow(benchmark::State& state) {
  app();
  TXPage page;
  page.setXPath(pictureDir());
  const std::string markup = longPage();
  for (auto _ : state) {
    page.ShowHTML(markup);
    benchmark::DoNotOptimize(page.Buffer().bits());
  }
  state.counters["words"] = double(std::count_if(page.Model().items.begin(), page.Model().items.end(),
                                                 [](const TPageItem& i) { return i.kind == TItemKind::Word; }));
  state.counters["height"] = page.ContentHeight();
}
BENCHMARK(BM_LongPageShow)->Unit(benchmark::kMillisecond);

void BM_LongPageLayoutOnly(benchmark::State& state) {
  app();
  TSimpleHtxHost host;
  TPageModel model;
  readHtxPage(model, host, longPage());
  TQtTextMetrics metrics;
  const TPictureSizeFn size = [](int) { return TSize{90, 60}; };
  for (auto _ : state) {
    TPageLayout layout = layoutPage(model, metrics, size);
    benchmark::DoNotOptimize(layout.contentHeight);
  }
}
BENCHMARK(BM_LongPageLayoutOnly)->Unit(benchmark::kMillisecond);

void BM_HoverSwitch(benchmark::State& state) {
  app();
  TXPage page;
  page.ShowHTML("<body><a href=\"a.htx\" flash=#FF0000><font size=6>Erster Link</font></a><p>"
                "<a href=\"b.htx\" flash=#FF0000><font size=6>Zweiter Link</font></a>");
  const auto centre = [&](int area) {
    const TRect& r = page.Layout().areas.at(std::size_t(area)).rect;
    return QPoint(r.x + r.w / 2, r.y + r.h / 2);
  };
  const QPoint a = centre(0), b = centre(page.Layout().areas.size() - 1);
  bool flip = false;
  for (auto _ : state) {
    page.HoverAt(flip ? a : b);
    flip = !flip;
  }
}
BENCHMARK(BM_HoverSwitch)->Unit(benchmark::kMicrosecond);

// One scroll step: the new offset and the copy of the visible part to the screen.
void BM_ScrollStep(benchmark::State& state) {
  app();
  TXPage page;
  page.setXPath(pictureDir());
  page.ShowHTML(longPage());
  QImage screen(800, 572, QImage::Format_RGB32);
  int y = 0;
  for (auto _ : state) {
    y = (y + 5) % 2000;
    page.ScrollTo(y);
    QPainter p(&screen);
    p.drawImage(QRect(0, 0, page.ViewWidth(), 572), page.Buffer().view(), QRect(0, page.ScrollY(), page.ViewWidth(), 572));
  }
}
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {

// A link from the shipped start page to the help page and "-" back: two full page loads.
void BM_FollowLinkAndBack(benchmark::State& state) {
  app();
  TXPage::setSoundCloser(nullptr);
  TXPage page;
  page.resize(800, 572);
  const std::string hzek = zek::fromPath(distDir() / "ZEK_E" / "hzek") + "/";
  page.setXFile(hzek + "main.htx");
  for (auto _ : state) {
    page.Follow("hilfe.htx", {});
    page.Follow("-", {});
  }
  benchmark::DoNotOptimize(page.Model().items.size());
}
BENCHMARK(BM_FollowLinkAndBack)->Unit(benchmark::kMillisecond);

// The next exercise of the shipped exercise file: clear, read prefix + exercise + suffix, lay out, paint.
void BM_NextExercise(benchmark::State& state) {
  app();
  TXPage::setSoundCloser(nullptr);
  TXPage page;
  page.resize(800, 572);
  page.setXPath(zek::fromPath(distDir() / "ZEK_E" / "hzek"));
  page.Follow("EX PICK=1000000 FILE=grammatik.zek WEITER=uebungen.htx", {});
  for (auto _ : state) page.Follow("EX", {});
  benchmark::DoNotOptimize(page.Model().items.size());
}
BENCHMARK(BM_NextExercise)->Unit(benchmark::kMillisecond);

}  // namespace
