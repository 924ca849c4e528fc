// SPDX-License-Identifier: GPL-3.0-or-later
// wavebase-info, wavebase-make, word-sounds and rec-test: the word-to-recording store
// read back and built at set-up, the list of words the set-up speaks, and a take
// through the voice recorder.
#include "tools/zek-tool/command.h"

#include "media/mediacommand.h"
#include "media/tmediaservice.h"
#include "media/tspeech.h"
#include "media/twaverec.h"
#include "media/txwavebase.h"
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "verbs/tverbliste.h"
#include "vocab/vokabeldatei.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const char* const kWordPrefix = "XE:\\Woerter\\";

// The sound directory beside a store in an installation: <root>/ZEK_E/e_w.zek → <root>/wave/.
std::string soundDirFor(const std::string& store) {
  const fs::path dir = fs::absolute(zek::toPath(store)).parent_path();
  fs::path root = dir.parent_path();
  if (!zek::equalsNoCase(zek::fromPath(dir.filename()), "ZEK_E")) root = dir;
  return zek::fromPath(root / "wave") + "/";
}

// Options "--sound-dir DIR" out of the arguments; the rest stays.
std::string takeSoundDir(std::vector<std::string>& args, const std::string& fallback) {
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == "--sound-dir") {
      std::string dir = zek::withTrailingSeparator(zek::utf8ToCp1252(args[i + 1]));
      args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
      return dir;
    }
  }
  return fallback;
}

int wavebaseInfo(const std::vector<std::string>& given) {
  std::vector<std::string> args = given;
  if (args.empty()) throw std::runtime_error("usage: wavebase-info FILE [--sound-dir DIR] [WORD...]");
  const std::string file = zek::utf8ToCp1252(args[0]);
  args.erase(args.begin());
  Dirs().SoundDir = takeSoundDir(args, soundDirFor(file));
  reportMessagesOnStderr();
  TXWaveBase store;
  store.loadStore(file);
  zek::setSpeechStore(&store);
  std::cout << "entries: " << store.count() << "\n";
  int missing = store.brokenFile().empty() ? 0 : 1;
  for (const std::string& utf8 : args) {
    const std::string word = zek::utf8ToCp1252(utf8);
    const std::string stored = findRecording(word);
    const std::string resolved = stored.empty() ? std::string() : resolveMediaPath(stored).file;
    std::cout << utf8 << "\t";
    if (stored.empty()) {
      std::cout << "-\n";
    } else {
      printText(stored + "\t" + (resolved.empty() ? "-" : resolved));
      std::cout << "\n";
    }
    if (resolved.empty()) ++missing;
  }
  zek::setSpeechStore(nullptr);
  zek::setMessageAnswerer(nullptr);
  return missing == 0 ? 0 : 1;
}

// "file<TAB>crc<TAB>word" lines of a word list.
struct TListedWord {
  std::string file, word;  // file relative to wave/Woerter/, "/" separators; word Windows-1252
};

std::vector<TListedWord> readWordList(const std::string& path) {
  const auto data = zek::readFile(path);
  if (!data) throw std::runtime_error("cannot read " + path);
  std::vector<TListedWord> words;
  std::istringstream in(*data);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t a = line.find('\t');
    const std::size_t b = a == std::string::npos ? a : line.find('\t', a + 1);
    if (b == std::string::npos) continue;
    words.push_back({line.substr(0, a), zek::utf8ToCp1252(line.substr(b + 1))});
  }
  return words;
}

