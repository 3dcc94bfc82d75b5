// How the Windows program maps the toolkit's values: pixels at a window's DPI, places in a
// container, UTF-16 text and keys as WM_KEYDOWN and WM_CHAR bring them. No window: these
// run under Wine beside the unit tests.
#include "shell/win32/mapping.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <optional>

using tk::Kind;

namespace {

// WM_KEYDOWN's lParam of a key at a set scan code, pressed once.
LPARAM keyData(unsigned scanCode, bool extended = false) {
  constexpr LPARAM extendedKey = 1L << 24;
  return (static_cast<LPARAM>(scanCode) << 16) | 1 | (extended ? extendedKey : 0);
}

TEST(Win32Mapping, twipsArePixelsAtEachDpi) {
  EXPECT_EQ(w32::px(1440, 96), 96);
  EXPECT_EQ(w32::px(1440, 144), 144);
  EXPECT_EQ(w32::px(15, 96), 1);
  EXPECT_EQ(w32::px(7, 96), 0); // under half a pixel
  EXPECT_EQ(w32::px(8, 96), 1); // over half a pixel
  EXPECT_EQ(w32::px(-15, 96), -1);
  for (const UINT dpi : {96U, 120U, 144U, 192U}) {
    for (const int pixels : {0, 1, 17, 640}) {
      EXPECT_EQ(w32::px(w32::twips(pixels, dpi), dpi), pixels) << pixels << " at " << dpi;
    }
  }
  EXPECT_FLOAT_EQ(w32::twips(96, 192), 720);
  EXPECT_EQ(w32::scaled(1, 96), 1);
  EXPECT_EQ(w32::scaled(2, 144), 3);
  EXPECT_EQ(w32::scaled(3, 192), 6);
}

TEST(Win32Mapping, coloursKeepTheirRedGreenAndBlue) {
  const COLORREF ref = w32::colorRef({10, 160, 250});
  EXPECT_EQ(GetRValue(ref), 10);
  EXPECT_EQ(GetGValue(ref), 160);
  EXPECT_EQ(GetBValue(ref), 250);
}

TEST(Win32Mapping, textGoesToUtf16AndBackWhole) {
  EXPECT_EQ(w32::widen(""), L"");
  EXPECT_EQ(w32::narrow(L""), "");
  EXPECT_EQ(w32::widen("Één × 300"), L"\u00C9\u00E9n \u00D7 300");
  // Beyond 16 bits: two units, one character again on the way back.
  const std::wstring mushroom = w32::widen("\xF0\x9F\x8D\x84");
  ASSERT_EQ(mushroom.size(), 2U);
  EXPECT_EQ(w32::narrow(mushroom), "\xF0\x9F\x8D\x84");
  EXPECT_EQ(w32::narrow(w32::widen("software om te trainen")), "software om te trainen");
}

TEST(Win32Mapping, aDigitIsTheKeysPlaceOnEveryLayout) {
  // The number row by its scan codes, whatever the virtual key (AZERTY types & é ").
  EXPECT_EQ(w32::digitAtKeyPosition('1', keyData(0x02)), 1);
  EXPECT_EQ(w32::digitAtKeyPosition(0, keyData(0x0A)), 9);
  EXPECT_EQ(w32::digitAtKeyPosition(0, keyData(0x0B)), 0);
  // The keypad, with or without Num Lock.
  EXPECT_EQ(w32::digitAtKeyPosition(VK_NUMPAD7, keyData(0x47)), 7);
  EXPECT_EQ(w32::digitAtKeyPosition(VK_HOME, keyData(0x47)), 7);
  EXPECT_EQ(w32::digitAtKeyPosition(VK_NUMPAD0, keyData(0x52)), 0);
  // The same scan codes with the extended bit are the arrows and the editing keys.
  EXPECT_EQ(w32::digitAtKeyPosition(VK_UP, keyData(0x48, true)), std::nullopt);
  EXPECT_EQ(w32::digitAtKeyPosition(VK_INSERT, keyData(0x52, true)), std::nullopt);
  // A scan code of no known place leaves the virtual key of the number row.
  EXPECT_EQ(w32::digitAtKeyPosition('5', keyData(0x7E)), 5);
  EXPECT_EQ(w32::digitAtKeyPosition('A', keyData(0x1E)), std::nullopt);
  EXPECT_EQ(w32::digitAtKeyPosition(VK_RETURN, keyData(0x1C)), std::nullopt);
}

TEST(Win32Mapping, aKeyGoingDownAsTheKeyRulesReadIt) {
  const tk::KeyDown first = w32::keyDown('3', keyData(0x04));
  EXPECT_EQ(first.digitAtPlace, 3);
  EXPECT_FALSE(first.repeat);
  EXPECT_FALSE(first.composing);
  constexpr LPARAM heldBefore = 1L << 30;
  EXPECT_TRUE(w32::keyDown('3', keyData(0x04) | heldBefore).repeat);
  // An input method's key: its text comes later, composed, as WM_CHAR.
  EXPECT_TRUE(w32::keyDown(VK_PROCESSKEY, keyData(0)).composing);
  EXPECT_EQ(w32::typedKey(U'7').code, tk::keyCodeOf(U'7'));
  EXPECT_EQ(w32::typedKey(U'\u00E9').code, tk::keyCodeOf(U'\u00E9'));
}

TEST(Win32Mapping, aCharacterBeyond16BitsIsWholeOnceBothHalvesHaveCome) {
  w32::Utf16Joiner joiner;
  EXPECT_EQ(joiner.add(L'7'), U'7');
  EXPECT_EQ(joiner.add(static_cast<wchar_t>(0xD83C)), std::nullopt);
  EXPECT_EQ(joiner.add(static_cast<wchar_t>(0xDF44)), U'\U0001F344');
  // A second half alone is no character; a first half that a whole character follows is
  // dropped, and the character comes.
  EXPECT_EQ(joiner.add(static_cast<wchar_t>(0xDF44)), std::nullopt);
  EXPECT_EQ(joiner.add(static_cast<wchar_t>(0xD83C)), std::nullopt);
  EXPECT_EQ(joiner.add(L'x'), U'x');
  EXPECT_EQ(joiner.add(static_cast<wchar_t>(0xDF44)), std::nullopt);
}

// A line and a button in a picture box, and the same button in the form itself.
constexpr tk::ControlDesign controls[] = {
    {.name = "pane", .kind = Kind::PictureBox, .rect = {1500, 1500, 3000, 3000}},
    {.name = "line", .kind = Kind::Line, .in = "pane", .line = {600, 300, 150, 900}},
    {.name = "button", .kind = Kind::Button, .in = "pane", .rect = {150, 300, 600, 450}},
    {.name = "free", .kind = Kind::Button, .rect = {150, 300, 600, 450}},
};
constexpr tk::FormDesign plaatsDesign{
    .name = "Plaats", .clientWidth = 6000, .clientHeight = 6000, .controls = controls};

TEST(Win32Places, aControlStandsInsideItsContainersBorder) {
  testing_support::FormOfDesign plaats{plaatsDesign};
  tk::Form &form = plaats.form();
  // The picture box's border is two pixels at 96 DPI, and grows with the DPI.
  for (const UINT dpi : {96U, 192U}) {
    const int border = w32::containerOffset(form.control("button"), dpi);
    EXPECT_EQ(border, w32::scaled(2, dpi));
    EXPECT_EQ(w32::containerOffset(form.control("free"), dpi), 0);
    const RECT inPane = w32::rectOf(form.control("button"), dpi);
    const RECT free = w32::rectOf(form.control("free"), dpi);
    EXPECT_EQ(inPane.left, free.left + border);
    EXPECT_EQ(inPane.top, free.top + border);
    EXPECT_EQ(inPane.right - inPane.left, free.right - free.left);
    EXPECT_EQ(free.right, w32::px(750, dpi));
  }
}

TEST(Win32Places, aLinesBoxHoldsBothOfItsEnds) {
  testing_support::FormOfDesign plaats{plaatsDesign};
  tk::Form &form = plaats.form();
  // From (600, 300) to (150, 900): 10 .. 40 and 20 .. 60 pixels, and the last pixel of each.
  const RECT r = w32::rectOf(form.control("line"), 96);
  const int border = w32::containerOffset(form.control("line"), 96);
  EXPECT_EQ(r.left, 10 + border);
  EXPECT_EQ(r.top, 20 + border);
  EXPECT_EQ(r.right, 40 + border + 1);
  EXPECT_EQ(r.bottom, 60 + border + 1);
}

} // namespace
