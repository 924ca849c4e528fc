#include "app/startup.h"
#include "drive/tdriver.h"
#include "platform/qttranslations.h"

#include <QApplication>
#include <QLocale>

#include <cstdlib>

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  // A driven run needs no screen: without one it draws off-screen.
  if (!args.empty() && args[0] == "--drive" && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
  QApplication app(argc, argv);
  // Every text the learner sees is German, numbers included ("2,5 s"), whatever the machine's locale.
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  installGermanQtTexts(app);
  if (!args.empty() && args[0] == "--drive") return runDriven(args);
  return runProgram(args);
}
