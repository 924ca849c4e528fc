// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Appends the full names of the files below `dir` (sub-directories included; links to
// directories are not followed) whose lower-case extension is `ext` or `ext2` (".mp3")
// to `list` when given. Returns the number of matches directly in `dir`.
int collectFiles(std::string_view dir, std::vector<std::string>* list, std::string_view ext, std::string_view ext2 = {});
