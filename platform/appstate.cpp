// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/appstate.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "platform/settingsstore.h"

#include <QCoreApplication>

#include <algorithm>
#include <cctype>
#include <memory>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kDirs = "\\Verzeichnisse";

std::unique_ptr<TMachineProbe>& probeSlot() {
  static std::unique_ptr<TMachineProbe> probe;
  return probe;
}

struct Mount {
  std::string point;  // ending with "/"
  std::string type;
};

// /proc/mounts escapes blanks and other bytes as octal "\040".
std::string unescapeMount(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 3 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1]))) {
      out.push_back(static_cast<char>(std::stoi(s.substr(i + 1, 3), nullptr, 8)));
      i += 3;
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

std::vector<Mount> mounts() {
  std::vector<Mount> out;
  std::ifstream in("/proc/mounts");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    std::string dev, point, type;
    if (!(ls >> dev >> point >> type)) continue;
    out.push_back({zek::withTrailingSeparator(zek::utf8ToCp1252(unescapeMount(point))), type});
  }
  return out;
}

const Mount* mountOf(const std::vector<Mount>& all, const std::string& dir) {
  const Mount* best = nullptr;
  const std::string d = zek::withTrailingSeparator(dir);
  for (const Mount& m : all) {
    if (d.rfind(m.point, 0) == 0 && (!best || m.point.size() > best->point.size())) best = &m;
  }
  return best;
}

std::vector<std::string> subdirectories(const std::string& dir) {
  std::vector<std::string> out;
  std::error_code ec;
  for (fs::directory_iterator it(zek::toPath(dir), ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_directory(ec)) out.push_back(zek::withTrailingSeparator(zek::fromPath(it->path())));
  }
  std::sort(out.begin(), out.end());
  return out;
}

bool hasBasicVocabulary(const std::string& dir) {
  return !dir.empty() && zek::directoryExists(dir + "Grundwortschatz/");
}

fs::path runningExecutable() {
  std::error_code ec;
  const fs::path p = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) return p;
  if (QCoreApplication::instance()) return fs::path(QCoreApplication::applicationFilePath().toStdString());
  return {};
}

}  // namespace

TAppState& appState() {
  static TAppState state;
  return state;
}

std::string settingsKey(std::string_view subKey) { return std::string(kMainKey) + std::string(subKey); }

std::string readSettingString(std::string_view subKey, std::string_view name, std::string_view def) {
  const auto v = TSettingsStore::global().readString(settingsKey(subKey), name);
  if (!v) return std::string(def);
  if (v->empty() && !def.empty()) return std::string(def);
  return *v;
}

int readSettingInteger(std::string_view subKey, std::string_view name, int def) {
  return TSettingsStore::global().readInteger(settingsKey(subKey), name).value_or(def);
}

void saveDirectorySettings(int bits) {
  auto& store = TSettingsStore::global();
  const std::string key = settingsKey(kDirs);
  store.createKey(key);
  if ((bits & 1) && !Dirs().UserVocabDir.empty()) store.writeString(key, "Vokabel-Dateien", Dirs().UserVocabDir);
  if ((bits & 2) && !Dirs().ContentRoot.empty()) store.writeString(key, "CD-Laufwerk", Dirs().ContentRoot);
}

void saveGeneralSettings() {
  auto& store = TSettingsStore::global();
  const std::string key = settingsKey("");
  store.writeString(key, "Online-Hilfe", appState().OnlineHelp ? "AN" : "AUS");
  store.writeInteger(key, "Hintergrund", appState().BackdropColor);
}

namespace {
const char* tolerantValue(TTolerantScope scope) {
  switch (scope) {
    case TTolerantScope::Sprachlabor: return "Gro\xDFz\xFCgig (Sprachlabor)";
    case TTolerantScope::Vokabeln: return "Gro\xDFz\xFCgig (Vokabeln)";
    case TTolerantScope::Verben: return "Gro\xDFz\xFCgig (Verben)";
  }
  return "";
}
}  // namespace

bool readTolerantChecking(TTolerantScope scope) { return readTolerantChecking(TSettingsStore::global(), scope); }

void writeTolerantChecking(TTolerantScope scope, bool on) { writeTolerantChecking(TSettingsStore::global(), scope, on); }

bool readTolerantChecking(TSettingsStore& store, TTolerantScope scope) {
  const bool def = scope == TTolerantScope::Sprachlabor;
  return store.readBool(settingsKey(""), tolerantValue(scope)).value_or(def);
}

bool writeTolerantChecking(TSettingsStore& store, TTolerantScope scope, bool on) {
  return store.writeBool(settingsKey(""), tolerantValue(scope), on);
}

std::string TMachineProbe::executablePath() const { return zek::fromPath(executable); }

TMachineProbe TMachineProbe::real() {
  TMachineProbe p;
  p.executable = runningExecutable();
  p.removableRoots = [] {
    std::vector<std::string> roots;
    // /media/<user>/<label>, /run/media/<user>/<label>, /media/<label>, /mnt/<name>
    for (const std::string& user : subdirectories("/media/")) {
      for (const std::string& label : subdirectories(user)) roots.push_back(label);
    }
    for (const std::string& user : subdirectories("/run/media/")) {
      for (const std::string& label : subdirectories(user)) roots.push_back(label);
    }
    for (const std::string& d : subdirectories("/media/")) roots.push_back(d);
    for (const std::string& d : subdirectories("/mnt/")) roots.push_back(d);
    return roots;
  };
  p.driveOf = [](const std::string& dir) {
    const auto all = mounts();
    const Mount* m = mountOf(all, dir);
    return m ? m->point : std::string("/");
  };
  p.isCdrom = [](const std::string& dir) {
    const auto all = mounts();
    const Mount* m = mountOf(all, dir);
    return m && (m->type == "iso9660" || m->type == "udf");
  };
  return p;
}

