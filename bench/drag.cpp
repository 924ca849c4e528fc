// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/benchapp.h"
#include "page/txpage.h"
#include "platform/messages.h"
#include "widgets/tsatzbauliste.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

QApplication& app() { return benchApp(); }

void send(TXPage& page, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent e(type, QPointF(pos), page.mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(&page, &e);
}

const char* kPage =
    "<body bgcolor=#102030 text=#FFFFFF klotz=#808080 kbgr=#204060>"
    "<box coords=40,100,700>I <a drag>usually</a> get up at seven.<klotz falsch=\"never\" y=250 nr=5 left=80>";

// One frame of a block being dragged: the page under it back, the block drawn anew, two
// rectangles repainted.
void BM_DragFrame(benchmark::State& state) {
  app();
  TXPage page;
  page.resize(800, 572);
  page.dragRandom = [](int) { return 0; };
  page.ShowHTML(kPage);
  const QPoint start = page.DragList().Bloecke.at(0).rect.center();
  send(page, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
  int step = 0;
  for (auto _ : state) {
    const QPoint p = start + QPoint((step % 200) * 2, -(step % 50));
    send(page, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
    ++step;
  }
  send(page, QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);
}
BENCHMARK(BM_DragFrame)->Unit(benchmark::kMicrosecond);

// A part of a ten-part sentence dropped on another slot: the exchange and the new layout.
void BM_SentenceDropSlot(benchmark::State& state) {
  tSatzbauListe l;
  std::vector<std::string> parts;
  for (int i = 0; i < 10; ++i) parts.push_back("part" + std::to_string(i) + " ");
  l.AddSentence(QRect(20, 400, 760, 40), parts);
  for (auto& t : l.Saetze[0]->Teile) t.rect.setWidth(60);
  l.Saetze[0]->LayoutParts();
  l.PartAt(25, 410);
  bool right = true;
  for (auto _ : state) {
    benchmark::DoNotOptimize(l.DropSlot(right ? 20 + 9 * 63 + 60 : 21));
    right = !right;
  }
}
BENCHMARK(BM_SentenceDropSlot)->Unit(benchmark::kMicrosecond);

// The glide back of a decoy: its whole duration (the goal is 300 ms).
void BM_GlideBack(benchmark::State& state) {
  app();
  TXPage page;
  page.resize(800, 572);
  page.dragRandom = [](int) { return 0; };
  page.ShowHTML(kPage);
  for (auto _ : state) {
    const QPoint start = page.DragList().Bloecke.at(1).rect.center();
    send(page, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    send(page, QEvent::MouseMove, start + QPoint(0, -80), Qt::NoButton, Qt::LeftButton);
    send(page, QEvent::MouseButtonRelease, start + QPoint(0, -80), Qt::LeftButton, Qt::NoButton);
    QElapsedTimer t;
    t.start();
    while (page.DragAnimating()) QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
  }
}
BENCHMARK(BM_GlideBack)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
