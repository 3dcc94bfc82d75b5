// What a screen reader hears of a control: the toolkit's name, description and role,
// given over the object Windows itself makes for the control's window.
#pragma once

#include <windows.h>

#include <optional>

namespace w32 {

// The answer to WM_GETOBJECT for a control's window; nothing for any object but its client.
[[nodiscard]] std::optional<LRESULT> accessibleObject(HWND window, WPARAM flags, LPARAM object);

} // namespace w32
