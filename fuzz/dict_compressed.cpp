// SPDX-License-Identifier: GPL-3.0-or-later
// The compressed dictionary reader: arbitrary record bytes (packed here, so the fuzzer
// reaches the record walk) and arbitrary file bytes (the bounded inflate).
#include "dict/database.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  zek::ScriptedDialogs quiet;
  TXDatabase raw;
  raw.AddLoaded(TXDatabase::ParseCompressed(bytes));

  TXDatabase db;
  if (!db.AddLoaded(TXDatabase::ParseCompressed(zek::deflateZlib(bytes, 1)))) __builtin_trap();
  // What was read writes back as records that read the same.
  const std::string records = db.Records(0);
  TXDatabase again;
  again.AddLoaded(TXDatabase::ParseCompressed(zek::deflateZlib(records, 1)));
  if (again.Records(0) != records || again.Count() != db.Count()) __builtin_trap();
  for (int i = 0; i < db.Count(); ++i)
    if (db.GetKind(i) < 1 || db.GetKind(i) > 6) __builtin_trap();
  if (db.Count() > 0) {
    db.LookUp(db.GetWord(db.Count() / 2), db.GetKind(0));
    if (db.Current() < 0 || db.Current() >= db.Count() || db.Hits().size() > 9) __builtin_trap();
    db.Search(db.GetWord(0).substr(0, 2), false, true);
    db.Check();
    db.RemoveDuplicates();
  }
  return 0;
}