void setMachineProbe(TMachineProbe probe) { probeSlot() = std::make_unique<TMachineProbe>(std::move(probe)); }

const TMachineProbe& machineProbe() {
  if (!probeSlot()) probeSlot() = std::make_unique<TMachineProbe>(TMachineProbe::real());
  return *probeSlot();
}

bool isContentRoot(const std::string& dir) {
  if (dir.empty()) return false;
  const std::string d = zek::withTrailingSeparator(dir);
  if (!zek::fileExists(d + "wave/ZEK_E")) return false;
  if (!zek::directoryExists(d + "Vokabeln (E)/Grundwortschatz/")) return false;
  if (Dirs().PageBase.empty() && !zek::fileExists(d + "ZEK_E/hzek/main.htx")) return false;
  return true;
}

void findContentRoot() {
  TDirectorySet& dirs = Dirs();
  if (!dirs.ContentRoot.empty() && isContentRoot(dirs.ContentRoot)) return;
  const std::string stored = readSettingString(kDirs, "CD-Laufwerk");
  dirs.ContentRoot = zek::withTrailingSeparator(stored);
  if (dirs.ContentRoot.empty() || !isContentRoot(dirs.ContentRoot)) {
    const TMachineProbe& probe = machineProbe();
    std::vector<std::string> candidates{dirs.ProgramDir};
    if (probe.driveOf) candidates.push_back(probe.driveOf(dirs.ProgramDir));
    if (probe.removableRoots) {
      for (const std::string& r : probe.removableRoots()) candidates.push_back(r);
    }
    dirs.ContentRoot.clear();
    for (const std::string& c : candidates) {
      if (isContentRoot(c)) {
        dirs.ContentRoot = zek::withTrailingSeparator(c);
        break;
      }
    }
  }
  if (!dirs.ContentRoot.empty()) {
    dirs.SoundDir = dirs.ContentRoot + "wave/";
    if (!hasBasicVocabulary(dirs.VocabBase)) dirs.VocabBase = dirs.ContentRoot + "Vokabeln (E)/";
    if (dirs.ContentRoot != zek::withTrailingSeparator(stored)) saveDirectorySettings(2);
    return;
  }
  dirs.SoundDir.clear();
  if (!hasBasicVocabulary(dirs.VocabBase)) {
    const std::string drive =
        machineProbe().driveOf ? machineProbe().driveOf(dirs.ProgramDir) : std::string("/");
    if (hasBasicVocabulary(dirs.ProgramDir + "Vokabeln (E)/")) {
      dirs.VocabBase = dirs.ProgramDir + "Vokabeln (E)/";
    } else if (hasBasicVocabulary(zek::withTrailingSeparator(drive) + "Vokabeln (E)/")) {
      dirs.VocabBase = zek::withTrailingSeparator(drive) + "Vokabeln (E)/";
    } else {
      dirs.VocabBase.clear();
    }
  }
}

void resolveDirectories() {
  TDirectorySet& dirs = Dirs();
  const TMachineProbe& probe = machineProbe();
  dirs.ProgramDir = zek::withTrailingSeparator(zek::directoryPart(probe.executablePath()));
  if (!(probe.isCdrom && probe.isCdrom(dirs.ProgramDir))) {
    // The real name, not its Windows-1252 form: "?" would name a file that isn't there.
    auto& store = TSettingsStore::global();
    if (store.readPath(settingsKey(kDirs), "Programm") != probe.executable) {
      store.writePath(settingsKey(kDirs), "Programm", probe.executable);
    }
  }
  dirs.PageBase = zek::withTrailingSeparator(readSettingString(kDirs, "HZEK"));
  if (!dirs.PageBase.empty() && !zek::fileExists(dirs.PageBase + "hzek/main.htx")) dirs.PageBase.clear();
  findContentRoot();
  if (dirs.VocabBase.empty()) return;
  if (dirs.PageBase.empty() || !zek::fileExists(dirs.PageBase + "hzek/main.htx")) {
    dirs.PageBase.clear();
    for (const std::string& c : {dirs.ProgramDir, dirs.ContentRoot.empty() ? std::string() : dirs.ContentRoot + "ZEK_E/"}) {
      if (!c.empty() && zek::fileExists(c + "hzek/main.htx")) {
        dirs.PageBase = c;
        break;
      }
    }
    if (dirs.PageBase.empty()) return;
  }
  dirs.UserVocabDir = zek::directoryPart(readSettingString(kDirs, "Vokabel-Dateien"));
  if (dirs.UserVocabDir.empty() || !zek::directoryExists(dirs.UserVocabDir)) dirs.UserVocabDir = dirs.VocabBase;

  struct DictValue { std::string* value; const char* setting; const char* defaultName; };
  const DictValue dicts[] = {{&dirs.DictFile1, "Datenbank1", "e_d.zek"},
                             {&dirs.DictFile2, "Datenbank2", "d_e.zek"},
                             {&dirs.DictFile3, "Datenbank3", "e_w.zek"}};
  for (const DictValue& d : dicts) *d.value = readSettingString(kDirs, d.setting);
  for (const DictValue& d : dicts) {
    if (!d.value->empty() && zek::fileExists(*d.value)) continue;
    if (zek::fileExists(dirs.ProgramDir + d.defaultName)) {
      *d.value = dirs.ProgramDir + d.defaultName;
    } else if (!dirs.ContentRoot.empty() && zek::fileExists(dirs.ContentRoot + "ZEK_E/" + d.defaultName)) {
      *d.value = dirs.ContentRoot + "ZEK_E/" + d.defaultName;
    } else {
      d.value->clear();
    }
  }
}
