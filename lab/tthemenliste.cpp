// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/tthemenliste.h"

#include "page/tzipresource.h"

#include <algorithm>
#include <map>

namespace {
bool isTopicHeader(const std::string& item) { return item.compare(0, 4, "****") == 0; }

std::string trimmedBlanks(const std::string& s) {
  const std::size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}
}  // namespace

void TThemenListe::laden(TZIPResource& block) {
  m_themen.clear();
  m_aktThema = 0;
  m_aktSatz = 0;
  m_letzteSaetze.clear();
  block.rewind();
  std::vector<std::string> items;
  auto finishSentence = [&] {
    if (!items.empty() && !m_themen.empty()) m_themen.back()->saetze().add(TSatzListe::ausEintraegen(items));
    items.clear();
  };
  while (!block.endReached()) {
    std::string item = block.readLine();
    if (isTopicHeader(item)) {
      finishSentence();
      m_themen.push_back(std::make_unique<TThema>(trimmedBlanks(item.substr(4))));
      continue;
    }
    items.push_back(std::move(item));
    if (items.size() == 5) finishSentence();
  }
  finishSentence();
}

void TThemenListe::ladenEingebaut() {
  TZIPResource block(1);
  laden(block);
  TZIPResource varianten(4);
  variantenLaden(varianten);
}

void TThemenListe::variantenLaden(TZIPResource& block) {
  std::map<int, TSatz*> nachNummer;
  for (auto& t : m_themen)
    for (TSatz& s : t->saetze()) nachNummer.emplace(s.nummer(), &s);
  block.rewind();
  while (!block.endReached()) {
    const std::string nummer = block.readLine();
    if (block.endReached()) break;
    std::string variante = block.readLine();
    int n = -1;
    try {
      n = std::stoi(nummer);
    } catch (...) {
      continue;
    }
    const auto it = nachNummer.find(n);
    if (it != nachNummer.end() && !variante.empty()) it->second->varianten.push_back(std::move(variante));
  }
}

const TSatz* TThemenListe::satzNummer(int nummer) const {
  for (const auto& t : m_themen)
    for (const TSatz& s : t->saetze())
      if (s.nummer() == nummer) return &s;
  return nullptr;
}

std::size_t TThemenListe::satzAnzahl() const {
  std::size_t n = 0;
  for (const auto& t : m_themen) n += t->saetze().size();
  return n;
}

void TThemenListe::setAktThema(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= m_themen.size()) index = 0;
  if (index != m_aktThema) m_letzteSaetze.clear();
  m_aktThema = index;
  m_aktSatz = 0;
}

const TThema* TThemenListe::thema() const {
  if (m_themen.empty()) return nullptr;
  return m_themen[static_cast<std::size_t>(m_aktThema)].get();
}

const TSatz* TThemenListe::satz() const {
  const TThema* t = thema();
  if (!t || static_cast<std::size_t>(m_aktSatz) >= t->saetze().size()) return nullptr;
  return &t->saetze()[static_cast<std::size_t>(m_aktSatz)];
}

void TThemenListe::naechsterSatz(const std::function<int(int)>& drawBelow, const std::function<void()>& pump) {
  const TThema* t = thema();
  if (!t || t->saetze().empty()) return;
  const int n = static_cast<int>(t->saetze().size());
  // The recent list never holds all N sentences (it is cut at min(20, N) - 1 after
  // each append), so a free index always exists.
  int index = 0;
  do {
    index = ((drawBelow(n) % n) + n) % n;
    if (pump) pump();
  } while (std::find(m_letzteSaetze.begin(), m_letzteSaetze.end(), index) != m_letzteSaetze.end());
  m_letzteSaetze.push_back(index);
  if (static_cast<int>(m_letzteSaetze.size()) >= std::min(20, n)) m_letzteSaetze.erase(m_letzteSaetze.begin());
  m_aktSatz = index;
}
