// The date and the time of day as the status bar shows them, in one fixed form in every
// program: the program speaks Dutch whatever language the computer is set to, and a
// school's computer set to English would otherwise write a Dutch screen's date the
// American way.
#pragma once

#include "timer.h"

#include <functional>
#include <string>

namespace tk {

struct LocalTime {
  int year = 0;
  int month = 0; // 1 .. 12
  int day = 0;   // 1 .. 31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// The computer's wall clock in its own time zone; tests give their own.
using WallClock = std::function<LocalTime()>;
[[nodiscard]] LocalTime systemLocalTime();

[[nodiscard]] std::string dateText(const LocalTime &time); // "09-12-2026"
[[nodiscard]] std::string timeText(const LocalTime &time); // "08:05"

// How long until the clock shows the next minute.
[[nodiscard]] Millis untilNextMinute(const LocalTime &time);

} // namespace tk
