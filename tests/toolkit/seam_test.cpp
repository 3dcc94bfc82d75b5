// Where the program meets a window system: the keyboard focus when a form is shown or
// its focused control goes, Tab, the keys on a control, a display that changes its size
// and a program that cannot be seen. Each rule is the toolkit's; the backends carry it out.
#include "support/fakes.h"
#include "toolkit/keys.h"
#include "toolkit/screen.h"

#include <gtest/gtest.h>

using tk::KeyEffect;
using tk::Kind;

namespace {

constexpr tk::ControlDesign controls[] = {
    {.name = "frame", .kind = Kind::Frame, .rect = {0, 0, 3000, 900}},
    {.name = "first", .kind = Kind::Button, .in = "frame", .rect = {0, 100, 1000, 500}},
    {.name = "second", .kind = Kind::Button, .rect = {0, 1000, 1000, 500}},
    {.name = "passed", .kind = Kind::Button, .rect = {0, 1500, 1000, 500}, .tabStop = false},
    {.name = "digits", .kind = Kind::TextBox, .rect = {0, 2000, 1000, 300}, .digitKeys = true},
    {.name = "tick", .kind = Kind::Timer, .enabled = true, .interval = 1000},
};
constexpr tk::FormDesign seamDesign{
    .name = "Naad", .clientWidth = 6000, .clientHeight = 4500, .controls = controls};

struct Naad : tk::Form {
  explicit Naad(tk::Desktop &desktop) : Form(desktop, seamDesign) {}
};

struct Seam : ::testing::Test {
  testing_support::ManualClock clock;
  testing_support::FakeServices services;
  tk::Desktop desktop{clock, services};
  tk::Screen<Naad> naad{desktop, [this] { return std::make_unique<Naad>(desktop); }};
  tk::Control &c(const char *name) { return naad().control(name); }
};

TEST_F(Seam, aShownFormGivesTheKeyboardToItsFirstControlInTabOrderUnlessOneHoldsItAlready) {
  naad().show();
  EXPECT_EQ(naad().focused(), &c("first"));
  c("digits").setFocus();
  naad().hide();
  naad().show();
  EXPECT_EQ(naad().focused(), &c("digits"));
}

TEST_F(Seam, aFocusedControlHiddenOrDisabledPassesTheKeyboardOnInTabOrderOrToTheWindow) {
  naad().show();
  c("frame").hide(); // with the frame goes the button in it
  EXPECT_EQ(naad().focused(), &c("second"));
  c("second").setEnabled(false);
  EXPECT_EQ(naad().focused(), &c("digits"));
  c("digits").hide();
  EXPECT_EQ(naad().focused(), nullptr);
  // With no control focused, the form itself hears the keys.
  int heard = 0;
  naad().onKeyPress = [&](std::int16_t &) { ++heard; };
  naad().keyPress('x');
  EXPECT_EQ(heard, 1);
}

TEST_F(Seam, tabGoesRoundTheTabStopsThatCanHoldTheKeyboardBothWays) {
  naad().show();
  c("second").hide();
  naad().tab(false);
  EXPECT_EQ(naad().focused(), &c("digits"));
  naad().tab(false);
  EXPECT_EQ(naad().focused(), &c("first"));
  naad().tab(true);
  EXPECT_EQ(naad().focused(), &c("digits"));
  desktop.tabPosted(); // the Tab a screen sends goes to the active form
  EXPECT_EQ(naad().focused(), &c("first"));
}

TEST_F(Seam, aKeyAtTheFormMovesTheFocusByTabOrReachesKeyPressAsTheKeyRuleSays) {
  naad().show();
  EXPECT_TRUE(naad().tabKey({.code = tk::key::tab}));
  EXPECT_EQ(naad().focused(), &c("second"));
  EXPECT_TRUE(naad().tabKey({.code = tk::key::tab, .shift = true}));
  EXPECT_EQ(naad().focused(), &c("first"));
  EXPECT_FALSE(naad().tabKey({.code = tk::key::tab, .shortcut = true}));
  EXPECT_FALSE(naad().tabKey({.code = 'x'}));
  EXPECT_EQ(naad().focused(), &c("first"));

  naad().focusMovedTo(nullptr);
  std::vector<std::int16_t> heard;
  naad().onKeyPress = [&](std::int16_t &key) {
    heard.push_back(key);
    key = key == 'x' ? 0 : key;
  };
  EXPECT_TRUE(naad().typed({.code = 'x'}));
  EXPECT_FALSE(naad().typed({.code = 'y'})) << "heard, but not used up";
  EXPECT_FALSE(naad().typed({.code = tk::key::enter, .shortcut = true}));
  EXPECT_FALSE(naad().typed({.code = 'x', .composing = true}));
  EXPECT_FALSE(naad().typed({.code = tk::key::tab}));
  EXPECT_EQ(heard, (std::vector<std::int16_t>{'x', 'y'}));
}

TEST_F(Seam, reportsThatComeWhileAMessageBoxIsOpenWaitUntilItClosesAndComeInOrder) {
  // A window system may deliver a posted Tab or an activation from inside the message
  // box's own loop: the handler that opened the box must finish first.
  constexpr tk::FormDesign otherDesign{.name = "Ander"};
  tk::Form other(desktop, otherDesign);
  desktop.load(other);
  other.show();
  naad().show();
  std::vector<std::string> log;
  other.onActivate = [&] { log.push_back("Ander.Activate"); };
  c("first").onClick = [&] {
    services.messageBox("Let op", "");
    log.push_back("box closed");
  };
  services.whileMessageOpen = [&] {
    desktop.tabPosted();
    desktop.activate(other);
    log.push_back("focus on " + naad().focused()->name());
  };
  c("first").click();
  EXPECT_EQ(log, (std::vector<std::string>{"focus on first", "box closed", "Ander.Activate"}));
  EXPECT_EQ(naad().focused(), &c("second")) << "the Tab went to the form active when it came";
  EXPECT_EQ(desktop.active(), &other);
}

TEST_F(Seam, aDisplayOfAnotherSizeCentresAgainOnlyTheWindowsThatStandCentred) {
  naad().centreOnDisplay();
  services.width = 768 * tk::twipsPerPixel;
  services.height = 1024 * tk::twipsPerPixel;
  desktop.displayChanged();
  EXPECT_EQ(naad().left(), (services.width - naad().outerWidth()) / 2);
  EXPECT_EQ(naad().top(), (services.height - naad().outerHeight()) / 2);
  naad().setLeft(100);
  services.width = 1024 * tk::twipsPerPixel;
  desktop.displayChanged();
  EXPECT_EQ(naad().left(), 100);
}

TEST_F(Seam, whileTheProgramCannotBeSeenItsTimeStandsStillAndGoesOnInPhase) {
  int ticks = 0;
  naad().timer("tick").onTimer = [&] { ++ticks; };
  testing_support::advance(desktop, clock, 400);
  desktop.setHidden(true);
  EXPECT_EQ(desktop.waitForNextTick(), std::nullopt);
  testing_support::advance(desktop, clock, 5000);
  EXPECT_EQ(ticks, 0);
  desktop.setHidden(false);
  EXPECT_EQ(desktop.waitForNextTick(), 600);
  testing_support::advance(desktop, clock, 599);
  EXPECT_EQ(ticks, 0);
  testing_support::advance(desktop, clock, 1);
  EXPECT_EQ(ticks, 1);
}

struct KeyCase {
  const char *control;
  tk::KeyDown key;
  KeyEffect effect;
};

class KeysOnAControl : public Seam, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeysOnAControl, doWhatTheToolkitSays) {
  naad().show();
  if (std::string_view(GetParam().control) == "locked") {
    c("digits").setLocked(true);
  }
  const char *name =
      std::string_view(GetParam().control) == "locked" ? "digits" : GetParam().control;
  EXPECT_EQ(tk::keyOnControl(c(name), GetParam().key), GetParam().effect);
}

