// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/mediacommand.h"

#include "media/tmediacommand.h"
#include "media/tmediaservice.h"

#include "platform/messages.h"
#include "tests/common/testutil.h"
#include "tests/media/mediatestutil.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class MediaCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { zek::setMediaService(zek::test::makeNullService(m_clock)); }
  void TearDown() override { zek::setMediaService(nullptr); }
  zek::test::TManualClock m_clock;
  zek::ScriptedDialogs m_dialogs;
};

TEST_F(MediaCommandTest, FailureShowsDescriptionAndCommandUnlessQuiet) {
  EXPECT_EQ(sendMediaCommand("close welle", true), "Error5");
  EXPECT_TRUE(m_dialogs.messages().empty());
  EXPECT_EQ(sendMediaCommand("play welle from 0", false), "Error5");
  ASSERT_EQ(m_dialogs.messages().size(), 1u);
  EXPECT_EQ(m_dialogs.messages()[0].text, "Das Ger\xe4t ist nicht ge\xf6" "ffnet. - play welle from 0");
  EXPECT_EQ(m_dialogs.messages()[0].flags, mb::Ok | mb::IconStop);
}

TEST_F(MediaCommandTest, PageEntryShowsOnlyTheDescription) {
  const std::string command = "open \"/nowhere/klick.wav\" type waveaudio alias welle";
  EXPECT_EQ(sendPageMediaCommand(command, false), "Error7");
  ASSERT_EQ(m_dialogs.messages().size(), 1u);
  EXPECT_EQ(m_dialogs.messages()[0].text, "Die Datei wurde nicht gefunden.");
  EXPECT_EQ(sendPageMediaCommand(command, true), "Error7");
  EXPECT_EQ(m_dialogs.messages().size(), 1u);
}

TEST_F(MediaCommandTest, SuccessRepliesWithoutBox) {
  EXPECT_EQ(sendMediaCommand("open new type waveaudio alias test", false), "");
  EXPECT_EQ(sendMediaCommand("status test mode", false), "stopped");
  EXPECT_EQ(sendMediaCommand("status test bytespersec", false), "11025");
  EXPECT_TRUE(m_dialogs.messages().empty());
}

TEST(MediaErrorTest, EveryCodeHasItsOwnGermanText) {
  std::set<std::string> texts;
  for (int code = 1; code <= static_cast<int>(TMediaError::CommandTooLong); ++code) {
    const std::string text = mediaErrorText(code);
    EXPECT_TRUE(texts.insert(text).second) << code;
    EXPECT_LT(text.size(), 256u);
  }
  EXPECT_EQ(mediaErrorText(9999), "Unbekannter Fehler.");
}

TEST(MediaParserTest, SplitsWordsKeepingQuotedTextAsWritten) {
  TMediaError error = TMediaError::None;
  const auto c = TMediaCommand::parse("OPEN \"D:\\Wave\\Lab 0.WAV\"  type WaveAudio\talias Satz", error);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->verb, "open");
  ASSERT_EQ(c->words.size(), 5u);
  EXPECT_EQ(c->words[0].text, "D:\\Wave\\Lab 0.WAV");
  EXPECT_TRUE(c->words[0].quoted);
  EXPECT_EQ(c->words[2].text, "waveaudio");
  EXPECT_EQ(c->words[4].text, "satz");
  EXPECT_FALSE(TMediaCommand::parse("open \"x", error));
  EXPECT_EQ(error, TMediaError::UnclosedQuote);
  const auto adjacent = TMediaCommand::parse("save test\"a b.wav\"", error);
  ASSERT_TRUE(adjacent);
  ASSERT_EQ(adjacent->words.size(), 2u);
  EXPECT_EQ(adjacent->words[1].text, "a b.wav");
}

TEST(MediaParserTest, NumbersAreDecimalWithoutSign) {
  EXPECT_EQ(parseMediaNumber("0"), 0);
  EXPECT_EQ(parseMediaNumber("44100"), 44100);
  for (const char* bad : {"", "-1", "+1", "1.5", "12a", "0x10", "9999999999999999999"}) {
    EXPECT_FALSE(parseMediaNumber(bad)) << bad;
  }
}

}  // namespace
