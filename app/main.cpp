#include "app/startup.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  return runProgram(std::vector<std::string>(argv + 1, argv + argc));
}
