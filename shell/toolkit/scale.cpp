#include "scale.h"

#include "form.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tk {
namespace {

constexpr float pixels(float twips) {
  return twips / static_cast<float>(twipsPerPixel);
}

// The scale at which every window just fits: the tightest of their widths and heights.
float fittingScale(Extent viewport, std::span<const FormDesign *const> windows) {
  float scale = std::numeric_limits<float>::infinity();
  for (const FormDesign *design : windows) {
    const Extent room = roomFor(*design);
    if (room.width > 0 && room.height > 0) {
      scale = std::min({scale, viewport.width / room.width, viewport.height / room.height});
    }
  }
  return std::isfinite(scale) ? scale : 1.0F;
}

float stepped(float scale) {
  return scale < 1 ? scale : std::floor(scale / scaleStep) * scaleStep;
}

} // namespace

float smallestTextPixels(std::span<const FormDesign *const> windows) {
  float points = std::numeric_limits<float>::infinity();
  for (const FormDesign *design : windows) {
    points = std::min(points, design->font.points);
    for (const ControlDesign &row : design->controls) {
      points = std::min(points, row.font.points);
    }
  }
  return points * static_cast<float>(twipsPerPoint) / static_cast<float>(twipsPerPixel);
}

Extent roomFor(const FormDesign &design) {
  switch (design.kind) {
  case WindowKind::MdiParent:
    return {};
  case WindowKind::MdiChild:
    return {pixels(outerWidth(design)),
            pixels(outerHeight(design)) + static_cast<float>(2 * menuBarPixels)};
  case WindowKind::TopLevel:
    return {pixels(outerWidth(design)), pixels(outerHeight(design))};
  }
  return {};
}

DisplayScale displayScale(Extent viewport, std::span<const FormDesign *const> windows) {
  const float scale = stepped(fittingScale(viewport, windows));
  const Extent turned{viewport.height, viewport.width};
  const float smallest = smallestTextPixels(windows);
  const bool upright = viewport.height > viewport.width;
  const bool unreadable = smallest * scale < legiblePixels;
  const bool largerTurned = stepped(fittingScale(turned, windows)) > scale;
  return {.scale = scale, .turnAdvised = upright && unreadable && largerTurned};
}

} // namespace tk
