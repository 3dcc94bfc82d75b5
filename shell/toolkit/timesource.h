// What every window system does with time: the program's clock, the one timer of the
// platform that drives all the toolkit's timers, and the random numbers' seed.
#pragma once

#include "timer.h"

#include <chrono>
#include <functional>

namespace tk {

class Desktop;

// Steady time since the program started, never wall time: a clock set forward or back
// leaves a round as long as it is.
class SteadyClock : public Clock {
public:
  [[nodiscard]] Millis now() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
  }

private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// A seed that differs from one start of the program to the next.
[[nodiscard]] std::uint64_t seedFromClock();

// Runs the desktop's timers on a window system's one timer, which fires once after the
// wait it was armed with. It is armed for the next due tick whenever an event has
// settled or a tick has run, and stopped when no timer runs, so an idle program sets
// none. Each tick is due at its own time on the clock, so that a timer which fires a
// little late costs the next tick nothing.
class TimeSource {
public:
  TimeSource(std::function<void(Millis wait)> arm, std::function<void()> stop)
      : arm_(std::move(arm)), stop_(std::move(stop)) {}

  void attach(Desktop *desktop);
  // An event has settled: the next due tick may have moved.
  void rearm();
  // The window system's timer went off.
  void fired();

private:
  std::function<void(Millis)> arm_;
  std::function<void()> stop_;
  Desktop *desktop_ = nullptr;
};

} // namespace tk
