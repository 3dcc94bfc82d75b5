// Honderdtafels: the tables with whole hundreds, against the clock.
#include "first_expose.h"
#include "shell/program.h"
#include "shell/qt/backend.h"

#include <QApplication>

int main(int argc, char *argv[]) {
  qtb::preferPlaceableWindows(argc, argv);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Honderdtafels"));
  QApplication::setStyle(QStringLiteral("Fusion"));
  FirstExposeReporter::installIfAsked();

  qtb::QtBackend backend;
  tk::Desktop desktop(backend.clock(), backend);
  backend.attach(desktop);
  Program program(desktop);
  program.start();
  return QApplication::exec();
}
