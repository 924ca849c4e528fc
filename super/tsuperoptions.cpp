// SPDX-License-Identifier: GPL-3.0-or-later
#include "super/tsuperoptions.h"

#include "media/mediacommand.h"
#include "platform/appstate.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "platform/tclock.h"
#include "super/collectfiles.h"
#include "super/tsuperalternation.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

namespace {

using K = TSuperKind;
constexpr std::array<TSuperValueInfo, std::size_t(TSuperValue::Count)> kValues = {{
    {"Modus", K::Integer, 0, 1, 0},
    {"Schrift", K::String, 0, 0, 0},
    {"Schritte", K::Integer, 20, 1000, 200},
    {"Faktor", K::Integer, 50, 400, 100},
    {"TextDelay", K::Integer, 0, 100, 80},
    {"Madness", K::Integer, 1, 10, 9},
    {"Musik", K::Integer, 0, 2, 2},
    {"Sprachausgabe", K::Integer, 0, 1, 0},
    {"MP3", K::String, 0, 0, 0},
    {"CarsonBGRColor", K::ColorBgr, 0, 0, 0xFFFFFF},
    {"CarsonTXTColor", K::ColorBgr, 0, 0, 0},
    {"OhneHintergrund", K::Boolean, 0, 1, 0},
    {"Schwarz-Wei\xDF", K::Boolean, 0, 1, 0},
    {"TechnoRand", K::Integer, 0, 200, 100},
    {"TechnoBGRColor", K::ColorRgb, 0, 0, 0x000000},
    {"TechnoTextColor", K::ColorRgb, 0, 0, 0xFFFFFF},
    {"TechnoBMPColor", K::ColorRgb, 0, 0, 0x990099},
    {"TechnoPhotoDir", K::String, 0, 0, 0},
    {"TechnoScrolling", K::Boolean, 0, 1, 0},
    {"TechnoFading", K::Boolean, 0, 1, 1},
    {"TechnoMode", K::Integer, 0, 8, 0},
    {"TechnoFrameDelay", K::Integer, 0, 240000, 4000},  // the dialog's longest delay is 4 min
    {"TechnoTextDelay", K::Integer, 0, 100000, 3000},
    {"TechnoSpeed", K::Integer, -25, 25, 1},
    {"TechnoTransparenz", K::Integer, 0, 100, 40},
    {"TechnoSchrift", K::String, 0, 0, 0},
    {"DDTextDelay", K::Integer, 1000, 20000, 2000},
    {"DDCharDelay", K::Integer, 10, 1000, 40},
    {"DDBGRDelay", K::Integer, 0, 1200, 60},  // the dialog offers "20 Minuten"
    {"DD", K::String, 0, 0, 0},
}};

std::string superKey() { return settingsKey("\\Super"); }

bool isColor(TSuperKind k) { return k == K::ColorBgr || k == K::ColorRgb; }

// 0x00BBGGRR <-> 0x00RRGGBB.
int swapRedBlue(int c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

std::optional<int> parseHexColor(const std::string& s) {
  if (s.empty() || s.size() > 6) return std::nullopt;
  int v = 0;
  for (char c : s) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return std::nullopt;
    v = v * 16 + d;
  }
  return v;
}

bool fontAvailable(const char* face) {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return false;
  return QFontDatabase::hasFamily(QString::fromLatin1(face));
}

std::string defaultPhotoDir() {
  if (!Dirs().ContentRoot.empty() && zek::directoryExists(Dirs().ContentRoot + "Techno/")) return Dirs().ContentRoot + "Techno/";
  const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (!data.isEmpty()) {
    const std::string dir = zek::withTrailingSeparator(zek::fromPath(std::filesystem::path(data.toStdString()))) + "Techno/";
    if (zek::directoryExists(dir)) return dir;
  }
  return {};
}

}  // namespace

const TSuperValueInfo& superValueInfo(TSuperValue v) { return kValues[std::size_t(v)]; }

TSuperOptions::TSuperOptions(TSettingsStore* store) : m_store(store) {
  scanTextPages();
  load();
}

TSuperOptions::~TSuperOptions() {
  if (m_modified) save();
}

