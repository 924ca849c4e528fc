#include "platform/settingsstore.h"

#include "platform/codec.h"
#include "platform/files.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

constexpr const char* kHex = "0123456789ABCDEF";

// Every byte `escaped` picks is written as %XX.
template <class Pick>
std::string escapeWhere(std::string_view s, Pick escaped) {
  std::string out;
  for (char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (escaped(c)) {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    } else {
      out.push_back(ch);
    }
  }
  return out;
}

// Control characters, '%' and the given specials are written as %XX so that every
// line of the file stays one entry.
std::string escape(std::string_view s, std::string_view specials) {
  return escapeWhere(s, [&](unsigned char c) {
    return c < 32 || c == '%' || specials.find(static_cast<char>(c)) != std::string_view::npos;
  });
}

// A native path is a byte string; one that is not UTF-8 gets all its high bytes escaped,
// so that the file stays UTF-8 and the bytes come back unchanged.
std::string escapePath(const std::string& native) {
  if (zek::isUtf8(native)) return escape(native, "");
  return escapeWhere(native, [](unsigned char c) { return c < 32 || c >= 0x80 || c == '%'; });
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string unescape(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      const int h = hexDigit(s[i + 1]);
      const int l = hexDigit(s[i + 2]);
      if (h >= 0 && l >= 0) {
        out.push_back(static_cast<char>(h * 16 + l));
        i += 2;
        continue;
      }
    }
    out.push_back(s[i]);
  }
  return out;
}

std::optional<int> parseInt(std::string_view s) {
  if (s.empty()) return std::nullopt;
  long long v = 0;
  size_t i = 0;
  bool neg = false;
  if (s[0] == '-' || s[0] == '+') {
    neg = s[0] == '-';
    i = 1;
  }
  if (i == s.size()) return std::nullopt;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    v = v * 10 + (s[i] - '0');
    if (v > 4294967295LL) return std::nullopt;
  }
  if (neg) v = -v;
  // Integers are 32-bit; unsigned values (colours) wrap as the platform store does.
  return static_cast<int>(static_cast<unsigned int>(v & 0xFFFFFFFFLL));
}

std::unique_ptr<TSettingsStore>& globalStore() {
  static std::unique_ptr<TSettingsStore> store;
  return store;
}

}  // namespace

bool TSettingsStore::NoCaseLess::operator()(const std::string& a, const std::string& b) const {
  return zek::lowerCase(a) < zek::lowerCase(b);
}

TSettingsStore::TSettingsStore(std::filesystem::path file) : m_file(std::move(file)) { reload(); }

std::filesystem::path TSettingsStore::defaultFile() {
  return zek::pathFromEnv("ZEK_SETTINGS", zek::learnerConfigDir() / "settings.ini");
}

TSettingsStore& TSettingsStore::global() {
  auto& store = globalStore();
  if (!store) store = std::make_unique<TSettingsStore>(defaultFile());
  return *store;
}

void TSettingsStore::setGlobalFile(const std::filesystem::path& file) {
  globalStore() = std::make_unique<TSettingsStore>(file);
}

void TSettingsStore::reload() {
  m_keys.clear();
  std::ifstream in(m_file, std::ios::binary);
  if (!in) return;
  std::stringstream ss;
  ss << in.rdbuf();
  parse(ss.str());
}

