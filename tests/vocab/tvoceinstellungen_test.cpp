// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tvoceinstellungen.h"

#include "platform/settingsstore.h"
#include "tests/common/testutil.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* K = TVocEinstellungen::kSchluessel;

struct Einst : ::testing::Test {
  zek::test::TempDir dir{"zek-vocset"};
  TSettingsStore store{dir.path() / "settings.ini"};
  TVocEinstellungen e{store};
};

TEST_F(Einst, InitialValues) {
  EXPECT_TRUE(e.NichtGeladen);
  EXPECT_EQ(e.Modus, TVocEinstellungen::ModusVor);
  EXPECT_EQ(e.Von, 0);
  EXPECT_EQ(e.Bis, -1);
  EXPECT_EQ(e.ProRunde, 0);
  EXPECT_EQ(e.MultipleChoice, 0);
  EXPECT_EQ(e.Richtung, TVocEinstellungen::RichtungDE);
  EXPECT_FALSE(e.Redewendungen);
  EXPECT_FALSE(e.Kontext);
  EXPECT_EQ(e.NichtZuSchwer, (std::array<bool, 5>{}));
}

TEST_F(Einst, MissingKeyGivesDefaults) {
  e.EinstellungenLaden();
  EXPECT_FALSE(e.NichtGeladen);
  EXPECT_EQ(e.Modus, TVocEinstellungen::ModusKreuzUndQuer);
  EXPECT_EQ(e.Richtung, TVocEinstellungen::RichtungBeides);
  EXPECT_TRUE(e.Kontext);
  EXPECT_TRUE(e.Redewendungen);
  EXPECT_EQ(e.MultipleChoice, 50);
  EXPECT_EQ(e.NichtZuSchwer, (std::array<bool, 5>{true, true, true, true, true}));
}

TEST_F(Einst, ReadsTextValuesExactly) {
  struct Fall {
    const char* modus;
    std::uint8_t erwartet;
    const char* richtung;
    std::uint8_t richtungErwartet;
  };
  const Fall faelle[] = {
      {"vor", 0, "D-E", 0},
      {"zur\xFC" "ck", 1, "E-D", 1},
      {"kreuzundquer", 2, "Beides", 2},
      {"Vor", 2, "d-e", 2},  // compared exactly
  };
  for (const Fall& f : faelle) {
    store.writeString(K, "Modus", f.modus);
    store.writeString(K, "Richtung", f.richtung);
    e.EinstellungenLaden();
    EXPECT_EQ(e.Modus, f.erwartet) << f.modus;
    EXPECT_EQ(e.Richtung, f.richtungErwartet) << f.richtung;
  }
  store.writeInteger(K, "Modus", 0);  // a value of the wrong type cannot be read
  e.EinstellungenLaden();
  EXPECT_EQ(e.Modus, TVocEinstellungen::ModusKreuzUndQuer);
}

TEST_F(Einst, OneMissingDifficultySwitchesAllOn) {
  for (int i = 1; i <= 5; ++i) store.writeBool(K, "NichtZuSchwer" + std::to_string(i), false);
  e.EinstellungenLaden();
  EXPECT_EQ(e.NichtZuSchwer, (std::array<bool, 5>{}));
  store.deleteValue(K, "NichtZuSchwer3");
  e.EinstellungenLaden();
  EXPECT_EQ(e.NichtZuSchwer, (std::array<bool, 5>{true, true, true, true, true}));
  store.writeString(K, "NichtZuSchwer3", "nein");  // unreadable counts as missing
  e.EinstellungenLaden();
  EXPECT_EQ(e.NichtZuSchwer, (std::array<bool, 5>{true, true, true, true, true}));
}

TEST_F(Einst, SaveWritesEveryValueAndReadsBack) {
  e.EinstellungenLaden();
  e.Modus = TVocEinstellungen::ModusZurueck;
  e.Richtung = TVocEinstellungen::RichtungED;
  e.Kontext = false;
  e.Redewendungen = false;
  e.MultipleChoice = 70;
  e.NichtZuSchwer = {false, true, false, true, false};
  e.Von = 3;
  ASSERT_TRUE(e.EinstellungenSpeichern());
  EXPECT_EQ(store.readString(K, "Modus"), "zur\xFC" "ck");
  EXPECT_EQ(store.readString(K, "Richtung"), "E-D");
  EXPECT_EQ(store.valueNames(K).size(), 10u);  // range and round size are not stored
  TSettingsStore wieder(dir.path() / "settings.ini");
  TVocEinstellungen f(wieder);
  f.EinstellungenLaden();
  EXPECT_EQ(f.Modus, e.Modus);
  EXPECT_EQ(f.Richtung, e.Richtung);
  EXPECT_EQ(f.Kontext, false);
  EXPECT_EQ(f.Redewendungen, false);
  EXPECT_EQ(f.MultipleChoice, 70);
  EXPECT_EQ(f.NichtZuSchwer, e.NichtZuSchwer);
  EXPECT_EQ(f.Von, 0);
}

TEST_F(Einst, SaveBeforeAnyLoadKeepsStoredValues) {
  store.writeString(K, "Modus", "vor");
  store.writeInteger(K, "Multiple Choice/Eintippen", 20);
  ASSERT_TRUE(e.EinstellungenSpeichern());  // never loaded: the initial values must not win
  EXPECT_EQ(store.readString(K, "Modus"), "vor");
  EXPECT_EQ(store.readInteger(K, "Multiple Choice/Eintippen"), 20);
  EXPECT_FALSE(e.NichtGeladen);
}

TEST_F(Einst, StoredShareIsKeptInRange) {
  store.writeInteger(K, "Multiple Choice/Eintippen", 250);
  e.EinstellungenLaden();
  EXPECT_EQ(e.MultipleChoice, 100);
}

TEST_F(Einst, Presets) {
  const std::array<bool, 5> stufen[] = {{true, true, true, false, false},
                                        {false, true, true, true, false},
                                        {false, false, false, true, true},
                                        {true, true, true, true, true}};
  for (int p = 0; p < 4; ++p) {
    TVocEinstellungen v(store);
    v.Kontext = true;
    v.Von = 5;
    ASSERT_TRUE(v.Voreinstellung(p));
    EXPECT_EQ(v.NichtZuSchwer, stufen[p]) << p;
    EXPECT_EQ(v.Modus, TVocEinstellungen::ModusKreuzUndQuer);
    EXPECT_EQ(v.MultipleChoice, 60);
    EXPECT_EQ(v.Richtung, TVocEinstellungen::RichtungBeides);
    EXPECT_TRUE(v.Redewendungen);
    EXPECT_EQ(v.Von, 0);
    EXPECT_EQ(v.Bis, -1);
    EXPECT_EQ(v.ProRunde, 12);
    EXPECT_TRUE(v.Kontext);  // the stored value (none: on)
    EXPECT_FALSE(v.NichtGeladen);
  }
  // The stored values are read before the preset, so that a later lazy load keeps it.
  store.writeInteger(TVocEinstellungen::kSchluessel, "Multiple Choice/Eintippen", 20);
  store.writeBool(TVocEinstellungen::kSchluessel, "Kontext", false);
  TVocEinstellungen v(store);
  ASSERT_TRUE(v.Voreinstellung(2));
  v.LadenFallsNoetig();
  EXPECT_EQ(v.MultipleChoice, 60);
  EXPECT_FALSE(v.Kontext);
  EXPECT_FALSE(e.Voreinstellung(4));
  EXPECT_EQ(e.ProRunde, 0);
}

}  // namespace
