// The drill screen's load, the start of a round and the making of problems.
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct Drill : ::testing::Test {
  testing_support::TestProgram t;
  Tafels &drill;

  Drill() : drill((t.program.start(), t.program.openDrill(), t.program.tafels())) {}

  tk::Control &c(std::string_view name, std::int16_t index = tk::single) {
    return drill.control(name, index);
  }
  void start(std::int16_t index, std::initializer_list<float> randoms) {
    t.services.randoms = randoms;
    c("cmdstarter", index).click();
  }
};

TEST_F(Drill, loadsIdleWithTheTableButtonsAndTheStopButtonAndNoWayToAnswer) {
  EXPECT_EQ(c("Lbltotaal").text(), "0");
  EXPECT_EQ(c("Lblchrono").text(), "60");
  EXPECT_EQ(t.services.randomizes, 1);
  EXPECT_FALSE(c("cmdrood").visible());
  EXPECT_FALSE(c("cmdgroen").visible());
  EXPECT_FALSE(c("lblrood").visible());
  EXPECT_FALSE(c("shpTip", 4).visible());
  EXPECT_TRUE(c("Cmdstop").visible());
  EXPECT_TRUE(c("Picpaddestoel").visible());
  for (tk::Control *knop : drill.array("cmdstarter")) {
    EXPECT_TRUE(knop->visible()) << knop->index();
  }
  // No problem exists yet, so the answer box takes no typing.
  EXPECT_TRUE(c("txtAntwoord").locked());
  c("txtAntwoord").typeText("1");
  EXPECT_EQ(c("txtAntwoord").text(), "");
  EXPECT_TRUE(t.services.messages.empty());
  EXPECT_FALSE(drill.timer("tmrval").enabled());
  EXPECT_FALSE(drill.timer("Tmrchrono").due().has_value());
}

TEST_F(Drill, isCentredOnTheDisplay) {
  EXPECT_FLOAT_EQ(drill.left(), (t.services.width - drill.outerWidth()) / 2);
  EXPECT_FLOAT_EQ(drill.top(), (t.services.height - drill.outerHeight()) / 2);
}

TEST_F(Drill, aRoundStartSwitchesTheScreenToItsRunningLook) {
  start(3, {0.25F, 0.5F});
  EXPECT_TRUE(c("cmdoeifout").visible());
  EXPECT_TRUE(c("lblvalprobleem").visible());
  EXPECT_FALSE(c("Cmdstop").visible());
  EXPECT_TRUE(c("cmdrood").visible());
  EXPECT_TRUE(c("txtAntwoord").enabled());
  EXPECT_TRUE(c("txtAntwoord").hasFocus());
  EXPECT_FALSE(c("Picpaddestoel").visible());
  EXPECT_TRUE(drill.timer("tmrval").enabled());
  EXPECT_EQ(drill.timer("Tmrchrono").interval(), 1000);
  EXPECT_TRUE(drill.timer("Tmrchrono").enabled());
  EXPECT_EQ(c("Lbltotaal").text(), "0");
  EXPECT_EQ(c("Lblchrono").text(), "60"); // the start does not write the clock
  EXPECT_FALSE(c("Lblmemo").visible());
  for (const char *pencil :
       {"Imgpotloodrood", "Imgpotloodgroen", "Imgpotloodgeel", "Imgpotloodblauw"}) {
    EXPECT_FALSE(c(pencil).visible()) << pencil;
  }
  for (tk::Control *knop : drill.array("cmdstarter")) {
    EXPECT_FALSE(knop->visible()) << knop->index();
  }
}

TEST_F(Drill, hiddenTableButtonsCannotStartAnotherRound) {
  start(3, {0.25F, 0.5F});
  const std::string problem = drill.probleem();
  start(8, {0.95F, 0.5F});
  EXPECT_EQ(drill.probleem(), problem);
  EXPECT_EQ(c("lblaantal").text(), "1");
}

struct TableButton {
  std::int16_t index;
  const char *problem;
};

class EachTableButton : public Drill, public ::testing::WithParamInterface<TableButton> {};

