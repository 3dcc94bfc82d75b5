// The one timer of a window system, as every backend drives it: armed for the next due
// tick, fired late or early as platforms fire, stopped when nothing runs.
#include "support/fakes.h"
#include "toolkit/timesource.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using testing_support::ManualClock;

namespace {

struct TimeSourceFixture : ::testing::Test {
  ManualClock clock;
  testing_support::FakeServices services;
  tk::Desktop desktop{clock, services};
  // The platform timer: the wait it is armed with, nothing while stopped.
  std::optional<tk::Millis> armed;
  tk::TimeSource source{[this](tk::Millis wait) { armed = wait; }, [this] { armed.reset(); }};
  std::vector<tk::Millis> ticks;
  tk::Timer second{desktop.scheduler(), "second", 1000, false};

  TimeSourceFixture() {
    second.onTimer = [this] { ticks.push_back(clock.now()); };
    source.attach(&desktop);
  }
  // The platform's timer goes off at a moment of its own choosing.
  void fireAt(tk::Millis now) {
    clock.set(now);
    source.fired();
  }
};

TEST_F(TimeSourceFixture, anIdleProgramSetsNoTimerAndARunningTimerArmsItForItsNextTick) {
  EXPECT_EQ(armed, std::nullopt);
  clock.set(200);
  second.setEnabled(true);
  source.rearm();
  EXPECT_EQ(armed, 1000);
  second.setEnabled(false);
  source.rearm();
  EXPECT_EQ(armed, std::nullopt);
}

TEST_F(TimeSourceFixture, aTimerThatFiresLateOrEarlyLeavesTheTicksOnTheirDueTimes) {
  second.setEnabled(true);
  source.rearm();
  fireAt(1016); // a coarse platform timer, late
  EXPECT_EQ(armed, 984);
  fireAt(1990); // early: nothing is due yet, and it waits the rest
  EXPECT_EQ(armed, 10);
  fireAt(2000);
  EXPECT_EQ(ticks, (std::vector<tk::Millis>{1016, 2000}));
  EXPECT_EQ(armed, 1000);
}

TEST_F(TimeSourceFixture, aTimerFiredWhileAHandlerWaitsRunsNothingAndTheHandlersReturnRearmsIt) {
  second.setEnabled(true);
  desktop.dispatch([this] {
    fireAt(3500); // a message box is open inside this handler
    EXPECT_TRUE(ticks.empty());
  });
  source.rearm(); // as the window system does when the event settles
  EXPECT_EQ(armed, 0);
  source.fired();
  EXPECT_EQ(ticks, (std::vector<tk::Millis>{3500})); // three ticks fell together
}

TEST_F(TimeSourceFixture, afterTheEndOrWithoutADesktopTheTimerStops) {
  second.setEnabled(true);
  source.rearm();
  desktop.end();
  source.rearm();
  EXPECT_EQ(armed, std::nullopt);
  second.setEnabled(true);
  source.attach(nullptr);
  EXPECT_EQ(armed, std::nullopt);
}

} // namespace
