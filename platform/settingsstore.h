#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The hierarchical settings store: keys such as "SOFTWARE\ZEK\zek englisch\Vokabeln"
// holding typed values. Kept in one INI file; every write rewrites it atomically.
// Key and value names compare without regard to case; texts are Windows-1252.
// File names of the machine itself (the program's own path) are kept as they are, so
// that names outside Windows-1252 survive: the file holds them as UTF-8 ("path:").
class TSettingsStore {
 public:
  using Value = std::variant<std::string, int, bool, std::filesystem::path>;

  explicit TSettingsStore(std::filesystem::path file);

  // The process-wide store: $ZEK_SETTINGS, else settings.ini in zek::learnerConfigDir().
  static TSettingsStore& global();
  static std::filesystem::path defaultFile();
  // Points the process-wide store at another file (tests); reloads it.
  static void setGlobalFile(const std::filesystem::path& file);

  const std::filesystem::path& file() const { return m_file; }
  void reload();

  bool keyExists(std::string_view key) const;
  bool createKey(std::string_view key);
  bool deleteKey(std::string_view key);
  std::vector<std::string> valueNames(std::string_view key) const;
  bool valueExists(std::string_view key, std::string_view name) const;

  // Reading a value of another type fails (nothing), as the platform store does;
  // integers and booleans read as each other.
  std::optional<std::string> readString(std::string_view key, std::string_view name) const;
  std::optional<int> readInteger(std::string_view key, std::string_view name) const;
  std::optional<bool> readBool(std::string_view key, std::string_view name) const;
  // Paths and texts read as each other: a text is taken as a Windows-1252 name, and a path
  // read as text has "?" for characters without a Windows-1252 code.
  std::optional<std::filesystem::path> readPath(std::string_view key, std::string_view name) const;

  // Each write creates the key if needed and returns false when the file could not be written.
  bool writeString(std::string_view key, std::string_view name, std::string_view value);
  bool writeInteger(std::string_view key, std::string_view name, int value);
  bool writeBool(std::string_view key, std::string_view name, bool value);
  bool writePath(std::string_view key, std::string_view name, const std::filesystem::path& value);
  bool deleteValue(std::string_view key, std::string_view name);

  // INI text of the whole store, and its reading (exposed for tests and fuzzing).
  std::string serialize() const;
  void parse(std::string_view text);

 private:
  struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  struct Key {
    std::string name;  // as first written
    std::map<std::string, std::pair<std::string, Value>, NoCaseLess> values;  // lower name → (name, value)
  };

  static std::string normalizeKey(std::string_view key);
  const Key* findKey(std::string_view key) const;
  bool write(std::string_view key, std::string_view name, Value value);
  bool save() const;

  std::filesystem::path m_file;
  std::map<std::string, Key, NoCaseLess> m_keys;
};
