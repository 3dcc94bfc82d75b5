// The 3-D edges of buttons, boxes, frames and status panels, the place of a frame's
// caption and the corners of rounded shapes: decided here once, so that every window
// system fills the same bands in the same colours and the three programs look alike.
#pragma once

#include "types.h"

#include <optional>
#include <span>
#include <vector>

namespace tk {

// The colours of every 3-D edge: the classic desktop's, whatever the face they surround.
namespace edgeColor {
inline constexpr Color light = rgb(255, 255, 255);
inline constexpr Color shadow = rgb(128, 128, 128);
inline constexpr Color dark = rgb(64, 64, 64);
} // namespace edgeColor

// The caption of a button that cannot be pressed; its picture shows as it is.
inline constexpr Color disabledText = edgeColor::shadow;

enum class Edge : std::uint8_t {
  Raised,  // a button
  Pressed, // a button held down
  Sunken,  // a text box, a picture box
  Etched,  // a frame: a groove
  Thin,    // a status bar's panel: one sunken band
};

// One ring of an edge, one band wide: the colour of its top and left sides, and of its
// bottom and right sides; a side without a colour shows the face.
struct EdgeRing {
  std::optional<Color> topLeft;
  std::optional<Color> bottomRight;
};

// The rings of an edge, from the outside in.
[[nodiscard]] std::span<const EdgeRing> edgeRings(Edge edge);

// One band of an edge: a strip of the box filled in one colour.
struct Band {
  Rect rect;
  Color color = {};
  bool operator==(const Band &) const = default;
};

// The strips of an edge round a box, from the outside in. The box and the strips are in
// the backend's pixels; unit is the width of one band in them (one pixel at 96 DPI).
[[nodiscard]] std::vector<Band> edgeBands(Edge edge, const Rect &box, float unit);

// What the edge leaves of the box: the face, where the content goes.
[[nodiscard]] Rect insideEdge(Edge edge, const Rect &box, float unit);

// A status bar panel's text starts this far inside its edge and stops this far from its
// right side, in pixels at 96 DPI.
inline constexpr int panelTextLeft = 2;
inline constexpr int panelTextRight = 1;

// Rounded shapes and tips round their corners by this much, in pixels at 96 DPI.
inline constexpr float cornerRadius = 12;

// A frame's caption starts this far from its left edge, with this much room on each side,
// in pixels at 96 DPI.
inline constexpr float frameCaptionIndent = 8;
inline constexpr float frameCaptionPadding = 2;

struct FrameLayout {
  Rect edge;                      // where the etched edge runs
  std::optional<Rect> captionBox; // filled in the frame's colour, over the edge
  float textLeft = 0;             // where the caption's text starts; its top is the box's
  bool operator==(const FrameLayout &) const = default;
};

// A frame with a caption lowers its edge to the middle of the caption's line, and the
// caption stands over the edge in a box of the frame's colour. The caption is drawn in
// the frame's own font and text colour, like a label's. Sizes in the backend's pixels.
[[nodiscard]] FrameLayout layOutFrame(const Rect &box, float captionWidth, float captionHeight,
                                      float unit);

} // namespace tk
