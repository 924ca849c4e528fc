// SPDX-License-Identifier: GPL-3.0-or-later
#include "super/tsuperalternation.h"

#include "media/tspeech.h"
#include "super/tsuperoptions.h"
#include "vocab/tbibliothek.h"
#include "vocab/tvoceinstellungen.h"

#include <algorithm>

TSuperAlternation::TSuperAlternation(TBibliothek& bibliothek, TSuperOptions& options)
    : m_bib(bibliothek), m_options(options) {
  // A style starts with a word: one stopped after a word would otherwise pair every meaning
  // with the next entry's word.
  m_options.alternation().meaning = false;
  recording = [](const std::string& text, TWortSprache sprache) { return spokenFileFor(text, sprache); };
}

TSuperText TSuperAlternation::nextText() {
  TSuperAlternationState& st = m_options.alternation();
  const bool speech = m_options.value(TSuperValue::Sprachausgabe) != 0;
  const int n = m_bib.Anzahl(false);
  TSuperText out;
  if (st.meaning && st.index >= 0 && st.index < n) {
    st.meaning = false;
    if (const TVokabel* v = m_bib.Eintrag(st.index)) {
      out.text = v->Bedeutung1;
      if (speech && recording)
        out.file = recording(v->Bedeutung1, v->Deutsch ? TWortSprache::Englisch : TWortSprache::Deutsch);
    }
    return out;
  }
  st.meaning = true;
  if (n <= 0) return out;
  const TVocEinstellungen* e = m_bib.Einstellungen();
  const int von = std::clamp(e ? e->Von : 0, 0, n - 1);
  const int bis = std::clamp(e && e->Bis >= 0 ? e->Bis : n - 1, von, n - 1);
  const int modus = e ? int(e->Modus) : int(TVocEinstellungen::ModusVor);
  // Blank lines are passed over while the range holds anything else.
  for (int tries = 0; tries <= bis - von; ++tries) {
    st.index = st.order.next(modus, von, bis);
    const TVokabel* v = m_bib.Eintrag(st.index);
    if (!v || v->istLeer()) continue;
    out.text = "*" + m_bib.MitTo(st.index);
    if (speech && recording) out.file = recording(v->Vokabel, v->Deutsch ? TWortSprache::Deutsch : TWortSprache::Englisch);
    return out;
  }
  return out;
}
