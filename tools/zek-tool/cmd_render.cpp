// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/zek-tool/command.h"

#include "page/txpage.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <QApplication>
#include <QImage>

#include <filesystem>
#include <iostream>
#include <memory>

namespace {

constexpr const char* kUsage = "render PAGE -o OUT.png [--cond A,B] [--size 800x572] [--scroll Y] [--layout]";
constexpr const char* kHelp =
    "lays out and paints PAGE through the page view and writes the visible part (widgets included)\n"
    "      as a PNG. --cond sets conditions (IF), --size the page size (default 800x572), --scroll the scroll offset, --layout prints\n"
    "      the layout (one line per item: position, width, ascent, descent). Runs without a display;\n"
    "      message boxes go to stderr as \"message: <text>\".";

int runRender(const std::vector<std::string>& args) {
  std::string page, out;
  std::vector<std::string> conditions;
  int width = 800, height = 572;
  bool layout = false;
  int scroll = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size()) {
      out = args[++i];
    } else if (args[i] == "--cond" && i + 1 < args.size()) {
      const std::string list = zek::utf8ToCp1252(args[++i]);
      std::size_t start = 0;
      while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        if (comma > start) conditions.push_back(list.substr(start, comma - start));
        start = comma + 1;
      }
    } else if (args[i] == "--size" && i + 1 < args.size()) {
      if (std::sscanf(args[++i].c_str(), "%dx%d", &width, &height) != 2 || width < 16 || height < 16 ||
          width > 8000 || height > 8000) {
        std::cerr << "render: --size wants WIDTHxHEIGHT, for example 800x572\n";
        return 2;
      }
    } else if (args[i] == "--scroll" && i + 1 < args.size()) {
      scroll = std::atoi(args[++i].c_str());
    } else if (args[i] == "--layout") {
      layout = true;
    } else if (page.empty()) {
      page = args[i];
    } else {
      std::cerr << "usage: zek-tool " << kUsage << "\n";
      return 2;
    }
  }
  if (page.empty() || (out.empty() && !layout)) {
    std::cerr << "usage: zek-tool " << kUsage << "\n";
    return 2;
  }
  const auto app = toolApplication<QApplication>();
  reportMessagesOnStderr();

  auto view = std::make_unique<TXPage>();
  view->resize(width, height);
  for (const std::string& c : conditions) view->setCondition(c, true);
  const std::filesystem::path path = std::filesystem::absolute(page);
  view->setXFile(zek::fromPath(path));
  int rc = 0;
  if (view->XFile().empty()) {
    rc = 1;
  } else {
    if (layout) printText(dumpLayout(view->Model(), view->Layout()));
    view->ScrollTo(scroll);
    if (!out.empty()) {
      const QImage image = view->grab().toImage();
      if (!image.save(QString::fromStdString(out), "PNG")) {
        std::cerr << "render: cannot write " << out << "\n";
        rc = 1;
      }
    }
  }
  view.reset();
  zek::setMessageAnswerer(nullptr);
  return rc;
}

TToolCommandRegistrar reg({"render", kUsage, kHelp, runRender});

}  // namespace
