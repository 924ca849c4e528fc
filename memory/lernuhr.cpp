// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/lernuhr.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cstdlib>

namespace {

// A function, not a static: other files compute day numbers during their own static set-up.
QDate kNull() { return QDate(1970, 1, 1); }

int verschiebung() {
  const char* heute = std::getenv("ZEK_TODAY");
  if (!heute || !*heute) return 0;
  const int tag = lernTagAusText(heute);
  if (tag < 0) return 0;
  return tag - static_cast<int>(kNull().daysTo(QDate::currentDate()));
}

}  // namespace

int lernTagAus(int jahr, int monat, int tag) { return static_cast<int>(kNull().daysTo(QDate(jahr, monat, tag))); }

int lernTagAusText(const std::string& text) {
  const QDate d = QDate::fromString(QString::fromStdString(text), Qt::ISODate);
  return d.isValid() && d >= kNull() ? static_cast<int>(kNull().daysTo(d)) : -1;
}

std::string lernDatum(int tag) { return kNull().addDays(tag).toString(Qt::ISODate).toStdString(); }

int lernTagHeute() { return static_cast<int>(kNull().daysTo(QDate::currentDate())) + verschiebung(); }

std::int64_t lernZeitJetzt() {
  return QDateTime::currentSecsSinceEpoch() + static_cast<std::int64_t>(verschiebung()) * 86400;
}
