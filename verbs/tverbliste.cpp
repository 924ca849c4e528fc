// SPDX-License-Identifier: GPL-3.0-or-later
#include "verbs/tverbliste.h"

#include "page/tzipresource.h"

void TVerbListe::laden(TZIPResource& block) {
  m_verben.clear();
  block.rewind();
  while (!block.endReached()) {
    TVerb v;
    std::string* fields[] = {&v.bedeutung, &v.infinitiv, &v.past, &v.participle};
    for (std::string* f : fields) {
      if (block.endReached()) break;
      *f = block.readLine();
    }
    m_verben.push_back(std::move(v));
  }
}

void TVerbListe::ladenEingebaut() {
  TZIPResource block(2);
  laden(block);
}

int TVerbListe::indexOf(std::string_view infinitiv) const {
  for (std::size_t i = 0; i < m_verben.size(); ++i)
    if (m_verben[i].infinitiv == infinitiv) return static_cast<int>(i);
  return -1;
}