// Keeps every entry that the set-up did not make (the learner's own recordings), and
// adds one per listed word whose file exists, unless the learner has one for it.
int wavebaseMake(const std::vector<std::string>& given) {
  std::vector<std::string> args = given;
  if (args.empty()) throw std::runtime_error("usage: wavebase-make STORE [LIST] [--sound-dir DIR]");
  const std::string file = zek::utf8ToCp1252(args[0]);
  const std::string soundDir = takeSoundDir(args, soundDirFor(file));
  reportMessagesOnStderr();
  const bool exists = fs::exists(zek::toPath(file));
  if (args.size() < 2 && exists) return 0;  // the build only makes sure there is one

  TXWaveBase old;
  if (exists) old.loadStore(file);
  if (!old.brokenFile().empty()) {
    std::cerr << "wavebase-make: " << args[0] << " is damaged; left as it is\n";
    return 1;
  }
  TXWaveBase store;
  std::set<std::string> own;
  int kept = 0;
  for (const TWaveEntry& e : old.entries()) {
    if (e.file.rfind(kWordPrefix, 0) == 0) continue;
    store.append(e.word, e.file);
    own.insert(zek::lowerCase(e.word));
    ++kept;
  }
  int added = 0, absent = 0;
  if (args.size() >= 2) {
    for (const TListedWord& w : readWordList(args[1])) {
      if (own.count(zek::lowerCase(w.word))) continue;
      if (!zek::fileExists(soundDir + "Woerter/" + w.file)) {
        ++absent;
        continue;
      }
      std::string stored = kWordPrefix + w.file;
      std::replace(stored.begin(), stored.end(), '/', '\\');
      store.append(w.word, stored);
      ++added;
    }
  }
  store.sortStore();
  if (!store.saveStore(file)) throw std::runtime_error("cannot write " + args[0]);
  std::cout << "wavebase-make: " << added << " spoken word(s), " << kept << " own entr" << (kept == 1 ? "y" : "ies")
            << (absent ? ", " + std::to_string(absent) + " without a file" : std::string()) << "\n";
  zek::setMessageAnswerer(nullptr);
  return 0;
}

// Parts of a meaning list as the quiz page splits them: at ";", a bracketed remark at the
// start or the end taken off, blanks trimmed.
std::vector<std::string> meaningParts(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t semi = text.find(';', pos);
    if (semi == std::string::npos) semi = text.size();
    std::string part = text.substr(pos, semi - pos);
    auto trim = [](std::string& s) {
      s.erase(0, s.find_first_not_of(' '));
      s.erase(s.find_last_not_of(' ') + 1);
    };
    trim(part);
    if (!part.empty() && part.front() == '[') {
      const std::size_t close = part.find(']');
      part = close == std::string::npos ? std::string() : part.substr(close + 1);
    } else if (!part.empty() && (part.back() == ']' || part.back() == ')')) {
      const std::size_t open = part.rfind(part.back() == ']' ? '[' : '(');
      if (open != std::string::npos && open > 0) part.resize(open);
    }
    trim(part);
    if (!part.empty()) parts.push_back(part);
    pos = semi + 1;
  }
  return parts;
}

std::string slugOf(const std::string& word) {
  std::string slug;
  for (const char c : zek::lowerCase(word)) {
    const auto u = static_cast<unsigned char>(c);
    slug += (u < 128 && std::isalnum(u)) ? c : '_';
  }
  return slug;
}

