#include "app/tshortcuts.h"

#include "platform/codec.h"
#include "platform/files.h"

#include <QStandardPaths>

#include <cstdlib>

namespace fs = std::filesystem;

namespace {

fs::path envDir(const char* var, const fs::path& fallback) {
  const char* v = std::getenv(var);
  return v && *v ? fs::path(v) : fallback;
}

fs::path home() { return envDir("HOME", "/tmp"); }

// Desktop file names may not hold blanks in the menu; the desktop accepts them but
// one name for both keeps replacing simple.
std::string entryName(const std::string& title) {
  std::string name;
  for (char c : zek::cp1252ToUtf8(title)) name.push_back(c == ' ' ? '-' : c);
  return name + ".desktop";
}

}  // namespace

fs::path shortcutFolder(int folderKind) {
  switch (folderKind) {
    case 0: {
      const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
      return desktop.isEmpty() ? home() / "Desktop" : fs::path(desktop.toStdString());
    }
    case 3:
    case 4:
      return envDir("XDG_DATA_HOME", home() / ".local" / "share") / "applications";
    default:
      return {};  // quick launch and send-to have no counterpart
  }
}

bool createShortcut(const std::string& target, const std::string& title, int folderKind) {
  const fs::path folder = shortcutFolder(folderKind);
  if (folder.empty()) return false;
  const std::string exec = zek::cp1252ToUtf8(target);
  std::string entry = "[Desktop Entry]\nType=Application\nVersion=1.0\nName=" + zek::cp1252ToUtf8(title) +
                      "\nComment=Englisch lernen mit Vokabeltrainer, Verbtrainer, Sprachlabor und W\xC3\xB6rterbuch"
                      "\nExec=\"" + exec + "\"\nPath=" + zek::cp1252ToUtf8(zek::directoryPart(target)) +
                      "\nTerminal=false\nCategories=Education;Languages;\n";
  const fs::path file = folder / entryName(title);
  if (!zek::writeFileAtomic(file, entry)) return false;
  std::error_code ec;
  // Desktops only start entries that are executable.
  fs::permissions(file, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                  fs::perm_options::add, ec);
  return true;
}
