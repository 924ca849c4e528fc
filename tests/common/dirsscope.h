// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/appstate.h"
#include "platform/files.h"

#include <filesystem>

namespace zek::test {

// Dirs() for one test: a fresh set whose program and content folders are `root`; the set
// from before comes back when the scope ends.
class TDirsScope {
 public:
  explicit TDirsScope(const std::filesystem::path& root) : m_saved(Dirs()) {
    Dirs() = TDirectorySet{};
    Dirs().ProgramDir = zek::fromPath(root) + "/";
    Dirs().ContentRoot = zek::fromPath(root) + "/";
  }
  ~TDirsScope() { Dirs() = m_saved; }
  TDirsScope(const TDirsScope&) = delete;
  TDirsScope& operator=(const TDirsScope&) = delete;

 private:
  TDirectorySet m_saved;
};

}  // namespace zek::test
