// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/thtmlstream.h"

#include <new>

bool THTMLStream::Write(std::string_view text) {
  if (text.size() > m_limit || m_data.size() > m_limit - text.size()) {
    m_error = "Die Seite ist zu gro\xDF: der Speicher f\xFCr ihren Text reicht nicht aus.";
    return false;
  }
  try {
    m_data.append(text);
  } catch (const std::bad_alloc&) {
    m_error = "Nicht genug Speicher f\xFCr den Text der Seite.";
    return false;
  }
  return true;
}
