#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// File-system access for Windows-style names. Names in content, settings and links are
// Windows-1252 strings that may use "\" or "/"; both map to "/". A name that does not
// exist as written is looked up without regard to case, component by component.
namespace zek {

// Windows-1252 name with either separator → native path (UTF-8), separators mapped.
std::filesystem::path toPath(std::string_view cp1252Name);
// Native path → Windows-1252 name with "/" separators (characters without a code become '?').
std::string fromPath(const std::filesystem::path& path);

// The existing path that matches `path` without regard to case, or `path` unchanged when
// no such file exists (so that creating it uses the name as written).
std::filesystem::path resolvePath(const std::filesystem::path& path);
inline std::filesystem::path resolveName(std::string_view cp1252Name) { return resolvePath(toPath(cp1252Name)); }

bool fileExists(std::string_view cp1252Name);       // a regular file, after case-insensitive lookup
bool directoryExists(std::string_view cp1252Name);  // a directory, after case-insensitive lookup

// Directory values end with a separator: "" stays "", anything else gets a trailing "/".
std::string withTrailingSeparator(std::string_view dir);
// "a/b/c.txt" → "a/b/" ; "c.txt" → "" (both separators count).
std::string directoryPart(std::string_view name);
// "a/b/c.txt" → "c.txt".
std::string fileNamePart(std::string_view name);
// ".txt" of "a/b.c/d.txt", lower-cased, or "" when there is none.
std::string extensionLower(std::string_view name);
// Replaces every "\" by "/".
std::string forwardSlashes(std::string_view name);
bool isAbsoluteName(std::string_view name);

// The learner's own folders: learnerDataDir() keeps the learning memory, the own answers, the
// recordings store and the spoken words ($XDG_DATA_HOME/zek-englisch, else
// ~/.local/share/zek-englisch), learnerConfigDir() the settings ($XDG_CONFIG_HOME/zek-englisch,
// else ~/.config/zek-englisch). Without HOME both lie in the temporary folder.
std::filesystem::path learnerDataDir();
std::filesystem::path learnerConfigDir();
// `$variable` when it is set and not empty (the overrides of tests and of learners who keep a
// file elsewhere), else `fallback`.
std::filesystem::path pathFromEnv(const char* variable, const std::filesystem::path& fallback);

// Whole file, or nothing on failure. `limit` bounds what is read.
std::optional<std::string> readFile(const std::filesystem::path& path, std::uintmax_t limit = 1ull << 30);
// Writes a temporary file beside the target, then renames it over the target, so a
// failure half-way leaves the old file as it was. Creates missing parent directories, and
// removes the temporary files that killed saves left in that folder.
bool writeFileAtomic(const std::filesystem::path& path, std::string_view data);
// Removes "NAME.tmpPID_N" files in `folder` whose writing process no longer runs.
void removeStaleTempFiles(const std::filesystem::path& folder);

// zlib helpers with bounded output: nothing when the stream is broken or inflates beyond `limit`.
constexpr std::size_t kInflateLimit = 64u << 20;
std::optional<std::string> inflateZlib(std::string_view compressed, std::size_t limit = kInflateLimit);
// The same with the reason; inflating stops as soon as the output passes `limit`, so a
// stream that would inflate to gigabytes costs no more than the bound.
enum class TInflateStatus { Ok, Broken, TooLarge };
TInflateStatus inflateZlibInto(std::string_view compressed, std::size_t limit, std::string& out);
std::string deflateZlib(std::string_view data, int level = 9);

}  // namespace zek
