// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TZIPResource;

// One irregular verb, Windows-1252. Alternatives inside a form are separated by "; ".
struct TVerb {
  std::string infinitiv;
  std::string bedeutung;  // German meaning(s)
  std::string past;       // past tense
  std::string participle; // past participle
};

// The verb table in list order. In the block every verb is a group of four items:
// meaning(s), infinitive, past tense, past participle.
class TVerbListe {
 public:
  // Reads groups of four items until the block is used up; a last, incomplete group
  // still becomes a verb, its missing forms empty.
  void laden(TZIPResource& block);
  void ladenEingebaut();  // block 2

  std::size_t size() const { return m_verben.size(); }
  bool empty() const { return m_verben.empty(); }
  const TVerb& operator[](std::size_t i) const { return m_verben[i]; }
  auto begin() const { return m_verben.begin(); }
  auto end() const { return m_verben.end(); }
  // Index of the verb with this infinitive, or -1.
  int indexOf(std::string_view infinitiv) const;

 private:
  std::vector<TVerb> m_verben;
};
