#include "timesource.h"

#include "desktop.h"

namespace tk {

std::uint64_t seedFromClock() {
  return static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

void TimeSource::attach(Desktop *desktop) {
  desktop_ = desktop;
  rearm();
}

void TimeSource::rearm() {
  const std::optional<Millis> wait =
      desktop_ != nullptr ? desktop_->waitForNextTick() : std::nullopt;
  if (wait) {
    arm_(*wait);
  } else {
    stop_();
  }
}

void TimeSource::fired() {
  // While a handler waits in a modal message box the ticks wait too: the handler's
  // return settles the event and re-arms the timer.
  if (desktop_ == nullptr || desktop_->dispatching()) {
    return;
  }
  desktop_->runDueTimers();
  rearm();
}

} // namespace tk
