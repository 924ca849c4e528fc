#include "dict/startup.h"

#include "dict/database.h"
#include "platform/settingsstore.h"

#include <future>

namespace zek {

void loadDictionaries(TXDatabase& db, std::string_view dictFile1, std::string_view dictFile2) {
  // The two files are read and parsed at the same time (reading touches no database
  // state); they are added, and any failure reported, in the fixed order afterwards.
  std::future<TXDatabase::TLoadedFile> second;
  if (!dictFile2.empty())
    second = std::async(std::launch::async, [name = std::string(dictFile2)] { return TXDatabase::ReadDictionaryFile(name); });
  TXDatabase::TLoadedFile first;
  if (!dictFile1.empty()) first = TXDatabase::ReadDictionaryFile(dictFile1);
  db.SetGermanEnglish(true);
  if (second.valid()) db.AddLoaded(second.get());
  db.SetGermanEnglish(false);
  if (!dictFile1.empty()) db.AddLoaded(std::move(first));
}

void storeDictionaryNames(const TXDatabase& db, TSettingsStore& store) {
  static constexpr const char* kKey = "SOFTWARE\\ZEK\\zek englisch\\Verzeichnisse";
  if (!db.SavedName(0).empty()) store.writeString(kKey, "Datenbank1", db.SavedName(0));
  if (!db.SavedName(1).empty()) store.writeString(kKey, "Datenbank2", db.SavedName(1));
}

}  // namespace zek
