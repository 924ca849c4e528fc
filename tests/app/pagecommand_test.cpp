// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tpagecommand.h"

#include "platform/appstate.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Records every action as a word, so a test reads the order of calls.
class Recorder : public TCommandActions {
 public:
  std::vector<std::string> calls;
  bool exists = true, ready = false, goResult = true;

  bool verbTrainerExists() const override { return exists; }
  void goSprachlabor() override { calls.push_back("lab"); }
  void stopPresentation() override { calls.push_back("stop"); }
  void goEditor() override { calls.push_back("editor"); }
  void wbZeigen() override { calls.push_back("wb"); }
  void recSetup() override { calls.push_back("recsetup"); }
  void waveBase() override { calls.push_back("wavebase"); }
  void goVocEin() override { calls.push_back("vocein"); }
  void goVerbEinstellungen() override { calls.push_back("verbeinstellungen"); }
  bool verbTrainerReady() const override { return ready; }
  void startVerbRound() override { calls.push_back("verbround"); }
  void vocAus() override { calls.push_back("vocaus"); }
  void verbWeiter() override { calls.push_back("verbweiter"); }
  void verbAnswer(const std::string& t) override { calls.push_back("verbanswer:" + t); }
  void vokabelWeiter() override { calls.push_back("vokabelweiter"); }
  void vokabelAnswer(const std::string& t) override { calls.push_back("vokabelanswer:" + t); }
  void verbPreset(int n) override { calls.push_back("vt" + std::to_string(n)); }
  bool go() override {
    calls.push_back("go");
    return goResult;
  }
  void vegas() override { calls.push_back("vegas"); }
  void goAbfrage() override { calls.push_back("abfrage"); }
  void goSuper() override { calls.push_back("super"); }
  void superOpts() override { calls.push_back("superopts"); }
  void openUrl(const std::string& u) override { calls.push_back("url:" + u); }
  void seekCd() override { calls.push_back("seekcd"); }
  void beenden() override { calls.push_back("end"); }
};

using Calls = std::vector<std::string>;

TEST(PageCommand, SplittingSkippingAndCase) {
  Recorder r;
  TDispatchState st;
  PageCommand(r, "#note,lab", st);
  PageCommand(r, "Go,S1", st);
  PageCommand(r, "vocaus,", st);  // a trailing comma runs the parts before it
  PageCommand(r, ",,wb", st);
  PageCommand(r, "unbekannt,simple,mainpopup", st);
  EXPECT_EQ(r.calls, (Calls{"lab", "go", "vocaus", "wb"}));
  EXPECT_EQ(st.quizPreset, 0);  // "s1" came after "go"
}

TEST(PageCommand, PickedChoiceWithCommasStaysWhole) {
  Recorder r;
  TDispatchState st;
  PageCommand(r, "vokabel[So weit, so gut]-", st);
  PageCommand(r, "vokabel[a, b]-,s2,vocaus", st);
  PageCommand(r, "vokabel[x]-y, z]-", st);
  // No closing "]-": split as any other text.
  PageCommand(r, "vokabel[offen,wb", st);
  EXPECT_EQ(r.calls, (Calls{"vokabelanswer:[so weit, so gut]-", "vokabelanswer:[a, b]-", "vocaus",
                            "vokabelanswer:[x]-y, z]-", "vokabelanswer:[offen", "wb"}));
  EXPECT_EQ(st.quizPreset, 1);
}

TEST(PageCommand, NothingWithoutTheVerbTrainer) {
  Recorder r;
  r.exists = false;
  PageCommand(r, "lab,end");
  EXPECT_TRUE(r.calls.empty());
}

TEST(PageCommand, VerbRowsInTableOrder) {
  Recorder r;
  TDispatchState st;
  PageCommand(r, "verb,verbx,verbweiter,verbmanuell,vt0,vt4,vt5", st);
  // "vt5" is no preset and matches no other row.
  EXPECT_EQ(r.calls, (Calls{"verbeinstellungen", "verbanswer:x", "verbweiter", "verbeinstellungen", "vt0", "vt4"}));
  EXPECT_EQ(appState().StartPage, "verben.htx");
  r.calls.clear();
  r.ready = true;
  PageCommand(r, "verb,vokabelweiter,vokabelHaus", st);
  EXPECT_EQ(r.calls, (Calls{"verbround", "vokabelweiter", "vokabelanswer:haus"}));
  appState().StartPage.clear();
}

TEST(PageCommand, StateRows) {
  Recorder r;
  TDispatchState st;
  PageCommand(r, "s3,aws,klassisch", st);
  EXPECT_EQ(st.quizPreset, 2);
  EXPECT_EQ(st.collection, "Aufbauwortschatz/");
  EXPECT_EQ(st.requestedMode, 0);
  EXPECT_EQ(st.returnWindow, "Main");
  PageCommand(r, "reise,abfrage", st);
  EXPECT_EQ(st.collection, "Reisevokabular/");
  EXPECT_EQ(st.requestedMode, 100);
  PageCommand(r, "bereich_egal,sm3,abgedreht,gws", st);
  EXPECT_EQ(st.collection, "Grundwortschatz/");
  EXPECT_EQ(st.requestedMode, 1);
  PageCommand(r, "sm12", st);
  EXPECT_EQ(st.requestedMode, 12);
  PageCommand(r, "thema07", st);
  EXPECT_EQ(st.labTopic, 7);
  PageCommand(r, "themax", st);
  EXPECT_EQ(st.labTopic, -1);
  PageCommand(r, "thema123", st);  // two characters are read
  EXPECT_EQ(st.labTopic, 12);
  EXPECT_TRUE(r.calls.empty());
}

TEST(PageCommand, UnreadableNumbersRaise) {
  Recorder r;
  TDispatchState st;
  EXPECT_THROW(PageCommand(r, "smx", st), std::runtime_error);
  EXPECT_THROW(PageCommand(r, "sm", st), std::runtime_error);
  EXPECT_THROW(PageCommand(r, "thema?", st), std::runtime_error);
  // The parts before the faulty one have run.
  EXPECT_THROW(PageCommand(r, "lab,smile,end", st), std::runtime_error);
  EXPECT_EQ(r.calls, (Calls{"lab"}));
}

TEST(PageCommand, CancelledGoStopsTheRest) {
  Recorder r;
  r.goResult = false;
  PageCommand(r, "s2,gws,go,end");
  EXPECT_EQ(r.calls, (Calls{"go"}));
}

TEST(PageCommand, AddressesAndTheRest) {
  Recorder r;
  PageCommand(r, "www,www.example.org,http://example.org/a,seekcd,vegas,vabfrage,super,superopts,stop,editor,"
                 "recsetup,wavebase,vocein,end");
  EXPECT_EQ(r.calls, (Calls{"url:https://zek-englisch.de/", "url:http://www.example.org", "url:http://example.org/a",
                            "seekcd", "vegas", "abfrage", "super", "superopts", "stop", "editor", "recsetup",
                            "wavebase", "vocein", "end"}));
}

}  // namespace
