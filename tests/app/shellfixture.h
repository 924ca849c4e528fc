#pragma once

#include "app/tappobjects.h"
#include "platform/appstate.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/thandover.h"
#include "tests/common/testutil.h"

#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

#include <string>

// A page directory of its own (PageBase/hzek/...) and a clean shell state.
class ShellFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    appState() = TAppState{};
    Dirs().ProgramDir = zek::fromPath(m_tmp.path()) + "/";
    Dirs().PageBase = zek::fromPath(m_tmp.path()) + "/ZEK_E/";
  }
  void TearDown() override {
    flushDeletes();
    setMainWindowFactory(nullptr);
    appObjects().freeTrainers();
    {
      zek::ScriptedDialogs quiet;  // the dictionary window and its database end with the test
      appObjects().freeDictionaryWindow();
    }
    appState() = TAppState{};
  }
  // A compressed page below the page directory.
  void page(const std::string& name, const std::string& markup) const {
    m_tmp.write("ZEK_E/hzek/" + name, zek::deflateZlib(markup));
  }
  static void flushDeletes() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  zek::test::TempDir m_tmp{"zek-shell"};
};
