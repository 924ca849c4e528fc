// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/tspeech.h"

#include "media/mediacommand.h"
#include "media/txwavebase.h"
#include "platform/appstate.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "tests/common/testutil.h"
#include "tests/media/mediatestutil.h"

#include <sndfile.h>

#include <gtest/gtest.h>

#include <functional>

namespace {

namespace fs = std::filesystem;

class SpeechTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zek::setMediaService(zek::test::makeNullService(m_clock));
    zek::setMediaCommandObserver([this](std::string_view command, bool) { m_log.emplace_back(command); });
    m_savedDirs = Dirs();
    m_dir.mkdir("wave/Labor/0");
    m_dir.mkdir("own");
    Dirs().SoundDir = zek::fromPath(m_dir.path() / "wave") + "/";
    m_lab = zek::fromPath(zek::test::writeTone(m_dir.path() / "wave/Labor/0/lab_0000.wav", 22050, 1, SF_FORMAT_PCM_16, 0.2));
    m_own = zek::fromPath(zek::test::writeTone(m_dir.path() / "own/walk.wav", 22050, 1, SF_FORMAT_PCM_16, 0.2));
    m_store.append("go", "XE:\\Labor\\0\\lab_0000.wav");
    m_store.append("walk", m_own);
    m_store.append("lost", "XE:\\Labor\\9\\nothing.wav");
    m_store.append("fish & chips", m_own);
    zek::setSpeechStore(&m_store);
  }
  void TearDown() override {
    zek::setSpeechStore(nullptr);
    zek::setMediaCommandObserver(nullptr);
    zek::setMediaService(nullptr);
    Dirs() = m_savedDirs;
  }
  std::vector<std::string> take() { return std::exchange(m_log, {}); }
  std::vector<std::string> playing(const std::string& file) {
    return {"close welle", "open \"" + file + "\" type waveaudio alias welle", "play welle from 0"};
  }

  zek::test::TManualClock m_clock;
  zek::test::TempDir m_dir{"zek-speech"};
  zek::ScriptedDialogs m_dialogs;
  TDirectorySet m_savedDirs;
  TXWaveBase m_store;
  std::vector<std::string> m_log;
  std::string m_lab, m_own;
};

TEST_F(SpeechTest, ContentPathsNeedTheSoundDirectoryFullPathsDoNot) {
  const TResolvedMedia lab = resolveMediaPath("XE:\\Labor\\0\\lab_0000.wav");
  EXPECT_EQ(lab.file, m_lab);
  EXPECT_EQ(lab.status, 0);
  EXPECT_EQ(resolveMediaPath("XE:\\labor\\0\\LAB_0000.WAV").file, m_lab);  // made on Windows
  const TResolvedMedia missing = resolveMediaPath("XE:\\Labor\\0\\lab_0001.wav");
  EXPECT_EQ(missing.file, "");
  EXPECT_EQ(missing.status, 0);
  EXPECT_EQ(resolveMediaPath("").status, 4);

  Dirs().SoundDir.clear();
  EXPECT_EQ(resolveMediaPath("XE:\\Labor\\0\\lab_0000.wav").status, 4);
  EXPECT_EQ(resolveMediaPath("XE:\\Labor\\0\\lab_0000.wav").file, "");
  // The learner's own recordings play without the content medium.
  EXPECT_EQ(resolveMediaPath(m_own).file, m_own);
  EXPECT_EQ(resolveMediaPath(m_own).status, 0);
  // A name typed without its folder comes back whole, as links and commands need it.
  const fs::path was = fs::current_path();
  fs::current_path(m_dir.path());
  EXPECT_EQ(resolveMediaPath("own/walk.wav").file, m_own);
  fs::current_path(was);
}

TEST_F(SpeechTest, SpeakableWordLinksOnlyToAFileThatExists) {
  EXPECT_EQ(speakableWord("Go"), "<a href=\"" + m_lab + "\" flash=flashcol>Go </a>");
  EXPECT_EQ(speakableWord("lost"), "lost");
  EXPECT_EQ(speakableWord("run"), "run");
  EXPECT_EQ(speakableWord("fish & chips"), "<a href=\"" + m_own + "\" flash=flashcol>fish &amp; chips </a>");
  EXPECT_EQ(speakableWord("a<b>"), "a&lt;b&gt;");
  const std::string quoted = zek::fromPath(zek::test::writeTone(m_dir.path() / "own/say \"hi\".wav", 22050, 1, SF_FORMAT_PCM_16, 0.1));
  m_store.append("hi", quoted);
  EXPECT_EQ(speakableWord("hi"), "hi");  // the quote would end the link's target
  EXPECT_TRUE(take().empty());
}

TEST_F(SpeechTest, SpeakWordPlaysOnWelleAndStaysSilentWithoutAFile) {
  speakWord("walk", TWortSprache::Englisch);
  EXPECT_EQ(take(), playing(m_own));
  speakWord("lost", TWortSprache::Englisch);
  speakWord("unknown", TWortSprache::Englisch);
  speakWord("", TWortSprache::Englisch);
  EXPECT_TRUE(take().empty());
  EXPECT_TRUE(m_dialogs.messages().empty());
  playWave(m_dir.path().string() + "/none.wav");
  const auto log = take();
  ASSERT_EQ(log.size(), 2u);  // the open failed: no play
  EXPECT_EQ(m_dialogs.messages().size(), 1u);
}

