// Where the program meets the window system: closes, keys, focus and the pointer, each
// delivered as Qt delivers it (real close, key and mouse events on the real widgets).
#include "gui/real_program.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

struct WindowSystem : testing_support::RealProgramTest {
  WindowSystem() : RealProgramTest(testing_support::ClockKind::Test) {}

  QWidget *window(tk::Form &form) { return backend.view(form)->window(); }
  // A close as the window manager sends it for Alt+F4: returns whether the window went.
  bool closeByWindowManager(tk::Form &form) {
    QCloseEvent close;
    QApplication::sendEvent(window(form), &close);
    return close.isAccepted();
  }
  void openClassroom() {
    click(program.frmmecenaat1(), "cmdkombinnen");
    click(program.tafels(), "cmdstarter(3)");
    click(program.tafels(), "cmdrood");
  }
};

TEST_F(WindowSystem, aCloseOfTheDrillTheClassroomOrAChildWindowIsRefusedAndChangesNothing) {
  EXPECT_FALSE(closeByWindowManager(program.frmmecenaat1()));
  EXPECT_TRUE(window(program.frmmecenaat1())->isVisible());

  click(program.frmmecenaat1(), "cmdkombinnen");
  click(program.tafels(), "cmdstarter(3)");
  EXPECT_FALSE(closeByWindowManager(program.tafels()));
  EXPECT_FALSE(window(program.tafels())->close());
  EXPECT_TRUE(window(program.tafels())->isVisible());
  EXPECT_TRUE(program.tafels().visible());
  EXPECT_TRUE(program.tafels().timer("Tmrchrono").enabled());

  click(program.tafels(), "cmdrood");
  EXPECT_FALSE(window(program.aklas())->close());
  EXPECT_TRUE(window(program.aklas())->isVisible());
  // The way back still works, and the red light opens the classroom again.
  click(program.aklas(), "Cmd7");
  desktop.dispatch([this] { program.aklas().Timerreset_Timer(); });
  click(program.aklas(), "Cmdterug");
  click(program.tafels(), "cmdrood");
  EXPECT_TRUE(window(program.aklas())->isVisible());
  EXPECT_FALSE(window(program.tafels())->isVisible());
  EXPECT_FALSE(desktop.ended());
}

TEST_F(WindowSystem, closingTheMainWindowEndsTheProgram) {
  EXPECT_TRUE(window(program.mdiForm2())->close());
  EXPECT_TRUE(desktop.ended());
}

TEST_F(WindowSystem, enterOnAFocusedClassroomButtonPressesItAndInABoxDoesNothing) {
  openClassroom();
  auto *times7 = find<QToolButton>(program.aklas(), "Cmd7");
  times7->setFocus(Qt::TabFocusReason);
  QTest::keyClick(times7, Qt::Key_Return);
  EXPECT_TRUE(program.aklas().timer("Timer7").enabled());
  EXPECT_EQ(find<QLineEdit>(program.aklas(), "Text2(7)")->palette().color(QPalette::Base),
            QColor(0, 255, 0));

  auto *box = find<QLineEdit>(program.aklas(), "Text2(14)");
  QTest::mouseClick(box, Qt::LeftButton);
  ASSERT_EQ(window(program.aklas())->focusWidget(), box);
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(window(program.aklas())->focusWidget(), box);
}

TEST_F(WindowSystem, theClassroomShownGivesItsFirstButtonTheKeyboard) {
  openClassroom();
  const tk::Control *first = program.aklas().nextInTabOrder(nullptr);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(program.aklas().focused(), first);
  EXPECT_EQ(window(program.aklas())->focusWidget(), backend.view(program.aklas())->widget(*first));
}

// "x 7" pressed by its key starts the lesson, which hides the frame around it and every
// other button: the keyboard goes to the window itself, in Qt and in the toolkit alike,
// and Enter there moves it on to a button once the lesson is over.
TEST_F(WindowSystem, aLessonStartedByKeyLeavesTheKeyboardWithTheClassroomAndEnterMovesItOn) {
  openClassroom();
  QWidget *classroom = window(program.aklas());
  auto *times7 = find<QToolButton>(program.aklas(), "Cmd7");
  times7->setFocus(Qt::TabFocusReason);
  QTest::keyClick(times7, Qt::Key_Space);
  ASSERT_TRUE(program.aklas().timer("Timer7").enabled());
  EXPECT_EQ(program.aklas().focused(), nullptr);
  EXPECT_EQ(classroom->focusWidget(), classroom);
  desktop.dispatch([this] { program.aklas().Timerreset_Timer(); });
  QTest::keyClick(classroom, Qt::Key_Return);
  QCoreApplication::processEvents(); // the Tab goes out without waiting
  EXPECT_FALSE(program.aklas().timer("Timer7").enabled());
  EXPECT_NE(classroom->focusWidget(), classroom);
}

TEST_F(WindowSystem, aKeyStillTypedAsTheRoundEndsLandsOnThePlayedTableNotOnStop) {
  click(program.frmmecenaat1(), "cmdkombinnen");
  click(program.tafels(), "cmdstarter(3)");
  auto *answerBox = find<QLineEdit>(program.tafels(), "txtAntwoord");
  ASSERT_EQ(window(program.tafels())->focusWidget(), answerBox);
  advance(61'000);
  QWidget *focus = window(program.tafels())->focusWidget();
  ASSERT_EQ(focus, find<QToolButton>(program.tafels(), "cmdstarter(3)"));
  QTest::keyClick(focus, Qt::Key_Space);
  EXPECT_TRUE(program.tafels.loaded());
  EXPECT_FALSE(program.frminfo.loaded());
  // The space pressed the table just played: the next round is on.
  EXPECT_TRUE(program.tafels().timer("Tmrchrono").enabled());
}

// The program cannot be seen only once every window of it is minimised; its time then
// stands still, and goes on when a window is shown again.
TEST_F(WindowSystem, theProgramIsHiddenWhileEveryWindowOfItIsMinimised) {
  click(program.frmmecenaat1(), "cmdkombinnen");
  click(program.tafels(), "cmdstarter(3)");
  window(program.mdiForm2())->showMinimized();
  EXPECT_FALSE(desktop.hidden());
  window(program.tafels())->showMinimized();
  EXPECT_TRUE(desktop.hidden());
  EXPECT_EQ(desktop.waitForNextTick(), std::nullopt);
  window(program.tafels())->showNormal();
  EXPECT_FALSE(desktop.hidden());
  EXPECT_NE(desktop.waitForNextTick(), std::nullopt);
}

} // namespace
