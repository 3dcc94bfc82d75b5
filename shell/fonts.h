// The fonts the designs use, by the names the designs give them. The backend maps
// them to look-alikes that Debian ships.
#pragma once

#include "toolkit/types.h"

namespace fonts {

constexpr tk::Font sansSerif(float points, bool bold = false) {
  return {.name = "MS Sans Serif", .points = points, .bold = bold, .italic = false};
}
constexpr tk::Font arial(float points, bool bold = false) {
  return {.name = "Arial", .points = points, .bold = bold, .italic = false};
}
constexpr tk::Font comicSans(float points, bool bold = false) {
  return {.name = "Comic Sans MS", .points = points, .bold = bold, .italic = false};
}

} // namespace fonts
