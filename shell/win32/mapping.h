// How the toolkit's values look to Windows: pixels at a window's DPI, colours, UTF-16
// text, and a key going down as the toolkit's key rules read it. Pure functions of their
// arguments and the keys held, so that they can be checked without a window.
#pragma once

#include "toolkit/control.h"
#include "toolkit/keys.h"
#include "toolkit/types.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace w32 {

// Twips are 1/1440 inch (tk::twipsPerInch): 15 to a pixel at 96 DPI, fewer as the DPI grows.
inline constexpr UINT standardDpi = USER_DEFAULT_SCREEN_DPI;

[[nodiscard]] int px(float twips, UINT dpi);
[[nodiscard]] float twips(int pixels, UINT dpi);
// Pixels at 96 DPI (a pen, a band of an edge) at a window's DPI.
[[nodiscard]] int scaled(int pixels, UINT dpi);
[[nodiscard]] COLORREF colorRef(tk::Color color);

// Where a point of a control's container stands in the container's window: inside its
// border, in pixels.
[[nodiscard]] int containerOffset(const tk::Control &control, UINT dpi);
// Where a control stands in its container's window, in pixels: a line's box holds both of
// its ends, a label's box every line of its caption.
[[nodiscard]] RECT rectOf(const tk::Control &control, UINT dpi);

// UTF-8 inside the program, UTF-16 only where it meets the W functions of Windows.
[[nodiscard]] std::wstring widen(std::string_view text);
[[nodiscard]] std::string narrow(std::wstring_view text);

// The digit of the key at a place of the number row or the keypad, by its scan code:
// the same keys on every layout (an AZERTY number row types & é " without Shift).
[[nodiscard]] std::optional<int> digitAtKeyPosition(WPARAM virtualKey, LPARAM keyData);

// A key going down, from WM_KEYDOWN's parameters.
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
