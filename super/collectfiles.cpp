// SPDX-License-Identifier: GPL-3.0-or-later
#include "super/collectfiles.h"

#include "platform/files.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

int collect(const fs::path& dir, std::vector<std::string>* list, std::string_view ext, std::string_view ext2, int depth) {
  if (depth > 32) return 0;
  std::error_code ec;
  std::vector<fs::path> subDirs, files;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->symlink_status(ec).type() == fs::file_type::directory) {
      subDirs.push_back(it->path());
    } else {
      const std::string e = zek::extensionLower(zek::fromPath(it->path().filename()));
      if (e == ext || (!ext2.empty() && e == ext2)) files.push_back(it->path());
    }
  }
  // Listing order differs between file systems; sorted, a seed gives the same order.
  std::sort(files.begin(), files.end());
  std::sort(subDirs.begin(), subDirs.end());
  if (list)
    for (const fs::path& f : files) list->push_back(zek::fromPath(f));
  for (const fs::path& d : subDirs) collect(d, list, ext, ext2, depth + 1);
  return int(files.size());
}

}  // namespace

int collectFiles(std::string_view dir, std::vector<std::string>* list, std::string_view ext, std::string_view ext2) {
  if (dir.empty()) return 0;
  return collect(zek::resolveName(zek::withTrailingSeparator(dir)), list, ext, ext2, 0);
}
