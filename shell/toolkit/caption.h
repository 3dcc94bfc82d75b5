// Where the lines of a caption stand: decided here once, from the width of texts in the
// caption's font and one line height, so that every window system draws the same lines
// in the same places and none of them wraps a caption again.
#pragma once

#include "types.h"

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace tk {

// A line may stand out of its box by this much before a word goes to the next line:
// window systems measure one text a few pixels apart, and a word that one of them finds
// a hair too wide would otherwise be pushed onto a line the box has no room for.
inline constexpr float captionSlack = 4.0F * twipsPerPixel;

// The distance from one line's top to the next, as a share of the font's size.
inline constexpr float lineSpacing = 1.15F;

[[nodiscard]] float lineHeight(const Font &font); // twips

// One line: the part of the caption it shows and its place from the box's corner, in twips.
struct CaptionLine {
  std::size_t start = 0;  // first byte of the caption on this line
  std::size_t length = 0; // without the blank or the line break that ends it
  float left = 0;
  float top = 0;
  float width = 0;
  bool operator==(const CaptionLine &) const = default;
};

struct CaptionBox {
  float width = 0;
  float height = 0;
  Align align = Align::Left;
  bool wordWrap = false; // with autoSize: the width stays and the box grows downwards
  bool autoSize = false; // the box grows until the whole caption fits
};

struct CaptionLayout {
  std::vector<CaptionLine> lines;
  float width = 0; // the box's size once auto-size has grown it
  float height = 0;
  // Where the caption is drawn, from the box's corner: the box, widened on the side
  // where a line stands out of it within the slack.
  Rect bounds;
  bool operator==(const CaptionLayout &) const = default;
};

using MeasureText = std::function<float(std::string_view)>;

// Breaks a caption into lines. A line break in the text ends a line; a box wraps at
// blanks, except one that only auto-sizes (it grows sideways instead). A word wider than
// its line is broken between two characters, so that every letter shows and none is cut
// off at the edge. Lines are placed by the alignment; an auto-size box grows to hold them
// and never shrinks below its design.
[[nodiscard]] CaptionLayout layOutCaption(std::string_view text, const CaptionBox &box,
                                          float lineHeight, const MeasureText &measure);

} // namespace tk