INSTANTIATE_TEST_SUITE_P(
    Seam, KeysOnAControl,
    ::testing::Values(
        KeyCase{"first", {.code = tk::key::space}, KeyEffect::Press},
        KeyCase{"first", {.code = tk::key::enter}, KeyEffect::Press},
        KeyCase{"first", {.code = tk::key::space, .repeat = true}, KeyEffect::Swallow},
        KeyCase{"first", {.code = tk::key::enter, .shortcut = true}, KeyEffect::Swallow},
        KeyCase{"first", {.code = 'a'}, KeyEffect::Default},
        KeyCase{"digits", {.code = '&', .digitAtPlace = 1}, KeyEffect::TypeDigit},
        KeyCase{"digits", {.code = '&', .digitAtPlace = 1, .shortcut = true}, KeyEffect::Default},
        KeyCase{"digits", {.code = 0, .digitAtPlace = 7, .composing = true}, KeyEffect::Default},
        KeyCase{"locked", {.code = '7', .digitAtPlace = 7}, KeyEffect::Default},
        KeyCase{"digits", {.code = 'a'}, KeyEffect::Default}));

} // namespace

namespace {

using tk::FormKeyEffect;

struct FormKeyCase {
  tk::KeyDown key;
  FormKeyEffect effect;
};

class KeysAtAForm : public ::testing::TestWithParam<FormKeyCase> {};

TEST_P(KeysAtAForm, doWhatTheToolkitSays) {
  EXPECT_EQ(tk::keyOnForm(GetParam().key), GetParam().effect);
}

INSTANTIATE_TEST_SUITE_P(
    Seam, KeysAtAForm,
    ::testing::Values(
        FormKeyCase{{.code = tk::key::tab}, FormKeyEffect::NextControl},
        FormKeyCase{{.code = tk::key::tab, .shift = true}, FormKeyEffect::PreviousControl},
        // Ctrl+Tab and Alt+Tab switch tabs and windows: the window system's.
        FormKeyCase{{.code = tk::key::tab, .shortcut = true}, FormKeyEffect::Default},
        FormKeyCase{{.code = tk::key::enter}, FormKeyEffect::KeyPress},
        FormKeyCase{{.code = 'a', .shift = true}, FormKeyEffect::KeyPress},
        // Ctrl+M types a carriage return on Windows: it is no Enter.
        FormKeyCase{{.code = tk::key::enter, .shortcut = true}, FormKeyEffect::Default},
        FormKeyCase{{.code = 'a', .composing = true}, FormKeyEffect::Default},
        FormKeyCase{{.code = 0}, FormKeyEffect::Default}));

TEST(KeyCodes, countEachCharacterOnceInSixteenBits) {
  EXPECT_EQ(tk::keyCodeOf(U'a'), 'a');
  EXPECT_EQ(tk::keyCodeOf(U'€'), static_cast<std::int16_t>(0x20AC));
  EXPECT_EQ(tk::keyCodeOf(U'\uFFFF'), static_cast<std::int16_t>(0xFFFF));
  // A character beyond 16 bits comes once, never as two halves of a surrogate pair.
  EXPECT_EQ(tk::keyCodeOf(U'\U0001F600'), static_cast<std::int16_t>(0xFFFD));
}

} // namespace
