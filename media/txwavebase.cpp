// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/txwavebase.h"

#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/collation.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const char* const kMsgIncomplete = "Der aktuelle Eintrag ist nicht vollst\xE4ndig!";
const char* const kMsgAskSave =
    "Die Datenbank f\xFCr die Sprachaufnahmen wurde ver\xE4ndert.\nSollen diese Ver\xE4nderungen gespeichert werden?";
const char* const kMsgSaved = "Die Datenbank f\xFCr die Sprachaufnahmen wurde erfolgreich gespeichert.";
const char* const kMsgSaveFailed =
    "Die Datenbank f\xFCr die Sprachaufnahmen konnte nicht gespeichert werden. \nSoll sie an einem anderen Ort "
    "gespeichert werden?\n\nAchtung: Bei Nein gehen alle Ver\xE4nderungen verloren.";
const char* const kSaveTitle = "Datenbank f\xFCr die Sprachaufnahmen speichern";
const char* const kDefaultName = "e_w.zek";

// Larger than any store (200,000 recordings inflate to about 8 MB); a stream that
// inflates beyond it is not one.
constexpr std::size_t kStoreLimit = 32u << 20;
// Pairs of empty texts take 2 bytes each in a file but 64 in memory: a store of NUL
// bytes would become millions of entries. No learner records this many words.
constexpr std::size_t kMaxEntries = 1000000;

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Everything a zlib stream yields, also when it breaks off; `complete` tells which.
std::string inflatePartial(std::string_view bytes, bool& complete) {
  complete = false;
  std::string out;
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) return out;
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  zs.avail_in = static_cast<uInt>(bytes.size());
  char buf[16384];
  for (;;) {
    zs.next_out = reinterpret_cast<Bytef*>(buf);
    zs.avail_out = sizeof buf;
    const int rc = inflate(&zs, Z_NO_FLUSH);
    if (rc == Z_OK || rc == Z_STREAM_END || rc == Z_BUF_ERROR) out.append(buf, sizeof buf - zs.avail_out);
    if (rc == Z_STREAM_END) {
      complete = true;
      break;
    }
    if (rc != Z_OK || out.size() > kStoreLimit) break;
    if (zs.avail_in == 0 && zs.avail_out != 0) break;  // truncated
  }
  inflateEnd(&zs);
  return out;
}

// The file of the dialog's first proposal when the store has no name yet.
std::string defaultStoreName() { return zek::fromPath(zek::learnerDataDir() / kDefaultName); }

bool hasExtension(std::string_view name) {
  const std::string base = zek::fileNamePart(name);
  const std::size_t dot = base.rfind('.');
  return dot != std::string::npos && dot > 0 && dot + 1 < base.size();
}

bool writableFolder(const std::string& dir) {
  const fs::path path = zek::resolveName(dir.empty() ? "." : dir);
  std::error_code ec;
  return fs::is_directory(path, ec) && ::access(path.c_str(), W_OK) == 0;
}

// The platform refuses to replace a read-only file; ours would not, so ask the same.
bool makeWritable(const fs::path& path) {
  std::error_code ec;
  if (!fs::exists(path, ec)) return true;
  if (::access(path.c_str(), W_OK) == 0) return true;
  fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ec);
  return !ec && ::access(path.c_str(), W_OK) == 0;
}

}  // namespace

TXWaveBase::~TXWaveBase() {
  if (!m_savedAsPath.empty()) {
    TSettingsStore::global().writeString(settingsKey("\\Verzeichnisse"), "Datenbank3", m_savedAsPath);
  }
}

bool TXWaveBase::isCompressedName(std::string_view path) {
  const std::string base = zek::fileNamePart(path);
  return base.size() >= 4 && (base.ends_with(".zek") || base.ends_with(".kze"));
}

