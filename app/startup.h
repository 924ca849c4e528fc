#pragma once

#include <functional>
#include <string>
#include <vector>

// The three start-up messages, exactly as the learner sees them ("\r" breaks a line).
extern const char* const kMsgTooFewColours;
extern const char* const kMsgResolutionTooLow;
extern const char* const kMsgCannotStart;

// Display test, directories, process-wide objects, "register". False: do not run.
bool startupChecks(const std::vector<std::string>& args);

// The makers of the trainer windows the main window hands over to (on), or none (off).
void registerTrainerMakers(bool on);

// What a scripted run (drive/) adds to the program's run: told when the start-up checks
// refused, once the main window shows, and after the event loop ended.
struct TRunObserver {
  std::function<void()> refused, shown, ended;
};

// The entry point's sequence after the application object exists; returns the exit code.
int runProgram(const std::vector<std::string>& args, const TRunObserver& observer = {});
