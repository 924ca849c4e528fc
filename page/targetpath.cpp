// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/targetpath.h"

#include "platform/codec.h"
#include "platform/files.h"

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && zek::equalsNoCase(text.substr(0, prefix.size()), prefix);
}

// "a/b/c/" → "a/b/"; a root or a bare name keeps what is left.
std::string parentDirectory(std::string dir) {
  if (dir == "/") return dir;
  if (!dir.empty() && dir.back() == '/') dir.pop_back();
  const auto slash = dir.rfind('/');
  if (slash == std::string::npos) return {};
  return dir.substr(0, slash + 1);
}

}  // namespace

std::string resolveTargetPath(std::string_view target, std::string_view xpath) {
  if (target.empty()) return {};
  std::string star;
  if (target.front() == '*') {
    star = "*";
    target.remove_prefix(1);
  }
  if (const auto at = target.find('@'); at != std::string_view::npos) target.remove_prefix(at + 1);
  if (startsWithNoCase(target, "ex")) {
    const std::string upper = zek::upperCase(target);
    const auto file = upper.find("FILE=");
    if (file == std::string::npos) return {};
    target = target.substr(file + 5);
    target = target.substr(0, target.find(' '));
  }
  if (target.empty()) return star;
  // "\x" is below the page directory as on Windows; "/x" and "C:\x" are absolute.
  const bool belowXPath = target.front() == '\\';
  std::string name = zek::forwardSlashes(target);
  if (!belowXPath && (name.front() == '/' || (name.size() >= 2 && name[1] == ':'))) return star + name;
  std::string dir = zek::withTrailingSeparator(zek::forwardSlashes(xpath));
  if (belowXPath) {
    if (!dir.empty()) dir.pop_back();
    return star + dir + name;
  }
  return star + nameBelowXPath(name, xpath);
}

std::string nameBelowXPath(std::string_view name, std::string_view xpath) {
  std::string dir = zek::withTrailingSeparator(zek::forwardSlashes(xpath));
  while (name.substr(0, 3) == "../") {
    dir = parentDirectory(dir);
    name.remove_prefix(3);
  }
  return dir + std::string(name);
}

bool samePagePath(std::string_view a, std::string_view b) {
  return zek::equalsNoCase(zek::forwardSlashes(a), zek::forwardSlashes(b));
}
