// The explanations the drill gives while the pointer passes over its buttons.
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace {

struct Hover : ::testing::Test {
  testing_support::TestProgram t;
  Tafels &drill;

  Hover() : drill((t.program.start(), t.program.openDrill(), t.program.tafels())) {}

  tk::Control &c(std::string_view name, std::int16_t index = tk::single) {
    return drill.control(name, index);
  }
  // Moves the pointer over the middle of a control, in the form's coordinates.
  void over(const tk::Control &control) {
    drill.mouseMove({.buttons = 0,
                     .shift = 0,
                     .x = control.left() + control.width() / 2,
                     .y = control.top() + control.height() / 2});
  }
  void overBareScreen() { drill.mouseMove({.buttons = 0, .shift = 0, .x = 6500, .y = 6100}); }
  std::string uitleg() { return c("lbluitleg").text(); }
};

TEST_F(Hover, eachTableButtonExplainsItsTableByIndex) {
  over(c("cmdstarter", 0));
  EXPECT_EQ(uitleg(), "Alle tafels door elkaar oefenen ");
  over(c("cmdstarter", 1));
  EXPECT_EQ(uitleg(), "Alleen tafel 3 oefenen");
  over(c("cmdstarter", 2));
  EXPECT_EQ(uitleg(), "Alleen tafel 2 oefenen");
  over(c("cmdstarter", 8));
  EXPECT_EQ(uitleg(), "Alleen tafel 9 oefenen");
}

TEST_F(Hover, theAnswerHintAppearsAfterATableButtonAndStaysForTheRounds) {
  over(c("txtAntwoord"));
  EXPECT_FALSE(c("lblTip", 1).visible());
  over(c("cmdstarter", 3));
  EXPECT_TRUE(c("lblTip", 1).visible());
  EXPECT_TRUE(c("shpTip", 1).visible());
  c("cmdstarter", 3).click();
  t.advance(61'000);
  overBareScreen();
  EXPECT_TRUE(c("lblTip", 1).visible());
}

TEST_F(Hover, controlsWithoutExplanationLeaveItAndTheBareScreenClearsIt) {
  over(c("cmdstarter", 4));
  over(c("Picture1"));
  over(c("Label2"));
  EXPECT_EQ(uitleg(), "Alleen tafel 5 oefenen");
  // A tip frame is drawn on the background: the pointer over its edge is over the screen.
  const tk::Control &frame = c("shpTip", 2);
  drill.mouseMove({.buttons = 0, .shift = 0, .x = frame.left() + 30, .y = frame.top() + 30});
  EXPECT_EQ(uitleg(), "");
}

TEST_F(Hover, theAnswerBoxKeepsTheExplanationWhileARoundRuns) {
  c("cmdstarter", 3).click();
  over(c("cmdrood"));
  over(c("txtAntwoord"));
  EXPECT_EQ(uitleg(), "ik wil uitleg");
}

TEST_F(Hover, theWaitingAnswerBoxBeforeTheFirstRoundKeepsTheExplanation) {
  over(c("cmdstarter", 4));
  over(c("txtAntwoord"));
  EXPECT_EQ(uitleg(), "Alleen tafel 5 oefenen");
}

TEST_F(Hover, theAnswerBoxDisabledAfterARoundLetsThePointerThroughToTheScreen) {
  c("cmdstarter", 3).click();
  t.advance(61'000);
  ASSERT_FALSE(c("txtAntwoord").enabled());
  over(c("cmdstarter", 4));
  over(c("txtAntwoord"));
  EXPECT_EQ(uitleg(), "");
}

TEST_F(Hover, theLightsAndTheStopButtonExplainThemselves) {
  over(c("Cmdstop"));
  EXPECT_EQ(uitleg(), "Stop de oefening");
  c("cmdstarter", 3).click();
  over(c("cmdoeifout"));
  EXPECT_EQ(uitleg(), "Foute cijfers wegklikken");
  over(c("cmdrood"));
  EXPECT_EQ(uitleg(), "ik wil uitleg");
  EXPECT_TRUE(c("lblrood").visible());
  EXPECT_TRUE(c("shpTip", 4).visible());
  c("cmdrood").click();
  EXPECT_FALSE(c("lblrood").visible());
  EXPECT_FALSE(c("shpTip", 4).visible());
  drill.show();
  over(c("cmdgroen"));
  EXPECT_EQ(uitleg(), "Opnieuw van start gaan");
}

TEST_F(Hover, theEndOfARoundHidesTheHelpHint) {
  c("cmdstarter", 3).click();
  over(c("cmdrood"));
  t.advance(61'000);
  EXPECT_FALSE(c("lblrood").visible());
  EXPECT_FALSE(c("shpTip", 4).visible());
}

} // namespace
