// With HONDERDTAFELS_REPORT_SHOWN=1 in the environment a program prints one line
// "shown <microseconds since the epoch>" when its first window is on screen, for the
// start-up benchmark.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>

#include <chrono>
#include <cstdio>

class FirstExposeReporter : public QObject {
public:
  static void installIfAsked() {
    if (qEnvironmentVariableIntValue("HONDERDTAFELS_REPORT_SHOWN") == 1) {
      QCoreApplication::instance()->installEventFilter(new FirstExposeReporter);
    }
  }

protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::Expose && watched->isWindowType() &&
        static_cast<QWindow *>(watched)->isExposed()) {
      using std::chrono::microseconds;
      const auto now = std::chrono::system_clock::now().time_since_epoch();
      const long long stamp = std::chrono::duration_cast<microseconds>(now).count();
      std::printf("shown %lld\n", stamp);
      std::fflush(stdout);
      QCoreApplication::instance()->removeEventFilter(this);
      deleteLater();
    }
    return false;
  }
};
