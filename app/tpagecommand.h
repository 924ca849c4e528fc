// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// What the page commands reach. The main window implements it over the trainers;
// tests record the calls.
class TCommandActions {
 public:
  virtual ~TCommandActions() = default;

  virtual bool verbTrainerExists() const = 0;
  virtual void processPendingMessages() {}
  virtual void removePopupMenu() {}

  virtual void goSprachlabor() = 0;
  virtual void stopPresentation() = 0;
  virtual void goEditor() = 0;
  virtual void wbZeigen() = 0;
  virtual void recSetup() = 0;
  virtual void waveBase() = 0;
  virtual void goVocEin() = 0;
  virtual void goVerbEinstellungen() = 0;
  virtual bool verbTrainerReady() const = 0;
  virtual void startVerbRound() = 0;
  virtual void vocAus() = 0;
  virtual void verbWeiter() = 0;
  virtual void verbAnswer(const std::string& text) = 0;
  virtual void vokabelWeiter() = 0;
  virtual void vokabelAnswer(const std::string& text) = 0;
  virtual void verbPreset(int n) = 0;
  // False when the learner cancelled: the rest of the command text is dropped.
  virtual bool go() = 0;
  virtual void vegas() = 0;
  virtual void goAbfrage() = 0;
  virtual void goSuper() = 0;
  virtual void superOpts() = 0;
  virtual void openUrl(const std::string& url) = 0;
  virtual void seekCd() = 0;
  virtual void beenden() = 0;
  // The learning memory: review rounds of due entries and the progress window.
  virtual void vokFaellig() {}
  virtual void verbFaellig() {}
  virtual void lernfortschritt() {}
};

// The shell state that page commands set for later commands and trainers.
struct TDispatchState {
  std::string collection;       // "Grundwortschatz/", ... below VocabBase; "" for any
  int quizPreset = 0;           // 0..3, applied by "go"
  int requestedMode = 0;        // superlearning mode, or 100 for the quiz
  std::string returnWindow;     // "Main"
  int labTopic = 0;             // -1: the saved topic
};

TDispatchState& dispatchState();

// The address "www" opens.
inline constexpr const char* kMakerSite = "https://zek-englisch.de/";

// Runs a command text: lower-cased, split at ",", each part against the table in order.
// Throws std::runtime_error for "sm"/"thema" parts without a readable number.
void PageCommand(TCommandActions& actions, std::string_view text, TDispatchState& state = dispatchState());
