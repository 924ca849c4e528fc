#include <QApplication>
#include <QWidget>

// Start-up is filled in by the application shell; until then the program opens its
// black, borderless main window.
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("zek englisch");
  QWidget main;
  main.setWindowFlags(Qt::FramelessWindowHint);
  main.setFixedSize(800, 572);
  main.setStyleSheet("background: black");
  main.show();
  return QApplication::exec();
}
