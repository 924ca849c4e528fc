// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/zek-tool/command.h"

#include "page/htxreader.h"
#include "page/itemdump.h"
#include "page/pagefile.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <filesystem>
#include <iostream>

namespace {

constexpr const char* kHelp =
    "reads PAGE through the page reader and the htx reader and prints its items, one a line:\n"
    "      first  title \"<title>\", then per item one of  word \"<text>\" [tab=N% | tab=Npx],  space,  br,  p,\n"
    "      box <n>,  img <picture>, followed by \" | b=0 i=0 u=0 align=left face=\"Arial\" size=3 color=text\n"
    "      bgcolor=- link=- widget=- group=- pre=0\". Flags are 0/1; align left|center|right|justify;\n"
    "      colours #RRGGBB, i<n> (palette) or text/link (the page's colours); bgcolor - when no background\n"
    "      is drawn; link, widget (gap<n>, drag<n>) and group - for none. Quoted texts are UTF-8 with \\\" \\\\\n"
    "      \\r \\t \\xNN escapes. Pictures are numbered by name, not loaded; includes are read from disk;\n"
    "      message boxes go to stderr as \"message: <text>\". Without a display only the standard faces\n"
    "      (Arial, Times New Roman, Courier New, Verdana, Comic Sans MS) count as installed.\n"
    "      --cond e,cdrom   set these conditions (IF)\n"
    "      --exercise N     for a .zek exercise file: read prefix + exercise N (from 1) + suffix\n"
    "      --records        after the items, print boxes, pictures, links, maps and widget records";

int runItems(const std::vector<std::string>& args) {
  TSimpleHtxHost host;
  std::string page;
  bool records = false;
  int exercise = 1;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--cond" && i + 1 < args.size()) {
      std::string list = zek::utf8ToCp1252(args[++i]);
      std::size_t start = 0;
      while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        if (comma > start) host.m_conditions.add(list.substr(start, comma - start));
        start = comma + 1;
      }
    } else if (args[i] == "--exercise" && i + 1 < args.size()) {
      exercise = std::max(1, std::atoi(args[++i].c_str()));
    } else if (args[i] == "--records") {
      records = true;
    } else if (page.empty()) {
      page = args[i];
    } else {
      std::cerr << "usage: zek-tool items PAGE [--cond A,B] [--exercise N] [--records]\n";
      return 2;
    }
  }
  if (page.empty()) {
    std::cerr << "usage: zek-tool items PAGE [--cond A,B] [--exercise N] [--records]\n";
    return 2;
  }

  reportMessagesOnStderr();

  const std::filesystem::path path = std::filesystem::absolute(page);
  const TPageFile file = readPageFile(path);
  if (!file.ok()) {
    std::cerr << zek::cp1252ToUtf8(pageFileErrorText(file.status, zek::fromPath(path))) << "\n";
    return 1;
  }
  const std::string name = zek::fromPath(zek::resolvePath(path));
  host.m_pageOnShow = name;
  host.m_xpath = zek::directoryPart(name);

  std::string text = file.text;
  if (zek::extensionLower(name) == ".zek") {
    const TExerciseFile ex = readExerciseFileOrReport(file.text);
    if (!ex.ok) return 1;
    if (std::size_t(exercise) > ex.exercises.size()) {
      std::cerr << "the file holds " << ex.exercises.size() << " exercises\n";
      return 1;
    }
    text = ex.exerciseText(std::size_t(exercise - 1));
    host.m_exerciseMode = true;
  }

  TPageModel model;
  if (!readHtxPage(model, host, text)) {
    std::cerr << zek::cp1252ToUtf8(pageFileErrorText(TPageFileStatus::TooLarge, zek::fromPath(path))) << "\n";
    zek::setMessageAnswerer(nullptr);
    return 1;
  }
  printText(dumpItems(model));
  if (records) printText(dumpRecords(model));
  zek::setMessageAnswerer(nullptr);
  return 0;
}

TToolCommandRegistrar reg({"items", "items PAGE [--cond A,B] [--exercise N] [--records]", kHelp, runItems});

}  // namespace
