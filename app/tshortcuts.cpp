// SPDX-License-Identifier: GPL-3.0-or-later
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

std::string desktopEntryString(std::string_view utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case ' ': out += i == 0 ? "\\s" : " "; break;
      default: out.push_back(c);
    }
  }
  return out;
}

std::optional<std::string> desktopEntryExec(const fs::path& program) {
  const std::string& name = program.native();
  if (!zek::isUtf8(name)) return std::nullopt;
  // Quoting first: the whole name is one argument, so every reserved character is safe
  // inside the quotes once the four that stay special there are escaped.
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted.push_back('\\');
    if (c == '%') quoted.push_back('%');  // a field code otherwise
    quoted.push_back(c);
  }
  quoted.push_back('"');
  // GLib checks that the program exists before it turns "%%" into "%", so it drops an
  // entry whose program name holds a percent sign; through env the check passes.
  if (name.find('%') != std::string::npos) quoted.insert(0, "env ");
  // Readers undo the string escapes before the quoting, so the quoting's backslashes
  // are escaped once more ("\\\\" for a backslash in the name).
  return desktopEntryString(quoted);
}

bool createShortcut(const fs::path& target, const std::string& title, int folderKind) {
  const fs::path folder = shortcutFolder(folderKind);
  if (folder.empty()) return false;
  const auto exec = desktopEntryExec(target);
  if (!exec) return false;
  std::string entry = "[Desktop Entry]\nType=Application\nVersion=1.0\nName=" +
                      desktopEntryString(zek::cp1252ToUtf8(title)) +
                      "\nComment=Englisch lernen mit Vokabeltrainer, Verbtrainer, Sprachlabor und W\xC3\xB6rterbuch"
                      "\nExec=" + *exec + "\nPath=" + desktopEntryString(target.parent_path().native()) +
                      "\nTerminal=false\nCategories=Education;Languages;\n";
  const fs::path file = folder / entryName(title);
  if (!zek::writeFileAtomic(file, entry)) return false;
  std::error_code ec;
  // Desktops only start entries that are executable.
  fs::permissions(file, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                  fs::perm_options::add, ec);
  return true;
}
