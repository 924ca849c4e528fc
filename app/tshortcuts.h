// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Shortcuts are desktop entries here. Folder kinds: 0 desktop, 1 quick launch,
// 2 send-to, 3 start menu, 4 the menu's programs folder.
std::filesystem::path shortcutFolder(int folderKind);

// Writes "<title>.desktop"-style entry for `target` into the folder of the kind, replacing
// an older one of the same title. False when the folder has no counterpart, the target's
// name is not UTF-8 (a desktop entry cannot name it) or the write failed.
bool createShortcut(const std::filesystem::path& target, const std::string& title, int folderKind);

// Desktop-entry escaping of UTF-8 text. A string value: "\" as "\\", line breaks, tabs and
// carriage returns as "\n", "\t", "\r", a leading blank as "\s".
std::string desktopEntryString(std::string_view utf8);
// The value of "Exec" that runs `program` without arguments: the name quoted, with `"`, "`",
// "$" and "\" escaped inside the quotes and "%" doubled, then escaped as a string value; a
// name with "%" is started through "env". Nothing when the name is not UTF-8.
std::optional<std::string> desktopEntryExec(const std::filesystem::path& program);
