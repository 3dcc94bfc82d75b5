// Interval timers over an injected clock. A timer ticks at due times counted from the
// moment it was enabled (enabled-at + k x interval), so ticks never drift.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tk {

using Millis = std::int64_t;

class Clock {
public:
  virtual ~Clock() = default;
  [[nodiscard]] virtual Millis now() const = 0;
};

class Scheduler;

class Timer {
public:
  Timer(Scheduler &scheduler, std::string name, int interval, bool enabled);
  ~Timer();
  Timer(const Timer &) = delete;
  Timer &operator=(const Timer &) = delete;

  [[nodiscard]] const std::string &name() const { return name_; }
  [[nodiscard]] bool enabled() const { return enabled_; }
  [[nodiscard]] int interval() const { return interval_; }

  // Enabling an enabled timer changes nothing: its ticks keep their phase.
  void setEnabled(bool enabled);
  // A different interval starts the count afresh; 0 never fires.
  void setInterval(int interval);

  // When the next tick falls due, if it ever does.
  [[nodiscard]] std::optional<Millis> due() const;

  std::function<void()> onTimer;

private:
  friend class Scheduler;
  void restart();

  Scheduler &scheduler_;
  std::string name_;
  int interval_;
  bool enabled_;
  Millis anchor_ = 0;
  Millis next_ = 0;
  std::uint64_t order_ = 0; // breaks ties between timers due at the same moment
};

class Scheduler {
public:
  explicit Scheduler(const Clock &clock) : clock_(clock) {}

  // The timers' time: the clock's, less the time spent paused.
  [[nodiscard]] Millis now() const { return (paused_ ? pausedAt_ : clock_.now()) - pausedFor_; }
  // Nothing while paused.
  [[nodiscard]] std::optional<Millis> nextDue() const;

  // The timer whose tick is due at the clock's time, earliest first. Taking it moves
  // its next tick past now: ticks missed while the program was blocked fall together.
  Timer *takeDue();

  void stopAll();

  // While paused the timers' time stands still: nothing falls due, and on resuming every
  // timer's next tick lies as far ahead as it did when the pause began.
  void pause();
  void resume();

private:
  friend class Timer;
  void add(Timer &timer);
  void remove(Timer &timer);
  std::uint64_t nextOrder() { return ++orders_; }

  const Clock &clock_;
  std::vector<Timer *> timers_;
  std::uint64_t orders_ = 0;
  bool paused_ = false;
  Millis pausedAt_ = 0;
  Millis pausedFor_ = 0;
};

} // namespace tk
