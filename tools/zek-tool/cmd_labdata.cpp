// SPDX-License-Identifier: GPL-3.0-or-later
// lab-info, verb-info, lab-sounds and lab-merge: the lab's lesson table (block 1) and the
// verb table (block 2), read back from the compiled blocks, and the merge of the
// sentence sources into content/blocks/block1.tsv.
#include "tools/zek-tool/command.h"

#include "lab/labtabelle.h"
#include "lab/tthemenliste.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "verbs/tverbliste.h"
#include "verbs/verbpresets.h"

#include <zlib.h>

#include <cstdio>
#include <iostream>
#include <set>
#include <sstream>

namespace {

std::string utf8(const std::string& cp1252) { return zek::cp1252ToUtf8(cp1252); }

int labInfo(const std::vector<std::string>& args) {
  TThemenListe themen;
  themen.ladenEingebaut();
  const int only = args.empty() ? -1 : std::stoi(args[0]);
  int problems = 0;
  for (std::size_t i = 0; i < themen.size(); ++i) {
    const TThema& t = themen[i];
    if (only >= 0 && static_cast<std::size_t>(only) != i) continue;
    std::string note;
    if (i >= kLabThemenSoll.size()) {
      note = "  (unexpected topic)";
    } else if (t.name() != kLabThemenSoll[i].name ||
               static_cast<int>(t.saetze().size()) != kLabThemenSoll[i].saetze) {
      note = "  (expected \"" + std::string(kLabThemenSoll[i].name) + "\" with " +
             std::to_string(kLabThemenSoll[i].saetze) + ")";
    }
    if (!note.empty()) ++problems;
    std::printf("%2zu  %-24s %3zu%s\n", i, utf8(t.name()).c_str(), t.saetze().size(), note.c_str());
    if (only < 0) continue;
    for (const TSatz& s : t.saetze()) {
      std::cout << "    " << utf8(s.datei) << "  " << utf8(s.englisch);
      if (!s.loesung2.empty()) std::cout << "  |  " << utf8(s.loesung2);
      std::cout << "\n      " << utf8(s.hinweis) << "\n      " << utf8(s.deutsch) << "\n";
    }
  }
  if (only >= 0) return 0;
  if (themen.size() != kLabThemenSoll.size()) ++problems;
  std::printf("%zu topics, %zu sentences%s\n", themen.size(), themen.satzAnzahl(),
              problems == 0 && static_cast<int>(themen.satzAnzahl()) == kLabSaetzeSoll ? "" : "  (not as expected)");
  return problems == 0 ? 0 : 1;
}

int verbInfo(const std::vector<std::string>&) {
  TVerbListe verben;
  verben.ladenEingebaut();
  int problems = 0;
  for (std::size_t i = 0; i < verben.size(); ++i) {
    const TVerb& v = verben[i];
    std::printf("%3zu  %-12s %-18s %-20s %s\n", i + 1, utf8(v.infinitiv).c_str(), utf8(v.past).c_str(),
                utf8(v.participle).c_str(), utf8(v.bedeutung).c_str());
    if (i > 0 && !(verben[i - 1].infinitiv < v.infinitiv)) {
      std::printf("     ^ not in alphabetical order\n");
      ++problems;
    }
    if (v.infinitiv.empty() || v.past.empty() || v.participle.empty() || v.bedeutung.empty()) {
      std::printf("     ^ a form is missing\n");
      ++problems;
    }
  }
  std::printf("%zu verbs", verben.size());
  if (!verben.empty()) std::printf(", \"%s\" to \"%s\"", verben[0].infinitiv.c_str(), verben[verben.size() - 1].infinitiv.c_str());
  std::printf("\n");
  for (int preset = 1; preset <= 4; ++preset) {
    const auto a = verbPreset(preset, verben);
    const std::size_t named = preset == 4 ? verben.size() : verbPresetVerben(preset).size();
    std::size_t selected = 0;
    for (char c : a->verben) selected += c == '+';
    std::printf("vt%d: %zu verbs, forms %s", preset, selected, a->formen.c_str());
    for (std::string_view inf : verbPresetVerben(preset))
      if (verben.indexOf(inf) < 0) std::printf("  missing \"%.*s\"", static_cast<int>(inf.size()), inf.data());
    std::printf("\n");
    if (selected != named) ++problems;
  }
  return problems == 0 ? 0 : 1;
}

// "file<TAB>crc<TAB>sentence" per sentence, UTF-8, for the set-up's speech synthesis.
int labSounds(const std::vector<std::string>&) {
  TThemenListe themen;
  themen.ladenEingebaut();
  for (std::size_t i = 0; i < themen.size(); ++i) {
    for (const TSatz& s : themen[i].saetze()) {
      if (s.datei.empty()) continue;
      const std::string text = utf8(s.englisch);
      const auto crc = crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size()));
      std::printf("%s\t%08lx\t%s\n", zek::forwardSlashes(utf8(s.datei)).c_str(), static_cast<unsigned long>(crc),
                  text.c_str());
    }
  }
  return 0;
}

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t pos = 0;
  while (true) {
    const std::size_t tab = line.find('\t', pos);
    fields.push_back(line.substr(pos, tab == std::string::npos ? std::string::npos : tab - pos));
    if (tab == std::string::npos) return fields;
    pos = tab + 1;
  }
}

