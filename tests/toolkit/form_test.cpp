// Forms and controls: events, stacking and hit-testing, the registry and activation.
#include "support/fakes.h"
#include "toolkit/screen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using tk::Kind;

namespace {

constexpr tk::ControlDesign controls[] = {
    {.name = "front", .kind = Kind::Button, .rect = {0, 0, 1000, 1000}},
    {.name = "shape", .kind = Kind::Shape, .rect = {0, 0, 3000, 3000}},
    {.name = "behind", .kind = Kind::Label, .rect = {500, 0, 1000, 1000}},
    {.name = "under", .kind = Kind::Label, .rect = {500, 0, 2000, 1000}},
    {.name = "hidden", .kind = Kind::Button, .rect = {0, 1000, 1000, 1000}, .visible = false},
    {.name = "inner", .kind = Kind::Label, .in = "pic", .rect = {100, 100, 500, 500}},
    {.name = "pic", .kind = Kind::PictureBox, .rect = {4000, 0, 2000, 2000}},
    {.name = "box", .kind = Kind::TextBox, .rect = {0, 3000, 1000, 300}},
    {.name = "cell", .index = 100, .kind = Kind::Label, .rect = {0, 4000, 10, 10}},
    {.name = "cell", .index = 0, .kind = Kind::Label, .rect = {0, 4000, 10, 10}},
    {.name = "cell", .index = 5, .kind = Kind::Label, .rect = {0, 4000, 10, 10}},
    {.name = "tick", .kind = Kind::Timer, .enabled = true, .interval = 100},
};

constexpr tk::FormDesign proefDesign{
    .name = "Proef", .clientWidth = 8000, .clientHeight = 6000, .controls = controls};

constexpr tk::FormDesign childDesign{.name = "Kind", .kind = tk::WindowKind::MdiChild};
constexpr tk::FormDesign parentDesign{.name = "Moeder", .kind = tk::WindowKind::MdiParent};

// A form that writes down its events.
struct Proef : tk::Form {
  explicit Proef(tk::Desktop &desktop, std::vector<std::string> &log,
                 const tk::FormDesign &d = proefDesign)
      : Form(desktop, d) {
    onLoad = [this, &log] { log.push_back(std::string(name()) + ".Load"); };
    onActivate = [this, &log] { log.push_back(std::string(name()) + ".Activate"); };
  }
};

struct FormFixture : ::testing::Test {
  testing_support::ManualClock clock;
  testing_support::FakeServices services;
  tk::Desktop desktop{clock, services};
  std::vector<std::string> log;
  tk::Screen<Proef> proef{desktop, [this] { return std::make_unique<Proef>(desktop, log); }};
};

TEST_F(FormFixture, changeRunsInsideTheAssignmentOfADifferentTextOnly) {
  tk::Control &box = proef().control("box");
  box.onChange = [&] { log.push_back("Change:" + box.text()); };
  box.setText("12");
  box.setText("12");
  log.push_back("after");
  box.setText("");
  EXPECT_EQ(log, (std::vector<std::string>{"Proef.Load", "Change:12", "after", "Change:"}));
}

TEST_F(FormFixture, aChangeHandlerThatClearsItsBoxRunsNestedAndSeesTheEmptyText) {
  proef().show();
  log.clear();
  tk::Control &box = proef().control("box");
  box.onChange = [&] {
    log.push_back("Change:" + box.text());
    if (box.text() == "a") {
      box.setText("");
      log.push_back("cleared");
    }
  };
  box.typeText("a");
  EXPECT_EQ(log, (std::vector<std::string>{"Change:a", "Change:", "cleared"}));
}

TEST_F(FormFixture, labelsRaiseNoChange) {
  tk::Control &label = proef().control("behind");
  label.onChange = [&] { log.push_back("Change"); };
  label.setText("anders");
  EXPECT_EQ(log, (std::vector<std::string>{"Proef.Load"}));
}

TEST_F(FormFixture, windowedControlsLieInFrontOfLabelsAndEarlierRowsInFrontOfLater) {
  Proef &form = proef();
  EXPECT_EQ(form.controlAt(700, 500), &form.control("front"));
  EXPECT_EQ(form.controlAt(1200, 500), &form.control("behind"));
  EXPECT_EQ(form.controlAt(2000, 500), &form.control("under"));
}

TEST_F(FormFixture, stacksWindowedControlsFirstThenTheRestEachInTheirRowOrder) {
  // The one order the hit test and every window system's stacking and drawing follow.
  std::vector<std::string> names;
  for (const tk::Control *c : proef().frontToBack()) {
    names.push_back(c->qualifiedName());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"front", "hidden", "pic", "box", "shape", "behind",
                                             "under", "inner", "cell(100)", "cell(0)", "cell(5)"}));
  EXPECT_EQ(proef().depthOf(proef().control("shape")), 4);
}

