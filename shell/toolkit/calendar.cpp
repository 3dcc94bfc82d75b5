#include "calendar.h"

#include <algorithm>
#include <chrono>
#include <ctime>

namespace tk {
namespace {

constexpr Millis msPerSecond = 1000;
constexpr Millis msPerMinute = 60 * msPerSecond;
constexpr int firstYear = 1900; // struct tm counts its years from here
constexpr int decimal = 10;

// At least two digits, as a clock writes them.
std::string twoDigits(int value) {
  std::string text = std::to_string(value);
  return value < decimal ? "0" + text : text;
}

} // namespace

LocalTime systemLocalTime() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  // One user-interface thread reads the clock: the shared buffer is no race.
  const std::tm local = *std::localtime(&seconds); // NOLINT(concurrency-mt-unsafe)
  const auto sinceSecond = std::chrono::duration_cast<std::chrono::milliseconds>(
      now - std::chrono::system_clock::from_time_t(seconds));
  return {.year = local.tm_year + firstYear,
          .month = local.tm_mon + 1,
          .day = local.tm_mday,
          .hour = local.tm_hour,
          .minute = local.tm_min,
          .second = local.tm_sec,
          .millisecond = static_cast<int>(sinceSecond.count())};
}

std::string dateText(const LocalTime &time) {
  return twoDigits(time.day) + "-" + twoDigits(time.month) + "-" + std::to_string(time.year);
}

std::string timeText(const LocalTime &time) {
  return twoDigits(time.hour) + ":" + twoDigits(time.minute);
}

Millis untilNextMinute(const LocalTime &time) {
  // A leap second's 60 still waits a moment.
  return std::max<Millis>(1, msPerMinute - (time.second * msPerSecond + time.millisecond));
}

} // namespace tk
