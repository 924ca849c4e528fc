// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qttranslations.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QPushButton>
#include <QFile>

#include <gtest/gtest.h>

TEST(QtTranslationsTest, StandardButtonsAndFileDialogSpeakGerman) {
  if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm")) {
    GTEST_SKIP() << "Qt's German translations are not installed";
  }
  ASSERT_TRUE(installGermanQtTexts(*QCoreApplication::instance()));

  QDialogButtonBox box(QDialogButtonBox::Open | QDialogButtonBox::Cancel | QDialogButtonBox::Save);
  EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text().remove('&'), "Abbrechen");
  EXPECT_EQ(box.button(QDialogButtonBox::Save)->text().remove('&'), "Speichern");
  EXPECT_EQ(box.button(QDialogButtonBox::Open)->text().remove('&'), QString::fromUtf8("Öffnen"));

  // Qt's own file dialog (not the desktop's) with its labels.
  QFileDialog dialog(nullptr, "Bibliothek laden");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  bool sawGermanLabel = false;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) {
    if (label->text().contains("Dateiname") || label->text().contains("Suchen in")) sawGermanLabel = true;
  }
  EXPECT_TRUE(sawGermanLabel);
}
