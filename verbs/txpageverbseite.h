// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "verbs/tverbseite.h"

#include <QPointer>

class TXPage;

// The verb trainer's pages on a main window's page view. The view goes with its window;
// from then on the trainer sees no page.
class TXPageVerbSeite : public TVerbSeite {
 public:
  explicit TXPageVerbSeite(TXPage* page);
  ~TXPageVerbSeite() override;

  TXPage* page() const;
  bool vorhanden() const override;
  int breite() const override;
  void zeigen(THTMLStream& stream) override;
  void laden(const std::string& datei) override;

 private:
  QPointer<TXPage> m_page;
};
