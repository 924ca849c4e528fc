#pragma once

#include <filesystem>
#include <string>

// Shortcuts are desktop entries here. Folder kinds: 0 desktop, 1 quick launch,
// 2 send-to, 3 start menu, 4 the menu's programs folder.
std::filesystem::path shortcutFolder(int folderKind);

// Writes "<title>.desktop"-style entry for `target` into the folder of the kind, replacing
// an older one of the same title. False when the folder has no counterpart or the write failed.
bool createShortcut(const std::string& target, const std::string& title, int folderKind);
