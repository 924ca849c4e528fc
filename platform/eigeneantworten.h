#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The answers a learner has declared right ("Meine Antwort war richtig"), kept for him in his
// data folder and accepted from then on. Each belongs to a trainer ("lab", "vokabel") and a
// key within it (the lab: the sentence's sound number). Texts are Windows-1252 in memory and
// UTF-8 in the file, one answer a line: trainer, key and answer separated by tabs.
class TEigeneAntworten {
 public:
  explicit TEigeneAntworten(std::filesystem::path file);

  // The learner's store: $ZEK_ANSWERS, else eigene-antworten.txt in zek::learnerDataDir().
  static std::filesystem::path defaultFile();
  static TEigeneAntworten& global();
  // Tests: the process-wide store reads this file instead (and re-reads it).
  static void setGlobalFile(const std::filesystem::path& file);

  std::vector<std::string> antworten(const std::string& trainer, const std::string& key) const;
  struct TEintrag {
    std::string trainer, key, antwort;
  };
  const std::vector<TEintrag>& alle() const { return m_eintraege; }

  // Adds (once) or removes an answer and writes the file at once; false when it could not be
  // written (the change is then undone).
  bool hinzufuegen(const std::string& trainer, const std::string& key, const std::string& antwort);
  bool entfernen(const std::string& trainer, const std::string& key, const std::string& antwort);

  void laden();
  const std::filesystem::path& file() const { return m_file; }

 private:
  bool speichern() const;

  std::filesystem::path m_file;
  std::vector<TEintrag> m_eintraege;
};
