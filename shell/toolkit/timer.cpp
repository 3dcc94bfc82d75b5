#include "timer.h"

#include <algorithm>

namespace tk {

Timer::Timer(Scheduler &scheduler, std::string name, int interval, bool enabled)
    : scheduler_(scheduler), name_(std::move(name)), interval_(std::max(interval, 0)),
      enabled_(enabled) {
  scheduler_.add(*this);
  if (enabled_) {
    restart();
  }
}

Timer::~Timer() {
  scheduler_.remove(*this);
}

void Timer::restart() {
  anchor_ = scheduler_.now();
  next_ = anchor_ + interval_;
  order_ = scheduler_.nextOrder();
}

void Timer::setEnabled(bool enabled) {
  if (enabled == enabled_) {
    return;
  }
  enabled_ = enabled;
  if (enabled_) {
    restart();
  }
}

void Timer::setInterval(int interval) {
  interval = std::max(interval, 0);
  if (interval == interval_) {
    return;
  }
  interval_ = interval;
  if (enabled_) {
    restart();
  }
}

std::optional<Millis> Timer::due() const {
  if (!enabled_ || interval_ == 0) {
    return std::nullopt;
  }
  return next_;
}

std::optional<Millis> Scheduler::nextDue() const {
  std::optional<Millis> earliest;
  if (paused_) {
    return earliest;
  }
  for (const Timer *timer : timers_) {
    if (auto due = timer->due(); due && (!earliest || *due < *earliest)) {
      earliest = due;
    }
  }
  return earliest;
}

Timer *Scheduler::takeDue() {
  if (paused_) {
    return nullptr;
  }
  const Millis now = this->now();
  Timer *first = nullptr;
  for (Timer *timer : timers_) {
    auto due = timer->due();
    if (!due || *due > now) {
      continue;
    }
    if (first == nullptr || *due < first->next_ ||
        (*due == first->next_ && timer->order_ < first->order_)) {
      first = timer;
    }
  }
  if (first != nullptr) {
    const Millis missed = (now - first->anchor_) / first->interval_;
    first->next_ = first->anchor_ + (missed + 1) * first->interval_;
  }
  return first;
}

void Scheduler::stopAll() {
  for (Timer *timer : timers_) {
    timer->setEnabled(false);
  }
}

void Scheduler::pause() {
  if (!paused_) {
    pausedAt_ = clock_.now();
    paused_ = true;
  }
}

void Scheduler::resume() {
  if (paused_) {
    pausedFor_ += clock_.now() - pausedAt_;
    paused_ = false;
  }
}

void Scheduler::add(Timer &timer) {
  timers_.push_back(&timer);
}

void Scheduler::remove(Timer &timer) {
  std::erase(timers_, &timer);
}

} // namespace tk
