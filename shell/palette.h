// The colours the screens' designs and handlers use, by one name each.
#pragma once

#include "toolkit/types.h"

#include <array>
#include <string_view>

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

// What a screen reader says where a colour carries meaning (a box of the hundred-field).
struct SpokenColour {
  tk::Color colour;
  std::string_view name;
};
inline constexpr std::array<SpokenColour, 6> spokenColours{{
    {black, "zwart"},
    {white, "wit"},
    {red, "rood"},
    {green, "groen"},
    {blue, "blauw"},
    {yellow, "geel"},
}};

// The spoken name of a colour of the palette; empty for one without a name.
constexpr std::string_view spokenName(tk::Color colour) {
  for (const SpokenColour &spoken : spokenColours) {
    if (spoken.colour == colour) {
      return spoken.name;
    }
  }
  return {};
}

} // namespace palette