std::string TSettingsStore::normalizeKey(std::string_view key) {
  std::string out;
  for (char c : key) {
    if (c == '/') c = '\\';
    if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
    out.push_back(c);
  }
  while (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

const TSettingsStore::Key* TSettingsStore::findKey(std::string_view key) const {
  const auto it = m_keys.find(normalizeKey(key));
  return it == m_keys.end() ? nullptr : &it->second;
}

bool TSettingsStore::keyExists(std::string_view key) const {
  if (findKey(key)) return true;
  // A key exists when one below it does, as in the platform store.
  const std::string prefix = zek::lowerCase(normalizeKey(key)) + "\\";
  for (const auto& [name, entry] : m_keys) {
    if (zek::lowerCase(name).rfind(prefix, 0) == 0) return true;
  }
  return false;
}

bool TSettingsStore::createKey(std::string_view key) {
  const std::string k = normalizeKey(key);
  if (m_keys.count(k)) return true;
  m_keys[k].name = k;
  return save();
}

bool TSettingsStore::deleteKey(std::string_view key) {
  if (m_keys.erase(normalizeKey(key)) == 0) return false;
  return save();
}

std::vector<std::string> TSettingsStore::valueNames(std::string_view key) const {
  std::vector<std::string> names;
  if (const Key* k = findKey(key)) {
    for (const auto& [lower, entry] : k->values) names.push_back(entry.first);
  }
  return names;
}

bool TSettingsStore::valueExists(std::string_view key, std::string_view name) const {
  const Key* k = findKey(key);
  return k && k->values.count(std::string(name));
}

std::optional<std::string> TSettingsStore::readString(std::string_view key, std::string_view name) const {
  const Key* k = findKey(key);
  if (!k) return std::nullopt;
  const auto it = k->values.find(std::string(name));
  if (it == k->values.end()) return std::nullopt;
  if (const auto* s = std::get_if<std::string>(&it->second.second)) return *s;
  if (const auto* p = std::get_if<std::filesystem::path>(&it->second.second)) return zek::fromPath(*p);
  return std::nullopt;
}

std::optional<int> TSettingsStore::readInteger(std::string_view key, std::string_view name) const {
  const Key* k = findKey(key);
  if (!k) return std::nullopt;
  const auto it = k->values.find(std::string(name));
  if (it == k->values.end()) return std::nullopt;
  if (const auto* i = std::get_if<int>(&it->second.second)) return *i;
  if (const auto* b = std::get_if<bool>(&it->second.second)) return *b ? 1 : 0;
  return std::nullopt;
}

std::optional<bool> TSettingsStore::readBool(std::string_view key, std::string_view name) const {
  const Key* k = findKey(key);
  if (!k) return std::nullopt;
  const auto it = k->values.find(std::string(name));
  if (it == k->values.end()) return std::nullopt;
  if (const auto* b = std::get_if<bool>(&it->second.second)) return *b;
  if (const auto* i = std::get_if<int>(&it->second.second)) return *i != 0;
  return std::nullopt;
}

std::optional<std::filesystem::path> TSettingsStore::readPath(std::string_view key, std::string_view name) const {
  const Key* k = findKey(key);
  if (!k) return std::nullopt;
  const auto it = k->values.find(std::string(name));
  if (it == k->values.end()) return std::nullopt;
  if (const auto* p = std::get_if<std::filesystem::path>(&it->second.second)) return *p;
  if (const auto* s = std::get_if<std::string>(&it->second.second)) return zek::toPath(*s);
  return std::nullopt;
}

bool TSettingsStore::write(std::string_view key, std::string_view name, Value value) {
  const std::string k = normalizeKey(key);
  Key& entry = m_keys[k];
  if (entry.name.empty()) entry.name = k;
  entry.values[std::string(name)] = {std::string(name), std::move(value)};
  return save();
}

bool TSettingsStore::writeString(std::string_view key, std::string_view name, std::string_view value) {
  return write(key, name, std::string(value));
}

bool TSettingsStore::writeInteger(std::string_view key, std::string_view name, int value) {
  return write(key, name, value);
}

bool TSettingsStore::writeBool(std::string_view key, std::string_view name, bool value) {
  return write(key, name, value);
}

bool TSettingsStore::writePath(std::string_view key, std::string_view name, const std::filesystem::path& value) {
  return write(key, name, value);
}

bool TSettingsStore::deleteValue(std::string_view key, std::string_view name) {
  const auto it = m_keys.find(normalizeKey(key));
  if (it == m_keys.end() || it->second.values.erase(std::string(name)) == 0) return false;
  return save();
}

std::string TSettingsStore::serialize() const {
  std::string out = "; zek englisch settings\n";
  for (const auto& [lower, key] : m_keys) {
    out += "[" + zek::cp1252ToUtf8(escape(key.name, "[]")) + "]\n";
    for (const auto& [lowerName, entry] : key.values) {
      out += zek::cp1252ToUtf8(escape(entry.first, "=[;"));
      out += '=';
      if (const auto* s = std::get_if<std::string>(&entry.second)) {
        out += "str:" + zek::cp1252ToUtf8(escape(*s, ""));
      } else if (const auto* i = std::get_if<int>(&entry.second)) {
        out += "int:" + std::to_string(*i);
      } else if (const auto* p = std::get_if<std::filesystem::path>(&entry.second)) {
        out += "path:" + escapePath(p->native());
      } else {
        out += std::get<bool>(entry.second) ? "bool:1" : "bool:0";
      }
      out += '\n';
    }
  }
  return out;
}

void TSettingsStore::parse(std::string_view text) {
  Key* current = nullptr;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const size_t close = line.rfind(']');
      if (close == std::string_view::npos || close == 0) {
        current = nullptr;
        continue;
      }
      const std::string k = normalizeKey(unescape(zek::utf8ToCp1252(line.substr(1, close - 1))));
      current = &m_keys[k];
      if (current->name.empty()) current->name = k;
      continue;
    }
    const size_t eq = line.find('=');
    if (!current || eq == std::string_view::npos || eq == 0) continue;
    const std::string name = unescape(zek::utf8ToCp1252(line.substr(0, eq)));
    const std::string_view raw = line.substr(eq + 1);
    Value value;
    if (raw.rfind("str:", 0) == 0) {
      value = unescape(zek::utf8ToCp1252(raw.substr(4)));
    } else if (raw.rfind("int:", 0) == 0) {
      const auto i = parseInt(raw.substr(4));
      if (!i) continue;
      value = *i;
    } else if (raw.rfind("path:", 0) == 0) {
      value = std::filesystem::path(unescape(raw.substr(5)));
    } else if (raw == "bool:1" || raw == "bool:0") {
      value = raw == "bool:1";
    } else {
      continue;  // unreadable entries are dropped, as if missing
    }
    current->values[name] = {name, std::move(value)};
  }
}

bool TSettingsStore::save() const { return zek::writeFileAtomic(m_file, serialize()); }
