// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// A link target as a file path: the "@" hint prefix and the exercise-link wrapper are
// taken off, separators become "/", and a relative name is put below `xpath` (the
// directory of the page on show, with a trailing separator). A leading "*" (a picture
// that outlives its page) is kept in front of the result. Empty stays empty. A target
// that begins with "\\" is below `xpath`; one that begins with "/" or a drive is absolute.
std::string resolveTargetPath(std::string_view target, std::string_view xpath);

// A relative name (separators already "/") below `xpath`, each leading "../" climbing one
// directory. Shared by link targets and picture names.
std::string nameBelowXPath(std::string_view name, std::string_view xpath);

// Two resolved paths name the same file (without regard to case or separator).
bool samePagePath(std::string_view a, std::string_view b);