TEST_F(FormFixture, shapesAndHiddenControlsLetThePointerThrough) {
  Proef &form = proef();
  EXPECT_EQ(form.controlAt(2800, 2800), nullptr); // only the shape is there
  EXPECT_EQ(form.controlAt(500, 1500), nullptr);  // the hidden button
  form.control("hidden").show();
  EXPECT_EQ(form.controlAt(500, 1500), &form.control("hidden"));
}

TEST_F(FormFixture, mouseMovesReachTheFrontControlInItsOwnCoordinatesOrTheForm) {
  Proef &form = proef();
  form.show();
  std::vector<tk::MouseEvent> inner;
  int onForm = 0;
  form.control("inner").onMouseMove = [&](const tk::MouseEvent &e) { inner.push_back(e); };
  form.onMouseMove = [&](const tk::MouseEvent &) { ++onForm; };
  // The picture box's contents start inside its two-pixel border.
  form.mouseMove({.buttons = tk::mouse::left, .shift = 0, .x = 4000 + 30 + 150, .y = 30 + 120});
  form.mouseMove({.buttons = 0, .shift = 0, .x = 2800, .y = 2800});
  ASSERT_EQ(inner.size(), 1U);
  EXPECT_FLOAT_EQ(inner[0].x, 50);
  EXPECT_FLOAT_EQ(inner[0].y, 20);
  EXPECT_EQ(inner[0].buttons, tk::mouse::left);
  EXPECT_EQ(onForm, 1);
}

TEST_F(FormFixture, hidingAContainerHidesWhatItHolds) {
  Proef &form = proef();
  form.control("pic").hide();
  EXPECT_FALSE(form.control("inner").visibleInForm());
  EXPECT_TRUE(form.control("inner").visible());
}

TEST_F(FormFixture, controlArraysAreFoundByIndexWithGaps) {
  tk::ControlArray cells = proef().array("cell");
  ASSERT_EQ(cells.members().size(), 3U);
  EXPECT_EQ(cells.members().front()->index(), 0);
  EXPECT_EQ(cells.members().back()->index(), 100);
  EXPECT_EQ(cells(5).index(), 5);
  EXPECT_THROW((void)cells(4), std::out_of_range);
  EXPECT_THROW((void)proef().control("nergens"), std::out_of_range);
}

TEST_F(FormFixture, clicksReachOnlyWhatAChildCanReach) {
  Proef &form = proef();
  int clicks = 0;
  form.control("hidden").onClick = [&] { ++clicks; };
  form.control("front").onClick = [&] { ++clicks; };
  form.control("front").click(); // the form is not shown yet
  form.show();
  form.control("hidden").click();
  form.control("front").setEnabled(false);
  form.control("front").click();
  form.control("front").setEnabled(true);
  form.control("front").click();
  EXPECT_EQ(clicks, 1);
}

TEST_F(FormFixture, aScreenIsCreatedOnFirstUseAndLoadedOnce) {
  EXPECT_FALSE(proef.loaded());
  proef().show();
  proef().hide();
  proef().show();
  EXPECT_EQ(log, (std::vector<std::string>{"Proef.Load", "Proef.Activate", "Proef.Activate"}));
}

TEST_F(FormFixture, unloadingANotLoadedScreenDoesNothing) {
  proef.unload();
  EXPECT_FALSE(proef.loaded());
  EXPECT_TRUE(log.empty());
}

TEST_F(FormFixture, anUnloadedScreenComesBackInItsDesignState) {
  proef().control("box").setText("iets");
  proef.unload();
  EXPECT_EQ(proef().control("box").text(), "");
  EXPECT_EQ(log, (std::vector<std::string>{"Proef.Load", "Proef.Load"}));
}

