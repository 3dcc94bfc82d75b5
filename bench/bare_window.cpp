// The floor for the benchmarks: a bare Qt Widgets program of the program's own shape,
// started the way the program starts: a maximised main window with a menu bar of one
// menu with one item, an MDI area as its client area, and in it one frameless child
// window of the welcome screen's size. No pictures, no fonts of our own, no toolkit.
//
// With --round it is the floor of a round as well: in its child window a label of the
// falling problem's size, opaque in the area's colour, falls through an area of the falling
// area's size, two pixels every 100 ms, a countdown beside it changes each second, and a text
// box below it has the keyboard, its caret blinking, until it is ended.
#include "first_expose.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>

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

// A round: the falling area, the falling problem and its fall, the countdown.
constexpr QRect fallingArea(0, 0, 417, 321);
constexpr QRect fallingProblem(32, 16, 169, 33);
constexpr int fallPixels = 2;
constexpr int fallMs = 100;
constexpr QRect countdown(512, 248, 32, 37);
constexpr QRect answerBox(136, 340, 121, 53);
constexpr int countdownMs = 1000;
constexpr int roundSeconds = 60;

// Plays the round's moves in child, for ever: the falling problem starts again at the top.
void playRound(QWidget *child) {
  auto *area = new QWidget(child);
  area->setGeometry(fallingArea);
  area->setAutoFillBackground(true);
  area->setPalette(QPalette(Qt::white, QColor(0, 0, 128)));
  // Filled with the area's navy, as the program draws its falling problem: Qt moves an
  // opaque widget by copying its pixels, without drawing the area beneath it again.
  auto *problem = new QLabel(QStringLiteral("300 x 4 = ?"), area);
  problem->setGeometry(fallingProblem);
  problem->setAutoFillBackground(true);
  auto *seconds = new QLabel(QString::number(roundSeconds), child);
  seconds->setGeometry(countdown);
  // The answer box with the keyboard, its caret blinking as the child sees it.
  auto *answer = new QLineEdit(child);
  answer->setGeometry(answerBox);
  answer->setFocus();

  auto *fall = new QTimer(child);
  QObject::connect(fall, &QTimer::timeout, problem, [area, problem] {
    QPoint to = problem->pos() + QPoint(0, fallPixels);
    if (to.y() + problem->height() > area->height()) {
      to.setY(fallingProblem.top());
    }
    problem->move(to);
  });
  fall->start(fallMs);
  auto *tick = new QTimer(child);
  QObject::connect(tick, &QTimer::timeout, seconds, [seconds] {
    const int left = seconds->text().toInt();
    seconds->setText(QString::number(left > 0 ? left - 1 : roundSeconds));
  });
  tick->start(countdownMs);
}

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
  if (QApplication::arguments().contains(QStringLiteral("--round"))) {
    playRound(child);
  }

  if (QScreen *screen = window.screen()) {
    window.setGeometry(screen->availableGeometry());
  }
  window.showMaximized();
  // With the keyboard, as the program's window has it, even where no window manager gives it.
  window.activateWindow();
  return QApplication::exec();
}
