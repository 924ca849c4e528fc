// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

class TXWaveBase;

// Speaking a word: every trainer finds the recording of a word in the one
// word-to-recording store and plays it on the alias "welle". Texts are Windows-1252.

struct TResolvedMedia {
  std::string file;  // the existing file, or empty
  int status = 0;    // 4: the path is empty, or a content path while there is no sound directory
};

// "XE:\..." is a content path below SoundDir; any other path is used as it is.
TResolvedMedia resolveMediaPath(const std::string& path);
// The stored file of a word (findRecording of the store), unresolved; empty when none.
std::string findRecording(const std::string& word);
// findRecording, then resolveMediaPath: a file that exists, or empty.
std::string recordingFileFor(const std::string& word);
// Markup: a link that plays the word's recording, or the plain word (entities escaped).
std::string speakableWord(const std::string& word);
// Plays a wave file on "welle" from its start (the previous sound there stops).
void playWave(const std::string& file);
// Plays the word's recording if there is one that exists; silent otherwise.
void speakWord(const std::string& word);
// Speaks the meaning under the caret in a list such as "[ugs.] go; walk"; with nothing
// found there, the selected text (0-based caret, as a text box reports it).
void speakWordAt(const std::string& text, int caret, int selLength);

namespace zek {
// The store the speaking operations use (the app sets it at start-up; nullptr: none).
void setSpeechStore(TXWaveBase* store);
TXWaveBase* speechStore();
// False for a file name that must not go into a media command or a link (it holds '"' or '>').
bool mediaNameSafe(const std::string& file);
// Called by speakWord for a word without a recording (the run-time voice; none: silence).
void setMissingWordSpeaker(std::function<void(const std::string& word)> speaker);
// The word with "&", "<" and ">" as entities, for generated markup.
std::string markupEscaped(const std::string& word);
}  // namespace zek
