#include "platform/eigeneantworten.h"

#include "platform/codec.h"
#include "platform/files.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<TEigeneAntworten>& globalAntworten() {
  static std::unique_ptr<TEigeneAntworten> store;
  return store;
}

// Tabs and line ends cannot stand inside a field.
bool sauber(const std::string& s) {
  return !s.empty() && s.find_first_of("\t\r\n") == std::string::npos;
}

}  // namespace

TEigeneAntworten::TEigeneAntworten(std::filesystem::path file) : m_file(std::move(file)) { laden(); }

std::filesystem::path TEigeneAntworten::defaultFile() {
  return zek::pathFromEnv("ZEK_ANSWERS", zek::learnerDataDir() / "eigene-antworten.txt");
}

TEigeneAntworten& TEigeneAntworten::global() {
  auto& store = globalAntworten();
  if (!store) store = std::make_unique<TEigeneAntworten>(defaultFile());
  return *store;
}

void TEigeneAntworten::setGlobalFile(const std::filesystem::path& file) {
  globalAntworten() = std::make_unique<TEigeneAntworten>(file);
}

void TEigeneAntworten::laden() {
  m_eintraege.clear();
  const auto data = zek::readFile(m_file, 16u << 20);
  if (!data) return;
  std::size_t pos = 0;
  while (pos < data->size()) {
    std::size_t end = data->find('\n', pos);
    if (end == std::string::npos) end = data->size();
    std::string line = data->substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t t1 = line.find('\t');
    const std::size_t t2 = t1 == std::string::npos ? t1 : line.find('\t', t1 + 1);
    // A damaged line is skipped; the others stay usable.
    if (t2 == std::string::npos) continue;
    TEintrag e{line.substr(0, t1), line.substr(t1 + 1, t2 - t1 - 1), zek::utf8ToCp1252(line.substr(t2 + 1))};
    if (sauber(e.trainer) && sauber(e.key) && sauber(e.antwort)) m_eintraege.push_back(std::move(e));
  }
}

bool TEigeneAntworten::speichern() const {
  std::string out;
  for (const TEintrag& e : m_eintraege) out += e.trainer + "\t" + e.key + "\t" + zek::cp1252ToUtf8(e.antwort) + "\n";
  std::error_code ec;
  std::filesystem::create_directories(m_file.parent_path(), ec);
  return zek::writeFileAtomic(m_file, out);
}

std::vector<std::string> TEigeneAntworten::antworten(const std::string& trainer, const std::string& key) const {
  std::vector<std::string> out;
  for (const TEintrag& e : m_eintraege)
    if (e.trainer == trainer && e.key == key) out.push_back(e.antwort);
  return out;
}

bool TEigeneAntworten::hinzufuegen(const std::string& trainer, const std::string& key, const std::string& antwort) {
  if (!sauber(trainer) || !sauber(key) || !sauber(antwort)) return false;
  const auto gleich = [&](const TEintrag& e) { return e.trainer == trainer && e.key == key && e.antwort == antwort; };
  if (std::any_of(m_eintraege.begin(), m_eintraege.end(), gleich)) return true;
  m_eintraege.push_back({trainer, key, antwort});
  if (speichern()) return true;
  m_eintraege.pop_back();
  return false;
}

bool TEigeneAntworten::entfernen(const std::string& trainer, const std::string& key, const std::string& antwort) {
  const auto alt = m_eintraege;
  std::erase_if(m_eintraege,
                [&](const TEintrag& e) { return e.trainer == trainer && e.key == key && e.antwort == antwort; });
  if (m_eintraege.size() == alt.size() || speichern()) return true;
  m_eintraege = alt;
  return false;
}
