// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/messages.h"

#include <gtest/gtest.h>

namespace {

TEST(Messages, ScriptedAnswersAndRecordedBoxes) {
  zek::ScriptedDialogs dialogs;
  dialogs.answer(mb::IdYes);
  EXPECT_EQ(showMessage("Programm wirklich verlassen?", 36), mb::IdYes);
  EXPECT_EQ(showMessage("Noch einmal?", 36), mb::IdNo);  // unscripted questions say No
  EXPECT_EQ(showMessage("Hinweis"), mb::IdOk);
  ASSERT_EQ(dialogs.messages().size(), 3u);
  EXPECT_EQ(dialogs.messages()[0].title, "zek englisch");
  EXPECT_EQ(dialogs.messages()[2].flags, 48);  // flags 0 means 48
  EXPECT_EQ(showMessageTitled("x", "*zek", mb::IconStop), mb::IdOk);
  EXPECT_EQ(dialogs.messages().back().title, "*zek");
  EXPECT_EQ(showMessage("Fehler", mb::RetryCancel | mb::IconStop), mb::IdCancel);
}

TEST(Messages, ScriptedFileDialogs) {
  zek::ScriptedDialogs dialogs;
  dialogs.chooseFile("/tmp/a.asc");
  TFileDialogRequest r;
  r.save = true;
  r.filter = "Vokabeln (*.asc)|*.asc";
  EXPECT_EQ(askFileName(r), "/tmp/a.asc");
  EXPECT_EQ(askFileName(r), std::nullopt);
  EXPECT_EQ(dialogs.fileDialogs().size(), 2u);
}

}  // namespace
