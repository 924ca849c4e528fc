// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/tpagemodel.h"

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

enum class TIncludeStatus { Ok, NotFound, ReadError };

// What the reader needs from the page that shows the markup.
class THtxHost {
 public:
  virtual ~THtxHost() = default;

  // Index of the picture in the page's picture list, or -1 when it cannot be loaded
  // (the picture list has then shown its message).
  virtual int addPicture(const std::string& name) = 0;
  // Reads an included page file; the default reads it from disk as a page file.
  virtual TIncludeStatus readInclude(const std::string& resolvedName, std::string& text);
  // An installed screen font (FONT FACE).
  virtual bool fontInstalled(std::string_view face) const;

  virtual std::string xpath() const { return {}; }       // directory of the page on show, with separator
  virtual std::string pageOnShow() const { return {}; }  // full path of the page on show, "" for generated pages
  virtual bool exerciseMode() const { return false; }    // an exercise text is being read (IF #ex)
  virtual bool hasCondition(std::string_view name) const;
  virtual int pageWidth() const { return 800; }
  virtual int pageHeight() const { return 572; }
};

// A host with plain settable values; pictures are only numbered by name.
class TSimpleHtxHost : public THtxHost {
 public:
  int addPicture(const std::string& name) override;
  std::string xpath() const override { return m_xpath; }
  std::string pageOnShow() const override { return m_pageOnShow; }
  bool exerciseMode() const override { return m_exerciseMode; }
  bool hasCondition(std::string_view name) const override { return m_conditions.contains(name); }

  std::string m_xpath;
  std::string m_pageOnShow;
  bool m_exerciseMode = false;
  TBedingung m_conditions;
  std::vector<std::string> m_pictures;
};

// Reads htx markup into a page model. One reader per page: the style, the save slots and
// the conditional state carry over between calls of read (an exercise text, a generated
// page written in pieces).
class THtxReader {
 public:
  THtxReader(TPageModel& page, THtxHost& host, std::uint32_t seed = 1);

  // Reads `text` up to its end or its first NUL.
  void read(std::string_view text);

  const TTextStyle& style() const { return m_style; }
  // The page would grow beyond what any real page needs; reading stopped there, and the
  // page must not be shown.
  bool overBudget() const { return m_overBudget; }

  static constexpr int kMaxIncludeDepth = 16;
  static constexpr int kMaxIncludes = 256;
  static constexpr std::size_t kMaxIncludedBytes = 16u << 20;
  // What one page may become: records of every kind (items, links, boxes, pictures, map
  // areas, widgets) and word bytes. The largest shipped page has a few thousand records;
  // these bounds keep a page, laid out and painted, within about 256 MB.
  static constexpr std::size_t kMaxRecords = 200000;
  static constexpr std::size_t kMaxTextBytes = 4u << 20;

 private:
  void readText(std::string_view text, int depth);
  std::size_t readWord(std::string_view text, std::size_t pos, bool literalLess);
  void whitespace();
  void finishTitle();
  void addItem(TItemKind kind, std::int32_t index = -1);
  void tag(std::string_view text, int depth);

  void fontTag(std::string_view attrs);
  void namedStyle(std::string_view tagText, std::string_view upperName);
  void anchorTag(std::string_view attrs);
  void endAnchor();
  void boxTag(std::string_view attrs);
  void bodyTag(std::string_view attrs);
  void imgTag(std::string_view attrs);
  void mapTag(std::string_view attrs);
  void areaTag(std::string_view attrs);
  void colorsTag(std::string_view attrs);
  void aliasTag(std::string_view attrs);
  void ifTag(std::string_view attrs);
  void includeTag(std::string_view attrs, int depth);
  void editTag(std::string_view attrs);
  void multipleTag(std::string_view attrs);
  void buttonTag(std::string_view attrs);
  void klotzTag(std::string_view attrs);
  void satzTag(std::string_view attrs);
  void tabTag(std::string_view digits);
  void wordGroup();

  TColor color(std::string_view value) const;
  void setFace(std::string_view list);

  TPageModel& m_page;
  THtxHost& m_host;
  TTextStyle m_style;
  // Single-level save slots of the constructs that restore on their closing tag.
  TTextStyle m_fontSlot, m_ttSlot, m_preSlot, m_hSlot, m_emSlot, m_aSlot;
  TTextStyle m_invBefore;
  TColor m_invColor = 0, m_invBgColor = 0;
  bool m_invOpen = false;
  bool m_ifOpen = false;
  bool m_ifHidden = false;    // the IF part is hidden
  bool m_condHidden = false;  // what is read now is hidden by a condition
  bool m_titleHidden = false;
  bool m_titleOpen = false;   // the text up to the next tag is the title
  std::string m_titleText;
  std::int16_t m_pendingTab = 0;
  int m_lastGroup = -1;
  std::minstd_rand m_random;
  std::vector<std::string> m_includeStack;
  int m_includes = 0;
  std::size_t m_includedBytes = 0;
  bool m_includeLimitShown = false;
  std::size_t m_areas = 0;
  bool m_overBudget = false;
  bool budgetSpent();
};

// An exercise container (".zek"): "ZEK!", two digits, then prefix, "<EX>" before every
// exercise, "</EX>" after the last, suffix.
struct TExerciseFile {
  bool ok = false;  // the identifier was right
  int count = -1;   // the two digits, -1 when unreadable
  std::string prefix;
  std::vector<std::string> exercises;
  std::string suffix;
  // prefix + exercise + suffix, the markup of one exercise.
  std::string exerciseText(std::size_t index) const;
};

TExerciseFile parseExerciseFile(std::string_view text);
// The same, showing "Falsches Format (ID)" when the identifier is wrong.
TExerciseFile readExerciseFileOrReport(std::string_view text);

// Convenience: reads `text` into a cleared `page`; false when the page ran over the
// reader's bounds (what was read up to there is in `page`).
bool readHtxPage(TPageModel& page, THtxHost& host, std::string_view text);
