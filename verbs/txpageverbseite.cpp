// SPDX-License-Identifier: GPL-3.0-or-later
#include "verbs/txpageverbseite.h"

#include "page/txpage.h"

TXPageVerbSeite::TXPageVerbSeite(TXPage* page) : m_page(page) {}
TXPageVerbSeite::~TXPageVerbSeite() = default;

TXPage* TXPageVerbSeite::page() const { return m_page.data(); }

bool TXPageVerbSeite::vorhanden() const { return !m_page.isNull(); }

int TXPageVerbSeite::breite() const { return m_page ? m_page->width() : 0; }

void TXPageVerbSeite::zeigen(THTMLStream& stream) {
  if (m_page) m_page->ShowStream(&stream);
}

void TXPageVerbSeite::laden(const std::string& datei) {
  if (m_page) m_page->setXFile(datei);
}
