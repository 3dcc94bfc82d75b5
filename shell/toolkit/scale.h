// The display's scale: how many of the screen's pixels one pixel of the program takes, as
// a monitor's DPI setting scales a desktop. The windows keep their designs' sizes in the
// program's pixels; the scale makes them fit a phone and fill a classroom's whiteboard.
#pragma once

#include "design.h"

#include <span>

namespace tk {

// A width and a height in the screen's pixels (a page's CSS pixels).
struct Extent {
  float width = 0;
  float height = 0;
  constexpr bool operator==(const Extent &) const = default;
};

// The main window's menu bar above its client area, in the program's pixels.
inline constexpr int menuBarPixels = 20;
// A point is 1/72 inch, a twip 1/1440.
inline constexpr int twipsPerPoint = 20;
// Text smaller than this, in the screen's pixels, a child does not read at arm's length.
inline constexpr float legiblePixels = 9.0F;
// Beyond the designs' own size the scale grows in the steps a desktop's display setting
// offers (125 %, 150 %, 175 %, ...): a one-pixel line then falls on whole or half pixels
// of the screen, and a browser's bars coming and going rarely change it.
inline constexpr float scaleStep = 0.25F;

struct DisplayScale {
  float scale = 1;
  // The screen stands upright and its smallest text would be too small to read, while
  // turned a quarter it would be larger: the child is asked to turn it.
  bool turnAdvised = false;
  constexpr bool operator==(const DisplayScale &) const = default;
};

// The room a window needs on the display, in the program's pixels, frame included. A
// child window is centred on the whole display but stands in the client area below the
// menu bar, so it needs the bar's height above and below it. The main window needs none:
// it is the display.
[[nodiscard]] Extent roomFor(const FormDesign &design);

// The smallest text of the windows, in the program's pixels.
[[nodiscard]] float smallestTextPixels(std::span<const FormDesign *const> windows);

// The largest scale at which every window of `windows` is whole in the viewport, in the
// steps above once it is larger than 1. The same viewport always gives the same scale,
// so the scale changes only when the viewport's size does.
[[nodiscard]] DisplayScale displayScale(Extent viewport,
                                        std::span<const FormDesign *const> windows);

} // namespace tk
