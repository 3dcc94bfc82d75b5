// Timers tick at enabled-at + k x interval over whatever clock they are given.
#include "support/fakes.h"
#include "toolkit/timer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing_support::ManualClock;

namespace {

struct TimerFixture : ::testing::Test {
  ManualClock clock;
  testing_support::FakeServices services;
  tk::Desktop desktop{clock, services};
  std::vector<std::string> ticks;

  std::unique_ptr<tk::Timer> makeTimer(const std::string &name, int interval, bool enabled) {
    auto timer = std::make_unique<tk::Timer>(desktop.scheduler(), name, interval, enabled);
    timer->onTimer = [this, name] { ticks.push_back(name + "@" + std::to_string(clock.now())); };
    return timer;
  }
  void advance(tk::Millis ms) { testing_support::advance(desktop, clock, ms); }
};

TEST_F(TimerFixture, ticksEveryIntervalFromTheMomentItWasEnabled) {
  clock.set(250);
  auto timer = makeTimer("t", 100, false);
  timer->setEnabled(true);
  advance(350);
  EXPECT_EQ(ticks, (std::vector<std::string>{"t@350", "t@450", "t@550"}));
}

TEST_F(TimerFixture, theWindowSystemWaitsUntilTheNextDueTickAndNotAtAllWhenNoneRuns) {
  EXPECT_EQ(desktop.waitForNextTick(), std::nullopt);
  auto slow = makeTimer("slow", 1000, true);
  auto fast = makeTimer("fast", 300, true);
  clock.set(250);
  EXPECT_EQ(desktop.waitForNextTick(), 50);
  clock.set(400); // overdue while a handler blocked: at once, never a negative wait
  EXPECT_EQ(desktop.waitForNextTick(), 0);
  desktop.end();
  EXPECT_EQ(desktop.waitForNextTick(), std::nullopt);
}

TEST_F(TimerFixture, intervalZeroNeverFiresUntilAnIntervalIsGiven) {
  auto timer = makeTimer("t", 0, true);
  advance(10'000);
  EXPECT_TRUE(ticks.empty());
  timer->setInterval(1000);
  advance(2000);
  EXPECT_EQ(ticks, (std::vector<std::string>{"t@11000", "t@12000"}));
}

TEST_F(TimerFixture, enablingAnEnabledTimerKeepsItsPhase) {
  auto timer = makeTimer("t", 100, true);
  advance(50);
  timer->setEnabled(true);
  advance(60);
  EXPECT_EQ(ticks, (std::vector<std::string>{"t@100"}));
}

TEST_F(TimerFixture, aNewIntervalStartsTheCountAfresh) {
  auto timer = makeTimer("t", 100, true);
  advance(50);
  timer->setInterval(200);
  advance(200);
  EXPECT_EQ(ticks, (std::vector<std::string>{"t@250"}));
}

TEST_F(TimerFixture, disablingStopsATickThatIsDueInTheSameMoment) {
  // Both are due at 100; the first one's handler switches the second off.
  auto first = makeTimer("first", 100, true);
  auto second = makeTimer("second", 100, true);
  first->onTimer = [&] {
    ticks.push_back("first");
    second->setEnabled(false);
  };
  advance(100);
  EXPECT_EQ(ticks, (std::vector<std::string>{"first"}));
}

TEST_F(TimerFixture, longRunsDoNotDrift) {
  auto timer = makeTimer("t", 1000, true);
  advance(61'000);
  ASSERT_EQ(ticks.size(), 61U);
  EXPECT_EQ(ticks.back(), "t@61000");
}

TEST_F(TimerFixture, ticksMissedWhileTheProgramWasBlockedFallTogether) {
  // The real clock jumps past several due times (a modal message was open): one tick,
  // and the next stays on the original grid.
  auto timer = makeTimer("t", 100, true);
  clock.set(450);
  desktop.runDueTimers();
  EXPECT_EQ(ticks, (std::vector<std::string>{"t@450"}));
  EXPECT_EQ(timer->due(), 500);
}

TEST_F(TimerFixture, noTickRunsWhileAHandlerIsStillBusy) {
  auto timer = makeTimer("t", 100, true);
  desktop.dispatch([&] {
    clock.set(300);
    desktop.runDueTimers(); // as from a nested event loop of a message box
    EXPECT_TRUE(ticks.empty());
  });
  desktop.runDueTimers();
  EXPECT_EQ(ticks, (std::vector<std::string>{"t@300"}));
}

TEST_F(TimerFixture, simultaneousTicksRunInTheOrderTheTimersWereEnabled) {
  auto late = makeTimer("late", 500, false);
  auto early = makeTimer("early", 1000, true);
  late->setEnabled(true);
  advance(1000);
  EXPECT_EQ(ticks, (std::vector<std::string>{"late@500", "early@1000", "late@1000"}));
}

} // namespace
