// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TSettingsStore;

// The process-wide directory set and shell state. Every directory value ends with "/"
// or is empty; file values are full names or empty. Names are Windows-1252.
struct TDirectorySet {
  std::string ProgramDir;
  std::string ContentRoot;
  std::string PageBase;
  std::string SoundDir;
  std::string VocabBase;
  std::string UserVocabDir;
  std::string DictFile1;  // English-German, "e_d.zek"
  std::string DictFile2;  // German-English, "d_e.zek"
  std::string DictFile3;  // word-to-recording store, "e_w.zek"
};

struct TAppState {
  TDirectorySet dirs;
  std::string StartPage;       // page file relative to the page directory
  std::string PendingCommand;  // page command the next main window runs
  bool OnlineHelp = true;
  int BackdropColor = 8421504;  // 0x00BBGGRR
  bool PresentationRunning = false;
};

TAppState& appState();
inline TDirectorySet& Dirs() { return appState().dirs; }

// Settings below "SOFTWARE\ZEK\zek englisch": sub-key "" is the key itself,
// "\Verzeichnisse" the directories.
inline constexpr const char* kMainKey = "SOFTWARE\\ZEK\\zek englisch";
std::string settingsKey(std::string_view subKey);

// A failed read yields the default; an empty string is replaced by a non-empty default.
std::string readSettingString(std::string_view subKey, std::string_view name, std::string_view def = {});
int readSettingInteger(std::string_view subKey, std::string_view name, int def);

// Bit 1 writes "Vokabel-Dateien" = UserVocabDir, bit 2 "CD-Laufwerk" = ContentRoot; empty values are skipped.
void saveDirectorySettings(int bits);
// Writes "Online-Hilfe" ("AN"/"AUS") and "Hintergrund".
void saveGeneralSettings();

// "Antworten großzügig prüfen", one switch per trainer in the general key: on by default in
// the language lab, off in the vocabulary quiz and the verb trainer.
enum class TTolerantScope { Sprachlabor, Vokabeln, Verben };
bool readTolerantChecking(TTolerantScope scope);
void writeTolerantChecking(TTolerantScope scope, bool on);
// The same against another store (the trainers take theirs from their owner; tests give one).
bool readTolerantChecking(TSettingsStore& store, TTolerantScope scope);
bool writeTolerantChecking(TSettingsStore& store, TTolerantScope scope, bool on);

// What directory resolution asks of the machine; replaced in tests.
struct TMachineProbe {
  // Full name of the running program as the file system spells it; it may hold characters
  // that Windows-1252 lacks, which `executablePath` shows as "?".
  std::filesystem::path executable;
  std::string executablePath() const;
  // Candidate content roots after the program directory: removable-media mount points,
  // in order (each ending with "/").
  std::function<std::vector<std::string>()> removableRoots;
  // Root of the file system that holds a directory (the "drive"), ending with "/".
  std::function<std::string(const std::string&)> driveOf;
  // Whether a directory lies on a CD-ROM (iso9660 or udf mount).
  std::function<bool(const std::string&)> isCdrom;

  static TMachineProbe real();
};

void setMachineProbe(TMachineProbe probe);
const TMachineProbe& machineProbe();

bool isContentRoot(const std::string& dir);
void findContentRoot();
void resolveDirectories();