bool TXWaveBase::readCompressed(std::string_view bytes, std::vector<TWaveEntry>& out) {
  bool complete = false;
  const std::string data = inflatePartial(bytes, complete);
  // Beyond the bounds it is no store but a bomb: nothing of it is kept.
  const std::size_t before = out.size();
  if (data.size() > kStoreLimit) return false;
  std::size_t pos = 0;
  // Pairs while the position lies before the last byte; a pair the break cut off is dropped.
  while (data.size() > 0 && pos < data.size() - 1) {
    if (out.size() - before >= kMaxEntries) {
      out.resize(before);
      return false;
    }
    const std::size_t wordEnd = data.find('\0', pos);
    const std::size_t fileStart = wordEnd == std::string::npos ? data.size() : wordEnd + 1;
    std::size_t fileEnd = data.find('\0', fileStart);
    if (fileEnd == std::string::npos) {
      if (!complete) break;
      fileEnd = data.size();
    }
    const std::string_view all(data);
    const std::string_view word = all.substr(pos, std::min(wordEnd, data.size()) - pos);
    out.push_back({std::string(trimBlanks(word)), std::string(all.substr(fileStart, fileEnd - fileStart))});
    pos = fileEnd + 1;
  }
  return complete;
}

bool TXWaveBase::readText(std::string_view bytes, std::vector<TWaveEntry>& out) {
  std::size_t pos = 0;
  auto nextLine = [&](std::string_view& line) {
    if (pos >= bytes.size()) return false;
    std::size_t end = bytes.find('\n', pos);
    if (end == std::string_view::npos) end = bytes.size();
    line = bytes.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos = end + 1;
    return true;
  };
  std::string_view word, file;
  const std::size_t before = out.size();
  while (nextLine(word) && nextLine(file)) {
    if (out.size() - before >= kMaxEntries) {
      out.resize(before);
      return false;
    }
    out.push_back({std::string(trimBlanks(word)), std::string(file)});
  }
  return true;
}

std::string TXWaveBase::writeCompressed(const std::vector<TWaveEntry>& entries) {
  std::string data;
  for (const TWaveEntry& e : entries) {
    data += e.word;
    data += '\0';
    data += e.file;
    data += '\0';
  }
  return zek::deflateZlib(data, 1);
}

std::string TXWaveBase::writeText(const std::vector<TWaveEntry>& entries) {
  std::string data;
  for (const TWaveEntry& e : entries) {
    data += e.word;
    data += "\r\n";
    data += e.file;
    data += "\r\n";
  }
  return data;
}

void TXWaveBase::loadStore(const std::string& path) {
  m_fileName = path;
  bool ok = true;
  if (!path.empty()) {
    const auto bytes = zek::readFile(zek::resolveName(path), kStoreLimit);
    if (!bytes) {
      ok = false;
    } else if (isCompressedName(path)) {
      ok = readCompressed(*bytes, m_entries);
    } else {
      ok = readText(*bytes, m_entries);
    }
  }
  m_brokenFile = ok ? std::string() : path;
  m_indexValid = false;
  m_modified = false;
  if (m_current >= count()) m_current = 0;
  changed(false);
  if (!ok) showMessage("Fehler beim Laden von " + path + "!", mb::IconStop);
}

bool TXWaveBase::saveStore(const std::string& path) {
  if (path.empty()) return false;
  const fs::path target = zek::resolveName(path);
  if (!makeWritable(target)) return false;
  // The form follows the name, so that the next load reads what was written.
  const std::string data = isCompressedName(path) ? writeCompressed(m_entries) : writeText(m_entries);
  if (data.empty() && !m_entries.empty()) return false;
  return zek::writeFileAtomic(target, data);
}

