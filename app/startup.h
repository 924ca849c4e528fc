#pragma once

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

// The entry point's sequence after the application object exists; returns the exit code.
int runProgram(const std::vector<std::string>& args);
