// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tpagecommand.h"

#include "platform/appstate.h"
#include "platform/codec.h"

#include <stdexcept>

namespace {

bool startsLonger(std::string_view part, std::string_view prefix) {
  return part.size() > prefix.size() && part.substr(0, prefix.size()) == prefix;
}

// A decimal number at the start of `s`, as the command rows read it.
int readNumber(std::string_view s, std::string_view part) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  long long v = 0;
  const size_t start = i;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9' && v < 100000000) v = v * 10 + (s[i++] - '0');
  if (i == start || i != s.size()) throw std::runtime_error("'" + std::string(part) + "' ist keine g\xFCltige Zahl.");
  return static_cast<int>(negative ? -v : v);
}

// One part; false stops the command text.
bool runPart(TCommandActions& a, const std::string& part, TDispatchState& st) {
  if (part == "lab") {
    appState().StartPage.clear();
    a.goSprachlabor();
  } else if (part == "stop") {
    a.stopPresentation();
  } else if (part == "editor") {
    a.goEditor();
  } else if (part == "wb") {
    a.wbZeigen();
  } else if (part == "recsetup") {
    a.recSetup();
  } else if (part == "wavebase") {
    a.waveBase();
  } else if (part == "vocein") {
    a.goVocEin();
  } else if (part == "simple" || part == "mainpopup") {
    // nothing beyond the common first step
  } else if (part == "verbmanuell") {
    appState().StartPage = "verben.htx";
    a.goVerbEinstellungen();
  } else if (part == "verb") {
    if (a.verbTrainerReady()) {
      a.startVerbRound();
    } else {
      a.goVerbEinstellungen();
    }
  } else if (part == "vocaus") {
    a.vocAus();
  } else if (part == "verbfaellig") {
    a.verbFaellig();
  } else if (part == "vokfaellig") {
    a.vokFaellig();
  } else if (part == "lernfortschritt") {
    a.lernfortschritt();
  } else if (part == "verbweiter") {
    a.verbWeiter();
  } else if (startsLonger(part, "verb")) {
    a.verbAnswer(part.substr(4));
  } else if (part == "vokabelweiter") {
    a.vokabelWeiter();
  } else if (startsLonger(part, "vokabel")) {
    a.vokabelAnswer(part.substr(7));
  } else if (part.size() == 3 && part.compare(0, 2, "vt") == 0 && part[2] >= '0' && part[2] <= '4') {
    a.verbPreset(part[2] - '0');
  } else if (part.size() == 2 && part[0] == 's' && part[1] >= '1' && part[1] <= '4') {
    st.quizPreset = part[1] - '1';
  } else if (part == "gws") {
    st.collection = "Grundwortschatz/";
  } else if (part == "aws") {
    st.collection = "Aufbauwortschatz/";
  } else if (part == "reise") {
    st.collection = "Reisevokabular/";
  } else if (part == "bereich_egal") {
    st.collection.clear();
  } else if (part.rfind("sm", 0) == 0) {
    st.requestedMode = readNumber(std::string_view(part).substr(2), part);
    st.returnWindow = "Main";
  } else if (part == "klassisch" || part == "abgedreht" || part == "abfrage") {
    st.requestedMode = part == "klassisch" ? 0 : part == "abgedreht" ? 1 : 100;
    st.returnWindow = "Main";
  } else if (part == "go") {
    return a.go();
  } else if (part == "vegas") {
    a.vegas();
  } else if (part == "vabfrage") {
    a.goAbfrage();
  } else if (startsLonger(part, "thema")) {
    if (part[5] == 'x') {
      st.labTopic = -1;
    } else {
      st.labTopic = readNumber(std::string_view(part).substr(5, 2), part);
    }
  } else if (part == "super") {
    a.goSuper();
  } else if (part == "superopts") {
    a.superOpts();
  } else if (part == "www") {
    a.openUrl(kMakerSite);
  } else if (startsLonger(part, "www.")) {
    a.openUrl("http://" + part);
  } else if (startsLonger(part, "http://")) {
    a.openUrl(part);
  } else if (part == "seekcd") {
    a.seekCd();
  } else if (part == "end") {
    a.beenden();
  }
  return true;
}

}  // namespace

TDispatchState& dispatchState() {
  static TDispatchState state;
  return state;
}

void PageCommand(TCommandActions& actions, std::string_view text, TDispatchState& state) {
  actions.processPendingMessages();
  actions.removePopupMenu();
  const std::string lower = zek::lowerCase(text);
  if (!actions.verbTrainerExists()) return;
  size_t pos = 0;
  while (pos <= lower.size()) {
    size_t comma = lower.find(',', pos);
    // A picked choice travels whole: "vokabel[so weit, so gut]-" is one part.
    if (lower.compare(pos, 8, "vokabel[") == 0) {
      for (size_t end = lower.find("]-", pos); end != std::string::npos; end = lower.find("]-", end + 1)) {
        if (end + 2 == lower.size() || lower[end + 2] == ',') {
          comma = end + 2;
          break;
        }
      }
    }
    if (comma == std::string::npos) comma = lower.size();
    const std::string part = lower.substr(pos, comma - pos);
    pos = comma + 1;
    if (!part.empty() && part[0] != '#' && !runPart(actions, part, state)) return;
    if (comma == lower.size()) break;
  }
}
