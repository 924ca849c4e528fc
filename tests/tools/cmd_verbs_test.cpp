// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string verbPage(const std::string& args) {
  return zek::test::runCommand(zek::test::zekToolCommand("verb-page " + args) + " 2>&1").output;
}

TEST(ZekTool, VerbPagePrintsTheQuestionPage) {
  EXPECT_EQ(verbPage("--verbs be --forms -+-+"),
            "<include href=\"verbabfrage.htx\"><box coords=0,40,400 align=m><+d>1 / 10"
            "<box coords=400,40,400 align=m><+d><box coords=100,150,200 align=c><+h>be"
            "<edit coords=150,250,200,32 lsg=\"was; were\" help=\"*\" reaction=\"verb2\">"
            "<box coords=200,350,200 align=c><+h>been<box coords=500,150,200 align=c><+h>???"
            "<box coords=100,80,600 align=m><+h>Gesucht: Past Tense\n");
  // The infinitive asked: its field comes first and the others wait as "???".
  const std::string inf = verbPage("--verbs bear --forms +++-");
  EXPECT_NE(inf.find("<edit coords=100,150,200,32 lsg=\"bear\" help=\"*\" reaction=\"verb1\">"
                     "<box coords=150,250,200 align=c><+h>??" "?<box coords=200,350,200 align=c><+h>???"),
            std::string::npos)
      << inf;
  // After the past tense the participle's field offers both spellings.
  const std::string part = verbPage("--verbs bear --forms -++- --answer 2#1+");
  EXPECT_NE(part.find("lsg=\"born; borne; born(e)\" help=\"*\" reaction=\"verb3\""), std::string::npos) << part;
  EXPECT_NE(verbPage("--verbs sein --forms ++++").find("unknown verb"), std::string::npos);
  EXPECT_NE(verbPage("--verbs be").find("usage"), std::string::npos);
}

}  // namespace