void TXWaveBase::saveAtExit() {
  if (!m_modified) return;
  if (showMessage(kMsgAskSave, mb::YesNo | mb::IconQuestion) != mb::IdYes) return;
  sortStore();
  m_savedAsPath.clear();
  std::string target = m_fileName;
  for (;;) {
    // A file that could not be read whole is not replaced without asking.
    const bool tryIt = !target.empty() && target != m_brokenFile;
    bool saved = false;
    if (tryIt) {
      try {
        saved = saveStore(target);
      } catch (...) {
        saved = false;
      }
    }
    if (saved) {
      m_fileName = target;
      m_savedAsPath = target;
      m_brokenFile.clear();
      m_modified = false;
      showMessage(kMsgSaved);
      return;
    }
    if (showMessage(kMsgSaveFailed, mb::YesNo | mb::IconQuestion) != mb::IdYes) return;
    const std::string proposal = target.empty() ? defaultStoreName() : target;
    TFileDialogRequest request;
    request.save = true;
    request.title = kSaveTitle;
    request.fileName = zek::fileNamePart(proposal);
    // An installation folder the learner cannot write to is no place to start looking.
    request.directory = zek::directoryPart(proposal);
    if (!writableFolder(request.directory)) {
      request.directory = zek::directoryPart(defaultStoreName());
      std::error_code ec;
      fs::create_directories(zek::toPath(request.directory), ec);  // so that the dialog opens there
    }
    request.filter = "ZEK Datenbank (*.zek)|*.zek";
    const auto chosen = askFileName(request);
    if (!chosen) return;
    target = *chosen;
    if (!hasExtension(target)) target += ".zek";
    // The learner chose this name himself: replacing it is what he asked for.
    if (target == m_brokenFile) m_brokenFile.clear();
  }
}

void TXWaveBase::ensureIndex() const {
  if (m_indexValid) return;
  m_byLower.clear();
  m_byLower.reserve(m_entries.size());
  m_byBytes.clear();
  m_byBytes.reserve(m_entries.size());
  for (std::size_t i = 0; i < m_entries.size(); ++i) {
    m_byLower.try_emplace(zek::lowerCase(m_entries[i].word), static_cast<int>(i));
    m_byBytes.emplace_back(m_entries[i].word, static_cast<int>(i));
  }
  std::sort(m_byBytes.begin(), m_byBytes.end());
  m_indexValid = true;
}

std::string TXWaveBase::findRecording(std::string_view word) const {
  if (word.empty()) return {};
  ensureIndex();
  if (const auto it = m_byLower.find(zek::lowerCase(word)); it != m_byLower.end()) {
    return m_entries[static_cast<std::size_t>(it->second)].file;
  }
  for (const char* tail : {" (", ", "}) {
    const std::string prefix = std::string(word) + tail;
    // Equal words sort by index, so the first match in byte order need not be the
    // first in store order: take the lowest index among all matches.
    int best = -1;
    for (auto it = std::lower_bound(m_byBytes.begin(), m_byBytes.end(), std::pair<std::string_view, int>(prefix, -1));
         it != m_byBytes.end() && it->first.starts_with(prefix); ++it) {
      if (best < 0 || it->second < best) best = it->second;
    }
    if (best >= 0) return m_entries[static_cast<std::size_t>(best)].file;
  }
  return {};
}

void TXWaveBase::locate(std::string_view text) {
  if (text.empty()) {
    m_current = 0;
  } else if (!m_entries.empty()) {
    int i = 0;
    const int lastIndex = count() - 1;
    while (i < lastIndex && zek::compareWords(m_entries[static_cast<std::size_t>(i)].word, text) < 0) ++i;
    m_current = i;
  } else {
    return;
  }
  changed(false);
}

std::string TXWaveBase::currentWord() const {
  return m_current < count() ? m_entries[static_cast<std::size_t>(m_current)].word : std::string();
}

std::string TXWaveBase::currentFile() const {
  return m_current < count() ? m_entries[static_cast<std::size_t>(m_current)].file : std::string();
}

void TXWaveBase::setCurrentWord(std::string_view word) {
  entryToTypeInto();
  if (m_current >= count()) return;
  m_entries[static_cast<std::size_t>(m_current)].word = std::string(trimBlanks(word));
  changed(true);
}

void TXWaveBase::setCurrentFile(std::string_view file) {
  entryToTypeInto();
  if (m_current >= count()) return;
  m_entries[static_cast<std::size_t>(m_current)].file = std::string(file);
  changed(true);
}

void TXWaveBase::entryToTypeInto() {
  // In an empty store what the learner types becomes its first entry, not lost text.
  if (!m_entries.empty()) return;
  m_entries.emplace_back();
  m_current = 0;
  m_indexValid = false;
}

