// SPDX-License-Identifier: GPL-3.0-or-later
// Every page of the installation reads without a message, and every link, include and
// picture it names exists; page commands are ones the main window knows.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "page/htxreader.h"
#include "page/pagefile.h"
#include "page/targetpath.h"
#include "page/txpage.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "tests/common/testutil.h"

namespace {

namespace fs = std::filesystem;

fs::path pageDir() { return zek::test::distDir() / "ZEK_E" / "hzek"; }

// Command rows of the main window: exact names, then prefixes that take a number.
bool knownCommand(const std::string& part) {
  static const std::set<std::string> exact = {"lab",
                                              "stop",
                                              "editor",
                                              "wb",
                                              "recsetup",
                                              "wavebase",
                                              "vocein",
                                              "simple",
                                              "mainpopup",
                                              "verbmanuell",
                                              "verb",
                                              "vocaus",
                                              "verbweiter",
                                              "vokabelweiter",
                                              "vt0",
                                              "vt1",
                                              "vt2",
                                              "vt3",
                                              "vt4",
                                              "s1",
                                              "s2",
                                              "s3",
                                              "s4",
                                              "gws",
                                              "aws",
                                              "reise",
                                              "bereich_egal",
                                              "klassisch",
                                              "abgedreht",
                                              "abfrage",
                                              "go",
                                              "vegas",
                                              "vabfrage",
                                              "super",
                                              "superopts",
                                              "www",
                                              "seekcd",
                                              "end",
                                              "vokfaellig",
                                              "verbfaellig",
                                              "lernfortschritt"};
  if (exact.contains(part)) return true;
  const auto digitsAfter = [&](std::size_t n) {
    return part.size() > n &&
           std::all_of(part.begin() + long(n), part.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (part.rfind("sm", 0) == 0) return digitsAfter(2);
  if (part.rfind("thema", 0) == 0) return part == "themax" || (part.size() == 7 && digitsAfter(5));
  return false;
}

std::vector<std::string> commandParts(const std::string& command) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= command.size()) {
    const std::size_t comma = std::min(command.find(',', start), command.size());
    std::string part = zek::lowerCase(command.substr(start, comma - start));
    if (!part.empty() && part[0] != '#') parts.push_back(part);
    start = comma + 1;
  }
  return parts;
}

struct TPageProblems {
  std::vector<std::string> list;
  void add(const std::string& page, const std::string& what) { list.push_back(page + ": " + what); }
};

void checkModel(const std::string& page, const std::string& xpath, const TPageModel& model, const TSimpleHtxHost& host,
                TPageProblems& problems) {
  for (const TLinkRecord& link : model.links) {
    if (link.kind != TLinkKind::Target) continue;
    std::string t = link.name.substr(0, link.name.find('@'));
    if (link.name.empty()) problems.add(page, "link with an empty target");
    if (!t.empty() && t.front() == '#') {
      const std::string* alias = model.linkAlias(t);
      t = alias ? *alias : std::string();
    }
    if (t.rfind("\xA7", 0) == 0) {
      const bool bracket = t.size() > 1 && t[1] == '[';
      const std::size_t close = bracket ? t.find(']') : std::string::npos;
      const std::string command =
          bracket ? t.substr(2, close == std::string::npos ? std::string::npos : close - 2) : t.substr(1);
      for (const std::string& part : commandParts(command))
        if (!knownCommand(part)) problems.add(page, "unknown page command \"" + part + "\" in " + link.name);
      t = bracket && close != std::string::npos ? t.substr(close + 1) : std::string();
    }
    if (t.empty() || t == "-" || t == "END" || zek::lowerCase(t) == "ex") continue;
    const std::string path = resolveTargetPath(t, xpath);
    if (path.empty() || !zek::fileExists(path)) problems.add(page, "link to a missing file: " + link.name);
  }
  for (const std::string& picture : host.m_pictures) {
    const std::string name = picture.rfind('*', 0) == 0 ? picture.substr(1) : picture;
    if (!zek::fileExists(nameBelowXPath(zek::forwardSlashes(name), xpath)))
      problems.add(page, "missing picture " + name);
  }
  if (!model.background.empty() && !zek::fileExists(nameBelowXPath(zek::forwardSlashes(model.background), xpath)))
    problems.add(page, "missing background " + model.background);
}

void readAndCheck(const std::string& page, const std::string& xpath, const std::string& pagePath,
                  const std::string& text, bool exercise, TPageProblems& problems) {
  zek::ScriptedDialogs dialogs;
  TSimpleHtxHost host;
  host.m_xpath = xpath;
  host.m_pageOnShow = pagePath;
  host.m_exerciseMode = exercise;
  host.m_conditions.add("e");
  TPageModel model;
  readHtxPage(model, host, text);
  for (const std::string& message : dialogs.texts()) problems.add(page, "message \"" + message + "\"");
  checkModel(page, xpath, model, host, problems);
}

TEST(ShippedPages, EveryLinkIncludeAndPictureResolves) {
  ASSERT_TRUE(fs::is_directory(pageDir())) << pageDir();
  TPageProblems problems;
  int pages = 0, exercises = 0;
  for (const auto& entry : fs::recursive_directory_iterator(pageDir())) {
    if (!entry.is_regular_file()) continue;
    const std::string ext = zek::extensionLower(zek::fromPath(entry.path()));
    if (ext != ".htx" && ext != ".zek") continue;
    const std::string path = zek::fromPath(entry.path());
    const std::string page = zek::fromPath(fs::relative(entry.path(), pageDir()));
    const std::string xpath = zek::withTrailingSeparator(zek::fromPath(entry.path().parent_path()));
    const TPageFile file = readPageFile(entry.path());
    ASSERT_TRUE(file.ok()) << page;
    ++pages;
    if (ext == ".htx") {
      readAndCheck(page, xpath, path, file.text, false, problems);
      continue;
    }
    const TExerciseFile ex = parseExerciseFile(file.text);
    ASSERT_TRUE(ex.ok) << page << ": no ZEK! identifier";
    EXPECT_GT(ex.count, 0) << page;
    EXPECT_GE(ex.exercises.size(), std::size_t(ex.count)) << page;
    for (std::size_t i = 0; i < ex.exercises.size(); ++i, ++exercises)
      readAndCheck(page + " #" + std::to_string(i + 1), xpath, path, ex.exerciseText(i), true, problems);
  }
  EXPECT_GE(pages, 10);
  EXPECT_GE(exercises, 10);
  for (const std::string& p : problems.list) ADD_FAILURE() << p;
}

TEST(ShippedPages, PagesTheProgramNamesExist) {
  for (const char* name :
       {"main.htx", "bye.htx", "vokabeln.htx", "verben.htx", "vokab.htx", "verbabfrage.htx", "bingo/intro.htx",
        "bingo/start.htx", "bingo/again.htx", "bingo/bingo.txt", "e_gfx/carwash.jpg"})
    EXPECT_TRUE(zek::fileExists(zek::fromPath(pageDir() / name))) << name;
}

// The quiz pages draw on the styles and colours of their frame page.
TEST(ShippedPages, QuizFramesDefineWhatGeneratedPagesUse) {
  for (const char* frame : {"vokab.htx", "verbabfrage.htx"}) {
    const TPageFile file = readPageFile(pageDir() / frame);
    ASSERT_TRUE(file.ok()) << frame;
    zek::ScriptedDialogs dialogs;
    TSimpleHtxHost host;
    host.m_xpath = zek::withTrailingSeparator(zek::fromPath(pageDir()));
    TPageModel model;
    readHtxPage(model, host, file.text);
    EXPECT_TRUE(dialogs.texts().empty()) << frame;
    EXPECT_NE(model.findStyle("D"), nullptr) << frame;
    EXPECT_NE(model.findStyle("H"), nullptr) << frame;
    EXPECT_NE(model.colorAlias("flashcol"), nullptr) << frame;
    EXPECT_NE(model.colorAlias("richtig"), nullptr) << frame;
  }
}

// Laid out at the window's size with the real fonts, no words of a shipped page run into
// each other: words of two boxes never overlap, and a tab column neither collides with the
// word before it nor wraps away from its row.
TEST(ShippedPages, WordsKeepToTheirBoxesAndColumns) {
  zek::ScriptedDialogs dialogs;
  TPageProblems problems;
  int pages = 0;
  for (const auto& entry : fs::recursive_directory_iterator(pageDir())) {
    const std::string ext = zek::extensionLower(zek::fromPath(entry.path()));
    if (!entry.is_regular_file() || (ext != ".htx" && ext != ".zek")) continue;
    const std::string name = zek::fromPath(fs::relative(entry.path(), pageDir()));
    const TPageFile file = readPageFile(entry.path());
    ASSERT_TRUE(file.ok()) << name;
    std::vector<std::pair<std::string, std::string>> shown;  // name, markup
    if (ext == ".htx") {
      shown.emplace_back(name, file.text);
    } else {
      const TExerciseFile ex = parseExerciseFile(file.text);
      for (std::size_t i = 0; i < ex.exercises.size(); ++i)
        shown.emplace_back(name + " #" + std::to_string(i + 1), ex.exerciseText(i));
    }
    for (const auto& [page, markup] : shown) {
      TXPage view;
      view.resize(800, 572);
      view.setXPath(zek::withTrailingSeparator(zek::fromPath(entry.path().parent_path())));
      view.ShowHTML(markup);
      ++pages;
      const TPageModel& model = view.Model();
      struct TPlaced {
        std::size_t item;
        int box;
        TRect rect;
      };
      std::vector<TPlaced> words;
      int box = -1;
      for (std::size_t i = 0; i < model.items.size(); ++i) {
        const TPageItem& item = model.items[i];
        if (item.kind == TItemKind::BoxStart) box = item.index;
        if (item.kind == TItemKind::Word && item.width > 0) words.push_back({i, box, itemRect(item)});
      }
      const auto text = [&](std::size_t i) {
        return "\"" + model.text.substr(model.items[i].textOffset, model.items[i].textLength) + "\"";
      };
      for (std::size_t a = 0; a < words.size(); ++a) {
        for (std::size_t b = a + 1; b < words.size(); ++b) {
          if (words[a].box != words[b].box && words[a].rect.intersects(words[b].rect))
            problems.add(page, text(words[a].item) + " overlaps " + text(words[b].item));
        }
        // A tab column: the word placed at the tab stands on the row of the word before it.
        const TPageItem& word = model.items[words[a].item];
        if (word.tab == 0 || a == 0 || words[a - 1].box != words[a].box) continue;
        const TPageItem& before = model.items[words[a - 1].item];
        const bool rowBreak = std::any_of(
            model.items.begin() + long(words[a - 1].item), model.items.begin() + long(words[a].item),
            [](const TPageItem& i) { return i.kind == TItemKind::LineBreak || i.kind == TItemKind::Paragraph; });
        if (rowBreak) continue;
        if (word.y != before.y)
          problems.add(page, "the column " + text(words[a].item) + " wraps to the next line");
        else if (word.x < before.x + before.width + 3)
          problems.add(page, text(words[a].item) + " runs into " + text(words[a - 1].item));
      }
    }
  }
  EXPECT_GE(pages, 10);
  for (const std::string& p : problems.list) ADD_FAILURE() << p;
}

}  // namespace