TSettingsStore& TSuperOptions::store() const { return m_store ? *m_store : TSettingsStore::global(); }

std::string TSuperOptions::defaultMp3Dir() { return Dirs().ProgramDir + "MP3/"; }

void TSuperOptions::setDefaults() {
  for (std::size_t i = 0; i < kValues.size(); ++i) m_ints[i] = kValues[i].def;
  m_texts[std::size_t(TSuperValue::Schrift)] = "Arial";
  m_texts[std::size_t(TSuperValue::TechnoPhotoDir)] = defaultPhotoDir();
  m_texts[std::size_t(TSuperValue::TechnoSchrift)] = fontAvailable("Andale Mono") ? "Andale Mono" : "courier new";
  m_texts[std::size_t(TSuperValue::DD)].clear();
  std::string& mp3 = m_texts[std::size_t(TSuperValue::MP3)];
  mp3 = defaultMp3Dir();
  if (zek::directoryExists(mp3)) scanMp3();
  else {
    mp3.clear();
    m_mp3Files.clear();
    m_recentMp3.clear();
  }
  if (m_mp3Files.empty()) m_ints[std::size_t(TSuperValue::Musik)] = kMusikNone;
  m_modus = 0;
  m_modified = true;
}

void TSuperOptions::load() {
  setDefaults();
  const std::string key = superKey();
  TSettingsStore& s = store();
  if (s.keyExists(key)) {
    // A colour group falls back whole when one of its colours cannot be read.
    bool carsonBad = false, technoBad = false;
    int colors[std::size_t(TSuperValue::Count)] = {};
    for (std::size_t i = 0; i < kValues.size(); ++i) {
      const TSuperValueInfo& info = kValues[i];
      switch (info.kind) {
        case K::Integer:
          if (const auto v = s.readInteger(key, info.name)) m_ints[i] = std::clamp(*v, info.min, info.max);
          break;
        case K::Boolean:
          if (const auto v = s.readBool(key, info.name)) m_ints[i] = *v ? 1 : 0;
          break;
        case K::String:
          if (const auto v = s.readString(key, info.name)) m_texts[i] = *v;
          break;
        case K::ColorBgr:
        case K::ColorRgb: {
          colors[i] = info.def;
          if (!s.valueExists(key, info.name)) break;
          const auto str = s.readString(key, info.name);
          const auto c = str ? parseHexColor(*str) : std::nullopt;
          if (!c) (info.kind == K::ColorBgr ? carsonBad : technoBad) = true;
          else colors[i] = info.kind == K::ColorBgr ? *c : swapRedBlue(*c);
          break;
        }
      }
    }
    for (std::size_t i = 0; i < kValues.size(); ++i) {
      if (!isColor(kValues[i].kind)) continue;
      const bool bad = kValues[i].kind == K::ColorBgr ? carsonBad : technoBad;
      m_ints[i] = bad ? (kValues[i].kind == K::ColorBgr ? kValues[i].def : swapRedBlue(kValues[i].def)) : colors[i];
    }
  } else {
    for (std::size_t i = 0; i < kValues.size(); ++i)
      if (kValues[i].kind == K::ColorRgb) m_ints[i] = swapRedBlue(kValues[i].def);
  }
  m_modus = m_ints[std::size_t(TSuperValue::Modus)];
  if (Dirs().ContentRoot.empty()) m_ints[std::size_t(TSuperValue::Sprachausgabe)] = 0;
  std::string& mp3 = m_texts[std::size_t(TSuperValue::MP3)];
  if (mp3.empty()) mp3 = defaultMp3Dir();
  mp3 = zek::withTrailingSeparator(mp3);
  m_mp3Files.clear();
  m_recentMp3.clear();
  if (zek::directoryExists(mp3)) scanMp3();
  else mp3.clear();
  // Only MP3 music needs the files: stored CD music stays.
  int& musik = m_ints[std::size_t(TSuperValue::Musik)];
  if (musik == kMusikMp3 && m_mp3Files.empty()) musik = kMusikNone;
  if (musik == kMusikCd) m_ints[std::size_t(TSuperValue::Sprachausgabe)] = 0;
  m_modified = false;
}

