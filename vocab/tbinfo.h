// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class TBibliothek;

// "Infos zur Bibliothek": the library counted by language, word class, difficulty and
// example sentences, on two tabs.
class TBInfo : public QDialog {
  Q_OBJECT
 public:
  explicit TBInfo(const TBibliothek& bib, QWidget* parent = nullptr);
  // Shows the dialog modally.
  static void zeigen(const TBibliothek& bib, QWidget* parent);
};
