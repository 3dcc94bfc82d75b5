// The floor for the benchmarks: a bare Qt Widgets program of the program's own shape,
// started the way the program starts: a maximised main window with a menu bar of one
// menu with one item, an MDI area as its client area, and in it one frameless child
// window of the welcome screen's size. No pictures, no fonts of our own, no toolkit.
#include "first_expose.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

namespace {

// The sizes of the program's main window and welcome screen, in pixels.
constexpr QSize mainWindowSize(662, 455);
constexpr QSize childWindowSize(744, 448);
constexpr QColor clientBackground(234, 226, 138);

} // namespace

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("bare_window"));
  QApplication::setStyle(QStringLiteral("Fusion"));
  FirstExposeReporter::installIfAsked();

  QMainWindow window;
  auto *area = new QMdiArea(&window);
  area->setBackground(clientBackground);
  window.setCentralWidget(area);
  window.setWindowTitle(QStringLiteral("bare window"));
  window.resize(mainWindowSize);
  QMenu *menu = window.menuBar()->addMenu(QStringLiteral("OPENEN "));
  menu->addAction(QStringLiteral("&Basis"));

  auto *child = new QWidget;
  child->setFixedSize(childWindowSize);
  auto *subWindow = new QMdiSubWindow(area, Qt::FramelessWindowHint);
  subWindow->setWidget(child);
  area->addSubWindow(subWindow);
  subWindow->show();

  if (QScreen *screen = window.screen()) {
    window.setGeometry(screen->availableGeometry());
  }
  window.showMaximized();
  return QApplication::exec();
}