std::string TSuperOptions::storedForm(TSuperValue v) const {
  const std::size_t i = std::size_t(v);
  char buf[16];
  switch (kValues[i].kind) {
    case K::Integer:
    case K::Boolean: return std::to_string(m_ints[i]);
    case K::String: return m_texts[i];
    case K::ColorBgr: std::snprintf(buf, sizeof buf, "%06X", unsigned(m_ints[i])); return buf;
    case K::ColorRgb: std::snprintf(buf, sizeof buf, "%06X", unsigned(swapRedBlue(m_ints[i]))); return buf;
  }
  return {};
}

bool TSuperOptions::save() {
  const std::string key = superKey();
  TSettingsStore& s = store();
  bool ok = true;
  for (std::size_t i = 0; i < kValues.size(); ++i) {
    const TSuperValueInfo& info = kValues[i];
    switch (info.kind) {
      case K::Integer: ok &= s.writeInteger(key, info.name, m_ints[i]); break;
      case K::Boolean: ok &= s.writeBool(key, info.name, m_ints[i] != 0); break;
      default: ok &= s.writeString(key, info.name, storedForm(TSuperValue(i))); break;
    }
  }
  if (ok) m_modified = false;
  return ok;
}

void TSuperOptions::setValue(TSuperValue v, int value) {
  const std::size_t i = std::size_t(v);
  const TSuperValueInfo& info = kValues[i];
  if (info.kind == K::Integer) value = std::clamp(value, info.min, info.max);
  else if (info.kind == K::Boolean) value = value ? 1 : 0;
  else if (isColor(info.kind)) value &= 0xFFFFFF;
  else return;
  if (m_ints[i] == value) return;
  m_ints[i] = value;
  if (v == TSuperValue::Modus) m_modus = value;
  m_modified = true;
}

void TSuperOptions::setText(TSuperValue v, std::string_view text) {
  const std::size_t i = std::size_t(v);
  if (kValues[i].kind != K::String || m_texts[i] == text) return;
  m_texts[i] = std::string(text);
  m_modified = true;
}

void TSuperOptions::setModus(int mode) {
  m_modus = mode;
  setValue(TSuperValue::Modus, std::clamp(mode, 0, 1));
}

void TSuperOptions::scanMp3() {
  m_mp3Files.clear();
  m_recentMp3.clear();
  collectFiles(mp3Dir(), &m_mp3Files, ".mp3");
}

void TSuperOptions::scanTextPages() {
  m_textPages.clear();
  if (Dirs().PageBase.empty()) return;
  std::vector<std::string> files;
  const std::string dir = Dirs().PageBase + "hzek/SuperDD/";
  collectFiles(dir, &files, ".htx");
  // Pages are loaded as folder + name, so only those directly in the folder count.
  const std::string folder = zek::fromPath(zek::resolveName(dir));
  for (const std::string& f : files) {
    if (zek::withTrailingSeparator(zek::directoryPart(f)) != zek::withTrailingSeparator(folder)) continue;
    const std::string name = zek::fileNamePart(f);
    m_textPages.push_back(name.substr(0, name.size() - 4));
  }
}

void TSuperOptions::setMp3Dir(std::string_view path) {
  std::string dir(path);
  if (dir.empty()) {
    m_modified = true;
    return;
  }
  dir = zek::withTrailingSeparator(dir);
  if (zek::directoryExists(dir)) {
    m_texts[std::size_t(TSuperValue::MP3)] = dir;
    scanMp3();
    m_modified = true;
  } else {
    showMessage("MP3 : Das Verzeichnis \"" + std::string(path) + "\" existiert nicht!", 16);
    // The folder and its files go; changes made before stay to be saved.
    m_texts[std::size_t(TSuperValue::MP3)].clear();
    m_mp3Files.clear();
    m_recentMp3.clear();
    m_modified = true;
  }
}

void TSuperOptions::setMusik(int musik) {
  musik = std::clamp(musik, 0, 2);
  int& cur = m_ints[std::size_t(TSuperValue::Musik)];
  if (cur == musik) return;
  if (musik == kMusikMp3) {
    if (mp3Dir().empty()) return;
    scanMp3();
    if (m_mp3Files.empty()) return;
  }
  cur = musik;
  m_modified = true;
  if (musik == kMusikCd) m_ints[std::size_t(TSuperValue::Sprachausgabe)] = 0;
}

