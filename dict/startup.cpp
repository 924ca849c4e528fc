// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/startup.h"

#include "dict/database.h"
#include "platform/settingsstore.h"

#include <future>

namespace zek {

TDictionaryLoad::TDictionaryLoad(std::string_view dictFile1, std::string_view dictFile2) {
  // The two files are read and parsed at the same time (reading touches no database state).
  auto read = [](std::string_view name) {
    return std::async(std::launch::async, [name = std::string(name)] { return TXDatabase::ReadDictionaryFile(name); });
  };
  if (!dictFile2.empty()) m_second = read(dictFile2);
  if (!dictFile1.empty()) m_first = read(dictFile1);
}

void TDictionaryLoad::finish(TXDatabase& db) {
  db.SetGermanEnglish(true);
  if (m_second.valid()) db.AddLoaded(m_second.get());
  db.SetGermanEnglish(false);
  if (m_first.valid()) db.AddLoaded(m_first.get());
}

void loadDictionaries(TXDatabase& db, std::string_view dictFile1, std::string_view dictFile2) {
  TDictionaryLoad(dictFile1, dictFile2).finish(db);
}

void storeDictionaryNames(const TXDatabase& db, TSettingsStore& store) {
  static constexpr const char* kKey = "SOFTWARE\\ZEK\\zek englisch\\Verzeichnisse";
  if (!db.SavedName(0).empty()) store.writeString(kKey, "Datenbank1", db.SavedName(0));
  if (!db.SavedName(1).empty()) store.writeString(kKey, "Datenbank2", db.SavedName(1));
}

}  // namespace zek