TEST_F(SpeechTest, SpeakWordAtPicksTheMeaningUnderTheCaret) {
  struct Case {
    std::string text;
    int caret, selection;
    std::string spoken;  // "" = nothing
  };
  const std::vector<Case> cases = {
      {"[ugs.] go; walk", 12, 0, "walk"},
      {"[ugs.] go; walk", 15, 0, "walk"},
      {"[ugs.] go; walk", 0, 0, "go"},
      {"[ugs.] go; walk", 3, 0, "go"},
      {"go; walk", 2, 0, "go"},
      {"go; walk", 20, 0, ""},            // past the end
      {"stroll; run", 8, 0, ""},          // nothing for "run"
      {"stroll; run", 7, 0, ""},          // on ";": no word there, no selection
      {"run; walk", 4, 5, "walk"},        // on ";": the selection " walk", trimmed
      {"we walk; stroll", 3, 4, "walk"},  // "we walk" unknown: the selected "walk"
      {"", 0, 0, ""},
  };
  for (const Case& c : cases) {
    speakWordAt(c.text, c.caret, c.selection, TWortSprache::Deutsch);
    const auto log = take();
    if (c.spoken.empty()) {
      EXPECT_TRUE(log.empty()) << c.text << " @" << c.caret;
    } else {
      EXPECT_EQ(log, playing(c.spoken == "go" ? m_lab : m_own)) << c.text << " @" << c.caret;
    }
  }
}

}  // namespace

namespace {

// Only a word with no entry at all goes to the run-time voice; an entry whose file is missing
// waits for the medium, and a word with a file plays it.
TEST_F(SpeechTest, OnlyWordsWithoutAnyEntryGoToTheRunTimeVoice) {
  std::vector<std::string> asked;
  zek::setMissingWordSpeaker([&](const std::string& word, bool) {
    asked.push_back(word);
    return std::string();
  });
  speakWord("walk", TWortSprache::Englisch);
  speakWord("lost", TWortSprache::Englisch);
  speakWord("unknown", TWortSprache::Englisch);
  speakWord("", TWortSprache::Englisch);
  zek::setMissingWordSpeaker(nullptr);
  speakWord("other", TWortSprache::Englisch);
  EXPECT_EQ(asked, std::vector<std::string>{"unknown"});
  EXPECT_EQ(take(), playing(m_own));
}

}  // namespace

namespace {

// The run-time voice is English: a German text plays its recording or nothing, and only a
// text without any entry reaches the voice (to be played at once, or later by a presentation).
TEST_F(SpeechTest, OnlyEnglishTextsWithoutAnEntryReachTheRunTimeVoice) {
  struct Auftrag {
    std::string word;
    bool play = false;
    bool operator==(const Auftrag&) const = default;
  };
  std::vector<Auftrag> asked;
  zek::setMissingWordSpeaker([&](const std::string& word, bool play) {
    asked.push_back({word, play});
    return "/voice/" + word + ".wav";
  });
  const auto En = TWortSprache::Englisch, De = TWortSprache::Deutsch;
  struct Case {
    const char* was;
    std::function<std::string()> call;
    std::vector<Auftrag> asked;
    std::string result;
  };
  const std::vector<Case> cases = {
      {"English word", [&] { speakWord("umbrella", En); return ""; }, {{"umbrella", true}}, ""},
      {"German word", [&] { speakWord("Regenschirm", De); return ""; }, {}, ""},
      {"recorded word", [&] { speakWord("walk", En); return ""; }, {}, ""},
      {"entry without its file", [&] { speakWord("lost", En); return ""; }, {}, ""},
      {"English meaning under the caret", [&] { speakWordAt("[ugs.] umbrella; brolly", 20, 0, En); return ""; },
       {{"brolly", true}}, ""},
      {"German meaning", [&] { speakWordAt("Schirm; Regenschirm", 2, 0, De); return ""; }, {}, ""},
      {"the whole meaning, not the word a double click selected",
       [&] { speakWordAt("to get away; leave", 3, 3, En); return ""; }, {{"to get away", true}}, ""},
      {"nothing under the caret", [&] { speakWordAt("stroll; walk", 7, 0, En); return ""; }, {}, ""},
      {"presentation, English", [&] { return spokenFileFor("umbrella", En); }, {{"umbrella", false}},
       "/voice/umbrella.wav"},
      {"presentation, German", [&] { return spokenFileFor("Regenschirm", De); }, {}, ""},
      {"presentation, German with a recording", [&] { return spokenFileFor("walk", De); }, {}, m_own},
  };
  for (const Case& c : cases) {
    asked.clear();
    EXPECT_EQ(c.call(), c.result) << c.was;
    EXPECT_EQ(asked, c.asked) << c.was;
  }
  zek::setMissingWordSpeaker(nullptr);
  EXPECT_EQ(spokenFileFor("umbrella", En), "");
}

}  // namespace
