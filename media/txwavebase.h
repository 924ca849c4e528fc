// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// One recording: an English word or phrase and the wave file of its spoken form (a full
// path, or a content path beginning with "XE:\" below the sound directory).
struct TWaveEntry {
  std::string word;
  std::string file;
  bool operator==(const TWaveEntry&) const = default;
};

// The word-to-recording store: one process-wide list with a current entry, loaded at
// start-up and offered for saving at exit. Texts are Windows-1252.
class TXWaveBase {
 public:
  TXWaveBase() = default;
  // Remembers a store saved during this run as "Datenbank3", so the next start loads it.
  ~TXWaveBase();
  TXWaveBase(const TXWaveBase&) = delete;
  TXWaveBase& operator=(const TXWaveBase&) = delete;

  // File forms. ".zek" and ".kze" (compared as written) are one zlib stream of
  // word NUL file NUL pairs; any other name holds CR LF line pairs.
  static bool isCompressedName(std::string_view path);
  // Append the pairs in `bytes`; false when the data broke off (the pairs read before stay).
  static bool readCompressed(std::string_view bytes, std::vector<TWaveEntry>& out);
  static bool readText(std::string_view bytes, std::vector<TWaveEntry>& out);
  static std::string writeCompressed(const std::vector<TWaveEntry>& entries);
  static std::string writeText(const std::vector<TWaveEntry>& entries);

  // Appends the pairs of the file; a file that cannot be read (fully) gives
  // "Fehler beim Laden von <path>!". An empty path loads nothing and says nothing.
  void loadStore(const std::string& path);
  // Writes every entry in the form the name selects, atomically; false on failure.
  bool saveStore(const std::string& path);
  // Asks whether to keep the changes; sorts, saves and, when that fails, offers
  // another place. Called once at the orderly exit.
  void saveAtExit();

  // The file of `word`: an equal word (without regard to case), else the first entry
  // "word (...", else "word, ..."; empty when none.
  std::string findRecording(std::string_view word) const;

  int count() const { return static_cast<int>(m_entries.size()); }
  int current() const { return m_current; }
  const std::vector<TWaveEntry>& entries() const { return m_entries; }
  bool modified() const { return m_modified; }
  const std::string& fileName() const { return m_fileName; }
  const std::string& savedAsPath() const { return m_savedAsPath; }
  // The file the last load could not read completely (never overwritten unasked).
  const std::string& brokenFile() const { return m_brokenFile; }

  // The first entry whose word is not less than `text` (the last when all are); "" → 0.
  void locate(std::string_view text);
  std::string currentWord() const;
  std::string currentFile() const;
  // The word is stored without blanks at both ends. In an empty store either makes the
  // first entry.
  void setCurrentWord(std::string_view word);
  void setCurrentFile(std::string_view file);
  // A new entry "" → ".wav" at the current index.
  void insertBlank();
  void deleteCurrent();
  void first();
  void last();
  void next();
  void previous();
  // True for an empty store; otherwise says "Der aktuelle Eintrag ist nicht vollständig!"
  // and returns false when the current word or file is empty.
  bool currentComplete();
  // By word, without regard to case; equal words keep their order and the current entry
  // stays current.
  void sortStore();
  // A new recording of `word`: an entry with an equal word gets the file, else a new entry
  // is made; either becomes current.
  void registerRecording(std::string_view word, std::string_view file);
  // The same for a file the program made itself (a word spoken at run time): it is found
  // again on the next run, so the store is not counted as changed and the learner is not
  // asked to save it at the end; the entry on show stays.
  void registerGenerated(std::string_view word, std::string_view file);
  // Appends without a notification (tools that build a store).
  void append(std::string_view word, std::string_view file);

  // One listener, called after every change of the current entry or of the list.
  void setChangeListener(const void* owner, std::function<void()> listener);
  void clearChangeListener(const void* owner);

 private:
  void changed(bool modifies);
  void entryToTypeInto();
  void ensureIndex() const;

  std::vector<TWaveEntry> m_entries;
  int m_current = 0;
  bool m_modified = false;
  std::string m_fileName;
  std::string m_savedAsPath;
  std::string m_brokenFile;
  const void* m_listenerOwner = nullptr;
  std::function<void()> m_listener;

  // Lookup index, rebuilt after changes: lower-case word → first index, and every word
  // (bytes as written) sorted with its index for the prefix steps.
  mutable bool m_indexValid = false;
  mutable std::unordered_map<std::string, int> m_byLower;
  mutable std::vector<std::pair<std::string_view, int>> m_byBytes;
};
