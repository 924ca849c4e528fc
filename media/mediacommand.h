// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TMediaService;

// The one entry for all sound: sends a command string, returns the reply (at most 255
// characters). A failure returns "Error" followed by the decimal code and, unless
// `quiet`, first shows a box with the code's description, " - " and the command.
std::string sendMediaCommand(std::string_view command, bool quiet);

// The same for ".wav" links of the page view; its box shows only the description.
std::string sendPageMediaCommand(std::string_view command, bool quiet);

namespace zek {
// The service behind both entries; created on first use.
TMediaService& mediaService();
// Every command sent through the two entries, oldest first (the script driver checks
// them); the oldest are dropped beyond a few thousand.
const std::vector<std::string>& mediaCommandLog();
// How many commands were ever sent (the log's last entry is number count - 1).
std::size_t mediaCommandCount();
// Replaces it (tests: a null device with their own clock); nullptr restores the default.
void setMediaService(std::unique_ptr<TMediaService> service);
// Sees every command sent through either entry, before it runs (tests); nullptr: none.
using MediaCommandObserver = std::function<void(std::string_view command, bool quiet)>;
void setMediaCommandObserver(MediaCommandObserver observer);

// Makes the command layer's own statics (log, observer, service slot) now, without a service, so that an
// object with static lifetime made afterwards can still send commands when it is destroyed.
void holdMediaStatics();
}  // namespace zek