TEST_F(FormFixture, aFormUnloadedFromItsOwnHandlerLivesUntilTheHandlerReturns) {
  Proef &form = proef();
  form.show();
  int ticks = 0;
  form.timer("tick").onTimer = [&] { ++ticks; };
  bool stillThere = false;
  form.control("front").onClick = [&] {
    proef.unload();
    // The handler goes on with its own form: it must still be there, unloaded.
    stillThere = !form.loaded() && form.control("box").text().empty();
    EXPECT_FALSE(form.timer("tick").enabled());
  };
  form.control("front").click();
  EXPECT_TRUE(stillThere);
  EXPECT_FALSE(proef.loaded());
  testing_support::advance(desktop, clock, 1000);
  EXPECT_EQ(ticks, 0);
}

TEST_F(FormFixture, activationRunsOncePerActivationAndTheMainWindowPassesItToItsChild) {
  tk::Screen<Proef> moeder{desktop,
                           [this] { return std::make_unique<Proef>(desktop, log, parentDesign); }};
  tk::Screen<Proef> kind{desktop,
                         [this] { return std::make_unique<Proef>(desktop, log, childDesign); }};
  moeder().show();
  kind().show();
  proef().show();
  desktop.activate(proef());  // the window system reports what is already known
  desktop.activate(moeder()); // the child inside it becomes active again
  EXPECT_EQ(
      log, (std::vector<std::string>{"Moeder.Load", "Moeder.Activate", "Kind.Load", "Kind.Activate",
                                     "Proef.Load", "Proef.Activate", "Kind.Activate"}));
  EXPECT_EQ(desktop.active(), &kind());
}

TEST_F(FormFixture, keyPressMayReplaceOrSwallowTheKey) {
  Proef &form = proef();
  form.show();
  form.focusMovedTo(nullptr);
  form.onKeyPress = [](std::int16_t &key) {
    if (key == 13) {
      key = 0;
    }
  };
  EXPECT_EQ(form.keyPress(13), 0);
  EXPECT_EQ(form.keyPress('a'), 'a');
}

TEST_F(FormFixture, theFormHearsNoKeyWhileAControlItCanReachHasTheFocus) {
  Proef &form = proef();
  form.show();
  int heard = 0;
  form.onKeyPress = [&](std::int16_t &) { ++heard; };
  form.control("front").setFocus();
  EXPECT_EQ(form.keyPress(13), 13);
  // With the window itself focused, the form hears it.
  form.focusMovedTo(nullptr);
  form.keyPress(13);
  EXPECT_EQ(heard, 1);
}

TEST_F(FormFixture, onlyTheMainWindowClosesAndItsCloseEndsTheProgram) {
  tk::Screen<Proef> moeder{desktop,
                           [this] { return std::make_unique<Proef>(desktop, log, parentDesign); }};
  tk::Screen<Proef> kind{desktop,
                         [this] { return std::make_unique<Proef>(desktop, log, childDesign); }};
  moeder().show();
  kind().show();
  proef().show();
  proef().timer("tick").setEnabled(true);
  EXPECT_FALSE(desktop.closeRequested(proef()));
  EXPECT_FALSE(desktop.closeRequested(kind()));
  EXPECT_TRUE(proef().visible());
  EXPECT_TRUE(kind().visible());
  EXPECT_TRUE(proef().timer("tick").enabled());
  EXPECT_FALSE(services.ended);
  EXPECT_TRUE(desktop.closeRequested(moeder()));
  EXPECT_TRUE(services.ended);
}

TEST_F(FormFixture, aLockedTextBoxTakesThePointerButNoTyping) {
  tk::Control &box = proef().control("box");
  proef().show();
  box.setLocked(true);
  box.typeText("7");
  EXPECT_EQ(box.text(), "");
  EXPECT_EQ(proef().controlAt(box.left() + 1, box.top() + 1), &box);
  box.setLocked(false);
  box.typeText("7");
  EXPECT_EQ(box.text(), "7");
}

TEST_F(FormFixture, afterTheEndNoEventIsDelivered) {
  Proef &form = proef();
  form.show();
  int clicks = 0;
  form.control("front").onClick = [&] { ++clicks; };
  desktop.end();
  form.control("front").click();
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(services.ended);
  EXPECT_FALSE(form.timer("tick").enabled());
}

} // namespace
