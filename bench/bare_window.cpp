// The baseline for the benchmarks: a bare Qt Widgets window, started the way the
// program starts.
#include "first_expose.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  FirstExposeReporter::installIfAsked();
  QMainWindow window;
  window.show();
  return QApplication::exec();
}
