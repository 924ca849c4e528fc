// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tvocauswertung.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

TEST(StatistikBalken, HoeheUndHinweis) {
  std::array<int, 16> c{};
  c[0] = 3;
  c[1] = 1;
  c[6] = 6;
  c[15] = 2;
  const auto b = statistikBalken(c);
  // s = 12, m = 6: f = 130, the largest bar is 65 pixels high.
  EXPECT_EQ(b[6].top, 72 - 65);
  EXPECT_EQ(b[6].hoehe, 66);
  EXPECT_EQ(b[0].top, 72 - 32);
  EXPECT_EQ(b[0].hoehe, 33);
  EXPECT_EQ(b[0].hinweis, "3 Vokabeln = 25%");
  EXPECT_EQ(b[1].hinweis, "1 Vokabeln = 8%");
  EXPECT_EQ(b[15].hinweis, "2 Vokabeln = 16%");
  EXPECT_EQ(b[2].top + b[2].hoehe, 73);
  EXPECT_EQ(b[2].hoehe, 1);
}

TEST(StatistikBalken, OhneZaehlerFlacheBalken) {
  for (const TStatistikBalken& b : statistikBalken({})) {
    EXPECT_EQ(b.top, 72);
    EXPECT_EQ(b.hoehe, 1);
    EXPECT_EQ(b.hinweis, "0 Vokabeln = 0%");
  }
}

TEST(TVocAuswertung, OhneGesamtwertSchmalerUndOkVerschoben) {
  TAuswertung a;
  a.runde = 83;
  a.gesamt = 70;
  a.titel = "Runde 1 beendet.";
  a.zeile2 = "Sie enthielt 6 Vokabeln.";
  a.zeile3 = "Davon wurden 5 gel\xF6st!";
  a.statistik = {4, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  TVocAuswertung mit(a);
  EXPECT_EQ(mit.windowTitle(), "Auswertung");
  EXPECT_EQ(mit.width(), 480);
  EXPECT_EQ(mit.height(), 320);
  EXPECT_EQ(mit.bOK()->x(), 180);
  EXPECT_NE(mit.findChild<QWidget*>("insgesamt"), nullptr);
  QStringList texte;
  for (const QLabel* l : mit.findChildren<QLabel*>()) texte << l->text();
  for (const char* t : {"diese Runde", "insgesamt", "Runde 1 beendet.", "Sie enthielt 6 Vokabeln.", "Davon wurden 5 gelöst!"})
    EXPECT_TRUE(texte.contains(QString::fromUtf8(t))) << t;
  if (const char* dir = std::getenv("ZEK_SHOT_DIR")) mit.grab().save(QString(dir) + "/auswertung.png");

  a.gesamt = -1;
  TVocAuswertung ohne(a);
  EXPECT_EQ(ohne.width(), 420);
  EXPECT_EQ(ohne.bOK()->x(), 150);
  EXPECT_EQ(ohne.findChild<QWidget*>("insgesamt"), nullptr);
  if (const char* dir = std::getenv("ZEK_SHOT_DIR")) ohne.grab().save(QString(dir) + "/auswertung-ohne.png");
}

}  // namespace
