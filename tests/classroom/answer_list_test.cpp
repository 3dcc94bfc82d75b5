// The answer list that follows the hidden table field, and the two buttons that show
// all tables at once and put the field back to rest.
#include "classroom_fixture.h"

#include <string>
#include <vector>

namespace {

using classroom_testing::KlasFixture;

std::vector<std::string> lines(const std::string &text) {
  std::vector<std::string> result;
  std::size_t start = 0;
  for (std::size_t end = text.find("\r\n"); end != std::string::npos;
       end = text.find("\r\n", start)) {
    result.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  result.push_back(text.substr(start));
  return result;
}

struct ClassroomAnswerList : KlasFixture {
  ClassroomAnswerList() {
    startRound(3);
    openClassroom();
  }
  std::vector<std::string> list() { return lines(c("Lbltrainer").text()); }
};

TEST_F(ClassroomAnswerList, holdsTheTableWithItsAnswersOneLinePerFactorWithoutATrailingBreak) {
  c("txtgetal2").setText("7");
  EXPECT_EQ(list(), (std::vector<std::string>{"    0 x 7 = 0", "    1 x 7 = 7", "    2 x 7 = 14",
                                              "    3 x 7 = 21", "    4 x 7 = 28", "    5 x 7 = 35",
                                              "    6 x 7 = 42", "    7 x 7 = 49", "    8 x 7 = 56",
                                              "    9 x 7 = 63", "   10 x 7 = 70"}));
  EXPECT_FALSE(c("Lbltrainer").text().ends_with("\r\n"));
}

TEST_F(ClassroomAnswerList, ofZeroAndOfTenEndTheirListsAsTheirProductsDo) {
  ASSERT_EQ(list().size(), 11U);
  EXPECT_EQ(list().front(), "    0 x 0 = 0");
  EXPECT_EQ(list().back(), "   10 x 0 = 0");
  c("txtgetal2").setText("10");
  EXPECT_EQ(list().back(), "   10 x 10 = 100");
}

TEST_F(ClassroomAnswerList, isNotRebuiltWhenTheFieldGetsTheTextItHolds) {
  c("Lbltrainer").setText("mark");
  c("txtgetal2").setText("0");
  EXPECT_EQ(c("Lbltrainer").text(), "mark");
}

TEST_F(ClassroomAnswerList, staysAsItWasForATextThatIsNoWholeNumber) {
  c("txtgetal2").setText("4");
  const std::string table4 = c("Lbltrainer").text();
  for (const char *text : {"", "vier", "2,5", "1e3", "99999999999999999999999999",
                           "922337203685477581", "-922337203685477581", "12abc"}) {
    c("txtgetal2").setText(text);
    EXPECT_EQ(c("Lbltrainer").text(), table4) << text;
  }
}

TEST_F(ClassroomAnswerList, takesTheTableTextAsItStandsAndTheLargestTableThatFits) {
  ASSERT_TRUE(antwoordenlijst("0300").has_value());
  EXPECT_EQ(lines(*antwoordenlijst("0300")).back(), "   10 x 0300 = 3000");
  EXPECT_EQ(lines(*antwoordenlijst("-3")).at(1), "    1 x -3 = -3");
  const auto largest = antwoordenlijst("922337203685477580");
  ASSERT_TRUE(largest.has_value());
  EXPECT_EQ(lines(*largest).back(), "   10 x 922337203685477580 = 9223372036854775800");
}

using ClassroomAllTables = ClassroomAnswerList;

TEST_F(ClassroomAllTables, isFirstOfferedAtTheEndOfALessonInThePlaceOfTheResetButton) {
  EXPECT_FALSE(c("Cmdalletafels").visible());
  lesson(2);
  t.advance(14'999);
  EXPECT_FALSE(c("Cmdalletafels").visible());
  t.advance(1);
  EXPECT_TRUE(c("Cmdalletafels").visible());
  EXPECT_FALSE(c("Cmdtimerreset").visible());
  EXPECT_EQ(c("Cmdalletafels").rect(), c("Cmdtimerreset").rect());
  lesson(3); // a lesson takes it away again
  EXPECT_FALSE(c("Cmdalletafels").visible());
}

TEST_F(ClassroomAllTables, coloursExactlyTheFortyThreeTableCellsGreen) {
  lesson(9);
  t.advance(15'000);
  c("Cmdalletafels").click();
  EXPECT_EQ(field(), fieldWith({0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 12, 14, 15, 16,
                                18, 20, 21, 24, 25, 27, 28, 30, 32, 35, 36, 40, 42, 45, 48,
                                49, 50, 54, 56, 60, 63, 64, 70, 72, 80, 81, 90, 100},
                               'G'));
  EXPECT_FALSE(c("Frmkiestafel").visible());
  EXPECT_TRUE(c("Cmdtimerreset").visible());
  EXPECT_FALSE(c("Cmdalletafels").visible());
  // The lesson's lists and table stay as they were.
  EXPECT_EQ(c("txtgetal2").text(), "9");
  EXPECT_TRUE(c("Lbltrainer").visible());
  EXPECT_TRUE(c("Lbltrainer2").visible());
  EXPECT_TRUE(c("Cmdterug").visible());
}

TEST_F(ClassroomAllTables, resetTurnsTheTableCellsYellowAndOffersTheChoiceAgain) {
  lesson(9);
  t.advance(15'000);
  c("Cmdalletafels").click();
  c("Cmdtimerreset").click();
  EXPECT_EQ(field(), fieldWith({}, '.'));
  EXPECT_FALSE(c("Cmdtimerreset").visible());
  EXPECT_TRUE(c("Cmdalletafels").visible());
  EXPECT_TRUE(c("Frmkiestafel").visible());
  EXPECT_EQ(c("txtgetal2").text(), "0");
  EXPECT_EQ(list().back(), "   10 x 0 = 0");
  EXPECT_FALSE(c("Lbltrainer").visible());
  EXPECT_FALSE(c("Lbltrainer2").visible());
  EXPECT_FALSE(c("lbltrainer3").visible());
  EXPECT_TRUE(c("Cmdterug").visible()); // the way back stays offered
}

TEST_F(ClassroomAllTables, andTheResetButtonAreNeverOfferedTogether) {
  auto neverBoth = [&](const char *when) {
    EXPECT_FALSE(c("Cmdalletafels").visible() && c("Cmdtimerreset").visible()) << when;
  };
  lesson(5);
  t.advance(15'000);
  neverBoth("lesson ended");
  c("Cmdalletafels").click();
  neverBoth("all tables");
  t.desktop.activate(t.program.mdiForm2());
  t.desktop.activate(klas());
  neverBoth("activated");
  lesson(6);
  t.advance(3'000);
  t.desktop.activate(t.program.mdiForm2());
  t.desktop.activate(klas());
  t.advance(12'000);
  neverBoth("lesson ended after an activation");
  EXPECT_TRUE(c("Cmdalletafels").visible());
}

} // namespace
