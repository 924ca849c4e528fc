// SPDX-License-Identifier: GPL-3.0-or-later
// zek-tool super-options: the superlearning values as the program sees them after loading.
#include "tools/zek-tool/command.h"

#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/messages.h"
#include "super/tsuperoptions.h"
#include "super/tsupersettingsdialog.h"

#include <QApplication>
#include <QTabWidget>

#include <iostream>

namespace {

int superOptions(const std::vector<std::string>& args) {
  if (!args.empty()) {
    std::cerr << "usage: zek-tool super-options\n";
    return 2;
  }
  resolveDirectories();
  TSuperOptions options;
  for (int i = 0; i < int(TSuperValue::Count); ++i) {
    const auto v = TSuperValue(i);
    printText(std::string(superValueInfo(v).name) + "=" + options.storedForm(v) + "\n");
  }
  std::cout << "mp3files=" << options.mp3Files().size() << "\n";
  std::cout << "textpages=" << options.textPages().size() << "\n";
  return 0;
}

int superDialog(const std::vector<std::string>& args) {
  int tab = 0;
  std::string out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--tab" && i + 1 < args.size()) tab = std::atoi(args[++i].c_str());
    else if (args[i] == "-o" && i + 1 < args.size()) out = args[++i];
    else out.clear(), tab = -1;
  }
  if (out.empty() || tab < 0 || tab > 5) {
    std::cerr << "usage: zek-tool super-dialog --tab N -o OUT.png   (N 0..5)\n";
    return 2;
  }
  const auto app = toolApplication<QApplication>();
  resolveDirectories();
  reportMessagesOnStderr();
  int rc = 0;
  {
    TSuperOptions options;
    TSuperSettingsDialog dialog(options);
    dialog.tabs()->setCurrentIndex(tab);
    dialog.show();
    QApplication::processEvents();
    if (!dialog.grab().toImage().save(QString::fromStdString(out), "PNG")) {
      std::cerr << "super-dialog: cannot write " << out << "\n";
      rc = 1;
    }
  }
  zek::setMessageAnswerer(nullptr);
  return rc;
}

TToolCommandRegistrar regDialog({"super-dialog", "super-dialog --tab N -o OUT.png",
                                 "renders a tab (0..5) of the superlearning settings dialog with the stored values",
                                 superDialog});

TToolCommandRegistrar regSuper({"super-options", "super-options",
                                "the superlearning settings after loading, one Name=value a line, "
                                "then mp3files=N and textpages=N",
                                superOptions});

}  // namespace
