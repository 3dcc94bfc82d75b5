// The real program on Qt's offscreen platform, clicked through its real widgets.
#include "gui/real_program.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QProgressBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

struct RealProgram : testing_support::RealProgramTest {};

TEST_F(RealProgram, opensMaximisedWithTheWelcomeScreenInside) {
  auto *main = qobject_cast<QMainWindow *>(backend.view(program.mdiForm2())->window());
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(main->isMaximized() || main->windowState().testFlag(Qt::WindowMaximized));
  EXPECT_EQ(main->windowTitle(), QStringLiteral(" Alle kinderen moeten alle kansen krijgen."));
  ASSERT_NE(find<QToolButton>(program.frmmecenaat1(), "cmdkombinnen"), nullptr);
  EXPECT_TRUE(find<QToolButton>(program.frmmecenaat1(), "cmdkombinnen")->isVisible());
}

TEST_F(RealProgram, theStartButtonAndATableButtonShowAProblemOfThatTable) {
  QToolButton *startButton = find<QToolButton>(program.frmmecenaat1(), "cmdkombinnen");
  ASSERT_NE(startButton, nullptr);
  QTest::mouseClick(startButton, Qt::LeftButton);
  ASSERT_TRUE(program.tafels.loaded());
  EXPECT_FALSE(startButton->isVisible());

  QToolButton *times4 = find<QToolButton>(program.tafels(), "cmdstarter(3)");
  ASSERT_NE(times4, nullptr);
  EXPECT_EQ(times4->text(), QStringLiteral("x 4"));
  ASSERT_TRUE(times4->isVisible());
  QTest::mouseClick(times4, Qt::LeftButton);

  auto *problem = find<QLabel>(program.tafels(), "lblvalprobleem");
  ASSERT_NE(problem, nullptr);
  EXPECT_TRUE(problem->isVisible());
  EXPECT_TRUE(problem->text().endsWith(QStringLiteral(" x 4 = ?")))
      << problem->text().toStdString();
  EXPECT_FALSE(times4->isVisible());
}

// The same program on a clock the test advances, so that a round takes no minute.
struct RealProgramOnTestClock : testing_support::RealProgramTest {
  RealProgramOnTestClock() : RealProgramTest(testing_support::ClockKind::Test) {}
};

TEST_F(RealProgramOnTestClock, aChildPlaysARoundWithTheRealWidgetsUntilItsVerdict) {
  QTest::mouseClick(find<QToolButton>(program.frmmecenaat1(), "cmdkombinnen"), Qt::LeftButton);
  QTest::mouseClick(find<QToolButton>(program.tafels(), "cmdstarter(3)"), Qt::LeftButton);
  auto *answerBox = find<QLineEdit>(program.tafels(), "txtAntwoord");
  auto *problem = find<QLabel>(program.tafels(), "lblvalprobleem");
  auto *score = find<QLabel>(program.tafels(), "Lbltotaal");
  ASSERT_NE(answerBox, nullptr);
  ASSERT_TRUE(answerBox->isEnabled());

  // "500 x 4 = ?": the first number times 4, typed key by key.
  const int first = problem->text().section(QLatin1Char(' '), 0, 0).toInt();
  QTest::keyClicks(answerBox, QString::number(first * 4));
  EXPECT_EQ(score->text(), QStringLiteral("1"));
  EXPECT_EQ(answerBox->text(), QString());

  advance(30'000);
  EXPECT_EQ(find<QLabel>(program.tafels(), "Lblchrono")->text(), QStringLiteral("30"));
  advance(31'000);
  auto *verdict = find<QLabel>(program.tafels(), "Lblmemo");
  EXPECT_TRUE(verdict->isVisible());
  EXPECT_EQ(verdict->text(), QStringLiteral(" Dat is te traag"));
  EXPECT_TRUE(find<QWidget>(program.tafels(), "Imgpotloodrood")->isVisible());
  EXPECT_FALSE(answerBox->isEnabled());

  QToolButton *stop = find<QToolButton>(program.tafels(), "Cmdstop");
  ASSERT_TRUE(stop->isVisible());
  QTest::mouseClick(stop, Qt::LeftButton);
  EXPECT_FALSE(program.tafels.loaded());
  ASSERT_TRUE(program.frminfo.loaded());
  auto *bar = find<QProgressBar>(program.frminfo(), "ProgressBar1");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->parentWidget(), find<QWidget>(program.frminfo(), "StatusBar1"));
  advance(151 * 75);
  EXPECT_TRUE(desktop.ended());
}

} // namespace

int main(int argc, char *argv[]) {
  // No display needed; a test run under a real X server may still choose xcb.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