// Reads the sentence sources (UTF-8: "**** Topic" lines, then "English<TAB>second<TAB>
// hint<TAB>German[<TAB>sound file]" lines), checks them against the expected table and writes the block
// source with the sound file as fifth field. Writes nothing when a check fails.
int labMerge(const std::vector<std::string>& args) {
  if (args.size() < 2) throw std::runtime_error("usage: lab-merge PART... OUT");
  std::ostringstream out;
  // Sources are read completely before OUT is written, so OUT may be one of them.
  out << "# Lesson table of the language lab, made by \"zek-tool lab-merge\" from the sentence sources.\n"
         "# Topic lines \"**** name\"; sentence lines: English, second solution, hint pattern, German,\n"
         "# sound file. An empty hint is generated from the English sentence.\n";
  std::vector<std::pair<std::string, int>> topics;
  std::set<std::string> seen;
  int errors = 0, n = 0;
  auto error = [&](const std::string& where, const std::string& what) {
    std::cerr << where << ": " << what << "\n";
    ++errors;
  };
  for (std::size_t a = 0; a + 1 < args.size(); ++a) {
    auto data = zek::readFile(args[a]);
    if (!data) throw std::runtime_error("cannot read " + args[a]);
    if (data->rfind("\xEF\xBB\xBF", 0) == 0) data->erase(0, 3);
    std::istringstream in(*data);
    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const std::string where = args[a] + ":" + std::to_string(lineNo);
      if (line.empty() || line[0] == '#') continue;
      if (line.rfind("****", 0) == 0) {
        std::string name = line.substr(4);
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        topics.emplace_back(name, 0);
        out << "**** " << name << "\n";
        continue;
      }
      if (topics.empty()) {
        error(where, "sentence before the first topic");
        continue;
      }
      std::vector<std::string> f = splitTabs(line);
      // A fifth field (an earlier sound file) is numbered afresh, so the output can be fed back.
      if (f.size() > 5) error(where, "more than five fields");
      f.resize(4);
      for (std::size_t i = 0; i < 4; ++i) {
        const auto cp = zek::utf8ToCp1252Strict(f[i]);
        if (!cp) error(where, "character without a Windows-1252 code");
        else if (cp->size() > kLabMaxSatzLaenge) error(where, "field " + std::to_string(i + 1) + " longer than 100 characters");
        if (f[i] != "" && (f[i].front() == ' ' || f[i].back() == ' ')) error(where, "blank at the start or end of a field");
      }
      if (f[0].empty()) error(where, "no English sentence");
      if (f[3].empty()) error(where, "no German sentence");
      if (f[1] == f[0] && !f[1].empty()) error(where, "second solution equals the first");
      if (!seen.insert(f[0]).second) error(where, "sentence repeated: " + f[0]);
      ++topics.back().second;
      out << f[0] << "\t" << f[1] << "\t" << f[2] << "\t" << f[3] << "\t" << utf8(labSoundDatei(n++)) << "\n";
    }
  }
  if (topics.size() != kLabThemenSoll.size()) error("topics", std::to_string(topics.size()) + " instead of 18");
  for (std::size_t i = 0; i < topics.size() && i < kLabThemenSoll.size(); ++i) {
    if (topics[i].first != kLabThemenSoll[i].name || topics[i].second != kLabThemenSoll[i].saetze)
      error("topic " + std::to_string(i), "\"" + topics[i].first + "\" with " + std::to_string(topics[i].second) +
                                              ", expected \"" + std::string(kLabThemenSoll[i].name) + "\" with " +
                                              std::to_string(kLabThemenSoll[i].saetze));
  }
  if (errors > 0) {
    std::cerr << errors << " problem(s); nothing written\n";
    return 1;
  }
  if (!zek::writeFileAtomic(args.back(), out.str())) throw std::runtime_error("cannot write " + args.back());
  std::cout << topics.size() << " topics, " << n << " sentences written to " << args.back() << "\n";
  return 0;
}

TToolCommandRegistrar regLabInfo({"lab-info", "lab-info [TOPIC]",
                                  "topics and sentence counts of the built-in lesson table; with TOPIC its sentences",
                                  labInfo});
TToolCommandRegistrar regVerbInfo({"verb-info", "verb-info", "the built-in verb table and the presets vt1 to vt4",
                                   verbInfo});
TToolCommandRegistrar regLabSounds({"lab-sounds", "lab-sounds",
                                    "\"file<TAB>checksum<TAB>sentence\" for every lab sentence (speech synthesis)",
                                    labSounds});
TToolCommandRegistrar regLabMerge({"lab-merge", "lab-merge PART... OUT",
                                   "checks the lab sentence sources and writes the lesson table source OUT",
                                   labMerge});

}  // namespace
