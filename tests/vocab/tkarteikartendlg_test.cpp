// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tkarteikartendlg.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(TKarteikartenDlg, WahlAusDenFeldern) {
  TKartenWahl w;
  w.thema = "Lektion 3";
  w.bis = 3;
  TKarteikartenDlg dlg(w, 4);
  EXPECT_EQ(dlg.windowTitle(), "Karteikarten drucken");
  auto* thema = dlg.findChild<QLineEdit*>("Thema");
  auto* von = dlg.findChild<QComboBox*>("von");
  auto* bis = dlg.findChild<QComboBox*>("bis");
  auto* schieber = dlg.findChild<QSlider*>(QString::fromUtf8("Rückseite verschieben"));
  auto* versatz = dlg.findChild<QLabel*>("Versatz");
  ASSERT_TRUE(thema && von && bis && schieber && versatz);
  EXPECT_EQ(thema->text(), "Lektion 3");
  EXPECT_EQ(von->count(), 4);
  EXPECT_EQ(bis->itemText(3), "4");
  EXPECT_EQ(versatz->text(), "0,0 mm");
  EXPECT_EQ(schieber->minimum(), -40);
  EXPECT_EQ(schieber->maximum(), 40);

  // All sheets until a list is used; "von" after "bis" is swapped.
  EXPECT_EQ(dlg.Wahl().von, 0);
  EXPECT_EQ(dlg.Wahl().bis, 3);
  von->setCurrentIndex(2);
  bis->setCurrentIndex(1);
  emit bis->activated(1);
  schieber->setValue(-15);
  EXPECT_EQ(versatz->text(), "-1,5 mm");
  thema->setText(QString::fromUtf8("Küche"));
  const TKartenWahl gewaehlt = dlg.Wahl();
  EXPECT_EQ(gewaehlt.von, 1);
  EXPECT_EQ(gewaehlt.bis, 2);
  EXPECT_EQ(gewaehlt.versatz, -15);
  EXPECT_EQ(gewaehlt.thema, "K\xFC" "che");
  if (const char* dir = std::getenv("ZEK_SHOT_DIR")) dlg.grab().save(QString(dir) + "/karteikarten.png");
}

}  // namespace
