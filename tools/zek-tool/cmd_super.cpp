// zek-tool super-options: the superlearning values as the program sees them after loading.
#include "tools/zek-tool/command.h"

#include "platform/appstate.h"
#include "super/tsuperoptions.h"

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

TToolCommandRegistrar regSuper({"super-options", "super-options",
                                "the superlearning settings after loading, one Name=value a line, "
                                "then mp3files=N and textpages=N",
                                superOptions});

}  // namespace
