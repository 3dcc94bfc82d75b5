// A key going down, as the toolkit's key rules read it, from WM_KEYDOWN's parameters.
#pragma once

#include "toolkit/keys.h"

#include <windows.h>

#include <optional>

namespace w32 {

// The digit of the key at a place of the number row or the keypad, by its scan code:
// the same keys on every layout (an AZERTY number row types & é " without Shift).
[[nodiscard]] std::optional<int> digitAtPlace(WPARAM virtualKey, LPARAM keyData);

[[nodiscard]] tk::KeyDown keyDown(WPARAM virtualKey, LPARAM keyData);

// A character WM_CHAR brings, with the keys held as it came. Ctrl and Alt together are
// AltGr, which types characters (@ and the euro on many layouts): no shortcut.
[[nodiscard]] tk::KeyDown typedKey(char32_t character);

// WM_CHAR brings a character beyond 16 bits as the two halves of a UTF-16 pair: the
// character is whole once the second half has come.
class Utf16Joiner {
public:
  [[nodiscard]] std::optional<char32_t> add(wchar_t unit);

private:
  wchar_t high_ = 0;
};

} // namespace w32
