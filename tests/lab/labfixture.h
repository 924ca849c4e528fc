#pragma once

#include "lab/tsprachlabor.h"
#include "media/mediacommand.h"
#include "media/taudiobackend.h"
#include "media/tmediaservice.h"
#include "media/twaverec.h"
#include "platform/appstate.h"
#include "platform/files.h"
#include "platform/settingsstore.h"
#include "platform/thandover.h"
#include "tests/common/testutil.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string_view>
#include <vector>

// A clock the test moves by hand.
class ManualClock final : public TMediaClock {
 public:
  std::chrono::microseconds now() const override { return m_now; }
  void advanceMs(int ms) { m_now += std::chrono::milliseconds(ms); }

 private:
  std::chrono::microseconds m_now{1'000'000};
};

// The language lab on the null audio device with a manual clock, its sounds below a folder of
// its own, no saved lab settings, and plain widgets as the main windows it hands over to.
class LabFixture : public ::testing::Test {
 protected:
  explicit LabFixture(std::string_view dirPrefix) : m_dir(dirPrefix) {}
  void SetUp() override {
    m_saved = Dirs();
    useService(makeNullAudioBackend(m_clock));
    Dirs().SoundDir = zek::fromPath(m_dir.path()) + "/wave/";
    TSettingsStore::global().deleteKey(settingsKey("\\Sprachlabor"));
    setMainWindowFactory([this]() -> QWidget* {
      m_mains.emplace_back(new QWidget);
      return m_mains.back();
    });
  }
  void TearDown() override {
    setMainWindowFactory(nullptr);
    QApplication::processEvents();
    for (auto& w : m_mains) delete w.data();
    zek::freeWaveRec();
    zek::setMediaCommandObserver(nullptr);
    zek::setMediaService(nullptr);
    Dirs() = m_saved;
  }
  void useService(std::unique_ptr<TAudioBackend> backend) {
    TMediaService::TOptions options;
    options.backend = std::move(backend);
    zek::setMediaService(std::make_unique<TMediaService>(std::move(options)));
  }
  // Sentence `satz` of the lab's topic comes next, the ones after it later. The way leads
  // through another topic, so that no sentence counts as shown lately.
  void pick(TSprachlabor& lab, int satz) {
    lab.setZufall([this](int n) { return m_next++ % n; });
    const int t = lab.Themen().aktThema();
    lab.ThemaClick(t == 0 ? 1 : 0);
    m_next = satz;
    lab.ThemaClick(t);
  }
  // The lab on `thema`, at sentence `satz`.
  std::unique_ptr<TSprachlabor> open(int thema, int satz = 0) {
    auto lab = std::make_unique<TSprachlabor>(thema);
    pick(*lab, satz);
    return lab;
  }

  zek::test::TempDir m_dir;
  ManualClock m_clock;
  std::vector<QPointer<QWidget>> m_mains;
  TDirectorySet m_saved;
  int m_next = 0;  // the lab's next draw
};
