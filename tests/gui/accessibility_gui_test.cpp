// The real widgets as a screen reader and the keyboard meet them: names and descriptions
// that follow the screens (their change events need a real accessibility bus, which the
// screen-reader test in tests/a11y has), decoration left out of the tree, Tab
// in screen order, the focus ring, and digits typed by key position.
#include "gui/real_program.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct AccessibleProgram : testing_support::RealProgramTest {
  AccessibleProgram() : RealProgramTest(testing_support::ClockKind::Test) {
    QTest::mouseClick(find<QToolButton>(program.frmmecenaat1(), "cmdkombinnen"), Qt::LeftButton);
  }

  QWidget *widget(tk::Form &form, const char *name) { return find<QWidget>(form, name); }
  static QString said(QWidget *widget, QAccessible::Text what) {
    return QAccessible::queryAccessibleInterface(widget)->text(what);
  }
  // A key as X11 or Wayland delivers it: its place, and the text the layout gives.
  static void press(QWidget *target, quint32 scanCode, Qt::Key key, const QString &text,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, 0, 0, text);
    QApplication::sendEvent(target, &event);
  }
};

TEST_F(AccessibleProgram, theCountdownScoreAndProblemAreHeardAsTheyChange) {
  Tafels &drill = program.tafels();
  QWidget *chrono = widget(drill, "Lblchrono");
  QWidget *score = widget(drill, "Lbltotaal");
  QWidget *answer = widget(drill, "txtAntwoord");
  EXPECT_EQ(said(backend.view(drill)->window(), QAccessible::Name),
            QStringLiteral("Tafels oefenen"));
  QTest::mouseClick(find<QToolButton>(drill, "cmdstarter(3)"), Qt::LeftButton);
  EXPECT_EQ(said(answer, QAccessible::Description), QString::fromStdString(drill.probleem()));

  advance(4000);
  EXPECT_EQ(said(chrono, QAccessible::Name), QStringLiteral("56"));

  const std::string problem = drill.probleem();
  const int product = std::stoi(problem.substr(0, problem.find(' '))) * 4;
  QTest::keyClicks(answer, QString::number(product));
  EXPECT_EQ(said(score, QAccessible::Name), QStringLiteral("1"));
}

TEST_F(AccessibleProgram, decorationIsLeftOutOfTheTreeAndPicturesWithMeaningStay) {
  Tafels &drill = program.tafels();
  QAccessibleInterface *window =
      QAccessible::queryAccessibleInterface(backend.view(drill)->client());
  std::vector<QString> pictures;
  for (int i = 0; i < window->childCount(); ++i) {
    QAccessibleInterface *child = window->child(i);
    ASSERT_NE(child, nullptr);
    EXPECT_NE(child->object()->objectName(), QStringLiteral("Imgpotloodrood"));
    EXPECT_NE(child->object()->objectName().left(6), QStringLiteral("shpTip"));
    if (child->role() == QAccessible::Graphic) {
      pictures.push_back(child->text(QAccessible::Name));
      EXPECT_EQ(child->text(QAccessible::Description), QString()) << "said once, not twice";
    }
    EXPECT_EQ(window->indexOfChild(child), i);
  }
  ASSERT_EQ(pictures.size(), 1U);
  EXPECT_FALSE(pictures.front().isEmpty()) << "the web-link sign is named by its tooltip";
}

TEST_F(AccessibleProgram, tabFollowsTheScreenFromTheStopButtonAlongTheTableButtons) {
  Tafels &drill = program.tafels();
  QWidget *window = backend.view(drill)->window();
  QApplication::setActiveWindow(window);
  widget(drill, "Cmdstop")->setFocus();
  QStringList visited;
  for (int i = 0; i < 11; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited << QApplication::focusWidget()->objectName();
  }
  // The waiting answer box stands left of the stop button in their row.
  EXPECT_EQ(visited.join(QLatin1Char(' ')).toStdString(),
            "cmdstarter(0) cmdstarter(2) cmdstarter(1) cmdstarter(3) cmdstarter(4) "
            "cmdstarter(5) cmdstarter(6) cmdstarter(7) cmdstarter(8) txtAntwoord Cmdstop");
}

TEST_F(AccessibleProgram, theFocusedButtonWearsARingOfBothColours) {
  Tafels &drill = program.tafels();
  QApplication::setActiveWindow(backend.view(drill)->window());
  auto *button = find<QToolButton>(drill, "cmdstarter(3)");
  const auto corner = [button](int at) { return button->grab().toImage().pixelColor(at, at); };
  EXPECT_NE(corner(1), Qt::black);
  button->setFocus();
  ASSERT_TRUE(button->hasFocus());
  EXPECT_EQ(corner(1), QColor(Qt::black));
  EXPECT_EQ(corner(3), QColor(Qt::white));
  EXPECT_NE(corner(6), QColor(Qt::white));
}

TEST_F(AccessibleProgram, theAnswerBoxTakesDigitsByKeyPlaceWhateverTheLayoutGives) {
  Tafels &drill = program.tafels();
  QTest::mouseClick(find<QToolButton>(drill, "cmdstarter(3)"), Qt::LeftButton);
  auto *answer = find<QLineEdit>(drill, "txtAntwoord");
  // Belgian AZERTY: the number row gives & é " ' ( without Shift.
  press(answer, 10, Qt::Key_Ampersand, QStringLiteral("&"));
  press(answer, 11, Qt::Key_Eacute, QStringLiteral("\u00e9"));
  press(answer, 13, Qt::Key_Apostrophe, QStringLiteral("'"));
  EXPECT_EQ(answer->text(), QStringLiteral("124"));
  answer->clear();
  // The keypad with NumLock off: End, Down, Insert.
  press(answer, 87, Qt::Key_End, {}, Qt::KeypadModifier);
  press(answer, 88, Qt::Key_Down, {}, Qt::KeypadModifier);
  press(answer, 90, Qt::Key_Insert, {}, Qt::KeypadModifier);
  EXPECT_EQ(answer->text(), QStringLiteral("120"));
  // A shortcut keeps its meaning: Ctrl with the key of 1 types nothing.
  press(answer, 10, Qt::Key_1, QStringLiteral("1"), Qt::ControlModifier);
  EXPECT_EQ(answer->text(), QStringLiteral("120"));
  EXPECT_EQ(drill.control("txtAntwoord").text(), "120");
}

} // namespace
