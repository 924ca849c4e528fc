// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"
#include "platform/messages.h"
#include "tests/common/testutil.h"
#include "vocab/bibliothekspruefung.h"
#include "vocab/tbibliothek.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

// Every shipped collection file loads without a message, and saving it gives the very
// same bytes; loading the saved file gives the same entries.
TEST(Collections, ShippedFilesRoundTripByteForByte) {
  const fs::path wurzel = zek::test::distDir() / "Vokabeln (E)";
  ASSERT_TRUE(fs::is_directory(wurzel)) << wurzel;
  for (const char* sammlung : {"Grundwortschatz", "Aufbauwortschatz", "Reisevokabular"})
    EXPECT_TRUE(fs::is_directory(wurzel / sammlung)) << sammlung;
  zek::test::TempDir tmp("zek-collections");
  int dateien = 0;
  for (const auto& e : fs::recursive_directory_iterator(wurzel)) {
    if (!e.is_regular_file() || zek::extensionLower(e.path().filename().string()) != ".asc") continue;
    ++dateien;
    SCOPED_TRACE(e.path().string());
    const auto original = zek::readFile(e.path());
    ASSERT_TRUE(original);
    zek::ScriptedDialogs dialogs;
    TBibliothek bib;
    EXPECT_TRUE(bib.Laden(zek::fromPath(e.path()), true));
    EXPECT_GT(bib.Anzahl(false), 0);
    const fs::path kopie = tmp.path() / "kopie.asc";
    ASSERT_TRUE(bib.Speichern(zek::fromPath(kopie)));
    EXPECT_EQ(zek::readFile(kopie), original);
    TBibliothek wieder;
    wieder.Laden(zek::fromPath(kopie), true);
    EXPECT_EQ(wieder.Eintraege(), bib.Eintraege());
    EXPECT_TRUE(dialogs.messages().empty());
    const TPruefBericht bericht = pruefeBibliothek(*original);
    EXPECT_TRUE(bericht.fehler.empty());
    for (const TPruefMeldung& w : bericht.warnungen) ADD_FAILURE() << "line " << w.zeile << ": " << w.text;
  }
  RecordProperty("files", dateien);
}

}  // namespace
