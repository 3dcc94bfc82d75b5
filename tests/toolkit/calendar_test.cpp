// The status bar's date and time: one fixed form in every program, following the wall
// clock each new minute.
#include "support/fakes.h"
#include "toolkit/calendar.h"
#include "toolkit/screen.h"

#include <gtest/gtest.h>

namespace {

using Style = tk::StatusPanelDesign::Style;

TEST(Calendar, writesTheDateAndTimeWithTwoDigitsEachInEveryProgram) {
  const tk::LocalTime morning{.year = 2026, .month = 3, .day = 9, .hour = 8, .minute = 5};
  EXPECT_EQ(tk::dateText(morning), "09-03-2026");
  EXPECT_EQ(tk::timeText(morning), "08:05");
  const tk::LocalTime evening{.year = 2026, .month = 12, .day = 31, .hour = 23, .minute = 59};
  EXPECT_EQ(tk::dateText(evening), "31-12-2026");
  EXPECT_EQ(tk::timeText(evening), "23:59");
}

TEST(Calendar, waitsForTheNextMinuteFromWhereTheClockStands) {
  EXPECT_EQ(tk::untilNextMinute({.second = 0}), 60'000);
  EXPECT_EQ(tk::untilNextMinute({.second = 59, .millisecond = 999}), 1);
  EXPECT_EQ(tk::untilNextMinute({.second = 60, .millisecond = 500}), 1) << "a leap second";
}

constexpr tk::StatusPanelDesign panels[] = {
    {.width = 1000, .style = Style::Text, .text = "tekst"},
    {.width = 1000, .style = Style::Date},
    {.width = 1000, .style = Style::Time},
};
constexpr tk::ControlDesign barRows[] = {
    {.name = "bar", .kind = tk::Kind::StatusBar, .rect = {0, 0, 3000, 300}, .panels = panels},
};
constexpr tk::FormDesign barForm{.name = "Balk", .controls = barRows};

struct StatusBarClock : ::testing::Test {
  testing_support::ManualClock clock;
  testing_support::FakeServices services;
  tk::Desktop desktop{clock, services};
  // The wall clock stands 30.5 s into 23:59 on the last day of the year.
  tk::Millis wallOffset = 0;
  tk::LocalTime at(tk::Millis since) const {
    const tk::Millis ms = 59 * 60'000 + 30'500 + since;
    if (ms >= 60 * 60'000) {
      const tk::Millis rest = ms - 60 * 60'000;
      return {.year = 2027,
              .month = 1,
              .day = 1,
              .hour = 0,
              .minute = static_cast<int>(rest / 60'000),
              .second = static_cast<int>(rest % 60'000 / 1000),
              .millisecond = static_cast<int>(rest % 1000)};
    }
    return {.year = 2026,
            .month = 12,
            .day = 31,
            .hour = 23,
            .minute = 59,
            .second = static_cast<int>(ms % 60'000 / 1000),
            .millisecond = static_cast<int>(ms % 1000)};
  }
  StatusBarClock() {
    desktop.setWallClock([this] { return at(clock.now()); });
  }
};

TEST_F(StatusBarClock, showsTheWallClockAndFollowsItAtTheNextMinute) {
  auto form = std::make_unique<tk::Form>(desktop, barForm);
  desktop.load(*form);
  const tk::Control &bar = form->control("bar");
  EXPECT_EQ(bar.panels()[0].text, "tekst");
  EXPECT_EQ(bar.panels()[1].text, "31-12-2026");
  EXPECT_EQ(bar.panels()[2].text, "23:59");
  EXPECT_EQ(desktop.waitForNextTick(), 29'500) << "no sooner than the minute changes";
  testing_support::advance(desktop, clock, 29'500);
  EXPECT_EQ(bar.panels()[1].text, "01-01-2027");
  EXPECT_EQ(bar.panels()[2].text, "00:00");
  EXPECT_EQ(desktop.waitForNextTick(), 60'000);
  desktop.unload(std::move(form));
  EXPECT_EQ(desktop.waitForNextTick(), std::nullopt) << "an unloaded form's clock stops";
}

} // namespace
