#pragma once

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zek::test {

// A fresh empty directory below the system's temporary directory.
std::filesystem::path makeTempDir(std::string_view prefix);

// A temporary directory removed with everything in it when the object goes.
class TempDir {
 public:
  explicit TempDir(std::string_view prefix = "zek-test") : m_path(makeTempDir(prefix)) {}
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return m_path; }
  // Writes a file (parents created) and returns its path.
  std::filesystem::path write(const std::string& relative, std::string_view data) const;
  std::filesystem::path mkdir(const std::string& relative) const;

 private:
  std::filesystem::path m_path;
};

// Sets or unsets environment variables for one test and puts them back afterwards.
class TEnvironment {
 public:
  explicit TEnvironment(std::initializer_list<const char*> names) {
    for (const char* n : names) {
      const char* v = std::getenv(n);
      m_saved.emplace_back(n, v ? std::optional<std::string>(v) : std::nullopt);
    }
  }
  ~TEnvironment() {
    for (const auto& [n, v] : m_saved) set(n.c_str(), v ? v->c_str() : nullptr);
  }
  TEnvironment(const TEnvironment&) = delete;
  TEnvironment& operator=(const TEnvironment&) = delete;
  // nullptr unsets.
  static void set(const char* name, const char* value) {
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

// What a shell command printed and its exit code (-1 when it did not end normally).
struct TCommandResult {
  std::string output;
  int status = -1;
};
TCommandResult runCommand(const std::string& command);

// The command line for the installation's zek-tool with `args` (words and redirections).
std::string zekToolCommand(const std::string& args);

// Folder of the source tree and of the assembled installation (set by ctest).
std::filesystem::path sourceDir();
std::filesystem::path distDir();

}  // namespace zek::test
