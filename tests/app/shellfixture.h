// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/tappobjects.h"
#include "platform/appstate.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/thandover.h"
#include "tests/common/testutil.h"
#include "tests/vocab/vocabfixtures.h"
#include "vocab/vokabeldatei.h"

#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

#include <initializer_list>
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
  // The start and trainer pages and a vocabulary folder of its own whose one collection,
  // Grundwortschatz/Obst.asc, holds `words`.
  void vocabularyShell(std::initializer_list<const char*> words) const {
    Dirs().VocabBase = zek::fromPath(m_tmp.path()) + "/Vokabeln/";
    page("main.htx", "<html>Start</html>");
    page("vokabeln.htx", "<html>Vokabeltrainer</html>");
    m_tmp.write("Vokabeln/Grundwortschatz/Obst.asc", schreibeVokabeln(vt::mitDie(words)));
  }
  static void flushDeletes() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  zek::test::TempDir m_tmp{"zek-shell"};
};