// Every English word that the trainers look up in the shipped collections and the verb
// table, once without regard to case.
int wordSounds(const std::vector<std::string>& args) {
  if (args.empty()) throw std::runtime_error("usage: word-sounds VOCABDIR");
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(args[0], ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file() && zek::equalsNoCase(it->path().extension().string(), ".asc")) files.push_back(it->path());
  }
  if (ec) throw std::runtime_error("cannot list " + args[0]);
  std::sort(files.begin(), files.end());
  std::vector<std::string> words;
  for (const fs::path& f : files) {
    const auto data = zek::readFile(f);
    if (!data) continue;
    for (const TVokabel& v : liesVokabeln(*data).eintraege) {
      if (v.istLeer()) continue;
      if (!v.Deutsch) {
        words.push_back(v.Vokabel);
      } else {
        const std::string all = v.Bedeutung2.empty() ? v.Bedeutung1 : v.Bedeutung1 + "; " + v.Bedeutung2;
        for (const std::string& p : meaningParts(all)) words.push_back(p);
      }
    }
  }
  TVerbListe verben;
  verben.ladenEingebaut();
  for (const TVerb& verb : verben) {
    for (const std::string& p : meaningParts(verb.infinitiv)) words.push_back(p);
  }
  std::set<std::string> seen, slugs;
  std::vector<std::pair<std::string, std::string>> listed;  // file, word
  for (std::string& w : words) {
    w.erase(0, w.find_first_not_of(' '));
    w.erase(w.find_last_not_of(' ') + 1);
    if (w.empty() || !seen.insert(zek::lowerCase(w)).second) continue;
    const std::string slug = slugOf(w);
    const char first = slug[0] >= 'a' && slug[0] <= 'z' ? slug[0] : '0';
    std::string file = std::string(1, first) + "/" + slug + ".wav";
    for (int n = 2; !slugs.insert(file).second; ++n) file = std::string(1, first) + "/" + slug + "_" + std::to_string(n) + ".wav";
    listed.emplace_back(file, w);
  }
  for (const auto& [file, word] : listed) {
    const std::string text = zek::cp1252ToUtf8(word);
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size()));
    std::printf("%s\t%08lx\t%s\n", file.c_str(), static_cast<unsigned long>(crc), text.c_str());
  }
  return 0;
}

void pump(int ms) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
}

int recTest(const std::vector<std::string>& given) {
  std::vector<std::string> args;
  for (const std::string& a : given) {
    if (a == "--null") {
      setenv("ZEK_AUDIO", "null", 1);
    } else {
      args.push_back(a);
    }
  }
  if (args.size() != 2) throw std::runtime_error("usage: rec-test [--null] SECONDS OUT.wav");
  const double seconds = std::atof(args[0].c_str());
  if (seconds <= 0 || seconds > 600) throw std::runtime_error("SECONDS must lie between 0 and 600");
  const auto app = toolApplication<QCoreApplication>();
  reportMessagesOnStderr();
  tWaveRec& rec = zek::ensureWaveRec();
  std::cout << "format: " << rec.bits() << " bit, " << rec.rate() << " Hz, " << rec.channels() << " channel(s)\n";
  int status = 0;
  if (rec.record().rfind("Error", 0) == 0) {
    status = 1;
  } else {
    pump(static_cast<int>(seconds * 1000));
    rec.stop();
    const std::string out = zek::fromPath(fs::absolute(args[1]));
    const std::string reply = rec.saveToFile(out);
    if (reply.empty()) {
      std::cout << "saved " << args[1] << " (" << rec.position() << " ms)\n";
    } else {
      status = 1;
    }
  }
  zek::freeWaveRec();
  zek::setMediaService(nullptr);
  zek::setMessageAnswerer(nullptr);
  return status;
}

TToolCommandRegistrar regInfo({"wavebase-info", "wavebase-info FILE [--sound-dir DIR] [WORD...]",
                               "entries of a recordings store and, per WORD, its stored and its resolved file "
                               "(exit 0 only when every WORD resolves)",
                               wavebaseInfo});
TToolCommandRegistrar regMake({"wavebase-make", "wavebase-make STORE [LIST] [--sound-dir DIR]",
                               "the store with one entry per spoken word of LIST (word-sounds) that exists; "
                               "the learner's own entries stay. Without LIST: an empty store if there is none",
                               wavebaseMake});
TToolCommandRegistrar regWords({"word-sounds", "word-sounds VOCABDIR",
                                "\"file<TAB>checksum<TAB>word\" for every English word of the collections and verbs",
                                wordSounds});
TToolCommandRegistrar regRec({"rec-test", "rec-test [--null] SECONDS OUT.wav",
                              "records SECONDS through the voice recorder in the stored format and saves the take",
                              recTest});

}  // namespace
