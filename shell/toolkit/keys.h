// Key codes as the KeyPress event reports them, and the keys that press a button.
#pragma once

#include <cstdint>

namespace tk {

namespace key {
inline constexpr std::int16_t tab = 9;
inline constexpr std::int16_t enter = 13;
inline constexpr std::int16_t space = 32;
} // namespace key

// A focused button is pressed by Space and by Enter, as on the desktop the program
// comes from; the key then goes no further.
constexpr bool pressesButton(std::int16_t code) {
  return code == key::enter || code == key::space;
}

} // namespace tk
