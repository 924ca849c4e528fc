// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/tspeech.h"

#include "media/mediacommand.h"
#include "media/txwavebase.h"
#include "platform/appstate.h"
#include "platform/files.h"

#include <filesystem>

namespace {

TXWaveBase*& storeSlot() {
  static TXWaveBase* store = nullptr;
  return store;
}

bool startsWithNoCase(const std::string& s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(s[i])) != std::tolower(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

bool safeName(const std::string& file) { return zek::mediaNameSafe(file); }

std::string trimmed(std::string s) {
  const std::size_t a = s.find_first_not_of(' ');
  if (a == std::string::npos) return {};
  const std::size_t b = s.find_last_not_of(' ');
  return s.substr(a, b - a + 1);
}

zek::TMissingWordSpeaker& missingSlot() {
  static zek::TMissingWordSpeaker speaker;
  return speaker;
}

// Only English goes to the voice, and only a word without any entry: an entry whose file is
// missing waits for the medium.
std::string askVoice(const std::string& word, TWortSprache sprache, bool play) {
  if (word.empty() || sprache != TWortSprache::Englisch || !missingSlot()) return {};
  if (!findRecording(word).empty()) return {};
  return missingSlot()(word, play);
}

}  // namespace

namespace zek {

// A quote would end the name inside the command and the link; ">" would end the tag.
bool mediaNameSafe(const std::string& file) { return file.find_first_of("\">") == std::string::npos; }

void setSpeechStore(TXWaveBase* store) { storeSlot() = store; }
void setMissingWordSpeaker(TMissingWordSpeaker speaker) { missingSlot() = std::move(speaker); }
bool runtimeVoiceAvailable() { return static_cast<bool>(missingSlot()); }
TXWaveBase* speechStore() { return storeSlot(); }

std::string markupEscaped(const std::string& word) {
  std::string out;
  out.reserve(word.size());
  for (const char c : word) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace zek

TResolvedMedia resolveMediaPath(const std::string& path) {
  TResolvedMedia result;
  if (path.empty()) {
    result.status = 4;
    return result;
  }
  std::string name = path;
  if (startsWithNoCase(path, "XE:")) {
    // Only content paths need the medium; the learner's own recordings are full paths.
    const std::string& soundDir = Dirs().SoundDir;
    if (soundDir.empty()) {
      result.status = 4;
      return result;
    }
    name = soundDir + path.substr(std::min<std::size_t>(4, path.size()));
  }
  // Always a full name: links and media commands take it as it is.
  if (zek::fileExists(name)) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(zek::resolveName(name), ec);
    result.file = zek::fromPath(ec ? zek::resolveName(name) : full);
  }
  return result;
}

std::string findRecording(const std::string& word) {
  const TXWaveBase* store = zek::speechStore();
  return store ? store->findRecording(word) : std::string();
}

std::string recordingFileFor(const std::string& word) {
  const std::string stored = findRecording(word);
  if (stored.empty()) return {};
  return resolveMediaPath(stored).file;
}

std::string speakableWord(const std::string& word) {
  const std::string shown = zek::markupEscaped(word);
  const std::string file = recordingFileFor(word);
  if (file.empty() || !safeName(file)) return shown;
  return "<a href=\"" + file + "\" flash=flashcol>" + shown + " </a>";
}

void playWave(const std::string& file) {
  if (file.empty() || !safeName(file)) return;
  sendMediaCommand("close welle", true);
  const std::string reply = sendMediaCommand("open \"" + file + "\" type waveaudio alias welle", false);
  if (reply.rfind("Error", 0) != 0) sendMediaCommand("play welle from 0", false);
}

void speakWord(const std::string& word, TWortSprache sprache) {
  // Silent when the file is missing: presentations speak every few seconds and a box
  // each time would stop them.
  const std::string file = recordingFileFor(word);
  if (!file.empty()) {
    playWave(file);
  } else {
    askVoice(word, sprache, true);
  }
}

std::string spokenFileFor(const std::string& word, TWortSprache sprache) {
  const std::string file = recordingFileFor(word);
  if (!file.empty()) return file;
  const std::string spoken = askVoice(word, sprache, false);
  return safeName(spoken) ? spoken : std::string();
}

void speakWordAt(const std::string& text, int caret, int selLength, TWortSprache sprache) {
  if (text.empty()) return;
  const int given = caret;
  const int len = static_cast<int>(text.size());
  int c = caret <= 0 ? 1 : caret;  // positions from 1
  if (c > len) return;
  auto at = [&](int pos) { return text[static_cast<std::size_t>(pos - 1)]; };
  int e = c;
  while (e <= len && at(e) != ';') ++e;
  int s = c;
  while (s > 1 && at(s) != ';') --s;
  if (at(s) == ';') s += 2;
  if (s <= len && at(s) == '[') {
    while (s <= len && at(s) != ']') ++s;
    ++s;
    while (s <= len && at(s) == ' ') ++s;
  }
  std::string found;
  const std::string meaning =
      s < e ? text.substr(static_cast<std::size_t>(s - 1), static_cast<std::size_t>(e - s)) : std::string();
  if (!meaning.empty()) found = findRecording(meaning);
  std::string selected;
  if (found.empty() && selLength > 0 && given >= 0 && given < len) {
    selected = trimmed(text.substr(static_cast<std::size_t>(given), static_cast<std::size_t>(selLength)));
    found = findRecording(selected);
  }
  if (found.empty()) {
    // A double click selects one word of the meaning: the voice says the whole meaning.
    const std::string said = trimmed(meaning);
    askVoice(said.empty() ? selected : said, sprache, true);
    return;
  }
  const std::string file = resolveMediaPath(found).file;
  if (!file.empty()) playWave(file);
}
