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

} // namespace w32