TEST_P(EachTableButton, drillsItsTableByIndexNotByPlaceInTheRow) {
  // 11 x 0.3 = 3.3: the first factor is 300.
  start(GetParam().index, {0.3F, 0.5F});
  EXPECT_EQ(drill.probleem(), GetParam().problem);
  EXPECT_EQ(c("lblvalprobleem").text(), GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, EachTableButton,
    ::testing::Values(TableButton{1, "300 x 3 = ?"}, TableButton{2, "300 x 2 = ?"},
                      TableButton{3, "300 x 4 = ?"}, TableButton{4, "300 x 5 = ?"},
                      TableButton{5, "300 x 6 = ?"}, TableButton{6, "300 x 7 = ?"},
                      TableButton{7, "300 x 8 = ?"}, TableButton{8, "300 x 9 = ?"}),
    [](const auto &row) { return "index" + std::to_string(row.param.index); });

TEST_F(Drill, theFirstFactorIsDrawnAgainWhileItComesOutZero) {
  // 0 and 0.09 give k = 0 and are drawn again; 0.19 gives 2; the last number places it.
  start(3, {0.0F, 0.09F, 0.19F, 0.0F});
  EXPECT_EQ(drill.probleem(), "200 x 4 = ?");
  EXPECT_TRUE(t.services.randoms.empty());
}

TEST_F(Drill, theFirstFactorReachesAThousandButNotMore) {
  start(3, {std::nextafter(1.0F, 0.0F), 0.0F});
  EXPECT_EQ(drill.probleem(), "1000 x 4 = ?");
}

TEST_F(Drill, theMixedChoiceDrawsItsTableFrom0To10WithoutRedraw) {
  start(0, {0.5F, 0.0F, 0.5F});
  EXPECT_EQ(drill.probleem(), "500 x 0 = ?");
  EXPECT_EQ(c("lblmult2").text(), "0");
  EXPECT_TRUE(t.services.randoms.empty());
}

TEST_F(Drill, theMixedChoiceCanMakeTheLargestProblem) {
  const float almostOne = std::nextafter(1.0F, 0.0F);
  start(0, {almostOne, almostOne, 0.5F});
  EXPECT_EQ(drill.probleem(), "1000 x 10 = ?");
  EXPECT_EQ(c("lblmult2").text(), "10");
}

TEST_F(Drill, theProblemStartsAtTheTopAtARandomPlaceThatNeverSticksOutOnTheRight) {
  tk::Control &problem = c("lblvalprobleem");
  const float room = c("Picture1").scaleWidth() - problem.width();
  start(3, {0.3F, 0.5F});
  EXPECT_FLOAT_EQ(problem.left(), room * 0.5F);
  EXPECT_FLOAT_EQ(problem.top(), 0);
  EXPECT_FLOAT_EQ(problem.width(), 2535);
  EXPECT_FLOAT_EQ(problem.height(), 495);

  problem.setTop(2000);
  t.services.randoms = {0.3F, std::nextafter(1.0F, 0.0F)};
  drill.nieuwprobleem();
  EXPECT_LE(problem.left() + problem.width(), c("Picture1").scaleWidth());
  EXPECT_FLOAT_EQ(problem.top(), 0);
}

TEST_F(Drill, everyNewProblemCountsAndLeavesTheAnswerBoxEmptyAndFocused) {
  start(3, {0.3F, 0.5F});
  EXPECT_EQ(c("lblaantal").text(), "1");
  c("txtAntwoord").setText("12");
  c("cmdoeifout").setFocus();
  drill.nieuwprobleem();
  EXPECT_EQ(c("lblaantal").text(), "2");
  EXPECT_EQ(c("txtAntwoord").text(), "");
  EXPECT_TRUE(c("txtAntwoord").hasFocus());
  EXPECT_EQ(c("lblaantaljuist").text(), "");
}

TEST_F(Drill, theProblemTextIsPlainDigits) {
  EXPECT_EQ(probleemTekst(300, 4), "300 x 4 = ?");
  EXPECT_EQ(probleemTekst(1000, 10), "1000 x 10 = ?");
  EXPECT_EQ(probleemTekst(800, 0), "800 x 0 = ?");
}

} // namespace
