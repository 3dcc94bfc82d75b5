// A round of the drill: the fall, the answers, pause and resume, the countdown, the
// verdict and the stop button.
#include "support/fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// 0.5 draws k = 5 every time: with "x 4" every problem is 500 x 4 = ?.
constexpr float vijf = 0.5F;

struct Round : ::testing::Test {
  testing_support::TestProgram t;
  Tafels &drill;

  Round() : drill((t.program.start(), t.program.openDrill(), t.program.tafels())) {}

  tk::Control &c(std::string_view name, std::int16_t index = tk::single) {
    return drill.control(name, index);
  }
  void start(std::int16_t index = 3) { c("cmdstarter", index).click(); }

  // The product of the problem on screen, read from its text as a child reads it.
  static int product(const std::string &problem) {
    const auto x = problem.find(" x ");
    const auto is = problem.find(" = ?");
    return std::stoi(problem.substr(0, x)) * std::stoi(problem.substr(x + 3, is - x - 3));
  }
  // Types the answer digit by digit, as a child does.
  void typeAnswer() {
    const std::string answer = std::to_string(product(drill.probleem()));
    for (std::size_t digits = 1; digits <= answer.size(); ++digits) {
      c("txtAntwoord").typeText(answer.substr(0, digits));
    }
  }
  void answerCorrectly(int times) {
    for (int i = 0; i < times; ++i) {
      typeAnswer();
    }
  }
};

TEST_F(Round, aWholeRoundPlayedDigitByDigitEndsOnTheSixtyFirstTickWithItsScore) {
  start();
  for (int second = 0; second < 60; ++second) {
    if (second % 4 == 0) {
      typeAnswer();
    }
    t.advance(1000);
    EXPECT_EQ(c("Lblchrono").text(), std::to_string(59 - second));
  }
  EXPECT_TRUE(drill.timer("Tmrchrono").enabled()); // 0 is shown, the round still runs
  t.advance(1000);
  EXPECT_FALSE(drill.timer("Tmrchrono").enabled());
  EXPECT_FALSE(drill.timer("tmrval").enabled());
  EXPECT_EQ(c("Lbltotaal").text(), "15");
  EXPECT_EQ(c("lblaantaljuist").text(), "15");
  EXPECT_EQ(c("Lblmemo").text(), "Dat gaat al aardig");
  EXPECT_EQ(c("Lblchrono").text(), "0");
  EXPECT_TRUE(c("Picpaddestoel").visible());
  EXPECT_FALSE(c("lblvalprobleem").visible());
  EXPECT_FALSE(c("cmdoeifout").visible());
  EXPECT_FALSE(c("cmdrood").visible());
  EXPECT_TRUE(c("Cmdstop").visible());
  EXPECT_EQ(c("txtAntwoord").text(), "");
  EXPECT_FALSE(c("txtAntwoord").enabled());
  for (tk::Control *knop : drill.array("cmdstarter")) {
    EXPECT_TRUE(knop->visible()) << knop->index();
  }
}

TEST_F(Round, anAnswerCountsTheMomentTheTypedNumberEqualsTheProduct) {
  t.services.randoms = {0.3F, vijf}; // 300 x 4 = ?
  start();
  for (const char *typed : {"1", "12", "120"}) {
    c("txtAntwoord").typeText(typed);
    EXPECT_EQ(c("Lbltotaal").text(), "0") << typed;
    EXPECT_EQ(c("txtAntwoord").text(), typed);
  }
  c("txtAntwoord").typeText("1200");
  EXPECT_EQ(c("Lbltotaal").text(), "1");
  EXPECT_EQ(c("lblaantaljuist").text(), "1");
  EXPECT_EQ(c("lblaantal").text(), "2");
  EXPECT_EQ(c("txtAntwoord").text(), "");
  EXPECT_FLOAT_EQ(c("lblvalprobleem").top(), 0);
}

TEST_F(Round, theComparisonIsNumericNotTextual) {
  t.services.randoms = {0.3F, vijf, 0.3F, vijf, vijf, vijf};
  start(1); // 300 x 3 = ?
  c("txtAntwoord").typeText("0900");
  EXPECT_EQ(c("Lbltotaal").text(), "1");
  c("txtAntwoord").typeText(" +900 "); // pasted with blanks and a sign
  EXPECT_EQ(c("Lbltotaal").text(), "2");
}

TEST_F(Round, aWrongNumberStaysInTheBoxUntilTheClearButton) {
  start();
  c("txtAntwoord").typeText("13");
  t.advance(3000);
  EXPECT_EQ(c("txtAntwoord").text(), "13");
  EXPECT_EQ(c("Lbltotaal").text(), "0");
  c("cmdoeifout").click();
  EXPECT_EQ(c("txtAntwoord").text(), "");
  EXPECT_TRUE(c("txtAntwoord").hasFocus());
}

TEST_F(Round, aMixedProblemTimesZeroCountsAtTheFirstZero) {
  t.services.randoms = {0.55F, 0.0F, vijf}; // 600 x 0 = ?
  start(0);
  ASSERT_EQ(drill.probleem(), "600 x 0 = ?");
  c("txtAntwoord").typeText("0");
  EXPECT_EQ(c("Lbltotaal").text(), "1");
}

