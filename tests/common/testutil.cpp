// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/common/testutil.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

#include <sys/wait.h>

namespace zek::test {

std::filesystem::path makeTempDir(std::string_view prefix) {
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto p = std::filesystem::temp_directory_path() / (std::string(prefix) + "-" + std::to_string(rd()));
    if (std::filesystem::create_directory(p)) return p;
  }
  throw std::runtime_error("no temporary directory");
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

std::filesystem::path TempDir::write(const std::string& relative, std::string_view data) const {
  const auto p = m_path / relative;
  std::filesystem::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
  return p;
}

std::filesystem::path TempDir::mkdir(const std::string& relative) const {
  const auto p = m_path / relative;
  std::filesystem::create_directories(p);
  return p;
}

std::filesystem::path sourceDir() {
  const char* s = std::getenv("ZEK_SOURCE_DIR");
  return s ? s : ".";
}

std::filesystem::path distDir() {
  const char* s = std::getenv("ZEK_DIST_DIR");
  return s ? s : "dist";
}

TCommandResult runCommand(const std::string& command) {
  TCommandResult r;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[512];
    while (fgets(buf, sizeof buf, p)) r.output += buf;
    const int s = pclose(p);
    r.status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
  }
  return r;
}

std::string zekToolCommand(const std::string& args) { return "'" + (distDir() / "zek-tool").string() + "' " + args; }

}  // namespace zek::test
