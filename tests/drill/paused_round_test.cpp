// A paused round stays paused, whichever way the child reaches the drill, and the
// classroom's way back resumes only a round that waits.
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct PausedRound : ::testing::Test {
  testing_support::TestProgram t;
  Tafels &drill;

  PausedRound() : drill((t.program.start(), t.program.openDrill(), t.program.tafels())) {
    drill.control("cmdstarter", 3).click(); // "x 4": 0.5 draws 500 x 4 every time
  }
  tk::Control &c(std::string_view name, std::int16_t index = tk::single) {
    return drill.control(name, index);
  }
  void pause() { c("cmdrood").click(); }
  // The classroom offers its way back once a lesson is over.
  void pauseForALesson() {
    pause();
    t.program.aklas().control("Cmd1").click();
    t.advance(16000);
    ASSERT_TRUE(t.program.aklas().control("Cmdterug").visible());
  }
  void menuBasis() { t.program.mdiForm2().control("aftrek2").click(); }
  void terug() { t.program.aklas().control("Cmdterug").click(); }
  [[nodiscard]] bool tableButtonsShown() {
    for (const tk::Control *knop : drill.array("cmdstarter")) {
      if (!knop->visible()) {
        return false;
      }
    }
    return true;
  }
};

TEST_F(PausedRound, aPausedDrillBroughtForwardByTheMenuCountsNoAnswerAndStaysStill) {
  pause();
  menuBasis();
  ASSERT_TRUE(drill.visible());
  ASSERT_TRUE(c("cmdgroen").visible());
  const std::string problems = c("lblaantal").text();
  const float top = c("lblvalprobleem").top();

  c("txtAntwoord").typeText("2000");
  EXPECT_EQ(c("Lbltotaal").text(), "0");
  EXPECT_EQ(c("lblaantal").text(), problems);
  EXPECT_FALSE(drill.timer("tmrval").enabled());
  t.advance(5000);
  EXPECT_EQ(c("lblvalprobleem").top(), top);

  c("cmdgroen").click();
  c("txtAntwoord").typeText("2000");
  EXPECT_EQ(c("Lbltotaal").text(), "1");
}

TEST_F(PausedRound, theClassroomsWayBackAfterTheRoundEndedStartsNothing) {
  pauseForALesson();
  menuBasis();
  c("cmdgroen").click();
  t.advance(61000);
  ASSERT_TRUE(tableButtonsShown());
  const std::string problems = c("lblaantal").text();

  terug();
  EXPECT_TRUE(drill.visible());
  EXPECT_FALSE(drill.timer("Tmrchrono").enabled());
  EXPECT_FALSE(drill.timer("tmrval").enabled());
  EXPECT_TRUE(tableButtonsShown());
  EXPECT_FALSE(c("cmdrood").visible());
  t.advance(5000);
  EXPECT_EQ(c("lblaantal").text(), problems);
}

TEST_F(PausedRound, theClassroomsWayBackToAFreshDrillLeavesItIdle) {
  pauseForALesson();
  menuBasis();
  c("cmdgroen").click();
  t.advance(61000);
  c("Cmdstop").click();
  menuBasis();
  Tafels &fresh = t.program.tafels();

  terug();
  EXPECT_FALSE(fresh.timer("tmrval").enabled());
  EXPECT_FALSE(fresh.control("cmdrood").visible());
  t.advance(5000);
  EXPECT_EQ(fresh.control("lblaantal").text(), "");
}

} // namespace
