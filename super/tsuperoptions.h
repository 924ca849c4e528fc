// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TSettingsStore;
struct TSuperAlternationState;

// Every stored superlearning value, in the order of the settings table.
enum class TSuperValue {
  Modus, Schrift, Schritte, Faktor, TextDelay, Madness, Musik, Sprachausgabe, MP3,
  CarsonBGRColor, CarsonTXTColor, OhneHintergrund, SchwarzWeiss,
  TechnoRand, TechnoBGRColor, TechnoTextColor, TechnoBMPColor, TechnoPhotoDir, TechnoScrolling, TechnoFading,
  TechnoMode, TechnoFrameDelay, TechnoTextDelay, TechnoSpeed, TechnoTransparenz, TechnoSchrift,
  DDTextDelay, DDCharDelay, DDBGRDelay, DD,
  Count
};

enum class TSuperKind { Integer, String, ColorBgr, ColorRgb, Boolean };

struct TSuperValueInfo {
  const char* name;  // value name below the "Super" key
  TSuperKind kind;
  int min, max, def;  // integers; booleans use def only
};
const TSuperValueInfo& superValueInfo(TSuperValue v);

enum : int { kMusikNone = 0, kMusikCd = 1, kMusikMp3 = 2 };

// The superlearning settings below "SOFTWARE\ZEK\zek englisch\Super", and the background
// music. Colours are held as platform colour values (0x00BBGGRR) whatever their stored
// byte order. Saved on destruction when something changed.
class TSuperOptions {
 public:
  // Scans the text pages, sets the defaults and loads; `store` nothing = the global store.
  explicit TSuperOptions(TSettingsStore* store = nullptr);
  ~TSuperOptions();
  TSuperOptions(const TSuperOptions&) = delete;
  TSuperOptions& operator=(const TSuperOptions&) = delete;

  void setDefaults();
  void load();
  bool save();

  // Integers, booleans and colours; strings through text().
  int value(TSuperValue v) const { return m_ints[std::size_t(v)]; }
  const std::string& text(TSuperValue v) const { return m_texts[std::size_t(v)]; }
  // The stored form of a value ("FFFFFF", "1", "Arial").
  std::string storedForm(TSuperValue v) const;

  // Plain setters: clamp integers, set the modified flag only on a change. Music, speech,
  // the MP3 and Techno picture directories have their own rules below.
  void setValue(TSuperValue v, int value);
  void setText(TSuperValue v, std::string_view text);

  void setMp3Dir(std::string_view path);
  void setMusik(int musik);
  void setSprachausgabe(int on);
  void setTechnoPhotoDir(std::string_view path);
  // The presentation style of this run; only 0 and 1 are stored.
  void setModus(int mode);
  int modus() const { return m_modus; }

  bool modified() const { return m_modified; }
  const std::string& mp3Dir() const { return m_texts[std::size_t(TSuperValue::MP3)]; }
  const std::vector<std::string>& mp3Files() const { return m_mp3Files; }
  const std::vector<int>& recentMp3() const { return m_recentMp3; }
  const std::vector<std::string>& textPages() const { return m_textPages; }
  static std::string defaultMp3Dir();

  // Background music through the media service.
  void musicStart();
  void musicPoll();
  void musicStop();
  // Index of the next MP3 file: no repeat among the recent ones.
  int nextMp3();

  // Where the page styles' word-and-meaning alternation stands (tsuperalternation.h).
  TSuperAlternationState& alternation();

 private:
  void scanMp3();
  void scanTextPages();
  void openNextMp3();
  TSettingsStore& store() const;

  TSettingsStore* m_store;
  int m_ints[std::size_t(TSuperValue::Count)] = {};
  std::string m_texts[std::size_t(TSuperValue::Count)];
  int m_modus = 0;
  bool m_modified = false;
  std::vector<std::string> m_mp3Files;
  std::vector<int> m_recentMp3;
  std::vector<std::string> m_textPages;
  std::unique_ptr<TSuperAlternationState> m_alternation;
};

// The options of the running program, created on first use (the presentations that do not
// free them share them).
TSuperOptions& superOptions();
