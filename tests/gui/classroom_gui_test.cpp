// The classroom on Qt's offscreen platform, opened and left through its real widgets.
#include "gui/real_program.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

struct ClassroomOnScreen : testing_support::RealProgramTest {};

TEST_F(ClassroomOnScreen, theRedLightOpensItALessonButtonTeachesAndTerugGoesBackToTheRound) {
  click(program.frmmecenaat1(), "cmdkombinnen");
  click(program.tafels(), "cmdstarter(3)");
  click(program.tafels(), "cmdrood");
  ASSERT_TRUE(program.aklas.loaded());
  QWidget *window = backend.view(program.aklas())->window();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("A klas "));
  auto *problem = find<QLabel>(program.aklas(), "lblinfor");
  ASSERT_NE(problem, nullptr);
  EXPECT_TRUE(problem->text().endsWith(QStringLiteral(" x 4 = ?")))
      << problem->text().toStdString();

  auto *times7 = find<QToolButton>(program.aklas(), "Cmd7");
  ASSERT_NE(times7, nullptr);
  EXPECT_EQ(times7->text(), QStringLiteral("x 7"));
  click(program.aklas(), "Cmd7");

  auto *box7 = find<QLineEdit>(program.aklas(), "Text2(7)");
  auto *box8 = find<QLineEdit>(program.aklas(), "Text2(8)");
  ASSERT_NE(box7, nullptr);
  ASSERT_NE(box8, nullptr);
  EXPECT_EQ(box7->text(), QStringLiteral("7"));
  EXPECT_TRUE(box7->isReadOnly());
  EXPECT_EQ(box7->palette().color(QPalette::Base), QColor(0, 255, 0));
  EXPECT_EQ(box8->palette().color(QPalette::Base), QColor(255, 255, 0));
  EXPECT_FALSE(times7->isVisible());
  EXPECT_FALSE(find<QToolButton>(program.aklas(), "Cmd1")->isVisible());
  auto *easy = find<QLabel>(program.aklas(), "Lbltrainer2");
  ASSERT_NE(easy, nullptr);
  EXPECT_TRUE(easy->isVisible());
  EXPECT_TRUE(easy->text().startsWith(QStringLiteral("  0 x 7= ?"))) << easy->text().toStdString();

  // Fifteen real seconds are too long to wait: the lesson's two timers tick by hand.
  desktop.dispatch([this] {
    program.aklas().Timer_Timer(7);
    program.aklas().Timerreset_Timer();
  });
  EXPECT_EQ(box7->palette().color(QPalette::Base), QColor(0, 0, 0));
  EXPECT_TRUE(find<QLabel>(program.aklas(), "Lbltrainer")->isVisible());
  click(program.aklas(), "Cmdterug");

  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(backend.view(program.tafels())->window()->isVisible());
  EXPECT_TRUE(find<QToolButton>(program.tafels(), "cmdrood")->isVisible());
}

} // namespace
