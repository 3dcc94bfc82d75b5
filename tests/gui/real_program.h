// The real program with the real Qt backend, for tests on the offscreen platform.
#pragma once

#include "shell/program.h"
#include "shell/qt/backend.h"
#include "shell/qt/formview.h"
#include "support/fakes.h"

#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace testing_support {

enum class ClockKind { Steady, Test };

class RealProgramTest : public ::testing::Test {
protected:
  // On the test clock a round takes no minute: advance() plays its ticks.
  explicit RealProgramTest(ClockKind kind = ClockKind::Steady)
      : backend(kind == ClockKind::Test ? &testClock : nullptr) {
    backend.attach(desktop);
    backend.onEnd = [] {};
    program.start();
  }

  template <class W> W *find(tk::Form &form, const char *name) {
    qtb::FormView *view = backend.view(form);
    return view == nullptr ? nullptr : view->window()->findChild<W *>(QString::fromLatin1(name));
  }
  void click(tk::Form &form, const char *name) {
    auto *button = find<QToolButton>(form, name);
    ASSERT_NE(button, nullptr) << name;
    ASSERT_TRUE(button->isVisible()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
  }
  void advance(tk::Millis ms) { testing_support::advance(desktop, testClock, ms); }

  ManualClock testClock;
  qtb::QtBackend backend;
  tk::Desktop desktop{backend.clock(), backend};
  Program program{desktop};
};

} // namespace testing_support
