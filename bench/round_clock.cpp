// Plays one round of the real program on the real clock: clicks "x 4" and waits for the
// verdict, then prints how long the round's 61 ticks took and the CPU it used meanwhile.
#include "shell/program.h"
#include "shell/qt/backend.h"
#include "shell/qt/formview.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval &t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

template <class W> W *find(const qtb::QtBackend &backend, tk::Form &form, const char *name) {
  qtb::FormView *view = backend.view(form);
  return view == nullptr ? nullptr : view->window()->findChild<W *>(QString::fromLatin1(name));
}

// The verdict appears at the round's 61st tick.
class RoundEnd : public QObject {
public:
  Clock::time_point endedAt;

protected:
  bool eventFilter(QObject * /*watched*/, QEvent *event) override {
    if (event->type() == QEvent::Show) {
      endedAt = Clock::now();
      // Not quit(): Qt asks every window to close first, and the drill refuses.
      QCoreApplication::exit(0);
    }
    return false;
  }
};

} // namespace

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  qtb::QtBackend backend;
  tk::Desktop desktop(backend.clock(), backend);
  backend.attach(desktop);
  Program program(desktop);
  program.start();

  auto *start = find<QToolButton>(backend, program.frmmecenaat1(), "cmdkombinnen");
  if (start == nullptr) {
    std::fprintf(stderr, "no start button\n");
    return 1;
  }
  start->click();
  auto *times4 = find<QToolButton>(backend, program.tafels(), "cmdstarter(3)");
  auto *verdict = find<QLabel>(backend, program.tafels(), "Lblmemo");
  if (times4 == nullptr || verdict == nullptr) {
    std::fprintf(stderr, "no table button or verdict\n");
    return 1;
  }
  RoundEnd roundEnd;
  verdict->installEventFilter(&roundEnd);

  Clock::time_point startedAt;
  double cpuAtStart = 0;
  // Start once the windows are up and the event loop runs, as a child would.
  constexpr int settleMs = 1000;
  QTimer::singleShot(settleMs, [&] {
    startedAt = Clock::now();
    cpuAtStart = cpuSeconds();
    times4->click();
  });
  // A round that never reaches its verdict fails the benchmark instead of hanging it.
  constexpr int giveUpMs = settleMs + 75'000;
  QTimer::singleShot(giveUpMs, [&] {
    std::fprintf(stderr, "no verdict after %d s (the verdict is %s in the program)\n",
                 giveUpMs / 1000,
                 program.tafels().control("Lblmemo").visible() ? "shown" : "hidden");
    QCoreApplication::exit(1);
  });
  if (QApplication::exec() != 0) {
    return 1;
  }

  const double length = std::chrono::duration<double>(roundEnd.endedAt - startedAt).count();
  std::printf("round_seconds %.3f\nround_cpu_seconds %.3f\n", length, cpuSeconds() - cpuAtStart);
  return 0;
}
