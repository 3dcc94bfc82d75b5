// The colours the screens' designs and handlers use, by one name each.
#pragma once

#include "toolkit/types.h"

namespace palette {

inline constexpr tk::Color black = tk::rgb(0, 0, 0);
inline constexpr tk::Color white = tk::rgb(255, 255, 255);
inline constexpr tk::Color red = tk::rgb(255, 0, 0);
inline constexpr tk::Color green = tk::rgb(0, 255, 0);
inline constexpr tk::Color blue = tk::rgb(0, 0, 255);
inline constexpr tk::Color yellow = tk::rgb(255, 255, 0);
inline constexpr tk::Color navy = tk::rgb(0, 0, 128);
inline constexpr tk::Color orange = tk::rgb(255, 128, 0);
inline constexpr tk::Color lightOrange = tk::rgb(255, 192, 128);
inline constexpr tk::Color lightYellow = tk::rgb(255, 255, 128);
inline constexpr tk::Color cream = tk::rgb(255, 255, 192);
inline constexpr tk::Color lightGreen = tk::rgb(192, 255, 192);

} // namespace palette