TEST_F(Round, textThatIsNoNumberGetsOneMessageAndAnEmptyBox) {
  start();
  c("txtAntwoord").typeText("12");
  c("txtAntwoord").typeText("12a");
  EXPECT_THAT(t.services.messages, ::testing::ElementsAre(testing_support::Message{
                                       "Je mag alleen cijfers invoegen", "Let eens op !!"}));
  EXPECT_EQ(c("txtAntwoord").text(), "");
  EXPECT_EQ(c("Lbltotaal").text(), "0");
}

TEST_F(Round, strangePastedTextNeverCountsOrCrashes) {
  start();
  const std::string million(1'000'000, '9');
  for (const std::string &pasted : {std::string("1e400"), million, std::string("\xd9\xa2\xd9\xa0"),
                                    std::string("2.000,5"), std::string(",")}) {
    c("txtAntwoord").typeText(pasted);
    c("txtAntwoord").setText("");
  }
  EXPECT_EQ(c("Lbltotaal").text(), "0");
  EXPECT_EQ(t.services.messages.size(), 3U); // the exponent, the other script's digits, the comma
}

TEST_F(Round, theFallAndTheCountdownWaitWhileTheMessageIsOpen) {
  start();
  t.advance(1000);
  const float top = c("lblvalprobleem").top();
  t.services.whileMessageOpen = [this] { t.advance(5000); };
  c("txtAntwoord").typeText("x");
  EXPECT_FLOAT_EQ(c("lblvalprobleem").top(), top);
  EXPECT_EQ(c("Lblchrono").text(), "59");
  // When it closes, the ticks that fell due meanwhile count once, not in a burst.
  t.services.whileMessageOpen = nullptr;
  t.advance(0);
  EXPECT_FLOAT_EQ(c("lblvalprobleem").top(), top + 30);
  EXPECT_EQ(c("Lblchrono").text(), "58");
}

