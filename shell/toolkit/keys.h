// Key codes as the KeyPress event reports them, and what a key going down does on the
// control that has the focus: one rule, which every window system carries out.
#pragma once

#include <cstdint>
#include <optional>

namespace tk {

class Control;

namespace key {
inline constexpr std::int16_t backspace = 8;
inline constexpr std::int16_t tab = 9;
inline constexpr std::int16_t enter = 13;
inline constexpr std::int16_t escape = 27;
inline constexpr std::int16_t space = 32;
} // namespace key

// A focused button is pressed by Space and by Enter, as on the desktop the program
// comes from; the key then goes no further.
constexpr bool pressesButton(std::int16_t code) {
  return code == key::enter || code == key::space;
}

// A key going down, as the window system saw it.
struct KeyDown {
  std::int16_t code = 0;                // the character it types (Enter 13); 0 for none
  std::optional<int> digitAtPlace = {}; // the digit of its place on the number row or keypad
  bool repeat = false;                  // the key is held and repeats
  bool shift = false;                   // Shift is held
  bool shortcut = false;                // Ctrl, Alt or Meta is held
  bool composing = false;               // an input method is composing a text with it
};

enum class KeyEffect : std::uint8_t {
  Default,   // the window system's own handling: the control types, Tab moves on
  Press,     // the control is clicked
  Swallow,   // nothing happens
  TypeDigit, // the digit of the key's place is typed where the caret is
};

// The 16-bit code a typed character reaches KeyPress with: the character itself within
// the first 65536 code points, once; any character beyond them comes once too, as the
// replacement character U+FFFD, never as the two halves UTF-16 writes it in.
constexpr std::int16_t keyCodeOf(char32_t codePoint) {
  constexpr char32_t lastOf16Bits = 0xFFFF;
  constexpr char32_t replacement = 0xFFFD;
  const char32_t code = codePoint > lastOf16Bits ? replacement : codePoint;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(code));
}

enum class FormKeyEffect : std::uint8_t {
  Default,         // not the form's: the control or the window system has it
  NextControl,     // the focus goes on by the form's tab order
  PreviousControl, // the focus goes back by it
  KeyPress,        // the character reaches the form's KeyPress, when no control has the focus
};

// What a key does at its form before any control hears it. Tab and Shift+Tab move the
// focus by the form's own tab order, round within the window; with Ctrl, Alt or Meta they
// are the window system's (switching windows or tabs). A typed character reaches the
// form's KeyPress, except with Ctrl, Alt or Meta held (Ctrl+M is not Enter) or while an
// input method composes: its composed text comes as typed text.
[[nodiscard]] FormKeyEffect keyOnForm(const KeyDown &key);

// What a key going down does on a control with the focus. A button is pressed once by
// a key that presses buttons and not again while it is held; with Ctrl, Alt or Meta the
// key presses nothing. A box that takes digit keys types the digit of the key's place,
// whatever the layout gives, unless a shortcut key is held, the box is locked or an
// input method is composing: the composed text then comes as typed text, once.
[[nodiscard]] KeyEffect keyOnControl(const Control &control, const KeyDown &key);

} // namespace tk
