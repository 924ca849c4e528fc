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
// The language of a text to be spoken: the run-time voice is English, so a German text plays
// its recording or nothing.
enum class TWortSprache { Englisch, Deutsch };
// Plays the word's recording if there is one that exists; an English word without any entry
// goes to the run-time voice, which plays it once spoken. Silent otherwise.
void speakWord(const std::string& word, TWortSprache sprache);
// Speaks the meaning under the caret in a list such as "[ugs.] go; walk"; with nothing
// found there, the selected text (0-based caret, as a text box reports it). An English
// meaning without any entry goes to the run-time voice.
void speakWordAt(const std::string& text, int caret, int selLength, TWortSprache sprache);
// The file that speaks a text later (a presentation plays it when the text comes into view):
// its recording, or for an English word without an entry the file the run-time voice is
// writing now; "" when there is none.
std::string spokenFileFor(const std::string& word, TWortSprache sprache);

namespace zek {
// The store the speaking operations use (the app sets it at start-up; nullptr: none).
void setSpeechStore(TXWaveBase* store);
TXWaveBase* speechStore();
// False for a file name that must not go into a media command or a link (it holds '"' or '>').
bool mediaNameSafe(const std::string& file);
// The run-time voice, asked for an English word without a recording: it speaks the word into a
// file, enters it in the store and plays it when `play` is set. Returns the name of that file
// (it exists once spoken), "" when it takes no order. None set: silence.
using TMissingWordSpeaker = std::function<std::string(const std::string& word, bool play)>;
void setMissingWordSpeaker(TMissingWordSpeaker speaker);
// True while a run-time voice is set.
bool runtimeVoiceAvailable();
// The word with "&", "<" and ">" as entities, for generated markup.
std::string markupEscaped(const std::string& word);
}  // namespace zek