TEST_F(Round, aProblemLandsOnlyWhenItsBottomPassesTheInnerHeight) {
  // Inner height 4755, problem 495 high: at Top 4260 it touches the bottom and stays.
  start();
  t.advance(14'200);
  EXPECT_FLOAT_EQ(c("lblvalprobleem").top(), 4260);
  EXPECT_FLOAT_EQ(c("lblvalprobleem").top() + c("lblvalprobleem").height(),
                  c("Picture1").scaleHeight());
  EXPECT_EQ(c("lblaantal").text(), "1");
  t.advance(100);
  EXPECT_FLOAT_EQ(c("lblvalprobleem").top(), 0);
  EXPECT_EQ(c("lblaantal").text(), "2");
  EXPECT_EQ(c("Lbltotaal").text(), "0");
  EXPECT_EQ(c("lblaantaljuist").text(), "");
}

TEST_F(Round, theRedLightPausesAndTheGreenLightResumesWhereTheRoundStood) {
  start();
  c("cmdrood").mouseMove({});
  t.advance(2500);
  c("txtAntwoord").typeText("7");
  c("cmdrood").click();
  EXPECT_FALSE(drill.visible());
  EXPECT_TRUE(t.program.aklas().visible());
  EXPECT_FALSE(drill.timer("tmrval").enabled());
  EXPECT_FALSE(drill.timer("Tmrchrono").enabled());
  EXPECT_TRUE(c("cmdgroen").visible());
  EXPECT_FALSE(c("cmdrood").visible());
  EXPECT_FALSE(c("lblrood").visible());
  EXPECT_FALSE(c("shpTip", 4).visible());

  t.advance(20'000);
  EXPECT_FLOAT_EQ(c("lblvalprobleem").top(), 750);
  EXPECT_EQ(c("Lblchrono").text(), "58");
  EXPECT_EQ(c("txtAntwoord").text(), "7");

  drill.show();
  c("cmdgroen").click();
  EXPECT_FALSE(c("cmdgroen").visible());
  EXPECT_TRUE(c("cmdrood").visible());
  EXPECT_EQ(c("txtAntwoord").text(), "");
  EXPECT_TRUE(c("txtAntwoord").hasFocus());
  t.advance(1000);
  EXPECT_FLOAT_EQ(c("lblvalprobleem").top(), 1050);
  EXPECT_EQ(c("Lblchrono").text(), "57");
}

TEST_F(Round, theUnfinishedProblemIsTakenOffAndTheTotalsRunOnIntoTheNextRound) {
  start();
  answerCorrectly(3);
  t.advance(60'000);
  const int made = std::stoi(c("lblaantal").text());
  t.advance(1000);
  EXPECT_EQ(c("lblaantal").text(), std::to_string(made - 1));

  start();
  EXPECT_EQ(c("Lbltotaal").text(), "0");
  EXPECT_EQ(c("Lblchrono").text(), "0"); // until the first tick of the new round
  EXPECT_EQ(c("lblaantal").text(), std::to_string(made));
  answerCorrectly(2);
  EXPECT_EQ(c("lblaantaljuist").text(), "5");
  t.advance(1000);
  EXPECT_EQ(c("Lblchrono").text(), "59");
}

struct Verdict {
  int correct;
  const char *caption;
  tk::Color back;
  tk::Color text;
  std::set<std::string> pencils;
};

class Verdicts : public Round, public ::testing::WithParamInterface<Verdict> {};

TEST_P(Verdicts, theScoreBecomesItsVerdictOnAPencilOfItsColour) {
  const Verdict &v = GetParam();
  start();
  answerCorrectly(v.correct);
  t.advance(61'000);
  EXPECT_TRUE(c("Lblmemo").visible());
  EXPECT_EQ(c("Lblmemo").text(), v.caption);
  EXPECT_EQ(c("Lblmemo").backColor(), v.back);
  EXPECT_EQ(c("Lblmemo").foreColor(), v.text);
  std::set<std::string> shown;
  for (const char *pencil :
       {"Imgpotloodrood", "Imgpotloodgroen", "Imgpotloodgeel", "Imgpotloodblauw"}) {
    if (c(pencil).visible()) {
      shown.insert(pencil);
    }
  }
  EXPECT_EQ(shown, v.pencils);
}

constexpr tk::Color green = tk::rgb(0, 255, 0);
constexpr tk::Color blue = tk::rgb(0, 0, 255);
constexpr tk::Color yellow = tk::rgb(255, 255, 0);
constexpr tk::Color red = tk::rgb(255, 0, 0);
constexpr tk::Color black = tk::rgb(0, 0, 0);
constexpr tk::Color white = tk::rgb(255, 255, 255);
const std::set<std::string> fromBlueDown{"Imgpotloodblauw", "Imgpotloodgeel", "Imgpotloodrood"};

INSTANTIATE_TEST_SUITE_P(
    Boundaries, Verdicts,
    ::testing::Values(
        Verdict{0, " Dat is te traag", red, white, fromBlueDown},
        Verdict{9, " Dat is te traag", red, white, fromBlueDown},
        Verdict{10, " Nog wat oefenen", red, white, fromBlueDown},
        Verdict{14, " Nog wat oefenen", red, white, fromBlueDown},
        Verdict{15, "Dat gaat al aardig", yellow, black, {"Imgpotloodblauw", "Imgpotloodgeel"}},
        Verdict{19, "Dat gaat al aardig", yellow, black, {"Imgpotloodblauw", "Imgpotloodgeel"}},
        Verdict{20, " Dat is zeer goed", yellow, black, {"Imgpotloodblauw", "Imgpotloodgeel"}},
        Verdict{24, " Dat is zeer goed", yellow, black, {"Imgpotloodblauw", "Imgpotloodgeel"}},
        Verdict{25, " Dat is prima", blue, white, {"Imgpotloodblauw"}},
        Verdict{29, " Dat is prima", blue, white, {"Imgpotloodblauw"}},
        Verdict{30, "Dat is uitstekend ", blue, white, {"Imgpotloodblauw"}},
        Verdict{34, "Dat is uitstekend ", blue, white, {"Imgpotloodblauw"}},
        Verdict{35, "Dat is turbosnel ", blue, white, {"Imgpotloodblauw"}},
        Verdict{39, "Dat is turbosnel ", blue, white, {"Imgpotloodblauw"}},
        Verdict{40, "dat is SUPER", green, black, {"Imgpotloodgroen"}},
        Verdict{41, "Dat is SUPER ", green, black, {"Imgpotloodgroen"}}),
    [](const auto &row) { return "score" + std::to_string(row.param.correct); });

TEST_F(Round, theNextStartTakesTheVerdictAway) {
  start();
  t.advance(61'000);
  ASSERT_TRUE(c("Lblmemo").visible());
  start();
  EXPECT_FALSE(c("Lblmemo").visible());
  EXPECT_EQ(c("Lblmemo").text(), "");
  EXPECT_FALSE(c("Imgpotloodrood").visible());
}

TEST_F(Round, theStopButtonShowsTheInformationAndUnloadsTheDrillFromItsOwnHandler) {
  start();
  answerCorrectly(2);
  t.advance(61'000);
  c("Cmdstop").click();
  EXPECT_FALSE(t.program.tafels.loaded());
  EXPECT_FALSE(t.program.frmmecenaat1.loaded());
  EXPECT_TRUE(t.program.frminfo().visible());
  EXPECT_TRUE(t.program.mdiForm2().enabled());

  // The drill opened again starts afresh, with every counter at zero.
  t.program.mdiForm2().control("aftrek2").click();
  Tafels &fresh = t.program.tafels();
  EXPECT_EQ(fresh.control("lblaantal").text(), "");
  EXPECT_EQ(fresh.control("Lbltotaal").text(), "0");
  fresh.control("cmdstarter", 3).click();
  EXPECT_EQ(fresh.control("lblaantal").text(), "1");
}

TEST_F(Round, aLongSessionCountsPastSixteenBitsExactly) {
  start();
  answerCorrectly(33'000);
  EXPECT_EQ(c("Lbltotaal").text(), "33000");
  EXPECT_EQ(c("lblaantal").text(), "33001");
}

} // namespace
