// SPDX-License-Identifier: GPL-3.0-or-later
// The three-line text form of a dictionary half.
#include "dict/database.h"
#include "platform/messages.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zek::ScriptedDialogs quiet;
  TXDatabase db;
  db.AddLoaded(TXDatabase::ParseText(std::string(reinterpret_cast<const char*>(data), size)));
  // Written back as text, the entries read the same.
  std::string text;
  for (int i = 0; i < db.Count(); ++i) {
    if (db.GetKind(i) < 1 || db.GetKind(i) > 6) __builtin_trap();
    text += db.GetWord(i) + "\r\n" + std::to_string(db.GetKind(i)) + "\r\n" + db.GetMeaning(i) + "\r\n";
  }
  TXDatabase again;
  again.AddLoaded(TXDatabase::ParseText(text));
  if (again.Records(0) != db.Records(0)) __builtin_trap();
  if (db.Count() > 0) {
    db.LookUp(db.GetWord(0), -1);
    db.GotoEntry(db.GetWord(-1), db.GetMeaning(-1));
    db.Search(db.GetMeaning(0), true, false);
    db.Check();
  }
  return 0;
}
