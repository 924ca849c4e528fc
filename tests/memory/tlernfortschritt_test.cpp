// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/lernbeispiel.h"
#include "memory/lernuhr.h"
#include "memory/tlernfortschritt.h"
#include "platform/messages.h"
#include "tests/common/testutil.h"

#include <QComboBox>
#include <QImage>
#include <gtest/gtest.h>

#include <numeric>

namespace {

const int kHeute = lernTagAus(2026, 12, 9);

// A year of made-up history: the window's figures agree with the database's, and its picture
// is kept beside the test (lernfortschritt.png) to be looked at.
TEST(TLernfortschritt, AYearOfHistoryInTotalAndPerLibrary) {
  zek::test::TempDir dir;
  setenv("ZEK_TODAY", lernDatum(kHeute).c_str(), 1);
  TLernDatenbank db(dir.path() / "lern.sqlite");
  erzeugeBeispielHistorie(db, 2000, 20000, kHeute, 365, 7);
  TLernfortschritt fenster(db);
  const auto* bereich = fenster.findChild<QComboBox*>("Bereich");
  ASSERT_TRUE(bereich);
  ASSERT_EQ(bereich->count(), 1 + 1 + 8);  // all, all vocabulary, eight libraries
  EXPECT_EQ(bereich->itemText(0).toStdString(), "Alle Trainer");
  EXPECT_EQ(bereich->itemText(2).toStdString(), "Vokabeln: Bibliothek 1.asc");

  const TFortschritt gesamt = fenster.Fortschritt();
  ASSERT_EQ(gesamt.tage.size(), 30u);
  EXPECT_EQ(gesamt.tage.back().tag, kHeute);
  EXPECT_GT(gesamt.antworten(), 0);
  EXPECT_GT(gesamt.anteilRichtig(), 60);
  EXPECT_LT(gesamt.anteilRichtig(), 100);
  EXPECT_EQ(gesamt.zustand.neu + gesamt.zustand.lernend + gesamt.zustand.sicher, 2000);
  EXPECT_GT(gesamt.zustand.sicher, 0);
  ASSERT_EQ(gesamt.prognose.size(), 14u);
  EXPECT_EQ(gesamt.prognose[0], db.faelligBis({}, kHeute));

  fenster.waehlen(2);
  const TFortschritt eine = fenster.Fortschritt();
  EXPECT_GT(eine.antworten(), 0);
  EXPECT_LT(eine.antworten(), gesamt.antworten());
  EXPECT_EQ(eine.zustand.neu + eine.zustand.lernend + eine.zustand.sicher, 250);

  fenster.waehlen(0);
  const QImage bild = fenster.grab().toImage();
  EXPECT_EQ(bild.size(), QSize(780, 560));
  bild.save("lernfortschritt.png");
  unsetenv("ZEK_TODAY");
}

TEST(TLernfortschritt, ExportWritesTheChosenFileAndReportsFailure) {
  zek::test::TempDir dir;
  zek::ScriptedDialogs dialogs;
  TLernDatenbank db(dir.path() / "lern.sqlite");
  TLernAntwort a;
  a.sammlung = "A.asc";
  a.frage = "x = y";
  db.antwort(a);
  TLernfortschritt fenster(db);
  dialogs.chooseFile((dir.path() / "h.csv").string());
  EXPECT_TRUE(fenster.Exportieren());
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "h.csv"));
  dialogs.chooseFile((dir.write("datei", "x") / "h.csv").string());  // a file where the folder should be
  EXPECT_FALSE(fenster.Exportieren());
  ASSERT_EQ(dialogs.messages().size(), 1u);
  dialogs.chooseFile(std::nullopt);
  EXPECT_FALSE(fenster.Exportieren());
}

}  // namespace