void TSuperOptions::setSprachausgabe(int on) {
  on = on ? 1 : 0;
  int& cur = m_ints[std::size_t(TSuperValue::Sprachausgabe)];
  if (cur == on) return;
  cur = on;
  m_modified = true;
  int& musik = m_ints[std::size_t(TSuperValue::Musik)];
  if (on && musik == kMusikCd) musik = kMusikNone;
}

void TSuperOptions::setTechnoPhotoDir(std::string_view path) {
  std::string& dir = m_texts[std::size_t(TSuperValue::TechnoPhotoDir)];
  if (dir != path) {
    dir = std::string(path);
    m_modified = true;
  }
  if (dir.empty()) {
    showMessage("Der Techno-Modus ben\xF6tigt ein Verzeichnis mit Bildern (JPG oder BMP)!", 16);
    return;
  }
  dir = zek::withTrailingSeparator(dir);
  if (!zek::directoryExists(dir)) {
    showMessage("Superlearning : Das Verzeichnis \"" + dir + "\" existiert nicht!", 16);
    dir.clear();
  } else if (collectFiles(dir, nullptr, ".jpg", ".bmp") == 0) {
    showMessage("Superlearning : Das Verzeichnis \"" + dir + "\" enth\xE4lt keine Bilder (JPG oder BMP)!", 16);
  }
}

// ---- music

int TSuperOptions::nextMp3() {
  const int n = int(m_mp3Files.size());
  if (n <= 1) return 0;
  int k;
  do k = zufall(n);
  while (std::find(m_recentMp3.begin(), m_recentMp3.end(), k) != m_recentMp3.end());
  m_recentMp3.push_back(k);
  if (int(m_recentMp3.size()) >= n || int(m_recentMp3.size()) > n / 2) m_recentMp3.erase(m_recentMp3.begin());
  return k;
}

void TSuperOptions::openNextMp3() {
  // Quiet: a message box must not cover a full-screen presentation.
  const std::string& file = m_mp3Files[std::size_t(nextMp3())];
  sendMediaCommand("open \"" + file + "\" type mpegvideo alias mp3", true);
  sendMediaCommand("play mp3", true);
}

void TSuperOptions::musicStart() {
  const int musik = value(TSuperValue::Musik);
  if (musik == kMusikCd) {
    sendMediaCommand("open cdaudio alias cd", true);
    if (sendMediaCommand("status cd type track 2", true) != "audio") return;
    sendMediaCommand("set cd time format tmsf", true);
    sendMediaCommand("play cd", true);
  } else if (musik == kMusikMp3 && !m_mp3Files.empty()) {
    openNextMp3();
  }
}

void TSuperOptions::musicPoll() {
  const int musik = value(TSuperValue::Musik);
  if (musik == kMusikCd) {
    if (sendMediaCommand("status cd mode", true) == "stopped") {
      sendMediaCommand("status cd current track", true);
      sendMediaCommand("status cd position", true);
      sendMediaCommand("seek cd to start", true);
      sendMediaCommand("play cd", true);
    }
  } else if (musik == kMusikMp3 && !m_mp3Files.empty()) {
    if (sendMediaCommand("status mp3 mode", true) == "stopped") {
      sendMediaCommand("close mp3", true);
      openNextMp3();
    }
  }
}

void TSuperOptions::musicStop() {
  const int musik = value(TSuperValue::Musik);
  if (musik == kMusikCd) {
    sendMediaCommand("stop cd", true);
    sendMediaCommand("close cd", true);
  } else if (musik == kMusikMp3) {
    sendMediaCommand("stop mp3", true);
    sendMediaCommand("close mp3", true);
  }
}

TSuperAlternationState& TSuperOptions::alternation() {
  if (!m_alternation) m_alternation = std::make_unique<TSuperAlternationState>();
  return *m_alternation;
}

TSuperOptions& superOptions() {
  static std::unique_ptr<TSuperOptions> options;
  if (!options) options = std::make_unique<TSuperOptions>();
  return *options;
}
