// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <future>
#include <string_view>

#include "dict/database.h"

class TXDatabase;
class TSettingsStore;

namespace zek {

// Start-up load of both halves: German-English (half 1) from dictFile2 first, then
// English-German (half 0) from dictFile1, leaving half 0 current. An empty name leaves its
// half empty without a message (start-up found no such file).
void loadDictionaries(TXDatabase& db, std::string_view dictFile1, std::string_view dictFile2);

// The same in two steps, so that the program can paint its start page while the files
// are read: start() reads and parses both files on threads of their own (touching no
// database), finish() adds them, with any message, in the order above.
class TDictionaryLoad {
 public:
  TDictionaryLoad(std::string_view dictFile1, std::string_view dictFile2);
  void finish(TXDatabase& db);

 private:
  std::future<TXDatabase::TLoadedFile> m_first, m_second;
};

// After SaveAll: the names the halves were saved under, as "Datenbank1" (half 0) and
// "Datenbank2" (half 1) in "SOFTWARE\ZEK\zek englisch\Verzeichnisse"; empty names are not written.
void storeDictionaryNames(const TXDatabase& db, TSettingsStore& store);

}  // namespace zek