void TXWaveBase::insertBlank() {
  m_current = std::clamp(m_current, 0, count());
  m_entries.insert(m_entries.begin() + m_current, TWaveEntry{"", ".wav"});
  changed(true);
}

void TXWaveBase::deleteCurrent() {
  if (m_current >= count()) return;
  m_entries.erase(m_entries.begin() + m_current);
  if (m_current == count() && m_current > 0) m_current = count() - 1;
  changed(true);
}

void TXWaveBase::first() {
  m_current = 0;
  changed(false);
}

void TXWaveBase::last() {
  // Never an index outside the list, also when it is empty.
  m_current = std::max(count() - 1, 0);
  changed(false);
}

void TXWaveBase::next() {
  if (m_current + 1 >= count()) return;
  ++m_current;
  changed(false);
}

void TXWaveBase::previous() {
  if (m_current <= 0) return;
  --m_current;
  changed(false);
}

bool TXWaveBase::currentComplete() {
  if (m_entries.empty()) return true;
  if (currentWord().empty() || currentFile().empty()) {
    showMessage(kMsgIncomplete);
    return false;
  }
  return true;
}

void TXWaveBase::sortStore() {
  if (m_entries.size() < 2) return;
  std::vector<int> order(m_entries.size());
  std::iota(order.begin(), order.end(), 0);
  // Collation keys once per word instead of two collator calls per comparison; equal
  // words keep their order, so that of two the same one is found after every save.
  std::vector<QCollatorSortKey> keys;
  keys.reserve(m_entries.size());
  for (const TWaveEntry& e : m_entries) keys.push_back(zek::wordSortKey(e.word));
  std::sort(order.begin(), order.end(), [&keys](int a, int b) {
    const int c = keys[static_cast<std::size_t>(a)].compare(keys[static_cast<std::size_t>(b)]);
    return c != 0 ? c < 0 : a < b;
  });
  std::vector<TWaveEntry> sorted;
  sorted.reserve(m_entries.size());
  int current = 0;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (order[i] == m_current) current = static_cast<int>(i);
    sorted.push_back(std::move(m_entries[static_cast<std::size_t>(order[i])]));
  }
  m_entries = std::move(sorted);
  m_current = current;
  changed(true);
}

void TXWaveBase::registerRecording(std::string_view word, std::string_view file) {
  const std::string w(trimBlanks(word));
  const std::string lower = zek::lowerCase(w);
  for (std::size_t i = 0; i < m_entries.size(); ++i) {
    if (zek::lowerCase(m_entries[i].word) == lower) {
      m_current = static_cast<int>(i);
      m_entries[i].file = std::string(file);
      changed(true);
      return;
    }
  }
  m_current = std::clamp(m_current, 0, count());
  m_entries.insert(m_entries.begin() + m_current, TWaveEntry{w, std::string(file)});
  changed(true);
}

void TXWaveBase::registerGenerated(std::string_view word, std::string_view file) {
  const bool modified = m_modified;
  const std::string current = m_current >= 0 && m_current < count() ? m_entries[std::size_t(m_current)].word : std::string();
  registerRecording(word, file);
  m_modified = modified;
  for (int i = 0; i < count() && !current.empty(); ++i) {
    if (m_entries[std::size_t(i)].word == current) {
      m_current = i;
      break;
    }
  }
}

void TXWaveBase::append(std::string_view word, std::string_view file) {
  m_entries.push_back({std::string(trimBlanks(word)), std::string(file)});
  m_indexValid = false;
}

void TXWaveBase::setChangeListener(const void* owner, std::function<void()> listener) {
  m_listenerOwner = owner;
  m_listener = std::move(listener);
}

void TXWaveBase::clearChangeListener(const void* owner) {
  if (m_listenerOwner != owner) return;
  m_listenerOwner = nullptr;
  m_listener = nullptr;
}

void TXWaveBase::changed(bool modifies) {
  if (modifies) {
    m_modified = true;
    m_indexValid = false;
  }
  if (m_listener) m_listener();
}
