// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dict/database.h"
#include "platform/codec.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "tests/common/testutil.h"
#include "vocab/tbibliothek.h"
#include "vocab/tvoceditorkern.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace et {

inline std::string T(std::string_view utf8) { return zek::utf8ToCp1252(utf8); }

// A small sorted English-German half and a German-English one, a library, the core and
// scripted boxes.
struct EditorFixture : ::testing::Test {
  zek::test::TempDir dir{"zek-editor"};
  zek::ScriptedDialogs dialogs;
  TXDatabase db;
  TBibliothek bib;
  TVocEditorKern kern{bib, db};

  EditorFixture() {
    TSettingsStore::setGlobalFile(dir.path() / "settings.ini");
    db.Append("cat", "1", "Katze");
    db.Append("dog", "1", T("Hund; Rüde"));
    db.Append("house", "1", T("Haus; Gebäude"));
    db.Append("light", "1", "Licht");
    db.Append("run", "2", "laufen; rennen; fliehen");
    db.SetGermanEnglish(true);
    db.Append("Hund", "1", "dog; hound");
    db.SetGermanEnglish(false);
  }
  void eintragen(const std::string& wort, const std::string& bedeutung) {
    kern.wortGeaendert(wort);
    kern.bedeutungGeaendert(0, bedeutung);
  }
};

}  // namespace et
