// Start-up, the welcome screen and the ways into the drill.
#include "support/fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

struct Startup : ::testing::Test {
  testing_support::RecordingWindowSystem windows; // outlives the program it watches
  testing_support::TestProgram t;
  Program &program = t.program;

  Startup() { t.desktop.setWindowSystem(&windows); }
};

// The main window's Load shows the welcome screen inside it: the main window shows first, so
// that it is on the screen before the welcome screen's window and controls are made.
TEST_F(Startup, loadsTheMainWindowWhichShowsTheWelcomeScreenAndLeavesTheInfoScreenUnloaded) {
  program.start();
  EXPECT_THAT(windows.log, ElementsAre("MDIForm2.Loaded", "MDIForm2.Shown", "frmmecenaat1.Loaded",
                                       "frmmecenaat1.Shown"));
  EXPECT_FALSE(program.frminfo.loaded());
  EXPECT_TRUE(program.mdiForm2().design().maximised);
  EXPECT_EQ(t.desktop.active(), &program.frmmecenaat1());
}

TEST_F(Startup, theMainWindowHasItsCaptionAndItsOneMenu) {
  program.start();
  EXPECT_EQ(program.mdiForm2().design().caption, " Alle kinderen moeten alle kansen krijgen.");
  EXPECT_EQ(program.mdiForm2().control("aftrek").text(), "OPENEN ");
  EXPECT_EQ(program.mdiForm2().control("aftrek2").text(), "&Basis");
}

TEST_F(Startup, theWelcomeScreenIsCentredOnTheDisplayInSinglePrecisionWithoutRounding) {
  // Display and window differ by an odd number of twips: the half twip stays.
  t.services.width = 15361;
  t.services.height = 11521;
  program.start();
  Frmmecenaat1 &welcome = program.frmmecenaat1();
  EXPECT_FLOAT_EQ(welcome.outerWidth(), 11160 + 2 * 3 * 15);
  EXPECT_FLOAT_EQ(welcome.left(), (15361.0F - welcome.outerWidth()) * 0.5F);
  EXPECT_FLOAT_EQ(welcome.top(), (11521.0F - welcome.outerHeight()) * 0.5F);
  EXPECT_NE(welcome.left(), static_cast<float>(static_cast<int>(welcome.left())));
}

TEST_F(Startup, everyActivationPlacesTheWelcomeScreenAgain) {
  program.start();
  Frmmecenaat1 &welcome = program.frmmecenaat1();
  const float left = welcome.left();
  welcome.setLeft(0);
  welcome.setTop(0);
  welcome.control("Frame1", 1).hide();
  program.tafels().show(); // another window becomes active
  t.desktop.activate(program.mdiForm2());
  EXPECT_FLOAT_EQ(welcome.left(), left);
  EXPECT_TRUE(welcome.control("Frame1", 1).visible());
}

TEST_F(Startup, aWindowLargerThanTheDisplayGetsANegativePosition) {
  t.services.width = 640 * 15;
  program.start();
  EXPECT_LT(program.frmmecenaat1().left(), 0);
}

struct OpeningTheDrill : Startup, ::testing::WithParamInterface<bool> {
  void open() {
    if (GetParam()) {
      program.frmmecenaat1().control("cmdkombinnen").click();
    } else {
      program.mdiForm2().control("aftrek2").click();
    }
  }
};

TEST_P(OpeningTheDrill, hidesTheWelcomeShowsTheDrillThenEnablesTheMainWindow) {
  program.start();
  windows.log.clear();
  open();
  EXPECT_THAT(windows.log, ElementsAre("frmmecenaat1.Hidden", "Tafels.Loaded", "MDIForm2.Disabled",
                                       "Tafels.Shown", "MDIForm2.Enabled"));
  EXPECT_EQ(t.desktop.active(), &program.tafels());
}

TEST_P(OpeningTheDrill, againBringsTheLoadedDrillForwardWithoutReloadingIt) {
  program.start();
  open();
  Tafels *drill = &program.tafels();
  drill->control("cmdstarter", 3).click();
  const std::string counted = drill->control("lblaantal").text();
  windows.log.clear();
  program.mdiForm2().control("aftrek2").click();
  EXPECT_EQ(&program.tafels(), drill);
  EXPECT_EQ(drill->control("lblaantal").text(), counted);
  EXPECT_THAT(windows.log, ElementsAre());
  EXPECT_TRUE(program.mdiForm2().enabled());
  EXPECT_FALSE(program.frmmecenaat1().visible());
}

INSTANTIATE_TEST_SUITE_P(ByButtonAndByMenu, OpeningTheDrill, ::testing::Bool(),
                         [](const auto &row) { return row.param ? "startButton" : "menuBasis"; });

TEST_F(Startup, theStartHandlerTwiceInARowIsHarmless) {
  program.start();
  program.frmmecenaat1().cmdkombinnen_Click();
  program.frmmecenaat1().cmdkombinnen_Click();
  EXPECT_FALSE(program.frmmecenaat1().visible());
  EXPECT_TRUE(program.tafels().visible());
  EXPECT_TRUE(program.mdiForm2().enabled());
}

TEST_F(Startup, openingTheDrillAfterTheWelcomeWasUnloadedLoadsItHidden) {
  program.start();
  program.frmmecenaat1.unload();
  program.openDrill();
  EXPECT_TRUE(program.frmmecenaat1.loaded());
  EXPECT_FALSE(program.frmmecenaat1().visible());
  EXPECT_TRUE(program.tafels().visible());
}

} // namespace
