// The real program on Qt's offscreen platform, clicked through its real widgets.
#include "shell/program.h"
#include "shell/qt/backend.h"
#include "shell/qt/formview.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

struct RealProgram : ::testing::Test {
  qtb::QtBackend backend;
  tk::Desktop desktop{backend.clock(), backend};
  Program program{desktop};

  RealProgram() {
    backend.attach(desktop);
    backend.onEnd = [] {};
    program.start();
  }

  template <class W> W *find(tk::Form &form, const char *name) {
    qtb::FormView *view = backend.view(form);
    return view == nullptr ? nullptr : view->window()->findChild<W *>(QString::fromLatin1(name));
  }
};

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
